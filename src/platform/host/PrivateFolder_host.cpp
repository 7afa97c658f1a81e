#include <sys/stat.h>

#include "platform/PrivateFolder.h"
#include "platform/host/FailureInjection.h"
#include "platform/host/Prefix.h"

namespace platform {

bool createPrivateFolder(const char* path) {
  std::string host;
  if (!host::toHostPath(path, host) || host::injectedFailure(host::HostCall::CreateFolder, path)) {
    return false;
  }
  return mkdir(host.c_str(), 0755) == 0;
}

std::string folderAccessList(const char*) {
  return std::string();
}

}  // namespace platform
