// PNG through libpng's simplified API, which reports errors by return value
// (no longjmp reaches our frames).
#include "graphics/bitmap32_io.h"

#include <png.h>

#include "graphics/bitmap32_io_internal.h"

namespace {

struct TPngImage {
  png_image Image{};
  TPngImage() { Image.version = PNG_IMAGE_VERSION; }
  ~TPngImage() { png_image_free(&Image); }
  TPngImage(const TPngImage&) = delete;
  TPngImage& operator=(const TPngImage&) = delete;
};

std::string PngMessage(const png_image& image) { return image.message[0] ? image.message : "unknown error"; }

}  // namespace

TBitmap32 LoadBitmap32FromPng(std::span<const uint8_t> bytes) {
  TPngImage png;
  if (!png_image_begin_read_from_memory(&png.Image, bytes.data(), bytes.size()))
    throw EBitmapIOError("Invalid PNG image: " + PngMessage(png.Image));
  png.Image.format = PNG_FORMAT_RGBA;
  TBitmap32 bitmap = bitmap32_io::NewImage(png.Image.width, png.Image.height, "PNG");
  std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(png.Image));
  if (!png_image_finish_read(&png.Image, nullptr, rgba.data(), 0, nullptr))
    throw EBitmapIOError("Invalid PNG image: " + PngMessage(png.Image));
  const uint8_t* p = rgba.data();
  TColor32* out = bitmap.Bits();
  const size_t count = static_cast<size_t>(bitmap.Width()) * static_cast<size_t>(bitmap.Height());
  for (size_t i = 0; i < count; ++i, p += 4) out[i] = Color32(p[0], p[1], p[2], p[3]);
  return bitmap;
}

std::vector<uint8_t> SaveBitmap32ToPng(const TBitmap32& bitmap) {
  bitmap32_io::RequireImage(bitmap, "PNG");
  const size_t count = static_cast<size_t>(bitmap.Width()) * static_cast<size_t>(bitmap.Height());
  std::vector<uint8_t> rgba(count * 4);
  const TColor32* in = bitmap.Bits();
  for (size_t i = 0; i < count; ++i) {
    rgba[4 * i] = RedComponent(in[i]);
    rgba[4 * i + 1] = GreenComponent(in[i]);
    rgba[4 * i + 2] = BlueComponent(in[i]);
    rgba[4 * i + 3] = AlphaComponent(in[i]);
  }
  TPngImage png;
  png.Image.width = static_cast<png_uint_32>(bitmap.Width());
  png.Image.height = static_cast<png_uint_32>(bitmap.Height());
  png.Image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&png.Image, nullptr, &size, 0, rgba.data(), 0, nullptr))
    throw EBitmapIOError("Cannot encode PNG image: " + PngMessage(png.Image));
  std::vector<uint8_t> out(size);
  if (!png_image_write_to_memory(&png.Image, out.data(), &size, 0, rgba.data(), 0, nullptr))
    throw EBitmapIOError("Cannot encode PNG image: " + PngMessage(png.Image));
  out.resize(size);
  return out;
}
