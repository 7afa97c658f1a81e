// Reading what a program says from its string table, in the user's language.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"
#include "texts/TextSet.h"

namespace texts {

// The language of the string table of `module` to speak to this user
// (platform::chooseLanguage over the languages the table holds text `probeId`
// in: the window's name for a setup, the uninstaller's caption for an
// uninstaller); English for a program without it. Chosen once, at start-up.
std::uint16_t chooseTextLanguage(platform::ModuleHandle module, int probeId = WindowName);

// Takes every text of the catalogue from the string table of `module`: its entry
// in `language`, else its English (0x0409) entry, else ours. An entry whose
// printf conversions are not those of ours is passed over the same way, so a
// damaged translation never reaches a format call. Sets texts.language. False
// when the table has the window's name in neither language (no table, or one
// that cannot be read): the texts are then ours wherever nothing was read.
bool loadTexts(platform::ModuleHandle module, std::uint16_t language, TextSet& texts);

}  // namespace texts
