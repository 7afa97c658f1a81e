// The application as a whole, over the host backend without a display: the test
// program carries the demo product's package and the default skin as its own
// resources, so SetupApp starts as a built setup does. Messages go through the
// real window procedure; message boxes are answered from the backend's queue.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/AppMessages.h"
#include "app/SetupApp.h"
#include "platform/Files.h"
#include "platform/Messages.h"
#include "platform/Module.h"
#include "platform/WinDefs.h"
#include "platform/host/FailureInjection.h"
#include "platform/host/HostWindowState.h"
#include "platform/host/Prefix.h"
#include "support/PageProbe.h"
#include "support/TestFiles.h"
#include "system/FileOps.h"

namespace {

namespace host = platform::host;

const char kInstallFolder[] = "C:\\Program Files\\Demo Product";

class SetupAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host::takeShownMessageBoxes();
    host::clearFailures();
    std::system(("rm -rf '" + host::prefixRoot() + "/drive_c/Program Files/Demo Product'").c_str());
    app_ = std::make_unique<SetupApp>();
    ASSERT_TRUE(app_->Load(platform::currentModule(), SetupApp::ResourceIds()));
    ASSERT_TRUE(app_->OpenWizard());
    window_ = app_->Window().Handle();
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    app_->Shutdown();
    Pump([] { return false; }, 0);
    host::clearFailures();
    host::takeShownMessageBoxes();
  }

  // Through the window procedure, as the message loop would hand it over.
  void Send(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
    platform::sendMessage(window_, message, wParam, lParam);
  }
  // Runs the message loop until `done` holds or `timeoutMs` pass; true when done.
  // WM_QUIT is remembered rather than ending anything.
  bool Pump(const std::function<bool()>& done, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      platform::Message m{};
      while (platform::peekMessage(m)) {
        if (m.message == WM_QUIT) {
          quit_ = true;
          continue;
        }
        platform::translateMessage(m);
        platform::dispatchMessage(m);
        if (done()) return true;
      }
      if (done()) return true;
      if (std::chrono::steady_clock::now() >= deadline) return false;
      platform::waitForMessage(10);
    }
  }
  // Walks forward from Welcome to `page` with the Next and I Agree buttons.
  void GoTo(int page) {
    while (app_->CurrentPage() < page) {
      const int before = app_->CurrentPage();
      Send(MSG_NAVIGATE, before == License ? kNavigateAgree : kNavigateNext);
      ASSERT_NE(app_->CurrentPage(), before) << "stuck on page " << before;
    }
  }
  std::vector<host::ShownMessageBox> Boxes() { return host::takeShownMessageBoxes(); }
  // Next on FileTypes starts a pass that fails: the error box names `operation`
  // (and the programs holding files, when any), and, once answered, the wizard is
  // back on FileTypes.
  void ExpectFailedPass(const char* operation, const std::string& holders = "") {
    host::queueMessageBoxAnswer(IDOK);
    Send(MSG_NAVIGATE, kNavigateNext);
    ASSERT_TRUE(Pump([this] { return app_->CurrentPage() != Installing; }, 20000));
    EXPECT_EQ(app_->CurrentPage(), FileTypes);
    std::vector<host::ShownMessageBox> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Setup Error!");
    EXPECT_EQ(boxes[0].text, std::string("Failed to: ") + operation +
                                 "\n\nPlease close all other applications and retry." +
                                 (holders.empty() ? "" : "\n\n" + holders));
    EXPECT_EQ(boxes[0].type, MB_ICONERROR | MB_OK);
  }

  std::unique_ptr<SetupApp> app_;
  platform::WindowHandle window_ = nullptr;
  bool quit_ = false;
};

TEST_F(SetupAppTest, ButtonsAndKeysStepThroughThePages) {
  EXPECT_EQ(app_->CurrentPage(), Welcome);
  Send(WM_CHAR, 8);  // Backspace on Welcome stays there
  EXPECT_EQ(app_->CurrentPage(), Welcome);
  Send(MSG_NAVIGATE, kNavigateNext);
  EXPECT_EQ(app_->CurrentPage(), License);
  Send(MSG_NAVIGATE, kNavigateAgree);
  EXPECT_EQ(app_->CurrentPage(), InstallFolder);
  Send(MSG_NAVIGATE, kNavigateBack);
  EXPECT_EQ(app_->CurrentPage(), License);
  Send(WM_CHAR, 13);
  EXPECT_EQ(app_->CurrentPage(), InstallFolder);
  Send(MSG_NAVIGATE, kNavigateNext);
  EXPECT_EQ(app_->CurrentPage(), FileTypes);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(SetupAppTest, CancelAsksAndOnlyYesCloses) {
  GoTo(InstallFolder);
  host::queueMessageBoxAnswer(IDNO);
  Send(WM_CHAR, 27);
  std::vector<host::ShownMessageBox> boxes = Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Cancel Setup?");
  EXPECT_EQ(boxes[0].text, "Setup is not complete!\nAre you sure you want to exit?");
  EXPECT_EQ(boxes[0].type, MB_YESNO);
  EXPECT_EQ(boxes[0].owner, window_);
  EXPECT_FALSE(Pump([] { return false; }, 50));
  EXPECT_EQ(app_->CurrentPage(), InstallFolder);
  EXPECT_FALSE(quit_);

  // The caption's close button asks the same; Yes closes the window and ends the
  // loop.
  host::queueMessageBoxAnswer(IDYES);
  Send(MSG_NAVIGATE, kNavigateFinish);
  EXPECT_EQ(Boxes().size(), 1u);
  EXPECT_TRUE(Pump([this] { return quit_; }, 2000));
}

TEST_F(SetupAppTest, AnInstallationRunsToFinishedAndFinishStartsTheProgram) {
  GoTo(FileTypes);
  Send(MSG_NAVIGATE, kNavigateNext);
  ASSERT_EQ(app_->CurrentPage(), Installing);
  // Nothing leaves the page while the files are written: not Escape, not the
  // buttons, not the close button.
  Send(WM_CHAR, 27);
  Send(MSG_NAVIGATE, kNavigateCancel);
  Send(MSG_NAVIGATE, kNavigateFinish);
  Send(MSG_NAVIGATE, kNavigateBack);
  EXPECT_EQ(app_->CurrentPage(), Installing);
  ASSERT_TRUE(Pump([this] { return app_->CurrentPage() == Finished; }, 20000));
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(app_->Options().StartMenuEntry);
  EXPECT_TRUE(app_->Options().DesktopIcon);

  std::string help;
  EXPECT_TRUE(readTestFile((std::string(kInstallFolder) + "\\DemoHelp.html").c_str(), help));
  EXPECT_NE(help.find("<h1>Demo Product</h1>"), std::string::npos);

  // On Finished, Escape finishes without a question: the program flagged to run
  // is started in the install folder and the window closes.
  Send(WM_CHAR, 27);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(Pump([this] { return quit_; }, 2000));
  std::ifstream log(host::prefixRoot() + "/shell.log");
  const std::string shellLog((std::istreambuf_iterator<char>(log)),
                             std::istreambuf_iterator<char>());
  EXPECT_NE(shellLog.find("DemoApp.exe"), std::string::npos) << shellLog;
  EXPECT_NE(shellLog.find("C:\\Program Files\\Demo Product"), std::string::npos) << shellLog;
}

TEST_F(SetupAppTest, AFailedInstallationSaysWhatFailedAndReturnsToFileTypes) {
  GoTo(FileTypes);
  host::failNthCall(host::HostCall::CreateFolder, 1);
  ExpectFailedPass("Create new folder");

  // From FileTypes the user may try again; a new pass runs to the end.
  Send(MSG_NAVIGATE, kNavigateNext);
  ASSERT_TRUE(Pump([this] { return app_->CurrentPage() == Finished; }, 20000));
}

// Another program holds a file of the old install folder open: the pass finds it
// before changing anything, says which program holds it, and succeeds once the
// file is let go. The file, not the setup's, stays.
TEST_F(SetupAppTest, AFileHeldInTheOldFolderStopsThePassUntilItIsLetGo) {
  const std::string held = std::string(kInstallFolder) + "\\held.txt";
  ASSERT_TRUE(createFolder(kInstallFolder));
  const platform::FileId file =
      platform::createFile(held.c_str(), GENERIC_WRITE, 0, false, CREATE_ALWAYS, 0);
  ASSERT_NE(file, platform::kInvalidFile);
  ASSERT_TRUE(platform::closeFile(file));
  GoTo(FileTypes);
  {
    UndeletableFile lock(held.c_str());
    // The lock is this test's own.
    ExpectFailedPass("Overwrite existing folder", "Programs using the files: kestrane_tests");
    EXPECT_EQ(platform::getFileAttributes(held.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  }
  Send(MSG_NAVIGATE, kNavigateNext);
  ASSERT_TRUE(Pump([this] { return app_->CurrentPage() == Finished; }, 20000));
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(platform::getFileAttributes(held.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST_F(SetupAppTest, ClosedByTheSystemWhileInstallingTheWorkerStopsFirst) {
  GoTo(FileTypes);
  Send(MSG_NAVIGATE, kNavigateNext);
  ASSERT_EQ(app_->CurrentPage(), Installing);
  // As from the taskbar: WM_CLOSE reaches the default procedure at once.
  Send(WM_CLOSE);
  EXPECT_TRUE(Pump([this] { return quit_; }, 2000));
  // The pass is asked to stop and waited for; the worker's late messages find no
  // window and change nothing.
  app_->Shutdown();
  EXPECT_EQ(app_->CurrentPage(), Installing);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(SetupAppTest, ProgressIsClampedToTheBar) {
  GoTo(FileTypes);
  Send(MSG_INSTALL_PROGRESS, 0, 150);
  EXPECT_STREQ(progressText(app_->GetWizard()), "100.0%");
  Send(MSG_INSTALL_PROGRESS, 0, std::intptr_t(0xFFFB));  // -5 in the low 16 bits
  EXPECT_STREQ(progressText(app_->GetWizard()), " 0.0%");
  Send(MSG_INSTALL_PROGRESS, 0, 0x10032);  // only the low 16 bits count: 50
  EXPECT_STREQ(progressText(app_->GetWizard()), "50.0%");
}

// The window moved to a display of twice the scale, to ones the setup carries
// no skin for (drawn from the next larger one, or above them all the largest,
// resampled), and back: it takes the suggested place at its new size and is
// drawn anew showing what it showed.
TEST_F(SetupAppTest, AChangedScaleRebuildsTheWizardKeepingWhatItShowed) {
  platform::Rect before{};
  ASSERT_TRUE(platform::getWindowRect(window_, before));
  GoTo(License);
  for (int i = 0; i < app_->GetWizard().widgets.count(); ++i) {
    Widget* widget = app_->GetWizard().widgets.at(i);
    if (widget->kind == kWidgetTextView) static_cast<TextView*>(widget)->SetTopLine(3);
  }
  GoTo(FileTypes);
  Send(MSG_INSTALL_PROGRESS, 0, 42);
  ASSERT_GE(offeredBoxes(app_->GetWizard()).size(), 3u);
  offeredBoxes(app_->GetWizard())[1]->SetChecked(0);
  const int focus = app_->GetWizard().widgets.focused + 2;
  app_->GetWizard().widgets.SetFocusIndex(focus);

  for (int dpi : {192, 120, 240, 96}) {
    const DisplayScale scale(dpi);
    const int width = scale.Px(before.right - before.left);
    const int height = scale.Px(before.bottom - before.top);
    platform::Rect suggested{40, 30, 40 + width, 30 + height};
    Send(WM_DPICHANGED, std::uintptr_t(dpi | dpi << 16),
         reinterpret_cast<std::intptr_t>(&suggested));
    const Wizard& wizard = app_->GetWizard();
    EXPECT_EQ(wizard.Scale().Dpi(), dpi);
    platform::Rect now{};
    ASSERT_TRUE(platform::getWindowRect(window_, now));
    EXPECT_EQ(now.left, 40);
    EXPECT_EQ(now.top, 30);
    // The window's parts are each rounded to the scale.
    EXPECT_NEAR(now.right - now.left, width, 2) << dpi;
    EXPECT_NEAR(now.bottom - now.top, height, 2) << dpi;
    // Lines of the skin drawn for the next larger scale may be a pixel taller
    // than that scale makes of 17; resampled, they stay about as much taller.
    EXPECT_NEAR(wizard.Font(skinslot::kPageTextFont)->metrics.tmHeight, scale.Px(17), 2) << dpi;
    EXPECT_EQ(app_->CurrentPage(), FileTypes);
    const std::vector<CheckBox*> boxes = offeredBoxes(wizard);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      EXPECT_EQ(boxes[i]->checked, i == 1 ? 0 : 1) << dpi << " box " << i;
    }
    EXPECT_EQ(wizard.widgets.focused, focus);
    EXPECT_STREQ(progressText(wizard), "42.0%");
    for (int i = 0; i < wizard.widgets.count(); ++i) {
      const Widget* widget = wizard.widgets.at(i);
      if (widget->kind == kWidgetTextView) {
        EXPECT_EQ(static_cast<const TextView*>(widget)->top, 3);
      }
    }
  }
}

TEST_F(SetupAppTest, OnlyAChangedPercentageRepaints) {
  GoTo(FileTypes);
  Send(MSG_INSTALL_PROGRESS, 0, 20);
  const int before = host::repaintCount();
  Send(MSG_INSTALL_PROGRESS, 0, 20);  // the next 16 KiB block, the same percent
  Send(MSG_INSTALL_PROGRESS, 0, 20);
  EXPECT_EQ(host::repaintCount(), before);
  Send(MSG_INSTALL_PROGRESS, 0, 21);
  EXPECT_EQ(host::repaintCount(), before + 1);
  EXPECT_STREQ(progressText(app_->GetWizard()), "21.0%");
}

TEST_F(SetupAppTest, HoverRepaintsOnlyWhenWhatIsUnderTheMouseChanges) {
  platform::Rect rect{};
  ASSERT_TRUE(platform::getWindowRect(window_, rect));
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  auto repaintsAfterMove = [&](int x, int y) {
    const int before = host::repaintCount();
    host::pushMouseMotion(window_, x, y);
    Pump([] { return false; }, 30);
    app_->Window().IdleHoverPoll();
    return host::repaintCount() - before;
  };
  repaintsAfterMove(width / 2, height / 2);  // somewhere on the page to start from
  EXPECT_EQ(repaintsAfterMove(width - 20, height - 10), 1) << "onto the Next button";
  EXPECT_EQ(repaintsAfterMove(width - 21, height - 11), 0) << "within the same button";
  EXPECT_EQ(repaintsAfterMove(width / 3, 8), 1) << "onto the caption bar";
  EXPECT_EQ(repaintsAfterMove(width / 3 + 4, 9), 0) << "along the caption bar";
  EXPECT_EQ(app_->Window().Hover().caption, kHitCaptionBar);
  EXPECT_EQ(app_->Window().Hover().navigationItem, -1);
}

TEST_F(SetupAppTest, AStreamOfMessagesPollsTheMouseOnlyNowAndThen) {
  // As during an install: progress arrives block by block, each message alone in
  // the queue. The mouse is still polled on the idle timer, not once a message.
  GoTo(FileTypes);
  const int before = host::cursorQueryCount();
  std::thread poster([this] {
    for (int i = 0; i < 1000; ++i) {
      platform::postMessage(window_, MSG_INSTALL_PROGRESS, 0, i / 10);
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    platform::postMessage(window_, WM_CLOSE, 0, 0);
  });
  const auto start = std::chrono::steady_clock::now();
  app_->Run();
  poster.join();
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  EXPECT_STREQ(progressText(app_->GetWizard()), "99.0%");
  EXPECT_LE(host::cursorQueryCount() - before, took.count() / 30 + 2);
}

}  // namespace
