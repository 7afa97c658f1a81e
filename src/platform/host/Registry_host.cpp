// The registry of the emulated machine: one tree in memory (RegistryTree.h), read
// from <prefix>/registry.reg when first used and written back there after every
// change, through a temporary file and a rename so the file is never half-written.
// HKEY_CLASSES_ROOT is the key HKEY_LOCAL_MACHINE\Software\Classes.
//
// On an emulated 64-bit machine (Prefix.h) this program is a 32-bit one: a key
// that Windows redirects, opened, created or deleted without KEY_WOW64_64KEY, lies
// below WOW6432Node (kWow64Keys).
//
// The calls check handle access as Windows does: values are read with
// KEY_QUERY_VALUE, written and deleted with KEY_SET_VALUE, subkeys enumerated with
// KEY_ENUMERATE_SUB_KEYS.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/RegFile.h"
#include "platform/Registry.h"
#include "platform/RegistryTree.h"
#include "platform/WinDefs.h"
#include "platform/host/FailureInjection.h"
#include "platform/host/HostRegistry.h"
#include "platform/host/Prefix.h"

namespace platform {
namespace {

using regtree::Key;
using KeyPtr = std::shared_ptr<Key>;

constexpr std::size_t kMaxDepth = 512;

constexpr const char* kStandardKeys[] = {
    "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "HKEY_CURRENT_USER\\Software",
    "HKEY_USERS",
};

// And the 32-bit view's of a 64-bit machine.
constexpr const char* kStandardWow64Keys[] = {
    "HKEY_LOCAL_MACHINE\\Software\\Classes\\WOW6432Node\\CLSID",
    "HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
};

constexpr char kWow64Node[] = "WOW6432Node";

// The keys a 64-bit Windows keeps apart for 32-bit programs (redirected) and the
// ones below those that both kinds of program share, after Microsoft's "Registry
// Keys Affected by WOW64" for Windows 7 and later (where reflection is gone); the
// longest entry that starts a path decides. Wine 8 agrees where we write: the
// classes' CLSID and the Uninstall key are redirected, an extension's key below
// Classes is shared. HKEY_CLASSES_ROOT is Software\Classes here; a redirected key
// below it gets its node after "Classes", any other after "Software".
struct Wow64Key {
  const char* path;
  bool redirected;
};
constexpr Wow64Key kWow64Keys[] = {
    {"HKEY_LOCAL_MACHINE\\Software", true},
    {"HKEY_LOCAL_MACHINE\\Software\\Classes", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID", true},
    {"HKEY_LOCAL_MACHINE\\Software\\Classes\\DirectShow", true},
    {"HKEY_LOCAL_MACHINE\\Software\\Classes\\Interface", true},
    {"HKEY_LOCAL_MACHINE\\Software\\Classes\\Media Type", true},
    {"HKEY_LOCAL_MACHINE\\Software\\Classes\\MediaFoundation", true},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\COM3", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Cryptography\\Calais\\Current", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Cryptography\\Calais\\Readers", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Cryptography\\Services", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\CTF\\SystemShared", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\CTF\\TIP", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\DFS", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Driver Signing", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\EnterpriseCertificates", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\EventSystem", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\MSMQ", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Non-Driver Signing", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Notepad\\DefaultFonts", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\OLE", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\RAS", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\RPC", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Shared Tools\\MSInfo", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\SystemCertificates", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\TermServLicensing", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Transaction Server", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Control Panel\\Cursors\\"
     "Schemes",
     false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
     "AutoplayHandlers",
     false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\DriveIcons",
     false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\KindMap", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\PreviewHandlers", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Setup", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Telephony", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Console", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontDpi", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontMapper", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Gre_Initialize", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution "
     "Options",
     false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\LanguagePack", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Perflib", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Print", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones", false},
    {"HKEY_LOCAL_MACHINE\\Software\\Policies", false},
    {"HKEY_LOCAL_MACHINE\\Software\\RegisteredApplications", false},
    {"HKEY_CURRENT_USER\\Software\\Classes\\CLSID", true},
    {"HKEY_CURRENT_USER\\Software\\Classes\\DirectShow", true},
    {"HKEY_CURRENT_USER\\Software\\Classes\\Interface", true},
    {"HKEY_CURRENT_USER\\Software\\Classes\\Media Type", true},
    {"HKEY_CURRENT_USER\\Software\\Classes\\MediaFoundation", true},
};

using KeyPath = std::vector<std::string>;

bool startsWith(const KeyPath& path, const KeyPath& head) {
  if (head.size() > path.size()) return false;
  for (std::size_t i = 0; i < head.size(); ++i) {
    if (regtree::compareNames(path[i], head[i]) != 0) return false;
  }
  return true;
}

// Where a 32-bit program's key `path` (from the top, root first) lies, when its
// first `fixed` levels are a key already open: the view is chosen where a path
// enters a redirected key, and a handle below that point keeps the view it was
// opened in.
KeyPath redirected(KeyPath path, std::size_t fixed) {
  std::size_t longest = 0;
  bool redirect = false;
  for (const Wow64Key& entry : kWow64Keys) {
    KeyPath head;
    regtree::splitKeyPath(entry.path, head);
    if (head.size() > longest && startsWith(path, head)) {
      longest = head.size();
      redirect = entry.redirected;
    }
  }
  const bool inClasses = path.size() > 2 && regtree::compareNames(path[2], "Classes") == 0;
  const std::size_t node = inClasses ? 3 : 2;
  // A path that names the node itself is where it says.
  if (!redirect || node < fixed || path.size() <= node ||
      regtree::compareNames(path[node], kWow64Node) == 0) {
    return path;
  }
  path.insert(path.begin() + std::ptrdiff_t(node), kWow64Node);
  return path;
}

// The path of each predefined root.
KeyPath rootPath(RegKey key) {
  if (key == HKEY_CLASSES_ROOT) return {"HKEY_LOCAL_MACHINE", "Software", "Classes"};
  if (key == HKEY_CURRENT_USER) return {"HKEY_CURRENT_USER"};
  if (key == HKEY_USERS) return {"HKEY_USERS"};
  return {"HKEY_LOCAL_MACHINE"};
}

bool isPredefined(RegKey key) {
  return key == HKEY_LOCAL_MACHINE || key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER ||
         key == HKEY_USERS;
}

struct Handle {
  KeyPtr key;
  std::uint32_t access;
  KeyPath path;  // from the top, as it lies
};

class Machine {
 public:
  std::mutex lock;

  // The key behind a handle or root, with the handle's access; null for a handle
  // that is not open.
  bool resolve(RegKey key, KeyPtr& out, std::uint32_t& access) {
    load();
    if (isPredefined(key)) {
      out = root(key);
      access = KEY_ALL_ACCESS;
      return true;
    }
    auto* handle = static_cast<Handle*>(key);
    if (handles_.count(handle) == 0) return false;
    out = handle->key;
    access = handle->access;
    return true;
  }

  // The path below which `subKey` of an open handle or root lies for a call with
  // `access` (its view bits); false for a handle that is not open.
  bool placeOf(RegKey key, const KeyPath& subKey, std::uint32_t access, KeyPath& out) {
    load();
    if (isPredefined(key)) {
      out = rootPath(key);
    } else {
      auto* handle = static_cast<Handle*>(key);
      if (handles_.count(handle) == 0) return false;
      out = handle->path;
    }
    const std::size_t fixed = out.size();
    out.insert(out.end(), subKey.begin(), subKey.end());
    if (wide_ && (access & KEY_WOW64_64KEY) == 0) out = redirected(out, fixed);
    return true;
  }

  KeyPtr top() { return top_; }

  RegKey open(KeyPtr key, std::uint32_t access, KeyPath path) {
    auto* handle = new Handle{std::move(key), access, std::move(path)};
    handles_.insert(handle);
    return handle;
  }

  bool close(RegKey key) {
    auto* handle = static_cast<Handle*>(key);
    if (handles_.erase(handle) == 0) return false;
    delete handle;
    return true;
  }

  bool isRoot(const KeyPtr& key) {
    return key == root(HKEY_LOCAL_MACHINE) || key == root(HKEY_CLASSES_ROOT) ||
           key == root(HKEY_CURRENT_USER) || key == root(HKEY_USERS);
  }

  void save() {
    const std::string path = host::prefixRoot() + "/registry.reg";
    const std::string temporary = path + ".tmp";
    const std::string bytes = regfile::exportRegistry(*top_);
    std::FILE* f = std::fopen(temporary.c_str(), "wb");
    if (f == nullptr) {
      unsaved_ = true;
      return;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    // The in-memory tree stays the truth; a file that could not be put in place
    // is written whole again at the next change or key closed.
    const bool closed = std::fclose(f) == 0;
    unsaved_ =
        !(closed && written && !host::injectedFailure(host::HostCall::Rename, path.c_str()) &&
          std::rename(temporary.c_str(), path.c_str()) == 0);
    if (unsaved_) std::remove(temporary.c_str());
  }

  // A change the file missed is written when a key is next closed, as Windows
  // flushes its hives some time after a change, never losing it while running.
  void saveIfUnsaved() {
    if (unsaved_) save();
  }

  void reload() {
    loaded_ = false;
    top_.reset();
    load();
  }

 private:
  void load() {
    if (loaded_) return;
    loaded_ = true;
    top_ = std::make_shared<Key>("");
    wide_ = host::machineIs64Bit();
    const std::string path = host::prefixRoot() + "/registry.reg";
    std::ifstream in(path, std::ios::binary);
    if (in) {
      std::stringstream bytes;
      bytes << in.rdbuf();
      if (!regfile::importRegistry(bytes.str(), *top_)) {
        // Kept aside rather than overwritten by the next change.
        std::rename(path.c_str(), (path + ".unreadable").c_str());
      }
    }
    // The keys every Windows installation has.
    for (const char* standard : kStandardKeys) addPath(standard);
    if (wide_) {
      for (const char* standard : kStandardWow64Keys) addPath(standard);
    }
  }

  void addPath(const char* path) {
    std::vector<std::string> parts;
    regtree::splitKeyPath(path, parts);
    KeyPtr key = top_;
    for (const std::string& part : parts) key = key->addSubkey(part);
  }

  KeyPtr root(RegKey key) {
    KeyPtr at = top_;
    for (const std::string& part : rootPath(key)) at = at->addSubkey(part);
    return at;
  }

  bool loaded_ = false;
  bool wide_ = false;     // a 64-bit machine, with the 32-bit view apart
  bool unsaved_ = false;  // the last change is not in the file yet
  KeyPtr top_;
  std::set<Handle*> handles_;
};

Machine& machine() {
  static Machine* m = new Machine;  // lives as long as the process: worker threads use it
  return *m;
}

bool splitSubKey(const char* subKey, std::vector<std::string>& parts) {
  return regtree::splitKeyPath(subKey != nullptr ? subKey : "", parts) && parts.size() <= kMaxDepth;
}

std::string nameOf(const char* name) {
  return name != nullptr ? name : "";
}

// The key behind an open handle, checked for the access a call needs; the
// caller holds the machine's lock.
long usableKey(Machine& m, RegKey key, std::uint32_t needed, KeyPtr& at) {
  std::uint32_t access = 0;
  if (!m.resolve(key, at, access)) return ERROR_INVALID_HANDLE;
  if ((access & needed) != needed) return ERROR_ACCESS_DENIED;
  if (at->deleted()) return ERROR_KEY_DELETED;
  return ERROR_SUCCESS;
}

// True when `path` is the handle's own key followed by `parts`: the walk may
// start at the key the handle holds.
bool startsWithHandle(Machine& m, RegKey key, const KeyPath& path, const KeyPath& parts) {
  KeyPath own;
  return m.placeOf(key, {}, KEY_WOW64_64KEY, own) && own.size() + parts.size() == path.size() &&
         startsWith(path, own);
}

// Where a create or an open of `subKey` below `key` walks from: the handle's own
// key and the subkey's levels, the key having perhaps been deleted and made again
// by path meanwhile; for a subkey a view redirects, the top and its whole path.
// `path` is the key's place from the top. ERROR_SUCCESS, or why not.
long walkStart(Machine& m, RegKey key, const char* subKey, std::uint32_t access, KeyPtr& at,
               KeyPath& levels, KeyPath& path) {
  if (const long status = usableKey(m, key, 0, at); status != ERROR_SUCCESS) return status;
  std::vector<std::string> parts;
  if (!splitSubKey(subKey, parts)) return ERROR_BAD_PATHNAME;
  if (!m.placeOf(key, parts, access, path)) return ERROR_INVALID_HANDLE;
  levels = parts;
  if (!startsWithHandle(m, key, path, parts)) {
    at = m.top();
    levels = path;
  }
  return ERROR_SUCCESS;
}

}  // namespace

long regCreateKey(RegKey key, const char* subKey, std::uint32_t access, RegKey* result) {
  *result = nullptr;
  Machine& m = machine();
  std::lock_guard<std::mutex> hold(m.lock);
  KeyPtr at;
  KeyPath levels, path;
  if (const long status = walkStart(m, key, subKey, access, at, levels, path);
      status != ERROR_SUCCESS) {
    return status;
  }
  bool created = false;
  for (const std::string& part : levels) {
    KeyPtr next = at->subkey(part);
    if (next == nullptr) {
      next = at->addSubkey(part);
      created = true;
    }
    at = next;
  }
  if (created) m.save();
  *result = m.open(at, access, path);
  return ERROR_SUCCESS;
}

long regOpenKey(RegKey key, const char* subKey, std::uint32_t access, RegKey* result) {
  *result = nullptr;
  Machine& m = machine();
  std::lock_guard<std::mutex> hold(m.lock);
  KeyPtr at;
  KeyPath levels, path;
  if (const long status = walkStart(m, key, subKey, access, at, levels, path);
      status != ERROR_SUCCESS) {
    return status;
  }
  for (const std::string& part : levels) {
    at = at->subkey(part);
    if (at == nullptr) return ERROR_FILE_NOT_FOUND;
  }
  *result = m.open(at, access, path);
  return ERROR_SUCCESS;
}

long regCloseKey(RegKey key) {
  if (isPredefined(key)) return ERROR_SUCCESS;
  Machine& m = machine();
  std::lock_guard<std::mutex> hold(m.lock);
  if (!m.close(key)) return ERROR_INVALID_HANDLE;
  m.saveIfUnsaved();
  return ERROR_SUCCESS;
}

long regSetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                 std::uint32_t size) {
  Machine& m = machine();
  std::lock_guard<std::mutex> hold(m.lock);
  KeyPtr at;
  if (const long status = usableKey(m, key, KEY_SET_VALUE, at); status != ERROR_SUCCESS) {
    return status;
  }
  if (data == nullptr && size != 0) return ERROR_INVALID_PARAMETER;
  if (host::injectedFailure(host::HostCall::RegistryWrite)) return ERROR_ACCESS_DENIED;
  at->setValue(nameOf(name), type, std::string(static_cast<const char*>(data), size));
  m.save();
  return ERROR_SUCCESS;
}

long regSetDefaultText(RegKey key, const char* subKey, const char* text, std::uint32_t) {
  if (text == nullptr) return ERROR_INVALID_PARAMETER;
  RegKey opened = nullptr;
  if (const long status = regCreateKey(key, subKey, KEY_SET_VALUE, &opened);
      status != ERROR_SUCCESS) {
    return status;
  }
  const long status =
      regSetValue(opened, nullptr, REG_SZ, text, std::uint32_t(std::strlen(text) + 1));
  regCloseKey(opened);
  return status;
}

long regQueryValue(RegKey key, const char* name, std::uint32_t* type, void* data,
                   std::uint32_t* size) {
  Machine& m = machine();
  std::lock_guard<std::mutex> hold(m.lock);
  KeyPtr at;
  if (const long status = usableKey(m, key, KEY_QUERY_VALUE, at); status != ERROR_SUCCESS) {
    return status;
  }
  const regtree::Value* value = at->value(nameOf(name));
  if (value == nullptr) return ERROR_FILE_NOT_FOUND;
  if (type != nullptr) *type = value->type;
  if (size == nullptr) return data == nullptr ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
  const std::uint32_t available = *size;
  *size = std::uint32_t(value->data.size());
  if (data == nullptr) return ERROR_SUCCESS;
  if (value->data.size() > available) return ERROR_MORE_DATA;
  std::memcpy(data, value->data.data(), value->data.size());
  return ERROR_SUCCESS;
}

long regQueryDefaultText(RegKey key, const char* subKey, char* text, std::int32_t* size) {
  RegKey opened = key;
  if (subKey != nullptr && *subKey != '\0') {
    if (const long status = regOpenKey(key, subKey, KEY_QUERY_VALUE, &opened);
        status != ERROR_SUCCESS) {
      return status;
    }
  }
  std::uint32_t bytes = size != nullptr && *size > 0 ? std::uint32_t(*size) : 0;
  long status = regQueryValue(opened, nullptr, nullptr, text, size != nullptr ? &bytes : nullptr);
  if (status == ERROR_FILE_NOT_FOUND) {
    // A key without a default value reads as the empty text.
    status = ERROR_SUCCESS;
    bytes = 1;
    if (text != nullptr && size != nullptr && *size > 0) text[0] = '\0';
  }
  if (size != nullptr) *size = std::int32_t(bytes);
  if (opened != key) regCloseKey(opened);
  return status;
}

long regEnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t nameSize) {
  Machine& m = machine();
  std::lock_guard<std::mutex> hold(m.lock);
  KeyPtr at;
  if (const long status = usableKey(m, key, KEY_ENUMERATE_SUB_KEYS, at); status != ERROR_SUCCESS) {
    return status;
  }
  if (index >= at->subkeys().size()) return ERROR_NO_MORE_ITEMS;
  const std::string& found = at->subkeys()[index]->name();
  if (name == nullptr || found.size() + 1 > nameSize) return ERROR_MORE_DATA;
  std::memcpy(name, found.c_str(), found.size() + 1);
  return ERROR_SUCCESS;
}

long regEnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                  std::uint32_t* type) {
  Machine& m = machine();
  std::lock_guard<std::mutex> hold(m.lock);
  KeyPtr at;
  if (const long status = usableKey(m, key, KEY_QUERY_VALUE, at); status != ERROR_SUCCESS) {
    return status;
  }
  if (index >= at->values().size()) return ERROR_NO_MORE_ITEMS;
  const regtree::Value& found = at->values()[index];
  if (type != nullptr) *type = found.type;
  if (name == nullptr || nameSize == nullptr || found.name.size() + 1 > *nameSize) {
    return ERROR_MORE_DATA;
  }
  std::memcpy(name, found.name.c_str(), found.name.size() + 1);
  *nameSize = std::uint32_t(found.name.size());
  return ERROR_SUCCESS;
}

long regDeleteValue(RegKey key, const char* name) {
  Machine& m = machine();
  std::lock_guard<std::mutex> hold(m.lock);
  KeyPtr at;
  if (const long status = usableKey(m, key, KEY_SET_VALUE, at); status != ERROR_SUCCESS) {
    return status;
  }
  if (host::injectedFailure(host::HostCall::RegistryWrite)) return ERROR_ACCESS_DENIED;
  if (!at->removeValue(nameOf(name))) return ERROR_FILE_NOT_FOUND;
  m.save();
  return ERROR_SUCCESS;
}

long regDeleteKey(RegKey key, const char* subKey, std::uint32_t view) {
  Machine& m = machine();
  std::lock_guard<std::mutex> hold(m.lock);
  KeyPtr parent;
  if (const long status = usableKey(m, key, 0, parent); status != ERROR_SUCCESS) {
    return status;
  }
  std::vector<std::string> parts;
  if (!splitSubKey(subKey, parts)) return ERROR_BAD_PATHNAME;
  if (parts.empty()) return ERROR_ACCESS_DENIED;  // a key does not delete itself here
  KeyPath path;
  if (!m.placeOf(key, parts, view, path)) return ERROR_INVALID_HANDLE;
  if (!startsWithHandle(m, key, path, parts)) {
    parent = m.top();
    parts = path;
  }
  const std::string last = parts.back();
  parts.pop_back();
  for (const std::string& part : parts) {
    parent = parent->subkey(part);
    if (parent == nullptr) return ERROR_FILE_NOT_FOUND;
  }
  const KeyPtr doomed = parent->subkey(last);
  if (doomed == nullptr) return ERROR_FILE_NOT_FOUND;
  // Windows deletes only keys without subkeys, and never a root.
  if (!doomed->subkeys().empty() || m.isRoot(doomed)) return ERROR_ACCESS_DENIED;
  if (host::injectedFailure(host::HostCall::RegistryWrite)) return ERROR_ACCESS_DENIED;
  parent->removeSubkey(last);
  m.save();
  return ERROR_SUCCESS;
}

namespace host {

void reloadRegistry() {
  Machine& m = machine();
  std::lock_guard<std::mutex> hold(m.lock);
  m.reload();
}

std::string registryFilePath() {
  return prefixRoot() + "/registry.reg";
}

}  // namespace host
}  // namespace platform
