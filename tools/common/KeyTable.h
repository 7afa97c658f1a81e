// The keys a TOML document may hold, section by section, in one table: the
// readers refuse a key that is not in it and name the key it was likely meant to
// be, and a JSON Schema of the document for editors is made from it.
#pragma once

#include <string>
#include <vector>

#include "common/JsonReport.h"

namespace tools {

// What a key's value is.
enum class KeyType {
  Text,
  File,     // a text naming a file, relative to the document's folder
  Integer,  // a whole number
  Number,
  Boolean,
  Texts,    // a list of texts
  Numbers,  // a list of numbers
  Pairs,    // a list of two-element lists, such as [x, y] or [position, "#rrggbb"]
  Flags,    // a list of the table's flag names or raw bits, or raw bits alone
  Table,    // a table of the keys of another section
  Tables,   // a list of such tables ([[name]] or [{...}, ...])
};

struct Key {
  const char* section;  // "" for the top of the document, "items", "items.file-types"
  const char* name;
  KeyType type;
  bool required;
  const char* description;  // one line
  // The section listing the keys of a Table's or Tables' tables, when it is not
  // "section.name" (or "name" at the top).
  const char* holds = nullptr;
};

struct KeyTable {
  std::vector<Key> keys;
  std::vector<const char*> flagNames;  // what a Flags key may list

  const Key* find(const std::string& section, const std::string& name) const;
  // The names of the section's keys, in table order.
  std::vector<const char*> namesIn(const std::string& section) const;
  // "; did you mean "NAME"?" when `typed`, unknown in the section, is close to one
  // of its keys; "" otherwise.
  std::string didYouMean(const std::string& section, const std::string& typed) const;
};

// What a value of the type is, for messages: "a text", "a whole number", ...
const char* typeName(KeyType type);

// The section that holds the keys of a Table or Tables key.
std::string sectionHeldBy(const Key& key);

// A JSON Schema (draft 7) of documents whose top is `root`: every section a
// closed object, every key with its type and description, required keys listed.
JsonReport jsonSchemaOf(const KeyTable& table, const std::string& root, const std::string& title,
                        const std::string& description);

}  // namespace tools
