// Every call of a real install pass that the machine could refuse is made to fail
// in turn, over a fresh machine and over an earlier install of the same product.
// Each time the pass must end as the worker promises (the right error and path
// while the files are written, done 1 while registering), leave nothing outside
// the places an install writes, and leave every file it reports as installed exact;
// a pass that fails leaves the machine as it was. Then an upgrade is ended, as by
// a power loss, at each of its calls in turn: the next pass must find the old
// install or the new one complete, and install.
//
// The walk takes its own prefix and runs as the fault_walk test; by hand, with
// KESTRANE_FAULT_WALK=N walking every N-th call of each kind:
//   KESTRANE_FAULT_WALK=1 KESTRANE_PREFIX=/tmp/walk
//   build/host/tests/kestrane_tests --gtest_filter='FaultWalk.*'
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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
#include "support/Targets.h"
#include "system/FileOps.h"
#include "system/InstallSwap.h"
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

const char* const kKindNames[] = {
    "create file",    "write",          "create folder", "delete",    "remove folder",
    "registry write", "set attributes", "rename",        "link save", "move"};
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
    worker.setOptions(&options_, installTarget());
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
  // the files are written into the staging folder and swapped in, and any
  // failure up to the swap is reported; the registration stage goes on, and so
  // does the removal of the old install after the swap.
  Outcome expected(const std::vector<TracedCall>& trace, std::size_t index) const {
    Outcome out;
    std::string path = trace[index].path;
    const HostCall kind = trace[index].kind;
    for (std::size_t i = index; kind == HostCall::WriteFile && path.empty() && i-- > 0;) {
      if (trace[i].kind == HostCall::CreateFile) path = trace[i].path;  // the written file
    }
    const std::string staging = kLocation + ".ks-new";
    out.path = kLocation;
    if (kind == HostCall::Move && path == kLocation) {
      out.error = FailOverwriteFolder;  // the old install could not be moved aside
    } else if ((kind == HostCall::Move && path == staging) ||
               (kind == HostCall::CreateFolder && path == staging)) {
      out.error = FailCreateFolder;
    } else if ((kind == HostCall::CreateFile || kind == HostCall::WriteFile) &&
               isBelow(path, staging)) {
      out.error = FailWriteFile;  // named as it would be at the location
      out.path = kLocation + path.substr(staging.size());
    } else {
      out.path.clear();
      out.done = true;
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
    if (got.error >= 0) {
      // A failed pass leaves the machine as it was, the old install byte for byte;
      // only the shell was told that associations may have changed.
      for (const std::string& entry : changedEntries(before, after)) {
        EXPECT_EQ(entry, "file:shell.log") << where << ": changed " << entry;
      }
      return;
    }
    // The old install that could not be deleted after the swap stays beside the
    // location (marked for deletion at the next start), until the next pass.
    const HostCall kind = trace[index].kind;
    const bool backupStays = (kind == HostCall::DeleteFile || kind == HostCall::RemoveFolder) &&
                             isBelow(trace[index].path + "\\", kLocation + ".ks-old");
    const std::string backup = machineRoot((kLocation + ".ks-old").c_str());
    for (const std::string& entry : changedEntries(before, after)) {
      if (backupStays && isBelowRoot(entry, backup)) continue;
      // Outside the install's own places nothing changes, whatever fails.
      EXPECT_TRUE(isInstallPlace(entry)) << where << ": changed " << entry;
      // What is there is what a clean pass leaves, or what was there before.
      const auto now = after.find(entry);
      if (now == after.end()) continue;
      const auto want = clean.find(entry);
      EXPECT_TRUE(want != clean.end() && want->second == now->second)
          << where << ": " << entry << " is neither as before nor as installed";
    }
    // Every installed file is exact.
    for (const std::string& entry : changedEntries(clean, after)) {
      EXPECT_FALSE(isBelowRoot(entry, locationRoot_)) << where << ": " << entry;
    }
  }

  // The entries of the install folder and of the folders beside it that a pass
  // uses, as the folder would be listed.
  MachineState locationOf(const MachineState& state) const {
    MachineState out;
    const std::string beside[] = {machineRoot((kLocation + ".ks-new").c_str()),
                                  machineRoot((kLocation + ".ks-old").c_str())};
    for (const auto& entry : state) {
      if (isBelowRoot(entry.first, locationRoot_) || isBelowRoot(entry.first, beside[0]) ||
          isBelowRoot(entry.first, beside[1])) {
        out.insert(entry);
      }
    }
    return out;
  }

  // Ends the process at every stride-th call of the pass that starts from
  // `before`, as a power loss would; each time the start of the next pass puts
  // back the old install or completes the new one, and that pass then installs.
  int crashWalk(const MachineState& before, const char* name) {
    restore(before);
    platform::host::traceCalls(true);
    const Outcome cleanOutcome = runPass();
    platform::host::traceCalls(false);
    EXPECT_TRUE(cleanOutcome.done) << name;
    const std::vector<TracedCall> trace = platform::host::tracedCalls();
    const MachineState newInstall = locationOf(machine());
    const MachineState oldInstall = locationOf(before);
    int walked = 0;
    for (std::size_t index = 0; index < trace.size(); ++index) {
      if (index % std::size_t(stride_) != 0) continue;
      ++walked;
      restore(before);
      const std::string where = std::string(name) + ", ended at call " + std::to_string(index + 1) +
                                " (" + kKindNames[int(trace[index].kind)] + " " +
                                trace[index].path + ")";
      const pid_t child = fork();
      if (child == 0) {
        platform::host::endProcessAtNthCall(int(index) + 1);
        runInstallPass(options_, *installTarget(), quiet_);
        _exit(0);
      }
      int status = 0;
      EXPECT_EQ(waitpid(child, &status, 0), child) << where;
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 86) << where;
      platform::host::reloadRegistry();
      recoverInterruptedSwap(kLocation.c_str());
      const MachineState recovered = locationOf(machine());
      EXPECT_TRUE(recovered == oldInstall || recovered == newInstall)
          << where << ": the location is neither the old install nor the new one";
      EXPECT_TRUE(runPass().done) << where;
      EXPECT_EQ(locationOf(machine()), newInstall) << where;
    }
    return walked;
  }

  // Takes a pass's reports and says nothing.
  class QuietListener : public InstallListener {
   public:
    void onDone(int) override {}
    bool onProgress(int) override { return true; }
    void onError(const FailureRecord&) override {}
  };

  QuietListener quiet_;
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

TEST_F(FaultWalk, AnUpgradeEndedAtAnyCallLosesNothing) {
  ASSERT_TRUE(runPass().done);
  // The user's own file and folder in the install folder.
  ByteStream notes;
  notes.appendBytes(5, "notes");
  ASSERT_EQ(writeStreamToFile(notes, (kLocation + "\\notes.txt").c_str()), S_OK);
  ASSERT_TRUE(createFolder((kLocation + "\\saves").c_str()));
  ASSERT_EQ(writeStreamToFile(notes, (kLocation + "\\saves\\one.sav").c_str()), S_OK);
  const int walked = crashWalk(machine(), "upgrade");
  std::printf("ends of the process walked: %d (every %d-th call)\n", walked, stride_);
  RecordProperty("crash_points", walked);
}
