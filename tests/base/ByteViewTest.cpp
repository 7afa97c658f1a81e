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
