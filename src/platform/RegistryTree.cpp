#include "platform/RegistryTree.h"

#include <algorithm>

#include "platform/Text.h"

namespace regtree {

int compareNames(const std::string& a, const std::string& b) {
  const unsigned char* upper = platform::ansiUpperTable();
  const std::size_t n = std::min(a.size(), b.size());
  bool trailByte = false;
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char ca = (unsigned char)a[i], cb = (unsigned char)b[i];
    // The second byte of a double-byte character is compared as it is.
    const int fa = trailByte ? ca : upper[ca];
    const int fb = trailByte ? cb : upper[cb];
    if (fa != fb) return fa < fb ? -1 : 1;
    trailByte = !trailByte && platform::isLeadByte(ca);
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::shared_ptr<Key> Key::subkey(const std::string& name) const {
  auto at = std::lower_bound(subkeys_.begin(), subkeys_.end(), name,
                             [](const std::shared_ptr<Key>& k, const std::string& n) {
                               return compareNames(k->name_, n) < 0;
                             });
  if (at != subkeys_.end() && compareNames((*at)->name_, name) == 0) return *at;
  return nullptr;
}

std::shared_ptr<Key> Key::addSubkey(const std::string& name) {
  auto at = std::lower_bound(subkeys_.begin(), subkeys_.end(), name,
                             [](const std::shared_ptr<Key>& k, const std::string& n) {
                               return compareNames(k->name_, n) < 0;
                             });
  if (at != subkeys_.end() && compareNames((*at)->name_, name) == 0) return *at;
  return *subkeys_.insert(at, std::make_shared<Key>(name));
}

bool Key::removeSubkey(const std::string& name) {
  for (auto at = subkeys_.begin(); at != subkeys_.end(); ++at) {
    if (compareNames((*at)->name_, name) == 0) {
      (*at)->markDeleted();
      subkeys_.erase(at);
      return true;
    }
  }
  return false;
}

void Key::markDeleted() {
  deleted_ = true;
  for (const auto& k : subkeys_) k->markDeleted();
  subkeys_.clear();
  values_.clear();
}

const Value* Key::value(const std::string& name) const {
  for (const Value& v : values_) {
    if (compareNames(v.name, name) == 0) return &v;
  }
  return nullptr;
}

void Key::setValue(const std::string& name, std::uint32_t type, std::string data) {
  for (Value& v : values_) {
    if (compareNames(v.name, name) == 0) {
      v.type = type;
      v.data = std::move(data);
      return;
    }
  }
  values_.push_back(Value{name, type, std::move(data)});
}

bool Key::removeValue(const std::string& name) {
  for (auto at = values_.begin(); at != values_.end(); ++at) {
    if (compareNames(at->name, name) == 0) {
      values_.erase(at);
      return true;
    }
  }
  return false;
}

bool splitKeyPath(const std::string& path, std::vector<std::string>& components) {
  components.clear();
  std::string part;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const char c = path[i];
    if (c == '\\') {
      if (part.empty()) return false;
      components.push_back(part);
      part.clear();
      continue;
    }
    part += c;
    // A trail byte with the value of a backslash is part of its character.
    if (platform::isLeadByte((unsigned char)c) && i + 1 < path.size()) part += path[++i];
  }
  if (!part.empty()) components.push_back(part);
  return true;
}

}  // namespace regtree
