#include "app/Wizard.h"

#include <cstring>
#include <new>

#include "app/AppMessages.h"
#include "platform/WinDefs.h"
#include "render/Composite.h"
#include "render/MaskOps.h"
#include "render/Resample.h"
#include "widgets/SkinSlots.h"

namespace {

// The navigation bar's buttons in list order, each with the skin's face for it;
// right-aligned, they line up from the right edge leftwards, so the forward
// button is always rightmost.
const struct {
  int code;
  int face;
  int text;
} kNavigationButtons[] = {
    {kNavigateAgree, skinslot::kAgreeFace, texts::IAgree},
    {kNavigateNext, skinslot::kNextFace, texts::Next},
    {kNavigateBack, skinslot::kBackFace, texts::Back},
    {kNavigateCancel, skinslot::kCancelFace, texts::Cancel},
    {kNavigateFinish, skinslot::kFinishFace, texts::Finish},
};

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
  if (!ScalePictures()) return false;
  widgetStyle_.left = skin.sprites.at(skinslot::kWidgetLeft);
  widgetStyle_.middle = skin.sprites.at(skinslot::kWidgetMiddle);
  widgetStyle_.right = skin.sprites.at(skinslot::kWidgetRight);
  if (!BuildBars()) return false;

  // A background that must grow is blurred up (Mitchell), one that shrinks is
  // kept sharp (Lanczos3); Rescale picks the kernel.
  const Sprite* backgroundSprite = skin.sprites.at(skinslot::kBackground);
  if (backgroundSprite->first == nullptr) return false;
  if (!layoutOnly_ && !Rescale(background_, *backgroundSprite->first, PageWidth(), PageHeight())) {
    return false;
  }
  const int bandWidth = PageWidth() - SideWidth();
  if (!layoutOnly_ && bandWidth > 0 &&
      !SoftShadowMask(&headerBand_, bandWidth, LogoPicture().Height() + Px(12), Px(20), 192, 255,
                      128)) {
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

  if (pages_.count() == 0 && !AddStandardPages(pages_)) return false;
  if (pages_.count() > kMaxPages || !BuildFrameItems()) return false;
  for (int i = 0; i < pages_.count(); ++i) {
    pageItems_[i].first = content.count();
    if (!pages_.at(i)->Build(*this)) return false;
    pageItems_[i].end = content.count();
  }
  return true;
}

bool Wizard::ScalePictures() {
  // The pictures are made for 96 dots an inch; at another scale they are
  // resampled with the same filter as the background, never merely enlarged,
  // from the larger originals when the setup carries them.
  Image* originals[] = {&model_->sidePicture, &model_->logoPicture};
  Image* larger[] = {&model_->largeSidePicture, &model_->largeLogoPicture};
  Image* copies[] = {&scaledSide_, &scaledLogo_};
  Image** shown[] = {&side_, &logo_};
  for (int i = 0; i < 2; ++i) {
    Image& original = *originals[i];
    *shown[i] = &original;
    if (scale_.IsOne() || !original.HasPixels()) continue;
    const int width = Px(original.Width()), height = Px(original.Height());
    Image& source = larger[i]->HasPixels() ? *larger[i] : original;
    if (source.Width() == width && source.Height() == height) {
      *shown[i] = &source;
      continue;
    }
    if (layoutOnly_ ? !copies[i]->Create(width, height, 24)
                    : !Rescale(*copies[i], source, width, height)) {
      return false;
    }
    *shown[i] = copies[i];
  }
  return true;
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
  if (!roles_.Describe(close, ItemRole::Button, nullptr, -1)) return false;
  ContentItem* title = AddCaptionItem(caption, texts::WindowName, skinslot::kTitle, kItemLabel);
  if (title == nullptr) return false;

  for (const auto& b : kNavigationButtons) {
    ContentItem* button = AddCaptionItem(navigation, b.text, b.face, kItemButton);
    if (button == nullptr) return false;
    button->message = MSG_NAVIGATE;
    button->wParam = std::uintptr_t(b.code);
  }
  return true;
}

ContentItem* Wizard::AddCaptionItem(ButtonBar& bar, int textId, int face, int flags) {
  // The skin pictures our English words; other words are drawn in the caption
  // font, as the skin's own captions were made, so an English setup shows the
  // skin's pictures unchanged.
  Sprite* sprite = skin_->standalone.at(face);
  const char* text = texts_.text(textId);
  const bool own = std::strcmp(text, texts::englishText(textId)) != 0;
  if (own) {
    sprite = Font(skinslot::kTitleFont)->NewCaptionSprite(text, true, false);
    if (sprite == nullptr) return nullptr;
  }
  auto* item = new (std::nothrow) ContentItem(sprite, flags);
  if (item == nullptr || bar.items.add(item) < 0) {
    delete item;
    if (own) delete sprite;
    return nullptr;
  }
  item->ownsSprites = own;
  const ItemRole role = (flags & kItemClickable) != 0 ? ItemRole::Button : ItemRole::Title;
  return roles_.Describe(item, role, text, skinslot::kTitleFont) ? item : nullptr;
}

int Wizard::WindowWidth() const {
  return PageWidth() + scene.frame.LeftWidth() + scene.frame.RightWidth();
}

int Wizard::WindowHeight() const {
  return PageHeight() + caption.Height() + navigation.Height();
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

bool Wizard::DescribeLastItem(ItemRole role, const char* name, int font, ItemSource source) {
  return roles_.Describe(content.at(content.count() - 1), role, name, font, source);
}

bool Wizard::AddText(const char* text, int x, int y, int font, ItemSource source) {
  return AddSprite(Font(font)->NewCaptionSprite(text, false, false), x, y) &&
         DescribeLastItem(ItemRole::Text, text, font, source);
}

LinkButton* Wizard::AddLink(const char* text, int code) {
  LinkButton* link = AddWidget(LinkButton::New());
  if (link != nullptr) link->scale = scale_;
  if (link == nullptr ||
      !link->Setup(Font(skinslot::kPageTextFont), 0, 0, text, content, &widgetStyle_) ||
      !DescribeLastItem(ItemRole::Link, text, skinslot::kPageTextFont)) {
    return nullptr;
  }
  link->item->message = MSG_LINK;
  link->item->wParam = std::uintptr_t(code);
  return link;
}

CheckBox* Wizard::AddCheckBox(const char* text, int minLabelWidth, bool isChecked,
                              ItemSource source) {
  CheckBox* box = AddWidget(CheckBox::New());
  if (box != nullptr) box->scale = scale_;
  if (box == nullptr ||
      !box->Setup({Font(skinslot::kPageTextFont), text, &widgetStyle_,
                   skin_->sprites.at(skinslot::kTickUnchecked),
                   skin_->sprites.at(skinslot::kTickChecked), isChecked, minLabelWidth},
                  0, 0, content) ||
      !DescribeLastItem(ItemRole::CheckBox, text, skinslot::kPageTextFont, source)) {
    return nullptr;
  }
  return box;
}

// The items every page shows: the product's pictures and the title beside the
// logo.
bool Wizard::BuildFrameItems() {
  frameItems_.first = content.count();
  if (!AddSprite(MakeSprite(kSpritePicture, side_, nullptr), 0, 0) ||
      !DescribeLastItem(ItemRole::Picture, nullptr, -1, ItemSource::SidePicture)) {
    return false;
  }
  const int logoWidth = logo_->Width(), logoHeight = logo_->Height();
  if (!AddSprite(MakeSprite(kSpritePicture, logo_, nullptr), PageWidth() - logoWidth - Px(6),
                 Px(6)) ||
      !DescribeLastItem(ItemRole::Picture, nullptr, -1, ItemSource::Logo)) {
    return false;
  }
  const char* header = texts_.text(texts::HeaderTitle);
  const int titleHeight = TextSize(Font(skinslot::kTitleFont), header).cy;
  if (!AddText(header, TextLeft(), (logoHeight - titleHeight + Px(13)) / 2, skinslot::kTitleFont) ||
      !DescribeLastItem(ItemRole::Title, header, skinslot::kTitleFont)) {
    return false;
  }
  frameItems_.end = content.count();
  return true;
}

Page* Wizard::FindPage(int id) const {
  for (int i = 0; i < pages_.count(); ++i) {
    if (pages_.at(i)->Id() == id) return pages_.at(i);
  }
  return nullptr;
}

Wizard::ItemRange Wizard::PageItems(int id) const {
  for (int i = 0; i < pages_.count(); ++i) {
    if (pages_.at(i)->Id() == id) return pageItems_[i];
  }
  return {};
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
  for (const auto& b : kNavigationButtons) {
    SetNavigationVisible(b.code, (shownCodes & NavigationBit(b.code)) != 0);
  }
}

void Wizard::ShowItems(const ItemRange& range) {
  for (int i = range.first; i < range.end && i < content.count(); ++i) {
    content.at(i)->flags |= kItemVisible;
  }
}

void Wizard::FocusWidget(const Widget* widget) {
  for (int i = 0; i < widgets.count(); ++i) {
    if (widgets.at(i) == widget) {
      widgets.SetFocusIndex(i);
      return;
    }
  }
}

void Wizard::ShowPage(int id) {
  if (current_ != nullptr) current_->Leave(*this);
  current_ = FindPage(id);
  for (int i = 0; i < content.count(); ++i) content.at(i)->flags &= ~kItemVisible;
  ShowItems(frameItems_);
  if (current_ == nullptr) return;
  ShowNavigation(current_->Buttons());
  ShowItems(PageItems(id));
  current_->Enter(*this);
}

int Wizard::StepTarget(int delta) const {
  int at = 0;
  while (at < pages_.count() && pages_.at(at) != current_) ++at;
  if (at == pages_.count()) return CurrentPage();
  for (int i = at + delta; i >= 0 && i < pages_.count(); i += delta) {
    if (pages_.at(i)->Offered(*this)) return pages_.at(i)->Id();
  }
  return CurrentPage();
}

int Wizard::FirstPage() const {
  return pages_.count() > 0 ? pages_.at(0)->Id() : -1;
}

void Wizard::LocationChanged() {
  for (int i = 0; i < pages_.count(); ++i) pages_.at(i)->LocationChanged(*this);
}

void Wizard::UseFolderFacts(const FolderFacts& facts) {
  for (int i = 0; i < pages_.count(); ++i) pages_.at(i)->UseFolderFacts(facts);
}

bool Wizard::ShowProgress(double fraction) {
  bool changed = false;
  for (int i = 0; i < pages_.count(); ++i)
    changed = pages_.at(i)->ShowProgress(fraction) || changed;
  return changed;
}

void Wizard::StoreChoices(InstallOptions& options) const {
  for (int i = 0; i < pages_.count(); ++i) pages_.at(i)->StoreChoices(*this, options);
}

bool Wizard::OnLink(int code) {
  return current_ != nullptr && current_->OnLink(*this, code);
}

void Wizard::TakeStateOf(const Wizard& other) {
  ShowPage(other.CurrentPage());
  // The two were built from the same pages in the same order, so their widgets
  // match one for one.
  for (int i = 0; i < widgets.count() && i < other.widgets.count(); ++i) {
    Widget* to = widgets.at(i);
    const Widget* from = other.widgets.at(i);
    if (to == nullptr || from == nullptr || to->kind != from->kind) continue;
    switch (to->kind) {
      case kWidgetCheckBox:
        static_cast<CheckBox*>(to)->SetChecked(static_cast<const CheckBox*>(from)->checked);
        break;
      case kWidgetTextView: {
        auto* view = static_cast<TextView*>(to);
        view->SetTopLine(static_cast<const TextView*>(from)->top);
        view->Render();
        break;
      }
      case kWidgetProgressBar:
        static_cast<ProgressBar*>(to)->SetFraction(static_cast<const ProgressBar*>(from)->fraction);
        break;
      default:
        break;
    }
  }
  widgets.SetFocusIndex(other.widgets.focused);
}

void Wizard::PaintBackground(Image* surface) const {
  surface->Fill(0xFFFFFF);
  const Point origin = scene.ContentOrigin();
  BlendImage(surface, origin.x, origin.y, &background_, 64);
  if (headerBand_.HasPixels()) {
    FillMask(surface, origin.x + SideWidth(), origin.y, &headerBand_, 0x400000, 0, 0, 128);
  }
  if (current_ == nullptr) return;
  PaintedText texts[Page::kMaxPaintedTexts];
  const int count = current_->PaintedTexts(*this, texts);
  for (int i = 0; i < count && i < Page::kMaxPaintedTexts; ++i) {
    const PaintedText& t = texts[i];
    Font(t.font)->DrawText(surface, origin.x + t.x, origin.y + t.y, t.text, t.shadow, t.face,
                           false);
  }
}

void Wizard::Compose(Image* surface, int width, int height) {
  PaintBackground(surface);
  scene.Draw(surface, width, height);
}
