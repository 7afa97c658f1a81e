// The entry point of Uninstall.exe. Started as it is (from the uninstall entry),
// it asks and hands the work to a copy of itself in the temporary folder
// (TemporaryCopy.h), waiting for the copy's answer; started as that copy, it
// removes the product, answers, then removes the original and the install folder
// and says what stayed. With the quiet switch (QuietUninstall.h) nothing is asked
// or shown: the answers are logged and the exit code tells the result.
#include <string>
#include <vector>

#include "base/Paths.h"
#include "package/UninstallKnowledge.h"
#include "platform/FileMoves.h"
#include "platform/MessageBox.h"
#include "platform/Module.h"
#include "platform/Process.h"
#include "platform/Resources.h"
#include "platform/WinDefs.h"
#include "system/InstallSwap.h"
#include "system/RunLog.h"
#include "texts/TextLoading.h"
#include "uninstall/QuietUninstall.h"
#include "uninstall/TemporaryCopy.h"
#include "uninstall/Uninstaller.h"

namespace {

// What the uninstaller says, in the user's language: read once, first of all.
texts::TextSet theTexts;
// A quiet run writes here what the interactive run shows; closed otherwise, so
// that every line goes nowhere.
RunLog theLog;
bool quiet = false;

// `what` is the log's line for the box's text.
int fail(int textId, const char* what) {
  if (quiet) {
    theLog.line("error: %s", what);
    logResult(theLog, kExitFailed);
    return kExitFailed;
  }
  platform::messageBox(nullptr, theTexts.text(textId), theTexts.text(texts::UninstallCaption),
                       MB_OK | MB_ICONERROR);
  return -1;
}

void showFinalMessage(const UninstallPlan& plan, const std::vector<SetupString>& remaining) {
  platform::messageBox(nullptr, finalMessage(plan, remaining, theTexts).text(),
                       uninstallCaption(plan, theTexts).text(), MB_OK | MB_ICONINFORMATION);
}

// The copy: removes everything, answers the original, then removes the original's
// file and the install folder. The quiet copy writes the whole log anew.
int finish(const InstallModel& model, const SavedInstallOptions& saved,
           const UninstallCommand& command, const std::string& commandLine) {
  CopyReport report(command.originalId);
  const char* original = command.original.c_str();
  UninstallPlan plan;
  if (!makeUninstallPlan(model, saved, original, plan)) {
    theLog.line("error: no install folder in %s", original);
    return quiet ? kExitFailed : -1;
  }
  logStart(theLog, plan, commandLine.c_str());
  const int result = removeAllButOwnFile(plan, theLog);
  logResult(theLog, result);
  report.answer(result == kExitRemoved);
  if (!removeOriginal(command.originalId, original)) {
    theLog.line("error: not removed: %s", original);
  }
  const std::vector<SetupString> remaining = removeOwnFileAndFolder(plan);
  // Marked before the message, which the user may leave open as long as he likes.
  deleteSelfAtReboot();
  if (quiet) return result;
  showFinalMessage(plan, remaining);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  platform::restrictDllLoading();
  // A table that cannot be read leaves our English.
  const platform::ModuleHandle self = platform::currentModule();
  texts::loadTexts(self, texts::chooseTextLanguage(self, texts::UninstallCaption), theTexts);
  // The original's path, handed to the copy, may hold any letter of the package.
  const UninstallCommand command = readUninstallCommand(platform::programArguments(argc, argv));
  const std::string commandLine = platform::programCommandLine(argc, argv);
  quiet = command.quiet;
  InstallModel model;
  platform::ResourceBytes resource;
  const bool known = platform::findResource(self, "RC_DATA", kUninstallResourceId, resource) &&
                     readUninstallKnowledge(resource.data, resource.size, model);
  SetupString logPath;
  const bool logged = quiet && uninstallLogPath(known ? model.displayName.text() : "", logPath) &&
                      theLog.open(logPath.text());
  // A quiet run that cannot say what it did does nothing. The copy goes on: its
  // original could write the log, and waits for the copy's answer.
  if (quiet && !logged && !command.finish) return kExitFailed;
  if (!command.refused.empty()) {
    theLog.line("error: unknown argument: %s (the switches: /quiet, /verysilent, /S)",
                command.refused.c_str());
    logResult(theLog, kExitBadCommandLine);
    return kExitBadCommandLine;
  }
  if (!known) return fail(texts::UninstallNoKnowledge, "the uninstaller knows no package");
  SavedInstallOptions saved;
  readSavedInstallOptions(model, saved);
  if (command.finish) return finish(model, saved, command, commandLine);

  UninstallPlan plan;
  char own[kPathBufferSize];
  if (platform::moduleFileName(own, sizeof own) == 0 ||
      !makeUninstallPlan(model, saved, own, plan)) {
    return fail(texts::UninstallNoFolder, "the uninstaller's own folder is unknown");
  }
  // An upgrade that a kill or a power loss interrupted is put right first.
  recoverInterruptedSwap(plan.location.text());
  logStart(theLog, plan, commandLine.c_str());
  const SetupString caption = uninstallCaption(plan, theTexts);
  if (quiet) {
    // The quiet answer to files in use is Cancel.
    if (!noFileInUse(plan, theLog)) {
      logResult(theLog, kExitFailed);
      return kExitFailed;
    }
  } else {
    if (platform::messageBox(nullptr, confirmationText(plan, theTexts).text(), caption.text(),
                             MB_YESNO | MB_ICONQUESTION) != IDYES) {
      return 0;
    }
    // Nothing is removed while a file is in use: the links and the entry would go
    // and the program's files stay, and the product could not be removed again.
    for (std::vector<std::string> held = filesInUse(plan); !held.empty(); held = filesInUse(plan)) {
      const SetupString text = filesInUseText(held, platform::programsHoldingFiles(held), theTexts);
      if (platform::messageBox(nullptr, text.text(), caption.text(),
                               MB_RETRYCANCEL | MB_ICONWARNING) != IDRETRY) {
        return 0;
      }
    }
  }
  // The copy writes the log from here on.
  theLog.close();
  switch (handOverToTemporaryCopy(own, quiet, kCopyAnswerMs)) {
    case CopyAnswer::Removed:
      return 0;
    case CopyAnswer::Failed:
    case CopyAnswer::NoAnswer:
      return quiet ? kExitFailed : 0;
    case CopyAnswer::NotStarted:
      break;
  }
  // Without the copy this file and its folder stay; the message lists the file.
  if (quiet) {
    theLog.open(logPath.text());
    logStart(theLog, plan, commandLine.c_str());
  }
  const int result = removeAllButOwnFile(plan, theLog);
  const std::vector<SetupString> remaining = removeOwnFileAndFolder(plan);
  theLog.line("kept: %s (no temporary copy could remove it)", own);
  logResult(theLog, result);
  if (quiet) return result;
  showFinalMessage(plan, remaining);
  return 0;
}
