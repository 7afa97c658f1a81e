#include "base/ByteStream.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void fillWith(ByteStream& s, const char* text) {
  s.clear();
  ASSERT_EQ(s.appendBytes(std::uint32_t(std::strlen(text)), text), S_OK);
}

}  // namespace

TEST(ByteStream, AppendGrowsByTheGrowthStep) {
  ByteStream s;
  EXPECT_EQ(s.growthStep(), 1000);
  EXPECT_EQ(s.appendBytes(0, "x"), S_OK);
  EXPECT_EQ(s.appendBytes(5, nullptr), S_OK);
  EXPECT_EQ(s.capacity(), 0u);
  EXPECT_EQ(s.appendBytes(3, "abc"), S_OK);
  EXPECT_EQ(s.size(), 3u);
  EXPECT_EQ(s.capacity(), 1003u);
  EXPECT_EQ(s.appendBytes(2, "de"), S_OK);
  EXPECT_EQ(s.capacity(), 1003u);
  EXPECT_EQ(std::memcmp(s.bytes(), "abcde", 5), 0);
}

TEST(ByteStream, SetSizeAndShrink) {
  ByteStream s;
  fillWith(s, "abcdef");
  EXPECT_EQ(s.setSize(s.capacity()), S_OK);  // the capacity: nothing changes
  EXPECT_EQ(s.size(), 6u);
  EXPECT_EQ(s.setSize(4), S_OK);
  EXPECT_EQ(s.size(), 4u);
  EXPECT_EQ(s.capacity(), 4u);
  EXPECT_EQ(std::memcmp(s.bytes(), "abcd", 4), 0);
  s.appendBytes(1, "e");
  s.shrinkToFit();
  EXPECT_EQ(s.capacity(), 5u);
  EXPECT_EQ(s.setSize(0), S_OK);
  EXPECT_EQ(s.bytes(), nullptr);
  EXPECT_EQ(s.capacity(), 0u);
}

TEST(ByteStream, TakeFromMovesEverything) {
  ByteStream a;
  ByteStream b;
  fillWith(a, "payload");
  fillWith(b, "old");
  b.takeFrom(&a);
  EXPECT_EQ(b.size(), 7u);
  EXPECT_EQ(std::memcmp(b.bytes(), "payload", 7), 0);
  EXPECT_EQ(a.size(), 0u);
  EXPECT_EQ(a.bytes(), nullptr);
  b.takeFrom(&b);
  b.takeFrom(nullptr);
  EXPECT_EQ(b.size(), 7u);
}

TEST(ByteStream, ReadAtChecksBoundsWithoutWrapping) {
  ByteStream s;
  fillWith(s, "0123456789");
  char out[16] = {};
  std::uint32_t pos = 6;
  EXPECT_EQ(s.readAt(pos, 4, out), S_OK);  // exactly up to the end
  EXPECT_EQ(pos, 10u);
  EXPECT_EQ(std::memcmp(out, "6789", 4), 0);
  EXPECT_EQ(s.readAt(pos, 0, out), S_OK);
  pos = 7;
  EXPECT_EQ(s.readAt(pos, 4, out), E_FAIL);  // one byte more
  EXPECT_EQ(pos, 7u);
  pos = 0xFFFFFFF0u;
  EXPECT_EQ(s.readAt(pos, 0x20, out), E_FAIL);  // the sum would wrap
  EXPECT_EQ(pos, 0xFFFFFFF0u);
  pos = 2;
  EXPECT_EQ(s.readAt(pos, 0xFFFFFFFFu, out), E_FAIL);
}

TEST(ByteStream, ReadBlobTakesLengthPrefixedBytes) {
  const unsigned char bytes[] = {3, 0, 0, 0, 'a', 'b', 'c', 0, 0, 0, 0, 9};
  ByteStream source;
  source.appendBytes(sizeof bytes, bytes);
  ByteStream blob;
  std::uint32_t pos = 0;
  ASSERT_EQ(blob.readBlob(source, pos), S_OK);
  EXPECT_EQ(blob.size(), 3u);
  EXPECT_EQ(std::memcmp(blob.bytes(), "abc", 3), 0);
  ASSERT_EQ(blob.readBlob(source, pos), S_OK);  // a zero length is an empty blob
  EXPECT_EQ(blob.size(), 0u);
  EXPECT_EQ(pos, 11u);
  EXPECT_EQ(blob.readBlob(source, pos), E_FAIL);  // one byte is no length
}

TEST(ByteStream, ReadBlobRefusesLengthsBeyondTheEnd) {
  const struct {
    unsigned char length[4];
    const char* why;
  } cases[] = {
      {{4, 0, 0, 0}, "one byte short"},
      {{0xFF, 0xFF, 0xFF, 0x7F}, "two gigabytes"},
      {{0xFF, 0xFF, 0xFF, 0xFF}, "the largest length"},
  };
  for (const auto& c : cases) {
    ByteStream source;
    source.appendBytes(4, c.length);
    source.appendBytes(3, "abc");
    ByteStream blob;
    blob.appendBytes(3, "old");
    std::uint32_t pos = 0;
    EXPECT_EQ(blob.readBlob(source, pos), E_FAIL) << c.why;
    EXPECT_EQ(blob.size(), 0u) << c.why;
    EXPECT_EQ(blob.capacity(), 0u) << c.why;
    // Read in place, the blob may not take the byte after the view's end either.
    source.appendBytes(1, "d");
    const ByteView view(source.bytes(), 7);
    ByteView inPlace(source.bytes(), 1);
    EXPECT_EQ(view.readBlob(pos, inPlace), E_FAIL) << c.why;
    EXPECT_EQ(inPlace.size(), 0u) << c.why;
    EXPECT_EQ(pos, 0u) << c.why;
  }
}

TEST(ByteStream, Fill) {
  ByteStream s;
  fillWith(s, "abc");
  s.fill(0x7F);
  EXPECT_EQ(std::memcmp(s.bytes(), "\x7F\x7F\x7F", 3), 0);
  s.zeroFill();
  EXPECT_EQ(std::memcmp(s.bytes(), "\0\0\0", 3), 0);
}

TEST(ByteStream, ReadU32IsLittleEndian) {
  const unsigned char bytes[] = {0x64, 0x73, 0x82, 0x91, 0x01};
  ByteStream s;
  s.appendBytes(sizeof bytes, bytes);
  std::uint32_t pos = 0;
  std::uint32_t value = 0;
  ASSERT_EQ(readU32(s, pos, value), S_OK);
  EXPECT_EQ(value, 0x91827364u);
  EXPECT_EQ(readU32(s, pos, value), E_FAIL);
  EXPECT_EQ(pos, 4u);
}
