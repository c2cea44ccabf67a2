// Fuzzes the JPEG header reader: any bytes either give an image whose header
// values are sane and whose file bytes are kept unchanged, or raise EPdfError.
// Nothing may crash, leak or end the process (libjpeg's fatal errors included).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "pdf/jpeg_image.h"
#include "pdf/pdf_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  try {
    const TJpegImage image = TJpegImage::FromBytes(bytes);
    if (image.Width() <= 0 || image.Height() <= 0 || image.Components() <= 0) std::abort();
    if (image.Bytes().size() != size || !std::equal(bytes.begin(), bytes.end(), image.Bytes().begin()))
      std::abort();
  } catch (const EPdfError&) {
    // Not a readable JPEG: rejected with a message, as it should be.
  }
  return 0;
}
