#include <fstream>
#include <sstream>

#include "platform/host/FailureInjection.h"
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

// Linux lets anyone delete an open file; the backend's failure switch stands in
// for the sharing violation Windows reports.
UndeletableFile::UndeletableFile(const char*) {
  platform::host::failNthCall(platform::host::HostCall::DeleteFile, 1);
}

UndeletableFile::~UndeletableFile() {
  platform::host::clearFailures();
}
