#include "kpack/SourceText.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "common/Cp1252.h"

namespace kpack {
namespace {

// The character at text[i] and its length in bytes; 0 bytes for malformed UTF-8.
char32_t decode(const std::string& text, std::size_t i, std::size_t& length) {
  const auto b = [&](std::size_t k) { return std::uint8_t(text[k]); };
  const std::uint8_t b0 = b(i);
  std::size_t n = b0 < 0x80             ? 1
                  : (b0 & 0xE0) == 0xC0 ? 2
                  : (b0 & 0xF0) == 0xE0 ? 3
                  : (b0 & 0xF8) == 0xF0 ? 4
                                        : 0;
  length = 0;
  if (n == 0 || i + n > text.size()) return 0;
  char32_t c = n == 1 ? b0 : n == 2 ? (b0 & 0x1F) : n == 3 ? (b0 & 0x0F) : (b0 & 0x07);
  for (std::size_t k = 1; k < n; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b(i + k) & 0x3F);
  }
  length = n;
  return c;
}

}  // namespace

SourceText::SourceText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (lines_.empty() && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
    lines_.push_back(line);
  }
}

void SourceText::forEach(const SourceRange& range,
                         const std::function<void(char32_t c, int line, int column)>& visit) const {
  const bool whole = range.line <= 0;
  const int first = whole ? 1 : range.line;
  const int last = whole ? int(lines_.size()) : range.endLine;
  for (int line = first; line <= last && line <= int(lines_.size()); ++line) {
    const std::string& text = lines_[std::size_t(line - 1)];
    int column = 1;
    for (std::size_t i = 0; i < text.size(); ++column) {
      std::size_t length = 0;
      const char32_t c = decode(text, i, length);
      i += length == 0 ? 1 : length;
      if (length == 0) continue;
      if (!whole && line == first && column < range.column) continue;
      if (!whole && line == last && column > range.endColumn) break;
      visit(c, line, column);
    }
  }
}

std::string describeCharacter(char32_t c) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", unsigned(c));
  std::string out = code;
  if (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0)) {
    out += " '";
    tools::appendUtf8(out, c);
    out += "'";
  }
  return out;
}

}  // namespace kpack
