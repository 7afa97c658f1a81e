#include "system/SettingsStore.h"

#include "base/Paths.h"
#include "package/PackageFormat.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/WinDefs.h"
#include "system/InstallScope.h"

namespace {

constexpr std::uint32_t kReadWrite = KEY_READ | KEY_WRITE;
constexpr char kInstallSection[] = "Install";

}  // namespace

OpenKey SettingsStore::openSection(const char* section) const {
  OpenKey key;
  // A name the package gives must be one key, or the settings would land in some
  // other publisher's key, or straight in "software" when it is empty.
  if (!isKeyName(companyKey_.text()) || !isKeyName(productKey_.text())) return key;
  // "software" is there on every machine and is never made here; the company's,
  // the product's and the section's keys are made as needed.
  OpenKey software, companyKey, productKey;
  const platform::RegKey root = InstallScope::allUsers().machineRoot;
  if (software.open(root, "software", kReadWrite) != ERROR_SUCCESS ||
      companyKey.create(software.get(), companyKey_.text(), kReadWrite) != ERROR_SUCCESS ||
      productKey.create(companyKey.get(), productKey_.text(), kReadWrite) != ERROR_SUCCESS) {
    return key;
  }
  key.create(productKey.get(), section, kReadWrite);
  return key;
}

bool SettingsStore::putInt(const char* section, const char* entry, int value) const {
  const OpenKey key = openSection(section);
  if (key.get() == nullptr) return false;
  const std::uint32_t v = std::uint32_t(value);
  const unsigned char bytes[4] = {(unsigned char)v, (unsigned char)(v >> 8),
                                  (unsigned char)(v >> 16), (unsigned char)(v >> 24)};
  return platform::regSetValue(key.get(), entry, REG_DWORD, bytes, 4) == ERROR_SUCCESS;
}

bool SettingsStore::putText(const char* section, const char* entry, const char* text) const {
  if (text == nullptr) return false;
  const OpenKey key = openSection(section);
  if (key.get() == nullptr) return false;
  const SetupString value(text);
  return platform::regSetValue(key.get(), entry, REG_SZ, value.text(),
                               std::uint32_t(value.length()) + 1) == ERROR_SUCCESS;
}

void saveInstallOptions(InstallOptions& options) {
  const InstallModel* model = options.model;
  if (model == nullptr) return;
  const SettingsStore store(model->companyName.text(), model->settingsKeyName.text());
  if (options.TopMenuEntry) options.ParentMenuEntry = SetupString();
  store.putInt(kInstallSection, "CurrentUser", options.CurrentUser);
  store.putInt(kInstallSection, "StartMenuEntry", options.StartMenuEntry);
  store.putInt(kInstallSection, "TopMenuEntry", options.TopMenuEntry);
  store.putInt(kInstallSection, "DesktopIcon", options.DesktopIcon);
  store.putText(kInstallSection, "ParentFolder", options.ParentFolder.text());
  store.putText(kInstallSection, "ParentMenuEntry", options.ParentMenuEntry.text());

  if (model->selectableItem < 0 || model->selectableItem >= model->itemCount()) return;
  SetupString file(model->itemAt(model->selectableItem)->fileName);
  SetupString location;
  if (!installLocation(*model, options.ParentFolder.text(), location) ||
      !moveToFolder(file, location.text())) {
    return;
  }
  char shortPath[kPathBufferSize];
  store.putText(kInstallSection, "AppFile",
                platform::getShortPathName(file.text(), shortPath, sizeof shortPath) > 0
                    ? shortPath
                    : file.text());
}
