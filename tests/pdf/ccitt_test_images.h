#pragma once
// Synthetic 1-bit images for the fax encoder's tests, fuzz target and
// benchmarks. Pixels are kept as ink (1 = black, the encoder's own
// convention); BitmapBytes gives the bitmap the encoder is handed, where a 0
// bit is black, with garbage in the padding bits.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "pdf/ccitt_fax.h"

namespace ccitt_test {

struct TFaxImage {
  int Width = 0;
  int Height = 0;
  std::size_t RowBytes = 0;
  std::vector<uint8_t> Ink;  // Height rows of RowBytes, padding bits zero

  TFaxImage() = default;
  TFaxImage(int width, int height)
      : Width(width), Height(height), RowBytes((static_cast<std::size_t>(width) + 7) / 8),
        Ink(RowBytes * static_cast<std::size_t>(height), 0) {}

  uint8_t* Row(int y) { return Ink.data() + RowBytes * static_cast<std::size_t>(y); }
  const uint8_t* Row(int y) const { return Ink.data() + RowBytes * static_cast<std::size_t>(y); }
  void SetBlack(int x, int y) { Row(y)[x >> 3] |= static_cast<uint8_t>(0x80u >> (x & 7)); }
  // Black from x0 up to (not including) x1, clipped to the row.
  void FillBlack(int x0, int x1, int y) {
    for (int x = std::max(x0, 0); x < std::min(x1, Width); ++x) SetBlack(x, y);
  }
};

// Clears the bits after the last pixel of every row.
inline void ClearPadding(std::vector<uint8_t>& rows, int width, std::size_t rowBytes) {
  if (width % 8 == 0 || rowBytes == 0) return;
  const auto keep = static_cast<uint8_t>(0xFF00u >> (width % 8));
  for (std::size_t i = rowBytes - 1; i < rows.size(); i += rowBytes) rows[i] &= keep;
}

// The bitmap the encoder reads: every byte inverted (0 = black), and the
// padding bits after the last pixel of each row set at random.
inline std::vector<uint8_t> BitmapBytes(const TFaxImage& image, uint32_t seed = 1) {
  std::vector<uint8_t> bytes(image.Ink.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(~image.Ink[i]);
  if (image.Width % 8 != 0 && image.RowBytes != 0) {
    std::mt19937 random(seed);
    const auto pad = static_cast<uint8_t>(0xFFu >> (image.Width % 8));
    for (std::size_t i = image.RowBytes - 1; i < bytes.size(); i += image.RowBytes)
      bytes[i] = static_cast<uint8_t>((bytes[i] & ~pad) | (random() & pad));
  }
  return bytes;
}

inline TVCCITTBitmap BitmapView(const std::vector<uint8_t>& bytes, const TFaxImage& image) {
  return TVCCITTBitmap{bytes.data(), image.Width, image.Height,
                       static_cast<std::ptrdiff_t>(image.RowBytes), 1};
}

// The code one encoder run writes for `bitmap` (a TVCCITTBitmap or a TPdfBitmap).
template <class TBitmap>
std::vector<uint8_t> Encoded(const TBitmap& bitmap, TVCCITTMode mode) {
  std::vector<uint8_t> out;
  TVCCITTCompression encoder;
  encoder.SetOutput(&out);
  encoder.SetMode(mode);
  encoder.Compress(bitmap);
  return out;
}

// The code for `image`, handed over as BitmapBytes(image, seed).
inline std::vector<uint8_t> EncodedImage(const TFaxImage& image, TVCCITTMode mode,
                                         uint32_t seed = 1) {
  const std::vector<uint8_t> bytes = BitmapBytes(image, seed);
  return Encoded(BitmapView(bytes, image), mode);
}

enum class TPattern { White, Black, Noise, AlternatingRuns, DriftingEdges };

inline const char* PatternName(TPattern pattern) {
  switch (pattern) {
    case TPattern::White: return "white";
    case TPattern::Black: return "black";
    case TPattern::Noise: return "noise";
    case TPattern::AlternatingRuns: return "alternating runs";
    case TPattern::DriftingEdges: return "drifting edges";
  }
  return "?";
}

inline constexpr TPattern kAllPatterns[] = {TPattern::White, TPattern::Black, TPattern::Noise,
                                            TPattern::AlternatingRuns, TPattern::DriftingEdges};

inline TFaxImage MakeImage(TPattern pattern, int width, int height, uint32_t seed = 7) {
  TFaxImage image(width, height);
  std::mt19937 random(seed);
  switch (pattern) {
    case TPattern::White:
      break;
    case TPattern::Black:
      for (int y = 0; y < height; ++y) image.FillBlack(0, width, y);
      break;
    case TPattern::Noise:
      for (uint8_t& b : image.Ink) b = static_cast<uint8_t>(random());
      ClearPadding(image.Ink, width, image.RowBytes);
      break;
    case TPattern::AlternatingRuns:
      // Runs of every length class: short ones, make-up sizes and beyond 2560.
      for (int y = 0; y < height; ++y) {
        bool black = (random() & 1) != 0;
        for (int x = 0; x < width;) {
          const uint32_t kind = random() % 4;
          const int run = 1 + static_cast<int>(kind == 0   ? random() % 8
                                               : kind == 1 ? random() % 64
                                               : kind == 2 ? random() % 700
                                                           : random() % 3000);
          if (black) image.FillBlack(x, x + run, y);
          x += run;
          black = !black;
        }
      }
      break;
    case TPattern::DriftingEdges: {
      // Black bars whose edges move a few pixels per row, so rows differ from
      // their reference by vertical, pass and horizontal steps.
      std::vector<int> edges;
      for (int x = static_cast<int>(random() % 5); x < width; x += 2 + static_cast<int>(random() % 40))
        edges.push_back(x);
      for (int y = 0; y < height; ++y) {
        for (std::size_t i = 0; i + 1 < edges.size(); i += 2) image.FillBlack(edges[i], edges[i + 1], y);
        for (int& e : edges) e += static_cast<int>(random() % 11) - 5;
        std::sort(edges.begin(), edges.end());
      }
      break;
    }
  }
  return image;
}

// A page that looks like printed text: lines of glyph-sized black strokes on
// white, wide margins.
inline TFaxImage MakeTextPage(int width, int height, uint32_t seed = 3) {
  TFaxImage image(width, height);
  std::mt19937 random(seed);
  const int margin = width / 12;
  for (int top = margin; top + 40 < height - margin; top += 70) {
    for (int x = margin; x + 30 < width - margin;) {
      const int glyph = 18 + static_cast<int>(random() % 14);
      if (random() % 6 != 0) {
        // A glyph: a few strokes of varying thickness and height.
        const int strokes = 1 + static_cast<int>(random() % 3);
        for (int s = 0; s < strokes; ++s) {
          const int sx = x + static_cast<int>(random() % static_cast<uint32_t>(glyph - 4));
          const int sw = 3 + static_cast<int>(random() % 4);
          const int sy = top + static_cast<int>(random() % 12);
          const int sh = 12 + static_cast<int>(random() % 28);
          for (int y = sy; y < std::min(sy + sh, height); ++y) image.FillBlack(sx, sx + sw, y);
        }
        const int bar = top + 8 + static_cast<int>(random() % 24);
        image.FillBlack(x, x + glyph - 2, bar);
        image.FillBlack(x, x + glyph - 2, bar + 1);
      }
      x += glyph + 4;
    }
  }
  return image;
}

}  // namespace ccitt_test
