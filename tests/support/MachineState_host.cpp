#include "support/MachineState.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/host/Prefix.h"
#include "support/RegExport.h"

namespace fs = std::filesystem;

namespace {

constexpr char kRegistryFile[] = "registry.reg";
// The registry file as it is, to put it back; left out of every comparison.
constexpr char kRawRegistry[] = "raw:registry.reg";

std::string fileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void readRegistry(const std::string& prefix, MachineState& state) {
  const fs::path file = fs::path(prefix) / kRegistryFile;
  if (!fs::exists(file)) return;
  state[kRawRegistry] = fileBytes(file);
  for (const std::string& entry : regExportEntries(file.string())) state["reg:" + entry];
}

}  // namespace

MachineState readMachineState(const std::string& prefix) {
  MachineState state;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(prefix, error);
       it != fs::recursive_directory_iterator(); it.increment(error)) {
    const std::string relative = fs::relative(it->path(), prefix).generic_string();
    if (relative == kRegistryFile) continue;
    if (it->is_symlink()) {
      state["link:" + relative] = fs::read_symlink(it->path()).string();
    } else if (it->is_directory()) {
      state["dir:" + relative];
    } else {
      state["file:" + relative] = fileBytes(it->path());
    }
  }
  readRegistry(prefix, state);
  return state;
}

void restoreMachineState(const std::string& prefix, const MachineState& state) {
  // Whatever the state does not hold goes, deepest first.
  std::vector<fs::path> extra;
  for (auto it = fs::recursive_directory_iterator(prefix); it != fs::recursive_directory_iterator();
       ++it) {
    const std::string relative = fs::relative(it->path(), prefix).generic_string();
    if (relative == kRegistryFile) continue;
    const char* kind = it->is_symlink() ? "link:" : it->is_directory() ? "dir:" : "file:";
    if (state.count(kind + relative) == 0) extra.push_back(it->path());
  }
  std::sort(extra.rbegin(), extra.rend());
  for (const fs::path& p : extra) fs::remove_all(p);

  for (const auto& [entry, content] : state) {
    const std::size_t colon = entry.find(':');
    const std::string kind = entry.substr(0, colon);
    const fs::path path = fs::path(prefix) / entry.substr(colon + 1);
    if (kind == "raw") continue;
    if (kind == "dir") {
      fs::create_directories(path);
    } else if (kind == "file" && (!fs::exists(path) || fileBytes(path) != content)) {
      fs::create_directories(path.parent_path());
      chmod(path.c_str(), 0644);
      std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    }
  }
  const auto registry = state.find(kRawRegistry);
  const fs::path file = fs::path(prefix) / kRegistryFile;
  if (registry == state.end()) {
    fs::remove(file);
  } else {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << registry->second;
  }
}

std::string machineRoot(const char* windowsPath) {
  std::string host;
  platform::host::toHostPath(windowsPath, host);
  return "file:" + fs::relative(host, platform::host::prefixRoot()).generic_string();
}

std::string registryRoot(const std::string& key) {
  return "reg:" + key;
}

bool isBelowRoot(const std::string& entry, const std::string& root) {
  const std::size_t colon = entry.find(':');
  const std::string kind = entry.substr(0, colon);
  std::string name = entry.substr(colon + 1);
  if (kind == "reg") {
    if (root.compare(0, 4, "reg:") != 0) return false;
    auto lower = [](std::string s) {
      for (char& c : s) c = char(std::tolower((unsigned char)c));
      return s;
    };
    // A root naming one value ("KEY|\"name\"") holds only the lines of that value.
    if (root.find('|') != std::string::npos)
      return lower(name).rfind(lower(root.substr(4)), 0) == 0;
    name = name.substr(0, name.find('|'));
    const std::string n = lower(name), k = lower(root.substr(4));
    return n == k || (n.size() > k.size() && n.compare(0, k.size(), k) == 0 && n[k.size()] == '\\');
  }
  if (root.compare(0, 5, "file:") != 0) return false;
  const std::string path = root.substr(5);
  return name == path || (name.size() > path.size() && name.compare(0, path.size(), path) == 0 &&
                          name[path.size()] == '/');
}

bool isBelowAnyRoot(const std::string& entry, const std::vector<std::string>& roots) {
  return std::any_of(roots.begin(), roots.end(),
                     [&](const std::string& root) { return isBelowRoot(entry, root); });
}

std::vector<std::string> changedEntries(const MachineState& a, const MachineState& b) {
  std::vector<std::string> out;
  for (const auto& [entry, content] : a) {
    if (entry == kRawRegistry) continue;
    const auto it = b.find(entry);
    if (it == b.end() || it->second != content) out.push_back(entry);
  }
  for (const auto& [entry, content] : b) {
    if (entry != kRawRegistry && a.count(entry) == 0) out.push_back(entry);
  }
  return out;
}
