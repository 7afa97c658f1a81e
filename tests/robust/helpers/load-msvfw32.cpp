// The control of the planted-library test: loads msvfw32 by its bare name, as a
// static import or a careless LoadLibrary would, either as it is or after the
// restriction the setup makes first. Without the restriction a copy planted
// beside this program is loaded, which shows the test can see a planted load.
//
//   load-msvfw32 [restricted]
#include <windows.h>

#include <cstring>

#include "platform/Module.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "restricted") == 0 && !platform::restrictDllLoading()) {
    return 3;
  }
  return LoadLibraryA("msvfw32.dll") != nullptr ? 0 : 1;
}
