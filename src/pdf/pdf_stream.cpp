#include "pdf/pdf_stream.h"

#include <limits>
#include <string>

#include "pdf/pdf_error.h"
#include "pdf/pdf_flate.h"
#include "pdf/pdf_tree_internal.h"

namespace {

constexpr std::string_view kFlate = "FlateDecode";

// Whether the body must be deflated. Readers apply the filters in list order,
// and Flate is the last encoding done here, so FlateDecode must come first.
// A missing Filter entry, or one that is neither a name nor an array, asks
// for nothing.
bool WantsFlate(const TVPDFDictionary& dict) {
  const TVPdfObject* filter = dict.FindValue("Filter");
  if (const auto* name = dynamic_cast<const TVPdfName*>(filter)) return name->Name() == kFlate;
  const auto* filters = dynamic_cast<const TVPdfArray*>(filter);
  if (filters == nullptr) return false;
  bool flate = false;
  for (int i = 0; i < filters->Count(); ++i) {
    const auto* item = dynamic_cast<const TVPdfName*>(filters->GetItem(i));
    if (item == nullptr || item->Name() != kFlate) continue;
    if (i != 0)
      throw EPdfError("FlateDecode must be the first filter of a stream (found at position " +
                      std::to_string(i + 1) + ").");
    flate = true;
  }
  return flate;
}

// The direct "Length" number of the dictionary, re-added when it was removed,
// replaced by another kind of object or hidden: a stream needs its length.
TVPdfNum& LengthEntry(TVPDFDictionary& dict) {
  for (int i = 0; i < dict.Count(); ++i) {
    TVPDFDictionaryAtom& atom = dict.GetAtom(i);
    if (atom.Key().Name() != "Length") continue;
    auto* number = dynamic_cast<TVPdfNum*>(atom.Value());
    if (number != nullptr && !number->IsIndirect() && !atom.Hidden) return *number;
    break;
  }
  return *dict.AddNumber("Length", 0);
}

}  // namespace

TVPdfStream::TVPdfStream(const TVPdfObjectOwner* owner, bool withDecodeParms)
    : FDict(std::make_unique<TVPDFDictionary>(owner)) {
  FDict->AddNumber("Length", 0);
  FDict->Add("Filter", std::make_unique<TVPdfArray>(owner));
  if (withDecodeParms) FDict->Add("DecodeParms", std::make_unique<TVPdfArray>(owner));
  FDict->FHolder = this;
}

TVPdfStream::~TVPdfStream() { pdf_internal::FreeNested(*this); }

TPdfBytes TVPdfStream::EncodedBody() const {
  TPdfBytes body = WantsFlate(*FDict) ? PdfFlateCompress(FData) : FData;
  EncryptIfNeeded(FDocument, body, ID());
  return body;
}

const TPdfBytes& TVPdfStream::BodyToWrite(TPdfBytes& encoded) const {
  // A plain stream is written straight from Data; only Flate or encryption
  // need the temporary copy.
  const bool encrypt = FDocument != nullptr && FDocument->SecuritySettings().EncryptStreams;
  const bool flate = WantsFlate(*FDict);
  if (flate || encrypt) encoded = EncodedBody();
  const TPdfBytes& body = flate || encrypt ? encoded : FData;
  if (body.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
    throw EPdfError("Stream body too large for a PDF length.");
  LengthEntry(*FDict).Value = static_cast<std::int32_t>(body.size());
  return body;
}

// The dictionary is written through SaveToStream, then the body.
void TVPdfStream::WriteValue(TPdfBytes& out) const { pdf_internal::WriteTree(*this, out); }
