#include "uninstall/TemporaryCopy.h"

#include "base/Paths.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/WinDefs.h"

namespace {

constexpr std::uint32_t kOriginalWaitMs = 60000;
// The original's file may stay locked a moment after its process ended.
constexpr int kDeleteAttempts = 50;
constexpr std::uint32_t kDeleteRetryMs = 100;

bool exists(const char* path) {
  return platform::getFileAttributes(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool startTemporaryCopy(const char* ownFile) {
  char temp[kPathBufferSize];
  if (ownFile == nullptr || platform::getTempPath(temp, sizeof temp) == 0) return false;
  const std::uint32_t id = platform::currentProcessId();
  SetupString copy;
  copy.format("%sUninstall-%u.exe", temp, unsigned(id));
  if (!platform::copyFile(ownFile, copy.text(), false)) return false;
  SetupString commandLine;
  commandLine.format("\"%s\" %s %u \"%s\"", copy.text(), kFinishSwitch, unsigned(id), ownFile);
  if (platform::startProcess(copy.text(), commandLine.text())) return true;
  platform::deleteFile(copy.text());
  return false;
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
  return platform::moduleFileName(self, sizeof self) > 0 && platform::deleteFileAtReboot(self);
}
