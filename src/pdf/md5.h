#pragma once
// The MD5 message digest of RFC 1321.

#include <array>
#include <cstddef>
#include <cstdint>

using TMD5Digest = std::array<std::uint8_t, 16>;

// Incremental MD5: Update any number of times, then Final once.
class TMD5 {
 public:
  TMD5();
  void Update(const void* data, std::size_t length);
  TMD5Digest Final();

 private:
  void Transform(const std::uint8_t* block);
  std::array<std::uint32_t, 4> FState;
  std::uint64_t FLength = 0;  // bytes so far
  std::array<std::uint8_t, 64> FBuffer{};
};

// The digest of `length` bytes in one call.
void MD5Buffer(const void* bytes, std::size_t length, TMD5Digest& digest);
