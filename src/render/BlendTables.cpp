#include "render/BlendTables.h"

namespace {

struct Tables {
  ByteTable mul;
  ByteTable screen;
  std::uint8_t grey[3 * 255 + 1];

  Tables() {
    for (int a = 0; a < 256; ++a) {
      for (int v = 0; v < 256; ++v) {
        mul[a][v] = std::uint8_t((a * v + 128) / 255);
        screen[a][v] = std::uint8_t(255 - ((255 - a) * (255 - v) + 128) / 255);
      }
    }
    for (int s = 0; s <= 3 * 255; ++s) grey[s] = std::uint8_t((s + 1) / 3);
  }
};

// A function-local static: built by the first caller, and the language makes
// any other thread that arrives meanwhile wait for it.
const Tables& tables() {
  static const Tables built;
  return built;
}

}  // namespace

const ByteTable& MulTable() {
  return tables().mul;
}

const ByteTable& ScreenTable() {
  return tables().screen;
}

const std::uint8_t* GreyOf() {
  return tables().grey;
}
