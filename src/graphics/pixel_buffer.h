#pragma once
// TPixelBuffer: the owned, zero-initialised pixel array behind TBitmap32.
//
// It stands in for std::vector<TColor32> (hence the vector-like names) for
// one reason: a large array must be able to change its length without ever
// holding an old and a new copy at once. Arrays of kMappedPixelBytes and
// more live in anonymous memory maps of their own, which Resize grows or
// shrinks by remapping pages (mremap), never by copying them; smaller ones
// come from the heap. Under AddressSanitizer every array comes from the heap,
// so that the sanitizer checks every pixel access.

#include <cstddef>
#include <cstdint>

#include "graphics/color_types.h"

// The size from which a pixel array gets a memory map of its own.
inline constexpr size_t kMappedPixelBytes = size_t{1} << 20;

class TPixelBuffer {
 public:
  TPixelBuffer() = default;
  // Count pixels, every one 0; raises std::bad_alloc when the memory is refused.
  explicit TPixelBuffer(size_t count);
  TPixelBuffer(const TPixelBuffer& other);
  TPixelBuffer& operator=(const TPixelBuffer& other);
  TPixelBuffer(TPixelBuffer&& other) noexcept : FData(other.FData), FSize(other.FSize) { other.Forget(); }
  TPixelBuffer& operator=(TPixelBuffer&& other) noexcept;
  ~TPixelBuffer() { Release(FData, FSize); }

  TColor32* data() { return FData; }
  const TColor32* data() const { return FData; }
  size_t size() const { return FSize; }
  bool empty() const { return FSize == 0; }
  TColor32& operator[](size_t i) { return FData[i]; }
  const TColor32& operator[](size_t i) const { return FData[i]; }
  TColor32* begin() { return FData; }
  TColor32* end() { return FData + FSize; }

  // Keeps the first min(size(), count) pixels; pixels past them are 0. On
  // std::bad_alloc the buffer is unchanged.
  void Resize(size_t count);
  void swap(TPixelBuffer& other) noexcept;
  void clear() noexcept;

 private:
  static TColor32* Allocate(size_t count);
  static void Release(TColor32* data, size_t count) noexcept;
  void Forget() noexcept { FData = nullptr, FSize = 0; }

  TColor32* FData = nullptr;
  size_t FSize = 0;
};
