#include "app/pages/FinishedPage.h"

#include "app/Wizard.h"

int FinishedPage::Id() const {
  return Finished;
}

bool FinishedPage::Build(Wizard& wizard) {
  // The check box, centred in the text column, starts ticked.
  runAfterSetup_ = wizard.AddCheckBox(wizard.Texts().text(texts::RunAfterSetup), 0, true);
  if (runAfterSetup_ == nullptr) return false;
  runAfterSetup_->MoveTo(
      wizard.TextLeft() + (wizard.TextWidth() - runAfterSetup_->picture.Width()) / 2,
      wizard.Px(220));
  return true;
}

void FinishedPage::Enter(Wizard& wizard) {
  wizard.FocusWidget(runAfterSetup_);
}

int FinishedPage::PaintedTexts(const Wizard& wizard, PaintedText* texts) const {
  const int x0 = wizard.TextLeft();
  const COLORREF shadow = Wizard::kTextShadow, face = Wizard::kTextFace;
  const SetupTexts& words = wizard.Texts();
  const char* uninstall = words.text(texts::FinishedUninstall);
  const Size size = Wizard::TextSize(wizard.Font(skinslot::kPageTextFont), uninstall);
  const int room = wizard.PageWidth() - wizard.SideWidth() - wizard.Px(20);
  texts[0] = {words.text(texts::FinishedDone), x0, wizard.Px(80), shadow, face};
  texts[1] = {words.text(texts::FinishedReady), x0, wizard.Px(130), shadow, face};
  texts[2] = {uninstall, x0 + (room - size.cx) / 2, wizard.PageHeight() - size.cy, shadow, face};
  return 3;
}
