#include "app/SetupTexts.h"

namespace {

void loadOptional(platform::ModuleHandle module, int id, SetupString& text) {
  SetupString loaded;
  if (loaded.loadResourceText(module, id)) text = loaded;
}

}  // namespace

bool SetupTexts::Load(platform::ModuleHandle module, int windowId, int headerId, int welcomeId) {
  if (!windowName.loadResourceText(module, windowId)) return false;
  loadOptional(module, headerId, headerTitle);
  loadOptional(module, welcomeId, welcomeText);
  return true;
}
