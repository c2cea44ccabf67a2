// Fuzzes the JPEG header reader: any bytes either give an image whose header
// values are sane, or raise EPdfError. Nothing may crash, leak or end the
// process (libjpeg's fatal errors included). The file bytes are kept
// unchanged, except that an arithmetic-coded file is recoded with Huffman
// coding; a recoding must read again as an ordinary file, kept as it is and
// with the same header values.

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
    if (!image.Recoded()) {
      if (image.Bytes().size() != size || !std::equal(bytes.begin(), bytes.end(), image.Bytes().begin()))
        std::abort();
      return 0;
    }
    const TJpegImage again(image.Bytes());
    if (again.Recoded() || again.Bytes() != image.Bytes() || again.Width() != image.Width() ||
        again.Height() != image.Height() || again.Components() != image.Components() ||
        again.HasAdobeMarker() != image.HasAdobeMarker())
      std::abort();
  } catch (const EPdfError&) {
    // Not a readable JPEG: rejected with a message, as it should be.
  }
  return 0;
}
