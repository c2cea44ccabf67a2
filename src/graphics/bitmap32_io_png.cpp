// PNG through libpng: reading with its row-by-row API straight into the
// bitmap (16-bit files through one row of samples), writing with its
// simplified API (which reports errors by return value). libpng reports a
// reading error by longjmp; that jump never crosses a C++ frame with a
// destructor (see Guarded below).
#include "graphics/bitmap32_io.h"

#include <png.h>

#include <bit>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "graphics/bitmap32_io_internal.h"
#include "graphics/bitmap32_io_png_internal.h"

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

// libpng meets damaged image data while it decodes the rows, after the bitmap
// is allocated. Where the bitmap is large both in itself and against the
// file's image data, the data is inflated and checked first, so that damage
// costs the check and never the bitmap; any other file is decoded once, and
// damage costs at most a bitmap of the larger of these bounds.
constexpr uint64_t kUncheckedBitmapBytes = uint64_t{64} << 20;
constexpr uint64_t kUncheckedBitmapBytesPerDataByte = 64;

bool NeedsImageDataCheck(uint64_t width, uint64_t height, uint64_t imageDataBytes) {
  const uint64_t bitmapBytes = 4 * width * height;
  return bitmapBytes > kUncheckedBitmapBytes && bitmapBytes > kUncheckedBitmapBytesPerDataByte * imageDataBytes;
}

// sRGB's gamma as the gAMA chunk states it; the gamma of files without one.
constexpr png_fixed_point kSrgbGamma = 45455;

constexpr size_t kSignatureSize = 8;

bool HasPngSignature(std::span<const uint8_t> bytes) {
  return bytes.size() >= kSignatureSize && png_sig_cmp(bytes.data(), 0, kSignatureSize) == 0;
}

// What libpng's callbacks share: the encoded bytes and the last error. Plain
// data, as libpng's errors jump across the frames that use it.
struct TPngSource {
  const uint8_t* Data = nullptr;
  size_t Size = 0;
  size_t At = 0;
  char Error[200] = "unknown error";
};

void ReadFromSource(png_structp png, png_bytep out, size_t count) {
  TPngSource& source = *static_cast<TPngSource*>(png_get_io_ptr(png));
  if (count > source.Size - source.At) png_error(png, "the data ends early");
  std::memcpy(out, source.Data + source.At, count);
  source.At += count;
}

[[noreturn]] void RecordError(png_structp png, png_const_charp message) {
  TPngSource& source = *static_cast<TPngSource*>(png_get_error_ptr(png));
  std::snprintf(source.Error, sizeof source.Error, "%s", message);
  png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// The decoded layout, as libpng reports it once the header is read.
struct TPngHeader {
  png_uint_32 Width = 0;
  png_uint_32 Height = 0;
  int BitDepth = 0;
  int ColourType = 0;
  int Channels = 0;  // samples per pixel in the file
  bool Adam7 = false;
  int Passes = 1;
  size_t RowBytes = 0;  // bytes per decoded row
  // 16-bit files decode to 16-bit R G B A samples in native byte order, which
  // the reader converts itself: libpng's gamma tables for them keep only 11
  // bits and lose the dark tones. Others decode to TColor32 directly.
  bool Wide = false;
  png_fixed_point Gamma = kSrgbGamma;  // the file's, from gAMA or sRGB
};

// Steps that libpng's errors may leave by longjmp: C-style code, no object
// with a destructor in their frames.
using TPngStep = void (*)(png_structp png, png_infop info, void* context);

// Runs `step` and answers false when libpng raised an error in it (the
// message is in the TPngSource). The jump lands here, so only the step's
// frames and libpng's are left; the caller's objects are untouched.
bool Guarded(TPngStep step, png_structp png, png_infop info, void* context) {
  if (setjmp(png_jmpbuf(png))) return false;
  step(png, info, context);
  return true;
}

// Reads the chunks before the image data and sets the transformations that
// give rows of 4 samples a pixel: 8-bit ones in TColor32's memory order, or
// 16-bit R G B A.
void ReadHeader(png_structp png, png_infop info, void* context) {
  TPngHeader& header = *static_cast<TPngHeader*>(context);
  // Only what shapes the pixels is read: the text, profile and other
  // ancillary chunks are skipped unread (a compressed one could cost far more
  // to inflate than its size), gAMA and sRGB are read again below.
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  static constexpr png_byte kColourChunks[] = "gAMA\0sRGB";
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_AS_DEFAULT, kColourChunks, 2);
  png_read_info(png, info);
  header.Width = png_get_image_width(png, info);
  header.Height = png_get_image_height(png, info);
  header.BitDepth = png_get_bit_depth(png, info);
  header.ColourType = png_get_color_type(png, info);
  header.Channels = png_get_channels(png, info);
  header.Adam7 = png_get_interlace_type(png, info) == PNG_INTERLACE_ADAM7;

  png_fixed_point gamma = 0;
  if (png_get_gAMA_fixed(png, info, &gamma) && gamma > 0) header.Gamma = gamma;
  header.Wide = header.BitDepth == 16;

  png_set_expand(png);  // palette to RGB, grey below 8 bits to 8, tRNS to alpha
  png_set_gray_to_rgb(png);
  if (header.Wide) {
    png_set_add_alpha(png, 0xFFFF, PNG_FILLER_AFTER);  // opaque where the file has no alpha
    if constexpr (std::endian::native == std::endian::little) png_set_swap(png);
  } else {
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    // TColor32 is A<<24 | R<<16 | G<<8 | B: bytes B G R A in little-endian
    // memory, A R G B in big-endian.
    if constexpr (std::endian::native == std::endian::little)
      png_set_bgr(png);
    else
      png_set_swap_alpha(png);
    // Samples are converted from the file's gamma (gAMA, or sRGB's) to
    // sRGB's; a file with neither is taken as sRGB. Alpha stays straight (not
    // premultiplied).
    png_set_alpha_mode_fixed(png, PNG_ALPHA_PNG, PNG_DEFAULT_sRGB);
  }
  header.Passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  header.RowBytes = png_get_rowbytes(png, info);
  const int depth = header.Wide ? 16 : 8;
  if (png_get_bit_depth(png, info) != depth || png_get_channels(png, info) != 4 ||
      header.RowBytes != size_t{4} * (depth / 8) * header.Width)
    png_error(png, "unexpected decoded row layout");
}

struct TPngRows {
  uint8_t* First = nullptr;
  size_t Stride = 0;
  png_uint_32 Height = 0;
  int Passes = 1;
};

// Decodes every row of every pass in place: a pass fills its own pixels of a
// row and leaves those of the earlier passes.
void ReadRows(png_structp png, png_infop, void* context) {
  const TPngRows& rows = *static_cast<const TPngRows*>(context);
  for (int pass = 0; pass < rows.Passes; ++pass)
    for (png_uint_32 y = 0; y < rows.Height; ++y) png_read_row(png, rows.First + y * rows.Stride, nullptr);
}

// The 8-bit value of every 16-bit colour sample: round(255 x^e) for x =
// v / 65535, where e = sRGB's gamma / the file's converts from the file's
// gamma to sRGB's. Built once per load.
std::vector<uint8_t> WideColourTable(png_fixed_point fileGamma) {
  std::vector<uint8_t> table(65536);
  if (fileGamma == kSrgbGamma) {
    for (uint32_t v = 0; v < table.size(); ++v) table[v] = static_cast<uint8_t>((v * 255 + 32767) / 65535);
    return table;
  }
  const double exponent = static_cast<double>(kSrgbGamma) / fileGamma;
  for (uint32_t v = 0; v < table.size(); ++v)
    table[v] = static_cast<uint8_t>(std::lround(255 * std::pow(v / 65535.0, exponent)));
  return table;
}

struct TWideRows {
  TColor32* First = nullptr;
  png_uint_32 Width = 0;
  png_uint_32 Height = 0;
  int Passes = 1;
  uint16_t* Samples = nullptr;  // one decoded row: R G B A per pixel
  const uint8_t* Colour = nullptr;  // WideColourTable
};

// Decodes every row of every pass into the row of samples and converts the
// pixels this pass gave it (at their places in the whole row) into the
// bitmap: colour through the table, alpha (linear) rounded to 8 bits.
void ReadWideRows(png_structp png, png_infop, void* context) {
  const TWideRows& rows = *static_cast<const TWideRows*>(context);
  const bool adam7 = rows.Passes > 1;
  for (int pass = 0; pass < rows.Passes; ++pass) {
    const png_uint_32 x0 = adam7 ? PNG_PASS_START_COL(pass) : 0;
    const png_uint_32 dx = adam7 ? png_uint_32{1} << PNG_PASS_COL_SHIFT(pass) : 1;
    for (png_uint_32 y = 0; y < rows.Height; ++y) {
      png_read_row(png, reinterpret_cast<png_bytep>(rows.Samples), nullptr);
      if (adam7 && !PNG_ROW_IN_INTERLACE_PASS(y, pass)) continue;
      TColor32* out = rows.First + size_t{y} * rows.Width;
      for (png_uint_32 x = x0; x < rows.Width; x += dx) {
        const uint16_t* s = rows.Samples + size_t{4} * x;
        out[x] = Color32(rows.Colour[s[0]], rows.Colour[s[1]], rows.Colour[s[2]], (s[3] * 255u + 32767) / 65535);
      }
    }
  }
}

// libpng's read and info structures, destroyed with the reader.
class TPngReader {
 public:
  explicit TPngReader(TPngSource& source) {
    FPng = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, RecordError, IgnoreWarning);
    if (FPng) FInfo = png_create_info_struct(FPng);
    if (!FPng || !FInfo) {
      png_destroy_read_struct(FPng ? &FPng : nullptr, nullptr, nullptr);
      throw EBitmapIOError("Cannot read PNG image: out of memory");
    }
    png_set_read_fn(FPng, &source, ReadFromSource);
  }
  ~TPngReader() { png_destroy_read_struct(&FPng, &FInfo, nullptr); }
  TPngReader(const TPngReader&) = delete;
  TPngReader& operator=(const TPngReader&) = delete;

  // Raises EBitmapIOError with libpng's message when the step fails.
  void Run(TPngStep step, void* context, const TPngSource& source) {
    if (!Guarded(step, FPng, FInfo, context)) throw EBitmapIOError(std::string("Invalid PNG image: ") + source.Error);
  }

 private:
  png_structp FPng = nullptr;
  png_infop FInfo = nullptr;
};

}  // namespace

TBitmap32 LoadBitmap32FromPng(std::span<const uint8_t> bytes) {
  // Without the signature libpng refuses the bytes by itself.
  const bitmap32_io::TPngImageData imageData =
      HasPngSignature(bytes) ? bitmap32_io::FindPngImageData(bytes) : bitmap32_io::TPngImageData{};
  TPngSource source;
  source.Data = bytes.data();
  source.Size = bytes.size();
  TPngReader reader(source);
  TPngHeader header;
  reader.Run(ReadHeader, &header, source);

  // Before anything is allocated: could the image data fill the declared
  // size at all (a cheap bound), and, for a bitmap large for its data, does
  // the data inflate to the rows without damage?
  bitmap32_io::CheckImageSize(header.Width, header.Height, "PNG");
  const bitmap32_io::TPngRowLayout layout{header.Width, header.Height,
                                          static_cast<uint32_t>(header.BitDepth * header.Channels), header.Adam7};
  const uint64_t leastInflated = (uint64_t{header.Width} * header.Height * layout.BitsPerPixel + 7) / 8;
  if (leastInflated > kMaxDeflateRatio * (imageData.Bytes + 1))
    throw EBitmapIOError("Invalid PNG image: too little image data for " + std::to_string(header.Width) + " x " +
                         std::to_string(header.Height) + " pixels");
  if (NeedsImageDataCheck(header.Width, header.Height, imageData.Bytes))
    bitmap32_io::CheckPngImageData(bytes, imageData, layout);

  // libpng's errors while decoding (CRC, zlib, filter type, data ending
  // early) raise EBitmapIOError and drop the bitmap.
  TBitmap32 bitmap = bitmap32_io::NewImage(header.Width, header.Height, "PNG");
  if (header.Wide) {
    std::vector<uint8_t> colour;
    std::vector<uint16_t> samples;
    try {
      colour = WideColourTable(header.Gamma);
      samples.resize(size_t{4} * header.Width);
    } catch (const std::bad_alloc&) {
      bitmap32_io::FailNoMemory(header.Width, header.Height, "PNG");
    }
    TWideRows rows{bitmap.Bits(), header.Width, header.Height, header.Passes, samples.data(), colour.data()};
    reader.Run(ReadWideRows, &rows, source);
    return bitmap;
  }
  TPngRows rows{reinterpret_cast<uint8_t*>(bitmap.Bits()), header.RowBytes, header.Height, header.Passes};
  reader.Run(ReadRows, &rows, source);
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
