#include "base/ByteSize.h"

std::int64_t scaleByteSize(std::int64_t bytes, SetupString& unit) {
  if (bytes > 107374182400LL) {  // 100 GiB
    unit = "GB";
    return bytes / 1073741824LL;
  }
  if (bytes < 0) {
    unit = "bytes";
    return bytes;
  }
  if (bytes > 104857600LL) {  // 100 MiB
    unit = "MB";
    return bytes / 1048576LL;
  }
  if (bytes > 102400LL) {  // 100 KiB
    unit = "KB";
    return bytes / 1024LL;
  }
  unit = "bytes";
  return bytes;
}

void formatGrouped(std::int64_t value, SetupString& out, char separator) {
  if (value == 0) {
    out = "0";
    return;
  }
  // Digits of |value|, taken without negating it, so that INT64_MIN works too.
  char digits[20];
  int m = 0;
  for (std::int64_t v = value; v != 0; v /= 10) {
    const int d = int(v % 10);
    digits[m++] = char('0' + (d < 0 ? -d : d));
  }
  char text[32];
  int n = 0;
  if (value < 0) text[n++] = '-';
  for (int i = 0; i < m; ++i) {
    text[n++] = digits[m - 1 - i];
    if (m - i > 1 && (m - i) % 3 == 1) text[n++] = separator;
  }
  out.assignBytes(n, text);
}

std::int64_t formatByteSize(std::int64_t bytes, SetupString& out, char separator) {
  SetupString unit;
  const std::int64_t scaled = scaleByteSize(bytes, unit);
  SetupString grouped;
  formatGrouped(scaled, grouped, separator);
  out.format("%s %s", grouped.text(), unit.text());
  return scaled;
}
