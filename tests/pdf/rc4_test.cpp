#include "pdf/rc4.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pdf/pdf_error.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes FromHex(std::string_view hex) {
  TBytes bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  return bytes;
}

TBytes KeyStream(const TBytes& key, std::size_t length) {
  TRC4State state;
  RC4Init(state, key.data(), key.size());
  TBytes stream(length, 0);
  RC4Crypt(state, stream.data(), stream.data(), stream.size());
  return stream;
}

// RFC 6229, section 2: key stream bytes at the given offsets.
struct TVector {
  const char* Key;
  std::size_t Offset;
  const char* Stream;
};
constexpr TVector kRfc6229[] = {
    {"0102030405", 0, "b2396305f03dc027ccc3524a0a1118a8"},
    {"0102030405", 16, "6982944f18fc82d589c403a47a0d0919"},
    {"0102030405", 240, "28cb1132c96ce286421dcaadb8b69eae"},
    {"0102030405", 4096, "ff25b58995996707e51fbdf08b34d875"},
    {"0102030405060708090a", 0, "ede3b04643e586cc907dc21851709902"},
    {"0102030405060708090a", 16, "03516ba78f413beb223aa5d4d2df6711"},
    {"0102030405060708090a0b0c0d0e0f10", 0, "9ac7cc9a609d1ef7b2932899cde41b97"},
    {"0102030405060708090a0b0c0d0e0f10", 16, "5248c4959014126a6e8a84f11d1a9e1c"},
    {"0102030405060708090a0b0c0d0e0f10", 240, "065902e4b620f6cc36c8589f66432f2b"},
    {"0102030405060708090a0b0c0d0e0f10", 4096, "a36a4c301ae8ac13610ccbc12256cacc"},
};

TEST(RC4Test, Rfc6229KeyStreams) {
  for (const auto& v : kRfc6229) {
    SCOPED_TRACE(std::string(v.Key) + " @" + std::to_string(v.Offset));
    const TBytes stream = KeyStream(FromHex(v.Key), v.Offset + 16);
    EXPECT_EQ(TBytes(stream.begin() + static_cast<std::ptrdiff_t>(v.Offset), stream.end()),
              FromHex(v.Stream));
  }
}

TEST(RC4Test, PiecewiseCallsContinueTheKeyStreamAndResetRestarts) {
  const TBytes key = FromHex("0102030405");
  const TBytes whole = KeyStream(key, 300);
  TRC4State state;
  RC4Init(state, key.data(), key.size());
  TBytes pieces(300, 0);
  RC4Crypt(state, pieces.data(), pieces.data(), 7);
  RC4Crypt(state, pieces.data() + 7, pieces.data() + 7, 293);
  EXPECT_EQ(pieces, whole);

  RC4Reset(state);
  TBytes again(16, 0);
  RC4Crypt(state, again.data(), again.data(), again.size());
  EXPECT_EQ(again, TBytes(whole.begin(), whole.begin() + 16));
}

TEST(RC4Test, SeparateBuffersAndRoundTrip) {
  const TBytes key = FromHex("00112233445566778899aabbccddeeff");
  const std::string text = "stream body bytes";
  TBytes cipher(text.size());
  TRC4State state;
  RC4Init(state, key.data(), key.size());
  RC4Crypt(state, reinterpret_cast<const std::uint8_t*>(text.data()), cipher.data(), text.size());
  RC4Init(state, key.data(), key.size());
  RC4Crypt(state, cipher.data(), cipher.data(), cipher.size());
  EXPECT_EQ(std::string(cipher.begin(), cipher.end()), text);
}

TEST(RC4Test, KeyLengthLimits) {
  const TBytes key(257, 0xAB);
  TRC4State state;
  for (const std::size_t length : {std::size_t{0}, std::size_t{257}}) {
    SCOPED_TRACE(length);
    try {
      RC4Init(state, key.data(), length);
      FAIL() << "no exception";
    } catch (const EPdfError& e) {
      EXPECT_STREQ(e.what(), "RC4: Invalid key length");
    }
  }
  EXPECT_NO_THROW(RC4Init(state, key.data(), 1));
  EXPECT_NO_THROW(RC4Init(state, key.data(), 256));
  // A null key is a caller's mistake, caught before it is read.
  EXPECT_THROW(RC4Init(state, nullptr, 5), EPdfAssertionFailed);
  EXPECT_THROW(RC4Init(state, nullptr, 0), EPdfError);  // the length is checked first
}

}  // namespace
