#include "common/PageCheck.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "common/Cp1252.h"
#include "widgets/SkinSlots.h"

namespace tools {
namespace {

// The ids of what is not a content item.
constexpr int kHeaderBand = -1;
constexpr int kPaintedTexts = 100000;
// Examples a warning names before it only counts the rest.
constexpr std::size_t kExamples = 4;

const char* const kFontRoles[3] = {"the title font", "the page text font", "the licence font"};

// One thing on a page, where it puts ink.
struct Item {
  int id = 0;  // its content index, or kHeaderBand, or kPaintedTexts + its number
  PageCause source = PageCause::Font;
  std::string what;
  Rect box;  // the ink of a text, the whole of anything else
  int font = -1;
  bool picture = false;
  bool title = false;
  bool frame = false;  // shown on every page
  int right = 0;       // the right edge it keeps to
  int textId = -1;     // the catalogue's id of its text, or -1
};

// The page's size and the text column's edges, in pixels at a run's scale.
struct Bounds {
  int pageWidth = 0;
  int pageHeight = 0;
  int columnLeft = 0;
  int columnRight = 0;
};

Bounds boundsOf(const PageCheckRun& run) {
  const DisplayScale& s = run.scale;
  return {s.Px(Wizard::kPageWidth), s.Px(Wizard::kPageHeight),
          s.Px(run.model->sidePicture.Width()) + s.Px(10), s.Px(Wizard::kPageWidth) - s.Px(10)};
}

// The catalogue id of the text `shown` is, in `texts`: the one it is, or the
// format it begins as (a folder text with its folder filled in); -1 for none.
int textIdOf(const SetupTexts& texts, const char* shown) {
  if (shown == nullptr) return -1;
  std::size_t count = 0;
  const texts::TextEntry* entries = texts::catalog(count);
  int best = -1;
  std::size_t bestLength = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const char* text = texts.text(entries[i].id);
    if (std::strcmp(text, shown) == 0) return entries[i].id;
    const char* percent = std::strchr(text, '%');
    const std::size_t length = percent != nullptr ? std::size_t(percent - text) : 0;
    if (length > bestLength && std::strncmp(text, shown, length) == 0) {
      best = entries[i].id;
      bestLength = length;
    }
  }
  return best;
}

enum class Kind { PastRight, PastLeft, Below, Above, ShortOfPage, Overlap };

struct Found {
  std::string key;  // the same finding in another layout of the same product
  std::string page;
  Kind kind;
  Item item;
  Item other;
  int by = 0;
};

// A text as a finding names it: its first line, cut short, in UTF-8.
std::string quote(const char* text) {
  std::string line;
  for (const char* c = text; *c != '\0' && *c != '\n'; ++c) line += *c;
  const bool more = line.size() > 32 || std::string(text).find('\n') != std::string::npos;
  if (line.size() > 32) line.resize(32);
  return "\"" + cp1252ToUtf8(line) + (more ? "...\"" : "\"");
}

Rect offset(const Rect& r, int x, int y) {
  return Rect{r.left + x, r.top + y, r.right + x, r.bottom + y};
}

// Where a text sprite (its shape and shadow masks) puts ink when placed at (x, y).
Rect inkOf(const Sprite* sprite, int x, int y) {
  Rect ink;
  for (const Image* mask : {sprite->first, sprite->second}) {
    if (mask != nullptr && mask->HasPixels()) ink = Union(ink, mask->NonZeroBounds());
  }
  return ink.IsEmpty() ? Rect{} : offset(ink, x + sprite->offsetX, y + sprite->offsetY);
}

// What a finding calls an item of `role` showing `name`, and what the vendor
// changes to change it.
std::string nameOf(const ItemDescription& d) {
  const char* text = d.name.text();
  switch (d.role) {
    case ItemRole::Title:
      return "the title " + quote(text);
    case ItemRole::Picture:
      return d.source == ItemSource::SidePicture ? "the side picture" : "the logo";
    case ItemRole::Text:
      if (d.source == ItemSource::ProductName) return "the product's name " + quote(text);
      return "the text " + quote(text);
    case ItemRole::Link:
      return "the link " + quote(text);
    case ItemRole::CheckBox:
      return "the check box " + quote(text);
    case ItemRole::Document:
      return "the licence";
    case ItemRole::ProgressBar:
      return "the progress bar";
    case ItemRole::Button:
      break;
  }
  return "a widget";
}

PageCause causeOf(ItemSource source) {
  switch (source) {
    case ItemSource::SidePicture:
      return PageCause::SidePicture;
    case ItemSource::Logo:
      return PageCause::Logo;
    case ItemSource::ProductName:
      return PageCause::ProductName;
    case ItemSource::OfferedExtension:
      return PageCause::FileTypeLabels;
    case ItemSource::Setup:
      break;
  }
  return PageCause::Font;
}

class Layout {
 public:
  explicit Layout(const PageCheckRun& run) : run_(run), bounds_(boundsOf(run)) {}

  // The pages whose navigation captions do not fit the bar side by side.
  const std::vector<std::string>& CrowdedBars() const { return crowdedBars_; }

  // Lays every page out and collects what does not fit; false with `error`
  // filled when the pages cannot be laid out at all.
  bool Run(std::vector<Found>& found, PageWarning& error) {
    InstallOptions options;
    options.ParentFolder = kSampleParentFolder;
    if (Wizard::TextWidthBeside(run_.model->sidePicture.Width()) <= 0) {
      const Image& side = run_.model->sidePicture;
      error = {PageCause::SidePicture, -1,
               "the side picture is " + std::to_string(side.Width()) +
                   " pixels wide and leaves the pages no room for their text (the page is " +
                   std::to_string(Wizard::kPageWidth) + " wide): make it " +
                   std::to_string(kLayoutSidePicture.cx) + " x " +
                   std::to_string(kLayoutSidePicture.cy) + ", the size the layout expects"};
      return false;
    }
    Wizard wizard;
    if (!run_.addPages(wizard.Pages())) {
      error = {PageCause::Font, -1, "no memory to lay the pages out"};
      return false;
    }
    wizard.SetLayoutOnly(true);
    wizard.SetTexts(run_.texts);
    wizard.SetScale(run_.scale);
    if (!wizard.Build(*run_.skin, *run_.model, options)) {
      if (run_.model->sidePicture.Width() > kLayoutSidePicture.cx) {
        error = {PageCause::SidePicture, -1,
                 "the side picture is " + std::to_string(run_.model->sidePicture.Width()) +
                     " pixels wide and leaves the pages' widgets too narrow a column: make it " +
                     std::to_string(kLayoutSidePicture.cx) + " x " +
                     std::to_string(kLayoutSidePicture.cy) + ", the size the layout expects"};
      } else {
        error = {PageCause::Font, -1,
                 "the pages cannot be built over this skin and product: the skin lacks a part "
                 "the pages need, or memory is short"};
      }
      return false;
    }
    std::int64_t required = 0;
    for (int i = 0; i < run_.model->itemCount(); ++i) {
      required += run_.model->itemAt(i)->unpackedSize;
    }
    // The folder page says the most on a roomy disk where the folder exists, and
    // its longest line on a full one.
    FolderFacts roomy;
    roomy.local = roomy.enough = roomy.exists = true;
    roomy.available = std::int64_t(80) << 30;
    roomy.required = required;
    FolderFacts full = roomy;
    full.enough = full.exists = false;
    full.available = 0;

    const std::string prefix = run_.name.empty() ? std::string() : run_.name + ": ";
    const std::string everyPage = prefix + "every page";
    for (int at = 0; at < wizard.PageCount(); ++at) {
      const Page* page = wizard.PageAt(at);
      if (!page->Offered(wizard)) continue;
      wizard.UseFolderFacts(roomy);
      wizard.ShowPage(page->Id());
      const std::vector<Item> items = Gather(wizard, *page);
      Inspect(prefix + page->Name(), everyPage, items, found);
      const Rect strip =
          wizard.navigation.Strip(kNavigationBar, wizard.WindowWidth(), wizard.WindowHeight());
      if (!wizard.navigation.Layout(strip.left, strip.top, strip.Width())) {
        crowdedBars_.push_back(page->Name());
      }
      // A page that says something of the drive is looked at on a full one too:
      // told the location changed, it says it anew.
      wizard.UseFolderFacts(full);
      wizard.LocationChanged();
      const std::vector<Item> onFull = Gather(wizard, *page);
      if (!SameItems(items, onFull)) {
        Inspect(prefix + page->Name() + " (on a full disk)", everyPage, onFull, found);
      }
    }
    return true;
  }

 private:
  std::vector<Item> Gather(const Wizard& wizard, const Page& page) {
    std::vector<Item> items;
    const Wizard::ItemRange frame = wizard.FrameItems();
    for (int i = 0; i < wizard.content.count(); ++i) {
      const ContentItem* c = wizard.content.at(i);
      if ((c->flags & kItemVisible) == 0) continue;
      const ItemDescription* d = wizard.Roles().Of(c);
      if (d == nullptr) continue;
      Item item;
      item.id = i;
      item.box = c->rect;
      item.font = d->font;
      item.textId = d->named ? textIdOf(run_.texts, d->name.text()) : -1;
      item.right = bounds_.columnRight;
      item.frame = i >= frame.first && i < frame.end;
      item.source = causeOf(d->source);
      item.what = nameOf(*d);
      if (d->role == ItemRole::Picture) {
        item.picture = true;
        if (d->source == ItemSource::Logo) {
          // The band the title sits on grows with the logo.
          Item band = item;
          band.id = kHeaderBand;
          band.what = "the header band behind the logo";
          band.box = Rect{wizard.SideWidth(), 0, bounds_.pageWidth,
                          wizard.LogoPicture().Height() + wizard.Px(12)};
          items.push_back(band);
        }
      } else if ((d->role == ItemRole::Text || d->role == ItemRole::Title) &&
                 c->widget == nullptr) {
        if (c->normal == nullptr) continue;
        item.title = d->role == ItemRole::Title;
        item.box = InkOf(c->normal, c->x, c->y);
        // A text the page puts in its corner keeps to the page's edge.
        if (c->x + c->normal->width == bounds_.pageWidth && c->x != wizard.TextLeft()) {
          item.right = bounds_.pageWidth;
        }
      }
      if (!item.box.IsEmpty()) items.push_back(item);
    }

    PaintedText painted[Page::kMaxPaintedTexts];
    const int count = page.PaintedTexts(wizard, painted);
    for (int k = 0; k < count && k < Page::kMaxPaintedTexts; ++k) {
      const PaintedText& t = painted[k];
      Rect ink;
      if (!PaintedInk(wizard, t, ink)) continue;
      Item item;
      item.id = kPaintedTexts + k;
      item.what = "the text " + quote(t.text);
      item.textId = textIdOf(run_.texts, t.text);
      item.font = t.font;
      item.box = ink.IsEmpty() ? Rect{} : offset(ink, t.x, t.y);
      item.right = t.right > 0 ? t.right : bounds_.columnRight;
      if (!item.box.IsEmpty()) items.push_back(item);
    }
    return items;
  }

  // Where `sprite` puts ink at (x, y). The items every page shows are measured
  // once, not once a page.
  Rect InkOf(const Sprite* sprite, int x, int y) {
    auto known = inks_.find(sprite);
    if (known == inks_.end()) known = inks_.emplace(sprite, inkOf(sprite, 0, 0)).first;
    return known->second.IsEmpty() ? Rect{} : offset(known->second, x, y);
  }

  // The ink of the painted text `t` at (0, 0); false when it cannot be drawn.
  // A text is measured once, however often the pages paint it.
  bool PaintedInk(const Wizard& wizard, const PaintedText& t, Rect& ink) {
    const auto key = std::make_pair(t.font, std::string(t.text));
    auto known = paintedInks_.find(key);
    if (known == paintedInks_.end()) {
      Sprite* sprite = wizard.Font(t.font)->NewCaptionSprite(t.text, false, false);
      if (sprite == nullptr) return false;
      known = paintedInks_.emplace(key, inkOf(sprite, 0, 0)).first;
      delete sprite;
    }
    ink = known->second;
    return true;
  }

  static bool SameItems(const std::vector<Item>& a, const std::vector<Item>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (a[i].what != b[i].what || !(a[i].box == b[i].box) || a[i].right != b[i].right) {
        return false;
      }
    }
    return true;
  }

  void Inspect(const std::string& page, const std::string& everyPage,
               const std::vector<Item>& items, std::vector<Found>& found) const {
    const int pageHeight = bounds_.pageHeight;
    // What the items every page shows do among themselves is said once.
    const auto add = [&](Kind kind, const Item& item, const Item& other, int by) {
      const std::string& where = item.frame && other.frame ? everyPage : page;
      const std::string key = where + "/" + std::to_string(int(kind)) + "/" +
                              std::to_string(item.id) + "/" + std::to_string(other.id);
      for (const Found& f : found) {
        if (f.key == key) return;
      }
      found.push_back(Found{key, where, kind, item, other, by});
    };
    const Item* logo = nullptr;
    for (const Item& item : items) {
      if (item.source == PageCause::Logo && item.id != kHeaderBand) logo = &item;
      if (item.picture) {
        // The side picture runs down the page: one that stops short leaves a bare
        // strip, a longer one is cut.
        if (item.id == kHeaderBand) continue;
        if (item.box.bottom > pageHeight) {
          add(Kind::Below, item, item, item.box.bottom - pageHeight);
        } else if (item.source == PageCause::SidePicture && item.box.bottom < pageHeight) {
          add(Kind::ShortOfPage, item, item, pageHeight - item.box.bottom);
        }
        continue;
      }
      if (item.box.right > item.right)
        add(Kind::PastRight, item, item, item.box.right - item.right);
      if (item.box.left < bounds_.columnLeft) {
        add(Kind::PastLeft, item, item, bounds_.columnLeft - item.box.left);
      }
      if (item.box.bottom > pageHeight) add(Kind::Below, item, item, item.box.bottom - pageHeight);
      if (item.box.top < 0) add(Kind::Above, item, item, -item.box.top);
    }
    for (std::size_t a = 0; a < items.size(); ++a) {
      for (std::size_t b = a + 1; b < items.size(); ++b) {
        const Item &first = items[a], &second = items[b];
        // What strays beside the side picture is already out of the column.
        if (first.picture && second.picture) continue;
        if (first.source == PageCause::SidePicture || second.source == PageCause::SidePicture) {
          continue;
        }
        // The title sits on the band by design, and what the logo covers needs
        // no word about the band behind it.
        const Item* band = first.id == kHeaderBand    ? &first
                           : second.id == kHeaderBand ? &second
                                                      : nullptr;
        const Item* on = band == &first ? &second : &first;
        if (band != nullptr &&
            (on->title || (logo != nullptr && !Intersect(logo->box, on->box).IsEmpty()))) {
          continue;
        }
        if (!Intersect(first.box, second.box).IsEmpty()) add(Kind::Overlap, first, second, 0);
      }
    }
  }

  std::vector<std::string> crowdedBars_;
  std::map<const Sprite*, Rect> inks_;
  std::map<std::pair<int, std::string>, Rect> paintedInks_;
  const PageCheckRun& run_;
  const Bounds bounds_;
};

// Shows a blank picture of `size` in the place of `picture` while it lives.
class StandIn {
 public:
  StandIn(Image& picture, const Size& size) : picture_(picture) {
    kept_.TakeFrom(&picture);
    if (picture.Create(size.cx, size.cy, 24)) picture.Fill(0xFFFFFF);
  }
  ~StandIn() { picture_.TakeFrom(&kept_); }
  StandIn(const StandIn&) = delete;
  StandIn& operator=(const StandIn&) = delete;

 private:
  Image& picture_;
  Image kept_;
};

// The findings' keys once `picture` has the size the layout expects; all of
// `found` when it has that size already.
std::set<std::string> keysWith(const PageCheckRun& run, Image& picture, const Size& size,
                               const std::vector<Found>& found) {
  std::set<std::string> keys;
  if (picture.Width() == size.cx && picture.Height() == size.cy) {
    for (const Found& f : found) keys.insert(f.key);
    return keys;
  }
  StandIn standIn(picture, size);
  std::vector<Found> again;
  PageWarning ignored;
  if (Layout(run).Run(again, ignored)) {
    for (const Found& f : again) keys.insert(f.key);
  }
  return keys;
}

// Whether `font`'s lines are not the height the pages are laid out for at the
// run's scale.
bool offMetric(const PageCheckRun& run, int font) {
  if (font < 0 || font >= 3) return false;
  const int off =
      run.skin->fonts.at(font)->metrics.tmHeight - run.scale.Px(kLayoutFontHeights[font]);
  return std::abs(off) > (run.scale.IsOne() ? 0 : 1);
}

// What a finding is to be fixed by: a font whose lines are not the ones the
// pages are laid out for, else the product's text, else the font it is in.
void blameText(const PageCheckRun& run, const Found& f, PageWarning& w) {
  for (const Item* item : {&f.item, &f.other}) {
    if (offMetric(run, item->font)) {
      w.cause = PageCause::Font;
      w.font = item->font;
      return;
    }
  }
  // A text in other words than ours that does not fit is those words' doing.
  for (const Item* item : {&f.item, &f.other}) {
    if (item->textId < 0 ||
        std::strcmp(run.texts.text(item->textId), texts::englishText(item->textId)) == 0) {
      continue;
    }
    w.cause = PageCause::Text;
    w.font = item->font;
    w.key = texts::findText(item->textId)->key;
    return;
  }
  for (const Item* item : {&f.item, &f.other}) {
    if (run.sampleProduct) break;
    if (item->source == PageCause::ProductName || item->source == PageCause::FileTypeLabels) {
      w.cause = item->source;
      w.font = item->font;
      return;
    }
  }
  w.cause = PageCause::Font;
  w.font = f.item.font >= 0 ? f.item.font : f.other.font;
}

std::string describe(const Found& f, const Bounds& bounds) {
  const std::string column = " the text column (x " + std::to_string(bounds.columnLeft) + " to " +
                             std::to_string(bounds.columnRight) + ")";
  const std::string by = std::to_string(f.by) + " pixels";
  switch (f.kind) {
    case Kind::PastRight:
      return f.page + ": " + f.item.what + " runs " + by + " past the right edge of" +
             (f.item.right == bounds.columnRight ? column : " the page");
    case Kind::PastLeft:
      return f.page + ": " + f.item.what + " starts " + by + " left of" + column;
    case Kind::Below:
      return f.page + ": " + f.item.what + " runs " + by + " below the page";
    case Kind::Above:
      return f.page + ": " + f.item.what + " starts " + by + " above the page";
    case Kind::ShortOfPage:
      return f.page + ": " + f.item.what + " ends " + by +
             " above the bottom of the page, leaving a bare strip below it";
    case Kind::Overlap:
      if (f.item.picture) return f.page + ": " + f.item.what + " covers " + f.other.what;
      if (f.other.picture) return f.page + ": " + f.other.what + " covers " + f.item.what;
      return f.page + ": " + f.item.what + " and " + f.other.what + " overlap";
  }
  return f.page;
}

std::string size(const Image& picture) {
  return std::to_string(picture.Width()) + " x " + std::to_string(picture.Height()) + " pixels";
}

std::string size(const Size& s) {
  return std::to_string(s.cx) + " x " + std::to_string(s.cy);
}

// "the side picture is 200 x 300 pixels" ... "make it 164 x 314, ...".
void sayCause(const PageCheckRun& run, PageWarning& w, std::string& subject, std::string& fix) {
  const InstallModel& model = *run.model;
  switch (w.cause) {
    case PageCause::SidePicture:
      subject = "the side picture is " + size(model.sidePicture);
      fix = "make it " + size(kLayoutSidePicture) + ", the size the layout expects";
      return;
    case PageCause::Logo:
      subject = "the logo is " + size(model.logoPicture);
      fix = "make it " + size(kLayoutLogo) + ", the size the layout expects";
      return;
    case PageCause::ProductName:
      subject = "the product's name is too wide for the Welcome page";
      fix = "shorten it, or put a \"-\" where it may break onto a second line";
      return;
    case PageCause::FileTypeLabels:
      subject = "the optional extensions' check boxes do not fit their page";
      fix = "offer fewer or shorter extensions";
      return;
    case PageCause::Text:
      subject = "the text \"" + w.key + "\" does not fit its place";
      fix = "word it shorter, or break its lines earlier with \\n";
      return;
    case PageCause::Font:
      break;
  }
  if (w.font < 0 || w.font >= 3) {
    subject = "the skin's pages do not fit";
    fix = "keep the sizes of the skin's pictures and fonts";
    return;
  }
  const TextMetric& m = run.skin->fonts.at(w.font)->metrics;
  const int expected = run.scale.Px(kLayoutFontHeights[w.font]);
  subject = "font " + std::to_string(w.font) + " (" + kFontRoles[w.font] + ") has lines " +
            std::to_string(m.tmHeight) + " pixels high and characters " +
            std::to_string(m.tmAveCharWidth) + " wide on average";
  fix = offMetric(run, w.font)
            ? "the pages are laid out for lines of " + std::to_string(expected) +
                  " pixels: give it height = " + std::to_string(kLayoutFontHeights[w.font]) +
                  ", or a face that is no taller"
            : "take a narrower face or a smaller height";
}

}  // namespace

namespace {

// Width in font 0 of a navigation caption.
int captionWidth(const SkinLists& skin, const char* text) {
  Sprite* sprite = skin.fonts.at(0)->NewCaptionSprite(text, true, false);
  const int width = sprite != nullptr ? sprite->width : 0;
  delete sprite;
  return width;
}

// The navigation captions, on pages whose bar cannot hold them side by side:
// one warning, said at the widest caption in other words than ours.
void checkCaptions(const PageCheckRun& run, const std::vector<std::string>& pages,
                   PageCheckResult& result) {
  if (pages.empty()) return;
  int widest = -1, widestWidth = 0;
  for (int id = texts::Back; id <= texts::Finish; ++id) {
    if (std::strcmp(run.texts.text(id), texts::englishText(id)) == 0) continue;
    const int width = captionWidth(*run.skin, run.texts.text(id));
    if (width > widestWidth) widest = id, widestWidth = width;
  }
  std::string on;
  for (const std::string& page : pages) on += (on.empty() ? "" : ", ") + page;
  std::string message = (run.name.empty() ? std::string() : run.name + ": ") +
                        "the navigation bar cannot hold its captions side by side on " + on;
  std::string key;
  if (widest >= 0) {
    key = texts::findText(widest)->key;
    message += "; the widest, \"" + key + "\" (" + quote(run.texts.text(widest)) + "), is " +
               std::to_string(widestWidth) + " pixels wide in font 0";
  }
  result.warnings.push_back({PageCause::Text, 0, message + ". Fix: word it shorter", key});
}

}  // namespace

std::string RunName(const std::string& language, int percent) {
  const std::string scale = percent == 100 ? "" : std::to_string(percent) + " %";
  if (language.empty() || scale.empty()) return language + scale;
  return language + ", " + scale;
}

PageCheckResult CheckPages(const PageCheckRun& run) {
  PageCheckResult result;
  std::vector<Found> found;
  PageWarning error;
  Layout layout(run);
  if (!layout.Run(found, error)) {
    result.error = error.message;
    result.errorCause = error.cause;
    return result;
  }
  if (found.empty()) {
    checkCaptions(run, layout.CrowdedBars(), result);
    return result;
  }
  const std::set<std::string> sideKeys =
      keysWith(run, run.model->sidePicture, kLayoutSidePicture, found);
  const std::set<std::string> logoKeys = keysWith(run, run.model->logoPicture, kLayoutLogo, found);

  // One warning for each cause, in the order the pages show them.
  const Bounds bounds = boundsOf(run);
  std::vector<std::vector<std::string>> said;
  for (const Found& f : found) {
    PageWarning w{PageCause::Font, -1, "", ""};
    if (sideKeys.count(f.key) == 0) {
      w.cause = PageCause::SidePicture;
    } else if (logoKeys.count(f.key) == 0) {
      w.cause = PageCause::Logo;
    } else {
      blameText(run, f, w);
    }
    std::size_t at = 0;
    while (at < result.warnings.size() &&
           (result.warnings[at].cause != w.cause || result.warnings[at].font != w.font ||
            result.warnings[at].key != w.key)) {
      ++at;
    }
    if (at == result.warnings.size()) {
      result.warnings.push_back(w);
      said.emplace_back();
    }
    const std::string line = describe(f, bounds);
    if (std::find(said[at].begin(), said[at].end(), line) == said[at].end()) {
      said[at].push_back(line);
    }
  }
  for (std::size_t i = 0; i < result.warnings.size(); ++i) {
    PageWarning& w = result.warnings[i];
    std::string subject, fix;
    sayCause(run, w, subject, fix);
    w.message = subject + ": ";
    for (std::size_t k = 0; k < said[i].size() && k < kExamples; ++k) {
      w.message += (k > 0 ? "; " : "") + said[i][k];
    }
    if (said[i].size() > kExamples) {
      w.message += "; and " + std::to_string(said[i].size() - kExamples) + " more";
    }
    w.message += ". Fix: " + fix;
  }
  checkCaptions(run, layout.CrowdedBars(), result);
  return result;
}

}  // namespace tools
