#pragma once
// Run-length coded pixel data of Windows bitmap files (RLE8 and RLE4).
//
// The data is a list of two-byte codes: a count n > 0 and a value paint n
// pixels (RLE4 alternates the value's high and low nibble); 0 0 ends the row,
// 0 1 ends the bitmap, 0 2 dx dy moves right and on by dy rows, and 0 n with
// n >= 3 is followed by n literal pixels, padded to an even byte count.
//
// Runs are clipped to the row and to the image: pixels past the row's end are
// dropped (writers encode their row padding as pixels), and so is anything
// after the last row. Pixels that no code paints keep colour table entry 0.
// Decoding stops at the end-of-bitmap code or once the last row is passed;
// data that ends before either, with the last row not yet full, is truncated
// and refused.

#include <cstddef>
#include <cstdint>
#include <span>

#include "graphics/bitmap32.h"

namespace bitmap32_io {

// Walks the codes of `data` (`bits` 8 or 4) for a width x height image
// without writing anything. Gives the number of bytes the codes take up to
// where decoding stops; raises EBitmapIOError for truncated data.
size_t ScanBmpRle(std::span<const uint8_t> data, int bits, int64_t width, int64_t height);

// Decodes `data` into `image`, whose pixels must all be palette[0] already.
// The codes run from the bottom row up, or from the top for `topDown`.
void DecodeBmpRle(std::span<const uint8_t> data, int bits, std::span<const TColor32, 256> palette, bool topDown,
                  TBitmap32& image);

}  // namespace bitmap32_io
