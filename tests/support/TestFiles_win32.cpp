#include <fstream>
#include <sstream>

#include "support/TestFiles.h"

bool readTestFile(const char* windowsPath, std::string& content) {
  std::ifstream in(windowsPath, std::ios::binary);
  if (!in) return false;
  std::stringstream s;
  s << in.rdbuf();
  content = s.str();
  return true;
}
