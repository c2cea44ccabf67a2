#include "graphics/pixel_buffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kHeapOnly = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kHeapOnly = true;
#else
constexpr bool kHeapOnly = false;
#endif
#else
constexpr bool kHeapOnly = false;
#endif

bool IsMapped(size_t count) { return !kHeapOnly && count * sizeof(TColor32) >= kMappedPixelBytes; }

// The pixels from `from` up to the end of the memory page they end in. A map
// shrunk to a length inside a page keeps the rest of that page as it was, and
// growing it again brings those bytes back.
void ZeroRestOfPage(TColor32* data, size_t from) {
  const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const size_t bytes = from * sizeof(TColor32);
  const size_t pageEnd = (bytes + page - 1) / page * page;
  std::memset(reinterpret_cast<unsigned char*>(data) + bytes, 0, pageEnd - bytes);
}

}  // namespace

TColor32* TPixelBuffer::Allocate(size_t count) {
  if (count == 0) return nullptr;
  if (count > SIZE_MAX / sizeof(TColor32)) throw std::bad_alloc();
  if (IsMapped(count)) {
    void* map = mmap(nullptr, count * sizeof(TColor32), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (map == MAP_FAILED) throw std::bad_alloc();
    return static_cast<TColor32*>(map);  // anonymous pages read 0
  }
  void* heap = std::calloc(count, sizeof(TColor32));
  if (heap == nullptr) throw std::bad_alloc();
  return static_cast<TColor32*>(heap);
}

void TPixelBuffer::Release(TColor32* data, size_t count) noexcept {
  if (data == nullptr) return;
  if (IsMapped(count)) {
    munmap(data, count * sizeof(TColor32));
  } else {
    std::free(data);
  }
}

TPixelBuffer::TPixelBuffer(size_t count) : FData(Allocate(count)), FSize(count) {}

TPixelBuffer::TPixelBuffer(const TPixelBuffer& other) : FData(Allocate(other.FSize)), FSize(other.FSize) {
  if (FSize > 0) std::memcpy(FData, other.FData, FSize * sizeof(TColor32));
}

TPixelBuffer& TPixelBuffer::operator=(const TPixelBuffer& other) {
  if (this != &other) {
    TPixelBuffer copy(other);
    swap(copy);
  }
  return *this;
}

TPixelBuffer& TPixelBuffer::operator=(TPixelBuffer&& other) noexcept {
  if (this != &other) {
    Release(FData, FSize);
    FData = other.FData;
    FSize = other.FSize;
    other.Forget();
  }
  return *this;
}

void TPixelBuffer::Resize(size_t count) {
  if (count == FSize) return;
  if (count == 0) return clear();
  if (count > SIZE_MAX / sizeof(TColor32)) throw std::bad_alloc();
  const size_t kept = std::min(FSize, count);
  if (FData != nullptr && IsMapped(FSize) && IsMapped(count)) {
    void* map = mremap(FData, FSize * sizeof(TColor32), count * sizeof(TColor32), MREMAP_MAYMOVE);
    if (map == MAP_FAILED) throw std::bad_alloc();
    FData = static_cast<TColor32*>(map);
    if (count > kept) ZeroRestOfPage(FData, kept);  // the pages past it are new, and read 0
  } else if (FData != nullptr && !IsMapped(FSize) && !IsMapped(count)) {
    void* heap = std::realloc(FData, count * sizeof(TColor32));
    if (heap == nullptr) throw std::bad_alloc();
    FData = static_cast<TColor32*>(heap);
    std::fill(FData + kept, FData + count, TColor32{0});
  } else {
    // From the heap to a map or back: at least one side is small.
    TColor32* moved = Allocate(count);
    if (kept > 0) std::memcpy(moved, FData, kept * sizeof(TColor32));
    Release(FData, FSize);
    FData = moved;
  }
  FSize = count;
}

void TPixelBuffer::swap(TPixelBuffer& other) noexcept {
  std::swap(FData, other.FData);
  std::swap(FSize, other.FSize);
}

void TPixelBuffer::clear() noexcept {
  Release(FData, FSize);
  Forget();
}
