// TVPDFBitmap: Flate-compressed RGB or palette-indexed samples, or a 1-bit
// image mask.
#include "pdf/pdf_image.h"

#include <cstring>

#include "pdf/pdf_error.h"
#include "pdf/pdf_image_internal.h"

using namespace pdf_image_internal;

namespace {

// Rows of 24-bit blue-green-red become packed red-green-blue samples.
void AppendRgbRows(const TPdfBitmap& bitmap, TPdfBytes& body) {
  const std::size_t rowBytes = static_cast<std::size_t>(bitmap.Width()) * 3;
  body.resize(rowBytes * static_cast<std::size_t>(bitmap.Height()));
  uint8_t* target = body.data();
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* source = bitmap.ScanLine(y);
    for (std::size_t x = 0; x < rowBytes; x += 3, target += 3) {
      target[0] = source[x + 2];
      target[1] = source[x + 1];
      target[2] = source[x];
    }
  }
}

// Rows of 8-bit palette indexes, one byte per pixel.
void AppendIndexRows(const TPdfBitmap& bitmap, TPdfBytes& body) {
  const std::size_t width = static_cast<std::size_t>(bitmap.Width());
  body.resize(width * static_cast<std::size_t>(bitmap.Height()));
  for (int y = 0; y < bitmap.Height(); ++y)
    std::memcpy(body.data() + static_cast<std::size_t>(y) * width, bitmap.ScanLine(y), width);
}

// Image-mask samples from 24-bit rows: one bit per pixel, the leftmost in the
// high bit, rows padded to whole bytes; dark pixels are 0 (they paint), the
// others and the padding 1.
void AppendMaskRows(const TPdfBitmap& bitmap, TPdfBytes& body) {
  const std::size_t rowBytes = (static_cast<std::size_t>(bitmap.Width()) + 7) / 8;
  body.assign(rowBytes * static_cast<std::size_t>(bitmap.Height()), 0xFF);
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* source = bitmap.ScanLine(y);
    uint8_t* target = body.data() + static_cast<std::size_t>(y) * rowBytes;
    for (int x = 0; x < bitmap.Width(); ++x, source += 3) {
      if (IsDark({source[2], source[1], source[0]}))
        target[x / 8] = static_cast<uint8_t>(target[x / 8] & ~(0x80u >> (x % 8)));
    }
  }
}

}  // namespace

std::unique_ptr<TVPDFImage> TVPDFBitmap::CreateImage(const TPdfGraphic& graphic, bool isMask, int maskIndex,
                                                     std::unique_ptr<TVPdfObject>&& mask) const {
  const auto* bitmap = dynamic_cast<const TPdfBitmap*>(&graphic);
  if (bitmap == nullptr) throw EPdfError("Unsupported bitmap image format.");
  CheckImageSize(*bitmap);

  auto image = std::make_unique<TVPDFImage>(nullptr, true);
  TVPDFDictionary& dict = image->Dict();
  AddImageType(dict);

  if (isMask) {
    AppendMaskRows(bitmap->ConvertedTo24Bit(), image->Data());
  } else if (IsIndexedFormat(bitmap->PixelFormat())) {
    const TPdfBitmap copy = bitmap->ConvertedTo8Bit();
    AppendIndexRows(copy, image->Data());
    dict.Add("ColorSpace", IndexedColorSpace(copy, image.get()));
  } else {
    AppendRgbRows(bitmap->ConvertedTo24Bit(), image->Data());
    dict.AddName("ColorSpace", "DeviceRGB");
  }

  dict.AddNumber("Width", bitmap->Width());
  dict.AddNumber("Height", bitmap->Height());
  dict.AddNumber("BitsPerComponent", isMask ? 1 : 8);
  if (isMask) dict.AddBoolean("ImageMask", true);
  dict.FindArray("Filter")->Add(std::make_unique<TVPdfName>("FlateDecode"));
  // Last, so that nothing after it can fail with the mask taken.
  AddMask(dict, isMask, maskIndex, std::move(mask));
  return image;
}
