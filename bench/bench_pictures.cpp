#include "bench_pictures.h"

#include <cstdint>

TBitmap32 NoisyGradient12MP(bool varyingAlpha) {
  TBitmap32 picture(kPictureWidth, kPictureHeight);
  std::uint32_t noise = 12345;
  for (int y = 0; y < kPictureHeight; ++y) {
    TColor32* row = picture.ScanLine(y);
    for (int x = 0; x < kPictureWidth; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const int n = static_cast<int>(noise >> 29);  // 0..7
      const int alpha = varyingAlpha ? 255 - (x / 16 & 0x3F) : 255;
      row[x] = Color32((x * 255 / kPictureWidth + n) & 0xFF, (y * 255 / kPictureHeight + n) & 0xFF,
                       ((x + y) / 28 + n) & 0xFF, alpha);
    }
  }
  return picture;
}
