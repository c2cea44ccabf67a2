#include "pdf/pdf_object.h"

#include "pdf/pdf_error.h"

void TVPdfObject::WriteValue(TPdfBytes&) const {}

void TVPdfObject::SaveToStream(TPdfBytes& out) const {
  if (Kind == kPdfDirect) {
    WriteValue(out);
    return;
  }
  // Object 0 is the head of the free list; "-1 0 R" would be unreadable.
  PdfRequire(ID >= 1, "Indirect object has no object number.");
  PdfWriteInteger(ID, out);
  out.push_back(' ');
  PdfWriteInteger(Generation, out);
  PdfWriteString(" R", out);
}

TVPdfEmptyObject::TVPdfEmptyObject() {
  ID = 0;
  Generation = 0;
  Kind = kPdfDirect;
}

std::unique_ptr<TVPdfEmptyObject> TVPdfEmptyObject::CreateRef(std::int32_t number) {
  PdfRequire(number >= 1, "Indirect object has no object number.");
  auto ref = std::make_unique<TVPdfEmptyObject>();
  ref->ID = number;
  ref->Kind = kPdfPlaceholder;
  return ref;
}

void TVPdfBoolean::WriteValue(TPdfBytes& out) const {
  PdfWriteString(Value ? "true" : "false", out);
}

void TVPdfNum::WriteValue(TPdfBytes& out) const { PdfWriteInteger(Value, out); }

TVPdfBinary::TVPdfBinary(std::string_view bytes) : Data(bytes.begin(), bytes.end()) {}

void TVPdfBinary::WriteValue(TPdfBytes& out) const {
  out.insert(out.end(), Data.begin(), Data.end());
}
