// The programs holding files on the host: the emulated sharing is flock (see
// Files_host.cpp), and the kernel lists every such lock with its owner and the
// file's device and inode in /proc/locks.
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/FileMoves.h"
#include "platform/host/Prefix.h"

namespace platform {
namespace {

// "<major>:<minor>:<inode>" as /proc/locks writes it (hexadecimal device numbers).
std::string lockKey(const struct stat& st) {
  std::ostringstream key;
  key << std::hex << major(st.st_dev) << ':' << minor(st.st_dev) << ':' << std::dec << st.st_ino;
  return key.str();
}

std::string processName(const std::string& pid) {
  std::ifstream comm("/proc/" + pid + "/comm");
  std::string name;
  std::getline(comm, name);
  return name;
}

// Two spellings of the device: "08:01" and "8:1" both occur.
bool sameKey(const std::string& listed, const std::string& wanted) {
  unsigned major1 = 0, minor1 = 0, major2 = 0, minor2 = 0;
  unsigned long long inode1 = 0, inode2 = 0;
  return std::sscanf(listed.c_str(), "%x:%x:%llu", &major1, &minor1, &inode1) == 3 &&
         std::sscanf(wanted.c_str(), "%x:%x:%llu", &major2, &minor2, &inode2) == 3 &&
         major1 == major2 && minor1 == minor2 && inode1 == inode2;
}

}  // namespace

std::vector<std::string> programsHoldingFiles(const std::vector<std::string>& paths) {
  std::vector<std::string> keys;
  for (const std::string& path : paths) {
    std::string host;
    struct stat st;
    if (host::toHostPath(path.c_str(), host) && stat(host.c_str(), &st) == 0) {
      keys.push_back(lockKey(st));
    }
  }
  std::vector<std::string> names;
  std::ifstream locks("/proc/locks");
  std::string line;
  while (std::getline(locks, line)) {
    // "1: FLOCK  ADVISORY  WRITE 4242 08:01:1234 0 EOF"; a waiting lock has "->".
    std::istringstream fields(line);
    std::string number, kind, mode, access, pid, key;
    if (!(fields >> number >> kind >> mode >> access >> pid >> key) || kind != "FLOCK") continue;
    const bool wanted = std::any_of(keys.begin(), keys.end(),
                                    [&](const std::string& k) { return sameKey(key, k); });
    if (!wanted) continue;
    const std::string name = processName(pid);
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) {
      names.push_back(name);
    }
  }
  return names;
}

}  // namespace platform
