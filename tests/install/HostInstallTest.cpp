// Install-pass behaviour that needs the host backend's hand on the machine: links,
// free space, failing writes and a cancel at an exact moment.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/AppMessages.h"
#include "base/Paths.h"
#include "install/InstallWorker.h"
#include "install/PreviousInstall.h"
#include "package/PackageBytes.h"
#include "platform/Files.h"
#include "platform/MessageTarget.h"
#include "platform/host/FailureInjection.h"
#include "platform/host/Prefix.h"
#include "support/Targets.h"
#include "support/TestFiles.h"
#include "system/DiskSpace.h"
#include "system/FileOps.h"

using platform::host::HostCall;

namespace {

std::string hostPath(const char* windowsPath) {
  std::string host;
  EXPECT_TRUE(platform::host::toHostPath(windowsPath, host));
  return host;
}

void writeFile(const char* windowsPath, const std::string& text) {
  ByteStream s;
  s.appendBytes(std::uint32_t(text.size()), text.data());
  ASSERT_EQ(writeStreamToFile(s, windowsPath), S_OK);
}

std::int64_t sizeOf(int index, void* sizes) {
  return static_cast<std::int64_t*>(sizes)[index];
}

}  // namespace

TEST(HostFileOps, DeleteTreeRemovesLinksNotWhatTheyPointAt) {
  deleteTree("C:\\kestrane-tests\\links", 0, true);
  deleteTree("D:\\outside", 0, true);
  createFolder("C:\\kestrane-tests");
  ASSERT_TRUE(createFolder("C:\\kestrane-tests\\links"));
  createFolder("D:\\");
  ASSERT_TRUE(createFolder("D:\\outside"));
  writeFile("D:\\outside\\precious.txt", "keep me");
  writeFile("C:\\kestrane-tests\\links\\own.txt", "mine");
  ASSERT_EQ(symlink(hostPath("D:\\outside").c_str(),
                    hostPath("C:\\kestrane-tests\\links\\folder-link").c_str()),
            0);
  ASSERT_EQ(symlink(hostPath("D:\\outside\\precious.txt").c_str(),
                    hostPath("C:\\kestrane-tests\\links\\file-link").c_str()),
            0);

  EXPECT_TRUE(deleteTree("C:\\kestrane-tests\\links", 0, true));
  EXPECT_FALSE(isDirectory("C:\\kestrane-tests\\links"));
  std::string content;
  ASSERT_TRUE(readTestFile("D:\\outside\\precious.txt", content));
  EXPECT_EQ(content, "keep me");
  EXPECT_TRUE(access(hostPath("D:\\outside\\precious.txt").c_str(), W_OK) == 0);
}

// Windows refuses to open a read-only file for writing. (Wine run as root does
// not, so this is checked against the host backend only.)
TEST(HostFileOps, ReadOnlyFilesAreNotOverwritten) {
  const char* ro = "C:\\kestrane-tests\\ro.txt";
  createFolder("C:\\kestrane-tests");
  writeFile(ro, "old");
  writeFile("C:\\kestrane-tests\\new.txt", "new");
  ASSERT_TRUE(platform::setFileAttributes(ro, FILE_ATTRIBUTE_READONLY));
  ByteStream s;
  s.appendBytes(3, "new");
  EXPECT_EQ(writeStreamToFile(s, ro), E_FAIL);
  EXPECT_FALSE(platform::deleteFile(ro));
  std::string content;
  ASSERT_TRUE(readTestFile(ro, content));
  EXPECT_EQ(content, "old");
  copyFileTo("C:\\kestrane-tests\\new.txt", ro);  // clears the read-only bit first
  ASSERT_TRUE(readTestFile(ro, content));
  EXPECT_EQ(content, "new");
  EXPECT_TRUE(platform::deleteFile(ro));
}

TEST(HostFileOps, DiskSpaceMustExceedWhatIsNeeded) {
  const std::string preset = platform::host::prefixRoot() + "/drive_c.free";
  std::ofstream(preset) << 10000;
  std::int64_t sizes[] = {4000, 6000};
  std::int64_t free = 0, required = 0;
  EXPECT_FALSE(checkDiskSpace("C:\\", free, required, sizeOf, 2, sizes));  // equal: not enough
  EXPECT_EQ(free, 10000);
  EXPECT_EQ(required, 10000);
  sizes[1] = 5999;
  EXPECT_TRUE(checkDiskSpace("C:\\", free, required, sizeOf, 2, sizes));

  // Without GetDiskFreeSpaceExA whole 4 KiB clusters count: 1 + 2 of 2 free.
  std::ofstream(preset) << 3 * 4096 - 1;
  platform::host::hideDiskFreeSpaceEx(true);
  std::int64_t clusters[] = {1, 4097};
  EXPECT_FALSE(checkDiskSpace("C:\\", free, required, sizeOf, 2, clusters));
  EXPECT_EQ(free, 2 * 4096);
  EXPECT_EQ(required, 4098);
  std::int64_t one[] = {4096};
  EXPECT_TRUE(checkDiskSpace("C:\\", free, required, sizeOf, 1, one));
  EXPECT_FALSE(checkDiskSpace("Q:\\", free, required, sizeOf, 1, one));  // no such drive
  platform::host::hideDiskFreeSpaceEx(false);
  std::remove(preset.c_str());
}

namespace {

// Handles messages on the worker's thread, cancelling at the first progress.
class CancellingSink {
 public:
  explicit CancellingSink(InstallWorker& worker)
      : worker_(worker), target_([this](const platform::Message& m) { handle(m); }) {}
  platform::WindowHandle window() const { return target_.handle(); }
  int progress = 0;
  int error = -1;
  bool done = false;

 private:
  void handle(const platform::Message& m) {
    if (m.message == MSG_INSTALL_PROGRESS) {
      ++progress;
      worker_.requestCancel();
    }
    if (m.message == MSG_INSTALL_ERROR) {
      error = reinterpret_cast<const FailureRecord*>(m.lParam)->code;
    }
    if (m.message == MSG_INSTALL_DONE && m.lParam == 1) done = true;
  }
  InstallWorker& worker_;
  platform::MessageTarget target_;
};

class HostWorker : public ::testing::Test {
 protected:
  void SetUp() override {
    createFolder("C:\\kestrane-tests");
    deleteTree("C:\\kestrane-tests\\host-worker", 0, true);
    ASSERT_TRUE(createFolder("C:\\kestrane-tests\\host-worker"));
    options_.ParentFolder = "C:\\kestrane-tests\\host-worker";
    options_.model = &model_;
  }
  void TearDown() override {
    platform::host::clearFailures();
    deleteTree("C:\\kestrane-tests\\host-worker", 0, true);
  }
  void load(const PackageBytes& p) {
    ByteStream s;
    p.copyTo(s);
    std::uint32_t position = 0;
    ASSERT_TRUE(model_.readPackage(s, position)) << model_.failureReason();
  }
  // Runs one pass on this thread; true when it ended well.
  bool pass() {
    struct Quiet : InstallListener {
      void onDone(int) override {}
      bool onProgress(int) override { return true; }
      void onError(const FailureRecord&) override {}
    } quiet;
    return runInstallPass(options_, *installTarget(), quiet);
  }
  static std::string installed(const char* name) {
    std::string content;
    const std::string path = std::string(kLocation) + "\\" + name;
    return readTestFile(path.c_str(), content) ? content : "<missing>";
  }
  // The names in the parent folder: the install folder alone, after any pass.
  static std::vector<std::string> parentEntries() {
    std::vector<std::string> names;
    for (const FolderEntry& e : listFolder("C:\\kestrane-tests\\host-worker")) {
      names.emplace_back(e.name.text());
    }
    return names;
  }
  static constexpr const char* kLocation = "C:\\kestrane-tests\\host-worker\\Demo Product";
  // Where the next pass goes: the model's folder below the options' parent, with
  // the links of the user alone when the options ask for them.
  const InstallTarget* installTarget() {
    installTarget_ = testTarget(model_);
    installTarget_.parentFolder = options_.ParentFolder;
    if (options_.CurrentUser) std::swap(installTarget_.links, installTarget_.otherLinks);
    return &installTarget_;
  }
  InstallModel model_;
  InstallOptions options_;
  InstallTarget installTarget_;
};

}  // namespace

TEST_F(HostWorker, CancelDuringTheFirstFileStopsAtTheNextBlock) {
  PackageBytes p;
  const std::string big = PackageBytes::noise(200000, 7);  // many blocks to inflate
  p.header().u32(2).item("big.bin", 0, big).item("next.txt", 0, "next");
  load(p);
  // A cancelled upgrade leaves the old install as it was.
  ASSERT_TRUE(createFolder(kLocation));
  writeFile((std::string(kLocation) + "\\big.bin").c_str(), "old big");
  InstallWorker worker;
  CancellingSink sink(worker);
  const WorkerNotifyTarget target{sink.window(), MSG_INSTALL_PROGRESS, MSG_INSTALL_DONE,
                                  MSG_INSTALL_ERROR};
  worker.setNotifyTarget(&target);
  worker.setOptions(&options_, installTarget());
  ASSERT_TRUE(worker.start());
  worker.waitUntilEnded();
  EXPECT_EQ(sink.progress, 1);
  EXPECT_EQ(sink.error, FailDecompress);
  EXPECT_FALSE(sink.done);
  EXPECT_EQ(worker.failure().path, "big.bin");
  EXPECT_EQ(installed("big.bin"), "old big");
  EXPECT_EQ(installed("next.txt"), "<missing>");
  EXPECT_EQ(parentEntries(), std::vector<std::string>{"Demo Product"});

  // A new start clears the request and the pass runs through.
  CancellingSink quiet(worker);
  const WorkerNotifyTarget none{};
  worker.setNotifyTarget(&none);
  ASSERT_TRUE(worker.start());
  worker.waitUntilEnded();
  std::string content;
  EXPECT_TRUE(readTestFile("C:\\kestrane-tests\\host-worker\\Demo Product\\next.txt", content));
}

TEST_F(HostWorker, AFailedWriteNamesTheTarget) {
  PackageBytes p;
  p.header().u32(2).item("a.txt", 0, "a").item("b.txt", 0, "b");
  load(p);
  platform::host::failNthCall(HostCall::WriteFile, 2);
  InstallWorker worker;
  CancellingSink sink(worker);  // cancels only after the failure can no longer change
  const WorkerNotifyTarget target{sink.window(), 0, MSG_INSTALL_DONE, MSG_INSTALL_ERROR};
  worker.setNotifyTarget(&target);
  worker.setOptions(&options_, installTarget());
  ASSERT_TRUE(worker.start());
  worker.waitUntilEnded();
  EXPECT_EQ(sink.error, FailWriteFile);
  EXPECT_EQ(worker.failure().path, "C:\\kestrane-tests\\host-worker\\Demo Product\\b.txt");
}

// An upgrade over an install whose uninstaller records what it installed: the
// user's file and folder and a file the user changed stay; the old version's
// other files go; nothing is left beside the install folder.
TEST_F(HostWorker, AnUpgradeKeepsTheUsersFilesAndDropsTheOldVersions) {
  std::ifstream demo(KESTRANE_DEMO_PACKAGE, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(demo)), {});
  ByteStream s;
  s.appendBytes(std::uint32_t(bytes.size()), bytes.data());
  std::uint32_t position = 0;
  ASSERT_TRUE(model_.readPackage(s, position)) << model_.failureReason();
  ASSERT_TRUE(pass());
  std::vector<PreviousFile> record;
  ASSERT_TRUE(readPreviousInstall(model_, *installTarget(), kLocation, record));
  EXPECT_EQ(record.size(), std::size_t(model_.itemCount()));

  const std::string location = kLocation;
  writeFile((location + "\\my notes.txt").c_str(), "mine");
  ASSERT_TRUE(createFolder((location + "\\saves").c_str()));
  writeFile((location + "\\saves\\one.sav").c_str(), "saved");
  writeFile((location + "\\DemoHelp.html").c_str(), "changed by the user");

  // The next version ships the program alone.
  PackageBytes next;
  next.header().u32(1).item("bin\\DemoApp.exe", 0, "version 2");
  load(next);
  ASSERT_TRUE(pass());
  EXPECT_EQ(installed("DemoApp.exe"), "version 2");
  EXPECT_EQ(installed("my notes.txt"), "mine");
  EXPECT_EQ(installed("saves\\one.sav"), "saved");
  EXPECT_EQ(installed("DemoHelp.html"), "changed by the user");
  for (const char* gone : {"sample.demo", "DemoShell.dll", "Uninstall.exe", "demohelper.dll"}) {
    EXPECT_EQ(installed(gone), "<missing>") << gone;
  }
  EXPECT_EQ(parentEntries(), std::vector<std::string>{"Demo Product"});
}
