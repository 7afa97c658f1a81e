// SetupApp: the one application object. It owns everything the program is made
// of (the skin, the package's model, the user's choices, the worker, the wizard
// and its window), brings it up in a fixed order, runs the message loop and
// answers what the window passes on.
#pragma once

#include <cstdint>
#include <memory>

#include "app/MainWindow.h"
#include "app/SetupTexts.h"
#include "app/Wizard.h"
#include "install/InstallWorker.h"
#include "package/InstallModel.h"
#include "platform/Instance.h"
#include "platform/PlatformTypes.h"
#include "system/RunLog.h"

class SetupApp : public MainWindow::Client {
 public:
  // The program's resources.
  struct ResourceIds {
    int className = kClassNameString;
    int icon = 105;
    int accelerator = -1;  // none
    int skin = 116;
    int highGlyphs = 117;  // optional
    int package = 112;
  };

  // Opens and loads nothing: the object exists before the entry point runs, and
  // nothing may be loaded before the entry point has restricted where libraries
  // come from.
  SetupApp() = default;
  ~SetupApp() override;
  SetupApp(const SetupApp&) = delete;
  SetupApp& operator=(const SetupApp&) = delete;

  // Start-up, whatever the run: reads the texts in the user's language (chosen
  // here, once) and the package with its pictures, and claims the product for
  // this process. Needs no window and makes none. False at the first step that
  // fails; what was read stays until the object goes. Also false, with
  // OtherCopyRuns() true, when another copy of the same product's setup runs
  // already.
  bool Load(platform::ModuleHandle module, const ResourceIds& ids);
  bool OtherCopyRuns() const { return otherCopyRuns_; }
  // Brings the window of the copy that runs already to the front.
  void HandOver() const;

  // The wizard's run, after Load: loads the skin for the display, builds the
  // window and its pages and shows the Welcome page. False at the first step
  // that fails; what was built stays until the object goes.
  bool OpenWizard();

  // Makes the wizard's run a passive one, before OpenWizard: the window goes
  // straight to the installing page with the choices already in Options(),
  // asks nothing, writes what happens to `log` and closes itself at the end.
  // Run then returns the exit code of a run with switches: 0 installed, 1602
  // cancelled (the close button or Escape), 1603 failed.
  void MakePassive(RunLog& log) { passiveLog_ = &log; }

  // The message loop: 0 once the window is gone (a passive run: its exit code). Between messages it
  // keeps the hover look current, waiting briefly for input rather than spinning.
  int Run();

  // Stops the worker if it still runs, destroys the window and closes what
  // Load and OpenWizard opened. The entry point calls it before it returns; afterwards
  // the object holds nothing of the system's.
  void Shutdown();

  // The one start-up error the user ever sees, in the user's language when
  // Load got as far as reading the texts, else in English.
  void ShowFatalError() const;

  // MainWindow::Client
  int HandleWindowMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                          std::intptr_t* result) override;
  void PaintBackground(Image* backBuffer) override;

  int CurrentPage() const { return wizard_->CurrentPage(); }
  Wizard& GetWizard() { return *wizard_; }
  MainWindow& Window() { return window_; }
  const InstallOptions& Options() const { return options_; }
  // For a run without the wizard, after Load.
  InstallOptions& Options() { return options_; }
  InstallTarget& Target() { return target_; }
  const InstallModel& Model() const { return model_; }
  const SetupTexts& Texts() const { return texts_; }

 private:
  // What the current page is to the setup (Page.h): the one that runs the
  // installation, the one the setup ends on.
  bool OnInstallingPage() const;
  bool OnLastPage() const;
  void ShowPage(int page);
  void Step(int delta);
  // Shows the page a step of `delta` from the installing page leads to, once
  // the pass ended (+1) or failed (-1).
  void LeaveInstallation(int delta);
  void StartInstallation();
  void OnInstallDone(std::intptr_t state);
  void OnInstallError();
  void AskCancelOrFinish();
  // A passive run ends: the window closes with `code` as the exit code.
  void EndPassive(int code);
  void RunAfterExit();
  void BrowseForLocation();
  void RestoreDefaultLocation();
  // Waits for the worker's thread to end, if it runs, after asking it to stop.
  void StopWorker();
  // Claims the product for this process, so that a second copy of the same
  // setup hands over rather than installing into the same folder at once.
  bool ClaimProduct();
  // Loads into `skin` the skin to draw with on a display of `dpi` dots an inch
  // (116 unless the setup declared itself aware of the scale); the dots an inch
  // the skin is drawn for, or 0 when it could not be read.
  int LoadSkinFor(int dpi, SkinLists& skin);
  // The display under the window changed its scale to `dpi`: the skin of the new
  // scale is loaded and the wizard built anew over it, showing the page, the
  // focus, the boxes, the licence's place and the progress it showed, and the
  // window takes its new size at the top-left of `suggested` (null: where it is).
  // False, with the old wizard kept, when the new one could not be made.
  bool RebuildAtScale(int dpi, const platform::Rect* suggested);

  platform::ModuleHandle module_ = nullptr;
  ResourceIds ids_;
  InstallOptions options_;
  // Where the install goes; its parent folder is the wizard's choice, taken when
  // the install starts.
  InstallTarget target_;
  InstallModel model_;
  WorkerNotifyTarget notify_;
  InstallWorker worker_;
  // Replaced together when the scale changes; the wizard goes first, as it
  // shows the skin's sprites.
  std::unique_ptr<SkinLists> skin_ = std::make_unique<SkinLists>();
  SetupTexts texts_;
  std::unique_ptr<Wizard> wizard_ = std::make_unique<Wizard>();
  unsigned carriedSkins_ = 0;
  bool scaleAware_ = false;
  MainWindow window_;
  platform::DrawDibHandle drawDib_ = nullptr;
  platform::InstanceClaim instance_ = nullptr;
  bool otherCopyRuns_ = false;
  // Set for a passive run; its exit code, while the window runs.
  RunLog* passiveLog_ = nullptr;
  int exitCode_ = 0;
};
