#include "platform/host/Prefix.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/WinDefs.h"

namespace platform::host {
namespace {

// The folders a fresh Windows installation has, as the shell reports them.
struct StandardFolder {
  int csidl;
  const char* path;  // "%USER%" stands for the user's folder name
};

constexpr StandardFolder kStandardFolders[] = {
    {CSIDL_WINDOWS, "C:\\Windows"},
    {CSIDL_SYSTEM, "C:\\Windows\\System32"},
    {CSIDL_PROGRAM_FILES, "C:\\Program Files"},
    {CSIDL_COMMON_PROGRAMS, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"},
    {CSIDL_COMMON_DESKTOPDIRECTORY, "C:\\Users\\Public\\Desktop"},
    {CSIDL_APPDATA, "C:\\Users\\%USER%\\AppData\\Roaming"},
    {CSIDL_PROGRAMS,
     "C:\\Users\\%USER%\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"},
    {CSIDL_DESKTOPDIRECTORY, "C:\\Users\\%USER%\\Desktop"},
};

// What a 64-bit machine has besides. A 32-bit program asking for Program Files
// there is told the x86 one, as on Windows.
constexpr char kProgramFiles64[] = "C:\\Program Files";
constexpr char kProgramFilesX86[] = "C:\\Program Files (x86)";
constexpr char kSystem64[] = "C:\\Windows\\System32";
constexpr char kSystemWow64[] = "C:\\Windows\\SysWOW64";

bool makeDirectories(const std::string& path) {
  std::string partial;
  partial.reserve(path.size());
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || (path[i] == '/' && i > 0)) {
      if (mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    if (i < path.size()) partial += path[i];
  }
  return true;
}

std::string accountHome() {
  const passwd* pw = getpwuid(getuid());
  return pw != nullptr && pw->pw_dir != nullptr ? pw->pw_dir : "";
}

std::string homeDataPrefix(const std::string& home) {
  return home + "/.local/share/kestrane-setup/prefix";
}

std::string defaultPrefix() {
  if (const char* p = std::getenv("KESTRANE_PREFIX"); p != nullptr && *p != '\0') return p;
  return homePrefix();
}

// One spelling per folder: links resolved as far as the path exists, "." and ".."
// and doubled or trailing separators gone. Where the folders cannot be read, the
// path as written stands in.
std::filesystem::path oneSpelling(const std::string& folder) {
  std::error_code error;
  std::filesystem::path p = std::filesystem::weakly_canonical(folder, error);
  if (error) p = std::filesystem::absolute(folder, error);
  if (error) p = folder;
  p = p.lexically_normal();
  return p.has_filename() ? p : p.parent_path();
}

// Places a normalised Windows path below the prefix `root`.
std::string placeBelow(const std::string& root, const std::string& normal) {
  std::string out = root;
  out += "/drive_";
  out += char(normal[0] - 'A' + 'a');
  for (std::size_t i = 2; i < normal.size(); ++i) {
    out += normal[i] == '\\' ? '/' : normal[i];
  }
  if (out.back() == '/') out.pop_back();
  return out;
}

std::string expandUser(const char* path) {
  std::string out = path;
  const std::string token = "%USER%";
  if (std::size_t at = out.find(token); at != std::string::npos) {
    out.replace(at, token.size(), userName());
  }
  return out;
}

}  // namespace

const std::string& userName() {
  static const std::string name = [] {
    std::string n;
    if (const char* u = std::getenv("USER"); u != nullptr) n = u;
    if (n.empty()) {
      if (const passwd* pw = getpwuid(getuid()); pw != nullptr) n = pw->pw_name;
    }
    // The name becomes one folder of a Windows path.
    for (char& c : n) {
      if (c == '/' || c == '\\' || c == ':') c = '_';
    }
    if (n.empty() || n == "." || n == "..") n = "user";
    return n;
  }();
  return name;
}

std::string homePrefix() {
  if (const char* d = std::getenv("XDG_DATA_HOME"); d != nullptr && *d != '\0') {
    return std::string(d) + "/kestrane-setup/prefix";
  }
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return homeDataPrefix(home);
  const std::string account = accountHome();
  return homeDataPrefix(account.empty() ? "/tmp" : account);
}

bool isHomePrefix(const std::string& folder) {
  if (folder.empty()) return false;
  std::vector<std::string> homes = {homePrefix()};
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    homes.push_back(homeDataPrefix(home));
  }
  if (const std::string account = accountHome(); !account.empty()) {
    homes.push_back(homeDataPrefix(account));
  }
  for (const std::string& home : homes) {
    if (oneSpelling(folder) == oneSpelling(home)) return true;
  }
  return false;
}

const std::string& prefixRoot() {
  static const std::string root = [] {
    std::string r = defaultPrefix();
    makeDirectories(r + "/drive_c");
    // A folder that cannot be made shows up later as a failed file operation,
    // exactly where Windows would fail.
    for (const StandardFolder& f : kStandardFolders) {
      std::string normal;
      if (normalizeWindowsPath(expandUser(f.path).c_str(), normal)) {
        makeDirectories(placeBelow(r, normal));
      }
    }
    return r;
  }();
  return root;
}

bool normalizeWindowsPath(const char* path, std::string& out) {
  if (path == nullptr || *path == '\0') return false;
  auto isSep = [](char c) { return c == '\\' || c == '/'; };

  char drive = 'C';
  const char* rest = path;
  if (path[0] != '\0' && path[1] == ':') {
    char letter = path[0];
    if (letter >= 'a' && letter <= 'z') letter = char(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z') return false;
    drive = letter;
    rest = path + 2;
  } else if (isSep(path[0]) && isSep(path[1])) {
    return false;  // UNC and device paths name no drive of the machine
  }

  std::vector<std::string> parts;
  std::string part;
  for (const char* p = rest;; ++p) {
    if (*p == '\0' || isSep(*p)) {
      if (part == "..") {
        if (!parts.empty()) parts.pop_back();
      } else if (!part.empty() && part != ".") {
        parts.push_back(part);
      }
      part.clear();
      if (*p == '\0') break;
    } else {
      part += *p;
    }
  }

  out.assign(1, drive);
  out += ":\\";
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += '\\';
    out += parts[i];
  }
  return true;
}

bool toHostPath(const char* windowsPath, std::string& out) {
  std::string normal;
  if (!normalizeWindowsPath(windowsPath, normal)) return false;
  out = placeBelow(prefixRoot(), normal);
  return true;
}

bool fromHostPath(const std::string& hostPath, std::string& windowsPath) {
  char* real = realpath(hostPath.c_str(), nullptr);
  char* root = realpath(prefixRoot().c_str(), nullptr);
  const std::string path = real != nullptr ? real : "", base = root != nullptr ? root : "";
  std::free(real);
  std::free(root);
  const std::string drives = base + "/drive_";
  if (path.empty() || base.empty() || path.compare(0, drives.size(), drives) != 0) return false;
  const std::size_t at = drives.size();
  if (path.size() <= at || path[at] < 'a' || path[at] > 'z') return false;
  if (path.size() > at + 1 && path[at + 1] != '/') return false;  // drive_c.remote, drive_cd
  std::string out(1, char(path[at] - 'a' + 'A'));
  out += ":\\";
  for (std::size_t i = at + 2; i < path.size(); ++i) out += path[i] == '/' ? '\\' : path[i];
  if (out.size() >= std::size_t(MAX_PATH)) return false;
  windowsPath = out;
  return true;
}

bool machineIs64Bit() {
  std::ifstream in(prefixRoot() + "/machine");
  std::string word;
  if (!(in >> word) || word != "x64") return false;
  for (const char* folder : {kProgramFiles64, kProgramFilesX86, kSystem64, kSystemWow64}) {
    std::string normal;
    if (normalizeWindowsPath(folder, normal)) makeDirectories(placeBelow(prefixRoot(), normal));
  }
  return true;
}

std::string programFiles64Folder() {
  return machineIs64Bit() ? kProgramFiles64 : "";
}

std::string system64Folder() {
  return machineIs64Bit() ? kSystem64 : "";
}

std::string systemWow64Folder() {
  return machineIs64Bit() ? kSystemWow64 : "";
}

std::string specialFolder(int csidl) {
  if (csidl == CSIDL_PROGRAM_FILES && machineIs64Bit()) return kProgramFilesX86;
  for (const StandardFolder& f : kStandardFolders) {
    if (f.csidl == csidl) return expandUser(f.path);
  }
  return {};
}

}  // namespace platform::host
