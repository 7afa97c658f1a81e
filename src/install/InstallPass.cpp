#include "install/InstallPass.h"

#include "base/Inflate.h"
#include "base/Paths.h"
#include "install/PreviousInstall.h"
#include "install/RegistrationStage.h"
#include "platform/Com.h"
#include "platform/FileMoves.h"
#include "platform/Files.h"
#include "platform/Shell.h"
#include "platform/WinDefs.h"
#include "system/FileHandle.h"
#include "system/FileOps.h"
#include "system/InstallSwap.h"
#include "texts/TextCatalog.h"

int installErrorTextId(std::int32_t code) {
  switch (code) {
    case FailOverwriteFolder:
      return texts::OperationOverwrite;
    case FailCreateFolder:
      return texts::OperationCreate;
    case FailDecompress:
      return texts::OperationDecompress;
    case FailWriteFile:
      return texts::OperationWrite;
    default:
      return 0;
  }
}

void chooseDefaultLinks(InstallOptions& options, const InstallTarget& target) {
  options.CurrentUser = target.scope != InstallScope::AllUsers;
  options.StartMenuEntry = true;
  options.TopMenuEntry = true;
  options.DesktopIcon = true;
}

void defaultInstallOptions(InstallOptions& options, const InstallModel& model,
                           const InstallTarget& target) {
  chooseDefaultLinks(options, target);
  options.ParentFolder = target.parentFolder;
  options.model = &model;
  for (bool& choice : options.fileTypeChoices) choice = true;
}

namespace {

class Pass {
 public:
  Pass(InstallOptions& options, const InstallTarget& target, InstallListener& listener)
      : options_(options), target_(target), listener_(listener), items_(options.model->items) {}

  bool run() {
    SetupString location;
    if (!target_.location(location)) {
      return fail(FailCreateFolder, location);
    }
    // A pass that a kill or a power loss ended leaves its folders beside the
    // location; they are put right before anything is looked at.
    recoverInterruptedSwap(location.text());

    // Files in use are found before anything changes: the old install stays
    // whole, as Windows would refuse to move its folder at the swap.
    const bool upgrade = isDirectory(location.text());
    if (upgrade) {
      const std::vector<std::string> held = heldFiles(location.text());
      if (!held.empty()) {
        return fail(FailOverwriteFolder, location,
                    holdersLine("", platform::programsHoldingFiles(held)));
      }
    }
    // Everything is written into the staging folder; the errors name the files
    // as they will be at the location.
    const SetupString staging = stagingFolder(location.text());
    // A new folder, never one that was there: what is in it becomes the install.
    if (!platform::createDirectory(staging.text())) return fail(FailCreateFolder, location);
    platform::setFileAttributes(staging.text(), FILE_ATTRIBUTE_HIDDEN);
    if (!extract(location, staging)) {
      deleteTree(staging.text(), 0, true);
      return false;
    }

    std::vector<PreviousFile> previous;
    const bool recorded =
        upgrade && readPreviousInstall(*options_.model, target_, location.text(), previous);
    const SetupString backup = backupFolder(location.text());
    if (upgrade && !platform::moveFile(location.text(), backup.text())) {
      deleteTree(staging.text(), 0, true);
      return fail(FailOverwriteFolder, location);
    }
    if (!platform::moveFile(staging.text(), location.text())) {
      if (upgrade) platform::moveFile(backup.text(), location.text());
      deleteTree(staging.text(), 0, true);
      return fail(FailCreateFolder, location);
    }
    platform::setFileAttributes(location.text(), FILE_ATTRIBUTE_NORMAL);
    if (upgrade) finishSwap(location.text(), backup.text(), recorded ? &previous : nullptr);

    // Copies, registrations, shortcuts and settings after the files are
    // written; nothing in it can fail the pass.
    runRegistrationStage(options_, target_, location.text());
    return true;
  }

 private:
  // Inflates every item into `staging`, each straight into its file. False after
  // the failure was reported.
  bool extract(const SetupString& location, const SetupString& staging) {
    std::uint64_t total = 0;
    for (int i = 0; i < items_.count(); ++i) total += items_.at(i)->packedData.size();
    totalBytes_ = total == 0 ? 1 : total > UINT32_MAX ? UINT32_MAX : std::uint32_t(total);

    // One window takes every file in turn; no file is ever held whole.
    ByteStream window;
    for (int i = 0; i < items_.count(); ++i) {
      const InstallItem& item = *items_.at(i);
      SetupString target(item.fileName);
      SetupString staged(item.fileName);
      if (!moveToFolder(target, location.text()) || !moveToFolder(staged, staging.text())) {
        return fail(FailWriteFile, target);
      }
      FileHandle file;
      if (!file.openFile(staged.text(), kOpenInstallTarget)) return fail(FailWriteFile, target);
      // The output may not exceed the size the package states, and must reach it:
      // a damaged body is never installed as a corrupted file, and a small
      // package cannot fill the disk.
      FileSink sink{&file, false};
      std::uint32_t produced = 0;
      const HRESULT inflated = inflateInto(item.packedData, window, writePiece, &sink,
                                           reportProgress, this, item.unpackedSize, produced);
      const bool closed = file.close();
      if (sink.failed || !closed) return fail(FailWriteFile, target);
      if (inflated != S_OK || produced != item.unpackedSize) {
        return fail(FailDecompress, item.fileName);
      }
      doneBytes_ += item.packedData.size();
    }
    return true;
  }

  struct FileSink {
    FileHandle* file;
    bool failed;
  };

  static bool writePiece(void* context, const unsigned char* bytes, std::uint32_t size) {
    auto* sink = static_cast<FileSink*>(context);
    if (!sink->file->write(bytes, size)) sink->failed = true;
    return !sink->failed;
  }

  bool fail(InstallError code, const SetupString& path, const SetupString& holders = {}) {
    FailureRecord failure;
    failure.code = code;
    failure.path = path;
    failure.holders = holders;
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
  const InstallTarget& target_;
  InstallListener& listener_;
  const OwningList<InstallItem>& items_;
  std::uint32_t totalBytes_ = 1;
  std::uint32_t doneBytes_ = 0;
};

}  // namespace

bool runInstallPass(InstallOptions& options, const InstallTarget& target,
                    InstallListener& listener) {
  listener.onDone(0);
  platform::oleInitialize();
  bool ok = true;
  if (options.model != nullptr && options.model->itemCount() > 0) {
    ok = Pass(options, target, listener).run();
  }
  platform::notifyAssociationsChanged();
  platform::oleUninitialize();
  if (ok) listener.onDone(1);
  return ok;
}
