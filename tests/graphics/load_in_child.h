#pragma once
// Loads image bytes in a forked child whose address space may grow only by a
// given budget, so a test can show how much memory a decoder commits and
// that running out of it ends as the decoder's own error.

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>

#include "graphics/bitmap32.h"

// The sanitizers reserve address space of their own, so the limit is only
// applied in a plain build.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSpaceLimited = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSpaceLimited = false;
#else
inline constexpr bool kAddressSpaceLimited = true;
#endif
#else
inline constexpr bool kAddressSpaceLimited = true;
#endif

using TImageLoader = TBitmap32 (*)(std::span<const uint8_t>);

// How the load in the child ended, and the message of a refusal.
enum class TChildOutcome { Refused, Loaded, OutOfMemory, Failed };
inline std::ostream& operator<<(std::ostream& out, TChildOutcome outcome) {
  constexpr const char* kNames[] = {"Refused", "Loaded", "OutOfMemory", "Failed"};
  return out << kNames[static_cast<int>(outcome)];
}
struct TChildLoad {
  TChildOutcome Outcome = TChildOutcome::Failed;
  std::string Reason;
};

// Runs `load(bytes)` in a child process whose address space may grow by at
// most `budget` bytes beyond what it holds when it starts (without a limit
// where kAddressSpaceLimited is false). Refused means EBitmapIOError,
// OutOfMemory std::bad_alloc, Failed anything else or a crash.
TChildLoad LoadInChild(TImageLoader load, std::span<const uint8_t> bytes, size_t budget);
