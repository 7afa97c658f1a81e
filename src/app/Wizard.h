// Wizard: the six pages, the two bars and the frame, built once over a skin and a
// package, and composed into one picture of the whole window.
//
// It holds no window: SetupApp tells it which page to show and what the user
// did, and paints it into the window's back buffer; kskin draws the same pages
// into a preview without any window at all.
//
// The page area is 500 x 314 pixels; every position below is in page
// coordinates, with (0, 0) at the page area's top-left (Scene::ContentOrigin in
// the window).
#pragma once

#include <cstdint>

#include "app/FolderStatus.h"
#include "base/SetupString.h"
#include "package/InstallModel.h"
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

enum WizardPage {
  Welcome = 0,
  License = 1,
  InstallFolder = 2,
  FileTypes = 3,
  Installing = 4,
  Finished = 5,
};

// What the navigation buttons and the caption's close button post with
// MSG_NAVIGATE, and the links with MSG_LINK.
constexpr int kNavigateBack = 1;
constexpr int kNavigateNext = 2;
constexpr int kNavigateAgree = 3;
constexpr int kNavigateCancel = 4;
constexpr int kNavigateFinish = 5;
constexpr int kLinkBrowse = 9;
constexpr int kLinkRestoreDefaults = 10;
constexpr int kLinkCheckAll = 12;
constexpr int kLinkUncheckAll = 13;

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

  Wizard() = default;
  Wizard(const Wizard&) = delete;
  Wizard& operator=(const Wizard&) = delete;

  // Builds the bars, the frame, the background, the header band and all six
  // pages over the skin and the model; `options` is where the install location
  // lives (ParentFolder). The model's pictures are shown, not copied, so the
  // model must outlive the wizard. False when a part could not be made (a skin
  // without the sprites or fonts the pages need, or memory short).
  bool Build(SkinLists& skin, InstallModel& model, InstallOptions& options);

  // The window's size around the page: the frame's edges and the two bars.
  int WindowWidth() const;
  int WindowHeight() const;

  // Shows `page`: its content items and navigation buttons, and the widget it
  // focuses. Entering Installing empties the progress bar first; entering
  // InstallFolder recomputes the folder status. The caller repaints.
  void ShowPage(int page);
  int CurrentPage() const { return page_; }

  // The page a step of `delta` (+1 forward, -1 back) from the current one leads
  // to: clamped to the pages, and past FileTypes when the package offers no
  // optional file types. Not meaningful on Finished, where a step forward
  // finishes instead (the caller's business).
  int StepTarget(int delta) const;

  // Recomputes the two folder texts and whether the location is acceptable, and
  // shows or hides Next to match.
  void UpdateFolderStatus();
  // From now on the folder texts describe `facts` instead of the machine's drive,
  // so that a preview of the pages comes out the same on every machine.
  void SetFolderFacts(const FolderFacts& facts) {
    fixedFacts_ = facts;
    factsFixed_ = true;
  }
  bool FolderOk() const { return folderOk_; }
  const SetupString& FolderText(int i) const { return folderText_[i]; }

  // Ticks (or clears) every file-type check box.
  void SetAllFileTypes(bool checked);
  // The check boxes' states in order into options.fileTypeChoices (as many as
  // it holds; those past it count as unchecked).
  void StoreFileTypeChoices(InstallOptions& options) const;
  int FileTypeBoxCount() const { return fileTypeCount_; }
  CheckBox* FileTypeBox(int i) const;

  // Shows `fraction` on the progress bar; false when the bar already showed it.
  bool SetProgress(double fraction);
  // What the progress bar says ("42.0%").
  const char* ProgressText() const { return progress_ != nullptr ? progress_->Text() : ""; }
  bool RunAfterSetupChecked() const;

  // The background painter: white, the background picture faintly, the header
  // band, and the texts the page draws itself (folder status, completion).
  // `surface` is the whole window.
  void PaintBackground(Image* surface) const;
  // The whole window: the background, then the scene's layers in the hover state
  // the scene holds.
  void Compose(Image* surface, int width, int height);

  Scene scene;
  ItemList content;
  FocusList widgets;
  ButtonBar caption;
  ButtonBar navigation;

 private:
  bool BuildBars();
  bool BuildPages();
  bool BuildFileTypeBoxes();
  // A text item in `font` (the page text font unless said).
  bool AddText(const char* text, int x, int y, int font = skinslot::kPageTextFont);
  bool AddSprite(Sprite* sprite, int x, int y);
  template <typename W>
  W* AddWidget(W* widget);
  void ShowNavigation(unsigned shownCodes);
  void SetNavigationVisible(int code, bool visible);
  void ShowItems(int first, int last);
  void FocusWidget(const Widget* widget);
  int SideWidth() const { return model_->sidePicture.Width(); }
  int TextLeft() const { return SideWidth() + 10; }
  int TextWidth() const { return kPageWidth - TextLeft() - 10; }
  const BitmapFont* Font(int i) const { return skin_->fonts.at(i); }

  SkinLists* skin_ = nullptr;
  InstallModel* model_ = nullptr;
  InstallOptions* options_ = nullptr;
  ThreePieceBar widgetStyle_;
  Image background_;
  Image headerBand_;
  int page_ = Welcome;

  TextView* licence_ = nullptr;
  LinkButton* browseLink_ = nullptr;
  LinkButton* uncheckAllLink_ = nullptr;
  ProgressBar* progress_ = nullptr;
  CheckBox* runAfterSetup_ = nullptr;
  int firstFileTypeWidget_ = -1;
  int fileTypeCount_ = 0;
  int firstFileTypeItem_ = -1;

  SetupString folderText_[2];
  bool folderOk_ = false;
  FolderFacts fixedFacts_;
  bool factsFixed_ = false;
};
