// Languages as Windows numbers them: a language id is a 16-bit value, the
// primary language in its low 10 bits and the region (sublanguage) above them.
// A manifest names a language by its tag ("de", "de-AT", "pt-BR"); the host
// backend reads the user's language from the POSIX locale variables, as Wine
// does, and turns the locale's name into the same id.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

constexpr std::uint16_t kEnglishLanguage = 0x0409;  // en-US

inline constexpr std::uint16_t primaryLanguage(std::uint16_t id) {
  return id & 0x3FF;
}
inline constexpr std::uint16_t subLanguage(std::uint16_t id) {
  return id >> 10;
}

struct LanguageInfo {
  const char* tag;      // "de", "de-AT": the manifest's name of it
  std::uint16_t id;     // its Windows language id
  const char* name;     // "German (Austria)", in English
  bool westernLetters;  // written in Windows-1252 (false: Polish, Greek, ...)
};

// The known languages; a tag of language alone names the one Windows gives that
// language by default ("de" is de-DE, "pt" is pt-BR, "no" is nb-NO).
const LanguageInfo* languages(std::size_t& count);

// The language of a tag, without regard to case, '_' counting as '-'. Null for a
// tag the table does not know.
const LanguageInfo* findLanguage(const char* tag);
// The table's entry for a language id, or null.
const LanguageInfo* findLanguage(std::uint16_t id);

// The language id of a POSIX locale name ("de_DE.UTF-8", "pt_BR@euro"): its
// language and region when the table knows both, the language alone (region 0)
// when it knows only that; 0 for "C", "POSIX", an empty name or an unknown
// language.
std::uint16_t languageOfLocaleName(const char* localeName);

// Which of the `count` languages a program carries it speaks to a user of
// language `user`: the same language and region; else the same language (its
// default region first); else English (en-US first); else the first carried.
// 0 when it carries none.
std::uint16_t chooseLanguage(std::uint16_t user, const std::uint16_t* carried, std::size_t count);

// How numbers are written in `language`, in Windows-1252: the character between
// groups of three digits (',' in English, '.' in German, a no-break space in
// French and Swedish, an apostrophe in Switzerland) and the decimal mark ('.'
// where groups take ',' or an apostrophe, ',' elsewhere). English's for a
// language not known.
struct NumberMarks {
  char group;
  char decimal;
};
NumberMarks numberMarks(std::uint16_t language);

// The user's language: GetUserDefaultUILanguage on Windows; on the host the
// first of LC_ALL, LC_MESSAGES and LANG that is set, through
// languageOfLocaleName (en-US when none is).
std::uint16_t userLanguage();

}  // namespace platform
