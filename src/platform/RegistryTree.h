// An in-memory registry: keys with subkeys and values, named case-insensitively and
// case-preservingly, as the Windows registry names them. The host backend keeps its
// machine's registry in one; the .reg file reader and writer (RegFile.h) fill and
// walk it.
//
// Value data is kept as the ANSI functions pass it: the text of the string types in
// the ANSI code page, every other type as raw bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace regtree {

// Compares two key or value names as the registry does: without regard to letter
// case in the ANSI code page. Negative, zero or positive.
int compareNames(const std::string& a, const std::string& b);

struct Value {
  std::string name;  // "" for the key's default value
  std::uint32_t type = 0;
  std::string data;
};

class Key {
 public:
  explicit Key(std::string name) : name_(std::move(name)) {}
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;

  const std::string& name() const { return name_; }

  // Subkeys in the registry's enumeration order: by name, without regard to case.
  const std::vector<std::shared_ptr<Key>>& subkeys() const { return subkeys_; }
  // The subkey `name`, or null.
  std::shared_ptr<Key> subkey(const std::string& name) const;
  // The subkey `name`, added when missing.
  std::shared_ptr<Key> addSubkey(const std::string& name);
  // Detaches subkey `name` and marks it, and everything below it, deleted. False
  // when there is none.
  bool removeSubkey(const std::string& name);

  // Values in the order they were first set.
  const std::vector<Value>& values() const { return values_; }
  const Value* value(const std::string& name) const;
  // Replaces the value's type and data, or appends a new value.
  void setValue(const std::string& name, std::uint32_t type, std::string data);
  bool removeValue(const std::string& name);

  // A deleted key keeps its handles valid but answers nothing.
  bool deleted() const { return deleted_; }

 private:
  void markDeleted();

  std::string name_;
  std::vector<std::shared_ptr<Key>> subkeys_;
  std::vector<Value> values_;
  bool deleted_ = false;
};

// Splits a key path at its backslashes. False for a path with an empty component
// (a leading backslash or two in a row); one trailing backslash is allowed. An
// empty path gives no components.
bool splitKeyPath(const std::string& path, std::vector<std::string>& components);

}  // namespace regtree
