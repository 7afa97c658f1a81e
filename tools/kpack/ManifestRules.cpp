#include "kpack/ManifestRules.h"

#include <cstring>

#include "base/Paths.h"
#include "base/SortedStringSet.h"
#include "package/PackageFormat.h"
#include "package/PackageRules.h"
#include "render/Skin.h"
#include "widgets/FileTypeGrid.h"

namespace kpack {
namespace {

std::string itemField(int item) {
  return "items[" + std::to_string(item) + "]";
}

std::string typeField(int item, int type) {
  return itemField(item) + ".file-types[" + std::to_string(type) + "]";
}

// The manifest's index of the item's type with this ProgID (the model keeps them
// sorted, the manifest as written).
int manifestTypeIndex(const ManifestItem& item, const SetupString& progId) {
  for (std::size_t k = 0; k < item.fileTypes.size(); ++k) {
    if (progId == item.fileTypes[k].progId.c_str()) return int(k);
  }
  return -1;
}

// The installed file's name: every item lands directly in the install folder.
SetupString installedName(const std::string& fileName) {
  PathParts parts;
  splitPath(fileName.c_str(), parts);
  return SetupString::concat(parts.name, parts.extension);
}

class Rules {
 public:
  Rules(const Manifest& manifest, const InstallModel& model) : m_(manifest), model_(model) {}

  void checkShared();
  void checkProduct();
  void checkItems();
  void checkFileTypes();

 private:
  [[noreturn]] void refuse(const std::string& field, const std::string& fallback,
                           const std::string& message) const {
    throw ManifestError(m_.complaint(field, fallback, message));
  }
  // Refuses an empty text; "missing" when the key is not given at all.
  void required(const std::string& text, const std::string& field, const std::string& fallback,
                const std::string& why) const {
    if (!text.empty()) return;
    refuse(field, fallback, (m_.lines.count(field) ? "is empty: " : "missing: ") + why);
  }

  const Manifest& m_;
  const InstallModel& model_;
};

void Rules::checkShared() {
  RuleViolation violation;
  if (checkPackageRules(model_, violation)) return;
  std::string field;
  std::string fallback;
  if (violation.item >= 0) fallback = itemField(violation.item);
  if (violation.fileType != nullptr) {
    const int k =
        manifestTypeIndex(m_.items[std::size_t(violation.item)], violation.fileType->progId);
    fallback = typeField(violation.item, k);
  }
  switch (violation.field) {
    case RuleField::Items:
      field = "items";
      break;
    case RuleField::InstallFolderName:
      field = "product.install-folder";
      fallback = "product";
      break;
    case RuleField::FileName:
      field = fallback + ".name";
      break;
    case RuleField::ClassId:
      field = fallback + ".class-id";
      break;
    case RuleField::ServerName:
      field = fallback + ".server-name";
      break;
    case RuleField::IconItem:
      field = fallback + ".icon-item";
      break;
    case RuleField::ProgId:
      field = fallback + ".prog-id";
      break;
    case RuleField::FixedExtensions:
      field = fallback + ".extensions";
      break;
    case RuleField::OptionalExtensions:
      field = fallback + ".optional-extensions";
      break;
    case RuleField::ShellExKey:
      field = fallback + ".shell-ex-key";
      break;
    case RuleField::HandlerItem:
      field = fallback + ".handler-item";
      break;
  }
  refuse(field, fallback, violation.message.text());
}

void Rules::checkProduct() {
  const std::string& name = m_.displayName;
  required(name, "product.name", "product",
           "the product name names the Start-menu folder and the uninstall entry");
  for (const char c : name) {
    if ((unsigned char)c < 0x20 || std::strchr("/:*?\"<>|", c) != nullptr) {
      const std::string shown = (unsigned char)c < 0x20
                                    ? "control character " + std::to_string(int(c))
                                    : std::string("'") + c + "'";
      refuse("product.name", "product",
             "holds " + shown +
                 ", which Windows does not allow in a file name, so the setup cannot make the "
                 "product's Start-menu folder");
    }
  }
  if (name.back() == '.' || name.back() == ' ') {
    refuse("product.name", "product",
           "ends in a dot or a blank, which Windows drops from a folder name, so the setup "
           "cannot make the product's Start-menu folder");
  }
  // The uninstall entry is named after the name's last part, and an empty one
  // would put its values on the list of all programs itself.
  if (name.back() == '\\') {
    refuse("product.name", "product",
           "ends in a backslash, so the uninstall entry, named after its last part, would "
           "have no name");
  }
  if (name.find('\\') != std::string::npos) {
    for (std::size_t i = 0; i < m_.items.size(); ++i) {
      if (m_.items[i].flags & kItemMenuShortcut) {
        refuse("product.name", "product",
               "holds a backslash, so the product's Start-menu folder would lie in a folder "
               "that does not exist, and the menu shortcut of " +
                   itemField(int(i)) + " could not be made");
      }
    }
  }
  if (m_.installFolderName.find_first_of("\\/") != std::string::npos) {
    refuse("product.install-folder", "product",
           "\"" + m_.installFolderName +
               "\" has a subfolder part; the setup creates only the last folder, so on a "
               "machine without the ones above it the install stops at \"Create new folder\"");
  }
  const std::string settings =
      "the program settings are saved under HKLM\\Software\\<company>\\<settings-key>, and "
      "without it they would land a level higher";
  required(m_.companyName, "product.company", "product", settings);
  required(m_.settingsKeyName, "product.settings-key", "product", settings);
  const struct {
    const std::string& name;
    const char* field;
  } keys[] = {{m_.companyName, "product.company"}, {m_.settingsKeyName, "product.settings-key"}};
  for (const auto& key : keys) {
    if (!key.name.empty() && !isKeyName(key.name.c_str())) {
      refuse(key.field, "product",
             "\"" + key.name +
                 "\" must name one registry key, without a backslash, or the "
                 "settings would be saved in another key than the uninstaller removes");
    }
  }
}

void Rules::checkItems() {
  for (std::size_t i = 0; i < m_.items.size(); ++i) {
    const ManifestItem& item = m_.items[i];
    const std::string field = itemField(int(i));
    if (item.flags & kItemUninstaller) {
      const std::string why = "the uninstall entry of " + field +
                              " is written only when the publisher, both web addresses and "
                              "the uninstall comment are all given";
      required(m_.companyUrl, "product.company-url", "product", why);
      required(m_.productUrl, "product.product-url", "product", why);
      required(item.uninstallComment, field + ".uninstall-comment", field, why);
    }
    if (item.flags & kItemApplication) {
      required(item.applicationTitle, field + ".application-title", field,
               "without it the application's entry under Applications\\ is not written");
      if (item.fileTypes.empty() && (item.flags & kItemComServer)) {
        refuse(field + ".flags", field,
               "an application without file types is not registered as a COM server");
      }
    }
    // The install folder is one folder: two items of one name are one file.
    const SetupString name = installedName(item.fileName);
    for (std::size_t j = 0; j < i; ++j) {
      if (compareNoCase(name, installedName(m_.items[j].fileName)) == 0) {
        refuse(field + ".name", field,
               "\"" + std::string(name.text()) + "\" is also the file of " + itemField(int(j)) +
                   ", which this item would overwrite");
      }
    }
  }
}

void Rules::checkFileTypes() {
  for (std::size_t i = 0; i < m_.items.size(); ++i) {
    for (std::size_t k = 0; k < m_.items[i].fileTypes.size(); ++k) {
      const std::string field = typeField(int(i), int(k));
      required(m_.items[i].fileTypes[k].description, field + ".description", field,
               "without a description the type's ProgID is not registered, so its "
               "extensions stay unassociated");
    }
  }
  std::int32_t offeredItem = -1, offeredType = -1;
  if (!findSelectableType(model_, offeredItem, offeredType)) return;
  const FileTypeEntry& offered = *model_.itemAt(offeredItem)->fileTypes.at(offeredType);
  const int offeredIndex = manifestTypeIndex(m_.items[std::size_t(offeredItem)], offered.progId);
  for (std::size_t i = 0; i < m_.items.size(); ++i) {
    for (std::size_t k = 0; k < m_.items[i].fileTypes.size(); ++k) {
      if (int(i) == offeredItem && int(k) == offeredIndex) continue;
      if (m_.items[i].fileTypes[k].optionalExtensions.empty()) continue;
      const std::string field = typeField(int(i), int(k));
      refuse(field + ".optional-extensions", field,
             "only one file type can offer optional extensions, and the setup offers those of " +
                 typeField(offeredItem, offeredIndex) + " (\"" + offered.progId.text() +
                 "\"); these would be neither offered nor associated");
    }
  }
}

}  // namespace

std::unique_ptr<InstallModel> modelOf(const Manifest& manifest) {
  auto model = std::make_unique<InstallModel>();
  model->displayName = manifest.displayName.c_str();
  model->companyName = manifest.companyName.c_str();
  model->companyUrl = manifest.companyUrl.c_str();
  model->productUrl = manifest.productUrl.c_str();
  model->settingsKeyName = manifest.settingsKeyName.c_str();
  model->installFolderName = manifest.installFolderName.c_str();
  model->spareText = manifest.spareText.c_str();
  for (const ManifestItem& from : manifest.items) {
    auto item = std::make_unique<InstallItem>();
    item->fileName = from.fileName.c_str();
    item->flags = from.flags;
    item->menuShortcutName = from.menuShortcutName.c_str();
    item->desktopShortcutName = from.desktopShortcutName.c_str();
    item->iconItem = from.iconItem;
    item->uninstallComment = from.uninstallComment.c_str();
    item->classId = from.classId.c_str();
    item->serverName = from.serverName.c_str();
    item->applicationTitle = from.applicationTitle.c_str();
    for (const ManifestFileType& type : from.fileTypes) {
      auto entry = std::make_unique<FileTypeEntry>();
      entry->progId = type.progId.c_str();
      entry->typeDescription = type.description.c_str();
      entry->iconIndex = type.iconIndex;
      entry->shellExKey = type.shellExKey.c_str();
      entry->handlerItem = type.handlerItem;
      // The loader has refused empty and repeated extensions and ProgIDs already.
      for (const std::string& e : type.fixedExtensions)
        entry->fixedExtensions.addExtension(e.c_str());
      for (const std::string& e : type.optionalExtensions) {
        entry->optionalExtensions.addExtension(e.c_str());
      }
      if (item->addFileType(entry.get())) entry.release();
    }
    if (model->items.add(item.get()) >= 0) item.release();
  }
  return model;
}

void checkManifestRules(const Manifest& manifest) {
  const std::unique_ptr<InstallModel> model = modelOf(manifest);
  Rules rules(manifest, *model);
  rules.checkShared();
  rules.checkProduct();
  rules.checkItems();
  rules.checkFileTypes();
}

std::string offeredTypeField(const Manifest& manifest, const InstallModel& model) {
  if (model.selectableItem < 0) return "";
  const FileTypeEntry& offered =
      *model.itemAt(model.selectableItem)->fileTypes.at(model.selectableType);
  return typeField(
      model.selectableItem,
      manifestTypeIndex(manifest.items[std::size_t(model.selectableItem)], offered.progId));
}

std::string checkBoxGridWarning(const Manifest& manifest, const InstallModel& model,
                                const ByteStream& skin) {
  if (model.selectableItem < 0) return "";
  const FileTypeEntry& offered =
      *model.itemAt(model.selectableItem)->fileTypes.at(model.selectableType);
  const ExtensionSet& extensions = offered.optionalExtensions;
  PictureList pictures;
  SpriteList sprites, standalone;
  FontList fonts;
  std::uint32_t position = 0;
  if (!pictures.LoadSkin(skin, position, sprites, fonts, standalone)) return "";
  ThreePieceBar style(sprites.at(skinslot::kWidgetLeft), sprites.at(skinslot::kWidgetMiddle),
                      sprites.at(skinslot::kWidgetRight));
  std::vector<const char*> labels;
  for (int i = 0; i < extensions.count(); ++i) labels.push_back(extensions.at(i)->text());
  const Size cell =
      FileTypeCheckBoxCell(fonts.at(skinslot::kPageTextFont), labels.data(), int(labels.size()),
                           &style, sprites.at(skinslot::kTickChecked));
  const FileTypeGrid grid = LayOutFileTypeGrid(model.sidePicture.Width(), cell);
  if (extensions.count() <= grid.Capacity()) return "";
  const std::string field = offeredTypeField(manifest, model);
  return manifest.complaint(
      field + ".optional-extensions", field,
      std::to_string(extensions.count()) +
          " extensions, but the default skin's file-type page "
          "shows only " +
          std::to_string(grid.Capacity()) + " check boxes above its links (" +
          std::to_string(grid.columns) + " across, " + std::to_string(grid.rows) +
          " down, beside a side picture " + std::to_string(model.sidePicture.Width()) +
          " pixels wide); the rest would lie over or below the links. A skin of your "
          "own may fit another number");
}

}  // namespace kpack
