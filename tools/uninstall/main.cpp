// uninstall: the host twin of Uninstall.exe. It removes a product from the
// emulated machine of a prefix as Uninstall.exe removes it from Windows, from the
// same knowledge: the resource kpack wrote into the installed Uninstall.exe, which
// stands for the twin's own file on that machine.
//
//   uninstall UNINSTALLER --prefix DIR [--yes]
//
// UNINSTALLER is the Windows path of the installed Uninstall.exe (the uninstall
// entry's "UninstallString", quotes and all, may be passed as it is). The twin asks
// and reports with the host's message boxes; --yes answers the question and
// prints the closing message instead. A Linux process does not lock the file it
// runs from, so the twin removes that file itself and needs no temporary copy.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "package/UninstallKnowledge.h"
#include "platform/FileMoves.h"
#include "platform/MessageBox.h"
#include "platform/ProgramResources.h"
#include "platform/WinDefs.h"
#include "system/FileOps.h"
#include "system/InstallSwap.h"
#include "uninstall/Uninstaller.h"

namespace {

constexpr std::uint64_t kMaxProgramSize = 256u << 20;

int fail(const std::string& text) {
  std::cerr << "uninstall: " << text << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"uninstall: removes a product from the emulated machine of a prefix"};
  app.set_version_flag("--version", std::string("kestrane-uninstall ") + KESTRANE_VERSION);
  std::string uninstaller, prefix;
  bool yes = false;
  app.add_option("uninstaller", uninstaller, "Windows path of the installed Uninstall.exe")
      ->required();
  app.add_option("--prefix", prefix, "Folder of the emulated machine")->required();
  app.add_flag("--yes", yes, "Answer the question with yes and print the closing message");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : 2;
  }
  // The emulated machine is chosen before anything touches it.
  setenv("KESTRANE_PREFIX", prefix.c_str(), 1);
  if (uninstaller.size() >= 2 && uninstaller.front() == '"' && uninstaller.back() == '"') {
    uninstaller = uninstaller.substr(1, uninstaller.size() - 2);
  }

  std::vector<unsigned char> program, resource;
  std::string error;
  if (!readWholeFile(uninstaller.c_str(), kMaxProgramSize, program)) {
    return fail("cannot read " + uninstaller + " on the emulated machine");
  }
  if (!platform::findProgramResource(program, kUninstallResourceId, resource, error)) {
    return fail(uninstaller + ": no knowledge of a package: " + error);
  }
  InstallModel model;
  if (!readUninstallKnowledge(resource.data(), std::uint32_t(resource.size()), model)) {
    return fail(uninstaller +
                ": its knowledge of the package is damaged: " + model.failureReason());
  }
  SavedInstallOptions saved;
  readSavedInstallOptions(model, saved);
  UninstallPlan plan;
  if (!makeUninstallPlan(model, saved, uninstaller.c_str(), plan)) {
    return fail(uninstaller + " names no folder");
  }

  recoverInterruptedSwap(plan.location.text());
  // The twin speaks our English: the installed program's string table is not its own.
  const texts::TextSet texts;
  const SetupString caption = uninstallCaption(plan, texts);
  if (!yes && platform::messageBox(nullptr, confirmationText(plan, texts).text(), caption.text(),
                                   MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return 0;
  }
  // As Uninstall.exe: nothing is removed while a file is in use. With --yes the
  // answer is Cancel.
  for (std::vector<std::string> held = filesInUse(plan); !held.empty(); held = filesInUse(plan)) {
    const SetupString text = filesInUseText(held, platform::programsHoldingFiles(held), texts);
    if (yes) return fail(text.text());
    if (platform::messageBox(nullptr, text.text(), caption.text(),
                             MB_RETRYCANCEL | MB_ICONWARNING) != IDRETRY) {
      return 0;
    }
  }
  removeInstallation(plan);
  const SetupString message = finalMessage(plan, removeOwnFileAndFolder(plan), texts);
  if (yes) {
    std::cout << message.text() << "\n";
  } else {
    platform::messageBox(nullptr, message.text(), caption.text(), MB_OK | MB_ICONINFORMATION);
  }
  return 0;
}
