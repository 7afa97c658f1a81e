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

// The six standard pages' ids (Page::Id), in the order the user meets them.
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

  // The pages, in the order the user meets them. Build fills an empty list with
  // the standard six (StandardPages.h); a caller may fill it first.
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

  // InstallFolder: recomputes the two folder texts and whether the location is
  // acceptable, and shows or hides Next to match.
  void UpdateFolderStatus();
  // From now on the folder texts describe `facts` instead of the machine's drive,
  // so that a preview of the pages comes out the same on every machine.
  void SetFolderFacts(const FolderFacts& facts);
  bool FolderOk() const;
  const SetupString& FolderText(int i) const;

  // FileTypes: ticks (or clears) every check box.
  void SetAllFileTypes(bool checked);
  // The check boxes' states in order into options.fileTypeChoices (as many as
  // it holds; those past it count as unchecked).
  void StoreFileTypeChoices(InstallOptions& options) const;
  int FileTypeBoxCount() const;
  CheckBox* FileTypeBox(int i) const;

  // Installing: shows `fraction` on the progress bar; false when the bar
  // already showed it.
  bool SetProgress(double fraction);
  // What the progress bar says ("42.0%").
  const char* ProgressText() const;
  // Finished: whether the user left "run the product" ticked.
  bool RunAfterSetupChecked() const;

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
  // A text item in `font` (the page text font unless said).
  bool AddText(const char* text, int x, int y, int font = skinslot::kPageTextFont);
  // An item showing `sprite`, which it then owns (deleted here on failure).
  bool AddSprite(Sprite* sprite, int x, int y);
  // Appends `widget` to the focus list; null (and the widget deleted) on failure.
  template <typename W>
  W* AddWidget(W* widget) {
    if (widget != nullptr && widgets.add(widget) < 0) {
      delete widget;
      return nullptr;
    }
    return widget;
  }
  // A link at (0, 0) in the page text font, posting MSG_LINK with `code`.
  LinkButton* AddLink(const char* text, int code);
  // A check box at (0, 0) in the page text font, at least `minLabelWidth` wide.
  CheckBox* AddCheckBox(const char* text, int minLabelWidth, bool isChecked = true);
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
  // What content item `index` was made from, for the page check: the text of a
  // text item, link or check box and its font; null and -1 for anything else.
  const char* ItemText(int index) const;
  int ItemFont(int index) const;
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
  struct ItemNote {
    int index;
    int font;
    SetupString text;
  };
  bool NoteLastItem(const char* text, int font);
  const ItemNote* NoteOf(int index) const;

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
  template <typename P>
  P* PageOf(int id) const {
    return static_cast<P*>(FindPage(id));
  }

  static constexpr int kMaxPages = 16;

  SkinLists* skin_ = nullptr;
  SetupTexts texts_;
  DisplayScale scale_;
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
  OwningList<ItemNote> notes_{16};
  // What each page added to `content`, by its place in `pages_`, and the items
  // every page shows (the product's pictures and the title).
  ItemRange pageItems_[kMaxPages];
  ItemRange frameItems_;
  Page* current_ = nullptr;
};
