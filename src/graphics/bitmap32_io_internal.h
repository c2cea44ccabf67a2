#pragma once
// Shared checks of the image decoders.

#include <cstdint>
#include <new>
#include <string>

#include "graphics/bitmap32.h"
#include "graphics/bitmap32_io.h"

namespace bitmap32_io {

// Raises EBitmapIOError for an empty or too large image size.
inline void CheckImageSize(int64_t width, int64_t height, const char* format) {
  if (width <= 0 || height <= 0)
    throw EBitmapIOError(std::string("Invalid ") + format + " image: empty or negative size");
  if (width > INT32_MAX || height > INT32_MAX || width * height > kMaxBitmap32Pixels)
    throw EBitmapIOError(std::string(format) + " image too large: " + std::to_string(width) + " x " +
                         std::to_string(height));
}

// The reader's error for an image of width x height pixels whose bitmap
// cannot be allocated, naming the size and the bytes it needs.
[[noreturn]] inline void FailNoMemory(int64_t width, int64_t height, const char* format) {
  throw EBitmapIOError(std::string("Not enough memory for a ") + format + " image of " + std::to_string(width) +
                       " x " + std::to_string(height) + " pixels (" + std::to_string(4 * width * height) +
                       " bytes)");
}

// The first `rows` rows of an image of width x height pixels; raises
// EBitmapIOError for an empty or too large image before anything is
// allocated, and when the memory for the rows is refused.
inline TBitmap32 NewImageRows(int64_t width, int64_t height, int rows, const char* format) {
  CheckImageSize(width, height, format);
  try {
    return TBitmap32(static_cast<int>(width), rows);
  } catch (const std::bad_alloc&) {
    FailNoMemory(width, height, format);
  }
}

// A bitmap of the decoded size, as NewImageRows. The decoders call it only
// once the data is known to fill the image.
inline TBitmap32 NewImage(int64_t width, int64_t height, const char* format) {
  return NewImageRows(width, height, static_cast<int>(height), format);
}

inline void RequireImage(const TBitmap32& bitmap, const char* format) {
  if (bitmap.Empty()) throw EBitmapIOError(std::string("Cannot save an empty bitmap as ") + format);
}

}  // namespace bitmap32_io
