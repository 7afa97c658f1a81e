#include "app/SetupTexts.h"

#include "base/SetupString.h"

bool LoadSetupTexts(platform::ModuleHandle module, SetupTexts& texts) {
  std::size_t count = 0;
  const texts::TextEntry* entries = texts::catalog(count);
  for (std::size_t i = 0; i < count; ++i) {
    SetupString loaded;
    if (loaded.loadResourceText(module, entries[i].id)) {
      texts.set(entries[i].id, loaded.text());
    } else if (entries[i].id == texts::WindowName) {
      return false;
    }
  }
  return true;
}
