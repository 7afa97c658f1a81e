#include "system/FileOps.h"

#include <gtest/gtest.h>

#include <string>

#include "base/Paths.h"
#include "base/SortedStringSet.h"
#include "platform/Files.h"
#include "support/TestFiles.h"
#include "system/Folders.h"

namespace {

const char* kBase = "C:\\kestrane-tests\\fileops";

// A fresh, empty folder for each test.
class FileOps : public ::testing::Test {
 protected:
  void SetUp() override {
    createFolder("C:\\kestrane-tests");
    ASSERT_TRUE(deleteTree(kBase, 0, true) || !isDirectory(kBase));
    ASSERT_TRUE(createFolder(kBase));
  }
  void TearDown() override { deleteTree(kBase, 0, true); }

  static std::string at(const char* relative) { return std::string(kBase) + "\\" + relative; }

  static void writeFile(const std::string& path, const std::string& text) {
    ByteStream s;
    s.appendBytes(std::uint32_t(text.size()), text.data());
    ASSERT_EQ(writeStreamToFile(s, path.c_str()), S_OK) << path;
  }
  static bool exists(const std::string& path) {
    return platform::getFileAttributes(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
};

}  // namespace

TEST_F(FileOps, CreateFolderMakesOneLevel) {
  EXPECT_FALSE(createFolder(at("missing\\child").c_str()));
  EXPECT_FALSE(exists(at("missing")));
  writeFile(at("file"), "x");
  EXPECT_FALSE(createFolder(at("file").c_str()));
  ASSERT_TRUE(createFolder(at("dir").c_str()));
  writeFile(at("dir\\keep.txt"), "kept");
  EXPECT_TRUE(createFolder(at("dir").c_str()));  // exists: untouched
  EXPECT_TRUE(exists(at("dir\\keep.txt")));
}

TEST_F(FileOps, WriteStreamCreatesTruncatesAndRespectsReadOnly) {
  ByteStream empty;
  ASSERT_EQ(writeStreamToFile(empty, at("empty.bin").c_str()), S_OK);
  std::string content = "?";
  ASSERT_TRUE(readTestFile(at("empty.bin").c_str(), content));
  EXPECT_EQ(content, "");

  writeFile(at("f.txt"), "a long first version");
  writeFile(at("f.txt"), "short");
  ASSERT_TRUE(readTestFile(at("f.txt").c_str(), content));
  EXPECT_EQ(content, "short");

  ByteStream s;
  s.appendBytes(3, "new");
  EXPECT_EQ(writeStreamToFile(s, at("no-such-folder\\f.txt").c_str()), E_FAIL);

  ASSERT_TRUE(platform::setFileAttributes(at("f.txt").c_str(), FILE_ATTRIBUTE_READONLY));

  // copyFileTo clears the read-only bit of its destination first.
  copyFileTo(at("empty.bin").c_str(), at("f.txt").c_str());
  ASSERT_TRUE(readTestFile(at("f.txt").c_str(), content));
  EXPECT_EQ(content, "");
}

TEST_F(FileOps, DeleteTreeRemovesNestedAndReadOnlyFiles) {
  for (const char* trailing : {"", "\\"}) {
    ASSERT_TRUE(createFolder(at("tree").c_str()));
    ASSERT_TRUE(createFolder(at("tree\\a").c_str()));
    ASSERT_TRUE(createFolder(at("tree\\a\\b").c_str()));
    writeFile(at("tree\\top.txt"), "1");
    writeFile(at("tree\\a\\b\\deep.txt"), "2");
    writeFile(at("tree\\a\\ro.txt"), "3");
    ASSERT_TRUE(platform::setFileAttributes(at("tree\\a\\ro.txt").c_str(),
                                            FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(deleteTree((at("tree") + trailing).c_str(), 0, true)) << trailing;
    EXPECT_FALSE(exists(at("tree"))) << trailing;
  }
  ASSERT_TRUE(createFolder(at("kept").c_str()));
  ASSERT_TRUE(createFolder(at("kept\\sub").c_str()));
  writeFile(at("kept\\sub\\x"), "x");
  EXPECT_TRUE(deleteTree(at("kept").c_str(), 0, false));
  EXPECT_TRUE(isDirectory(at("kept").c_str()));  // emptied, not removed
  EXPECT_FALSE(exists(at("kept\\sub")));
  EXPECT_TRUE(deleteTree("", 0, true));
}

TEST_F(FileOps, DeleteTreeStopsAtAFileInUse) {
  ASSERT_TRUE(createFolder(at("busy").c_str()));
  writeFile(at("busy\\a.txt"), "a");
  writeFile(at("busy\\b.txt"), "b");
  {
    UndeletableFile lock(at("busy\\b.txt").c_str());
    EXPECT_FALSE(deleteTree(at("busy").c_str(), 0, true));
  }
  EXPECT_TRUE(isDirectory(at("busy").c_str()));
  EXPECT_TRUE(deleteTree(at("busy").c_str(), 0, true));
}

TEST_F(FileOps, SystemCopyFromTheSystemFolderKeepsTheFile) {
  char system[kPathBufferSize];
  ASSERT_GT(platform::getSystemDirectory(system, sizeof system), 0);
  const std::string file = std::string(system) + "\\kestrane-system-copy.dll";
  writeFile(file, "library bytes");
  for (const std::string& folder : {std::string(system), std::string(system) + "\\"}) {
    copyToSystemFolder("kestrane-system-copy.dll", folder.c_str(), system);
    std::string content;
    ASSERT_TRUE(readTestFile(file.c_str(), content)) << folder;
    EXPECT_EQ(content, "library bytes") << folder;
  }
  EXPECT_TRUE(platform::deleteFile(file.c_str()));
}

TEST(SetExtension, ReplacesTheLastComponentsExtension) {
  const struct {
    const char* path;
    const char* extension;
    const char* result;
  } cases[] = {
      {"Demo", ".lnk", "Demo.lnk"},
      {"C:\\dir.d\\Demo.exe", "lnk", "C:\\dir.d\\Demo.lnk"},
      {"Demo 2.0 Beta", ".lnk", "Demo 2.lnk"},
      {"Demo.exe", "", "Demo"},
      {"name.", nullptr, "name"},
      {"a..", nullptr, "a"},
      {"Demo.exe", nullptr, "Demo"},
  };
  for (const auto& c : cases) {
    SetupString path(c.path);
    setExtension(path, c.extension);
    EXPECT_EQ(path, c.result) << c.path;
  }
}

TEST(Folders, ProgramFilesIsTheDefaultLocation) {
  SetupString folder;
  defaultProgramFiles(folder);
  EXPECT_TRUE(isDirectory(folder.text())) << folder.text();
  EXPECT_EQ(compareNoCase(folder.substringFrom(3), "Program Files"), 0) << folder.text();
  SetupString bogus("kept");
  EXPECT_FALSE(specialFolderPath(bogus, 0x7777));
  EXPECT_TRUE(bogus.isEmpty());
}
