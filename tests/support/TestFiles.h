// Reading back and locking files of the machine under test by their Windows paths.
#pragma once

#include <string>

// The whole content of the file; false when it cannot be read.
bool readTestFile(const char* windowsPath, std::string& content);

// While it exists, deleting the file at `windowsPath` fails, as it does on Windows
// for a file another program holds open.
class UndeletableFile {
 public:
  explicit UndeletableFile(const char* windowsPath);
  ~UndeletableFile();
  UndeletableFile(const UndeletableFile&) = delete;
  UndeletableFile& operator=(const UndeletableFile&) = delete;

 private:
  void* handle_ = nullptr;
};
