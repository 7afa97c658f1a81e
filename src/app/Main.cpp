// The entry point: reads the resources and the command line, then runs the setup
// the way the command line asks.
#include "app/CommandLine.h"
#include "app/SetupApp.h"
#include "platform/Com.h"
#include "platform/Module.h"
#include "platform/Process.h"

namespace {

// The one application object, made before main and gone after it. Its
// construction opens nothing.
SetupApp theApp;

// The wizard: 0 once its window closes, however it closed.
int runWizard(SetupApp& app) {
  if (!app.OpenWizard()) {
    app.ShowFatalError();
    return -1;
  }
  return app.Run();
}

}  // namespace

int main(int argc, char** argv) {
  // First of all: from here on libraries come only from the system folder, so a
  // library planted beside a downloaded setup is never loaded.
  platform::restrictDllLoading();
  // The folder browser needs the component library on this thread.
  platform::oleInitialize();
  const CommandLine line = readCommandLine(platform::programArguments(argc, argv),
                                           platform::programCommandLine(argc, argv));
  int result = -1;
  if (theApp.Load(platform::currentModule(), SetupApp::ResourceIds())) {
    switch (line.mode) {
      // FIXME: the runs without questions are read but not built yet; until
      // they are, every command line runs the wizard, as it always did.
      case RunMode::Wizard:
      case RunMode::Passive:
      case RunMode::Quiet:
        result = runWizard(theApp);
        break;
    }
  } else if (theApp.OtherCopyRuns()) {
    // Another copy of this setup runs: it is brought to the front, and this one
    // has nothing to do.
    theApp.HandOver();
    result = 0;
  } else {
    theApp.ShowFatalError();
  }
  theApp.Shutdown();
  platform::oleUninitialize();
  return result;
}
