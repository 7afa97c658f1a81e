#include "base/SetupString.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(SetupString, EmptyStringsShareOneUncountedBlock) {
  SetupString a;
  SetupString b("");
  SetupString c(static_cast<const char*>(nullptr));
  SetupString d('x', 0);
  for (const SetupString* s : {&a, &b, &c, &d}) {
    EXPECT_TRUE(s->sharesBlockWith(a));
    EXPECT_EQ(s->refCount(), -1);
    EXPECT_EQ(s->length(), 0);
    EXPECT_STREQ(s->text(), "");
  }
  {
    SetupString copy(a);
    SetupString assigned;
    assigned = b;
    EXPECT_TRUE(copy.sharesBlockWith(a));
    EXPECT_TRUE(assigned.sharesBlockWith(a));
  }
  EXPECT_EQ(a.refCount(), -1);  // destroying empty strings never counted or freed it
}

TEST(SetupString, CopiesShareUntilOneIsWritten) {
  SetupString a("hello");
  EXPECT_EQ(a.capacity(), 5);  // blocks fit exactly
  SetupString b(a);
  EXPECT_TRUE(b.sharesBlockWith(a));
  EXPECT_EQ(a.refCount(), 2);

  b.append(" world");
  EXPECT_EQ(a, "hello");
  EXPECT_EQ(b, "hello world");
  EXPECT_EQ(a.refCount(), 1);
  EXPECT_EQ(b.refCount(), 1);

  SetupString c(a);
  c.eraseRange(0, 1);
  c.insertText(0, "j");
  EXPECT_EQ(a, "hello");
  EXPECT_EQ(c, "jello");
}

TEST(SetupString, AssigningTheSameBlockChangesNothing) {
  SetupString a("text");
  SetupString b(a);
  const SetupString& same = a;
  a = same;
  a = b;
  EXPECT_EQ(a.refCount(), 2);
  EXPECT_TRUE(a.sharesBlockWith(b));
}

TEST(SetupString, AssigningEmptyKeepsAPrivateBlock) {
  SetupString a("abcdef");
  const SetupString empty;
  a = empty;
  EXPECT_TRUE(a.isEmpty());
  EXPECT_EQ(a.capacity(), 6);
  a.append("xyz");
  EXPECT_EQ(a, "xyz");
}

TEST(SetupString, AssignBytesMayReadItsOwnText) {
  SetupString a("abcdef");
  a.assignBytes(3, a.text() + 2);
  EXPECT_EQ(a, "cde");
  SetupString shared(a);
  a.assignBytes(2, a.text() + 1);
  EXPECT_EQ(a, "de");
  EXPECT_EQ(shared, "cde");
}

TEST(SetupString, InsertAndEraseClampTheirArguments) {
  SetupString s("hello");
  EXPECT_EQ(s.insertText(100, "!"), 6);
  EXPECT_EQ(s, "hello!");
  EXPECT_EQ(s.insertText(-4, ">"), 7);
  EXPECT_EQ(s, ">hello!");
  EXPECT_EQ(s.insertText(3, ""), 7);
  EXPECT_EQ(s.insertText(3, nullptr), 7);
  s.insertText(1, s.text());  // its own text, moved while inserted
  EXPECT_EQ(s, ">>hello!hello!");

  SetupString e("hello");
  e.eraseRange(3, 50);
  EXPECT_EQ(e, "hel");
  e.eraseRange(-2, 1);
  EXPECT_EQ(e, "el");
  e.eraseRange(2, 1);
  e.eraseRange(0, 0);
  EXPECT_EQ(e, "el");
}

TEST(SetupString, SubstringsSharePrefixesAndClampRanges) {
  const SetupString s("hello");
  SetupString whole = s.substring(0, 5);
  EXPECT_TRUE(whole.sharesBlockWith(s));
  EXPECT_TRUE(s.substring(0, 50).sharesBlockWith(s));
  EXPECT_TRUE(s.substring(10, 3).isEmpty());
  EXPECT_EQ(s.substring(5, 3), "");
  EXPECT_EQ(s.substring(1, 3), "ell");
  EXPECT_EQ(s.substring(-3, 2), "he");
  EXPECT_EQ(s.substring(3, -1), "");
  EXPECT_EQ(s.substringFrom(2), "llo");
  EXPECT_TRUE(s.prefix(-1).isEmpty());
  EXPECT_EQ(s.prefix(2), "he");
  EXPECT_TRUE(s.prefix(9).sharesBlockWith(s));
}

TEST(SetupString, FindCharScansFromStart) {
  const SetupString s("a\\b\\c");
  EXPECT_EQ(s.findChar('\\'), 1);
  EXPECT_EQ(s.findChar('\\', 2), 3);
  EXPECT_EQ(s.findChar('\\', -7), 1);
  EXPECT_EQ(s.findChar('a', 5), -1);
  EXPECT_EQ(s.findChar('z'), -1);
}

TEST(SetupString, ConcatAndCharacterForms) {
  EXPECT_EQ(SetupString::concat(SetupString("C:"), SetupString("\\")), "C:\\");
  EXPECT_EQ(SetupString::concat('.', SetupString("txt")), ".txt");
  EXPECT_EQ(SetupString('-', 3), "---");
  EXPECT_TRUE(SetupString('-', -1).isEmpty());
  SetupString s;
  s.append('a');
  s.append(static_cast<const char*>(nullptr));
  s.append(SetupString("bc"));
  EXPECT_EQ(s, "abc");
}

TEST(SetupString, LockedBuffersKeepTheirLengthUntilUnlocked) {
  SetupString s("abc");
  SetupString shared(s);
  char* buffer = s.lockBuffer(20);
  EXPECT_GE(s.capacity(), 20);
  EXPECT_EQ(s.length(), 3);
  std::snprintf(buffer, 21, "%s-%d", "abc", 12345);
  s.unlockBuffer();
  EXPECT_EQ(s, "abc-12345");
  EXPECT_EQ(shared, "abc");

  buffer = s.lockBufferWithLength(2080);
  EXPECT_EQ(s.length(), 2080);
  buffer[2] = '\0';
  s.unlockBuffer(-1);
  EXPECT_EQ(s, "ab");
  s.unlockBuffer(1);
  EXPECT_EQ(s, "a");
}

TEST(SetupString, FormatWritesExactlyWhatPrintfWrites) {
  SetupString s("old");
  s.format("%s %s", "1,205", "KB");
  EXPECT_EQ(s, "1,205 KB");
  s.format("%5.2f|%-4d|%x|%c|%%", 3.14159, 7, 255u, 'z');
  EXPECT_EQ(s, " 3.14|7   |ff|z|%");
  s.format("%s and %s", s.text(), s.text());  // its own text as an argument
  EXPECT_EQ(s, " 3.14|7   |ff|z|% and  3.14|7   |ff|z|%");
  const std::string wide(5000, 'w');
  s.format("[%s]", wide.c_str());
  EXPECT_EQ(s.length(), 5002);
  s.format("%s", "");
  EXPECT_TRUE(s.isEmpty());
}

TEST(SetupString, CountsStayExactAcrossThreads) {
  // Copies made and dropped on two threads at once must free the block once.
  SetupString original("shared between the window and the worker");
  auto churn = [&original] {
    for (int i = 0; i < 20000; ++i) {
      SetupString copy(original);
      SetupString other;
      other = copy;
    }
  };
  std::thread worker(churn);
  churn();
  worker.join();
  EXPECT_EQ(original.refCount(), 1);
  EXPECT_EQ(original, "shared between the window and the worker");
}
