#include <windows.h>

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

// Open without FILE_SHARE_DELETE: nobody can delete the file meanwhile.
UndeletableFile::UndeletableFile(const char* windowsPath) {
  const HANDLE file = CreateFileA(windowsPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  handle_ = file == INVALID_HANDLE_VALUE ? nullptr : file;
}

UndeletableFile::~UndeletableFile() {
  if (handle_ != nullptr) CloseHandle(handle_);
}
