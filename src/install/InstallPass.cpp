#include "install/InstallPass.h"

#include "base/Inflate.h"
#include "base/Paths.h"
#include "install/RegistrationStage.h"
#include "platform/Com.h"
#include "platform/Shell.h"
#include "system/FileOps.h"
#include "system/InstallScope.h"

const char* installErrorText(std::int32_t code) {
  switch (code) {
    case FailOverwriteFolder:
      return "Overwrite existing folder";
    case FailCreateFolder:
      return "Create new folder";
    case FailDecompress:
      return "Decompress file";
    case FailWriteFile:
      return "Write file";
    default:
      return "";
  }
}

void chooseDefaultLinks(InstallOptions& options) {
  options.CurrentUser = false;
  options.StartMenuEntry = true;
  options.TopMenuEntry = true;
  options.DesktopIcon = true;
}

void defaultInstallOptions(InstallOptions& options, const InstallModel& model,
                           const char* parentFolder) {
  chooseDefaultLinks(options);
  options.ParentFolder = parentFolder;
  options.model = &model;
  for (bool& choice : options.fileTypeChoices) choice = true;
}

namespace {

class Pass {
 public:
  Pass(InstallOptions& options, InstallListener& listener)
      : options_(options), listener_(listener), items_(options.model->items) {}

  bool run() {
    SetupString location;
    if (!installLocation(*options_.model, options_.ParentFolder.text(), location)) {
      return fail(FailCreateFolder, location);
    }

    if (isDirectory(location.text()) && !deleteTree(location.text(), 0, true)) {
      return fail(FailOverwriteFolder, location);
    }
    if (!createFolder(location.text())) return fail(FailCreateFolder, location);

    std::uint64_t total = 0;
    for (int i = 0; i < items_.count(); ++i) total += items_.at(i)->packedData.size();
    totalBytes_ = total == 0 ? 1 : total > UINT32_MAX ? UINT32_MAX : std::uint32_t(total);

    // One buffer takes every file in turn: it grows to the largest file once and
    // its pages are reused, instead of fresh memory for each file.
    ByteStream content;
    for (int i = 0; i < items_.count(); ++i) {
      const InstallItem& item = *items_.at(i);
      // The output may not exceed the size the package states, and must reach it:
      // a damaged body is never installed as a corrupted file, and a small
      // package cannot fill the memory or the disk.
      if (inflateStream(item.packedData, &content, reportProgress, this, item.unpackedSize,
                        item.unpackedSize) != S_OK ||
          content.size() != item.unpackedSize) {
        return fail(FailDecompress, item.fileName);
      }
      doneBytes_ += item.packedData.size();

      SetupString target(item.fileName);
      if (!moveToFolder(target, location.text()) ||
          writeStreamToFile(content, target.text()) != S_OK) {
        return fail(FailWriteFile, target);
      }
    }

    // Copies, registrations, shortcuts and settings after the files are
    // written; nothing in it can fail the pass.
    runRegistrationStage(options_, location.text());
    return true;
  }

 private:
  bool fail(InstallError code, const SetupString& path) {
    FailureRecord failure;
    failure.code = code;
    failure.path = path;
    listener_.onError(failure);
    return false;
  }

  static int reportProgress(void* self, std::uint32_t consumed, std::uint32_t) {
    auto* pass = static_cast<Pass*>(self);
    std::uint64_t percent = (std::uint64_t(pass->doneBytes_) + consumed) * 100 / pass->totalBytes_;
    if (percent > 100) percent = 100;
    return pass->listener_.onProgress(int(percent)) ? 1 : 0;
  }

  InstallOptions& options_;
  InstallListener& listener_;
  const OwningList<InstallItem>& items_;
  std::uint32_t totalBytes_ = 1;
  std::uint32_t doneBytes_ = 0;
};

}  // namespace

bool runInstallPass(InstallOptions& options, InstallListener& listener) {
  listener.onDone(0);
  platform::oleInitialize();
  bool ok = true;
  if (options.model != nullptr && options.model->itemCount() > 0) {
    ok = Pass(options, listener).run();
  }
  platform::notifyAssociationsChanged();
  platform::oleUninitialize();
  if (ok) listener.onDone(1);
  return ok;
}
