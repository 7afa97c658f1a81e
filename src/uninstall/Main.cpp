// The entry point of Uninstall.exe. Started as it is (from the uninstall entry),
// it asks, removes the product and hands the rest to a copy of itself in the
// temporary folder (TemporaryCopy.h); started as that copy, it removes the
// original and the install folder and says what stayed.
#include <cstdlib>
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
#include "texts/TextLoading.h"
#include "uninstall/TemporaryCopy.h"
#include "uninstall/Uninstaller.h"

namespace {

// What the uninstaller says, in the user's language: read once, first of all.
texts::TextSet theTexts;

int fail(int textId) {
  platform::messageBox(nullptr, theTexts.text(textId), theTexts.text(texts::UninstallCaption),
                       MB_OK | MB_ICONERROR);
  return -1;
}

void showFinalMessage(const UninstallPlan& plan, const std::vector<SetupString>& remaining) {
  platform::messageBox(nullptr, finalMessage(plan, remaining, theTexts).text(),
                       uninstallCaption(plan, theTexts).text(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace

int main(int argc, char** argv) {
  platform::restrictDllLoading();
  // A table that cannot be read leaves our English.
  const platform::ModuleHandle self = platform::currentModule();
  texts::loadTexts(self, texts::chooseTextLanguage(self, texts::UninstallCaption), theTexts);
  InstallModel model;
  platform::ResourceBytes resource;
  if (!platform::findResource(self, "RC_DATA", kUninstallResourceId, resource) ||
      !readUninstallKnowledge(resource.data, resource.size, model)) {
    return fail(texts::UninstallNoKnowledge);
  }
  SavedInstallOptions saved;
  readSavedInstallOptions(model, saved);
  UninstallPlan plan;

  // The original's path, handed to the copy, may hold any letter of the package.
  const std::vector<std::string> arguments = platform::programArguments(argc, argv);
  if (arguments.size() == 3 && arguments[0] == kFinishSwitch) {
    const char* original = arguments[2].c_str();
    if (!makeUninstallPlan(model, saved, original, plan)) return -1;
    removeOriginal(std::uint32_t(std::strtoul(arguments[1].c_str(), nullptr, 10)), original);
    const std::vector<SetupString> remaining = removeOwnFileAndFolder(plan);
    // Marked before the message, which the user may leave open as long as he likes.
    deleteSelfAtReboot();
    showFinalMessage(plan, remaining);
    return 0;
  }

  char own[kPathBufferSize];
  if (platform::moduleFileName(own, sizeof own) == 0 ||
      !makeUninstallPlan(model, saved, own, plan)) {
    return fail(texts::UninstallNoFolder);
  }
  // An upgrade that a kill or a power loss interrupted is put right first.
  recoverInterruptedSwap(plan.location.text());
  const SetupString caption = uninstallCaption(plan, theTexts);
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
  removeInstallation(plan);
  if (startTemporaryCopy(own)) return 0;
  // Without the copy this file and its folder stay; the message lists the file.
  showFinalMessage(plan, removeOwnFileAndFolder(plan));
  return 0;
}
