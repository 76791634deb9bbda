// SHA-256 and CRC-32 against their published check values, whole and in pieces.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/Checksum.h"

namespace {

std::span<const uint8_t> Bytes(std::string_view Text) {
  return {reinterpret_cast<const uint8_t*>(Text.data()), Text.size()};
}

std::string Hex(const TSha256Digest& Digest) {
  std::string hex;
  char two[3];
  for (uint8_t b : Digest) std::snprintf(two, sizeof two, "%02x", b), hex += two;
  return hex;
}

TEST(Checksum, Sha256OfKnownMessages) {
  const std::string million(1000000, 'a');
  const struct {
    std::string_view Message, Digest;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {million, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Hex(Sha256(Bytes(c.Message))), c.Digest) << c.Message.size() << " bytes";
    // In pieces that fall across the 64-byte blocks in every way.
    for (size_t piece : {1u, 7u, 63u, 65u}) {
      TSha256 sha;
      for (size_t at = 0; at < c.Message.size(); at += piece) sha.Update(Bytes(c.Message.substr(at, piece)));
      EXPECT_EQ(Hex(sha.Final()), c.Digest) << c.Message.size() << " bytes in pieces of " << piece;
    }
  }
}

TEST(Checksum, Crc32OfKnownMessages) {
  EXPECT_EQ(Crc32(Bytes("")), 0u);
  EXPECT_EQ(Crc32(Bytes("123456789")), 0xCBF43926u);
  EXPECT_EQ(Crc32(Bytes("56789"), Crc32(Bytes("1234"))), 0xCBF43926u) << "continued";
}

} // namespace
