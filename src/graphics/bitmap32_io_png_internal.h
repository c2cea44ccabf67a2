#pragma once
// Checks of a PNG's chunks and image data that the PNG reader makes before it
// allocates the image, so that damaged data costs no more than the check.

#include <cstddef>
#include <cstdint>
#include <span>

namespace bitmap32_io {

// Where the image data lies: the first run of consecutive IDAT chunks, the
// only image data libpng reads.
struct TPngImageData {
  size_t FirstChunk = 0;  // byte offset of the run's first chunk; 0 when none
  uint64_t Bytes = 0;     // data bytes of the run, without headers and CRCs
};

// Walks the chunks from the signature to IEND. Every chunk whose header is
// whole must have its declared data and CRC within the bytes: one that
// declares more raises EBitmapIOError naming the chunk (libpng allocates the
// declared length of some chunks before reading them). The walk ends at IEND,
// whose CRC and whatever follows are never read, or where too few bytes remain
// for a chunk header. `bytes` starts with the PNG signature.
TPngImageData FindPngImageData(std::span<const uint8_t> bytes);

// The header fields that fix the size of the inflated image data.
struct TPngRowLayout {
  uint32_t Width = 0;
  uint32_t Height = 0;
  uint32_t BitsPerPixel = 0;  // bit depth times samples per pixel
  bool Adam7 = false;
};

// The bytes the image data must inflate to: every row of every interlace pass
// (passes without pixels have no rows) with its filter-type byte.
uint64_t PngInflatedSize(const TPngRowLayout& layout);

// Inflates the image data once without keeping it, as far as the rows need,
// and raises EBitmapIOError where libpng would meet damage while reading the
// rows: a CRC error in an IDAT chunk of the run, a zlib error, a filter type
// above 4, or data that ends (or whose zlib stream ends) before the rows are
// whole. Uses a fixed buffer: memory does not grow with the image.
void CheckPngImageData(std::span<const uint8_t> bytes, const TPngImageData& data, const TPngRowLayout& layout);

}  // namespace bitmap32_io
