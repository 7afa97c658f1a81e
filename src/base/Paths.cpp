#include "base/Paths.h"

#include <cstring>

#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/WinDefs.h"

namespace {

bool isSeparator(char c) {
  return c == '\\' || c == '/';
}

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

void splitPath(const char* path, PathParts& parts) {
  parts = PathParts();
  if (path == nullptr) return;
  const char* p = path;
  if (p[0] != '\0' && p[1] == ':') {
    parts.drive.assignBytes(2, p);
    p += 2;
  }
  // One pass finds the last separator and the last dot, stepping over double-byte
  // characters whole.
  const char* lastSeparator = nullptr;
  const char* lastDot = nullptr;
  const char* end = p;
  for (; *end != '\0'; ++end) {
    if (platform::isLeadByte((unsigned char)*end)) {
      if (end[1] == '\0') break;
      ++end;
    } else if (isSeparator(*end)) {
      lastSeparator = end;
    } else if (*end == '.') {
      lastDot = end;
    }
  }
  const char* name = lastSeparator != nullptr ? lastSeparator + 1 : p;
  parts.folder.assignBytes(int(name - p), p);
  if (lastDot != nullptr && lastDot >= name) {
    parts.name.assignBytes(int(lastDot - name), name);
    parts.extension.assignBytes(int(end - lastDot), lastDot);
  } else {
    parts.name.assignBytes(int(end - name), name);
  }
}

bool endsWithBackslash(const SetupString& text) {
  const char* s = text.text();
  bool last = false;
  for (int i = 0; i < text.length(); ++i) {
    last = s[i] == '\\';
    if (platform::isLeadByte((unsigned char)s[i])) {
      ++i;
      last = false;
    }
  }
  return last;
}

bool joinPath(SetupString& path, const char* baseFolder) {
  if (baseFolder == nullptr) return false;
  SetupString joined(baseFolder);
  if (!endsWithBackslash(joined)) joined.append('\\');
  const char* tail = path.text();
  if (*tail == '\\') ++tail;
  if (joined.length() + int(std::strlen(tail)) >= kPathBufferSize) return false;
  joined.append(tail);
  path = joined;
  return true;
}

bool moveToFolder(SetupString& path, const char* folder) {
  PathParts parts;
  splitPath(path.text(), parts);
  SetupString moved(folder);
  if (!moved.isEmpty() && !endsWithBackslash(moved)) moved.append('\\');
  moved.append(parts.name);
  moved.append(parts.extension);
  if (moved.length() >= kPathBufferSize) return false;
  path = moved;
  return true;
}

void driveRoot(SetupString& path) {
  PathParts parts;
  splitPath(path.text(), parts);
  if (parts.drive.isEmpty()) {
    path = SetupString();
  } else {
    path = SetupString::concat(parts.drive, SetupString("\\"));
  }
}

bool isFixedDrive(const char* path) {
  SetupString root(path);
  driveRoot(root);
  // A relative path names no drive; asking about "" would ask about the current one.
  return !root.isEmpty() && platform::getDriveType(root.text()) == DRIVE_FIXED;
}

bool isDirectory(const char* path) {
  const std::uint32_t attributes = platform::getFileAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool isGuidString(const char* text) {
  if (text == nullptr || std::strlen(text) != 38) return false;
  if (text[0] != '{' || text[37] != '}') return false;
  for (int i = 1; i <= 36; ++i) {
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    if (dash ? text[i] != '-' : !isHexDigit(text[i])) return false;
  }
  return true;
}
