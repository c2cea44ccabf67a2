// The PNG, JPEG and bitmap-file decoders on arbitrary bytes, from memory.
// Each decoder either gives a non-empty image or raises EBitmapIOError;
// nothing else may escape, and nothing may crash, leak or exhaust memory.
// A decoded image saved by the lossless writers (PNG, bitmap file) loads
// back to the same pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include "graphics/bitmap32.h"
#include "same_pixels.h"
#include "graphics/bitmap32_io.h"

namespace {

// Round trips of larger images only cost time.
constexpr int64_t kMaxRoundTripPixels = int64_t{1} << 18;

void Check(bool condition) {
  if (!condition) abort();
}

std::optional<TBitmap32> Decode(TBitmap32 (*decoder)(std::span<const uint8_t>), std::span<const uint8_t> bytes) {
  try {
    TBitmap32 image = decoder(bytes);
    Check(!image.Empty());
    return image;
  } catch (const EBitmapIOError&) {
    return std::nullopt;
  }
}

void RoundTrip(const TBitmap32& image, std::vector<uint8_t> (*encoder)(const TBitmap32&),
               TBitmap32 (*decoder)(std::span<const uint8_t>)) {
  if (int64_t{image.Width()} * image.Height() > kMaxRoundTripPixels) return;
  Check(SamePixels(decoder(encoder(image)), image));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  if (const auto png = Decode(LoadBitmap32FromPng, bytes)) RoundTrip(*png, SaveBitmap32ToPng, LoadBitmap32FromPng);
  (void)Decode(LoadBitmap32FromJpeg, bytes);
  if (const auto bmp = Decode(LoadBitmap32FromBmp, bytes)) RoundTrip(*bmp, SaveBitmap32ToBmp, LoadBitmap32FromBmp);
  return 0;
}
