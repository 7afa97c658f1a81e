#include "app/QuietRun.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/FolderStatus.h"
#include "base/Paths.h"
#include "install/InstallPass.h"
#include "package/PackageFormat.h"
#include "system/FileOps.h"
#include "system/InstallTarget.h"
#include "system/InstalledVersion.h"

namespace {

// The longest folder CreateDirectory makes: room is left for a file name of 8.3.
constexpr std::size_t kMaxFolderLength = 247;

// A whole local path: "X:\" then names a file system takes. Relative, UNC and
// over-long paths are a bad command line, not a failed install.
bool isWholeFolder(const std::string& folder) {
  if (folder.size() < 4 || folder.size() > kMaxFolderLength) return false;
  const char drive = folder[0];
  if (!((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z'))) return false;
  if (folder[1] != ':' || folder[2] != '\\') return false;
  std::size_t start = 3;
  while (start < folder.size()) {
    std::size_t end = folder.find('\\', start);
    if (end == std::string::npos) end = folder.size();
    const std::string name = folder.substr(start, end - start);
    if (name.empty() && end != folder.size() - 1) return false;
    // What Windows refuses in a name, besides what a package's names may not be.
    const bool refused = name.find_first_of("<>:\"/|?*") != std::string::npos ||
                         std::any_of(name.begin(), name.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < 32; });
    if (!name.empty() && (refused || !isFileName(name.c_str()))) return false;
    start = end + 1;
  }
  return true;
}

// Splits "C:\a\b c" into the parent "C:\a" and the folder "b c" the target takes.
bool takeFolder(std::string folder, InstallTarget& target) {
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  const std::size_t cut = folder.find_last_of('\\');
  if (cut == std::string::npos || cut + 1 >= folder.size()) return false;
  target.folderName = folder.substr(cut + 1).c_str();
  target.parentFolder = folder.substr(0, cut == 2 ? 3 : cut).c_str();
  return true;
}

class LogListener : public InstallListener {
 public:
  explicit LogListener(RunLog& log) : log_(log) {}
  void onDone(int) override {}
  bool onProgress(int) override { return true; }
  void onError(const FailureRecord& failure) override { logInstallFailure(log_, failure); }

 private:
  RunLog& log_;
};

}  // namespace

bool openRunLog(const CommandLine& line, const char* name, RunLog& log) {
  SetupString path;
  if (!line.log.empty()) {
    path = line.log.c_str();
  } else {
    SetupString file;
    file.format("%s Setup.log", name);
    if (!defaultLogPath(file.text(), path)) return false;
  }
  return log.open(path.text());
}

void logRunStart(RunLog& log, const InstallModel* model, const char* commandLine) {
  log.line("start: %s", commandLine);
  if (model != nullptr) {
    log.line("product: %s by %s", model->displayName.text(), model->companyName.text());
  }
}

void logInstallFailure(RunLog& log, const FailureRecord& failure) {
  static const char* const kSteps[] = {"empty the install folder", "create the install folder",
                                       "unpack a file", "write a file"};
  const bool known = failure.code >= 0 && failure.code < 4;
  log.line("error: could not %s: %s", known ? kSteps[failure.code] : "install",
           failure.path.text());
  if (!failure.holders.isEmpty()) log.line("held by: %s", failure.holders.text());
}

void logInstalledFiles(RunLog& log, const InstallModel& model, const char* location) {
  for (int i = 0; i < model.itemCount(); ++i) {
    SetupString file = model.itemAt(i)->fileName;
    moveToFolder(file, location);
    log.line("file: %s", file.text());
  }
}

void chooseFileTypes(const CommandLine& line, const InstallModel& model, InstallOptions& options,
                     RunLog& log) {
  const bool all =
      line.fileTypeChoice != FileTypeChoice::None && line.fileTypeChoice != FileTypeChoice::Listed;
  for (bool& choice : options.fileTypeChoices) choice = all;
  if (line.fileTypeChoice != FileTypeChoice::Listed) return;
  for (const std::string& extension : line.fileTypes) {
    const int slot = model.optionalExtensionSlot(extension.c_str());
    if (slot < 0) {
      log.line("file type .%s: not offered by this setup, passed over", extension.c_str());
      continue;
    }
    options.fileTypeChoices[slot] = true;
  }
}

bool takeCommandLineFolder(const CommandLine& line, InstallTarget& target, InstallOptions& options,
                           RunLog& log) {
  if (line.folder.empty()) return true;
  if (!isWholeFolder(line.folder) || !takeFolder(line.folder, target)) {
    log.line("error: /dir: not a whole local folder: %s", line.folder.c_str());
    return false;
  }
  options.ParentFolder = target.parentFolder;
  return true;
}

bool makeParentFolders(const InstallTarget& target, RunLog& log) {
  const std::string parent = target.parentFolder.text();
  for (std::size_t cut = parent.find('\\', 3);; cut = parent.find('\\', cut + 1)) {
    const std::string folder = parent.substr(0, cut);
    if (!isDirectory(folder.c_str())) {
      if (!createFolder(folder.c_str())) {
        log.line("error: cannot create the folder %s", folder.c_str());
        return false;
      }
      log.line("created the folder %s", folder.c_str());
    }
    if (cut == std::string::npos) break;
  }
  return true;
}

bool newerInstalled(const InstallModel& model, const InstallTarget& target, RunLog& log) {
  SetupString ours, installed;
  ProductVersion version;
  productVersion(model.extension, ours, version);
  switch (meetInstalledVersion(target, model, version, installed)) {
    case VersionMeeting::NoneInstalled:
      return false;
    case VersionMeeting::Older:
      log.line("version %s is installed: upgrading it to %s", installed.text(), ours.text());
      return false;
    case VersionMeeting::Same:
      log.line("version %s is installed: repairing it", installed.text());
      return false;
    case VersionMeeting::Newer:
      log.line("error: version %s is installed, newer than this setup's %s: nothing changed",
               installed.text(), ours.text());
      return true;
  }
  return false;
}

bool folderUsable(const InstallModel& model, const InstallTarget& target, RunLog& log) {
  const FolderFacts facts = ReadFolderFacts(model, target.parentFolder);
  if (!facts.named || !facts.local) {
    log.line("error: %s is not on a local fixed disk", target.parentFolder.text());
    return false;
  }
  if (!facts.enough) {
    log.line("error: not enough free space: %lld bytes needed, %lld free",
             static_cast<long long>(facts.required), static_cast<long long>(facts.available));
    return false;
  }
  return true;
}

int installQuietly(const InstallModel& model, InstallOptions& options, const InstallTarget& target,
                   RunLog& log) {
  SetupString location;
  target.location(location);
  if (isDirectory(location.text())) log.line("the folder exists: installing over it");
  chooseDefaultLinks(options, target);
  options.model = &model;
  LogListener listener(log);
  if (!runInstallPass(options, target, listener)) {
    log.line("result: failed");
    return kExitFailed;
  }
  logInstalledFiles(log, model, location.text());
  log.line("result: installed");
  return kExitSuccess;
}
