#include "foundation/base64.h"

#include <gtest/gtest.h>

#include <array>

namespace {
std::vector<uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }
}  // namespace

TEST(Base64, Rfc4648Vectors) {
  const std::pair<const char*, const char*> vectors[] = {
      {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
  };
  for (const auto& [plain, coded] : vectors) {
    SCOPED_TRACE(plain);
    EXPECT_EQ(Base64Encode(Bytes(plain)), coded);
    EXPECT_EQ(Base64Decode(coded), Bytes(plain));
    EXPECT_EQ(Base64EncodedLength(std::string_view(plain).size()), std::string_view(coded).size());
  }
}

TEST(Base64, RoundTripsEveryByteValue) {
  std::vector<uint8_t> all(256 + 2);
  for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<uint8_t>(i * 7);
  const std::string text = Base64Encode(all);
  EXPECT_EQ(text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
            std::string::npos);
  EXPECT_EQ(Base64Decode(text), all);
}

TEST(Base64, DecodingStaysWithinBothBuffers) {
  // Output shorter than the text: cut at the output's end, nothing past it.
  std::array<uint8_t, 5> out{};
  out.fill(0xEE);
  EXPECT_EQ(Base64Decode("Zm9vYmFy", std::span<uint8_t>(out).first(4)), 4u);
  EXPECT_EQ(Bytes("foob"), std::vector<uint8_t>(out.begin(), out.begin() + 4));
  EXPECT_EQ(out[4], 0xEE);

  // Text shorter than the output, or stopped by a character outside the alphabet.
  std::array<uint8_t, 8> big{};
  EXPECT_EQ(Base64Decode("Zm9vYg", big), 4u);
  EXPECT_EQ(Base64Decode("Zm9v*mFy", big), 3u);
  EXPECT_EQ(Base64Decode("Zm9=vYmFy", big), 2u);
  EXPECT_EQ(Base64Decode("Z", big), 0u);
  EXPECT_EQ(Base64Decode(std::string_view("Zm\0v", 4), big), 1u);
}
