#include "install/InstallWorker.h"

#include "base/Inflate.h"
#include "base/Paths.h"
#include "install/RegistrationStage.h"
#include "platform/Com.h"
#include "platform/Shell.h"
#include "system/FileOps.h"

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

InstallWorker::~InstallWorker() {
  stopAndWait();
}

std::uint32_t InstallWorker::run() {
  post(Message::Done, 0);
  platform::oleInitialize();
  bool ok = true;
  if (options_ != nullptr && options_->model != nullptr) {
    items_ = &options_->model->items;
    itemCount_ = std::uint32_t(items_->count());
    if (itemCount_ > 0) ok = runInstall();
  }
  platform::notifyAssociationsChanged();
  platform::oleUninitialize();
  if (ok) post(Message::Done, 1);
  return 0;
}

bool InstallWorker::fail(InstallError code, const SetupString& path) {
  failure_.code = code;
  failure_.path = path;
  post(Message::Error, reinterpret_cast<std::intptr_t>(&failure_));
  return false;
}

int InstallWorker::reportProgress(void* self, std::uint32_t consumed, std::uint32_t) {
  auto* worker = static_cast<InstallWorker*>(self);
  if (worker->cancelRequested()) return 0;
  std::uint64_t percent =
      (std::uint64_t(worker->doneBytes_) + consumed) * 100 / worker->totalBytes_;
  if (percent > 100) percent = 100;
  worker->post(Message::Progress, std::intptr_t(percent));
  return 1;
}

bool InstallWorker::runInstall() {
  SetupString location(options_->model->installFolderName);
  if (!joinPath(location, options_->ParentFolder.text())) return fail(FailCreateFolder, location);

  if (isDirectory(location.text()) && !deleteTree(location.text(), 0, true)) {
    return fail(FailOverwriteFolder, location);
  }
  if (!createFolder(location.text())) return fail(FailCreateFolder, location);

  std::uint64_t total = 0;
  for (std::uint32_t i = 0; i < itemCount_; ++i) total += items_->at(int(i))->packedData.size();
  totalBytes_ = total == 0 ? 1 : total > UINT32_MAX ? UINT32_MAX : std::uint32_t(total);
  doneBytes_ = 0;

  // One buffer takes every file in turn: it grows to the largest file once and its
  // pages are reused, instead of fresh memory for each file.
  ByteStream content;
  for (std::uint32_t i = 0; i < itemCount_; ++i) {
    const InstallItem& item = *items_->at(int(i));
    // The output may not exceed the size the package states, and must reach it:
    // a damaged body is never installed as a corrupted file, and a small package
    // cannot fill the memory or the disk.
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

  runRegistrationStage(location);
  return true;
}

void InstallWorker::runRegistrationStage(const SetupString& location) {
  ::runRegistrationStage(*options_, location.text());
}
