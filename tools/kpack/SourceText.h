// A text file held line by line, to find where in it a character stands: the
// manifest, for the texts it gives, and the licence.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kpack {

// A stretch of a file, from (line, column) to (endLine, endColumn), both ends
// included; lines and columns count from 1, columns in characters.
struct SourceRange {
  int line = 0;
  int column = 0;
  int endLine = 0;
  int endColumn = 0;
};

class SourceText {
 public:
  // Empty when the file cannot be read (UTF-8 with or without a byte-order mark).
  explicit SourceText(const std::filesystem::path& path);

  // Calls back for every character of `range` with its line and column;
  // malformed bytes are skipped. A range of 0 lines is the whole file.
  void forEach(const SourceRange& range,
               const std::function<void(char32_t c, int line, int column)>& visit) const;

 private:
  std::vector<std::string> lines_;
};

// "U+0142 'ł'": how a complaint names a character.
std::string describeCharacter(char32_t c);

}  // namespace kpack
