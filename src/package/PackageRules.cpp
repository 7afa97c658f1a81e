#include "package/PackageRules.h"

#include <cstdarg>
#include <cstdio>

#include "base/Paths.h"
#include "package/PackageFormat.h"

namespace {

// A handler slot is filled with the class id of an item the setup registers as a
// COM server; a flag the reader clears afterwards does not count.
bool servesAsHandler(const InstallItem* item) {
  return item != nullptr && (effectiveItemFlags(*item) & kItemComServer) != 0 &&
         !item->classId.isEmpty() && !item->serverName.isEmpty();
}

class RuleCheck {
 public:
  RuleCheck(const InstallModel& model, RuleViolation& violation)
      : model_(model), violation_(violation) {}

  bool run();

 private:
  bool item(int index);
  bool fileType(int index, const FileTypeEntry& type);
  // Records the violation; always false, for `return broken(...)`.
  bool broken(RuleField field, int item, const FileTypeEntry* type, const char* fmt, ...)
      __attribute__((format(printf, 5, 6)));

  const InstallModel& model_;
  RuleViolation& violation_;
};

bool RuleCheck::broken(RuleField field, int item, const FileTypeEntry* type, const char* fmt, ...) {
  char text[512];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(text, sizeof text, fmt, args);
  va_end(args);
  violation_.field = field;
  violation_.item = item;
  violation_.fileType = type;
  violation_.message = text;
  return false;
}

bool RuleCheck::fileType(int index, const FileTypeEntry& type) {
  if (!isValidProgId(type.progId.text())) {
    return broken(RuleField::ProgId, index, &type,
                  "must be a key of its own (not empty, no backslash, not an extension or a "
                  "shared key such as CLSID): \"%s\"",
                  type.progId.text());
  }
  const struct {
    const ExtensionSet& list;
    RuleField field;
  } lists[] = {{type.fixedExtensions, RuleField::FixedExtensions},
               {type.optionalExtensions, RuleField::OptionalExtensions}};
  for (const auto& extensions : lists) {
    for (int k = 0; k < extensions.list.count(); ++k) {
      if (!isFileName(extensions.list.at(k)->text())) {
        return broken(extensions.field, index, &type,
                      "extension \"%s\" must be one name, without a backslash or slash and "
                      "not only dots",
                      extensions.list.at(k)->text());
      }
    }
  }
  if (type.shellExKey.isEmpty()) return true;
  if (!isGuidString(type.shellExKey.text())) {
    return broken(RuleField::ShellExKey, index, &type, "must be a braced GUID, not \"%s\"",
                  type.shellExKey.text());
  }
  if (!servesAsHandler(model_.itemAt(type.handlerItem))) {
    return broken(RuleField::HandlerItem, index, &type, "%d is not a com-server item",
                  int(type.handlerItem));
  }
  return true;
}

bool RuleCheck::item(int index) {
  const InstallItem& item = *model_.itemAt(index);
  const int count = model_.itemCount();
  if (!isSafeItemFileName(item.fileName.text())) {
    return broken(RuleField::FileName, index, nullptr, "\"%s\" names no file",
                  item.fileName.text());
  }
  // The reader takes these fields in when the flag is set as stored, so they are
  // checked by that flag, even where it is cleared afterwards.
  if (item.flags & kItemComServer) {
    if (!isGuidString(item.classId.text())) {
      return broken(RuleField::ClassId, index, nullptr, "must be a braced GUID, not \"%s\"",
                    item.classId.text());
    }
    if (item.serverName.isEmpty()) {
      return broken(RuleField::ServerName, index, nullptr, "a COM server needs a name");
    }
  }
  const bool uninstaller = (item.flags & kItemUninstaller) != 0;
  if ((item.iconItem >= 0 || uninstaller) && (item.iconItem < 0 || item.iconItem >= count)) {
    return broken(RuleField::IconItem, index, nullptr, "%d is not the index of an item (0..%d)",
                  int(item.iconItem), count - 1);
  }
  for (int t = 0; t < item.fileTypes.count(); ++t) {
    if (!fileType(index, *item.fileTypes.at(t))) return false;
  }
  return true;
}

bool RuleCheck::run() {
  if (!isSafeInstallFolderName(model_.installFolderName.text())) {
    return broken(RuleField::InstallFolderName, -1, nullptr,
                  "\"%s\" is not a folder below the install location (it is empty, absolute, "
                  "on a drive, or has a '.' or '..' part)",
                  model_.installFolderName.text());
  }
  if (model_.itemCount() < 1) {
    return broken(RuleField::Items, -1, nullptr, "the package needs at least one item");
  }
  for (int i = 0; i < model_.itemCount(); ++i) {
    if (!item(i)) return false;
  }
  return true;
}

}  // namespace

const char* ruleFieldName(RuleField field) {
  switch (field) {
    case RuleField::Items:
      return "items";
    case RuleField::InstallFolderName:
      return "installFolderName";
    case RuleField::FileName:
      return "fileName";
    case RuleField::ClassId:
      return "classId";
    case RuleField::ServerName:
      return "serverName";
    case RuleField::IconItem:
      return "iconItem";
    case RuleField::ProgId:
      return "progId";
    case RuleField::FixedExtensions:
      return "fixedExtensions";
    case RuleField::OptionalExtensions:
      return "optionalExtensions";
    case RuleField::ShellExKey:
      return "shellExKey";
    case RuleField::HandlerItem:
      return "handlerItem";
  }
  return "?";
}

bool checkPackageRules(const InstallModel& model, RuleViolation& violation) {
  return RuleCheck(model, violation).run();
}

std::uint32_t effectiveItemFlags(const InstallItem& item) {
  std::uint32_t flags = item.flags;
  if ((flags & kItemApplication) && item.fileTypes.count() == 0) flags &= ~kItemComServer;
  return flags;
}

bool findSelectableType(const InstallModel& model, std::int32_t& item, std::int32_t& type) {
  for (int i = 0; i < model.itemCount(); ++i) {
    const InstallItem& candidate = *model.itemAt(i);
    for (int t = 0; t < candidate.fileTypes.count(); ++t) {
      if (candidate.fileTypes.at(t)->optionalExtensions.count() > 0) {
        item = i;
        type = t;
        return true;
      }
    }
  }
  item = -1;
  type = -1;
  return false;
}
