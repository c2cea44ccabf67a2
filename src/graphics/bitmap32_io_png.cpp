// PNG through libpng's simplified API, which reports errors by return value
// (no longjmp reaches our frames).
#include "graphics/bitmap32_io.h"

#include <png.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

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

// Deflate codes at most 258 bytes in 2 bits (a length and a distance code
// of one bit each), so n compressed bytes inflate to at most about 1032 n.
constexpr uint64_t kMaxDeflateRatio = 1032;

uint32_t BigEndian32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

constexpr size_t kSignatureSize = 8;
constexpr size_t kChunkHeaderSize = 8;  // length, type
constexpr size_t kCrcSize = 4;

// A chunk type as text, with any byte that is not a letter shown as '?'.
std::string ChunkTypeText(std::span<const uint8_t> bytes, size_t at) {
  std::string type(reinterpret_cast<const char*>(bytes.data() + at), 4);
  for (char& c : type)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) c = '?';
  return type;
}

// Walks the chunks from the signature to IEND and returns the bytes of IDAT
// data. libpng allocates the declared length of some chunks (text, suggested
// palettes) before reading them, so every chunk whose header is whole must
// have its declared data and CRC within the bytes: one that declares more is
// refused here, before libpng reads anything. The walk ends at IEND, whose
// CRC and whatever follows are never read, or where too few bytes remain for
// a chunk header (libpng refuses such a file if it needs more).
uint64_t ImageDataBytesOfWholeChunks(std::span<const uint8_t> bytes) {
  uint64_t total = 0;
  for (uint64_t at = kSignatureSize; at + kChunkHeaderSize <= bytes.size();) {
    const uint64_t length = BigEndian32(bytes, at);
    const std::string_view type(reinterpret_cast<const char*>(bytes.data() + at + 4), 4);
    if (type == "IEND") break;
    const uint64_t follow = bytes.size() - at - kChunkHeaderSize;
    if (length + kCrcSize > follow)
      throw EBitmapIOError("Invalid PNG image: the " + ChunkTypeText(bytes, at + 4) + " chunk at byte " +
                           std::to_string(at) + " declares " + std::to_string(length) +
                           " bytes of data and a 4-byte CRC, more than the " + std::to_string(follow) +
                           " that follow");
    if (type == "IDAT") total += length;
    at += kChunkHeaderSize + length + kCrcSize;
  }
  return total;
}

bool HasPngSignature(std::span<const uint8_t> bytes) {
  return bytes.size() >= kSignatureSize && png_sig_cmp(bytes.data(), 0, kSignatureSize) == 0;
}

// The fewest bytes the image data must inflate to: the samples alone, without
// the filter bytes that every row (of every interlace pass) adds. The header
// has been read, so IHDR is whole and valid at its fixed place.
uint64_t LeastInflatedBytes(std::span<const uint8_t> bytes, uint64_t width, uint64_t height) {
  const uint32_t bitDepth = bytes[24];
  const uint32_t colourType = bytes[25];
  constexpr uint32_t kChannels[] = {1, 0, 3, 1, 2, 0, 4};  // by colour type
  const uint32_t channels = colourType < std::size(kChannels) ? kChannels[colourType] : 1;
  return (width * height * bitDepth * channels + 7) / 8;
}

}  // namespace

TBitmap32 LoadBitmap32FromPng(std::span<const uint8_t> bytes) {
  // Without the signature libpng refuses the bytes by itself.
  const uint64_t imageDataBytes = HasPngSignature(bytes) ? ImageDataBytesOfWholeChunks(bytes) : 0;
  TPngImage png;
  if (!png_image_begin_read_from_memory(&png.Image, bytes.data(), bytes.size()))
    throw EBitmapIOError("Invalid PNG image: " + PngMessage(png.Image));
  png.Image.format = PNG_FORMAT_RGBA;
  // Before anything is allocated: could the image data present fill the
  // declared size at all? A short file claiming a huge image is refused here.
  bitmap32_io::CheckImageSize(png.Image.width, png.Image.height, "PNG");
  if (LeastInflatedBytes(bytes, png.Image.width, png.Image.height) >
      kMaxDeflateRatio * (imageDataBytes + 1))
    throw EBitmapIOError("Invalid PNG image: too little image data for " + std::to_string(png.Image.width) +
                         " x " + std::to_string(png.Image.height) + " pixels");
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
