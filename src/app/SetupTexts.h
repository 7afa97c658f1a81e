// SetupTexts: what the pages, the window and the message boxes say, read from
// the setup's string table at start-up in the user's language
// (texts/TextCatalog.h lists them by id).
// An entry that is missing or empty leaves our own text in its place, so a setup
// made without them shows exactly our pages.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"
#include "texts/TextSet.h"

// The window class's name: ours alone, never shown, never translated.
constexpr int kClassNameString = 2;

using SetupTexts = texts::TextSet;

// Reads every text of the catalogue from the string table of `module` in
// `language` (texts/TextLoading.h: else its English entry, else ours, and ours
// for a format whose conversions differ). False when the window's name is in
// neither language: every setup has one.
bool LoadSetupTexts(platform::ModuleHandle module, std::uint16_t language, SetupTexts& texts);
