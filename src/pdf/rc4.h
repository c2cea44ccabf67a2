#pragma once
// The RC4 stream cipher.

#include <array>
#include <cstddef>
#include <cstdint>

struct TRC4State {
  std::array<std::uint8_t, 256> S;          // working permutation
  std::array<std::uint8_t, 256> Scheduled;  // permutation right after RC4Init
  std::uint8_t I = 0;
  std::uint8_t J = 0;
};

// The key schedule. `keyLength` must lie in 1..256, else EPdfError
// "RC4: Invalid key length"; a null `key` raises EPdfAssertionFailed.
void RC4Init(TRC4State& state, const std::uint8_t* key, std::size_t keyLength);

// XORs `length` bytes with the key stream; `input` and `output` may be the
// same buffer. Successive calls continue the key stream, so encrypting in
// pieces gives the same bytes as one call.
void RC4Crypt(TRC4State& state, const std::uint8_t* input, std::uint8_t* output, std::size_t length);

// Back to the state right after RC4Init.
void RC4Reset(TRC4State& state);
