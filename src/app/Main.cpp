// The entry point: reads the command line and the resources, then runs the setup
// the way the command line asks: through the wizard, or without questions.
#include <string>

#include "app/CommandLine.h"
#include "app/QuietRun.h"
#include "app/SetupApp.h"
#include "base/Paths.h"
#include "platform/Com.h"
#include "platform/MessageBox.h"
#include "platform/Module.h"
#include "platform/Process.h"
#include "platform/WinDefs.h"
#include "system/InstalledVersion.h"
#include "texts/TextLoading.h"

namespace {

// The one application object, made before main and gone after it. Its
// construction opens nothing.
SetupApp theApp;

// The wizard: 0 once its window closes, however it closed, and -1 after the
// fatal start-up error.
int runWizard(SetupApp& app, bool loaded) {
  if (!loaded && app.OtherCopyRuns()) {
    // Another copy of this setup runs: it is brought to the front, and this one
    // has nothing to do.
    app.HandOver();
    return 0;
  }
  if (!loaded) {
    app.ShowFatalError();
    return -1;
  }
  // An older setup never replaces a newer product: it says so and changes nothing.
  SetupString ours, installed;
  ProductVersion version;
  productVersion(app.Model().extension, ours, version);
  if (meetInstalledVersion(app.Target(), app.Model(), version, installed) ==
      VersionMeeting::Newer) {
    const SetupTexts& texts = app.Texts();
    SetupString text;
    text.format(texts.text(texts::NewerInstalled), app.Model().displayName.text(), installed.text(),
                ours.text());
    platform::messageBox(nullptr, text.text(), texts.text(texts::WindowName),
                         MB_ICONINFORMATION | MB_OK);
    return 0;
  }
  if (!app.OpenWizard()) {
    app.ShowFatalError();
    return -1;
  }
  return app.Run();
}

// The box that lists the switches, after what was wrong with the command line.
// Its texts are read on their own: the package may be what is damaged.
void showSwitches(const CommandLine& line) {
  SetupTexts texts;
  LoadSetupTexts(platform::currentModule(), texts::chooseTextLanguage(platform::currentModule()),
                 texts);
  SetupString text;
  if (!line.ok()) {
    text.format(texts.text(texts::CommandLineBad), line.bad.c_str());
    text.append("\n\n");
  }
  text.append(texts.text(texts::CommandLineHelp));
  text.append("\n\n");
  text.append(commandLineUsage());
  platform::messageBox(nullptr, text.text(), texts.text(texts::WindowName),
                       line.ok() ? MB_ICONINFORMATION | MB_OK : MB_ICONERROR | MB_OK);
}

// The program's own name without its folder and extension, for a log whose
// package could not be read.
std::string programName(int argc, char** argv) {
  PathParts parts;
  splitPath(argc > 0 ? argv[0] : "Setup", parts);
  return parts.name.isEmpty() ? "Setup" : parts.name.text();
}

// A run without questions: the exit code says how it ended, and the log what
// happened; nothing is ever shown but the passive run's window.
int runWithoutQuestions(SetupApp& app, bool loaded, const CommandLine& line,
                        const std::string& commandLine, const std::string& program) {
  RunLog log;
  if (!openRunLog(line, loaded ? app.Model().displayName.text() : program.c_str(), log)) {
    return kExitFailed;
  }
  logRunStart(log, loaded ? &app.Model() : nullptr, commandLine.c_str());
  int result = kExitFailed;
  if (!loaded && app.OtherCopyRuns()) {
    log.line("error: another copy of this setup is running");
    result = kExitAnotherCopy;
  } else if (!loaded) {
    log.line("error: this program file is incomplete or damaged");
  } else if (!takeCommandLineFolder(line, app.Target(), app.Options(), log)) {
    result = kExitBadCommandLine;
  } else {
    InstallTarget& target = app.Target();
    target.parentFolder = app.Options().ParentFolder;
    SetupString location;
    target.location(location);
    log.line("target: %s, %d-bit registry view, all users", location.text(),
             static_cast<int>(target.view));
    chooseFileTypes(line, app.Model(), app.Options(), log);
    if (newerInstalled(app.Model(), target, log)) {
      result = kExitNewerInstalled;
    } else if (!folderUsable(app.Model(), target, log) || !makeParentFolders(target, log)) {
      result = kExitFailed;
    } else if (line.mode == RunMode::Quiet) {
      result = installQuietly(app.Model(), app.Options(), target, log);
    } else {
      app.MakePassive(log);
      result = app.OpenWizard() ? app.Run() : kExitFailed;
    }
  }
  log.line("exit code: %d", result);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  // First of all: from here on libraries come only from the system folder, so a
  // library planted beside a downloaded setup is never loaded.
  platform::restrictDllLoading();
  // The folder browser needs the component library on this thread.
  platform::oleInitialize();
  const std::string commandLine = platform::programCommandLine(argc, argv);
  const CommandLine line = readCommandLine(platform::programArguments(argc, argv), commandLine);
  int result = 0;
  if (!line.ok() || line.help) {
    if (line.mode != RunMode::Quiet) showSwitches(line);
    result = line.ok() ? kExitSuccess : kExitBadCommandLine;
  } else {
    const bool loaded = theApp.Load(platform::currentModule(), SetupApp::ResourceIds());
    result = line.mode == RunMode::Wizard
                 ? runWizard(theApp, loaded)
                 : runWithoutQuestions(theApp, loaded, line, commandLine, programName(argc, argv));
  }
  theApp.Shutdown();
  platform::oleUninitialize();
  return result;
}
