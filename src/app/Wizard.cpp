#include "app/Wizard.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "app/FolderStatus.h"

#include "platform/WinDefs.h"
#include "render/Composite.h"
#include "render/MaskOps.h"
#include "render/Resample.h"
#include "widgets/FileTypeGrid.h"
#include "widgets/SkinSlots.h"

namespace {

// The page texts, as the user reads them.
const char kProductTitle[] = "Kestrane Corp Setup";
const char kWelcomeThanks[] =
    "Thank you for choosing Kestrane software.\nWe will now Setup and Install:";
const char kWelcomeGuide[] =
    "In the following pages you will be asked to\nselect Setup preferences. Click on the "
    "Next\nbutton to advance to the next page. Click on\nthe Back button to review/change "
    "selections.";
const char kWelcomeNext[] = "Please click Next to begin...";
const char kLicenceAgree[] = "Please click I Agree to proceed...";
const char kChangeLocation[] = "Click here to change install location";
const char kRestoreDefaults[] = "Click here to restore defaults";
const char kFileTypesHeading[] =
    "Check the file types you want Windows to\nopen with the software you are installing:";
const char kCheckAll[] = "Check All Types";
const char kUncheckAll[] = "Uncheck All Types";
const char kInstalling[] = "Install in progress...";
const char kRunAfterSetup[] = "Run software upon exiting Setup?";
const char kFinishedDone[] = "The Setup and Install process\nwas successfully completed.";
const char kFinishedReady[] =
    "This software is now ready to use and\ncan be accessed from the Start Menu, its\nDesktop "
    "Shortcut Icon, or from the install\nfolder. We hope you'll enjoy it!";
const char kFinishedUninstall[] =
    "To uninstall this software please use Control\nPanel's \"Add or Remove Programs\".";

// The content list's fixed places: a page switch addresses its items by index.
enum ContentIndex {
  kSidePicture = 0,
  kLogoPicture = 1,
  kTitle = 2,
  kWelcomeFirst = 3,
  kWelcomeLast = 6,
  kLicenceFirst = 7,
  kLicenceLast = 8,
  kFolderFirst = 9,
  kFolderLast = 10,
  kFileTypesFirst = 11,
  kFileTypesLast = 13,
  kInstallingFirst = 14,
  kInstallingLast = 15,
  kFinishedFirst = 16,
  kFinishedLast = 16,
  kFirstFileTypeBox = 17,
};

// The navigation bar's buttons in list order; right-aligned, they line up from
// the right edge leftwards, so the forward button is always rightmost.
constexpr int kNavigationCodes[] = {kNavigateAgree, kNavigateNext, kNavigateBack, kNavigateCancel,
                                    kNavigateFinish};

constexpr unsigned Bit(int code) {
  return 1u << code;
}

// The colours of text on the page and in the bars, and of the product's name.
constexpr COLORREF kTextShadow = kDefaultShadowColour;
constexpr COLORREF kTextFace = kDefaultFaceColour;
constexpr COLORREF kProductShadow = 0x000000;
constexpr COLORREF kProductFace = 0xA00000;
constexpr COLORREF kRefusedShadow = 0x000000;
constexpr COLORREF kRefusedFace = 0x0000FF;

// Text height as drawn: Measure of the text in that font.
Size Measure(const BitmapFont* font, const char* text) {
  return font->Measure(text, false);
}

}  // namespace

bool Wizard::Build(SkinLists& skin, InstallModel& model, InstallOptions& options) {
  skin_ = &skin;
  model_ = &model;
  options_ = &options;
  for (int i = 0; i < 3; ++i) {
    if (skin.fonts.at(i) == nullptr) return false;
  }
  for (int slot = skinslot::kBackground; slot <= skinslot::kTickUnchecked; ++slot) {
    if (skin.sprites.at(slot) == nullptr) return false;
  }
  for (int slot = skinslot::kTitle; slot <= skinslot::kFinishFace; ++slot) {
    if (skin.standalone.at(slot) == nullptr) return false;
  }
  widgetStyle_.left = skin.sprites.at(skinslot::kWidgetLeft);
  widgetStyle_.middle = skin.sprites.at(skinslot::kWidgetMiddle);
  widgetStyle_.right = skin.sprites.at(skinslot::kWidgetRight);
  if (!BuildBars()) return false;

  // A background that must grow is blurred up (Mitchell), one that shrinks is
  // kept sharp (Lanczos3); Rescale picks the kernel.
  const Sprite* backgroundSprite = skin.sprites.at(skinslot::kBackground);
  if (backgroundSprite->first == nullptr ||
      !Rescale(background_, *backgroundSprite->first, kPageWidth, kPageHeight)) {
    return false;
  }
  const int bandWidth = kPageWidth - SideWidth();
  if (bandWidth > 0 && !SoftShadowMask(&headerBand_, bandWidth, model.logoPicture.Height() + 12, 20,
                                       192, 255, 128)) {
    return false;
  }

  content.shadowColour = kTextShadow;
  content.faceColour = kTextFace;
  scene.content = &content;
  scene.caption = &caption;
  scene.navigation = &navigation;
  scene.frame.left = skin.sprites.at(skinslot::kFrameLeft);
  scene.frame.middle = skin.sprites.at(skinslot::kFrameMiddle);
  scene.frame.right = skin.sprites.at(skinslot::kFrameRight);
  return BuildPages();
}

bool Wizard::BuildBars() {
  ButtonBar* bars[] = {&caption, &navigation};
  for (ButtonBar* bar : bars) {
    for (int set = 0; set < skinslot::kBarSetCount; ++set) {
      const int first = skinslot::kBarSets + 3 * set;
      bar->sets[set].left = skin_->sprites.at(first);
      bar->sets[set].middle = skin_->sprites.at(first + 1);
      bar->sets[set].right = skin_->sprites.at(first + 2);
    }
    bar->items.shadowColour = kTextShadow;
    bar->items.faceColour = kTextFace;
  }

  auto* close =
      new (std::nothrow) ContentItem(skin_->sprites.at(skinslot::kCloseButton), kItemButton);
  if (close == nullptr || caption.items.add(close) < 0) {
    delete close;
    return false;
  }
  close->message = MSG_NAVIGATE;
  close->wParam = kNavigateFinish;
  auto* title = new (std::nothrow) ContentItem(skin_->standalone.at(skinslot::kTitle), kItemLabel);
  if (title == nullptr || caption.items.add(title) < 0) {
    delete title;
    return false;
  }

  for (int code : kNavigationCodes) {
    auto* button = new (std::nothrow) ContentItem(skin_->standalone.at(code), kItemButton);
    if (button == nullptr || navigation.items.add(button) < 0) {
      delete button;
      return false;
    }
    button->message = MSG_NAVIGATE;
    button->wParam = std::uintptr_t(code);
  }
  return true;
}

int Wizard::WindowWidth() const {
  return kPageWidth + scene.frame.LeftWidth() + scene.frame.RightWidth();
}

int Wizard::WindowHeight() const {
  return kPageHeight + caption.Height() + navigation.Height();
}

bool Wizard::AddSprite(Sprite* sprite, int x, int y) {
  if (sprite == nullptr) return false;
  auto* item = new (std::nothrow) ContentItem(sprite, kItemLabel);
  if (item == nullptr) {
    delete sprite;
    return false;
  }
  item->ownsSprites = true;
  item->Place(x, y);
  if (content.add(item) < 0) {
    delete item;
    return false;
  }
  return true;
}

bool Wizard::AddText(const char* text, int x, int y, int font) {
  return AddSprite(Font(font)->NewCaptionSprite(text, false, false), x, y);
}

template <typename W>
W* Wizard::AddWidget(W* widget) {
  if (widget != nullptr && widgets.add(widget) < 0) {
    delete widget;
    return nullptr;
  }
  return widget;
}

bool Wizard::BuildPages() {
  const int x0 = TextLeft(), tw = TextWidth();
  const BitmapFont* body = Font(skinslot::kPageTextFont);

  // 0, 1: the product's pictures; 2: the title beside the logo.
  if (!AddSprite(MakeSprite(kSpritePicture, &model_->sidePicture, nullptr), 0, 0)) return false;
  const int logoWidth = model_->logoPicture.Width(), logoHeight = model_->logoPicture.Height();
  if (!AddSprite(MakeSprite(kSpritePicture, &model_->logoPicture, nullptr),
                 kPageWidth - logoWidth - 6, 6)) {
    return false;
  }
  const int titleHeight = Measure(Font(skinslot::kTitleFont), kProductTitle).cy;
  if (!AddText(kProductTitle, x0, (logoHeight - titleHeight + 13) / 2, skinslot::kTitleFont))
    return false;

  // 3-6: Welcome. A product name too wide for the column breaks before its
  // first dash, if it has one.
  if (!AddText(kWelcomeThanks, x0, 80)) return false;
  SetupString product = model_->displayName;
  if (Measure(body, product.text()).cx > tw) {
    const int dash = product.findChar('-');
    if (dash >= 0) product.insertText(dash, "\n");
  }
  const Size productSize = Measure(body, product.text());
  if (!AddText(product.text(), x0 + (kPageWidth - x0 - productSize.cx) / 2, 150)) return false;
  ContentItem* productItem = content.at(content.count() - 1);
  productItem->useOwnColours = true;
  productItem->ownShadow = kProductShadow;
  productItem->ownFace = kProductFace;
  if (!AddText(kWelcomeGuide, x0, 210)) return false;
  const Size nextSize = Measure(body, kWelcomeNext);
  if (!AddText(kWelcomeNext, kPageWidth - nextSize.cx, kPageHeight - nextSize.cy)) return false;

  // 7-8: License.
  const ByteStream& licence = model_->licenceText;
  const char* licenceBytes = reinterpret_cast<const char*>(licence.bytes());
  const int licenceLength =
      licenceBytes != nullptr ? int(strnlen(licenceBytes, licence.size())) : 0;
  licence_ = AddWidget(TextView::New());
  if (licence_ == nullptr || !licence_->Setup(Font(skinslot::kLicenceFont), x0, 80, tw, 200,
                                              licenceBytes, licenceLength, 60, content)) {
    return false;
  }
  const Size agreeSize = Measure(body, kLicenceAgree);
  if (!AddText(kLicenceAgree, kPageWidth - agreeSize.cx, kPageHeight - agreeSize.cy)) {
    return false;
  }

  // 9-10: InstallFolder's links, centred in the text column.
  const struct {
    const char* text;
    int code;
    int y;
  } folderLinks[] = {{kChangeLocation, kLinkBrowse, 236},
                     {kRestoreDefaults, kLinkRestoreDefaults, 276}};
  for (const auto& link : folderLinks) {
    LinkButton* button = AddWidget(LinkButton::New());
    if (button == nullptr || !button->Setup(body, 0, 0, link.text, content, &widgetStyle_)) {
      return false;
    }
    button->item->message = MSG_LINK;
    button->item->wParam = std::uintptr_t(link.code);
    button->MoveTo(x0 + (tw - button->picture.Width()) / 2, link.y);
    if (link.code == kLinkBrowse) browseLink_ = button;
  }

  // 11-13: FileTypes' heading and links. "Uncheck All Types" sits at the right
  // until there is a third check box to line up with.
  if (!AddText(kFileTypesHeading, x0, 80)) return false;
  LinkButton* checkAll = AddWidget(LinkButton::New());
  if (checkAll == nullptr || !checkAll->Setup(body, x0, 276, kCheckAll, content, &widgetStyle_)) {
    return false;
  }
  checkAll->item->message = MSG_LINK;
  checkAll->item->wParam = kLinkCheckAll;
  uncheckAllLink_ = AddWidget(LinkButton::New());
  if (uncheckAllLink_ == nullptr ||
      !uncheckAllLink_->Setup(body, 0, 0, kUncheckAll, content, &widgetStyle_)) {
    return false;
  }
  uncheckAllLink_->item->message = MSG_LINK;
  uncheckAllLink_->item->wParam = kLinkUncheckAll;
  uncheckAllLink_->MoveTo(kPageWidth - uncheckAllLink_->picture.Width() - 10, 276);

  // 14-15: Installing.
  if (!AddText(kInstalling, x0, 80)) return false;
  progress_ = AddWidget(ProgressBar::New());
  if (progress_ == nullptr || !progress_->Setup(body, x0, 150, content, &widgetStyle_, tw)) {
    return false;
  }

  // 16: Finished's check box, centred in the text column.
  runAfterSetup_ = AddWidget(CheckBox::New());
  if (runAfterSetup_ == nullptr ||
      !runAfterSetup_->Setup(body, 0, 0, kRunAfterSetup, content, &widgetStyle_,
                             skin_->sprites.at(skinslot::kTickUnchecked),
                             skin_->sprites.at(skinslot::kTickChecked), 1, 0)) {
    return false;
  }
  runAfterSetup_->MoveTo(x0 + (tw - runAfterSetup_->picture.Width()) / 2, 220);

  return BuildFileTypeBoxes();
}

bool Wizard::BuildFileTypeBoxes() {
  firstFileTypeWidget_ = widgets.count();
  firstFileTypeItem_ = content.count();
  fileTypeCount_ = 0;
  if (model_->selectableItem < 0) return true;
  const InstallItem* item = model_->itemAt(model_->selectableItem);
  const FileTypeEntry* type =
      item != nullptr ? item->fileTypes.at(model_->selectableType) : nullptr;
  if (type == nullptr) return true;
  const ExtensionSet& labels = type->optionalExtensions;
  const BitmapFont* body = Font(skinslot::kPageTextFont);

  int labelWidth = 0;
  for (int i = 0; i < labels.count(); ++i) {
    labelWidth = std::max(labelWidth, Measure(body, labels.at(i)->text()).cx);
  }
  for (int i = 0; i < labels.count(); ++i) {
    CheckBox* box = AddWidget(CheckBox::New());
    if (box == nullptr || !box->Setup(body, 0, 0, labels.at(i)->text(), content, &widgetStyle_,
                                      skin_->sprites.at(skinslot::kTickUnchecked),
                                      skin_->sprites.at(skinslot::kTickChecked), 1, labelWidth)) {
      return false;
    }
    ++fileTypeCount_;
  }
  if (fileTypeCount_ == 0) return true;

  const FileTypeGrid grid = LayOutFileTypeGrid(SideWidth(), FileTypeBox(0)->picture.GetSize());
  for (int i = 0; i < fileTypeCount_; ++i) {
    const Point at = grid.BoxPosition(i);
    FileTypeBox(i)->MoveTo(at.x, at.y);
  }
  if (fileTypeCount_ >= 3) uncheckAllLink_->MoveTo(FileTypeBox(2)->item->x, 276);
  return true;
}

CheckBox* Wizard::FileTypeBox(int i) const {
  if (i < 0 || i >= fileTypeCount_) return nullptr;
  return static_cast<CheckBox*>(widgets.at(firstFileTypeWidget_ + i));
}

void Wizard::SetNavigationVisible(int code, bool visible) {
  for (int i = 0; i < navigation.items.count(); ++i) {
    ContentItem* button = navigation.items.at(i);
    if (button->wParam != std::uintptr_t(code)) continue;
    if (visible) {
      button->flags |= kItemVisible;
    } else {
      button->flags &= ~kItemVisible;
    }
  }
}

void Wizard::ShowNavigation(unsigned shownCodes) {
  for (int code : kNavigationCodes) SetNavigationVisible(code, (shownCodes & Bit(code)) != 0);
}

void Wizard::ShowItems(int first, int last) {
  for (int i = first; i <= last && i < content.count(); ++i) content.at(i)->flags |= kItemVisible;
}

void Wizard::FocusWidget(const Widget* widget) {
  for (int i = 0; i < widgets.count(); ++i) {
    if (widgets.at(i) == widget) {
      widgets.SetFocusIndex(i);
      return;
    }
  }
}

void Wizard::ShowPage(int page) {
  page_ = page;
  for (int i = 0; i < content.count(); ++i) content.at(i)->flags &= ~kItemVisible;
  ShowItems(kSidePicture, kTitle);
  switch (page) {
    case Welcome:
      ShowNavigation(Bit(kNavigateNext) | Bit(kNavigateCancel));
      ShowItems(kWelcomeFirst, kWelcomeLast);
      break;
    case License:
      ShowNavigation(Bit(kNavigateAgree) | Bit(kNavigateBack) | Bit(kNavigateCancel));
      ShowItems(kLicenceFirst, kLicenceLast);
      FocusWidget(licence_);
      break;
    case InstallFolder:
      ShowNavigation(Bit(kNavigateBack) | Bit(kNavigateCancel) | Bit(kNavigateNext));
      ShowItems(kFolderFirst, kFolderLast);
      UpdateFolderStatus();
      FocusWidget(browseLink_);
      break;
    case FileTypes:
      ShowNavigation(Bit(kNavigateNext) | Bit(kNavigateBack) | Bit(kNavigateCancel));
      ShowItems(kFileTypesFirst, kFileTypesLast);
      ShowItems(firstFileTypeItem_, firstFileTypeItem_ + fileTypeCount_ - 1);
      if (fileTypeCount_ > 0) FocusWidget(FileTypeBox(0));
      break;
    case Installing:
      SetProgress(0);
      ShowNavigation(0);
      ShowItems(kInstallingFirst, kInstallingLast);
      break;
    case Finished:
      ShowNavigation(Bit(kNavigateFinish));
      ShowItems(kFinishedFirst, kFinishedLast);
      FocusWidget(runAfterSetup_);
      break;
    default:
      break;
  }
}

int Wizard::StepTarget(int delta) const {
  int target = page_ + delta;
  if (target < Welcome) target = Welcome;
  if (target > Finished) target = Finished;
  if (target == FileTypes && model_->selectableItem == -1) target = FileTypes + delta;
  return target;
}

void Wizard::UpdateFolderStatus() {
  const FolderFacts facts =
      factsFixed_ ? fixedFacts_ : ReadFolderFacts(*model_, options_->ParentFolder);
  FolderStatus status =
      DescribeFolder(*model_, options_->ParentFolder, facts, *Font(skinslot::kPageTextFont),
                     kPageWidth - SideWidth() - 28);
  folderText_[0] = status.folderText;
  folderText_[1] = status.locationText;
  folderOk_ = status.ok;
  SetNavigationVisible(kNavigateNext, folderOk_);
}

void Wizard::SetAllFileTypes(bool checked) {
  if (model_->selectableItem == -1) return;
  for (int i = 0; i < fileTypeCount_; ++i) FileTypeBox(i)->SetChecked(checked ? 1 : 0);
}

void Wizard::StoreFileTypeChoices(InstallOptions& options) const {
  if (model_->selectableItem == -1) return;
  for (int i = 0; i < fileTypeCount_ && i < InstallOptions::kMaxFileTypeChoices; ++i) {
    options.fileTypeChoices[i] = FileTypeBox(i)->checked;
  }
}

bool Wizard::SetProgress(double fraction) {
  return progress_ != nullptr && progress_->SetFraction(fraction);
}

bool Wizard::RunAfterSetupChecked() const {
  return runAfterSetup_ != nullptr && runAfterSetup_->checked != 0;
}

void Wizard::PaintBackground(Image* surface) const {
  surface->Fill(0xFFFFFF);
  const Point origin = scene.ContentOrigin();
  BlendImage(surface, origin.x, origin.y, &background_, 64);
  if (headerBand_.HasPixels()) {
    FillMask(surface, origin.x + SideWidth(), origin.y, &headerBand_, 0x400000, 0, 0, 128);
  }
  const BitmapFont* body = Font(skinslot::kPageTextFont);
  const int x0 = origin.x + TextLeft();
  if (page_ == InstallFolder) {
    body->DrawText(surface, x0, origin.y + 80, folderText_[0].text(), kTextShadow, kTextFace,
                   false);
    const int below = Measure(body, folderText_[0].text()).cy;
    body->DrawText(surface, x0, origin.y + 88 + below, folderText_[1].text(),
                   folderOk_ ? kTextShadow : kRefusedShadow, folderOk_ ? kTextFace : kRefusedFace,
                   false);
  } else if (page_ == Finished) {
    body->DrawText(surface, x0, origin.y + 80, kFinishedDone, kTextShadow, kTextFace, false);
    body->DrawText(surface, x0, origin.y + 130, kFinishedReady, kTextShadow, kTextFace, false);
    const Size size = Measure(body, kFinishedUninstall);
    const int room = kPageWidth - SideWidth() - 20;
    body->DrawText(surface, x0 + (room - size.cx) / 2, origin.y + kPageHeight - size.cy,
                   kFinishedUninstall, kTextShadow, kTextFace, false);
  }
}

void Wizard::Compose(Image* surface, int width, int height) {
  PaintBackground(surface);
  scene.Draw(surface, width, height);
}
