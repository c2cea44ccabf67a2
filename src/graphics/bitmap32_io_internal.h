#pragma once
// Shared checks of the image decoders.

#include <cstdint>
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

// A bitmap of the decoded size; raises EBitmapIOError for an empty or too
// large image before anything is allocated. The decoders call it only once
// the data is known to fill the image (or, for JPEG, for rows decoded).
inline TBitmap32 NewImage(int64_t width, int64_t height, const char* format) {
  CheckImageSize(width, height, format);
  return TBitmap32(static_cast<int>(width), static_cast<int>(height));
}

inline void RequireImage(const TBitmap32& bitmap, const char* format) {
  if (bitmap.Empty()) throw EBitmapIOError(std::string("Cannot save an empty bitmap as ") + format);
}

}  // namespace bitmap32_io
