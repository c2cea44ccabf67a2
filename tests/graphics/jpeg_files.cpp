#include "graphics/jpeg_files.h"

#include <cstdio>  // jpeglib.h needs FILE declared first
#include <cstdlib>

#include <jpeglib.h>

#include <gtest/gtest.h>

namespace {

// A test file must always code; a libjpeg error is a broken set-up.
[[noreturn]] void AbortOnError(j_common_ptr info) {
  char message[JMSG_LENGTH_MAX];
  info->err->format_message(info, message);
  std::fprintf(stderr, "test JPEG: %s\n", message);
  std::abort();
}

uint8_t PatternSample(int x, int y, int c, uint32_t& noise) {
  noise = noise * 1664525u + 1013904223u;
  const int ramps[4] = {x * 3, y * 5, (x + y) * 2, x ^ y};
  return static_cast<uint8_t>(ramps[c] + static_cast<int>(noise >> 28));
}

}  // namespace

std::vector<uint8_t> MakeJpegFile(const TJpegFileSpec& spec) {
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  error.error_exit = AbortOnError;
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(spec.Width);
  info.image_height = static_cast<JDIMENSION>(spec.Height);
  info.input_components = spec.Components;
  info.in_color_space = spec.Components == 1 ? JCS_GRAYSCALE : spec.Components == 4 ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&info);
  if (spec.StoreRgb) jpeg_set_colorspace(&info, JCS_RGB);
  if (spec.Ycck) jpeg_set_colorspace(&info, JCS_YCCK);
  if (spec.Components == 4) info.write_Adobe_marker = spec.AdobeMarker ? TRUE : FALSE;
  jpeg_set_quality(&info, 90, TRUE);
  if (spec.Progressive) jpeg_simple_progression(&info);
  info.arith_code = spec.Arithmetic ? TRUE : FALSE;
  info.comp_info[0].h_samp_factor = spec.HorzSampling;
  info.comp_info[0].v_samp_factor = spec.VertSampling;
  for (int c = 1; c < info.num_components; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(spec.Width) * spec.Components);
  uint32_t noise = 7;
  while (info.next_scanline < info.image_height) {
    const int y = static_cast<int>(info.next_scanline);
    for (int x = 0; x < spec.Width; ++x)
      for (int c = 0; c < spec.Components; ++c)
        row[static_cast<size_t>(x) * spec.Components + c] =
            spec.Flat.empty() ? PatternSample(x, y, c, noise) : spec.Flat[static_cast<size_t>(c)];
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

TBitmap32 LibjpegRgbDecode(const std::vector<uint8_t>& jpeg) {
  jpeg_decompress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  error.error_exit = AbortOnError;
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  TBitmap32 image(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
  std::vector<JSAMPLE> row(static_cast<size_t>(info.output_width) * 3);
  while (info.output_scanline < info.output_height) {
    TColor32* out = image.ScanLine(static_cast<int>(info.output_scanline));
    JSAMPROW rows[] = {row.data()};
    EXPECT_EQ(jpeg_read_scanlines(&info, rows, 1), 1u);
    for (int x = 0; x < image.Width(); ++x) out[x] = Color32(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return image;
}
