// The install package in memory: texts, pictures, licence and the items to install,
// read once at start-up and read-only afterwards; and the user's choices.
#pragma once

#include <cstdint>

#include "base/ByteStream.h"
#include "base/PtrArray.h"
#include "base/SetupString.h"
#include "base/SortedStringSet.h"
#include "package/ProductExtension.h"
#include "platform/PlatformTypes.h"
#include "render/Image.h"

// Item flag bits.
constexpr std::uint32_t kItemCancelSystemCopy = 0x01;  // cancels kItemSystemCopy
constexpr std::uint32_t kItemSystemCopy = 0x02;        // also copied to the system folder
constexpr std::uint32_t kItemMenuShortcut = 0x04;
constexpr std::uint32_t kItemDesktopShortcut = 0x08;
constexpr std::uint32_t kItemRunAfterSetup = 0x10;
constexpr std::uint32_t kItemUninstaller = 0x20;
constexpr std::uint32_t kItemApplication = 0x40;  // registers document types
constexpr std::uint32_t kItemComServer = 0x80;    // an in-process COM server
// An application whose documents open by their command alone: its document types
// get no DDE messages, which a program that does not answer DDE would make the
// shell report as a failed open. Adds no field; packages without it keep DDE.
constexpr std::uint32_t kItemNoDde = 0x100;

// One document type of an application.
struct FileTypeEntry {
  FileTypeEntry() = default;
  FileTypeEntry(const FileTypeEntry&) = delete;
  FileTypeEntry& operator=(const FileTypeEntry&) = delete;

  void reset();

  SetupString progId;  // first: the item's type list is ordered by it
  SetupString typeDescription;
  std::int32_t iconIndex = 0;
  SetupString shellExKey;  // empty, or the GUID of a shell-extension handler slot
  std::int32_t handlerItem = 0;
  ExtensionSet fixedExtensions;     // always associated
  ExtensionSet optionalExtensions;  // associated when the user checks them
};

inline const SetupString& leadingString(const FileTypeEntry& e) {
  return e.progId;
}

// One installed file.
struct InstallItem {
  static constexpr int kFileTypesGrowStep = 10;

  InstallItem() = default;
  InstallItem(const InstallItem&) = delete;
  InstallItem& operator=(const InstallItem&) = delete;

  void reset();
  // Flag 0x80 with both a class id and a server name.
  bool isComServer() const;
  // Adopts the entry unless a type with the same ProgID is present; false then,
  // and the entry stays the caller's.
  bool addFileType(FileTypeEntry* entry) { return fileTypes.addUnique(entry); }

  SetupString fileName;
  SetupString menuShortcutName;
  SetupString desktopShortcutName;
  SetupString classId;
  SetupString serverName;
  SetupString applicationTitle;
  std::int32_t iconItem = -1;
  SetupString uninstallComment;
  std::uint32_t flags = 0;
  std::uint32_t unpackedSize = 0;
  // One complete zlib stream, inside the package bytes the model was read from.
  ByteView packedData;
  SortedStringSet<FileTypeEntry> fileTypes{kFileTypesGrowStep, compareExact};
};

class InstallModel {
 public:
  static constexpr int kItemsGrowStep = 6;

  InstallModel() = default;
  InstallModel(const InstallModel&) = delete;
  InstallModel& operator=(const InstallModel&) = delete;

  // What turns a picture's bytes into the picture (DecodeJpeg); 0 for bytes it
  // cannot take.
  using PictureDecoder = int (*)(const ByteStream& jpeg, Image& target);

  // Reads and checks a whole package resource from `stream` at `position`. On any
  // failure the model is reset and false returned; failureReason() then says why.
  // The model keeps a copy of the stream's bytes for its items' bodies.
  bool readPackage(const ByteStream& stream, std::uint32_t& position);
  // The same without a copy: the items' bodies refer to `package` in place, so its
  // bytes must stay unchanged until the model is reset, read again or destroyed.
  // That is how the setup reads its own resource, which stays mapped as long as
  // the process runs.
  bool readPackage(ByteView package, std::uint32_t& position);
  // The first, checking all but the pictures, which are left empty: for the
  // uninstaller, which shows none and so carries no picture decoder.
  bool readPackageWithoutPictures(const ByteStream& stream, std::uint32_t& position);

  // Empties every text, item, the licence and both pictures, and lets go of the
  // package bytes.
  void reset();

  int itemCount() const { return items.count(); }
  InstallItem* itemAt(int i) const { return items.at(i); }

  // The file type whose optional extensions the user is offered, or null.
  const FileTypeEntry* selectableFileType() const;
  // The place of optional extension `extension` (with or without its dot, in any
  // case) among those offered, which is its slot in
  // InstallOptions::fileTypeChoices; -1 when the setup offers no such extension.
  int optionalExtensionSlot(const char* extension) const;

  // Why the last readPackage failed, for tools and tests; the setup itself only
  // knows that it did.
  const char* failureReason() const { return failureReason_.text(); }

  OwningList<InstallItem> items{kItemsGrowStep};
  SetupString displayName;
  SetupString spareText;
  SetupString companyName;
  SetupString companyUrl;
  SetupString productUrl;
  SetupString settingsKeyName;
  SetupString installFolderName;
  ByteStream licenceText;
  std::int32_t selectableItem = -1;  // the one file type whose optional extensions
  std::int32_t selectableType = -1;  // are offered to the user, or -1, -1
  Image sidePicture;
  Image logoPicture;
  // The same pictures drawn twice as large, when the setup carries them
  // (LargePictures.h); empty otherwise.
  Image largeSidePicture;
  Image largeLogoPicture;
  // Product-level data carried beside the package (ProductExtension.h), read
  // after it; without entries when the setup carries none it can use.
  ProductExtension extension;

 private:
  bool copyAndRead(const ByteStream& stream, std::uint32_t& position, PictureDecoder decode);
  // `decode` null: the pictures are skipped.
  bool readInPlace(ByteView package, std::uint32_t& position, PictureDecoder decode);

  SetupString failureReason_;
  ByteStream ownBytes_;  // the copy made by readPackage(const ByteStream&)
};

// What the user chose in the wizard, and what the install pass needs besides.
struct InstallOptions {
  static constexpr int kMaxFileTypeChoices = 100;

  // Saved as the settings' 0/1 values of the same names.
  bool CurrentUser = false;  // false: shortcuts for all users
  bool StartMenuEntry = false;
  bool TopMenuEntry = false;
  bool DesktopIcon = false;
  SetupString ParentFolder;     // the folder that receives the install folder
  SetupString ParentMenuEntry;  // start-menu group; the wizard leaves it empty
  platform::ModuleHandle module = nullptr;
  const InstallModel* model = nullptr;
  // One slot per optional extension of the selectable type, in the set's order;
  // true associates it. Extensions past the last slot are never associated.
  bool fileTypeChoices[kMaxFileTypeChoices] = {};
};
