#include <gtest/gtest.h>

#include "platform/crypto/Base64.h"
#include "platform/crypto/HmacSha1.h"
#include "platform/crypto/Md5.h"

namespace {

std::string hex(const crypto::HmacSha1::Digest& d) {
  std::string out;
  for (auto b : d) out += {"0123456789abcdef"[b >> 4], "0123456789abcdef"[b & 15]};
  return out;
}

// HMAC-SHA1 as in RFC 2202; MD5 in lower-case hex.
TEST(CryptoTest, Digests) {
  EXPECT_EQ(hex(crypto::HmacSha1::digest("Jefe", "what do ya want for nothing?")),
            "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79");
  EXPECT_EQ(hex(crypto::HmacSha1::digest("", "")), "fbdb1d1b18aa6c08324b7d64b71fb76370690e1d");
  EXPECT_EQ(crypto::Md5::hexDigest("The quick brown fox jumps over the lazy dog"),
            "9e107d9d372bb6826bd81d3542a419d6");
}

TEST(CryptoTest, Base64PadsAndBreaksLinesAfterEvery72Characters) {
  EXPECT_EQ(crypto::Base64::encode("f"), "Zg==");
  EXPECT_EQ(crypto::Base64::encode("\xfb\xff"), "+/8=");

  // 54 bytes fill one line exactly, which still ends in CR LF.
  std::string line = crypto::Base64::encode(std::string(54, 'a'));
  EXPECT_TRUE(line.size() == 74 && line.ends_with("\r\n")) << line;
  EXPECT_EQ(crypto::Base64::encode(std::string(55, 'a')).substr(72), "\r\nYQ==");
  EXPECT_EQ(crypto::Base64::encodedLength(108), 148u);
}

TEST(CryptoTest, Base64RefusesASmallBufferWithoutWriting) {
  std::string input(20, 'x');
  char out[40];
  std::fill(std::begin(out), std::end(out), '#');
  size_t written = 99;
  EXPECT_FALSE(crypto::Base64::encode(input.data(), input.size(), out, 27, written));
  EXPECT_TRUE(std::all_of(std::begin(out), std::end(out), [](char c) { return c == '#'; }));
  // Exactly enough: no terminator is written past the 28 characters.
  EXPECT_TRUE(crypto::Base64::encode(input.data(), input.size(), out, 28, written));
  EXPECT_EQ(std::string(out, 29), crypto::Base64::encode(input) + "#");
}

}  // namespace
