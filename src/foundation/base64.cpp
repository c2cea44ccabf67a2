#include "foundation/base64.h"

#include <array>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr uint8_t kInvalid = 0xFF;

constexpr std::array<uint8_t, 256> MakeDecodeTable() {
  std::array<uint8_t, 256> table{};
  for (auto& v : table) v = kInvalid;
  for (uint8_t i = 0; i < 64; ++i) table[static_cast<uint8_t>(kAlphabet[i])] = i;
  return table;
}
constexpr std::array<uint8_t, 256> kDecode = MakeDecodeTable();

}  // namespace

std::string Base64Encode(std::span<const uint8_t> bytes) {
  std::string out;
  out.reserve(Base64EncodedLength(bytes.size()));
  size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const uint32_t v = uint32_t{bytes[i]} << 16 | uint32_t{bytes[i + 1]} << 8 | bytes[i + 2];
    out += kAlphabet[v >> 18];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += kAlphabet[v & 63];
  }
  const size_t rest = bytes.size() - i;
  if (rest > 0) {
    const uint32_t v = uint32_t{bytes[i]} << 16 | (rest == 2 ? uint32_t{bytes[i + 1]} << 8 : 0);
    out += kAlphabet[v >> 18];
    out += kAlphabet[(v >> 12) & 63];
    out += rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

size_t Base64Decode(std::string_view text, std::span<uint8_t> out) {
  size_t written = 0;
  uint32_t bits = 0;
  int count = 0;  // sextets in `bits`
  for (const char c : text) {
    const uint8_t v = kDecode[static_cast<uint8_t>(c)];
    if (v == kInvalid) break;
    bits = bits << 6 | v;
    if (++count == 4) {
      for (int shift = 16; shift >= 0; shift -= 8) {
        if (written == out.size()) return written;
        out[written++] = static_cast<uint8_t>(bits >> shift);
      }
      bits = 0;
      count = 0;
    }
  }
  // A final partial group: 2 sextets hold one byte, 3 hold two.
  for (int k = 0; k < count - 1; ++k) {
    if (written == out.size()) return written;
    out[written++] = static_cast<uint8_t>(bits >> (count * 6 - 8 * (k + 1)));
  }
  return written;
}

std::vector<uint8_t> Base64Decode(std::string_view text) {
  std::vector<uint8_t> out(text.size() / 4 * 3 + 2);
  out.resize(Base64Decode(text, std::span<uint8_t>(out)));
  return out;
}
