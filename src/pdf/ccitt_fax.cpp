#include "pdf/ccitt_fax.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "pdf/pdf_error.h"

namespace {

// Runs are counted on unsigned positions; every caller guarantees
// start <= end <= the row's bit count, so no byte past the row is read.
template <bool Black>
uint32_t SpanFrom(const uint8_t* row, uint32_t start, uint32_t end) {
  constexpr const std::array<uint8_t, 256>& kLeading = Black ? kFaxLeadingOnes : kFaxLeadingZeros;
  constexpr uint8_t kFull = Black ? 0xFF : 0x00;
  constexpr uint64_t kFullWord = Black ? ~uint64_t{0} : uint64_t{0};
  if (start >= end) return 0;
  uint32_t bits = end - start;
  const uint8_t* p = row + (start >> 3);
  uint32_t span = 0;
  if (const uint32_t n = start & 7; n != 0) {
    // Partial first byte: shift the bits before `start` out. Zeros shifted in
    // at the bottom can overcount a white run, hence the cap at 8 - n.
    uint32_t run = kLeading[static_cast<uint8_t>(*p << n)];
    run = std::min({run, 8 - n, bits});
    if (n + run < 8) return run;
    span = run;
    bits -= run;
    ++p;
  }
  // Whole words, then whole bytes, of one colour.
  while (bits >= 64) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    if (word != kFullWord) break;
    span += 64;
    bits -= 64;
    p += 8;
  }
  while (bits >= 8) {
    if (*p != kFull) return span + kLeading[*p];
    span += 8;
    bits -= 8;
    ++p;
  }
  if (bits > 0) span += std::min<uint32_t>(kLeading[*p], bits);
  return span;
}

// The pixel at `position` of a row of `width` pixels; at or beyond the width
// the row is white, so a search that reached the end never reads padding.
inline uint32_t PixelAt(const uint8_t* row, uint32_t position, uint32_t width) {
  if (position >= width) return 0;
  return (row[position >> 3] >> (7 - (position & 7))) & 1u;
}

inline uint32_t Diff(const uint8_t* row, uint32_t start, uint32_t colour, uint32_t end) {
  return start + (colour != 0 ? SpanFrom<true>(row, start, end) : SpanFrom<false>(row, start, end));
}

inline uint32_t Diff2(const uint8_t* row, uint32_t start, uint32_t colour, uint32_t end) {
  return start >= end ? end : Diff(row, start, colour, end);
}

// End position clamped to the bits the row holds.
inline uint32_t ClampEnd(std::span<const uint8_t> row, int end) {
  if (end <= 0) return 0;
  return static_cast<uint32_t>(std::min<std::size_t>(static_cast<std::size_t>(end), row.size() * 8));
}

void RequireRowWidth(std::span<const uint8_t> row, int width) {
  PdfRequire(width >= 0, "row width must not be negative");
  PdfRequire(static_cast<std::size_t>(width) <= row.size() * 8, "row shorter than its width");
}

}  // namespace

void TVCCITTCompression::Compress(const TVCCITTBitmap& bitmap) {
  if (FOutput == nullptr) throw EPdfError("Output stream is empty.");
  if (bitmap.BitsPerPixel != 1) throw EPdfError("Incorrect image format.");
  PdfRequire(bitmap.Width >= 0 && bitmap.Height >= 0, "bitmap size must not be negative");
  PdfRequire(FMode == TVCCITTMode::Group3OneDim || FMode == TVCCITTMode::Group3TwoDim ||
                 FMode == TVCCITTMode::Group4,
             "unknown CCITT mode");
  if (bitmap.Width == 0 || bitmap.Height == 0) return;

  const auto width = static_cast<uint32_t>(bitmap.Width);
  const std::size_t rowBytes = (static_cast<std::size_t>(width) + 7) / 8;
  PdfRequire(bitmap.Bits != nullptr, "bitmap has no pixels");
  const auto strideBytes = bitmap.Stride < 0 ? 0 - static_cast<std::size_t>(bitmap.Stride)
                                             : static_cast<std::size_t>(bitmap.Stride);
  PdfRequire(strideBytes >= rowBytes, "bitmap stride shorter than a row");

  // The reference row starts all white; rows swap roles after each row.
  std::vector<uint8_t> row(rowBytes);
  std::vector<uint8_t> reference(FMode == TVCCITTMode::Group3OneDim ? 0 : rowBytes, 0);
  FPending = 0;
  FPendingCount = 0;

  for (int y = 0; y < bitmap.Height; ++y) {
    const uint8_t* source = bitmap.Bits + bitmap.Stride * static_cast<std::ptrdiff_t>(y);
    for (std::size_t i = 0; i < rowBytes; ++i) row[i] = static_cast<uint8_t>(~source[i]);
    switch (FMode) {
      case TVCCITTMode::Group3OneDim:
        EmitRow1D(row.data(), width);
        break;
      case TVCCITTMode::Group3TwoDim:
        PutCode(kFaxEolCode);
        Emit(0, 1);  // tag bit: this row is coded two-dimensionally
        EmitRow2D(row.data(), reference.data(), width);
        std::swap(row, reference);
        break;
      case TVCCITTMode::Group4:
        EmitRow2D(row.data(), reference.data(), width);
        std::swap(row, reference);
        break;
    }
  }
  if (FMode == TVCCITTMode::Group4) {
    PutCode(kFaxEolCode);  // EOFB: two EOLs
    PutCode(kFaxEolCode);
  }
  FlushBits();
}

bool TVCCITTCompression::Encode1DRow(std::span<const uint8_t> row, int width) {
  PdfRequire(FOutput != nullptr, "Output stream is empty.");
  RequireRowWidth(row, width);
  EmitRow1D(row.data(), static_cast<uint32_t>(width));
  return true;
}

bool TVCCITTCompression::Encode2DRow(std::span<const uint8_t> row, std::span<const uint8_t> reference,
                                     int width) {
  PdfRequire(FOutput != nullptr, "Output stream is empty.");
  RequireRowWidth(row, width);
  RequireRowWidth(reference, width);
  EmitRow2D(row.data(), reference.data(), static_cast<uint32_t>(width));
  return true;
}

void TVCCITTCompression::PutSpan(int span, const TFaxCodeTable& table) {
  PdfRequire(FOutput != nullptr, "Output stream is empty.");
  PdfRequire(span >= 0, "run length must not be negative");
  EmitSpan(static_cast<uint32_t>(span), table);
}

void TVCCITTCompression::PutBits(uint32_t bits, int length) {
  PdfRequire(FOutput != nullptr, "Output stream is empty.");
  PdfRequire(length >= 0 && length <= 16, "code length out of range");
  Emit(bits, length);
}

void TVCCITTCompression::FlushBits() {
  if (FPendingCount == 0) return;
  PdfRequire(FOutput != nullptr, "Output stream is empty.");
  FOutput->push_back(static_cast<uint8_t>(FPending << (8 - FPendingCount)));
  FPending = 0;
  FPendingCount = 0;
}

int TVCCITTCompression::FindWhiteSpan(std::span<const uint8_t> row, int start, int end) {
  const uint32_t e = ClampEnd(row, end);
  if (start < 0 || static_cast<uint32_t>(start) >= e) return 0;
  return static_cast<int>(SpanFrom<false>(row.data(), static_cast<uint32_t>(start), e));
}

int TVCCITTCompression::FindBlackSpan(std::span<const uint8_t> row, int start, int end) {
  const uint32_t e = ClampEnd(row, end);
  if (start < 0 || static_cast<uint32_t>(start) >= e) return 0;
  return static_cast<int>(SpanFrom<true>(row.data(), static_cast<uint32_t>(start), e));
}

int TVCCITTCompression::FindDiff(std::span<const uint8_t> row, int start, int colour, int end) {
  return start + (colour != 0 ? FindBlackSpan(row, start, end) : FindWhiteSpan(row, start, end));
}

int TVCCITTCompression::FindDiff2(std::span<const uint8_t> row, int start, int colour, int end) {
  return start >= end ? end : FindDiff(row, start, colour, end);
}

int TVCCITTCompression::GetBit(std::span<const uint8_t> row, int position) {
  if (position < 0 || static_cast<std::size_t>(position) >= row.size() * 8) return 0;
  return (row[static_cast<std::size_t>(position) >> 3] >> (7 - (position & 7))) & 1;
}

void TVCCITTCompression::Emit(uint32_t bits, int length) {
  // At most 7 pending bits plus 16 new ones: the 32-bit accumulator never overflows.
  FPending = (FPending << length) | (bits & ((1u << length) - 1));
  FPendingCount += length;
  while (FPendingCount >= 8) {
    FPendingCount -= 8;
    FOutput->push_back(static_cast<uint8_t>(FPending >> FPendingCount));
  }
  FPending &= (1u << FPendingCount) - 1;
}

void TVCCITTCompression::EmitSpan(uint32_t span, const TFaxCodeTable& table) {
  const TFaxCode& longest = table[kFaxMakeUp2560];
  while (span >= 2624) {
    Emit(longest.Bits, longest.Length);
    span -= 2560;
  }
  if (span >= 64) {
    const TFaxCode& makeUp = table[63 + span / 64];
    Emit(makeUp.Bits, makeUp.Length);
    span -= makeUp.Run;
  }
  Emit(table[span].Bits, table[span].Length);
}

void TVCCITTCompression::EmitRow1D(const uint8_t* row, uint32_t width) {
  uint32_t position = 0;
  for (;;) {
    const uint32_t white = SpanFrom<false>(row, position, width);
    EmitSpan(white, kFaxWhiteCodes);
    position += white;
    if (position >= width) break;
    const uint32_t black = SpanFrom<true>(row, position, width);
    EmitSpan(black, kFaxBlackCodes);
    position += black;
    if (position >= width) break;
  }
}

void TVCCITTCompression::EmitRow2D(const uint8_t* row, const uint8_t* reference, uint32_t width) {
  // a0 starts on an imaginary white pixel before the row.
  uint32_t a0 = 0;
  uint32_t a1 = PixelAt(row, 0, width) != 0 ? 0 : Diff(row, 0, 0, width);
  uint32_t b1 = PixelAt(reference, 0, width) != 0 ? 0 : Diff(reference, 0, 0, width);
  for (;;) {
    const uint32_t b2 = Diff2(reference, b1, PixelAt(reference, b1, width), width);
    if (b2 < a1) {
      PutCode(kFaxPassCode);
      a0 = b2;
    } else if (const int64_t d = int64_t{b1} - int64_t{a1}; d >= -3 && d <= 3) {
      PutCode(kFaxVerticalCodes[static_cast<std::size_t>(d + 3)]);
      a0 = a1;
    } else {
      const uint32_t a2 = Diff2(row, a1, PixelAt(row, a1, width), width);
      PutCode(kFaxHorizontalCode);
      if (a0 + a1 == 0 || PixelAt(row, a0, width) == 0) {
        EmitSpan(a1 - a0, kFaxWhiteCodes);
        EmitSpan(a2 - a1, kFaxBlackCodes);
      } else {
        EmitSpan(a1 - a0, kFaxBlackCodes);
        EmitSpan(a2 - a1, kFaxWhiteCodes);
      }
      a0 = a2;
    }
    if (a0 >= width) break;
    const uint32_t colour = PixelAt(row, a0, width);
    a1 = Diff(row, a0, colour, width);
    b1 = Diff(reference, a0, colour ^ 1u, width);
    b1 = Diff(reference, b1, colour, width);
  }
}
