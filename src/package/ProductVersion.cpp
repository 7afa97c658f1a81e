#include "package/ProductVersion.h"

bool parseProductVersion(const char* text, ProductVersion& version) {
  version = ProductVersion();
  if (text == nullptr) return false;
  ProductVersion read;
  const char* p = text;
  for (;;) {
    if (read.count == 4 || *p < '0' || *p > '9') return false;
    std::uint32_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
      value = value * 10 + std::uint32_t(*p - '0');
      if (value > 65535) return false;
    }
    read.parts[read.count++] = std::uint16_t(value);
    if (*p == '\0') break;
    if (*p++ != '.') return false;
  }
  if (read.count < 2) return false;
  version = read;
  return true;
}

int compareProductVersions(const ProductVersion& a, const ProductVersion& b) {
  for (int i = 0; i < 4; ++i) {
    if (a.parts[i] != b.parts[i]) return a.parts[i] < b.parts[i] ? -1 : 1;
  }
  return 0;
}
