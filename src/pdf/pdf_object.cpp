#include "pdf/pdf_object.h"

#include "pdf/pdf_document.h"
#include "pdf/pdf_error.h"

void TVPdfObject::WriteValue(TPdfBytes&) const {}

void TVPdfObject::SaveToStream(TPdfBytes& out) const {
  if (FKind == kPdfDirect) {
    WriteValue(out);
    return;
  }
  // Object 0 is the head of the free list; "-1 0 R" would be unreadable.
  PdfRequire(FID >= 1, "Indirect object has no object number.");
  PdfWriteInteger(FID, out);
  out.push_back(' ');
  PdfWriteInteger(FGeneration, out);
  PdfWriteString(" R", out);
}

TVPdfEmptyObject::TVPdfEmptyObject() { FID = 0; }

std::unique_ptr<TVPdfEmptyObject> TVPdfEmptyObject::CreateRef(std::int32_t number) {
  PdfRequire(number >= 1, "Indirect object has no object number.");
  auto ref = std::make_unique<TVPdfEmptyObject>();
  ref->FID = number;
  ref->FKind = kPdfPlaceholder;
  return ref;
}

void TVPdfNumbering::MakeIndirect(TVPdfObject& obj, std::int32_t number) {
  PdfRequire(number >= 1, "Indirect object has no object number.");
  PdfRequire(obj.FKind != kPdfPlaceholder, "A placeholder cannot become an indirect object.");
  PdfRequire(obj.FHolder == nullptr, "An object held by a container cannot become indirect.");
  obj.FKind = kPdfIndirect;
  obj.FID = number;
}

void TVPdfBoolean::WriteValue(TPdfBytes& out) const {
  PdfWriteString(Value ? "true" : "false", out);
}

void TVPdfNum::WriteValue(TPdfBytes& out) const { PdfWriteInteger(Value, out); }

TVPdfBinary::TVPdfBinary(std::string_view bytes) : Data(bytes.begin(), bytes.end()) {}

void TVPdfBinary::WriteValue(TPdfBytes& out) const {
  out.insert(out.end(), Data.begin(), Data.end());
}
