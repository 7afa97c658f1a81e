// The host's link object: it collects what a link says and saves it as a real .lnk
// file, in the format a Windows machine reads (ShellLinkFile.h).
#include <sys/stat.h>

#include <string>

#include "platform/Files.h"
#include "platform/ShellLink.h"
#include "platform/ShellLinkFile.h"
#include "platform/Text.h"
#include "platform/WinDefs.h"
#include "platform/host/FailureInjection.h"
#include "platform/host/Prefix.h"

namespace platform {
namespace {

shelllink::LinkData& data(void* object) {
  return *static_cast<shelllink::LinkData*>(object);
}

bool store(void* object, std::string shelllink::LinkData::*field, const char* text) {
  if (object == nullptr || text == nullptr) return false;
  data(object).*field = text;
  return true;
}

}  // namespace

ShellLink::~ShellLink() {
  delete static_cast<shelllink::LinkData*>(object_);
}

bool ShellLink::create() {
  if (object_ == nullptr) object_ = new shelllink::LinkData;
  return true;
}

bool ShellLink::setPath(const char* target) {
  if (!store(object_, &shelllink::LinkData::target, target)) return false;
  // The shell records what it finds at the target.
  shelllink::LinkData& link = data(object_);
  const std::uint32_t attributes = getFileAttributes(target);
  link.targetAttributes = attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes;
  std::string host;
  struct stat st;
  link.targetSize = host::toHostPath(target, host) && stat(host.c_str(), &st) == 0
                        ? std::uint32_t(st.st_size)
                        : 0;
  return true;
}

bool ShellLink::setArguments(const char* arguments) {
  return store(object_, &shelllink::LinkData::arguments, arguments);
}

bool ShellLink::setWorkingDirectory(const char* folder) {
  return store(object_, &shelllink::LinkData::workingFolder, folder);
}

bool ShellLink::setDescription(const char* description) {
  return store(object_, &shelllink::LinkData::description, description);
}

bool ShellLink::setIconLocation(const char* path, int index) {
  if (!store(object_, &shelllink::LinkData::iconPath, path)) return false;
  data(object_).iconIndex = index;
  return true;
}

bool ShellLink::save(const char16_t* path, bool) {
  if (object_ == nullptr || path == nullptr) return false;
  const int n = wideToAnsi(path, -1, nullptr, 0);
  std::string ansi(std::size_t(n > 0 ? n : 1), '\0');
  if (n <= 0 || wideToAnsi(path, -1, &ansi[0], n) != n) return false;
  std::string bytes;
  if (!shelllink::buildShellLink(data(object_), bytes) ||
      host::injectedFailure(host::HostCall::LinkSave, ansi.c_str())) {
    return false;
  }
  const FileId file = createFile(ansi.c_str(), GENERIC_WRITE, 0, false, CREATE_ALWAYS, 0);
  if (file == kInvalidFile) return false;
  const bool written = writeFile(file, bytes.data(), std::uint32_t(bytes.size()), nullptr);
  if (closeFile(file) && written) return true;
  // A link cut short would point nowhere; none is better.
  deleteFile(ansi.c_str());
  return false;
}

}  // namespace platform
