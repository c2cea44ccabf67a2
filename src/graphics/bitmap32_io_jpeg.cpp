// JPEG through libjpeg. libjpeg reports fatal errors through error_exit; ours
// jumps back to the function that set the jump, which then answers false.
// Only libjpeg's own frames and the row loops below (which hold nothing to
// destroy) are crossed by the jump, and everything the functions below fill
// lives in the caller's frame.
#include "graphics/bitmap32_io.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <cstdlib>

#include <jpeglib.h>
// jerror.h after jpeglib.h: it names the warnings checked below.
#include <jerror.h>

#include <algorithm>
#include <bit>
#include <new>
#include <vector>

#include "graphics/bitmap32_io_internal.h"

namespace {

struct TJpegErrorManager {
  jpeg_error_mgr Public;  // first member: libjpeg sees a jpeg_error_mgr*
  std::jmp_buf Return;
  char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegFail(j_common_ptr info) {
  auto* manager = reinterpret_cast<TJpegErrorManager*>(info->err);
  manager->Public.format_message(info, manager->Message);
  std::longjmp(manager->Return, 1);
}

void JpegErrorExit(j_common_ptr info) { JpegFail(info); }

// libjpeg goes on past damaged data with a warning, filling what is missing
// with grey. Truncation and corruption are errors here, so nothing is
// half-loaded. Other warnings (extraneous bytes between markers, a bad ICC
// profile, unknown JFIF or Adobe versions) leave the image whole and are
// ignored; trace messages (level >= 0) are never printed.
void JpegEmitMessage(j_common_ptr info, int level) {
  if (level >= 0) return;
  switch (info->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_ARITH_BAD_CODE: JpegFail(info);
    default: break;
  }
}

void InitErrors(TJpegErrorManager& error, jpeg_error_mgr*& slot) {
  slot = jpeg_std_error(&error.Public);
  error.Public.error_exit = JpegErrorExit;
  error.Public.emit_message = JpegEmitMessage;
  error.Message[0] = '\0';
}

// The decoded rows, in a bitmap whose height grows fourfold as rows arrive.
// A JPEG header bounds nothing (a few bytes can declare 65500 x 65500), so
// memory follows the rows the data actually delivers: at most four times
// their size. The bitmap grows in place (TBitmap32::SetHeightKeepingRows
// remaps a large bitmap's pages rather than copying them), so old and new
// rows never coexist, and the last step grows to the declared height: a
// whole image ends in a bitmap of exactly its size.
class TGrowingImage {
 public:
  TGrowingImage(int width, int height) : FWidth(width), FHeight(height) {}

  int Rows() const { return FRows; }
  int Height() const { return FHeight; }
  // Makes room for the whole image at once, for data already known to fill it.
  void Reserve() { Grow(FHeight); }
  // The next row to fill, growing the bitmap when it is full; Room rows
  // follow it. Call while Rows < Height; the pointer holds until the next call.
  TColor32* NextRows() {
    if (FRows == FBitmap.Height()) Grow(std::min(FHeight, std::max(kFirstRows, 4 * FBitmap.Height())));
    return FBitmap.ScanLine(FRows);
  }
  int Room() const { return FBitmap.Height() - FRows; }
  // Counts rows filled since NextRows (at most Room).
  void Filled(int count) { FRows += count; }
  // The finished image, once every declared row has arrived.
  TBitmap32 Take() { return std::move(FBitmap); }

 private:
  static constexpr int kFirstRows = 16;

  void Grow(int rows) {
    try {
      if (FBitmap.Empty()) {
        FBitmap = bitmap32_io::NewImageRows(FWidth, FHeight, rows, "JPEG");
      } else {
        FBitmap.SetHeightKeepingRows(rows);
      }
    } catch (const std::bad_alloc&) {
      bitmap32_io::FailNoMemory(FWidth, FHeight, "JPEG");
    }
  }

  int FWidth;
  int FHeight;
  int FRows = 0;
  TBitmap32 FBitmap;
};

// libjpeg's output whose bytes are TColor32 pixels as they lie in memory
// (B, G, R, A on a little-endian machine), with alpha 255.
constexpr J_COLOR_SPACE kColor32Space = std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;

// The most rows one jpeg_read_scanlines call gives: an MCU row of a
// component sampled 4 times vertically.
constexpr int kMaxRowsPerRead = 4 * DCTSIZE;

// The buffer libjpeg decodes one CMYK row into, 4 bytes per pixel; the
// reader's own error when its memory is refused.
std::vector<uint8_t> NewRowBuffer(int width, int height) {
  try {
    return std::vector<uint8_t>(static_cast<size_t>(width) * 4);
  } catch (const std::bad_alloc&) {
    bitmap32_io::FailNoMemory(width, height, "JPEG");
  }
}

struct TJpegDecoder {
  jpeg_decompress_struct Info{};
  TJpegErrorManager Error{};
  bool Created = false;
  ~TJpegDecoder() {
    if (Created) jpeg_destroy_decompress(&Info);
  }
};

// Reads the header and chooses the output colour space: CMYK for
// four-component files, which libjpeg does not turn into RGB, and TColor32
// pixels for all others (libjpeg turns grey and YCbCr into them).
bool JpegStart(TJpegDecoder& decoder, const uint8_t* data, size_t size) {
  InitErrors(decoder.Error, decoder.Info.err);
  if (setjmp(decoder.Error.Return) != 0) return false;
  jpeg_create_decompress(&decoder.Info);
  decoder.Created = true;
  jpeg_mem_src(&decoder.Info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&decoder.Info, TRUE);
  const bool cmyk = decoder.Info.jpeg_color_space == JCS_CMYK || decoder.Info.jpeg_color_space == JCS_YCCK;
  decoder.Info.out_color_space = cmyk ? JCS_CMYK : kColor32Space;
  return true;
}

// The message for jpeg_read_scanlines giving no row, which the memory
// source only does when the data is exhausted.
bool RowsMissing(TJpegDecoder& decoder) {
  std::snprintf(decoder.Error.Message, sizeof decoder.Error.Message, "the data ends after %u of %u rows",
                decoder.Info.output_scanline, decoder.Info.output_height);
  return false;
}

// libjpeg writes the rows straight into the image.
bool ReadColor32Rows(TJpegDecoder& decoder, TGrowingImage& image, int width) {
  JSAMPROW rows[kMaxRowsPerRead];
  while (image.Rows() < image.Height()) {
    TColor32* first = image.NextRows();
    const int count = std::min(kMaxRowsPerRead, image.Room());
    for (int i = 0; i < count; ++i) rows[i] = reinterpret_cast<JSAMPROW>(first + static_cast<ptrdiff_t>(i) * width);
    const JDIMENSION read = jpeg_read_scanlines(&decoder.Info, rows, static_cast<JDIMENSION>(count));
    if (read == 0) return RowsMissing(decoder);
    image.Filled(static_cast<int>(read));
  }
  return true;
}

// CMYK rows through Row, 4 bytes per pixel. Adobe writes CMYK inverted
// (0 = full ink), which is what nearly all CMYK JPEGs are.
bool ReadCmykRows(TJpegDecoder& decoder, TGrowingImage& image, int width, std::vector<uint8_t>& row) {
  const bool inverted = decoder.Info.saw_Adobe_marker != 0;
  while (image.Rows() < image.Height()) {
    JSAMPROW rows[1] = {row.data()};
    if (jpeg_read_scanlines(&decoder.Info, rows, 1) != 1) return RowsMissing(decoder);
    TColor32* out = image.NextRows();
    const uint8_t* p = row.data();
    for (int x = 0; x < width; ++x, p += 4) {
      uint32_t c = p[0], m = p[1], ye = p[2], k = p[3];
      if (!inverted) c = 255 - c, m = 255 - m, ye = 255 - ye, k = 255 - k;
      out[x] = Color32((c * k + 127) / 255, (m * k + 127) / 255, (ye * k + 127) / 255);
    }
    image.Filled(1);
  }
  return true;
}

// Decodes every row into Image; Row holds a CMYK row. Answers false with the
// reason in the decoder's message on an error, a truncation or corruption
// warning, or fewer rows than the header declares.
bool JpegDecode(TJpegDecoder& decoder, TGrowingImage& image, int width, std::vector<uint8_t>& row) {
  if (setjmp(decoder.Error.Return) != 0) return false;
  jpeg_start_decompress(&decoder.Info);
  // A file of several scans has been read whole into libjpeg's coefficients
  // by now, damage found included: its rows are sure to arrive.
  if (jpeg_has_multiple_scans(&decoder.Info)) image.Reserve();
  const bool rowsRead = decoder.Info.out_color_space == JCS_CMYK ? ReadCmykRows(decoder, image, width, row)
                                                                   : ReadColor32Rows(decoder, image, width);
  if (!rowsRead) return false;
  jpeg_finish_decompress(&decoder.Info);
  return true;
}

struct TJpegEncoder {
  jpeg_compress_struct Info{};
  TJpegErrorManager Error{};
  unsigned char* Buffer = nullptr;
  unsigned long Size = 0;
  bool Created = false;
  ~TJpegEncoder() {
    if (Created) jpeg_destroy_compress(&Info);
    std::free(Buffer);
  }
};

bool JpegEncode(TJpegEncoder& encoder, const TBitmap32& bitmap, int quality, std::vector<uint8_t>& row) {
  InitErrors(encoder.Error, encoder.Info.err);
  if (setjmp(encoder.Error.Return) != 0) return false;
  jpeg_create_compress(&encoder.Info);
  encoder.Created = true;
  jpeg_mem_dest(&encoder.Info, &encoder.Buffer, &encoder.Size);
  encoder.Info.image_width = static_cast<JDIMENSION>(bitmap.Width());
  encoder.Info.image_height = static_cast<JDIMENSION>(bitmap.Height());
  encoder.Info.input_components = 3;
  encoder.Info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&encoder.Info);
  jpeg_set_quality(&encoder.Info, quality, TRUE);
  jpeg_start_compress(&encoder.Info, TRUE);
  while (encoder.Info.next_scanline < encoder.Info.image_height) {
    const TColor32* in = bitmap.ScanLine(static_cast<int>(encoder.Info.next_scanline));
    for (int x = 0; x < bitmap.Width(); ++x) {
      row[3 * x] = RedComponent(in[x]);
      row[3 * x + 1] = GreenComponent(in[x]);
      row[3 * x + 2] = BlueComponent(in[x]);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&encoder.Info, rows, 1);
  }
  jpeg_finish_compress(&encoder.Info);
  return true;
}

}  // namespace

TBitmap32 LoadBitmap32FromJpeg(std::span<const uint8_t> bytes) {
  // libjpeg treats an empty buffer as a fatal error of its own; say so plainly.
  if (bytes.empty()) throw EBitmapIOError("Invalid JPEG image: no data");
  TJpegDecoder decoder;
  if (!JpegStart(decoder, bytes.data(), bytes.size()))
    throw EBitmapIOError(std::string("Invalid JPEG image: ") + decoder.Error.Message);
  // Only the size is checked here: rows are stored as they arrive.
  bitmap32_io::CheckImageSize(decoder.Info.image_width, decoder.Info.image_height, "JPEG");
  const int width = static_cast<int>(decoder.Info.image_width);
  TGrowingImage image(width, static_cast<int>(decoder.Info.image_height));
  std::vector<uint8_t> row;
  if (decoder.Info.out_color_space == JCS_CMYK) row = NewRowBuffer(width, image.Height());
  if (!JpegDecode(decoder, image, width, row))
    throw EBitmapIOError(std::string("Invalid JPEG image: ") + decoder.Error.Message);
  return image.Take();
}

std::vector<uint8_t> SaveBitmap32ToJpeg(const TBitmap32& bitmap, int quality) {
  bitmap32_io::RequireImage(bitmap, "JPEG");
  if (quality < 1 || quality > 100) throw EBitmapIOError("JPEG quality must lie in 1..100");
  if (bitmap.Width() > JPEG_MAX_DIMENSION || bitmap.Height() > JPEG_MAX_DIMENSION)
    throw EBitmapIOError("Bitmap too large for a JPEG image");
  TJpegEncoder encoder;
  std::vector<uint8_t> row(static_cast<size_t>(bitmap.Width()) * 3);
  if (!JpegEncode(encoder, bitmap, quality, row))
    throw EBitmapIOError(std::string("Cannot encode JPEG image: ") + encoder.Error.Message);
  return std::vector<uint8_t>(encoder.Buffer, encoder.Buffer + encoder.Size);
}
