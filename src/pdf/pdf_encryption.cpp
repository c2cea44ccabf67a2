#include "pdf/pdf_stream.h"

#include <algorithm>

#include "pdf/md5.h"
#include "pdf/pdf_error.h"
#include "pdf/rc4.h"

void EncryptIfNeeded(const TVPdfDocument* document, TPdfBytes& body, std::int32_t objectNumber) {
  if (document == nullptr) return;
  const TVPdfSecuritySettings settings = document->SecuritySettings();
  if (!settings.EncryptStreams) return;
  PdfRequire(objectNumber >= 1, "Cannot encrypt an object that has no object number.");
  PdfEncryptStreamRC4(body, document->FileKey(), settings.Use128, objectNumber);
}

TPdfBytes PdfObjectKey(const TPdfFileKey& fileKey, bool use128, std::int32_t objectNumber) {
  // An object without a number would be encrypted with a key no reader can
  // derive.
  PdfRequire(objectNumber >= 1, "Cannot encrypt an object that has no object number.");
  const std::size_t keyBytes = use128 ? 16 : 5;
  std::uint8_t buffer[16 + 5] = {};
  std::copy_n(fileKey.begin(), keyBytes, buffer);
  const auto number = static_cast<std::uint32_t>(objectNumber);
  buffer[keyBytes] = static_cast<std::uint8_t>(number);
  buffer[keyBytes + 1] = static_cast<std::uint8_t>(number >> 8);
  buffer[keyBytes + 2] = static_cast<std::uint8_t>(number >> 16);
  // The two generation bytes stay zero: every object here has generation 0.
  TMD5Digest digest;
  MD5Buffer(buffer, keyBytes + 5, digest);
  const std::size_t objectKeyBytes = use128 ? 16 : 10;
  return TPdfBytes(digest.begin(), digest.begin() + objectKeyBytes);
}

void PdfEncryptStreamRC4(TPdfBytes& body, const TPdfFileKey& fileKey, bool use128,
                         std::int32_t objectNumber) {
  if (body.empty()) return;
  const TPdfBytes key = PdfObjectKey(fileKey, use128, objectNumber);
  TRC4State state;
  RC4Init(state, key.data(), key.size());
  RC4Crypt(state, body.data(), body.data(), body.size());
}
