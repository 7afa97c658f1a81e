#include "uninstall/QuietUninstall.h"

#include <cstdlib>
#include <cstring>

#include "base/Paths.h"
#include "base/SortedStringSet.h"
#include "platform/FileMoves.h"
#include "platform/Files.h"
#include "platform/WinDefs.h"
#include "uninstall/TemporaryCopy.h"
#include "uninstall/Uninstaller.h"

namespace {

bool isQuietSwitch(const std::string& argument) {
  if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) return false;
  const SetupString name(argument.c_str() + 1);
  for (const char* known : {"quiet", "verysilent", "S"}) {
    if (compareNoCase(name, SetupString(known)) == 0) return true;
  }
  return false;
}

// A process id as the copy's command line gives it: decimal digits only.
bool readProcessId(const std::string& text, std::uint32_t& id) {
  if (text.empty() || text.size() > 10 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  const unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
  if (value > 0xFFFFFFFFull) return false;
  id = std::uint32_t(value);
  return true;
}

bool exists(const char* path) {
  return platform::getFileAttributes(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

UninstallCommand readUninstallCommand(const std::vector<std::string>& arguments) {
  UninstallCommand command;
  const std::size_t n = arguments.size();
  if ((n == 3 || (n == 4 && isQuietSwitch(arguments[3]))) && arguments[0] == kFinishSwitch &&
      readProcessId(arguments[1], command.originalId)) {
    command.finish = true;
    command.original = arguments[2];
    command.quiet = n == 4;
    return command;
  }
  for (const std::string& argument : arguments) {
    if (isQuietSwitch(argument) && !command.quiet) {
      command.quiet = true;
    } else if (command.refused.empty()) {
      command.refused = argument;
    }
  }
  if (!command.quiet) command.refused.clear();
  return command;
}

bool uninstallLogPath(const char* displayName, SetupString& path) {
  SetupString name;
  for (const char* p = displayName; p != nullptr && *p != '\0'; ++p) {
    const bool illegal = static_cast<unsigned char>(*p) < 0x20 || std::strchr("\\/:*?\"<>|", *p);
    name.append(illegal ? '_' : *p);
  }
  name.append(name.isEmpty() ? "Uninstall.log" : " Uninstall.log");
  return defaultLogPath(name.text(), path);
}

void logStart(RunLog& log, const UninstallPlan& plan, const char* commandLine) {
  log.line("start: uninstall of %s", plan.displayName.text());
  log.line("command line: %s", commandLine);
  log.line("install folder: %s", plan.location.text());
}

bool noFileInUse(const UninstallPlan& plan, RunLog& log) {
  const std::vector<std::string> held = filesInUse(plan);
  for (const std::string& file : held) log.line("error: in use: %s", file.c_str());
  if (held.empty()) return true;
  for (const std::string& program : platform::programsHoldingFiles(held)) {
    log.line("error: held by: %s", program.c_str());
  }
  log.line("error: files in use: nothing was removed");
  return false;
}

int removeAllButOwnFile(const UninstallPlan& plan, RunLog& log) {
  removeInstallation(plan);
  int result = kExitRemoved;
  for (const PlannedFile& file : plan.files) {
    if (!exists(file.path.text()) || !isUnchanged(file)) continue;
    log.line("error: not removed: %s", file.path.text());
    result = kExitFailed;
  }
  // The own file goes after this answer; everything else in the folder stays.
  if (plan.removeFolder && exists(plan.location.text())) {
    PathParts parts;
    splitPath(plan.ownFile.text(), parts);
    const SetupString own = SetupString::concat(parts.name, parts.extension);
    for (const SetupString& name : namesInFolder(plan.location.text())) {
      if (compareNoCase(name, own) != 0)
        log.line("kept: %s\\%s", plan.location.text(), name.text());
    }
  }
  for (const SetupString& copy : plan.systemCopies) {
    log.line("kept in the system folder: %s", copy.text());
  }
  return result;
}

void logResult(RunLog& log, int exitCode) {
  log.line("result: %s, exit code %d", exitCode == kExitRemoved ? "removed" : "failed", exitCode);
}
