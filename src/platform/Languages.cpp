#include "platform/Languages.h"

#include <cstring>

namespace platform {
namespace {

// The entry of a language alone comes before its regions: it is the language's
// default region, the one a tag without region names.
constexpr LanguageInfo kLanguages[] = {
    {"en", 0x0409, "English", true},
    {"en-US", 0x0409, "English (United States)", true},
    {"en-GB", 0x0809, "English (United Kingdom)", true},
    {"en-AU", 0x0C09, "English (Australia)", true},
    {"en-CA", 0x1009, "English (Canada)", true},
    {"en-NZ", 0x1409, "English (New Zealand)", true},
    {"en-IE", 0x1809, "English (Ireland)", true},
    {"en-ZA", 0x1C09, "English (South Africa)", true},
    {"de", 0x0407, "German", true},
    {"de-DE", 0x0407, "German (Germany)", true},
    {"de-CH", 0x0807, "German (Switzerland)", true},
    {"de-AT", 0x0C07, "German (Austria)", true},
    {"de-LU", 0x1007, "German (Luxembourg)", true},
    {"de-LI", 0x1407, "German (Liechtenstein)", true},
    {"fr", 0x040C, "French", true},
    {"fr-FR", 0x040C, "French (France)", true},
    {"fr-BE", 0x080C, "French (Belgium)", true},
    {"fr-CA", 0x0C0C, "French (Canada)", true},
    {"fr-CH", 0x100C, "French (Switzerland)", true},
    {"fr-LU", 0x140C, "French (Luxembourg)", true},
    {"es", 0x0C0A, "Spanish", true},
    {"es-ES", 0x0C0A, "Spanish (Spain)", true},
    {"es-MX", 0x080A, "Spanish (Mexico)", true},
    {"es-CO", 0x240A, "Spanish (Colombia)", true},
    {"es-AR", 0x2C0A, "Spanish (Argentina)", true},
    {"es-CL", 0x340A, "Spanish (Chile)", true},
    {"es-US", 0x540A, "Spanish (United States)", true},
    {"it", 0x0410, "Italian", true},
    {"it-IT", 0x0410, "Italian (Italy)", true},
    {"it-CH", 0x0810, "Italian (Switzerland)", true},
    {"pt", 0x0416, "Portuguese (Brazil)", true},
    {"pt-BR", 0x0416, "Portuguese (Brazil)", true},
    {"pt-PT", 0x0816, "Portuguese (Portugal)", true},
    {"nl", 0x0413, "Dutch", true},
    {"nl-NL", 0x0413, "Dutch (Netherlands)", true},
    {"nl-BE", 0x0813, "Dutch (Belgium)", true},
    {"sv", 0x041D, "Swedish", true},
    {"sv-SE", 0x041D, "Swedish (Sweden)", true},
    {"sv-FI", 0x081D, "Swedish (Finland)", true},
    {"da", 0x0406, "Danish", true},
    {"da-DK", 0x0406, "Danish (Denmark)", true},
    {"nb", 0x0414, "Norwegian (Bokmal)", true},
    {"nb-NO", 0x0414, "Norwegian (Bokmal, Norway)", true},
    {"no", 0x0414, "Norwegian", true},
    {"nn", 0x0814, "Norwegian (Nynorsk)", true},
    {"nn-NO", 0x0814, "Norwegian (Nynorsk, Norway)", true},
    {"fi", 0x040B, "Finnish", true},
    {"fi-FI", 0x040B, "Finnish (Finland)", true},
    {"is", 0x040F, "Icelandic", true},
    {"ca", 0x0403, "Catalan", true},
    {"eu", 0x042D, "Basque", true},
    {"gl", 0x0456, "Galician", true},
    {"ga", 0x083C, "Irish", true},
    {"af", 0x0436, "Afrikaans", true},
    {"id", 0x0421, "Indonesian", true},
    {"ms", 0x043E, "Malay", true},
    {"sw", 0x0441, "Swahili", true},
    {"pl", 0x0415, "Polish", false},
    {"cs", 0x0405, "Czech", false},
    {"sk", 0x041B, "Slovak", false},
    {"hu", 0x040E, "Hungarian", false},
    {"sl", 0x0424, "Slovenian", false},
    {"hr", 0x041A, "Croatian", false},
    {"ro", 0x0418, "Romanian", false},
    {"et", 0x0425, "Estonian", false},
    {"lv", 0x0426, "Latvian", false},
    {"lt", 0x0427, "Lithuanian", false},
    {"el", 0x0408, "Greek", false},
    {"ru", 0x0419, "Russian", false},
    {"uk", 0x0422, "Ukrainian", false},
    {"bg", 0x0402, "Bulgarian", false},
    {"tr", 0x041F, "Turkish", false},
    {"he", 0x040D, "Hebrew", false},
    {"ar", 0x0401, "Arabic", false},
    {"th", 0x041E, "Thai", false},
    {"vi", 0x042A, "Vietnamese", false},
    {"ja", 0x0411, "Japanese", false},
    {"ko", 0x0412, "Korean", false},
    {"zh", 0x0804, "Chinese (Simplified)", false},
    {"zh-CN", 0x0804, "Chinese (Simplified, China)", false},
    {"zh-TW", 0x0404, "Chinese (Traditional, Taiwan)", false},
};

char fold(char c) {
  if (c == '_') return '-';
  return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// True when `tag` equals the first `length` characters of `text` and nothing
// more follows in the tag.
bool sameTag(const char* tag, const char* text, std::size_t length) {
  std::size_t i = 0;
  for (; i < length; ++i) {
    if (tag[i] == '\0' || fold(tag[i]) != fold(text[i])) return false;
  }
  return tag[i] == '\0';
}

const LanguageInfo* findTag(const char* text, std::size_t length) {
  for (const LanguageInfo& language : kLanguages) {
    if (sameTag(language.tag, text, length)) return &language;
  }
  return nullptr;
}

bool carries(const std::uint16_t* carried, std::size_t count, std::uint16_t id) {
  for (std::size_t i = 0; i < count; ++i) {
    if (carried[i] == id) return true;
  }
  return false;
}

// The carried language of `primary`: its default region first, else the first.
std::uint16_t carriedOf(std::uint16_t primary, const std::uint16_t* carried, std::size_t count) {
  const LanguageInfo* home = findLanguage(primary);
  if (home != nullptr && carries(carried, count, home->id)) return home->id;
  for (std::size_t i = 0; i < count; ++i) {
    if (primaryLanguage(carried[i]) == primary) return carried[i];
  }
  return 0;
}

}  // namespace

const LanguageInfo* languages(std::size_t& count) {
  count = sizeof kLanguages / sizeof kLanguages[0];
  return kLanguages;
}

namespace {

char digitGroupSeparator(std::uint16_t language) {
  constexpr char kNoBreakSpace = '\xA0';
  // The regions that group otherwise than their language.
  switch (language) {
    case 0x0807:  // de-CH
    case 0x1407:  // de-LI
    case 0x100C:  // fr-CH
    case 0x0810:  // it-CH
      return '\'';
    case 0x080A:  // es-MX
    case 0x540A:  // es-US
      return ',';
    case 0x0816:  // pt-PT
      return kNoBreakSpace;
    default:
      break;
  }
  switch (primaryLanguage(language)) {
    case 0x07:  // German
    case 0x0A:  // Spanish
    case 0x10:  // Italian
    case 0x16:  // Portuguese
    case 0x13:  // Dutch
    case 0x06:  // Danish
    case 0x03:  // Catalan
    case 0x2D:  // Basque
    case 0x56:  // Galician
    case 0x21:  // Indonesian
      return '.';
    case 0x0C:  // French
    case 0x1D:  // Swedish
    case 0x14:  // Norwegian
    case 0x0B:  // Finnish
    case 0x36:  // Afrikaans
      return kNoBreakSpace;
    default:
      return ',';
  }
}

}  // namespace

NumberMarks numberMarks(std::uint16_t language) {
  const char group = digitGroupSeparator(language);
  return {group, group == ',' || group == '\'' ? '.' : ','};
}

const LanguageInfo* findLanguage(const char* tag) {
  return tag != nullptr ? findTag(tag, std::strlen(tag)) : nullptr;
}

const LanguageInfo* findLanguage(std::uint16_t id) {
  for (const LanguageInfo& language : kLanguages) {
    if (language.id == id) return &language;
  }
  // A language alone (region 0) is its default region.
  if (subLanguage(id) == 0) {
    for (const LanguageInfo& language : kLanguages) {
      if (primaryLanguage(language.id) == id) return &language;
    }
  }
  return nullptr;
}

std::uint16_t languageOfLocaleName(const char* localeName) {
  if (localeName == nullptr) return 0;
  // "ll_RR.charset@modifier": the tag ends at the charset or the modifier.
  const std::size_t tagLength = std::strcspn(localeName, ".@");
  if (const LanguageInfo* exact = findTag(localeName, tagLength)) return exact->id;
  const std::size_t languageLength = std::strcspn(localeName, "_-.@");
  const LanguageInfo* alone = findTag(localeName, languageLength);
  return alone != nullptr ? primaryLanguage(alone->id) : 0;
}

std::uint16_t chooseLanguage(std::uint16_t user, const std::uint16_t* carried, std::size_t count) {
  if (count == 0) return 0;
  if (carries(carried, count, user)) return user;
  if (const std::uint16_t same = carriedOf(primaryLanguage(user), carried, count)) return same;
  if (const std::uint16_t english = carriedOf(primaryLanguage(kEnglishLanguage), carried, count)) {
    return english;
  }
  return carried[0];
}

}  // namespace platform
