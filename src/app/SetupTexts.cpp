#include "app/SetupTexts.h"

#include "texts/TextLoading.h"

bool LoadSetupTexts(platform::ModuleHandle module, std::uint16_t language, SetupTexts& texts) {
  return texts::loadTexts(module, language, texts);
}
