#include "app/pages/FileTypesPage.h"

#include <algorithm>

#include "app/Wizard.h"
#include "widgets/FileTypeGrid.h"

namespace {

// The least room between the two links.
constexpr int kLinkGap = 8;

}  // namespace

int FileTypesPage::Id() const {
  return FileTypes;
}

unsigned FileTypesPage::Buttons() const {
  return NavigationBit(kNavigateNext) | NavigationBit(kNavigateBack) |
         NavigationBit(kNavigateCancel);
}

bool FileTypesPage::Offered(const Wizard& wizard) const {
  return wizard.Model().selectableItem != -1;
}

bool FileTypesPage::Build(Wizard& wizard) {
  // Uncheck All sits at the right until there is a third check box to
  // line up with, and never over Check All, however long their words.
  const int x0 = wizard.TextLeft();
  const SetupTexts& texts = wizard.Texts();
  if (!wizard.AddText(texts.text(texts::FileTypesIntro), x0, wizard.Px(80))) return false;
  checkAll_ = wizard.AddLink(texts.text(texts::CheckAll), kLinkCheckAll);
  uncheckAll_ = wizard.AddLink(texts.text(texts::UncheckAll), kLinkUncheckAll);
  if (checkAll_ == nullptr || uncheckAll_ == nullptr) return false;
  checkAll_->MoveTo(x0, wizard.Px(276));
  uncheckAll_->MoveTo(wizard.PageWidth() - uncheckAll_->picture.Width() - wizard.Px(10),
                      wizard.Px(276));
  return BuildBoxes(wizard);
}

bool FileTypesPage::BuildBoxes(Wizard& wizard) {
  firstBox_ = wizard.widgets.count();
  boxCount_ = 0;
  const InstallModel& model = wizard.Model();
  if (model.selectableItem < 0) return true;
  const InstallItem* item = model.itemAt(model.selectableItem);
  const FileTypeEntry* type = item != nullptr ? item->fileTypes.at(model.selectableType) : nullptr;
  if (type == nullptr) return true;
  const ExtensionSet& labels = type->optionalExtensions;
  const BitmapFont* body = wizard.Font(skinslot::kPageTextFont);

  // Every box as wide as the widest label, so that they line up in a grid.
  int labelWidth = 0;
  for (int i = 0; i < labels.count(); ++i) {
    labelWidth = std::max(labelWidth, Wizard::TextSize(body, labels.at(i)->text()).cx);
  }
  for (int i = 0; i < labels.count(); ++i) {
    if (wizard.AddCheckBox(labels.at(i)->text(), labelWidth, true, ItemSource::OfferedExtension) ==
        nullptr) {
      return false;
    }
    ++boxCount_;
  }
  if (boxCount_ == 0) return true;

  const FileTypeGrid grid =
      LayOutFileTypeGrid(wizard.SideWidth(), Box(wizard, 0)->picture.GetSize(), wizard.Scale());
  for (int i = 0; i < boxCount_; ++i) {
    const Point at = grid.BoxPosition(i);
    Box(wizard, i)->MoveTo(at.x, at.y);
  }
  if (boxCount_ >= 3) {
    const int besideCheckAll =
        checkAll_->item->x + checkAll_->picture.Width() + wizard.Px(kLinkGap);
    uncheckAll_->MoveTo(std::max(Box(wizard, 2)->item->x, besideCheckAll), wizard.Px(276));
  }
  return true;
}

CheckBox* FileTypesPage::Box(const Wizard& wizard, int i) const {
  if (i < 0 || i >= boxCount_) return nullptr;
  return static_cast<CheckBox*>(wizard.widgets.at(firstBox_ + i));
}

void FileTypesPage::Enter(Wizard& wizard) {
  if (boxCount_ > 0) wizard.FocusWidget(Box(wizard, 0));
}

bool FileTypesPage::OnLink(Wizard& wizard, int code) {
  if (code != kLinkCheckAll && code != kLinkUncheckAll) return false;
  for (int i = 0; i < boxCount_; ++i) Box(wizard, i)->SetChecked(code == kLinkCheckAll ? 1 : 0);
  return true;
}

void FileTypesPage::StoreChoices(const Wizard& wizard, InstallOptions& options) const {
  if (wizard.Model().selectableItem == -1) return;
  for (int i = 0; i < boxCount_ && i < InstallOptions::kMaxFileTypeChoices; ++i) {
    options.fileTypeChoices[i] = Box(wizard, i)->checked != 0;
  }
}
