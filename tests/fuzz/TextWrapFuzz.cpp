// Any bytes as a licence: wrapping must read only the text's own bytes (the
// input is copied into a buffer of exactly its size, with no terminator) and
// end, and the view must then render and scroll without harm. The first two
// bytes choose the line limit and the view's width.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/ByteStream.h"
#include "support/SkinBytes.h"
#include "widgets/TextView.h"
#include "widgets/TextWrap.h"

namespace {

const BitmapFont& testFont() {
  static BitmapFont* font = [] {
    auto* f = new BitmapFont;
    const testdata::Bytes block = testdata::SkinBytes().fontBlock();
    ByteStream stream;
    stream.appendBytes(std::uint32_t(block.size()), block.data());
    std::uint32_t position = 4;  // past the font count
    if (!f->Read(stream, position)) __builtin_trap();
    return f;
  }();
  return *font;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || size > 1 << 20) return 0;
  const int maxChars = data[0];
  const int width = 4 * data[1];
  std::vector<char> text(data + 2, data + size);
  const int length = int(text.size());

  std::vector<SetupString> lines;
  WrapText(testFont(), text.data(), length, maxChars, width - 20, lines);
  std::size_t kept = 0;
  for (const SetupString& line : lines) {
    for (int i = 0; i < line.length(); ++i) {
      const unsigned char ch = static_cast<unsigned char>(line[i]);
      if (ch < 32 || ch > 126) __builtin_trap();  // only printable bytes are kept
    }
    kept += std::size_t(line.length());
  }
  if (kept > text.size()) __builtin_trap();

  ItemList items;
  TextView view;
  if (!view.Setup(&testFont(), 0, 0, width, 60, text.data(), length, maxChars, items)) return 0;
  int result = 0;
  for (int key : {VK_END, VK_PRIOR, VK_UP, VK_HOME, VK_NEXT, VK_DOWN}) {
    view.HandleMessage(0, 0, nullptr, WM_KEYDOWN, std::uintptr_t(key), 0, &result);
    if (view.top < 0 || (view.top > 0 && view.top > view.LineCount() - view.visibleLines)) {
      __builtin_trap();
    }
  }
  view.HandleMessage(0, 0, nullptr, WM_LBUTTONDOWN, 0, MakePointParam(width - 4, 30), &result);
  return 0;
}
