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
      {"the language's default region first", kAustrian, {kSwiss, 0x0409, kGerman}, kGerman},
      {"another region of it", kAustrian, {0x0409, kSwiss}, kSwiss},
      {"Portugal reads Brazil", kPortuguese, {0x0409, kFrench, kBrazilian}, kBrazilian},
      {"a language alone", 0x0007, {0x0409, kSwiss, kGerman}, kGerman},
      {"not carried: English", kPolish, {kGerman, 0x0409, kFrench}, 0x0409},
      {"US English before the others", kPolish, {kBritish, 0x0409}, 0x0409},
      {"no English: the first", kPolish, {kFrench, kGerman}, kFrench},
      {"nothing carried", kGerman, {}, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::chooseLanguage(c.user, c.carried.data(), c.carried.size()), c.chosen)
        << c.what;
  }
}

#ifndef _WIN32
// As Wine takes it: LC_ALL, then LC_MESSAGES, then LANG; the first that is set
// and not empty decides, even when it names no language we know.
TEST(Languages, HostUserLanguageFollowsTheLocaleVariables) {
  const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  const struct {
    const char* values[3];  // null: unset
    std::uint16_t language;
  } cases[] = {
      {{nullptr, nullptr, nullptr}, 0x0409},
      {{nullptr, nullptr, "de_DE.UTF-8"}, kGerman},
      {{nullptr, "fr_FR.UTF-8", "de_DE.UTF-8"}, kFrench},
      {{"pt_PT.UTF-8", "fr_FR.UTF-8", "de_DE.UTF-8"}, kPortuguese},
      {{"", nullptr, "de_AT.UTF-8"}, kAustrian},
      {{"C", nullptr, "de_DE.UTF-8"}, 0x0409},
      {{"pl_PL.UTF-8", nullptr, nullptr}, 0x0015},  // Polish, a region we do not list
  };
  std::vector<const char*> saved;
  for (const char* name : names) saved.push_back(std::getenv(name));
  const auto put = [&](const char* const* values) {
    for (int i = 0; i < 3; ++i) {
      if (values[i] != nullptr) {
        setenv(names[i], values[i], 1);
      } else {
        unsetenv(names[i]);
      }
    }
  };
  std::vector<std::string> kept;  // getenv's strings go with the next setenv
  for (const char* value : saved) kept.push_back(value != nullptr ? value : "");
  for (const auto& c : cases) {
    put(c.values);
    EXPECT_EQ(platform::userLanguage(), c.language) << (c.values[0] ? c.values[0] : "-");
  }
  const char* restored[3];
  for (int i = 0; i < 3; ++i)
    restored[i] = saved[std::size_t(i)] ? kept[std::size_t(i)].c_str() : nullptr;
  put(restored);
}
#endif
