#pragma once
// Standard Base64 (RFC 4648): alphabet A-Z a-z 0-9 + /, "=" padding, no line
// breaks.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Length of the encoded text of `byteCount` bytes: (n + 2) / 3 * 4.
constexpr size_t Base64EncodedLength(size_t byteCount) { return (byteCount + 2) / 3 * 4; }

std::string Base64Encode(std::span<const uint8_t> bytes);

// Decodes `text` into `out` and returns the number of bytes written. Decoding
// stops at the first "=" or character outside the alphabet and when `out` is
// full; a final group of 2 or 3 characters gives 1 or 2 bytes. So a short text
// fills only the start of `out`, and a long one is cut at `out`'s end.
size_t Base64Decode(std::string_view text, std::span<uint8_t> out);

// Decodes all of `text` (with the same stopping rule).
std::vector<uint8_t> Base64Decode(std::string_view text);
