#pragma once
// PDF stream objects: a dictionary plus a body. When written, the body is
// deflated if the filter list names FlateDecode, then RC4-encrypted if the
// owning document asks for it; "Length" is set to the final size.

#include <cstdint>
#include <memory>

#include "pdf/pdf_bytes.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_object.h"

class TVPdfStream : public TVPdfObject {
 public:
  // The dictionary starts with "Length" 0, "Filter" [] and, when asked for,
  // "DecodeParms" []. `owner` goes to the dictionary and these arrays.
  explicit TVPdfStream(const TVPdfObjectOwner* owner = nullptr, bool withDecodeParms = false);
  ~TVPdfStream() override;

  TVPDFDictionary& Dict() const { return *FDict; }
  // The body before Flate and encryption (builders put already coded data,
  // such as CCITT or JPEG bytes, here).
  TPdfBytes& Data() { return FData; }
  const TPdfBytes& Data() const { return FData; }

  // The document whose encryption settings apply; not owned, may be nullptr
  // (then the stream is written unencrypted). Set by the document layer.
  const TVPdfDocument* Document() const { return FDocument; }
  void SetDocument(const TVPdfDocument* document) { FDocument = document; }

  // The body as it will be written: deflated and encrypted as configured.
  // Raises EPdfError for a filter list with FlateDecode other than first, and
  // EPdfAssertionFailed when encrypting a stream with no object number.
  TPdfBytes EncodedBody() const;

  // Dict, CR LF "stream" CR LF, the encoded body, LF "endstream". Sets
  // "Length" to the encoded size (re-adding it when it was removed or is not
  // a direct number). Data is not changed; writing again gives the same bytes.
  void WriteValue(TPdfBytes& out) const final;

 private:
  friend struct pdf_internal::TTreeAccess;
  // Sets "Length" for the body about to be written and returns that body:
  // Data itself, or `encoded` filled with its deflated or encrypted form.
  const TPdfBytes& BodyToWrite(TPdfBytes& encoded) const;

  std::unique_ptr<TVPDFDictionary> FDict;
  TPdfBytes FData;
  const TVPdfDocument* FDocument = nullptr;
};

class TVPDFXObject : public TVPdfStream {
 public:
  using TVPdfStream::TVPdfStream;
};

class TVPDFImage : public TVPDFXObject {
 public:
  using TVPDFXObject::TVPDFXObject;
};

// Encrypts `body` in place when `document` is set and asks for stream
// encryption; otherwise does nothing.
void EncryptIfNeeded(const TVPdfDocument* document, TPdfBytes& body, std::int32_t objectNumber);

// The RC4 key of one object (standard security handler, generation 0): MD5 of
// the first 5 (40-bit) or 16 (128-bit) bytes of the file key, the low three
// bytes of the object number (least significant first) and two zero bytes,
// cut to 10 or 16 bytes. `objectNumber` must be at least 1.
TPdfBytes PdfObjectKey(const TPdfFileKey& fileKey, bool use128, std::int32_t objectNumber);

// RC4-encrypts (or decrypts) `body` in place with PdfObjectKey; an empty body
// is left alone.
void PdfEncryptStreamRC4(TPdfBytes& body, const TPdfFileKey& fileKey, bool use128,
                         std::int32_t objectNumber);
