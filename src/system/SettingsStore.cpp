#include "system/SettingsStore.h"

#include "base/Paths.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/WinDefs.h"

namespace {

constexpr std::uint32_t kReadWrite = KEY_READ | KEY_WRITE;
constexpr char kInstallSection[] = "Install";

// Opens `subKey` below `parent` with kReadWrite, creating it when `create` is set,
// and closes `parent` unless it is a root. Null on failure.
platform::RegKey descend(platform::RegKey parent, const char* subKey, bool create) {
  platform::RegKey key = nullptr;
  const long status = create ? platform::regCreateKey(parent, subKey, kReadWrite, &key)
                             : platform::regOpenKey(parent, subKey, kReadWrite, &key);
  if (parent != HKEY_LOCAL_MACHINE) platform::regCloseKey(parent);
  return status == ERROR_SUCCESS ? key : nullptr;
}

// A name the package gives must be one key, or the settings would land in some
// other publisher's key, or straight in "software" when it is empty.
bool isOneKeyName(const SetupString& name) {
  return !name.isEmpty() && name.findChar('\\') < 0;
}

}  // namespace

platform::RegKey SettingsStore::openSection(const char* section) const {
  if (!isOneKeyName(companyKey_) || !isOneKeyName(productKey_)) return nullptr;
  platform::RegKey key = descend(HKEY_LOCAL_MACHINE, "software", false);
  if (key != nullptr) key = descend(key, companyKey_.text(), true);
  if (key != nullptr) key = descend(key, productKey_.text(), true);
  if (key != nullptr) key = descend(key, section, true);
  return key;
}

bool SettingsStore::putInt(const char* section, const char* entry, int value) const {
  platform::RegKey key = openSection(section);
  if (key == nullptr) return false;
  const std::uint32_t v = std::uint32_t(value);
  const unsigned char bytes[4] = {(unsigned char)v, (unsigned char)(v >> 8),
                                  (unsigned char)(v >> 16), (unsigned char)(v >> 24)};
  const bool set = platform::regSetValue(key, entry, REG_DWORD, bytes, 4) == ERROR_SUCCESS;
  platform::regCloseKey(key);
  return set;
}

bool SettingsStore::putText(const char* section, const char* entry, const char* text) const {
  if (text == nullptr) return false;
  platform::RegKey key = openSection(section);
  if (key == nullptr) return false;
  const SetupString value(text);
  const bool set = platform::regSetValue(key, entry, REG_SZ, value.text(),
                                         std::uint32_t(value.length()) + 1) == ERROR_SUCCESS;
  platform::regCloseKey(key);
  return set;
}

void saveInstallOptions(InstallOptions& options) {
  const InstallModel* model = options.model;
  if (model == nullptr) return;
  const SettingsStore store(model->companyName.text(), model->settingsKeyName.text());
  if (options.TopMenuEntry != 0) options.ParentMenuEntry = SetupString();
  store.putInt(kInstallSection, "CurrentUser", options.CurrentUser);
  store.putInt(kInstallSection, "StartMenuEntry", options.StartMenuEntry);
  store.putInt(kInstallSection, "TopMenuEntry", options.TopMenuEntry);
  store.putInt(kInstallSection, "DesktopIcon", options.DesktopIcon);
  store.putText(kInstallSection, "ParentFolder", options.ParentFolder.text());
  store.putText(kInstallSection, "ParentMenuEntry", options.ParentMenuEntry.text());

  if (model->selectableItem < 0 || model->selectableItem >= model->itemCount()) return;
  SetupString file(model->itemAt(model->selectableItem)->fileName);
  SetupString location(model->installFolderName);
  if (!joinPath(location, options.ParentFolder.text()) || !moveToFolder(file, location.text())) {
    return;
  }
  char shortPath[kPathBufferSize];
  store.putText(kInstallSection, "AppFile",
                platform::getShortPathName(file.text(), shortPath, sizeof shortPath) > 0
                    ? shortPath
                    : file.text());
}
