#include "package/PackageFormat.h"

#include <cstring>

#include "base/Paths.h"
#include "base/SortedStringSet.h"

namespace {

bool isSeparator(char c) {
  return c == '\\' || c == '/';
}

// True for "", ".", "..", "..." and so on: names Windows reads as a folder itself
// or its parent, since it drops trailing dots.
bool isOnlyDots(const char* begin, const char* end) {
  for (const char* p = begin; p < end; ++p) {
    if (*p != '.') return false;
  }
  return true;
}

}  // namespace

bool isSafeInstallFolderName(const char* name) {
  if (name == nullptr || *name == '\0') return false;
  if (isSeparator(name[0]) || name[1] == ':') return false;
  const char* component = name;
  bool anyName = false;
  for (const char* p = name;; ++p) {
    if (*p == '\0' || isSeparator(*p)) {
      if (p > component) {
        if (isOnlyDots(component, p)) return false;
        anyName = true;
      }
      if (*p == '\0') break;
      component = p + 1;
    }
  }
  return anyName;
}

bool isKeyName(const char* name) {
  return name != nullptr && *name != '\0' && std::strchr(name, '\\') == nullptr;
}

bool isFileName(const char* name) {
  if (name == nullptr || *name == '\0') return false;
  if (std::strpbrk(name, "\\/") != nullptr) return false;
  return !isOnlyDots(name, name + std::strlen(name));
}

bool isSafeItemFileName(const char* fileName) {
  if (fileName == nullptr) return false;
  PathParts parts;
  splitPath(fileName, parts);
  const SetupString last = SetupString::concat(parts.name, parts.extension);
  return !isOnlyDots(last.text(), last.text() + last.length());
}

bool isValidProgId(const char* progId) {
  if (progId == nullptr || *progId == '\0' || *progId == '.') return false;
  if (std::strchr(progId, '\\') != nullptr) return false;
  // Keys of HKEY_CLASSES_ROOT that hold what every program shares: deleting one
  // of them would unregister the whole machine's COM classes or shell verbs.
  static const char* const kShared[] = {
      "*",
      "AllFilesystemObjects",
      "AppID",
      "Applications",
      "CLSID",
      "Directory",
      "Drive",
      "Folder",
      "Interface",
      "MIME",
      "SystemFileAssociations",
      "TypeLib",
  };
  for (const char* shared : kShared) {
    if (compareNoCase(progId, shared) == 0) return false;
  }
  return true;
}
