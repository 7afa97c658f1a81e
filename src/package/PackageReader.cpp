// Reading the package resource into the InstallModel: one forward pass that stops
// at the first thing it cannot read, then the package rules (PackageRules.h) over
// what it read, which kpack applies to its manifests too. Failures travel as a
// PackageError inside this file and become the false result of readPackage.
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <new>
#include <utility>

#include "package/InstallModel.h"
#include "package/PackageFormat.h"
#include "package/PackageRules.h"

namespace {

struct PackageError {
  SetupString reason;
};

class PackageReader {
 public:
  // `decode` null: the pictures' bytes are skipped and the pictures left empty.
  PackageReader(ByteView package, std::uint32_t& position, InstallModel::PictureDecoder decode)
      : package_(package), position_(position), decode_(decode) {}

  void read(InstallModel& model);

 private:
  [[noreturn]] void fail(const char* fmt, ...) __attribute__((format(printf, 2, 3)));

  std::uint32_t readU32(const char* field);
  void readText(SetupString& out, const char* field);
  ByteView readBlob(const char* field);
  void readBlob(ByteStream& out, const char* field);
  void readPicture(Image& out, const char* field);
  void readItem(InstallItem& item, int index);
  void readFileType(FileTypeEntry& entry);
  void readExtensions(ExtensionSet& set, const char* field);
  void checkModel(InstallModel& model);

  const ByteView package_;
  std::uint32_t& position_;
  const InstallModel::PictureDecoder decode_;
  SetupString context_;  // which record is being read, for the failure reason
};

void PackageReader::fail(const char* fmt, ...) {
  char text[512];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(text, sizeof text, fmt, args);
  va_end(args);
  PackageError error;
  error.reason.format("%s%s (at byte %u)", context_.text(), text, unsigned(position_));
  throw error;
}

std::uint32_t PackageReader::readU32(const char* field) {
  std::uint32_t value = 0;
  if (::readU32(package_, position_, value) != S_OK) fail("%s: data ends", field);
  return value;
}

void PackageReader::readText(SetupString& out, const char* field) {
  unsigned char tag = 0;
  if (package_.readAt(position_, 1, &tag) != S_OK) fail("%s: data ends", field);
  if (tag != kPackedStringTag) fail("%s: text tag 0x%02X is not 0xFF", field, tag);
  const std::uint32_t n = readU32(field);
  if (n == 0) {
    out = SetupString();
    return;
  }
  if (n > kMaxPackedText) fail("%s: text of %u bytes is longer than 1024", field, unsigned(n));
  char* buffer = out.lockBuffer(int(n));
  if (package_.readAt(position_, n, buffer) != S_OK) {
    out.unlockBuffer(0);
    fail("%s: data ends inside the text", field);
  }
  // The text ends at its first NUL; the bytes after it are read and dropped.
  buffer[n] = '\0';
  out.unlockBuffer(-1);
}

ByteView PackageReader::readBlob(const char* field) {
  ByteView blob;
  if (package_.readBlob(position_, blob) != S_OK) fail("%s: blob runs past the end", field);
  return blob;
}

void PackageReader::readBlob(ByteStream& out, const char* field) {
  const ByteView blob = readBlob(field);
  out.clear();
  if (out.appendBytes(blob.size(), blob.bytes()) != S_OK) fail("%s: out of memory", field);
}

void PackageReader::readPicture(Image& out, const char* field) {
  if (decode_ == nullptr) {
    readBlob(field);
    out.Clear();
    return;
  }
  ByteStream jpeg;
  readBlob(jpeg, field);
  if (!decode_(jpeg, out)) fail("%s: not a decodable JPEG picture", field);
}

void PackageReader::readExtensions(ExtensionSet& set, const char* field) {
  const std::uint32_t count = readU32(field);
  SetupString extension;
  for (std::uint32_t i = 0; i < count; ++i) {
    readText(extension, field);
    if (!set.addExtension(extension.text())) {
      fail("%s: extension \"%s\" is empty or listed twice", field, extension.text());
    }
  }
}

void PackageReader::readFileType(FileTypeEntry& entry) {
  readText(entry.progId, "progId");
  readText(entry.typeDescription, "typeDescription");
  entry.iconIndex = std::int32_t(readU32("iconIndex"));
  readText(entry.shellExKey, "shellExKey");
  entry.handlerItem = std::int32_t(readU32("handlerItem"));
  readExtensions(entry.fixedExtensions, "fixedExtensions");
  readExtensions(entry.optionalExtensions, "optionalExtensions");
}

void PackageReader::readItem(InstallItem& item, int index) {
  context_.format("item %d: ", index);
  readText(item.fileName, "fileName");
  context_.format("item %d (%s): ", index, item.fileName.text());
  item.flags = readU32("flags");
  item.unpackedSize = readU32("unpackedSize");
  item.packedData = readBlob("packedData");
  if (item.flags & kItemMenuShortcut) readText(item.menuShortcutName, "menuShortcutName");
  if (item.flags & kItemDesktopShortcut) {
    readText(item.desktopShortcutName, "desktopShortcutName");
  }
  if (item.flags & kItemUninstaller) {
    item.iconItem = std::int32_t(readU32("iconItem"));
    readText(item.uninstallComment, "uninstallComment");
  }
  if (item.flags & kItemComServer) {
    readText(item.classId, "classId");
    readText(item.serverName, "serverName");
  }
  if (item.flags & kItemApplication) {
    readText(item.applicationTitle, "applicationTitle");
    const std::uint32_t count = readU32("file-type count");
    const SetupString itemContext = context_;
    for (std::uint32_t t = 0; t < count; ++t) {
      auto entry = std::make_unique<FileTypeEntry>();
      context_.format("%sfile type %u: ", itemContext.text(), unsigned(t));
      readFileType(*entry);
      if (!item.addFileType(entry.get())) {
        fail("progId \"%s\" is listed twice", entry->progId.text());
      }
      entry.release();  // adopted by the item
    }
    context_ = itemContext;
  }
  context_ = SetupString();
}

void PackageReader::checkModel(InstallModel& model) {
  RuleViolation violation;
  if (!checkPackageRules(model, violation)) {
    PackageError error;
    SetupString item, type;
    if (violation.item >= 0) {
      item.format("item %d (%s): ", violation.item, model.itemAt(violation.item)->fileName.text());
    }
    if (violation.fileType != nullptr) {
      type.format("file type %s: ", violation.fileType->progId.text());
    }
    error.reason.format("%s%s%s: %s", item.text(), type.text(), ruleFieldName(violation.field),
                        violation.message.text());
    throw error;
  }
  // The setup's one quiet correction: an application without document types
  // registers no COM server either.
  for (int i = 0; i < model.itemCount(); ++i) {
    InstallItem& item = *model.itemAt(i);
    item.flags = effectiveItemFlags(item);
  }
  findSelectableType(model, model.selectableItem, model.selectableType);
}

void PackageReader::read(InstallModel& model) {
  if (readU32("magic") != kPackageMagic) fail("not a package: wrong magic number");
  const std::uint32_t version = readU32("version");
  if (version != kPackageVersion) fail("package version %u is not 1", unsigned(version));

  readText(model.displayName, "displayName");
  readText(model.companyName, "companyName");
  readText(model.companyUrl, "companyUrl");
  readText(model.productUrl, "productUrl");
  readText(model.settingsKeyName, "settingsKeyName");
  readText(model.installFolderName, "installFolderName");
  readText(model.spareText, "spareText");
  readPicture(model.sidePicture, "sidePicture");
  readPicture(model.logoPicture, "logoPicture");
  readBlob(model.licenceText, "licenceText");

  const std::uint32_t count = readU32("item count");
  for (std::uint32_t i = 0; i < count; ++i) {
    auto item = std::make_unique<InstallItem>();
    readItem(*item, int(i));
    if (model.items.add(item.get()) < 0) fail("out of memory for item %u", unsigned(i));
    item.release();  // adopted by the model
  }
  checkModel(model);
}

}  // namespace

bool InstallModel::readPackageWithoutPictures(const ByteStream& stream, std::uint32_t& position) {
  return copyAndRead(stream, position, nullptr);
}

bool InstallModel::copyAndRead(const ByteStream& stream, std::uint32_t& position,
                               PictureDecoder decode) {
  reset();
  if (ownBytes_.appendBytes(stream.size(), stream.bytes()) != S_OK) {
    failureReason_ = "out of memory";
    return false;
  }
  return readInPlace(ownBytes_.view(), position, decode);
}

bool InstallModel::readInPlace(ByteView package, std::uint32_t& position, PictureDecoder decode) {
  failureReason_ = SetupString();
  try {
    PackageReader(package, position, decode).read(*this);
    return true;
  } catch (PackageError& error) {
    reset();
    failureReason_ = std::move(error.reason);
    return false;
  } catch (const std::bad_alloc&) {
    reset();
    failureReason_ = "out of memory";
    return false;
  }
}
