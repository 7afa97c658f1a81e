// Every call of a real install pass that the machine could refuse is made to fail
// in turn, over a fresh machine and over an earlier install of the same product.
// Each time the pass must end as the worker promises (the right error and path
// while the files are written, done 1 while registering), leave nothing outside
// the places an install writes, and leave every file it reports as installed exact.
//
// The walk takes its own prefix and runs as the fault_walk test; by hand, with
// KESTRANE_FAULT_WALK=N walking every N-th call of each kind:
//   KESTRANE_FAULT_WALK=1 KESTRANE_PREFIX=/tmp/walk
//   build/host/tests/kestrane_tests --gtest_filter='FaultWalk.*'
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "app/AppMessages.h"
#include "base/Paths.h"
#include "install/InstallWorker.h"
#include "package/PackageBytes.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/host/FailureInjection.h"
#include "platform/host/HostRegistry.h"
#include "platform/host/Prefix.h"
#include "support/MachineState.h"
#include "support/MessageCollector.h"
#include "system/FileOps.h"
#include "system/RegistryHelpers.h"
#include "system/Shortcuts.h"
#include "system/UninstallEntry.h"

using platform::host::HostCall;
using platform::host::TracedCall;

namespace {

const char* kParent = "C:\\Program Files";
const std::string kLocation = "C:\\Program Files\\Kestrane Walk";
const char* kProduct = "Kestrane Walk Demo";
const char* kGuid = "{6C4D3B21-8F7E-405C-B2D3-E4F506172839}";
const char* kSlot = "{BB2E617C-0920-11D1-9A0B-00C04FC2D6C1}";
const char* kProgId = "KestraneWalk.Doc";

const char* const kKindNames[] = {"create file",    "write",         "create folder",
                                  "delete",         "remove folder", "registry write",
                                  "set attributes", "rename",        "link save"};
static_assert(std::size(kKindNames) == std::size_t(HostCall::kCount),
              "a name for every kind of call");

// What one pass ended with.
struct Outcome {
  bool done = false;
  int error = -1;
  std::string path;
};

std::string folderOf(bool menu, int currentUser) {
  SetupString f;
  if (menu) {
    programsMenuFolder(f, currentUser);
  } else {
    desktopFolder(f, currentUser);
  }
  return f.text();
}

bool isBelow(const std::string& path, const std::string& folder) {
  return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
         path[folder.size()] == '\\';
}

class FaultWalk : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* stride = std::getenv("KESTRANE_FAULT_WALK");
    if (stride == nullptr) GTEST_SKIP() << "the fault_walk test runs it in a prefix of its own";
    stride_ = std::max(1, std::atoi(stride));
    PackageBytes p;
    PackageBytes::Texts texts;
    texts.displayName = kProduct;
    texts.moreUrl = "https://example.com/walk";
    texts.settingsKey = "Walk";
    texts.installFolder = "Kestrane Walk";
    texts.licence = {0};
    p.header(texts);
    p.u32(6);
    p.item("bin\\Walk.exe", 0x04 | 0x08 | 0x10 | 0x40, "MZ walk")
        .text("Walk Demo")
        .text("Walk Demo")
        .text("Walk Demo");
    p.u32(1).text(kProgId).text("Walk document").u32(2).text(kSlot).u32(1);
    p.list({"kwd"}).list({"kwo1", "kwo2"});
    p.item("WalkShell.dll", 0x80, "shell").text(kGuid).text("Walk Shell Extension");
    p.item("data.bin", 0, PackageBytes::noise(40000, 3));  // several blocks to inflate
    p.item("Uninstall.exe", 0x04 | 0x20, "uninstall").text("").u32(0).text("Removes the walk");
    p.item("kwalkhelper.dll", 0x02, "helper");
    p.item("empty.txt", 0, "");
    ByteStream s;
    p.copyTo(s);
    std::uint32_t position = 0;
    ASSERT_TRUE(model_.readPackage(s, position)) << model_.failureReason();
    options_.model = &model_;
    options_.ParentFolder = kParent;
    options_.CurrentUser = true;
    options_.StartMenuEntry = options_.TopMenuEntry = options_.DesktopIcon = true;
    options_.fileTypeChoices[0] = true;

    char system[kPathBufferSize];
    platform::getSystemDirectory(system, sizeof system);
    const std::string menu = folderOf(true, 1) + "\\" + kProduct;
    const std::string classes = "HKEY_LOCAL_MACHINE\\Software\\Classes\\";
    locationRoot_ = machineRoot(kLocation.c_str());
    roots_ = {locationRoot_,
              machineRoot((std::string(system) + "\\kwalkhelper.dll").c_str()),
              machineRoot(menu.c_str()),
              machineRoot((folderOf(false, 1) + "\\Walk Demo.lnk").c_str()),
              machineRoot((folderOf(false, 0) + "\\Walk Demo.lnk").c_str()),
              "file:shell.log",
              registryRoot(classes + kProgId),
              registryRoot(classes + "Applications\\Walk.exe"),
              registryRoot(classes + ".kwd"),
              registryRoot(classes + ".kwo1"),
              registryRoot(classes + ".kwo2"),
              registryRoot(classes + "CLSID\\" + kGuid),
              registryRoot("HKEY_LOCAL_MACHINE\\" + std::string(kUninstallKey) + "\\" + kProduct),
              registryRoot("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
                           "Shell Extensions\\Approved|\"" +
                           std::string(kGuid) + "\""),
              registryRoot("HKEY_LOCAL_MACHINE\\Software\\Kestrane Demo\\Walk")};
    // Keys an install creates, empty, when they are missing.
    const std::string shell =
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
        "Shell Extensions";
    parentKeys_ = {"reg:HKEY_LOCAL_MACHINE\\Software\\Kestrane Demo", "reg:" + shell,
                   "reg:" + shell + "\\Approved", "reg:" + classes + "Applications"};
    removeProduct(system);
    seedOtherPrograms();
  }

  // A fresh machine, as far as this product goes, also after an earlier run.
  static void removeProduct(const char* system) {
    deleteTree(kLocation.c_str(), 0, true);
    deleteTree((folderOf(true, 1) + "\\" + kProduct).c_str(), 0, true);
    for (int user : {0, 1})
      platform::deleteFile((folderOf(false, user) + "\\Walk Demo.lnk").c_str());
    platform::deleteFile((std::string(system) + "\\kwalkhelper.dll").c_str());
    for (const char* key : {kProgId, "Applications\\Walk.exe", ".kwd", ".kwo1", ".kwo2"}) {
      deleteKeyTree(HKEY_CLASSES_ROOT, key);
    }
    deleteKeyTree(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + kGuid).c_str());
    deleteKeyTree(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\" + kProduct).c_str());
    deleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\Kestrane Demo");
    platform::RegKey approved = nullptr;
    if (platform::regOpenKey(
            HKEY_LOCAL_MACHINE,
            "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved",
            KEY_SET_VALUE, &approved) == ERROR_SUCCESS) {
      platform::regDeleteValue(approved, kGuid);
      platform::regCloseKey(approved);
    }
  }

  void TearDown() override { platform::host::clearFailures(); }

  bool isInstallPlace(const std::string& entry) const {
    if (isBelowAnyRoot(entry, roots_)) return true;
    // A parent key itself, never a value or another key below it.
    for (const std::string& key : parentKeys_) {
      if (isBelowRoot(entry, key) && isBelowRoot(key, entry)) return true;
    }
    return false;
  }

  // What another program left on the machine, which no pass may touch.
  static void seedOtherPrograms() {
    createFolder("C:\\Program Files\\Other");
    ByteStream s;
    s.appendBytes(5, "other");
    writeStreamToFile(s, "C:\\Program Files\\Other\\other.exe");
    writeStreamToFile(s, (folderOf(true, 1) + "\\Other.lnk").c_str());
    writeRegString(HKEY_CLASSES_ROOT, ".txt", nullptr, "txtfile");
    writeRegString(HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command", nullptr, "other.exe %1");
    writeRegString(HKEY_LOCAL_MACHINE, "software\\Other\\App", "Path", "C:\\Other");
  }

  Outcome runPass() {
    MessageCollector collector;
    const WorkerNotifyTarget target{collector.window(), 0, MSG_INSTALL_DONE, MSG_INSTALL_ERROR};
    InstallWorker worker;
    worker.setNotifyTarget(&target);
    worker.setOptions(&options_);
    worker.start();
    worker.waitUntilEnded();
    Outcome out;
    for (const PostedMessage& m : collector.take()) {
      if (m.message == MSG_INSTALL_DONE && m.lParam == 1) out.done = true;
      if (m.message == MSG_INSTALL_ERROR) {
        out.error = worker.failure().code;
        out.path = worker.failure().path.text();
      }
    }
    return out;
  }

  MachineState machine() const { return readMachineState(platform::host::prefixRoot()); }
  void restore(const MachineState& state) {
    restoreMachineState(platform::host::prefixRoot(), state);
    platform::host::reloadRegistry();
  }

  // The outcome the worker promises when call `index` of the clean pass fails:
  // the file stage stops with an error, the registration stage goes on.
  Outcome expected(const std::vector<TracedCall>& trace, std::size_t index) const {
    Outcome out;
    std::string path = trace[index].path;
    const bool write = trace[index].kind == HostCall::WriteFile;
    for (std::size_t i = index; write && path.empty() && i-- > 0;) {
      if (trace[i].kind == HostCall::CreateFile) path = trace[i].path;  // the written file
    }
    const bool fileStage = path == kLocation || isBelow(path, kLocation);
    if (!fileStage || trace[index].kind == HostCall::SetAttributes) {
      out.done = true;  // nothing looks at the attributes set before a delete
      return out;
    }
    out.path = path;
    switch (trace[index].kind) {
      case HostCall::DeleteFile:
      case HostCall::RemoveFolder:
        out.error = FailOverwriteFolder;
        out.path = kLocation;
        break;
      case HostCall::CreateFolder:
        out.error = FailCreateFolder;
        break;
      default:
        out.error = FailWriteFile;
    }
    return out;
  }

  // Walks every stride-th failing call of the pass that starts from `before`;
  // returns the number of fault points walked.
  int walk(const MachineState& before, const char* name) {
    restore(before);
    platform::host::traceCalls(true);
    const Outcome cleanOutcome = runPass();
    platform::host::traceCalls(false);
    const std::vector<TracedCall> trace = platform::host::tracedCalls();
    EXPECT_TRUE(cleanOutcome.done) << name;
    const MachineState clean = machine();
    for (const std::string& entry : changedEntries(before, clean)) {
      EXPECT_TRUE(isInstallPlace(entry)) << name << ": the clean install changed " << entry;
    }

    int walked = 0;
    int nth[int(HostCall::kCount)] = {};
    for (std::size_t index = 0; index < trace.size(); ++index) {
      const int kind = int(trace[index].kind);
      if (++nth[kind] % stride_ != 0 && nth[kind] != 1) continue;
      ++walked;
      restore(before);
      platform::host::failNthCall(trace[index].kind, nth[kind]);
      const Outcome got = runPass();
      platform::host::clearFailures();
      const Outcome want = expected(trace, index);
      const std::string where = std::string(name) + ", failing " + kKindNames[kind] + " #" +
                                std::to_string(nth[kind]) + " (" + trace[index].path + ")";
      EXPECT_EQ(got.done, want.done) << where;
      EXPECT_EQ(got.error, want.error) << where;
      EXPECT_EQ(got.path, want.path) << where;
      const MachineState after = machine();
      check(before, clean, after, trace, index, got, where);
      // Nothing waits on these calls: a registry file put in place late, or
      // attributes left as they were before a delete, change nothing at all.
      if (trace[index].kind == HostCall::Rename || trace[index].kind == HostCall::SetAttributes) {
        EXPECT_EQ(changedEntries(clean, after), std::vector<std::string>()) << where;
      }
    }
    return walked;
  }

  void check(const MachineState& before, const MachineState& clean, const MachineState& after,
             const std::vector<TracedCall>& trace, std::size_t index, const Outcome& got,
             const std::string& where) {
    const std::string failed = got.error == FailWriteFile ? machineRoot(got.path.c_str()) : "";
    for (const std::string& entry : changedEntries(before, after)) {
      // Outside the install's own places nothing changes, whatever fails.
      EXPECT_TRUE(isInstallPlace(entry)) << where << ": changed " << entry;
      if (got.error >= 0) {
        EXPECT_TRUE(isBelowRoot(entry, locationRoot_) || entry == "file:shell.log")
            << where << ": registered " << entry;
      }
      // What is there is what a clean pass leaves, or what was there before; only
      // the file being written when the write failed may be cut short.
      const auto now = after.find(entry);
      if (now == after.end() || entry == failed) continue;
      const auto want = clean.find(entry);
      EXPECT_TRUE(want != clean.end() && want->second == now->second)
          << where << ": " << entry << " is neither as before nor as installed";
    }
    if (got.done) {
      // Every installed file is exact.
      for (const std::string& entry : changedEntries(clean, after)) {
        EXPECT_FALSE(isBelowRoot(entry, locationRoot_)) << where << ": " << entry;
      }
    } else {
      // The files written before the failure are exact.
      for (std::size_t i = 0; i < index; ++i) {
        if (trace[i].kind != HostCall::CreateFile || !isBelow(trace[i].path, kLocation)) continue;
        if (trace[i].path == got.path) continue;
        const std::string entry = machineRoot(trace[i].path.c_str());
        EXPECT_EQ(after.count(entry), 1u) << where << ": " << entry << " is missing";
        if (after.count(entry) == 1) {
          EXPECT_EQ(after.at(entry), clean.at(entry)) << where;
        }
      }
    }
  }

  InstallModel model_;
  InstallOptions options_;
  int stride_ = 1;
  std::string locationRoot_;        // the install folder
  std::vector<std::string> roots_;  // every place a pass may change, the folder first
  std::vector<std::string> parentKeys_;
};

}  // namespace

TEST_F(FaultWalk, EveryFailingCallOfAnInstall) {
  const MachineState fresh = machine();
  int walked = walk(fresh, "fresh machine");

  restore(fresh);
  ASSERT_TRUE(runPass().done);
  const MachineState installed = machine();
  walked += walk(installed, "over an earlier install");

  std::printf("fault points walked: %d (every %d-th call of each kind, and each kind's first)\n",
              walked, stride_);
  RecordProperty("fault_points", walked);
}
