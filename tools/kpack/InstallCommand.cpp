#include "kpack/InstallCommand.h"

#include <cstdio>
#include <mutex>

#include "install/InstallWorker.h"
#include "kpack/Cp1252.h"
#include "platform/MessageTarget.h"
#include "system/Folders.h"

namespace kpack {
namespace {

// Handles each message on the worker's thread as it is posted, so a cancel asked
// for while a progress message is handled stops the very next block.
class Printer {
 public:
  Printer(InstallWorker& worker, int cancelAfter) : worker_(worker), cancelAfter_(cancelAfter) {}

  void handle(const platform::Message& m) {
    std::lock_guard<std::mutex> hold(lock_);
    if (m.message == MSG_INSTALL_DONE) {
      std::printf("done %d\n", int(m.lParam));
      if (m.lParam == 1) succeeded_ = true;
    } else if (m.message == MSG_INSTALL_PROGRESS) {
      std::printf("progress %d\n", int(m.lParam));
      if (++progressCount_ == cancelAfter_) worker_.requestCancel();
    } else if (m.message == MSG_INSTALL_ERROR) {
      const auto* record = reinterpret_cast<const FailureRecord*>(m.lParam);
      const std::string path(record->path.text(), std::size_t(record->path.length()));
      std::printf("error %d %s\n", int(record->code), cp1252ToUtf8(path).c_str());
      failed_ = true;
    }
    std::fflush(stdout);
  }

  bool succeeded() const { return succeeded_ && !failed_; }

 private:
  std::mutex lock_;
  InstallWorker& worker_;
  int cancelAfter_;
  int progressCount_ = 0;
  bool succeeded_ = false;
  bool failed_ = false;
};

}  // namespace

int installPackage(const InstallModel& model, const InstallArguments& arguments) {
  InstallOptions options;
  options.CurrentUser = 0;
  options.StartMenuEntry = 1;
  options.TopMenuEntry = 1;
  options.DesktopIcon = 1;
  options.model = &model;
  if (arguments.parentFolder.empty()) {
    defaultProgramFiles(options.ParentFolder);
  } else {
    std::string ansi;
    std::string bad;
    if (!utf8ToCp1252(arguments.parentFolder, ansi, &bad)) {
      std::fprintf(stderr, "kpack: --parent: %s cannot be written in Windows-1252\n", bad.c_str());
      return 2;
    }
    options.ParentFolder = ansi.c_str();
  }
  for (int& choice : options.fileTypeChoices) choice = 1;
  for (int position : arguments.unchecked) {
    if (position < 0 || position >= InstallOptions::kMaxFileTypeChoices) {
      std::fprintf(stderr, "kpack: --uncheck: no check box %d (0..99)\n", position);
      return 2;
    }
    options.fileTypeChoices[position] = 0;
  }

  InstallWorker worker;
  Printer printer(worker, arguments.cancelAfter);
  const platform::MessageTarget sink([&printer](const platform::Message& m) { printer.handle(m); });
  if (!sink.valid()) {
    std::fprintf(stderr, "kpack: cannot make a message target\n");
    return 2;
  }
  const WorkerNotifyTarget target{sink.handle(), MSG_INSTALL_PROGRESS, MSG_INSTALL_DONE,
                                  MSG_INSTALL_ERROR};
  worker.setNotifyTarget(&target);
  worker.setOptions(&options);
  if (!worker.start()) {
    std::fprintf(stderr, "kpack: cannot start the install thread\n");
    return 2;
  }
  worker.waitUntilEnded();
  return printer.succeeded() ? 0 : 1;
}

}  // namespace kpack
