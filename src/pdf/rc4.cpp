#include "pdf/rc4.h"

#include <utility>

#include "pdf/pdf_error.h"

void RC4Init(TRC4State& state, const std::uint8_t* key, std::size_t keyLength) {
  if (keyLength < 1 || keyLength > 256) throw EPdfError("RC4: Invalid key length");
  PdfRequire(key != nullptr, "RC4: No key.");
  for (int i = 0; i < 256; ++i) state.S[i] = static_cast<std::uint8_t>(i);
  std::uint8_t j = 0;
  for (std::size_t i = 0; i < 256; ++i) {
    j = static_cast<std::uint8_t>(j + state.S[i] + key[i % keyLength]);
    std::swap(state.S[i], state.S[j]);
  }
  state.Scheduled = state.S;
  state.I = 0;
  state.J = 0;
}

void RC4Crypt(TRC4State& state, const std::uint8_t* input, std::uint8_t* output, std::size_t length) {
  // Local copies keep the loop in registers.
  std::uint8_t i = state.I;
  std::uint8_t j = state.J;
  std::uint8_t* s = state.S.data();
  for (std::size_t n = 0; n < length; ++n) {
    i = static_cast<std::uint8_t>(i + 1);
    const std::uint8_t si = s[i];
    j = static_cast<std::uint8_t>(j + si);
    const std::uint8_t sj = s[j];
    s[i] = sj;
    s[j] = si;
    output[n] = input[n] ^ s[static_cast<std::uint8_t>(si + sj)];
  }
  state.I = i;
  state.J = j;
}

void RC4Reset(TRC4State& state) {
  state.S = state.Scheduled;
  state.I = 0;
  state.J = 0;
}
