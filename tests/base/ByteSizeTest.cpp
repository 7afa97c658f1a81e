#include "base/ByteSize.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(ByteSize, ScalesAtTheUnitThresholds) {
  const struct {
    std::int64_t bytes;
    const char* text;
    std::int64_t scaled;
  } cases[] = {
      {0, "0 bytes", 0},
      {102400, "102,400 bytes", 102400},
      {102401, "100 KB", 100},
      {104857600, "102,400 KB", 102400},
      {104857601, "100 MB", 100},
      {5000000000LL, "4,768 MB", 4768},
      {107374182400LL, "102,400 MB", 102400},
      {107374182401LL, "100 GB", 100},
      {-5, "-5 bytes", -5},
      {INT64_MAX, "8,589,934,591 GB", 8589934591LL},
  };
  for (const auto& c : cases) {
    SetupString text;
    EXPECT_EQ(formatByteSize(c.bytes, text), c.scaled) << c.bytes;
    EXPECT_EQ(text, c.text) << c.bytes;
  }
}

TEST(ByteSize, GroupsDigitsInThrees) {
  const struct {
    std::int64_t value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {7, "7"},
      {100, "100"},
      {999, "999"},
      {1000, "1,000"},
      {1205, "1,205"},
      {1234567, "1,234,567"},
      {-1234567, "-1,234,567"},
      {-999, "-999"},
      {INT64_MIN, "-9,223,372,036,854,775,808"},
  };
  for (const auto& c : cases) {
    SetupString text;
    formatGrouped(c.value, text);
    EXPECT_EQ(text, c.text) << c.value;
  }
}
