// The wizard's pages over the default skin that kskin draws at build time (host
// builds only): what each page shows, how steps move between pages, where the
// file-type check boxes go, and what the install-location page says about a
// drive. Positions are checked as properties of the page (inside it, no overlap,
// aligned), never as copied numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/FolderStatus.h"
#include "app/Wizard.h"
#include "app/pages/FileTypesPage.h"
#include "app/pages/WelcomePage.h"
#include "base/ByteStream.h"
#include "platform/host/Prefix.h"
#include "support/DefaultSkinFile.h"
#include "support/PageProbe.h"

namespace {

struct Fixture {
  // `added`, when given, joins the standard pages at position `at` (owned by
  // the wizard from then on).
  // With `texts` the pages say the vendor's words; with `highGlyphs` the fonts
  // carry the default skin's glyphs above 127. At a `percent` other than 100
  // the wizard is built at that scale over the default skin drawn for it, and
  // with `large` the product has its pictures drawn twice as large too.
  explicit Fixture(int optionalExtensions, const char* name = "Kestrane Test Product",
                   Page* added = nullptr, int at = 0, const SetupTexts* texts = nullptr,
                   bool highGlyphs = false, int percent = 100, bool large = false) {
    if (added != nullptr) {
      if (!AddStandardPages(wizard.Pages()) || wizard.Pages().insertAt(at, added) < 0) return;
    }
    const std::string scaled = percent == 100 ? "" : "@" + std::to_string(percent);
    ByteStream bytes;
    if (!readDefaultSkinFile(bytes, (scaled + ".skin").c_str())) return;
    std::uint32_t position = 0;
    if (!skin.pictures.LoadSkin(bytes, position, skin.sprites, skin.fonts, skin.standalone)) return;
    ByteStream glyphs;
    position = 0;
    if (highGlyphs && (!readDefaultSkinFile(glyphs, (scaled + ".glyphs").c_str()) ||
                       !LoadHighGlyphs(glyphs, position, skin.fonts))) {
      return;
    }
    if (texts != nullptr) wizard.SetTexts(*texts);
    wizard.SetScale(DisplayScale(percent * 96 / 100));

    model.displayName = name;
    model.installFolderName = "Kestrane Test Product";
    model.sidePicture.Create(164, 314, 24);
    model.logoPicture.Create(49, 49, 24);
    model.sidePicture.Fill(0x804020);
    model.logoPicture.Fill(0x2040C0);
    if (large) {
      model.largeSidePicture.Create(328, 628, 24);
      model.largeSidePicture.Fill(0x30A050);
      model.largeLogoPicture.Create(98, 98, 24);
      model.largeLogoPicture.Fill(0xC03030);
    }
    const char licence[] = "Licence text\r\nof the test product.\r\n";
    model.licenceText.appendBytes(sizeof licence, licence);
    auto* app = new InstallItem;
    app->fileName = "Viewer.exe";
    app->unpackedSize = 4096;
    app->flags = kItemApplication;
    auto* type = new FileTypeEntry;
    type->progId = "Test.Note";
    const char* extensions[] = {"txt", "log", "ini", "csv", "md", "xml", "json", "yaml"};
    for (int i = 0; i < optionalExtensions; ++i) {
      type->optionalExtensions.add(new SetupString(extensions[i % 8]));
    }
    app->addFileType(type);
    model.items.add(app);
    if (optionalExtensions > 0) {
      model.selectableItem = 0;
      model.selectableType = 0;
    }
    options.ParentFolder = "C:\\Program Files";
    built = wizard.Build(skin, model, options);
  }

  // The whole window as `page` shows it.
  void Picture(int page, Image& picture) {
    wizard.ShowPage(page);
    picture.Create(wizard.WindowWidth(), wizard.WindowHeight(), 24);
    wizard.Compose(&picture, wizard.WindowWidth(), wizard.WindowHeight());
  }

  bool ButtonShown(int code) const {
    for (int i = 0; i < wizard.navigation.items.count(); ++i) {
      const ContentItem* b = wizard.navigation.items.at(i);
      if (b->wParam == std::uintptr_t(code)) return (b->flags & kItemVisible) != 0;
    }
    return false;
  }
  std::vector<int> Shown() const {
    std::vector<int> shown;
    for (int i = 0; i < wizard.content.count(); ++i) {
      if (wizard.content.at(i)->flags & kItemVisible) shown.push_back(i);
    }
    return shown;
  }
  template <typename P>
  P* PageOf(int id) const {
    return static_cast<P*>(wizard.FindPage(id));
  }
  // The rectangle an item covers on the page: its widget's picture, or its sprite.
  Rect Covers(int i) const {
    const ContentItem* item = wizard.content.at(i);
    if (item->widget != nullptr) return item->rect;
    return Rect{item->x, item->y, item->x + item->normal->width, item->y + item->normal->height};
  }

  SkinLists skin;
  InstallModel model;
  InstallOptions options;
  Wizard wizard;
  bool built = false;
};

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// What a vendor may say instead of us, about as long as ours.
SetupTexts VendorTexts() {
  SetupTexts texts;
  texts.set(texts::WindowName, "Caf\xE9 M\xFCller Setup");
  texts.set(texts::HeaderTitle, "Soci\xE9t\xE9 G\xE9n\xE9rale");
  texts.set(texts::WelcomeText, "Merci d'avoir choisi nos logiciels.\nNous allons installer :");
  return texts;
}

// The wizard in German, its captions wider than the skin's pictures of ours.
SetupTexts GermanTexts() {
  SetupTexts texts;
  texts.language = 0x0407;
  const struct {
    int id;
    const char* text;
  } words[] = {
      {texts::WindowName, "Kestrane Einrichtung"},
      {texts::Back,
       "< Zur\xFC"
       "ck"},
      {texts::Next, "Weiter >"},
      {texts::IAgree, "Ich stimme zu"},
      {texts::Cancel, "Abbrechen"},
      {texts::Finish, "Fertig stellen"},
      {texts::ChangeLocation, "Hier klicken, um den Zielort zu \xE4ndern"},
      {texts::FolderText, "Installationsordner:\n   %s\nben\xF6tigter Speicherplatz: %s"},
      {texts::CheckAll, "Alle Dateitypen ausw\xE4hlen"},
      {texts::UncheckAll, "Alle Typen abw\xE4hlen"},
  };
  for (const auto& w : words) EXPECT_TRUE(texts.set(w.id, w.text)) << w.id;
  return texts;
}

// The navigation bar as the window draws it: every shown button inside the
// window, its caption inside its slot, no two slots overlapping.
void ExpectNavigationFits(Fixture& f, int page) {
  const int width = f.wizard.WindowWidth(), height = f.wizard.WindowHeight();
  ButtonBar& bar = f.wizard.navigation;
  const Rect strip = bar.Strip(kNavigationBar, width, height);
  bar.Layout(strip.left, strip.top, strip.Width());
  std::vector<const ContentItem*> shown;
  for (int i = 0; i < bar.items.count(); ++i) {
    if (bar.items.at(i)->flags & kItemVisible) shown.push_back(bar.items.at(i));
  }
  for (std::size_t a = 0; a < shown.size(); ++a) {
    const Rect r = shown[a]->rect;
    EXPECT_GE(r.left, 0) << "page " << page;
    EXPECT_LE(r.right, width) << "page " << page;
    EXPECT_GE(shown[a]->x, r.left) << "page " << page;
    EXPECT_LE(shown[a]->x + shown[a]->normal->width, r.right) << "page " << page;
    for (std::size_t b = a + 1; b < shown.size(); ++b) {
      EXPECT_FALSE(Overlap(r, shown[b]->rect)) << "page " << page << ": buttons overlap";
    }
  }
}

TEST(Wizard, EveryPageFitsThePageWithoutOverlaps) {
  const SetupTexts vendor = VendorTexts(), german = GermanTexts();
  for (int percent : {100, 150, 200}) {
    for (int extensions : {0, 2, 8, -1, -2}) {
      // -1: two types offered, in the vendor's words, with the glyphs above 127;
      // -2: six in German, whose links are longer.
      Fixture f(extensions == -2 ? 6
                : extensions < 0 ? 2
                                 : extensions,
                "Kestrane Test Product - a name too long for one line of the column", nullptr, 0,
                extensions == -1   ? &vendor
                : extensions == -2 ? &german
                                   : nullptr,
                extensions < 0, percent);
      ASSERT_TRUE(f.built) << "the default skin or the pages could not be made at " << percent;
      for (int page = Welcome; page <= Finished; ++page) {
        f.wizard.ShowPage(page);
        ExpectNavigationFits(f, page);
        const std::vector<int> shown = f.Shown();
        for (std::size_t a = 0; a < shown.size(); ++a) {
          const Rect r = f.Covers(shown[a]);
          EXPECT_GE(r.left, 0) << "page " << page << " item " << shown[a];
          EXPECT_GE(r.top, 0) << "page " << page << " item " << shown[a];
          EXPECT_LE(r.right, f.wizard.PageWidth()) << "page " << page << " item " << shown[a];
          EXPECT_LE(r.bottom, f.wizard.PageHeight()) << "page " << page << " item " << shown[a];
          for (std::size_t b = a + 1; b < shown.size(); ++b) {
            EXPECT_FALSE(Overlap(r, f.Covers(shown[b])))
                << percent << "% page " << page << ": items " << shown[a] << " and " << shown[b]
                << " overlap";
          }
        }
      }
    }
  }
}

// At twice the scale the window is twice the size and every item sits where
// the 96 dots an inch page has it, twice as far from the page's corner: a
// text's own width is drawn anew from a font made for the scale and may differ
// from twice the 1x width by a tenth, which moves right-aligned and centred
// items by as much. (With many check boxes the grid may then hold a column
// fewer, so two boxes here.)
TEST(Wizard, AtTwiceTheScaleEveryItemIsTwiceAsFarOut) {
  Fixture one(2), two(2, "Kestrane Test Product", nullptr, 0, nullptr, false, 200);
  ASSERT_TRUE(one.built && two.built);
  EXPECT_EQ(two.wizard.WindowWidth(), 2 * one.wizard.WindowWidth());
  EXPECT_EQ(two.wizard.WindowHeight(), 2 * one.wizard.WindowHeight());
  EXPECT_EQ(two.wizard.scene.ContentOrigin().x, 2 * one.wizard.scene.ContentOrigin().x);
  EXPECT_EQ(two.wizard.scene.ContentOrigin().y, 2 * one.wizard.scene.ContentOrigin().y);
  ASSERT_EQ(two.wizard.content.count(), one.wizard.content.count());
  for (int page = Welcome; page <= Finished; ++page) {
    one.wizard.ShowPage(page);
    two.wizard.ShowPage(page);
    ASSERT_EQ(two.Shown(), one.Shown()) << "page " << page;
    for (int i : one.Shown()) {
      const Rect a = one.Covers(i), b = two.Covers(i);
      const int slack = 2 + std::abs(b.Width() - 2 * a.Width());
      EXPECT_NEAR(b.left, 2 * a.left, slack) << "page " << page << " item " << i;
      EXPECT_NEAR(b.top, 2 * a.top, 2 + std::abs(b.Height() - 2 * a.Height()))
          << "page " << page << " item " << i;
      EXPECT_NEAR(b.Width(), 2 * a.Width(), 2 + a.Width() / 5) << "page " << page << " item " << i;
    }
  }
}

// Columns where the page's colour changes from the pixel before: a picture
// doubled from a smaller one has them on even columns alone.
void CountEdges(const Image& picture, const Rect& area, int& even, int& odd) {
  even = odd = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left + 1; x < area.right; ++x) {
      if (std::memcmp(picture.PixelAt(x - 1, y), picture.PixelAt(x, y), 3) != 0) {
        ++(x % 2 == 0 ? even : odd);
      }
    }
  }
}

// At 200 % the text is drawn anew from fonts made for it, not enlarged: its
// glyphs' edges fall on odd columns as often as on even ones.
TEST(Wizard, TheTwiceScalePageIsDrawnAnewNotEnlarged) {
  Fixture one(2), two(2, "Kestrane Test Product", nullptr, 0, nullptr, false, 200);
  ASSERT_TRUE(one.built && two.built);
  Image small, large;
  one.Picture(Welcome, small);
  two.Picture(Welcome, large);
  Image doubled;
  ASSERT_TRUE(doubled.Create(2 * small.Width(), 2 * small.Height(), 24));
  for (int y = 0; y < doubled.Height(); ++y) {
    for (int x = 0; x < doubled.Width(); ++x) {
      std::memcpy(doubled.PixelAt(x, y), small.PixelAt(x / 2, y / 2), 3);
    }
  }
  // The text column, below the header band: page text on the background.
  const Point origin = two.wizard.scene.ContentOrigin();
  const Rect column{origin.x + two.wizard.TextLeft(), origin.y + two.wizard.Px(80),
                    origin.x + two.wizard.PageWidth(), origin.y + two.wizard.Px(240)};
  int even = 0, odd = 0;
  CountEdges(doubled, column, even, odd);
  EXPECT_GT(even, 1000);
  EXPECT_EQ(odd, 0);
  CountEdges(large, column, even, odd);
  EXPECT_GT(odd, even / 3) << even << " edges on even columns";
  EXPECT_GT(even, odd / 3) << odd << " edges on odd columns";
}

// Pictures drawn twice as large are shown at 200 % as they are and resampled
// from at 150 %; at 100 % the package's own are shown.
TEST(Wizard, LargerPicturesAreTheSourceAtLargerScales) {
  for (const int percent : {100, 150, 200}) {
    Fixture f(0, "Kestrane Test Product", nullptr, 0, nullptr, false, percent, true);
    ASSERT_TRUE(f.built) << percent;
    const Image& side = f.wizard.SidePicture();
    const Image& logo = f.wizard.LogoPicture();
    EXPECT_EQ(side.Width(), f.wizard.Px(164)) << percent;
    EXPECT_EQ(logo.Height(), f.wizard.Px(49)) << percent;
    // A picture of one colour resampled keeps it, give or take rounding.
    const auto colourOf = [&](const Image& shown, const Image& source) {
      const unsigned char* a = shown.PixelAt(shown.Width() / 2, shown.Height() / 2);
      const unsigned char* b = source.PixelAt(0, 0);
      for (int k = 0; k < 3; ++k) {
        if (std::abs(a[k] - b[k]) > 2) return false;
      }
      return true;
    };
    const bool large = percent != 100;
    EXPECT_TRUE(colourOf(side, large ? f.model.largeSidePicture : f.model.sidePicture)) << percent;
    EXPECT_TRUE(colourOf(logo, large ? f.model.largeLogoPicture : f.model.logoPicture)) << percent;
  }
}

TEST(Wizard, PagesShowTheirButtons) {
  Fixture f(3);
  ASSERT_TRUE(f.built);
  const struct {
    int page;
    std::vector<int> shown;
  } pages[] = {
      {Welcome, {kNavigateNext, kNavigateCancel}},
      {License, {kNavigateAgree, kNavigateBack, kNavigateCancel}},
      {FileTypes, {kNavigateNext, kNavigateBack, kNavigateCancel}},
      {Installing, {}},
      {Finished, {kNavigateFinish}},
  };
  for (const auto& p : pages) {
    f.wizard.ShowPage(p.page);
    for (int code = kNavigateBack; code <= kNavigateFinish; ++code) {
      const bool expected = std::find(p.shown.begin(), p.shown.end(), code) != p.shown.end();
      EXPECT_EQ(f.ButtonShown(code), expected) << "page " << p.page << " button " << code;
    }
  }
}

TEST(Wizard, AnAddedPageIsSteppedThroughLikeTheStandardOnes) {
  auto* page = new CountingPage;
  Fixture f(0, "Kestrane Test Product", page, InstallFolder);
  ASSERT_TRUE(f.built);
  ASSERT_EQ(f.wizard.PageCount(), 7);
  f.wizard.ShowPage(License);
  ASSERT_EQ(f.wizard.StepTarget(+1), CountingPage::kId);
  f.wizard.ShowPage(CountingPage::kId);
  EXPECT_EQ(f.wizard.CurrentPage(), CountingPage::kId);
  EXPECT_EQ(page->entered, 1);
  EXPECT_EQ(page->left, 0);
  EXPECT_TRUE(f.ButtonShown(kNavigateBack));
  EXPECT_TRUE(f.ButtonShown(kNavigateNext));
  EXPECT_FALSE(f.ButtonShown(kNavigateCancel));
  EXPECT_FALSE(f.ButtonShown(kNavigateAgree));
  // Its one item and the frame's, nothing of the pages beside it.
  const Wizard::ItemRange own = f.wizard.PageItems(CountingPage::kId);
  EXPECT_EQ(own.end - own.first, 1);
  const int frameEnd = f.wizard.PageItems(Welcome).first;
  for (int i : f.Shown()) EXPECT_TRUE(i < frameEnd || (i >= own.first && i < own.end)) << i;
  EXPECT_EQ(f.wizard.StepTarget(-1), License);
  EXPECT_EQ(f.wizard.StepTarget(+1), InstallFolder);
  f.wizard.ShowPage(InstallFolder);
  EXPECT_EQ(page->left, 1);
  EXPECT_EQ(f.wizard.StepTarget(-1), CountingPage::kId);
  // The standard pages keep their own items and steps around it.
  f.wizard.ShowPage(Installing);
  EXPECT_EQ(f.wizard.StepTarget(-1), InstallFolder) << "FileTypes offers nothing here";
  for (int i : f.Shown()) EXPECT_FALSE(i >= own.first && i < own.end) << i;
}

TEST(Wizard, StepsSkipTheFileTypesPageWhenNothingIsOffered) {
  Fixture offered(3), plain(0);
  ASSERT_TRUE(offered.built && plain.built);
  offered.wizard.ShowPage(InstallFolder);
  plain.wizard.ShowPage(InstallFolder);
  EXPECT_EQ(offered.wizard.StepTarget(+1), FileTypes);
  EXPECT_EQ(plain.wizard.StepTarget(+1), Installing);
  plain.wizard.ShowPage(Installing);
  EXPECT_EQ(plain.wizard.StepTarget(-1), InstallFolder);
  plain.wizard.ShowPage(Welcome);
  EXPECT_EQ(plain.wizard.StepTarget(-1), Welcome);
}

TEST(Wizard, FileTypeBoxesFillRowsLeftToRight) {
  Fixture f(8);
  ASSERT_TRUE(f.built);
  const std::vector<CheckBox*> boxes = offeredBoxes(f.wizard);
  ASSERT_EQ(boxes.size(), 8u);
  const CheckBox* first = boxes[0];
  for (int i = 1; i < 8; ++i) {
    const CheckBox* prev = boxes[i - 1];
    const CheckBox* box = boxes[i];
    // Same size cells: the labels are padded to the widest.
    EXPECT_EQ(box->picture.Width(), first->picture.Width());
    const bool sameRow = box->item->y == prev->item->y;
    if (sameRow) {
      EXPECT_GT(box->item->x, prev->item->x);
    } else {
      EXPECT_GT(box->item->y, prev->item->y);
      EXPECT_EQ(box->item->x, first->item->x) << "a new row starts at the left";
    }
  }
  // The third box gives "Uncheck All Types" its column.
  f.wizard.ShowPage(FileTypes);
  const ContentItem* uncheckAll = f.PageOf<FileTypesPage>(FileTypes)->UncheckAllLink()->item;
  EXPECT_EQ(uncheckAll->x, offeredBoxes(f.wizard)[2]->item->x);
  EXPECT_EQ(uncheckAll->rect.Width(),
            uncheckAll->widget != nullptr
                ? static_cast<PictureWidget*>(uncheckAll->widget)->picture.Width()
                : -1)
      << "a moved link keeps its picture's hit rectangle";
}

TEST(Wizard, WithoutAThirdBoxUncheckAllStaysRightAligned) {
  Fixture f(2);
  ASSERT_TRUE(f.built);
  const ContentItem* uncheckAll = f.PageOf<FileTypesPage>(FileTypes)->UncheckAllLink()->item;
  EXPECT_EQ(uncheckAll->rect.right, Wizard::kPageWidth - 10);
}

TEST(Wizard, CheckAllAndChoicesFollowTheBoxes) {
  Fixture f(4), plain(0);
  ASSERT_TRUE(f.built && plain.built);
  // The links are the page's: another page leaves them unanswered.
  f.wizard.ShowPage(Welcome);
  EXPECT_FALSE(f.wizard.OnLink(kLinkUncheckAll));
  f.wizard.ShowPage(FileTypes);
  EXPECT_TRUE(f.wizard.OnLink(kLinkUncheckAll));
  EXPECT_FALSE(f.wizard.OnLink(kLinkBrowse));
  offeredBoxes(f.wizard)[1]->SetChecked(1);
  f.wizard.StoreChoices(f.options);
  EXPECT_FALSE(f.options.fileTypeChoices[0]);
  EXPECT_TRUE(f.options.fileTypeChoices[1]);
  EXPECT_FALSE(f.options.fileTypeChoices[3]);
  EXPECT_TRUE(f.wizard.OnLink(kLinkCheckAll));
  f.wizard.StoreChoices(f.options);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(f.options.fileTypeChoices[i]);
  plain.wizard.ShowPage(FileTypes);
  plain.wizard.OnLink(kLinkCheckAll);  // nothing to check, nothing to break
  EXPECT_EQ(offeredBoxes(plain.wizard).size(), 0u);
}

TEST(Wizard, ProductNameBreaksBeforeItsDashOnlyWhenTooWide) {
  Fixture longDash(0, "Kestrane Test Product - a name too long for one line of the column");
  Fixture longPlain(0, "Kestrane Test Product with a name too long for one line of the column");
  Fixture shortName(0, "Short - Name");
  ASSERT_TRUE(longDash.built && longPlain.built && shortName.built);
  const int line = longDash.skin.fonts.at(1)->metrics.tmHeight;
  EXPECT_GE(longDash.PageOf<WelcomePage>(Welcome)->ProductName()->normal->height, 2 * line);
  EXPECT_LT(longPlain.PageOf<WelcomePage>(Welcome)->ProductName()->normal->height, 2 * line);
  EXPECT_LT(shortName.PageOf<WelcomePage>(Welcome)->ProductName()->normal->height, 2 * line);
}

bool SamePage(Fixture& one, Fixture& other, int page) {
  Image a, b;
  one.Picture(page, a);
  other.Picture(page, b);
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y) {
    if (std::memcmp(a.PixelAt(0, y), b.PixelAt(0, y), std::size_t(3 * a.Width())) != 0) {
      return false;
    }
  }
  return true;
}

TEST(Wizard, AccentedNamesDrawTheHighGlyphsAndWithoutThemTodaysPage) {
  const char kName[] = "Caf\xE9 M\xFCller";
  Fixture accented(0, kName, nullptr, 0, nullptr, true);
  ASSERT_TRUE(accented.built);
  // The name line holds the glyphs of é and ü from the glyph resource, where the
  // pen puts them.
  const BitmapFont* body = accented.skin.fonts.at(1);
  const Sprite* line = accented.PageOf<WelcomePage>(Welcome)->ProductName()->normal;
  const int frame = std::abs(body->shadowOffsetX) + 2 * body->margin;
  for (const char* before : {"Caf", "Caf\xE9 M"}) {
    const unsigned char accent = (unsigned char)kName[std::strlen(before)];
    const Glyph* glyph = body->GlyphFor(accent);
    ASSERT_TRUE(glyph != nullptr && glyph->Exists()) << int(accent);
    const int x = body->Measure(before, false).cx - frame + glyph->offsetX;
    const Image& mask = *glyph->GlyphMask();
    int ink = 0;
    for (int y = 0; y < mask.Height(); ++y) {
      for (int gx = 0; gx < mask.Width(); ++gx) {
        const int v = mask.PixelAt(gx, y)[0];
        ink += v > 128;
        ASSERT_GE(line->first->PixelAt(x + gx, glyph->offsetY + y)[0], v) << int(accent);
      }
    }
    EXPECT_GT(ink, 3) << int(accent);
  }
  EXPECT_GT(line->width, body->Measure("Caf Mller", false).cx);

  // Without the resource the bytes draw nothing, as they always did: the page
  // is the one of the name without them, pixel for pixel.
  Fixture bare(0, kName), dropped(0, "Caf Mller");
  ASSERT_TRUE(bare.built && dropped.built);
  EXPECT_TRUE(SamePage(bare, dropped, Welcome));
  // And a name without accents is drawn alike with and without it.
  Fixture plain(2), plainAccented(2, "Kestrane Test Product", nullptr, 0, nullptr, true);
  ASSERT_TRUE(plainAccented.built);
  for (int page = Welcome; page <= Finished; ++page) {
    EXPECT_TRUE(SamePage(plain, plainAccented, page)) << page;
  }
}

TEST(Wizard, VendorTextsReplaceOursAndPaintTheTitle) {
  const SetupTexts vendor = VendorTexts();
  Fixture ours(0), theirs(0, "Kestrane Test Product", nullptr, 0, &vendor, true);
  ASSERT_TRUE(ours.built && theirs.built);
  // Item 2 is the header title on every page, item 3 the Welcome text.
  const SetupTexts standard;
  const struct {
    const Fixture& f;
    const SetupTexts& texts;
  } cases[] = {{ours, standard}, {theirs, vendor}};
  for (const auto& c : cases) {
    const BitmapFont* title = c.f.skin.fonts.at(0);
    const BitmapFont* body = c.f.skin.fonts.at(1);
    const Sprite* header = c.f.wizard.content.at(2)->normal;
    const Sprite* welcome = c.f.wizard.content.at(3)->normal;
    EXPECT_EQ(header->width, title->Measure(c.texts.text(texts::HeaderTitle), false).cx);
    EXPECT_EQ(welcome->width, body->Measure(c.texts.text(texts::WelcomeText), false).cx);
    EXPECT_EQ(welcome->height, body->Measure(c.texts.text(texts::WelcomeText), false).cy);
  }
  // Our name is the skin's picture of it; a vendor's is drawn in font 0 as the
  // skin's captions are.
  const ContentItem* ourTitle = ours.wizard.caption.items.at(1);
  const ContentItem* theirTitle = theirs.wizard.caption.items.at(1);
  EXPECT_EQ(ourTitle->normal, ours.skin.standalone.at(skinslot::kTitle));
  EXPECT_NE(theirTitle->normal, theirs.skin.standalone.at(skinslot::kTitle));
  std::unique_ptr<Sprite> drawn(
      theirs.skin.fonts.at(0)->NewCaptionSprite(vendor.text(texts::WindowName), true, false));
  ASSERT_NE(drawn, nullptr);
  EXPECT_EQ(theirTitle->normal->width, drawn->width);
  EXPECT_EQ(theirTitle->normal->height, ours.skin.standalone.at(skinslot::kTitle)->height);
  EXPECT_EQ(std::memcmp(theirTitle->normal->first->Bits(), drawn->first->Bits(),
                        drawn->first->PixelBytes()),
            0);
  EXPECT_FALSE(SamePage(ours, theirs, Welcome));
}

// Our English captions are the skin's pictures, so an English setup looks as the
// skin was drawn; translated ones are drawn in font 0 as those pictures were.
TEST(Wizard, TranslatedCaptionsAreDrawnInTheCaptionFont) {
  const SetupTexts german = GermanTexts();
  Fixture ours(2), theirs(2, "Kestrane Test Product", nullptr, 0, &german, true);
  ASSERT_TRUE(ours.built && theirs.built);
  // The bar's list order: I Agree, Next, Back, Cancel, Finish.
  const int texts[] = {texts::IAgree, texts::Next, texts::Back, texts::Cancel, texts::Finish};
  const int faces[] = {skinslot::kAgreeFace, skinslot::kNextFace, skinslot::kBackFace,
                       skinslot::kCancelFace, skinslot::kFinishFace};
  for (int i = 0; i < 5; ++i) {
    const Sprite* face = ours.skin.standalone.at(faces[i]);
    EXPECT_EQ(ours.wizard.navigation.items.at(i)->normal, face) << i;
    const Sprite* drawn = theirs.wizard.navigation.items.at(i)->normal;
    const Size size = theirs.skin.fonts.at(0)->Measure(german.text(texts[i]), true);
    EXPECT_EQ(drawn->width, size.cx) << i;
    EXPECT_GT(drawn->width, face->width) << i;
    EXPECT_EQ(drawn->height, face->height) << i;
  }
  // The wider buttons push the others left; the forward one stays rightmost.
  theirs.wizard.ShowPage(License);
  ExpectNavigationFits(theirs, License);
  EXPECT_EQ(theirs.wizard.navigation.items.at(0)->rect.right, theirs.wizard.WindowWidth());
  // The percentage takes the language's decimal mark.
  theirs.wizard.ShowProgress(0.425);
  EXPECT_STREQ(progressText(theirs.wizard), "42,5%");
}

// A drive of the emulated machine, made for one test and removed after it.
class TestDrive {
 public:
  explicit TestDrive(char letter) : root_(platform::host::prefixRoot() + "/drive_" + letter) {
    std::string command = "mkdir -p '" + root_ + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
  }
  ~TestDrive() {
    std::string command = "rm -rf '" + root_ + "' '" + root_ + ".remote' '" + root_ + ".free'";
    EXPECT_EQ(std::system(command.c_str()), 0);
  }
  void Mark(const char* suffix, const std::string& content) {
    std::ofstream(root_ + suffix) << content;
  }

 private:
  std::string root_;
};

TEST(Wizard, FolderStatusNamesWhatIsWrongWithTheLocation) {
  Fixture f(0);
  ASSERT_TRUE(f.built);
  const BitmapFont& font = *f.skin.fonts.at(1);
  TestDrive remote('r'), small('s'), roomy('t');
  remote.Mark(".remote", "");
  small.Mark(".free", "100");
  roomy.Mark(".free", "1000000000");

  const struct {
    const char* parent;
    bool ok;
    const char* ends;
  } cases[] = {
      {"R:\\Apps", false, "\nNot a local folder"},
      {"S:\\Apps", false, "\nNot enough space available on disk"},
      {"T:\\Apps", true, "\nDisk has enough space available"},
      {"Q:\\Apps", false, "\nNot a local folder"},  // no such drive
      // A folder the browser could not name in the code page, on a good drive.
      {"T:\\????", false, "\nSetup cannot use this folder's name"},
  };
  for (const auto& c : cases) {
    const FolderStatus status = DescribeFolder(f.model, c.parent, font, 300, SetupTexts());
    EXPECT_EQ(status.ok, c.ok) << c.parent;
    const std::string location = status.locationText.text();
    EXPECT_EQ(location.substr(location.size() - std::string(c.ends).size()), c.ends) << c.parent;
    // Whether the folder exists is said only of a location that will do.
    EXPECT_EQ(std::string(status.folderText.text()).find("\nFolder") != std::string::npos, c.ok)
        << c.parent;
  }
  // Sizes are grouped as the texts' language groups digits.
  TestDrive large('g');
  large.Mark(".free", "5000000000");
  const std::pair<std::uint16_t, const char*> groupings[] = {{0x0409, "4,768 MB"},
                                                             {0x0407, "4.768 MB"},
                                                             {0x040C,
                                                              "4\xA0"
                                                              "768 MB"},
                                                             {0x0807, "4'768 MB"}};
  for (const auto& [language, size] : groupings) {
    SetupTexts texts;
    texts.language = language;
    const FolderStatus status = DescribeFolder(f.model, "G:\\Apps", font, 300, texts);
    EXPECT_NE(std::string(status.locationText.text()).find(size), std::string::npos)
        << status.locationText.text();
  }

  // The wizard hides Next for a refused location and shows it for a good one.
  f.wizard.ShowPage(InstallFolder);
  f.options.ParentFolder = "R:\\Apps";
  f.wizard.LocationChanged();
  EXPECT_FALSE(f.ButtonShown(kNavigateNext));
  f.options.ParentFolder = "T:\\Apps";
  f.wizard.LocationChanged();
  EXPECT_TRUE(f.ButtonShown(kNavigateNext));
}

TEST(Wizard, FolderStatusTellsAnExistingFolderFromANewOne) {
  Fixture f(0);
  ASSERT_TRUE(f.built);
  TestDrive drive('u');
  drive.Mark(".free", "1000000000");
  const BitmapFont& font = *f.skin.fonts.at(1);
  EXPECT_NE(std::string(DescribeFolder(f.model, "U:\\", font, 300, SetupTexts()).folderText.text())
                .find("\nFolder does not exist, install will create it"),
            std::string::npos);
  const std::string made =
      "mkdir -p '" + platform::host::prefixRoot() + "/drive_u/Kestrane Test Product'";
  ASSERT_EQ(std::system(made.c_str()), 0);
  EXPECT_NE(std::string(DescribeFolder(f.model, "U:\\", font, 300, SetupTexts()).folderText.text())
                .find("\nFolder already exists, install will overwrite it"),
            std::string::npos);
}

TEST(Wizard, LongLocationsKeepTheirEnd) {
  Fixture f(0);
  ASSERT_TRUE(f.built);
  const BitmapFont& font = *f.skin.fonts.at(1);
  SetupString parent = "C:\\A very long folder name\\that goes on and on\\and ends here";
  const FolderStatus status = DescribeFolder(f.model, parent, font, 120, SetupTexts());
  const std::string text = status.locationText.text();
  const std::size_t start = text.find("\n   ") + 4;
  const std::string shown = text.substr(start, text.find('\n', start) - start);
  ASSERT_EQ(shown.substr(0, 3), "...");
  EXPECT_EQ(std::string(parent.text()).substr(parent.length() - (shown.size() - 3)),
            shown.substr(3));
  EXPECT_LE(font.Measure(shown.c_str(), false).cx, 120);
}

}  // namespace
