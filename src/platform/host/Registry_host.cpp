// The registry of the emulated machine: one tree in memory (RegistryTree.h), read
// from <prefix>/registry.reg when first used and written back there after every
// change, through a temporary file and a rename so the file is never half-written.
// HKEY_CLASSES_ROOT is the key HKEY_LOCAL_MACHINE\Software\Classes.
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

struct Handle {
  KeyPtr key;
  std::uint32_t access;
};

class Machine {
 public:
  std::mutex lock;

  // The key behind a handle or root, with the handle's access; null for a handle
  // that is not open.
  bool resolve(RegKey key, KeyPtr& out, std::uint32_t& access) {
    load();
    if (key == HKEY_LOCAL_MACHINE || key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER ||
        key == HKEY_USERS) {
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

  RegKey open(KeyPtr key, std::uint32_t access) {
    auto* handle = new Handle{std::move(key), access};
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
    for (const char* standard : kStandardKeys) {
      std::vector<std::string> parts;
      regtree::splitKeyPath(standard, parts);
      KeyPtr key = top_;
      for (const std::string& part : parts) key = key->addSubkey(part);
    }
  }

  KeyPtr root(RegKey key) {
    if (key == HKEY_CLASSES_ROOT) {
      return top_->addSubkey("HKEY_LOCAL_MACHINE")->addSubkey("Software")->addSubkey("Classes");
    }
    if (key == HKEY_CURRENT_USER) return top_->addSubkey("HKEY_CURRENT_USER");
    if (key == HKEY_USERS) return top_->addSubkey("HKEY_USERS");
    return top_->addSubkey("HKEY_LOCAL_MACHINE");
  }

  bool loaded_ = false;
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

// The existing key below `from`; ERROR_FILE_NOT_FOUND when a level is missing.
long walk(KeyPtr from, const char* subKey, KeyPtr& out) {
  std::vector<std::string> parts;
  if (!splitSubKey(subKey, parts)) return ERROR_BAD_PATHNAME;
  for (const std::string& part : parts) {
    from = from->subkey(part);
    if (from == nullptr) return ERROR_FILE_NOT_FOUND;
  }
  out = from;
  return ERROR_SUCCESS;
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

}  // namespace

long regCreateKey(RegKey key, const char* subKey, std::uint32_t access, RegKey* result) {
  *result = nullptr;
  Machine& m = machine();
  std::lock_guard<std::mutex> hold(m.lock);
  KeyPtr at;
  if (const long status = usableKey(m, key, 0, at); status != ERROR_SUCCESS) {
    return status;
  }
  std::vector<std::string> parts;
  if (!splitSubKey(subKey, parts)) return ERROR_BAD_PATHNAME;
  bool created = false;
  for (const std::string& part : parts) {
    KeyPtr next = at->subkey(part);
    if (next == nullptr) {
      next = at->addSubkey(part);
      created = true;
    }
    at = next;
  }
  if (created) m.save();
  *result = m.open(at, access);
  return ERROR_SUCCESS;
}

long regOpenKey(RegKey key, const char* subKey, std::uint32_t access, RegKey* result) {
  *result = nullptr;
  Machine& m = machine();
  std::lock_guard<std::mutex> hold(m.lock);
  KeyPtr at;
  if (const long status = usableKey(m, key, 0, at); status != ERROR_SUCCESS) {
    return status;
  }
  if (const long status = walk(at, subKey, at); status != ERROR_SUCCESS) return status;
  *result = m.open(at, access);
  return ERROR_SUCCESS;
}

long regCloseKey(RegKey key) {
  if (key == HKEY_LOCAL_MACHINE || key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER ||
      key == HKEY_USERS) {
    return ERROR_SUCCESS;
  }
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

long regDeleteKey(RegKey key, const char* subKey) {
  Machine& m = machine();
  std::lock_guard<std::mutex> hold(m.lock);
  KeyPtr parent;
  if (const long status = usableKey(m, key, 0, parent); status != ERROR_SUCCESS) {
    return status;
  }
  std::vector<std::string> parts;
  if (!splitSubKey(subKey, parts)) return ERROR_BAD_PATHNAME;
  if (parts.empty()) return ERROR_ACCESS_DENIED;  // a key does not delete itself here
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
