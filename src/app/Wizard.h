// Wizard: the pages (src/app/pages), the two bars and the frame, built once over
// a skin and a package, and composed into one picture of the whole window.
//
// It holds no window: SetupApp tells it which page to show and what the user
// did, and paints it into the window's back buffer; kskin draws the same pages
// into a preview without any window at all.
//
// The page area is 500 x 314 pixels at 96 dots an inch, and every layout number
// of the pages is given at that scale; a wizard drawn at another scale (SetScale)
// multiplies each by it through Px. Every position below is in page coordinates
// at the wizard's scale, with (0, 0) at the page area's top-left
// (Scene::ContentOrigin in the window).
#pragma once

#include <cstdint>

#include "app/FolderStatus.h"
#include "app/SetupTexts.h"
#include "app/pages/ItemRoles.h"
#include "app/pages/Page.h"
#include "app/pages/StandardPages.h"
#include "base/SetupString.h"
#include "package/InstallModel.h"
#include "render/DisplayScale.h"
#include "render/Image.h"
#include "render/Skin.h"
#include "widgets/ButtonBar.h"
#include "widgets/CheckBox.h"
#include "widgets/ContentItem.h"
#include "widgets/FocusList.h"
#include "widgets/LinkButton.h"
#include "widgets/ProgressBar.h"
#include "widgets/Scene.h"
#include "widgets/SkinSlots.h"
#include "widgets/TextView.h"

// The six standard pages' ids (Page::Id). Their order is the list's
// (StandardPages.cpp); only the pages themselves and the tests name them.
enum WizardPage {
  Welcome = 0,
  License = 1,
  InstallFolder = 2,
  FileTypes = 3,
  Installing = 4,
  Finished = 5,
};

// The skin's four lists, as LoadSkin fills them.
struct SkinLists {
  PictureList pictures;
  SpriteList sprites;
  FontList fonts;
  SpriteList standalone;
};

class Wizard {
 public:
  static constexpr int kPageWidth = 500;
  static constexpr int kPageHeight = 314;
  // The colours of text on the page and in the bars.
  static constexpr COLORREF kTextShadow = kDefaultShadowColour;
  static constexpr COLORREF kTextFace = kDefaultFaceColour;

  Wizard() = default;
  Wizard(const Wizard&) = delete;
  Wizard& operator=(const Wizard&) = delete;

  // What the pages and the caption bar say in the vendor's words; ours unless
  // set before Build.
  void SetTexts(const SetupTexts& texts) { texts_ = texts; }
  const SetupTexts& Texts() const { return texts_; }

  // The display scale the wizard is built at, 1 unless set before Build; the
  // skin given to Build must be drawn at it.
  void SetScale(DisplayScale scale) { scale_ = scale; }
  const DisplayScale& Scale() const { return scale_; }
  // A layout number at the wizard's scale.
  int Px(int v) const { return scale_.Px(v); }
  // The page area's size at the wizard's scale.
  int PageWidth() const { return Px(kPageWidth); }
  int PageHeight() const { return Px(kPageHeight); }

  // A wizard that is only laid out, never composed (the page check): Build
  // leaves out the background and the header band, and gives the product's
  // pictures their size at the scale without resampling them. Set before Build.
  void SetLayoutOnly(bool layoutOnly) { layoutOnly_ = layoutOnly; }

  // The pages, in the order the user meets them. Build fills an empty list with
  // the standard six (StandardPages.h); a caller may fill it first (with a
  // PageListMaker of its own).
  PageList& Pages() { return pages_; }
  int PageCount() const { return pages_.count(); }
  Page* PageAt(int position) const { return pages_.at(position); }
  // The page with `id`, or null.
  Page* FindPage(int id) const;

  // Builds the bars, the frame, the background, the header band and every page
  // over the skin and the model; `options` is where the install location lives
  // (ParentFolder). The model's pictures are shown, not copied, so the model
  // must outlive the wizard. False when a part could not be made (a skin
  // without the sprites or fonts the pages need, or memory short).
  bool Build(SkinLists& skin, InstallModel& model, InstallOptions& options);

  // The window's size around the page: the frame's edges and the two bars.
  int WindowWidth() const;
  int WindowHeight() const;

  // Shows the page with `id`: its content items and navigation buttons; the page
  // that was current leaves, the new one enters (and may focus a widget or
  // recompute what it says). An unknown id shows only the frame's items. The
  // caller repaints.
  void ShowPage(int id);
  int CurrentPage() const { return current_ != nullptr ? current_->Id() : -1; }
  // The page shown, or null before the first is.
  const Page* Current() const { return current_; }
  // The page the user meets first, or -1 when there is none.
  int FirstPage() const;

  // The content items page `id` added: [first, end) in `content`; empty for an
  // unknown page.
  struct ItemRange {
    int first = 0;
    int end = 0;
  };
  ItemRange PageItems(int id) const;
  // The items every page shows: the side picture, the logo and the title.
  ItemRange FrameItems() const { return frameItems_; }

  // The page a step of `delta` (+1 forward, -1 back) from the current one leads
  // to: the next page in that direction that is offered, or the current one at
  // either end. Not meaningful on Finished, where a step forward finishes
  // instead (the caller's business).
  int StepTarget(int delta) const;

  // What the setup tells the pages, passed on to every page (Page.h says what
  // each means): the install location changed; describe `facts` instead of the
  // machine's drive from now on; the installation came `fraction` of the way
  // (true when what shows changed); write the user's choices into `options`.
  void LocationChanged();
  void UseFolderFacts(const FolderFacts& facts);
  bool ShowProgress(double fraction);
  void StoreChoices(InstallOptions& options) const;
  // A link of the current page was pressed: true when the page answered it and
  // what shows changed.
  bool OnLink(int code);

  // The background painter: white, the background picture faintly, the header
  // band, and the texts the current page draws itself. `surface` is the whole
  // window.
  void PaintBackground(Image* surface) const;
  // Shows what `other`, a wizard of the same pages built at another scale,
  // shows: its page (entered again, but no installation started), the widget
  // with the focus, the check boxes' ticks, the licence's top line and the
  // progress.
  void TakeStateOf(const Wizard& other);

  // The whole window: the background, then the scene's layers in the hover state
  // the scene holds.
  void Compose(Image* surface, int width, int height);

  // What the pages build with, while Build runs. Positions are in page
  // coordinates.
  // Each builder describes what it adds in Roles(): a text, a link or a check
  // box by its words, showing the setup's own unless `source` says otherwise.
  // A text item in `font` (the page text font unless said).
  bool AddText(const char* text, int x, int y, int font = skinslot::kPageTextFont,
               ItemSource source = ItemSource::Setup);
  // An item showing `sprite`, which it then owns (deleted here on failure).
  bool AddSprite(Sprite* sprite, int x, int y);
  // Appends `widget` to the focus list; null (and the widget deleted) on failure.
  // Its item, once the widget has made it, is described with Describe.
  template <typename W>
  W* AddWidget(W* widget) {
    if (widget != nullptr && widgets.add(widget) < 0) {
      delete widget;
      return nullptr;
    }
    return widget;
  }
  // Says what the last content item added is; false when memory is short.
  bool DescribeLastItem(ItemRole role, const char* name, int font,
                        ItemSource source = ItemSource::Setup);
  // A link at (0, 0) in the page text font, posting MSG_LINK with `code`.
  LinkButton* AddLink(const char* text, int code);
  // A check box at (0, 0) in the page text font, at least `minLabelWidth` wide.
  CheckBox* AddCheckBox(const char* text, int minLabelWidth, bool isChecked = true,
                        ItemSource source = ItemSource::Setup);
  void FocusWidget(const Widget* widget);
  void SetNavigationVisible(int code, bool visible);
  const BitmapFont* Font(int i) const { return skin_->fonts.at(i); }
  ThreePieceBar& WidgetStyle() { return widgetStyle_; }
  const InstallModel& Model() const { return *model_; }
  const InstallOptions& Options() const { return *options_; }
  // The package's side and logo pictures as the pages show them, at the
  // wizard's scale.
  const Image& SidePicture() const { return *side_; }
  const Image& LogoPicture() const { return *logo_; }
  int SideWidth() const { return side_->Width(); }
  int TextLeft() const { return SideWidth() + Px(10); }
  int TextWidth() const { return PageWidth() - TextLeft() - Px(10); }
  // The text column's width beside a side picture `sideWidth` pixels wide.
  static int TextWidthBeside(int sideWidth) { return kPageWidth - (sideWidth + 10) - 10; }
  // What each content and bar item is (role, words, font, what of the
  // vendor's it shows), as the builders described them.
  const ItemRoles& Roles() const { return roles_; }
  // Text size as drawn.
  static Size TextSize(const BitmapFont* font, const char* text) {
    return font->Measure(text, false);
  }

  Scene scene;
  ItemList content;
  FocusList widgets;
  ButtonBar caption;
  ButtonBar navigation;

 private:
  bool BuildBars();
  // Appends to `bar` an item showing the text of `textId`: the skin's standalone
  // sprite `face` for our English text, else the text drawn in the caption font.
  // Null when it could not be made.
  ContentItem* AddCaptionItem(ButtonBar& bar, int textId, int face, int flags);
  bool BuildFrameItems();
  // Points side_ and logo_ at the model's pictures, or at copies resampled to
  // the scale. False when memory is short.
  bool ScalePictures();
  void ShowNavigation(unsigned shownCodes);
  void ShowItems(const ItemRange& range);

  static constexpr int kMaxPages = 16;

  SkinLists* skin_ = nullptr;
  SetupTexts texts_;
  DisplayScale scale_;
  bool layoutOnly_ = false;
  InstallModel* model_ = nullptr;
  Image* side_ = nullptr;
  Image* logo_ = nullptr;
  Image scaledSide_;
  Image scaledLogo_;
  InstallOptions* options_ = nullptr;
  ThreePieceBar widgetStyle_;
  Image background_;
  Image headerBand_;

  PageList pages_{8};
  ItemRoles roles_;
  // What each page added to `content`, by its place in `pages_`, and the items
  // every page shows (the product's pictures and the title).
  ItemRange pageItems_[kMaxPages];
  ItemRange frameItems_;
  Page* current_ = nullptr;
};
