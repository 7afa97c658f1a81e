// A product's version, "MAJOR.MINOR[.PATCH[.BUILD]]": numbers only, each 0 to
// 65535, as the version resource holds them. Versions compare part by part as
// numbers, a missing part counting as 0, so "2.1" and "2.1.0.0" are the same
// version while the uninstall entry still shows each as it was written.
#pragma once

#include <cstdint>

struct ProductVersion {
  std::uint16_t parts[4] = {};
  int count = 0;  // how many were written, 2 to 4; 0 for no version

  bool isSet() const { return count > 0; }
  // The two 32-bit halves of the version resource's fixed part.
  std::uint32_t high() const { return std::uint32_t(parts[0]) << 16 | parts[1]; }
  std::uint32_t low() const { return std::uint32_t(parts[2]) << 16 | parts[3]; }
};

// Reads `text`, which must be the whole version and nothing else (no spaces, no
// sign, no empty part, no leading "v"). False, with `version` unset, otherwise.
bool parseProductVersion(const char* text, ProductVersion& version);

// <0, 0 or >0 as `a` is older than, the same as or newer than `b`.
int compareProductVersions(const ProductVersion& a, const ProductVersion& b);
