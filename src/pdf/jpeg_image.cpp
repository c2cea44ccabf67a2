#include "pdf/jpeg_image.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <fstream>
#include <iterator>
#include <utility>

#include <jpeglib.h>
// jerror.h after jpeglib.h: it names the warnings checked below.
#include <jerror.h>

#include "pdf/pdf_error.h"

namespace {

// The most memory libjpeg may take for the check. Progressive and other
// multi-scan files keep every coefficient of the image until the last scan
// (about 2 bytes per sample: 36 MB for a 12-megapixel photo); a few bytes
// can declare 65500 x 65500, which would take 8 GB and more. libjpeg refuses
// a file that needs more.
constexpr long kMaxDecoderMemory = 1L << 30;

// libjpeg reports fatal errors through error_exit, which by default ends the
// process. Ours jumps back to the reader instead, which then throws; nothing
// with a destructor lives in the frames the jump crosses.
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

void JpegErrorExit(j_common_ptr info) {
  // libjpeg asks for a temporary file when the memory cap is reached, and has
  // none; say what the file needs instead.
  if (info->err->msg_code == JERR_NO_BACKING_STORE) {
    auto* manager = reinterpret_cast<TJpegErrorManager*>(info->err);
    std::snprintf(manager->Message, sizeof manager->Message, "decoding it needs more than %ld MB of memory",
                  kMaxDecoderMemory >> 20);
    std::longjmp(manager->Return, 1);
  }
  JpegFail(info);
}

// libjpeg goes on past damaged data with a warning, filling what is missing
// with grey. Truncation and corruption are errors here: a reader would show
// the image damaged, or refuse it. Other warnings (extraneous bytes between
// markers, a bad ICC profile, unknown JFIF or Adobe versions) leave the image
// whole and are ignored; trace messages (level >= 0) are never printed.
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

struct TJpegHeader {
  int Width = 0;
  int Height = 0;
  int Components = 0;
  bool AdobeMarker = false;
};

// The decompressor and its error manager, kept in the caller's frame so that
// nothing the jump crosses lives in registers of the function that called
// setjmp.
struct TJpegReader {
  jpeg_decompress_struct Info;
  TJpegErrorManager Error;
};

// Reads the header of `size` bytes at `data`, then decodes every row into a
// scratch row from libjpeg's own pool, so no image is kept and the check
// costs one row of memory beyond libjpeg's. The decode runs at one eighth of
// the size and in the file's own colour space: every coefficient is still
// read from the entropy-coded data (so damage shows), while the inverse DCT,
// upsampling and colour conversion, which check nothing, shrink to a fraction
// (half the time of a full decode). Returns false with the decoder's message
// in `reader.Error.Message` when libjpeg rejects the bytes or delivers fewer
// rows than the header declares.
bool ReadJpeg(const uint8_t* data, std::size_t size, TJpegReader& reader, TJpegHeader& header) {
  reader.Info.err = jpeg_std_error(&reader.Error.Public);
  reader.Info.mem = nullptr;
  reader.Error.Public.error_exit = JpegErrorExit;
  reader.Error.Public.emit_message = JpegEmitMessage;
  reader.Error.Message[0] = '\0';
  if (setjmp(reader.Error.Return) != 0) {
    jpeg_destroy_decompress(&reader.Info);
    return false;
  }
  jpeg_create_decompress(&reader.Info);
  reader.Info.mem->max_memory_to_use = kMaxDecoderMemory;
  jpeg_mem_src(&reader.Info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&reader.Info, TRUE);
  header.Width = static_cast<int>(reader.Info.image_width);
  header.Height = static_cast<int>(reader.Info.image_height);
  header.Components = reader.Info.num_components;
  header.AdobeMarker = reader.Info.saw_Adobe_marker != 0;

  reader.Info.out_color_space = reader.Info.jpeg_color_space;
  reader.Info.scale_num = 1;
  reader.Info.scale_denom = 8;
  jpeg_start_decompress(&reader.Info);
  JSAMPARRAY row = (*reader.Info.mem->alloc_sarray)(
      reinterpret_cast<j_common_ptr>(&reader.Info), JPOOL_IMAGE,
      reader.Info.output_width * static_cast<JDIMENSION>(reader.Info.output_components), 1);
  while (reader.Info.output_scanline < reader.Info.output_height) {
    if (jpeg_read_scanlines(&reader.Info, row, 1) != 1) {
      std::snprintf(reader.Error.Message, sizeof reader.Error.Message,
                    "the data ends after %u of %u rows", reader.Info.output_scanline,
                    reader.Info.output_height);
      jpeg_destroy_decompress(&reader.Info);
      return false;
    }
  }
  jpeg_finish_decompress(&reader.Info);
  jpeg_destroy_decompress(&reader.Info);
  return true;
}

}  // namespace

TJpegImage::TJpegImage(TPdfBytes bytes) : FBytes(std::move(bytes)) {
  // libjpeg treats an empty buffer as a fatal error of its own; say so plainly.
  if (FBytes.empty()) throw EPdfError("Invalid JPEG image: no data.");
  TJpegReader reader;
  TJpegHeader header;
  if (!ReadJpeg(FBytes.data(), FBytes.size(), reader, header))
    throw EPdfError(std::string("Invalid JPEG image: ") + reader.Error.Message);
  FWidth = header.Width;
  FHeight = header.Height;
  FComponents = header.Components;
  FAdobeMarker = header.AdobeMarker;
}

TJpegImage TJpegImage::FromBytes(std::span<const uint8_t> bytes) {
  return TJpegImage(TPdfBytes(bytes.begin(), bytes.end()));
}

TJpegImage TJpegImage::LoadFromFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw EPdfError("Cannot open JPEG file \"" + path + "\".");
  TPdfBytes bytes;
  // A read error (a directory opens but cannot be read) surfaces as
  // std::ios_base::failure from the stream buffer; it is a file error like
  // any other here.
  try {
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {
    throw EPdfError("Cannot read JPEG file \"" + path + "\".");
  }
  if (file.bad()) throw EPdfError("Cannot read JPEG file \"" + path + "\".");
  return TJpegImage(std::move(bytes));
}

void TJpegImage::SaveToStream(TPdfBytes& out) const { out.insert(out.end(), FBytes.begin(), FBytes.end()); }
