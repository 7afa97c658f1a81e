// The rules a package must keep for the setup to start with it, in one place: the
// setup's reader applies them to what it has read, and kpack to the model it makes
// from a manifest, so the builder never accepts what the setup refuses.
//
// What the model's containers refuse by themselves (an empty or repeated extension
// in one list, a ProgID listed twice in one item) and what only the byte layout
// can break (tags, lengths, pictures) stay with whoever fills the model.
#pragma once

#include <cstdint>

#include "base/SetupString.h"
#include "package/InstallModel.h"

// The package field a rule is about.
enum class RuleField {
  Items,               // the item list as a whole
  InstallFolderName,   // header
  FileName,            // item
  ClassId,             // item
  ServerName,          // item
  IconItem,            // item
  ProgId,              // file type
  FixedExtensions,     // file type
  OptionalExtensions,  // file type
  ShellExKey,          // file type
  HandlerItem,         // file type
};

// The field's name in the package layout ("classId", "handlerItem", ...).
const char* ruleFieldName(RuleField field);

// The first rule a model breaks.
struct RuleViolation {
  RuleField field = RuleField::Items;
  int item = -1;                            // the item's index; -1 for header fields
  const FileTypeEntry* fileType = nullptr;  // the file type, for file-type fields
  SetupString message;                      // what is wrong, without the field's name
};

// Checks `model` as it was read, flags included, before the reader clears the COM
// flag of an application without file types (effectiveItemFlags). True when every
// rule holds; otherwise false, with the first broken rule, in package order, in
// `violation`.
bool checkPackageRules(const InstallModel& model, RuleViolation& violation);

// The flags the setup acts on: an application without document types registers no
// COM server, so it loses flag 0x80.
std::uint32_t effectiveItemFlags(const InstallItem& item);

// The one file type whose optional extensions the user is offered: the first, in
// item order and then in the item's ProgID order, that has any. False, with both
// indexes -1, when no type has optional extensions.
bool findSelectableType(const InstallModel& model, std::int32_t& item, std::int32_t& type);
