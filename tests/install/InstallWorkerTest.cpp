#include "app/AppMessages.h"
#include "install/InstallWorker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Paths.h"
#include "package/PackageBytes.h"
#include "support/MessageCollector.h"
#include "support/Targets.h"
#include "support/TestFiles.h"
#include "system/FileOps.h"
#include "system/InstallSwap.h"
#include "texts/TextCatalog.h"

namespace {

const char* kParent = "C:\\kestrane-tests\\worker";
const char* kLocation = "C:\\kestrane-tests\\worker\\Demo Product";

class Worker : public ::testing::Test {
 protected:
  void SetUp() override {
    createFolder("C:\\kestrane-tests");
    deleteTree(kParent, 0, true);
    ASSERT_TRUE(createFolder(kParent));
    options_.ParentFolder = kParent;
    options_.model = &model_;
    target_ = {collector_.window(), MSG_INSTALL_PROGRESS, MSG_INSTALL_DONE, MSG_INSTALL_ERROR};
    worker_.setNotifyTarget(&target_);
    worker_.setOptions(&options_, &installTarget_);
  }
  void TearDown() override { deleteTree(kParent, 0, true); }

  void load(const PackageBytes& p) {
    ByteStream s;
    p.copyTo(s);
    std::uint32_t position = 0;
    ASSERT_TRUE(model_.readPackage(s, position)) << model_.failureReason();
  }

  // Runs one pass; the messages as "done 0", "progress 23", "error 2".
  std::vector<std::string> runPass() {
    installTarget_ = testTarget(model_);
    installTarget_.parentFolder = options_.ParentFolder;
    EXPECT_TRUE(worker_.start());
    worker_.waitUntilEnded();
    EXPECT_FALSE(worker_.hasThread());
    std::vector<std::string> out;
    for (const PostedMessage& m : collector_.take()) {
      if (m.message == MSG_INSTALL_DONE) out.push_back("done " + std::to_string(m.lParam));
      if (m.message == MSG_INSTALL_PROGRESS) out.push_back("progress " + std::to_string(m.lParam));
      if (m.message == MSG_INSTALL_ERROR) {
        EXPECT_EQ(reinterpret_cast<const FailureRecord*>(m.lParam), &worker_.failure());
        out.push_back("error " + std::to_string(worker_.failure().code));
      }
    }
    return out;
  }

  static std::string installed(const char* name) {
    std::string content;
    const std::string path = std::string(kLocation) + "\\" + name;
    return readTestFile(path.c_str(), content) ? content : "<missing>";
  }

  // What lies beside the install folder: nothing, after any pass.
  static std::vector<std::string> besideLocation() {
    std::vector<std::string> names;
    for (const FolderEntry& e : listFolder(kParent)) {
      if (std::string(e.name.text()) != "Demo Product") names.emplace_back(e.name.text());
    }
    return names;
  }

  static void writeOld(const char* name, const char* text) {
    ByteStream s;
    s.appendBytes(std::uint32_t(std::string(text).size()), text);
    ASSERT_EQ(writeStreamToFile(s, (std::string(kLocation) + "\\" + name).c_str()), S_OK);
  }

  InstallModel model_;
  InstallOptions options_;
  InstallTarget installTarget_;
  MessageCollector collector_;
  WorkerNotifyTarget target_;
  InstallWorker worker_;
};

using Lines = std::vector<std::string>;

}  // namespace

TEST_F(Worker, NothingToInstallStillReportsDone) {
  EXPECT_EQ(runPass(), (Lines{"done 0", "done 1"}));  // an empty model
  options_.model = nullptr;
  EXPECT_EQ(runPass(), (Lines{"done 0", "done 1"}));
  EXPECT_FALSE(isDirectory(kLocation));
}

TEST_F(Worker, InstallsEveryFileWithProgressPerBlock) {
  // Bodies whose streams reach into the last 16 KiB block of their 20,000 and
  // 50,000 bytes, so each block is fed to the inflater.
  const std::string first = PackageBytes::noise(19900, 1), second = PackageBytes::noise(49900, 2);
  PackageBytes p;
  p.header().u32(2);
  p.text("a.bin")
      .u32(0)
      .u32(std::uint32_t(first.size()))
      .blob(PackageBytes::paddedBody(first, 20000));
  p.text("bin\\b.bin")
      .u32(0)
      .u32(std::uint32_t(second.size()))
      .blob(PackageBytes::paddedBody(second, 50000));
  load(p);

  // Over an old install without a record of its files, the new version
  // replaces what it ships and every other file stays.
  ASSERT_TRUE(createFolder(kLocation));
  writeOld("stale.txt", "old");
  writeOld("a.bin", "old a");

  EXPECT_EQ(runPass(), (Lines{"done 0", "progress 0", "progress 23", "progress 28", "progress 51",
                              "progress 75", "progress 98", "done 1"}));
  EXPECT_EQ(installed("a.bin"), first);
  EXPECT_EQ(installed("b.bin"), second);  // the folder part of the name is dropped
  EXPECT_EQ(installed("stale.txt"), "old");
  EXPECT_EQ(besideLocation(), Lines{});
}

TEST_F(Worker, SmallItemsPostOneProgressEach) {
  PackageBytes p;
  p.header()
      .u32(3)
      .item("a.txt", 0, std::string(100, 'a'))
      .item("b.txt", 0, "b")
      .item("c.txt", 0, "");
  load(p);
  const Lines lines = runPass();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[1], "progress 0");
  EXPECT_EQ(installed("c.txt"), "");
}

TEST_F(Worker, MissingParentFailsToCreateTheFolder) {
  PackageBytes p;
  p.header().u32(1).item("a.txt", 0);
  load(p);
  options_.ParentFolder = "C:\\kestrane-tests\\worker\\absent";
  EXPECT_EQ(runPass(), (Lines{"done 0", "error 1"}));
  EXPECT_EQ(worker_.failure().code, FailCreateFolder);
  EXPECT_EQ(worker_.failure().path, "C:\\kestrane-tests\\worker\\absent\\Demo Product");
  EXPECT_STREQ(texts::englishText(installErrorTextId(FailCreateFolder)), "Create new folder");
  EXPECT_EQ(installErrorTextId(7), 0);
}

TEST_F(Worker, AFileInUseStopsTheOverwrite) {
  PackageBytes p;
  p.header().u32(1).item("a.txt", 0);
  load(p);
  ASSERT_TRUE(createFolder(kLocation));
  const std::string busy = std::string(kLocation) + "\\busy.txt";
  writeOld("busy.txt", "busy");
  writeOld("other.txt", "other");
  {
    UndeletableFile lock(busy.c_str());
    EXPECT_EQ(runPass(), (Lines{"done 0", "error 0"}));
  }
  EXPECT_EQ(worker_.failure().path, kLocation);
  // Found before anything changed: no file was touched, nothing was extracted.
  EXPECT_EQ(installed("a.txt"), "<missing>");
  EXPECT_EQ(installed("busy.txt"), "busy");
  EXPECT_EQ(installed("other.txt"), "other");
  EXPECT_EQ(besideLocation(), Lines{});
}

TEST_F(Worker, CorruptBodyLeavesTheOldInstallAsItWas) {
  ASSERT_TRUE(createFolder(kLocation));
  writeOld("first.txt", "old first");
  std::vector<unsigned char> broken = PackageBytes::deflated("second file");
  broken[broken.size() / 2] ^= 0x55;
  PackageBytes p;
  p.header().u32(3).item("first.txt", 0, "first");
  p.text("dir\\second.txt").u32(0).u32(11).blob(broken);
  p.item("third.txt", 0, "third");
  load(p);
  const Lines lines = runPass();
  EXPECT_EQ(lines.back(), "error 2");
  EXPECT_EQ(worker_.failure().path, "dir\\second.txt");  // the name as stored
  EXPECT_EQ(installed("first.txt"), "old first");
  EXPECT_EQ(installed("second.txt"), "<missing>");
  EXPECT_EQ(installed("third.txt"), "<missing>");
  EXPECT_EQ(besideLocation(), Lines{});
}

TEST_F(Worker, SizeOtherThanStatedIsADecompressFailure) {
  for (std::uint32_t stated : {4u, 6u}) {  // the body inflates to 5 bytes
    PackageBytes p;
    p.header().u32(1).text("a.txt").u32(0).u32(stated).blob(PackageBytes::deflated("hello"));
    load(p);
    EXPECT_EQ(runPass(), (Lines{"done 0", "progress 0", "error 2"})) << stated;
    EXPECT_EQ(installed("a.txt"), "<missing>");
    EXPECT_FALSE(isDirectory(kLocation));
    EXPECT_EQ(besideLocation(), Lines{});
  }
}

TEST(HoldersLine, NamesTheProgramsOrNothing) {
  EXPECT_EQ(holdersLine("Programs using the files: ", {}), "");
  EXPECT_EQ(holdersLine("", {"Demo App"}), "Demo App");
  EXPECT_EQ(holdersLine("Programs using the files: ", {"Demo App", "notepad.exe"}),
            "Programs using the files: Demo App, notepad.exe");
}
