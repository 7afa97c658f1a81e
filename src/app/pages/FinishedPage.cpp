#include "app/pages/FinishedPage.h"

#include "app/Wizard.h"

namespace {

const char kRunAfterSetup[] = "Run software upon exiting Setup?";
const char kFinishedDone[] = "The Setup and Install process\nwas successfully completed.";
const char kFinishedReady[] =
    "This software is now ready to use and\ncan be accessed from the Start Menu, its\nDesktop "
    "Shortcut Icon, or from the install\nfolder. We hope you'll enjoy it!";
const char kFinishedUninstall[] =
    "To uninstall this software please use Control\nPanel's \"Add or Remove Programs\".";

}  // namespace

int FinishedPage::Id() const {
  return Finished;
}

bool FinishedPage::Build(Wizard& wizard) {
  // The check box, centred in the text column, starts ticked.
  runAfterSetup_ = wizard.AddCheckBox(kRunAfterSetup, 0, true);
  if (runAfterSetup_ == nullptr) return false;
  runAfterSetup_->MoveTo(
      wizard.TextLeft() + (wizard.TextWidth() - runAfterSetup_->picture.Width()) / 2, 220);
  return true;
}

void FinishedPage::Enter(Wizard& wizard) {
  wizard.FocusWidget(runAfterSetup_);
}

int FinishedPage::PaintedTexts(const Wizard& wizard, PaintedText* texts) const {
  const int x0 = wizard.TextLeft();
  const COLORREF shadow = Wizard::kTextShadow, face = Wizard::kTextFace;
  const Size size = Wizard::TextSize(wizard.Font(skinslot::kPageTextFont), kFinishedUninstall);
  const int room = Wizard::kPageWidth - wizard.SideWidth() - 20;
  texts[0] = {kFinishedDone, x0, 80, shadow, face};
  texts[1] = {kFinishedReady, x0, 130, shadow, face};
  texts[2] = {kFinishedUninstall, x0 + (room - size.cx) / 2, Wizard::kPageHeight - size.cy, shadow,
              face};
  return 3;
}
