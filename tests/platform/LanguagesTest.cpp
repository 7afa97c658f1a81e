// Which language a program speaks to its user, and, on the host, where the
// user's language comes from.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Languages.h"

namespace {

constexpr std::uint16_t kGerman = 0x0407, kAustrian = 0x0C07, kSwiss = 0x0807;
constexpr std::uint16_t kBrazilian = 0x0416, kPortuguese = 0x0816, kFrench = 0x040C;
constexpr std::uint16_t kBritish = 0x0809, kPolish = 0x0415;

}  // namespace

TEST(Languages, ChoiceGoesFromExactToLanguageToEnglish) {
  const struct {
    const char* what;
    std::uint16_t user;
    std::vector<std::uint16_t> carried;
    std::uint16_t chosen;
  } cases[] = {
      {"exact", kAustrian, {kGerman, kAustrian, 0x0409}, kAustrian},
      {"language alone", kAustrian, {0x0409, kGerman}, kGerman},
      {"the language's default region first", kAustrian, {kSwiss, 0x0409, kGerman}, kGerman},
      {"another region of it", kAustrian, {0x0409, kSwiss}, kSwiss},
      {"Portugal reads Brazil", kPortuguese, {0x0409, kFrench, kBrazilian}, kBrazilian},
      {"not carried: English", kPolish, {kGerman, 0x0409, kFrench}, 0x0409},
      {"English of another region", kBritish, {kGerman, 0x0409}, 0x0409},
      {"US English before the others", kPolish, {kBritish, 0x0409}, 0x0409},
      {"no English: the first", kPolish, {kFrench, kGerman}, kFrench},
      {"a language alone", 0x0015, {kGerman, 0x0409}, 0x0409},
      {"a language alone, carried", 0x0007, {0x0409, kSwiss, kGerman}, kGerman},
      {"nothing carried", kGerman, {}, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::chooseLanguage(c.user, c.carried.data(), c.carried.size()), c.chosen)
        << c.what;
  }
}

TEST(Languages, LocaleNamesAndTags) {
  const struct {
    const char* locale;
    std::uint16_t language;
  } cases[] = {
      {"de_DE.UTF-8", kGerman},
      {"de_AT.UTF-8", kAustrian},
      {"pt_PT@euro", kPortuguese},
      {"fr", kFrench},
      {"pl_PL.UTF-8", 0x0015},  // a region the table lacks: the language alone
      {"C", 0},
      {"POSIX", 0},
      {"", 0},
      {"xx_YY.UTF-8", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::languageOfLocaleName(c.locale), c.language) << c.locale;
  }
  ASSERT_NE(platform::findLanguage("DE_at"), nullptr);
  EXPECT_EQ(platform::findLanguage("DE_at")->id, kAustrian);
  EXPECT_EQ(platform::findLanguage("pt")->id, kBrazilian);
  EXPECT_FALSE(platform::findLanguage("pl")->westernLetters);
}

#ifndef _WIN32
// As Wine takes it: LC_ALL, then LC_MESSAGES, then LANG; the first that is set
// decides, even when it names no language we know.
TEST(Languages, HostUserLanguageFollowsTheLocaleVariables) {
  const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::string saved[3];
  bool had[3];
  for (int i = 0; i < 3; ++i) {
    const char* value = std::getenv(names[i]);
    had[i] = value != nullptr;
    if (had[i]) saved[i] = value;
  }
  const struct {
    const char* all;
    const char* messages;
    const char* lang;
    std::uint16_t language;
  } cases[] = {
      {nullptr, nullptr, nullptr, 0x0409},
      {nullptr, nullptr, "de_DE.UTF-8", kGerman},
      {nullptr, "fr_FR.UTF-8", "de_DE.UTF-8", kFrench},
      {"pt_PT.UTF-8", "fr_FR.UTF-8", "de_DE.UTF-8", kPortuguese},
      {"", nullptr, "de_AT.UTF-8", kAustrian},  // an empty variable is not set
      {"C", nullptr, "de_DE.UTF-8", 0x0409},
  };
  for (const auto& c : cases) {
    const char* values[] = {c.all, c.messages, c.lang};
    for (int i = 0; i < 3; ++i) {
      if (values[i] != nullptr) {
        setenv(names[i], values[i], 1);
      } else {
        unsetenv(names[i]);
      }
    }
    EXPECT_EQ(platform::userLanguage(), c.language)
        << (c.all ? c.all : "-") << " " << (c.messages ? c.messages : "-") << " "
        << (c.lang ? c.lang : "-");
  }
  for (int i = 0; i < 3; ++i) {
    if (had[i]) {
      setenv(names[i], saved[i].c_str(), 1);
    } else {
      unsetenv(names[i]);
    }
  }
}
#endif
