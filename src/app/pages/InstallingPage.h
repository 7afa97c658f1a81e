// Installing: the progress of the install pass. No buttons: the pass runs to
// its end or to an error.
#pragma once

#include "app/pages/Page.h"

class ProgressBar;

class InstallingPage : public Page {
 public:
  int Id() const override;
  const char* Name() const override { return "Installing"; }
  bool Build(Wizard& wizard) override;
  unsigned Buttons() const override { return 0; }
  // Each pass starts from an empty bar.
  void Enter(Wizard& wizard) override;
  bool RunsInstallation() const override { return true; }
  bool ShowProgress(double fraction) override;

  ProgressBar* Progress() const { return progress_; }

 private:
  ProgressBar* progress_ = nullptr;
};
