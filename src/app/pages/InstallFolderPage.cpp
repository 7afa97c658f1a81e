#include "app/pages/InstallFolderPage.h"

#include "app/Wizard.h"

namespace {

const char kChangeLocation[] = "Click here to change install location";
const char kRestoreDefaults[] = "Click here to restore defaults";

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
    const char* text;
    int code;
    int y;
  } links[] = {{kChangeLocation, kLinkBrowse, 236}, {kRestoreDefaults, kLinkRestoreDefaults, 276}};
  for (const auto& link : links) {
    LinkButton* button = wizard.AddLink(link.text, link.code);
    if (button == nullptr) return false;
    button->MoveTo(wizard.TextLeft() + (wizard.TextWidth() - button->picture.Width()) / 2, link.y);
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
  FolderStatus status = DescribeFolder(model, parent, facts, *wizard.Font(skinslot::kPageTextFont),
                                       Wizard::kPageWidth - wizard.SideWidth() - 28);
  text_[0] = status.folderText;
  text_[1] = status.locationText;
  ok_ = status.ok;
  wizard.SetNavigationVisible(kNavigateNext, ok_);
}

void InstallFolderPage::PaintBackground(const Wizard& wizard, Image* surface, int originX,
                                        int originY) const {
  const BitmapFont* body = wizard.Font(skinslot::kPageTextFont);
  const int x0 = originX + wizard.TextLeft();
  body->DrawText(surface, x0, originY + 80, text_[0].text(), Wizard::kTextShadow,
                 Wizard::kTextFace, false);
  const int below = Wizard::TextSize(body, text_[0].text()).cy;
  body->DrawText(surface, x0, originY + 88 + below, text_[1].text(),
                 ok_ ? Wizard::kTextShadow : kRefusedShadow, ok_ ? Wizard::kTextFace : kRefusedFace,
                 false);
}
