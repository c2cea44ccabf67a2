// JPEG through libjpeg. libjpeg reports fatal errors through error_exit; ours
// jumps back to the function that set the jump, which then answers false.
// Only libjpeg's own frames are crossed by the jump, and everything the
// functions below fill lives in the caller's frame.
#include "graphics/bitmap32_io.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <cstdlib>

#include <jpeglib.h>

#include "graphics/bitmap32_io_internal.h"

namespace {

struct TJpegErrorManager {
  jpeg_error_mgr Public;  // first member: libjpeg sees a jpeg_error_mgr*
  std::jmp_buf Return;
  char Message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
  auto* manager = reinterpret_cast<TJpegErrorManager*>(info->err);
  manager->Public.format_message(info, manager->Message);
  std::longjmp(manager->Return, 1);
}

// Warnings (such as corrupt data that the decoder can go past) are not printed.
void JpegOutputMessage(j_common_ptr) {}

void InitErrors(TJpegErrorManager& error, jpeg_error_mgr*& slot) {
  slot = jpeg_std_error(&error.Public);
  error.Public.error_exit = JpegErrorExit;
  error.Public.output_message = JpegOutputMessage;
  error.Message[0] = '\0';
}

struct TJpegDecoder {
  jpeg_decompress_struct Info{};
  TJpegErrorManager Error{};
  bool Created = false;
  ~TJpegDecoder() {
    if (Created) jpeg_destroy_decompress(&Info);
  }
};

// Reads the header and chooses the output colour space (RGB, or CMYK for
// four-component files, which libjpeg does not turn into RGB).
bool JpegStart(TJpegDecoder& decoder, const uint8_t* data, size_t size) {
  InitErrors(decoder.Error, decoder.Info.err);
  if (setjmp(decoder.Error.Return) != 0) return false;
  jpeg_create_decompress(&decoder.Info);
  decoder.Created = true;
  jpeg_mem_src(&decoder.Info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&decoder.Info, TRUE);
  const bool cmyk = decoder.Info.jpeg_color_space == JCS_CMYK || decoder.Info.jpeg_color_space == JCS_YCCK;
  decoder.Info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  return true;
}

// Decodes every row into Bitmap (of the header's size); Row holds 4 bytes per pixel.
bool JpegDecode(TJpegDecoder& decoder, TBitmap32& bitmap, std::vector<uint8_t>& row) {
  if (setjmp(decoder.Error.Return) != 0) return false;
  jpeg_start_decompress(&decoder.Info);
  const bool cmyk = decoder.Info.out_color_space == JCS_CMYK;
  // Adobe writes CMYK inverted (0 = full ink), which is what nearly all CMYK JPEGs are.
  const bool inverted = decoder.Info.saw_Adobe_marker != 0;
  const int width = bitmap.Width();
  while (decoder.Info.output_scanline < decoder.Info.output_height) {
    JSAMPROW rows[1] = {row.data()};
    const int y = static_cast<int>(decoder.Info.output_scanline);
    if (jpeg_read_scanlines(&decoder.Info, rows, 1) != 1) break;
    TColor32* out = bitmap.ScanLine(y);
    const uint8_t* p = row.data();
    for (int x = 0; x < width; ++x) {
      if (cmyk) {
        uint32_t c = p[0], m = p[1], ye = p[2], k = p[3];
        if (!inverted) c = 255 - c, m = 255 - m, ye = 255 - ye, k = 255 - k;
        out[x] = Color32((c * k + 127) / 255, (m * k + 127) / 255, (ye * k + 127) / 255);
        p += 4;
      } else {
        out[x] = Color32(p[0], p[1], p[2]);
        p += 3;
      }
    }
  }
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
  TBitmap32 bitmap = bitmap32_io::NewImage(decoder.Info.image_width, decoder.Info.image_height, "JPEG");
  std::vector<uint8_t> row(static_cast<size_t>(bitmap.Width()) * 4);
  if (!JpegDecode(decoder, bitmap, row))
    throw EBitmapIOError(std::string("Invalid JPEG image: ") + decoder.Error.Message);
  return bitmap;
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
