#include "system/FileTypes.h"

#include <iterator>

#include "base/Paths.h"
#include "base/SortedStringSet.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/WinDefs.h"
#include "system/RegistryHelpers.h"

namespace {

constexpr char kOpenWithProgids[] = "\\OpenWithProgids";

// The origins of the extensions, one value per dotted extension below the
// product's settings key: this mark for a key the install made, else the owner
// then (empty for none), followed by the mark when the install listed it. No
// ProgID holds the mark: a key name holds no backslash.
constexpr char kOriginSection[] = "\\Extensions";
constexpr char kOriginMark = '\\';

bool originKey(const InstallModel& model, SetupString& key) {
  if (!settingsKeyPath(model.companyName.text(), model.settingsKeyName.text(), key)) return false;
  key.append(kOriginSection);
  return true;
}

SetupString openWithKey(const char* ext) {
  SetupString key = dottedExtension(ext);
  key.append(kOpenWithProgids);
  return key;
}

bool isListed(const InstallTarget& target, const char* progId, const char* ext) {
  OpenKey key;
  return key.open(target.classes, openWithKey(ext).text(), KEY_QUERY_VALUE) == ERROR_SUCCESS &&
         platform::regQueryValue(key.get(), progId, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// The short form of a path, or the path itself when there is none.
SetupString shortPathOf(const char* path) {
  char buffer[kPathBufferSize];
  return SetupString(platform::getShortPathName(path, buffer, sizeof buffer) > 0 ? buffer : path);
}

bool isEmpty(const char* text) {
  return text == nullptr || *text == '\0';
}

// The file name and extension of a path.
SetupString lastComponent(const char* path) {
  PathParts parts;
  splitPath(path, parts);
  return SetupString::concat(parts.name, parts.extension);
}

}  // namespace

SetupString dottedExtension(const char* ext) {
  SetupString out(ext);
  if (out.isEmpty() || out[0] != '.') out.insertText(0, ".");
  return out;
}

bool registerProgId(const InstallTarget& target, bool isApplication, const char* name,
                    const char* description, const char* appPath, int iconIndex,
                    const char* shellExKey, const char* handlerClassId, bool dde) {
  if (isEmpty(name) || isEmpty(description) || isEmpty(appPath)) return false;
  SetupString key;
  key.format("%s%s", isApplication ? "Applications\\" : "", name);
  deleteKeyTree(target.classes, key.text());

  const SetupString shortPath = shortPathOf(appPath);
  SetupString icon;
  icon.format("%s,%d", shortPath.text(), iconIndex);
  // Without its 8.3 form a path may hold blanks, and an unquoted one would make the
  // shell try "C:\Program" first.
  SetupString program(shortPath);
  if (program.findChar(' ') >= 0) quotePath(program);
  SetupString command;
  command.format("%s \"%%1\"", program.text());

  SetupString iconKey, openCommand, editCommand, openDde, editDde;
  iconKey.format("%s%s", key.text(), "\\DefaultIcon");
  openCommand.format("%s%s%s", key.text(), "\\shell\\open\\", "command");
  editCommand.format("%s%s%s", key.text(), "\\shell\\edit\\", "command");
  openDde.format("%s%s%s", key.text(), "\\shell\\open\\", "ddeexec");
  editDde.format("%s%s%s", key.text(), "\\shell\\edit\\", "ddeexec");
  const struct {
    const SetupString& key;
    const char* text;
  } rows[] = {
      {key, description},
      {iconKey, icon.text()},
      {openCommand, command.text()},
      {editCommand, command.text()},
      {openDde, "[open(\"%1\")]"},
      {editDde, "[edit(\"%1\")]"},
  };
  // The DDE rows come last.
  const int rowCount = dde ? int(std::size(rows)) : int(std::size(rows)) - 2;
  for (int i = 0; i < rowCount; ++i) {
    if (!writeRegString(target.classes, rows[i].key.text(), nullptr, rows[i].text)) return false;
  }
  if (!isEmpty(shellExKey) && !isEmpty(handlerClassId)) {
    SetupString slot;
    slot.format("%s%s%s", key.text(), "\\shellex\\", shellExKey);
    return writeRegString(target.classes, slot.text(), nullptr, handlerClassId);
  }
  return true;
}

bool addOpenWithProgid(const InstallTarget& target, const char* progId, const char* ext) {
  if (progId == nullptr || ext == nullptr) return false;
  return writeRegEmptyValue(target.classes, openWithKey(ext).text(), progId);
}

bool removeOpenWithProgid(const InstallTarget& target, const char* progId, const char* ext) {
  if (progId == nullptr || ext == nullptr) return false;
  OpenKey key;
  return key.open(target.classes, openWithKey(ext).text(), KEY_SET_VALUE) == ERROR_SUCCESS &&
         platform::regDeleteValue(key.get(), progId) == ERROR_SUCCESS;
}

void takeExtension(const InstallTarget& target, const char* progId, const char* ext,
                   int listInOpenWith, SetupString* listedOwner) {
  if (progId == nullptr || ext == nullptr) return;
  char owner[kPathBufferSize];
  if (readRegString(target.classes, dottedExtension(ext).text(), nullptr, owner, sizeof owner) &&
      owner[0] != '\0' && compareNoCase(SetupString(owner), SetupString(progId)) != 0 &&
      !isListed(target, owner, ext) && addOpenWithProgid(target, owner, ext) &&
      listedOwner != nullptr) {
    *listedOwner = owner;
  }
  writeRegString(target.classes, dottedExtension(ext).text(), nullptr, progId);
  if (listInOpenWith != 0) addOpenWithProgid(target, progId, ext);
}

bool extensionOwnedBy(const InstallTarget& target, const char* progId, const char* ext) {
  if (progId == nullptr || ext == nullptr) return false;
  char owner[kPathBufferSize];
  if (!readRegString(target.classes, dottedExtension(ext).text(), nullptr, owner, sizeof owner)) {
    return false;
  }
  return compareNoCase(SetupString(owner), SetupString(progId)) == 0;
}

bool disownExtension(const InstallTarget& target, const char* progId, const char* ext) {
  removeOpenWithProgid(target, progId, ext);
  if (!extensionOwnedBy(target, progId, ext)) return false;
  return writeRegString(target.classes, dottedExtension(ext).text(), nullptr, "");
}

bool firstOtherProgid(const InstallTarget& target, SetupString& out, const char* ext) {
  if (ext == nullptr) return false;
  OpenKey key;
  if (key.open(target.classes, openWithKey(ext).text(), KEY_QUERY_VALUE) != ERROR_SUCCESS) {
    return false;
  }
  SetupString name;
  char* buffer = name.lockBuffer(kPathBufferSize);
  bool found = false;
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t length = kPathBufferSize;
    if (platform::regEnumValue(key.get(), index, buffer, &length, nullptr) != ERROR_SUCCESS) {
      break;
    }
    if (length > 0) {
      found = true;
      break;
    }
  }
  name.unlockBuffer(found ? -1 : 0);
  if (found) out = name;
  return found;
}

bool releaseExtension(const InstallTarget& target, const char* progId, const char* ext) {
  if (!disownExtension(target, progId, ext)) return false;
  SetupString previous;
  if (firstOtherProgid(target, previous, ext)) takeExtension(target, previous.text(), ext, 0);
  return addOpenWithProgid(target, progId, ext);
}

bool readExtensionOrigin(const InstallTarget& target, const InstallModel& model, const char* ext,
                         ExtensionOrigin& out) {
  out = ExtensionOrigin();
  SetupString key;
  char text[kPathBufferSize];
  if (ext == nullptr || !originKey(model, key) ||
      !readRegString(target.machine, key.text(), dottedExtension(ext).text(), text, sizeof text)) {
    return false;
  }
  out.known = true;
  SetupString owner(text);
  const int mark = owner.findChar(kOriginMark);
  out.created = mark == 0 && owner.length() == 1;
  if (mark >= 0) owner.eraseRange(mark, owner.length() - mark);
  out.previousOwner = owner;
  out.listedOwner = mark > 0;
  return true;
}

bool giveBackExtension(const InstallTarget& target, const char* progId, const char* ext,
                       const ExtensionOrigin& origin) {
  if (!releaseExtension(target, progId, ext)) return false;
  const char* previous = origin.previousOwner.text();
  if (*previous != '\0' && isListed(target, previous, ext)) {
    takeExtension(target, previous, ext, 0);
  }
  return true;
}

namespace {

// Takes or releases one extension of a document type, recording what it found the
// first time. A later install keeps that record (a key it made stays made by it)
// unless it finds another program's owner there: one the user chose since.
void claimExtension(const InstallTarget& target, const InstallModel& model, const char* progId,
                    const char* ext, bool take) {
  SetupString record;
  const bool recording = originKey(model, record);
  ExtensionOrigin origin;
  const bool recorded = readExtensionOrigin(target, model, ext, origin);
  const SetupString dotted = dottedExtension(ext);
  char text[kPathBufferSize];
  const bool existed = readRegString(target.classes, dotted.text(), nullptr, text, sizeof text);
  SetupString found;
  if (existed && compareNoCase(SetupString(text), SetupString(progId)) != 0) found = text;

  SetupString listed;
  if (take) {
    takeExtension(target, progId, ext, 1, &listed);
  } else if (!giveBackExtension(target, progId, ext, origin)) {
    addOpenWithProgid(target, progId, ext);
  }
  if (!recording) return;
  if (recorded &&
      (origin.created || found.isEmpty() || compareNoCase(found, origin.previousOwner) == 0)) {
    return;
  }
  SetupString value;
  if (existed) {
    value = found;
    if (!listed.isEmpty()) value.append(kOriginMark);
  } else {
    value = SetupString(kOriginMark, 1);
  }
  writeRegString(target.machine, record.text(), dotted.text(), value.text());
}

}  // namespace

void registerDocumentTypes(const InstallTarget& target, const InstallOptions& options,
                           int itemIndex, const char* appPath) {
  const InstallModel* model = options.model;
  if (model == nullptr || itemIndex < 0 || itemIndex >= model->itemCount()) return;
  const InstallItem& item = *model->itemAt(itemIndex);
  // The shell looks an application up by the name of its file, which is the last
  // part of the name the package gives.
  const bool dde = (item.flags & kItemNoDde) == 0;
  registerProgId(target, true, lastComponent(item.fileName.text()).text(),
                 item.applicationTitle.text(), appPath, 0, nullptr, nullptr, dde);

  for (int j = 0; j < item.fileTypes.count(); ++j) {
    const FileTypeEntry& type = *item.fileTypes.at(j);
    const char* slot = nullptr;
    const char* handler = nullptr;
    if (!type.shellExKey.isEmpty()) {
      const InstallItem* server = type.handlerItem >= 0 && type.handlerItem < model->itemCount()
                                      ? model->itemAt(type.handlerItem)
                                      : nullptr;
      if (server != nullptr && server->isComServer()) {
        slot = type.shellExKey.text();
        handler = server->classId.text();
      }
    }
    const char* progId = type.progId.text();
    if (!registerProgId(target, false, progId, type.typeDescription.text(), appPath, type.iconIndex,
                        slot, handler, dde)) {
      continue;
    }
    const bool selected = itemIndex == model->selectableItem && j == model->selectableType;
    for (int k = 0; k < type.fixedExtensions.count(); ++k) {
      claimExtension(target, *model, progId, type.fixedExtensions.at(k)->text(), true);
    }
    for (int k = 0; k < type.optionalExtensions.count(); ++k) {
      claimExtension(
          target, *model, progId, type.optionalExtensions.at(k)->text(),
          selected && k < InstallOptions::kMaxFileTypeChoices && options.fileTypeChoices[k]);
    }
  }
}
