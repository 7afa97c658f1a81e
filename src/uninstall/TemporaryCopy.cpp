#include "uninstall/TemporaryCopy.h"

#include "base/Paths.h"
#include "platform/Events.h"
#include "platform/Files.h"
#include "platform/PrivateFolder.h"
#include "platform/Process.h"
#include "platform/WinDefs.h"
#include "system/FileOps.h"

namespace {

constexpr std::uint32_t kOriginalWaitMs = 60000;
// The original's file may stay locked a moment after its process ended.
constexpr int kDeleteAttempts = 50;
constexpr std::uint32_t kDeleteRetryMs = 100;

bool exists(const char* path) {
  return platform::getFileAttributes(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TemporaryCopy::~TemporaryCopy() {
  if (hold_ != platform::kInvalidFile) platform::closeFile(hold_);
  if (!started_ && !folder_.isEmpty()) deleteTree(folder_.text(), 0, true);
}

bool TemporaryCopy::make(const char* ownFile) {
  char temp[kPathBufferSize];
  if (ownFile == nullptr || !folder_.isEmpty() || platform::getTempPath(temp, sizeof temp) == 0) {
    return false;
  }
  const unsigned id = unsigned(platform::currentProcessId());
  SetupString folder;
  folder.format("%sUninstall-%u-%u", temp, id, unsigned(platform::tickCount()));
  // A folder of that name made by someone else is never used.
  if (!platform::createPrivateFolder(folder.text())) return false;
  folder_ = folder;
  path_.format("%s\\Uninstall-%u.exe", folder_.text(), id);
  if (!platform::copyFile(ownFile, path_.text(), true)) return false;
  hold_ = platform::createFile(path_.text(), GENERIC_READ, FILE_SHARE_READ, false, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL);
  return hold_ != platform::kInvalidFile;
}

bool TemporaryCopy::start(const char* commandLine) {
  if (hold_ == platform::kInvalidFile || started_) return false;
  started_ = platform::startProcessIn(path_.text(), commandLine, folder_.text());
  platform::closeFile(hold_);
  hold_ = platform::kInvalidFile;
  return started_;
}

SetupString copyAnswerName(std::uint32_t originalId, bool removed) {
  SetupString name;
  name.format("Local\\KestraneUninstall.%u.%s", unsigned(originalId),
              removed ? "removed" : "failed");
  return name;
}

CopyAnswer handOverToTemporaryCopy(const char* ownFile, bool quiet, std::uint32_t milliseconds) {
  const std::uint32_t id = platform::currentProcessId();
  platform::EventId answers[2] = {platform::createEvent(copyAnswerName(id, true).text()),
                                  platform::createEvent(copyAnswerName(id, false).text())};
  CopyAnswer result = CopyAnswer::NotStarted;
  TemporaryCopy copy;
  if (answers[0] != nullptr && answers[1] != nullptr && copy.make(ownFile)) {
    SetupString commandLine;
    commandLine.format("\"%s\" %s %u \"%s\"%s", copy.path().text(), kFinishSwitch, unsigned(id),
                       ownFile, quiet ? " /quiet" : "");
    if (copy.start(commandLine.text())) {
      switch (platform::waitForAnyEvent(answers, 2, milliseconds)) {
        case 0:
          result = CopyAnswer::Removed;
          break;
        case 1:
          result = CopyAnswer::Failed;
          break;
        default:
          result = CopyAnswer::NoAnswer;
          break;
      }
    }
  }
  for (platform::EventId answer : answers) platform::closeEvent(answer);
  return result;
}

CopyReport::CopyReport(std::uint32_t originalId) : originalId_(originalId) {}

CopyReport::~CopyReport() {
  answer(false);
}

bool CopyReport::answer(bool removed) {
  if (answered_) return false;
  answered_ = true;
  const platform::EventId event = platform::openEvent(copyAnswerName(originalId_, removed).text());
  const bool told = platform::setEvent(event);
  platform::closeEvent(event);
  return told;
}

bool removeOriginal(std::uint32_t processId, const char* originalFile) {
  platform::waitForProcessEnd(processId, kOriginalWaitMs);
  for (int attempt = 0; attempt < kDeleteAttempts && exists(originalFile); ++attempt) {
    platform::setFileAttributes(originalFile, FILE_ATTRIBUTE_NORMAL);
    if (platform::deleteFile(originalFile)) return true;
    platform::sleepFor(kDeleteRetryMs);
  }
  return !exists(originalFile);
}

bool deleteSelfAtReboot() {
  char self[kPathBufferSize];
  if (platform::moduleFileName(self, sizeof self) == 0 || !platform::deleteFileAtReboot(self)) {
    return false;
  }
  // The folder goes after the file, once it is empty.
  PathParts parts;
  splitPath(self, parts);
  SetupString folder = SetupString::concat(parts.drive, parts.folder);
  if (endsWithBackslash(folder)) folder.eraseRange(folder.length() - 1, 1);
  return platform::deleteFileAtReboot(folder.text());
}
