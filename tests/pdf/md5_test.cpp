#include "pdf/md5.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string HexDigest(const TMD5Digest& digest) {
  constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (const auto b : digest) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text;
}

// The test suite of RFC 1321, appendix A.5.
struct TVector {
  const char* Message;
  const char* Digest;
};
constexpr TVector kRfc1321[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

TEST(MD5Test, Rfc1321Suite) {
  for (const auto& v : kRfc1321) {
    SCOPED_TRACE(v.Message);
    TMD5Digest digest;
    const std::string message = v.Message;
    MD5Buffer(message.data(), message.size(), digest);
    EXPECT_EQ(HexDigest(digest), v.Digest);
  }
}

// Inputs around the 56- and 64-byte padding boundaries, fed in uneven pieces,
// must match the one-call digest (the 80-byte vector above pins the value).
TEST(MD5Test, PiecewiseUpdatesMatchOneCall) {
  std::string message;
  for (int i = 0; i < 200; ++i) message += static_cast<char>('A' + i % 26);
  for (const std::size_t length : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 128u, 200u}) {
    SCOPED_TRACE(length);
    TMD5Digest whole;
    MD5Buffer(message.data(), length, whole);
    TMD5 md5;
    std::size_t done = 0;
    for (std::size_t piece = 1; done < length; ++piece) {
      const std::size_t take = std::min(piece * 7 % 67 + 1, length - done);
      md5.Update(message.data() + done, take);
      done += take;
    }
    EXPECT_EQ(HexDigest(md5.Final()), HexDigest(whole));
  }
}

TEST(MD5Test, MillionAs) {
  const std::string message(1000000, 'a');
  TMD5Digest digest;
  MD5Buffer(message.data(), message.size(), digest);
  EXPECT_EQ(HexDigest(digest), "7707d6ae4e027c70eea2a935c2296f21");
}

}  // namespace
