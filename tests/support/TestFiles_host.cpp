#include <fstream>
#include <sstream>

#include "platform/host/Prefix.h"
#include "support/TestFiles.h"

bool readTestFile(const char* windowsPath, std::string& content) {
  std::string host;
  if (!platform::host::toHostPath(windowsPath, host)) return false;
  std::ifstream in(host, std::ios::binary);
  if (!in) return false;
  std::stringstream s;
  s << in.rdbuf();
  content = s.str();
  return true;
}
