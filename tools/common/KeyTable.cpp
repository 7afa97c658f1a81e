#include "common/KeyTable.h"

#include <cstdint>

#include "common/ClosestName.h"

namespace tools {

namespace {

JsonReport objectSchema(const KeyTable& table, const std::string& section);

JsonReport rawBits() {
  JsonReport bits;
  bits["type"] = "integer";
  bits["minimum"] = 0;
  bits["maximum"] = std::uint32_t(0xFFFFFFFFu);
  return bits;
}

JsonReport listOf(JsonReport element) {
  JsonReport list;
  list["type"] = "array";
  list["items"] = std::move(element);
  return list;
}

JsonReport ofType(const char* type) {
  JsonReport value;
  value["type"] = type;
  return value;
}

JsonReport valueSchema(const KeyTable& table, const Key& key) {
  JsonReport value;
  value["description"] = key.description;
  switch (key.type) {
    case KeyType::Text:
    case KeyType::File:
      value["type"] = "string";
      break;
    case KeyType::Integer:
      value["type"] = "integer";
      break;
    case KeyType::Number:
      value["type"] = "number";
      break;
    case KeyType::Boolean:
      value["type"] = "boolean";
      break;
    case KeyType::Texts:
      value.update(listOf(ofType("string")));
      break;
    case KeyType::Numbers:
      value.update(listOf(ofType("number")));
      break;
    case KeyType::Pairs: {
      JsonReport pair = ofType("array");
      pair["minItems"] = 2;
      pair["maxItems"] = 2;
      value.update(listOf(std::move(pair)));
      break;
    }
    case KeyType::Flags: {
      JsonReport names;
      names["enum"] = table.flagNames;
      JsonReport either = JsonReport::array({std::move(names), rawBits()});
      JsonReport element;
      element["anyOf"] = std::move(either);
      value["anyOf"] = JsonReport::array({listOf(std::move(element)), rawBits()});
      break;
    }
    case KeyType::Table:
      value.update(objectSchema(table, sectionHeldBy(key)));
      break;
    case KeyType::Tables:
      value.update(listOf(objectSchema(table, sectionHeldBy(key))));
      if (key.required) value["minItems"] = 1;
      break;
  }
  return value;
}

JsonReport objectSchema(const KeyTable& table, const std::string& section) {
  JsonReport object;
  object["type"] = "object";
  JsonReport properties = JsonReport::object();
  JsonReport required = JsonReport::array();
  for (const Key& key : table.keys) {
    if (key.section != section) continue;
    properties[key.name] = valueSchema(table, key);
    if (key.required) required.push_back(key.name);
  }
  object["properties"] = std::move(properties);
  if (!required.empty()) object["required"] = std::move(required);
  object["additionalProperties"] = false;
  return object;
}

}  // namespace

const Key* KeyTable::find(const std::string& section, const std::string& name) const {
  for (const Key& key : keys) {
    if (key.section == section && key.name == name) return &key;
  }
  return nullptr;
}

std::vector<const char*> KeyTable::namesIn(const std::string& section) const {
  std::vector<const char*> names;
  for (const Key& key : keys) {
    if (key.section == section) names.push_back(key.name);
  }
  return names;
}

std::string KeyTable::didYouMean(const std::string& section, const std::string& typed) const {
  const std::string meant = closestName(typed, namesIn(section));
  return meant.empty() ? "" : "; did you mean \"" + meant + "\"?";
}

const char* typeName(KeyType type) {
  switch (type) {
    case KeyType::Text:
      return "a text";
    case KeyType::File:
      return "a file name";
    case KeyType::Integer:
      return "a whole number";
    case KeyType::Number:
      return "a number";
    case KeyType::Boolean:
      return "true or false";
    case KeyType::Texts:
      return "a list of texts";
    case KeyType::Numbers:
      return "a list of numbers";
    case KeyType::Pairs:
      return "a list of pairs";
    case KeyType::Flags:
      return "a list of flag names or a number";
    case KeyType::Table:
      return "a table";
    case KeyType::Tables:
      return "a list of tables";
  }
  return "";
}

std::string sectionHeldBy(const Key& key) {
  if (key.holds != nullptr) return key.holds;
  const std::string section = key.section;
  return section.empty() ? key.name : section + "." + key.name;
}

JsonReport jsonSchemaOf(const KeyTable& table, const std::string& root, const std::string& title,
                        const std::string& description) {
  JsonReport schema;
  schema["$schema"] = "http://json-schema.org/draft-07/schema#";
  schema["title"] = title;
  schema["description"] = description;
  schema.update(objectSchema(table, root));
  return schema;
}

}  // namespace tools
