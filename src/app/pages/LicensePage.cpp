#include "app/pages/LicensePage.h"

#include <cstring>

#include "app/Wizard.h"

int LicensePage::Id() const {
  return License;
}

unsigned LicensePage::Buttons() const {
  return NavigationBit(kNavigateAgree) | NavigationBit(kNavigateBack) |
         NavigationBit(kNavigateCancel);
}

bool LicensePage::Build(Wizard& wizard) {
  const ByteStream& licence = wizard.Model().licenceText;
  const char* licenceBytes = reinterpret_cast<const char*>(licence.bytes());
  const int licenceLength =
      licenceBytes != nullptr ? int(strnlen(licenceBytes, licence.size())) : 0;
  licence_ = wizard.AddWidget(TextView::New());
  if (licence_ == nullptr ||
      !licence_->Setup(wizard.Font(skinslot::kLicenceFont), wizard.TextLeft(), wizard.Px(80),
                       wizard.TextWidth(), wizard.Px(200), licenceBytes, licenceLength, 60,
                       wizard.content, wizard.Scale()) ||
      !wizard.DescribeLastItem(ItemRole::Document, nullptr, skinslot::kLicenceFont)) {
    return false;
  }
  const char* agree = wizard.Texts().text(texts::LicenceAgree);
  const Size agreeSize = Wizard::TextSize(wizard.Font(skinslot::kPageTextFont), agree);
  return wizard.AddText(agree, wizard.PageWidth() - agreeSize.cx,
                        wizard.PageHeight() - agreeSize.cy);
}

void LicensePage::Enter(Wizard& wizard) {
  wizard.FocusWidget(licence_);
}
