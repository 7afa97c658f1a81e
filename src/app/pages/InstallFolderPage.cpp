#include "app/pages/InstallFolderPage.h"

#include <algorithm>

#include "app/Wizard.h"

namespace {

// A location the product cannot go to is said in red.
constexpr COLORREF kRefusedShadow = 0x000000;
constexpr COLORREF kRefusedFace = 0x0000FF;

// The links' places, and the least room between the folder texts and the first.
constexpr int kBrowseY = 236;
constexpr int kRestoreY = 276;
constexpr int kRoomAboveLinks = 6;

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
  } links[] = {{texts::ChangeLocation, kLinkBrowse},
               {texts::RestoreDefaults, kLinkRestoreDefaults}};
  for (int i = 0; i < 2; ++i) {
    links_[i] = wizard.AddLink(wizard.Texts().text(links[i].text), links[i].code);
    if (links_[i] == nullptr) return false;
  }
  PlaceLinks(wizard, 0);
  return true;
}

void InstallFolderPage::PlaceLinks(Wizard& wizard, int drop) {
  // The second follows the first down only as far as the room between them
  // runs short.
  const int browseY = wizard.Px(kBrowseY) + drop;
  const int restoreY = std::max(wizard.Px(kRestoreY),
                                browseY + links_[0]->picture.Height() + wizard.Px(kRoomAboveLinks));
  const int y[2] = {browseY, restoreY};
  for (int i = 0; i < 2; ++i) {
    LinkButton* link = links_[i];
    link->MoveTo(wizard.TextLeft() + (wizard.TextWidth() - link->picture.Width()) / 2, y[i]);
  }
}

void InstallFolderPage::Enter(Wizard& wizard) {
  UpdateStatus(wizard);
  wizard.FocusWidget(links_[0]);
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
  // The links keep below the texts: at their places, or lower by what a long
  // text in a font of taller lines than the scale's takes beyond its room.
  PaintedText painted[2];
  PaintedTexts(wizard, painted);
  const int end = painted[1].y +
                  Wizard::TextSize(wizard.Font(skinslot::kPageTextFont), painted[1].text).cy +
                  wizard.Px(kRoomAboveLinks);
  PlaceLinks(wizard, end > wizard.Px(kBrowseY) ? end - wizard.Px(kBrowseY) : 0);
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
