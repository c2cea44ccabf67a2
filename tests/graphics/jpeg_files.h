#pragma once
// JPEG files made at test time with libjpeg, and libjpeg's own decode of a
// file to RGB: the reference the bitmap decoder's pixels are held to.

#include <cstdint>
#include <vector>

#include "graphics/bitmap32.h"

struct TJpegFileSpec {
  int Width = 16;
  int Height = 8;
  // 1 (grey), 3 (RGB, stored as YCbCr unless StoreRgb) or 4 (CMYK).
  int Components = 3;
  // The first component's sampling factors; the others' are 1 (2 x 2 is 4:2:0).
  int HorzSampling = 2;
  int VertSampling = 2;
  bool Progressive = false;
  bool Arithmetic = false;
  bool StoreRgb = false;
  // CMYK only: write Adobe's marker (samples then read as inverted CMYK);
  // store the samples as YCCK.
  bool AdobeMarker = true;
  bool Ycck = false;
  // When set, every pixel has these samples (one per component) instead of
  // a noisy pattern.
  std::vector<uint8_t> Flat = {};
};

std::vector<uint8_t> MakeJpegFile(const TJpegFileSpec& spec);

// libjpeg's decode of a grey or colour JPEG to RGB, as opaque TColor32 pixels.
TBitmap32 LibjpegRgbDecode(const std::vector<uint8_t>& jpeg);
