// The entry point. The command line means nothing to the program; everything it
// does comes from its two resources and the user's clicks.
#include "app/SetupApp.h"
#include "platform/Com.h"
#include "platform/Module.h"

namespace {

// The one application object, made before main and gone after it. Its
// construction opens nothing.
SetupApp theApp;

}  // namespace

int main() {
  // First of all: from here on libraries come only from the system folder, so a
  // library planted beside a downloaded setup is never loaded.
  platform::restrictDllLoading();
  // The folder browser needs the component library on this thread.
  platform::oleInitialize();
  int result = -1;
  if (theApp.Initialise(platform::currentModule(), SetupApp::ResourceIds())) {
    result = theApp.Run();
  } else if (theApp.HandedOver()) {
    // Another copy of this setup runs and was brought to the front.
    result = 0;
  } else {
    theApp.ShowFatalError();
  }
  theApp.Shutdown();
  platform::oleUninitialize();
  return result;
}
