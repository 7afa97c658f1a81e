#include "base/ByteView.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ByteView, BlobsReferToTheBytesInPlace) {
  const std::vector<unsigned char> bytes = {3, 0, 0, 0, 'a', 'b', 'c', 0, 0, 0, 0, 9};
  const ByteView view(bytes.data(), std::uint32_t(bytes.size()));
  std::uint32_t pos = 0;
  ByteView blob;
  ASSERT_EQ(view.readBlob(pos, blob), S_OK);
  EXPECT_EQ(blob.bytes(), bytes.data() + 4);
  EXPECT_EQ(blob.size(), 3u);
  ASSERT_EQ(view.readBlob(pos, blob), S_OK);  // a zero length is an empty blob
  EXPECT_EQ(blob.size(), 0u);
  EXPECT_EQ(pos, 11u);
  EXPECT_EQ(view.readBlob(pos, blob), E_FAIL);  // one byte is no length
  EXPECT_EQ(pos, 11u);
}

TEST(ByteView, BlobsMayNotReachPastTheEnd) {
  const struct {
    unsigned char length[4];
    const char* why;
  } cases[] = {
      {{4, 0, 0, 0}, "one byte short"},
      {{0xFF, 0xFF, 0xFF, 0x7F}, "two gigabytes"},
      {{0xFF, 0xFF, 0xFF, 0xFF}, "the largest length, which would wrap"},
  };
  for (const auto& c : cases) {
    // The view ends before the last byte of the buffer: a blob that takes that byte
    // reaches outside what was handed over.
    std::vector<unsigned char> bytes(c.length, c.length + 4);
    bytes.insert(bytes.end(), {'a', 'b', 'c', 'd'});
    const ByteView view(bytes.data(), 7);
    std::uint32_t pos = 0;
    ByteView blob(bytes.data(), 1);
    EXPECT_EQ(view.readBlob(pos, blob), E_FAIL) << c.why;
    EXPECT_EQ(blob.size(), 0u) << c.why;
    EXPECT_EQ(pos, 0u) << c.why;
  }
}
