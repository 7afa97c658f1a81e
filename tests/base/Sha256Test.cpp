#include "base/Sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string hex(const Sha256Digest& d) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char b : d) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

}  // namespace

// The examples of FIPS 180-4 and its test vectors: the empty message, one block,
// a message whose padding needs a second block, and a million bytes.
TEST(Sha256, KnownDigests) {
  const struct {
    std::string message;
    const char* digest;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(hex(sha256(c.message.data(), c.message.size())), c.digest)
        << c.message.size() << " bytes";
  }
}

// However the bytes are handed in, the digest is that of the whole: every split of
// a message spanning several blocks, around each block boundary.
TEST(Sha256, PiecesGiveTheDigestOfTheWhole) {
  std::string message;
  for (int i = 0; i < 200; ++i) message += char(i * 7 + 3);
  const Sha256Digest whole = sha256(message.data(), message.size());
  for (std::size_t first = 0; first <= message.size(); ++first) {
    for (std::size_t second : {std::size_t(0), std::size_t(1), std::size_t(63), std::size_t(64)}) {
      if (first + second > message.size()) continue;
      Sha256 hash;
      hash.update(message.data(), first);
      hash.update(message.data() + first, second);
      hash.update(message.data() + first + second, message.size() - first - second);
      ASSERT_EQ(hash.finish(), whole) << first << "+" << second;
    }
  }
}
