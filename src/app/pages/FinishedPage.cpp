#include "app/pages/FinishedPage.h"

#include <algorithm>

#include "app/Wizard.h"

namespace {

// Where the text saying the product is ready starts.
constexpr int kReadyY = 130;

}  // namespace

int FinishedPage::Id() const {
  return Finished;
}

bool FinishedPage::Build(Wizard& wizard) {
  // The check box, centred in the text column, starts ticked. It stays below the
  // text above it: at its place, or lower when the text's lines run long (a
  // font's lines drawn for a display scale may be a pixel taller than the scale
  // makes of them).
  runAfterSetup_ = wizard.AddCheckBox(wizard.Texts().text(texts::RunAfterSetup), 0, true);
  if (runAfterSetup_ == nullptr) return false;
  const int readyEnd =
      wizard.Px(kReadyY) + Wizard::TextSize(wizard.Font(skinslot::kPageTextFont),
                                            wizard.Texts().text(texts::FinishedReady))
                               .cy;
  runAfterSetup_->MoveTo(
      wizard.TextLeft() + (wizard.TextWidth() - runAfterSetup_->picture.Width()) / 2,
      std::max(wizard.Px(220), readyEnd + wizard.Px(2)));
  return true;
}

void FinishedPage::Enter(Wizard& wizard) {
  wizard.FocusWidget(runAfterSetup_);
}

bool FinishedPage::RunsProductAfterSetup() const {
  return runAfterSetup_ != nullptr && runAfterSetup_->checked != 0;
}

int FinishedPage::PaintedTexts(const Wizard& wizard, PaintedText* texts) const {
  const int x0 = wizard.TextLeft();
  const COLORREF shadow = Wizard::kTextShadow, face = Wizard::kTextFace;
  const SetupTexts& words = wizard.Texts();
  const char* uninstall = words.text(texts::FinishedUninstall);
  const Size size = Wizard::TextSize(wizard.Font(skinslot::kPageTextFont), uninstall);
  const int room = wizard.PageWidth() - wizard.SideWidth() - wizard.Px(20);
  texts[0] = {words.text(texts::FinishedDone), x0, wizard.Px(80), shadow, face};
  texts[1] = {words.text(texts::FinishedReady), x0, wizard.Px(kReadyY), shadow, face};
  texts[2] = {uninstall, x0 + (room - size.cx) / 2, wizard.PageHeight() - size.cy, shadow, face};
  return 3;
}
