#pragma once
// JPEG files made at test time with libjpeg-turbo: a simple colour pattern in
// grey, RGB or CMYK, baseline or progressive, Huffman or arithmetic coded.
// Header-only, so that it is compiled only into the tests that include it.
// RewrittenJpegFixture recodes such a file from its DCT coefficients, which
// can then hold values no pixels give.
//
// CMYK files carry libjpeg's Adobe APP14 marker unless asked not to. Such a
// file's samples are read as Adobe's inverted CMYK (255 is no ink), which is
// how Photoshop, ImageMagick and Pillow store them; the fixture writes the
// samples it is given unchanged either way.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include <jpeglib.h>

#include "pdf/pdf_bytes.h"

struct TJpegFixtureSpec {
  int Width = 16;
  int Height = 8;
  // JCS_GRAYSCALE, JCS_RGB, JCS_CMYK, or JCS_UNKNOWN for two components
  J_COLOR_SPACE ColorSpace = JCS_RGB;
  bool Progressive = false;
  int Quality = 90;
  // When set, every pixel has these samples (one per component) instead of
  // the ramp pattern.
  std::vector<uint8_t> Flat = {};
  // CMYK only: write the Adobe marker; store the samples as YCCK (the Adobe
  // marker's transform 2, as Photoshop does) rather than as plain CMYK.
  bool AdobeMarker = true;
  bool Ycck = false;
  // When set, the samples of the whole image (rows top-down, components
  // interleaved) instead of the pattern or Flat.
  std::vector<uint8_t> Samples = {};
  // Arithmetic coding in place of Huffman coding (as cjpeg -arithmetic).
  bool Arithmetic = false;
};

inline int JpegFixtureComponents(J_COLOR_SPACE space) {
  return space == JCS_GRAYSCALE ? 1 : space == JCS_CMYK ? 4 : space == JCS_UNKNOWN ? 2 : 3;
}

// The pattern: component c of pixel (x, y); smooth enough to survive the DCT
// within a few levels.
inline uint8_t JpegFixtureSample(int x, int y, int c, int width, int height) {
  const int ramps[4] = {x * 255 / (width > 1 ? width - 1 : 1), y * 255 / (height > 1 ? height - 1 : 1), 128,
                        40};
  return static_cast<uint8_t>(ramps[c % 4]);
}

// The samples of the pattern, rows top-down, components interleaved.
inline std::vector<uint8_t> JpegFixtureSamples(const TJpegFixtureSpec& spec) {
  const int n = JpegFixtureComponents(spec.ColorSpace);
  std::vector<uint8_t> samples(static_cast<std::size_t>(spec.Width) * spec.Height * n);
  std::size_t i = 0;
  for (int y = 0; y < spec.Height; ++y)
    for (int x = 0; x < spec.Width; ++x)
      for (int c = 0; c < n; ++c)
        samples[i++] = spec.Flat.empty() ? JpegFixtureSample(x, y, c, spec.Width, spec.Height)
                                         : spec.Flat[static_cast<std::size_t>(c) % spec.Flat.size()];
  return samples;
}

// A fixture must always encode; a libjpeg error is a broken test set-up.
inline void JpegFixtureErrorExit(j_common_ptr info) {
  char message[JMSG_LENGTH_MAX];
  info->err->format_message(info, message);
  std::fprintf(stderr, "JPEG fixture: %s\n", message);
  std::abort();
}

inline TPdfBytes MakeJpegFixture(const TJpegFixtureSpec& spec) {
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  error.error_exit = JpegFixtureErrorExit;
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(spec.Width);
  info.image_height = static_cast<JDIMENSION>(spec.Height);
  info.input_components = JpegFixtureComponents(spec.ColorSpace);
  info.in_color_space = spec.ColorSpace;
  jpeg_set_defaults(&info);
  if (spec.ColorSpace == JCS_CMYK && spec.Ycck) jpeg_set_colorspace(&info, JCS_YCCK);
  if (spec.ColorSpace == JCS_CMYK) info.write_Adobe_marker = spec.AdobeMarker ? TRUE : FALSE;
  jpeg_set_quality(&info, spec.Quality, TRUE);
  if (spec.Progressive) jpeg_simple_progression(&info);
  if (spec.Arithmetic) info.arith_code = TRUE;
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> samples = spec.Samples.empty() ? JpegFixtureSamples(spec) : spec.Samples;
  const std::size_t rowBytes = static_cast<std::size_t>(spec.Width) * info.input_components;
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = samples.data() + info.next_scanline * rowBytes;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  TPdfBytes bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

struct TJpegRewriteSpec {
  // The quantized DC coefficient of the first block of the first component.
  std::optional<int> FirstDc = {};
  bool Arithmetic = true;
  bool Progressive = false;
  // Restart markers every this many MCUs; 0 for none.
  unsigned RestartInterval = 0;
  // A COM marker of each of these sizes (at most 65533) after the header.
  std::vector<std::size_t> CommentSizes = {};
};

// `jpeg` recoded from its coefficients as `spec` asks. libjpeg codes any
// coefficient of up to 15 bits, also ones that Huffman coding of 8-bit data
// cannot carry (11 bits for a DC difference, 10 for an AC coefficient).
inline TPdfBytes RewrittenJpegFixture(const TPdfBytes& jpeg, const TJpegRewriteSpec& spec) {
  jpeg_decompress_struct source;
  jpeg_compress_struct target;
  jpeg_error_mgr error;
  source.err = target.err = jpeg_std_error(&error);
  error.error_exit = JpegFixtureErrorExit;
  jpeg_create_decompress(&source);
  jpeg_create_compress(&target);
  jpeg_mem_src(&source, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&source, TRUE);
  jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&source);
  if (spec.FirstDc) {
    JBLOCKARRAY rows = (*source.mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(&source), coefficients[0],
                                                         0, 1, TRUE);
    rows[0][0][0] = static_cast<JCOEF>(*spec.FirstDc);
  }
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&target, &buffer, &size);
  jpeg_copy_critical_parameters(&source, &target);
  target.arith_code = spec.Arithmetic ? TRUE : FALSE;
  target.optimize_coding = spec.Arithmetic ? FALSE : TRUE;
  target.restart_interval = spec.RestartInterval;
  if (spec.Progressive) jpeg_simple_progression(&target);
  jpeg_write_coefficients(&target, coefficients);
  for (std::size_t length : spec.CommentSizes) {
    const std::vector<JOCTET> text(length, 'c');
    jpeg_write_marker(&target, JPEG_COM, text.data(), static_cast<unsigned>(length));
  }
  jpeg_finish_compress(&target);
  jpeg_destroy_compress(&target);
  jpeg_finish_decompress(&source);
  jpeg_destroy_decompress(&source);
  TPdfBytes bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}
