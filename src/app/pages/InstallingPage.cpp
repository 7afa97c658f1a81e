#include "app/pages/InstallingPage.h"

#include "app/Wizard.h"
#include "platform/Languages.h"

int InstallingPage::Id() const {
  return Installing;
}

bool InstallingPage::Build(Wizard& wizard) {
  const int x0 = wizard.TextLeft();
  if (!wizard.AddText(wizard.Texts().text(texts::Installing), x0, wizard.Px(80))) return false;
  progress_ = wizard.AddWidget(ProgressBar::New());
  if (progress_ != nullptr) {
    progress_->decimalMark = platform::numberMarks(wizard.Texts().language).decimal;
  }
  return progress_ != nullptr &&
         progress_->Setup(wizard.Font(skinslot::kPageTextFont), x0, wizard.Px(150), wizard.content,
                          &wizard.WidgetStyle(), wizard.TextWidth(), wizard.Scale()) &&
         wizard.DescribeLastItem(ItemRole::ProgressBar, nullptr, skinslot::kPageTextFont);
}

void InstallingPage::Enter(Wizard&) {
  progress_->SetFraction(0);
}

bool InstallingPage::ShowProgress(double fraction) {
  return progress_ != nullptr && progress_->SetFraction(fraction);
}
