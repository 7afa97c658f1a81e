// The default skin that kskin draws at build time (host builds only), read from
// the build tree as a setup would read its skin resource.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "base/ByteStream.h"

// The whole file into `bytes`; false when it cannot be read. `suffix` instead of
// the skin's own ".skin" names the file beside it (".glyphs").
inline bool readDefaultSkinFile(ByteStream& bytes, const char* suffix = nullptr) {
  std::string path = KESTRANE_DEFAULT_SKIN;
  if (suffix != nullptr) path = path.substr(0, path.size() - 5) + suffix;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  unsigned char buffer[65536];
  std::size_t n;
  bool ok = true;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    ok = ok && bytes.appendBytes(std::uint32_t(n), buffer) == S_OK;
  }
  std::fclose(f);
  return ok && bytes.size() > 0;
}
