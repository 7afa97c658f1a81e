#include "base/SortedStringSet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A record led by its string, as a file-type entry is led by its ProgID.
struct Entry {
  SetupString key;
  int payload = 0;
};
const SetupString& leadingString(const Entry& e) {
  return e.key;
}

std::vector<std::string> keys(const SortedStringSet<SetupString>& set) {
  std::vector<std::string> out;
  for (int i = 0; i < set.count(); ++i) out.emplace_back(set.at(i)->text());
  return out;
}

}  // namespace

TEST(CompareNoCase, FoldsCaseThroughTheCodePage) {
  EXPECT_EQ(compareNoCase("TXT", "txt"), 0);
  EXPECT_LT(compareNoCase("abc", "ABD"), 0);
  EXPECT_GT(compareNoCase("abcd", "ABC"), 0);
  EXPECT_EQ(compareNoCase("", ""), 0);
  EXPECT_EQ(compareNoCase("\xE9t\xE9", "\xC9T\xC9"), 0);  // e acute in Windows-1252
  EXPECT_NE(compareNoCase("a", "b"), 0);
  // Upper-casing puts '_' (0x5F) after letters: "A_" < "AB" would hold without it.
  EXPECT_GT(compareNoCase("a_", "AB"), 0);
}

TEST(CompareExact, IsPlainByteOrder) {
  EXPECT_LT(compareExact("B", "a"), 0);  // upper case sorts first, whatever the locale
  EXPECT_LT(compareExact("abc", "abd"), 0);
  EXPECT_LT(compareExact("ab", "abc"), 0);
  EXPECT_EQ(compareExact("same", "same"), 0);
  EXPECT_GT(compareExact("\xE9", "z"), 0);  // bytes compare unsigned
}

TEST(SortedStringSet, KeepsOrderAndRefusesDuplicates) {
  SortedStringSet<SetupString> set(10, compareExact);
  for (const char* s : {"mango", "apple", "zebra", "Kiwi", "banana", "apple", "cherry"}) {
    auto* element = new SetupString(s);
    if (set.insertSorted(element) < 0) delete element;
  }
  EXPECT_EQ(keys(set),
            (std::vector<std::string>{"Kiwi", "apple", "banana", "cherry", "mango", "zebra"}));
  for (int i = 0; i < set.count(); ++i) EXPECT_EQ(set.findSorted(*set.at(i)), i);
  EXPECT_EQ(set.findSorted("kiwi"), -1);

  int hint = -5;
  SortedStringSet<SetupString> empty(10, compareExact);
  EXPECT_EQ(empty.findSorted("x", &hint), -1);
  EXPECT_EQ(hint, 0);
}

TEST(SortedStringSet, InsertsAtEveryPosition) {
  // Each order of insertion must end sorted; this walks the hint logic through
  // insertion at the front, the back and between every pair.
  const std::vector<std::string> sorted = {"a", "b", "c", "d", "e", "f", "g"};
  std::vector<std::string> order = sorted;
  do {
    SortedStringSet<SetupString> set(4, compareExact);
    for (const std::string& s : order) ASSERT_GE(set.insertSorted(new SetupString(s.c_str())), 0);
    ASSERT_EQ(keys(set), sorted);
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST(SortedStringSet, AddUniqueAdoptsOnlyNewRecords) {
  SortedStringSet<Entry> types(10, compareExact);
  auto* word = new Entry{"Word.Document", 1};
  auto* text = new Entry{"txtfile", 2};
  auto* again = new Entry{"Word.Document", 3};
  EXPECT_TRUE(types.addUnique(word));
  EXPECT_TRUE(types.addUnique(text));
  EXPECT_FALSE(types.addUnique(again));  // still the caller's
  EXPECT_FALSE(types.addUnique(nullptr));
  EXPECT_EQ(types.count(), 2);
  EXPECT_EQ(types.at(types.findSorted("Word.Document"))->payload, 1);
  delete again;
}

TEST(ExtensionSet, StoresExtensionsWithoutDotsAndIgnoresCase) {
  ExtensionSet set;
  EXPECT_EQ(set.growStep(), 4);
  EXPECT_TRUE(set.addExtension("..txt"));
  EXPECT_EQ(*set.at(0), "txt");
  EXPECT_FALSE(set.addExtension("TXT"));
  EXPECT_EQ(set.findExtension(".txt"), 0);
  EXPECT_EQ(set.findExtension("Txt"), 0);
  EXPECT_EQ(set.findExtension("..txt"), -1);  // only one dot is dropped when searching
  EXPECT_FALSE(set.addExtension("..."));
  EXPECT_FALSE(set.addExtension(""));
  EXPECT_FALSE(set.addExtension(nullptr));
  EXPECT_EQ(set.findExtension(nullptr), -1);
  EXPECT_TRUE(set.addExtension("DOC"));
  EXPECT_TRUE(set.addExtension("rtf"));
  EXPECT_EQ(set.count(), 3);
  EXPECT_EQ(*set.at(0), "DOC");
  EXPECT_EQ(*set.at(2), "txt");
}
