#include "system/SettingsStore.h"

#include "base/Paths.h"
#include "package/PackageFormat.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/WinDefs.h"

namespace {

constexpr std::uint32_t kReadWrite = KEY_READ | KEY_WRITE;

void saveAppFile(const SettingsStore& store, const InstallModel& model,
                 const InstallTarget& target) {
  if (model.selectableItem < 0 || model.selectableItem >= model.itemCount()) return;
  SetupString file(model.itemAt(model.selectableItem)->fileName);
  SetupString location;
  if (!target.location(location) || !moveToFolder(file, location.text())) return;
  char shortPath[kPathBufferSize];
  store.putText(kInstallSection, "AppFile",
                platform::getShortPathName(file.text(), shortPath, sizeof shortPath) > 0
                    ? shortPath
                    : file.text());
}

}  // namespace

OpenKey SettingsStore::openSection(const char* section) const {
  OpenKey key;
  // A name the package gives must be one key, or the settings would land in some
  // other publisher's key, or straight in "software" when it is empty.
  if (!isKeyName(companyKey_.text()) || !isKeyName(productKey_.text())) return key;
  // "software" is there on every machine and is never made here; the company's,
  // the product's and the section's keys are made as needed.
  OpenKey software, companyKey, productKey;
  if (software.open(root_, "software", kReadWrite) != ERROR_SUCCESS ||
      companyKey.create(software.root(), companyKey_.text(), kReadWrite) != ERROR_SUCCESS ||
      productKey.create(companyKey.root(), productKey_.text(), kReadWrite) != ERROR_SUCCESS) {
    return key;
  }
  key.create(productKey.root(), section, kReadWrite);
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

void saveInstallOptions(InstallOptions& options, const InstallTarget& target) {
  const InstallModel* model = options.model;
  if (model == nullptr) return;
  const SettingsStore store(target, model->companyName.text(), model->settingsKeyName.text());
  if (options.TopMenuEntry) options.ParentMenuEntry = SetupString();
  store.putInt(kInstallSection, "CurrentUser", options.CurrentUser);
  store.putInt(kInstallSection, "StartMenuEntry", options.StartMenuEntry);
  store.putInt(kInstallSection, "TopMenuEntry", options.TopMenuEntry);
  store.putInt(kInstallSection, "DesktopIcon", options.DesktopIcon);
  store.putText(kInstallSection, "ParentFolder", target.parentFolder.text());
  store.putText(kInstallSection, "ParentMenuEntry", options.ParentMenuEntry.text());

  saveAppFile(store, *model, target);
  // The view that every setup knew is left unsaid, so such a section stays as it was.
  if (target.view != RegistryView::Bits32) {
    store.putInt(kInstallSection, kRegistryViewEntry, int(target.view));
  }
}
