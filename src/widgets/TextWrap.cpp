#include "widgets/TextWrap.h"

#include <string>

namespace {

bool tooLong(const BitmapFont& font, const std::string& line, int maxChars, int maxWidth) {
  if (line.empty()) return false;
  return int(line.size()) > maxChars || font.Measure(line.c_str(), false).cx > maxWidth;
}

// The space to break at: the last one at an index up to maxChars, else the
// first one; -1 for none.
int breakAt(const std::string& line, int maxChars) {
  int found = -1;
  for (int i = 0; i < int(line.size()); ++i) {
    if (line[i] != ' ') continue;
    if (i <= maxChars) {
      found = i;
    } else {
      if (found < 0) found = i;
      break;
    }
  }
  return found;
}

}  // namespace

void WrapText(const BitmapFont& font, const char* text, int length, int maxChars, int maxWidth,
              std::vector<SetupString>& lines) {
  lines.clear();
  if (text == nullptr) length = 0;
  std::string current;
  for (int i = 0; i < length; ++i) {
    const unsigned char ch = static_cast<unsigned char>(text[i]);
    if (ch == 13) {
      lines.emplace_back(current.c_str());
      current.clear();
      continue;
    }
    if (ch < 32 || ch > 126) continue;
    current.push_back(char(ch));
    // Each cut leaves a shorter rest, so this ends.
    while (tooLong(font, current, maxChars, maxWidth)) {
      const int at = breakAt(current, maxChars);
      if (at <= 0) {
        lines.emplace_back(current.c_str());
        current.clear();
        break;
      }
      lines.emplace_back(current.substr(0, std::size_t(at)).c_str());
      current.erase(0, std::size_t(at) + 1);
    }
  }
  if (!current.empty()) lines.emplace_back(current.c_str());
}
