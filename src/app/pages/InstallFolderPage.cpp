#include "app/pages/InstallFolderPage.h"

#include "app/Wizard.h"

namespace {

// A location the product cannot go to is said in red.
constexpr COLORREF kRefusedShadow = 0x000000;
constexpr COLORREF kRefusedFace = 0x0000FF;

}  // namespace

int InstallFolderPage::Id() const {
  return InstallFolder;
}

unsigned InstallFolderPage::Buttons() const {
  return NavigationBit(kNavigateBack) | NavigationBit(kNavigateCancel) |
         NavigationBit(kNavigateNext);
}

bool InstallFolderPage::Build(Wizard& wizard) {
  // The links, centred in the text column.
  const struct {
    int text;
    int code;
    int y;
  } links[] = {{texts::ChangeLocation, kLinkBrowse, 236},
               {texts::RestoreDefaults, kLinkRestoreDefaults, 276}};
  for (const auto& link : links) {
    LinkButton* button = wizard.AddLink(wizard.Texts().text(link.text), link.code);
    if (button == nullptr) return false;
    button->MoveTo(wizard.TextLeft() + (wizard.TextWidth() - button->picture.Width()) / 2,
                   wizard.Px(link.y));
    if (link.code == kLinkBrowse) browseLink_ = button;
  }
  return true;
}

void InstallFolderPage::Enter(Wizard& wizard) {
  UpdateStatus(wizard);
  wizard.FocusWidget(browseLink_);
}

void InstallFolderPage::UpdateStatus(Wizard& wizard) {
  const InstallModel& model = wizard.Model();
  const SetupString& parent = wizard.Options().ParentFolder;
  const FolderFacts facts = factsFixed_ ? fixedFacts_ : ReadFolderFacts(model, parent);
  FolderStatus status =
      DescribeFolder(model, parent, facts, *wizard.Font(skinslot::kPageTextFont),
                     wizard.PageWidth() - wizard.SideWidth() - wizard.Px(28), wizard.Texts());
  text_[0] = status.folderText;
  text_[1] = status.locationText;
  ok_ = status.ok;
  wizard.SetNavigationVisible(kNavigateNext, ok_);
}

int InstallFolderPage::PaintedTexts(const Wizard& wizard, PaintedText* texts) const {
  // Both name a path shortened to fit the page (UpdateStatus), indented by three
  // blanks: they may reach a little past the column.
  const int x0 = wizard.TextLeft(), fitted = wizard.PageWidth() - wizard.Px(6);
  const int below = Wizard::TextSize(wizard.Font(skinslot::kPageTextFont), text_[0].text()).cy;
  texts[0] = {text_[0].text(), x0, wizard.Px(80), Wizard::kTextShadow, Wizard::kTextFace};
  texts[0].right = fitted;
  texts[1] = {text_[1].text(), x0, wizard.Px(88) + below,
              ok_ ? Wizard::kTextShadow : kRefusedShadow, ok_ ? Wizard::kTextFace : kRefusedFace};
  texts[1].right = fitted;
  return 2;
}
