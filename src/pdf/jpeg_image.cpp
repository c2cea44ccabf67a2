#include "pdf/jpeg_image.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <fstream>
#include <iterator>
#include <utility>

#include <jpeglib.h>

#include "pdf/pdf_error.h"

namespace {

// libjpeg reports fatal errors through error_exit, which by default ends the
// process. Ours jumps back to the reader instead, which then throws; nothing
// with a destructor lives in the frames the jump crosses.
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

// Warnings (for example corrupt data after the header) do not stop the header
// read and are not printed.
void JpegOutputMessage(j_common_ptr) {}

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

// Reads the header of `size` bytes at `data`. Returns false with the decoder's
// message in `reader.Error.Message` when libjpeg rejects them.
bool ReadJpegHeader(const uint8_t* data, std::size_t size, TJpegReader& reader, TJpegHeader& header) {
  reader.Info.err = jpeg_std_error(&reader.Error.Public);
  reader.Info.mem = nullptr;
  reader.Error.Public.error_exit = JpegErrorExit;
  reader.Error.Public.output_message = JpegOutputMessage;
  reader.Error.Message[0] = '\0';
  if (setjmp(reader.Error.Return) != 0) {
    jpeg_destroy_decompress(&reader.Info);
    return false;
  }
  jpeg_create_decompress(&reader.Info);
  jpeg_mem_src(&reader.Info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&reader.Info, TRUE);
  header.Width = static_cast<int>(reader.Info.image_width);
  header.Height = static_cast<int>(reader.Info.image_height);
  header.Components = reader.Info.num_components;
  header.AdobeMarker = reader.Info.saw_Adobe_marker != 0;
  jpeg_destroy_decompress(&reader.Info);
  return true;
}

}  // namespace

TJpegImage::TJpegImage(TPdfBytes bytes) : FBytes(std::move(bytes)) {
  // libjpeg treats an empty buffer as a fatal error of its own; say so plainly.
  if (FBytes.empty()) throw EPdfError("Invalid JPEG image: no data.");
  TJpegReader reader;
  TJpegHeader header;
  if (!ReadJpegHeader(FBytes.data(), FBytes.size(), reader, header))
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
  TPdfBytes bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (file.bad()) throw EPdfError("Cannot read JPEG file \"" + path + "\".");
  return TJpegImage(std::move(bytes));
}

void TJpegImage::SaveToStream(TPdfBytes& out) const { out.insert(out.end(), FBytes.begin(), FBytes.end()); }
