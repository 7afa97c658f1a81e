#include "kskin/PreviewSheet.h"

#include <algorithm>
#include <string>
#include <vector>

#include "render/Composite.h"
#include "render/Sprite.h"
#include "render/ThreePieceBar.h"
#include "widgets/SkinSlots.h"

namespace kskin {

namespace {

constexpr COLORREF kSheetColour = 0xF2EEEB;
constexpr COLORREF kLabelColour = 0x605040;
constexpr int kGap = 16;
constexpr int kLabelRoom = 20;
constexpr int kColumns = 3;
// Larger windows than this are a skin's mistake; the sheet would not be looked at.
constexpr int kLargestWindow = 4096;
// Room below the pages for the skin's parts; the sheet is cropped to what is used.
constexpr int kPartsRoom = 6000;

// A page's label on the sheet: its name as words ("InstallFolder" is "Install
// folder").
std::string pageLabel(const char* name) {
  std::string label;
  for (const char* c = name; *c != '\0'; ++c) {
    const bool upper = *c >= 'A' && *c <= 'Z';
    if (upper && c != name) {
      label += ' ';
      label += char(*c - 'A' + 'a');
    } else {
      label += *c;
    }
  }
  return label;
}

std::int64_t requiredBytes(const InstallModel& model) {
  std::int64_t total = 0;
  for (int i = 0; i < model.itemCount(); ++i) total += model.itemAt(i)->unpackedSize;
  return total;
}

class Sheet {
 public:
  Sheet(LoadedSkin& skin, PreviewSheet& sheet) : skin_(skin), sheet_(sheet), image_(sheet.image) {}

  void Render(InstallModel& model, const SetupTexts& texts, DisplayScale scale,
              PageListMaker addPages) {
    InstallOptions options;
    options.ParentFolder = "C:\\Program Files";
    Wizard wizard;
    if (!addPages(wizard.Pages())) throw SkinError("no memory for the preview");
    wizard.SetTexts(texts);
    wizard.SetScale(scale);
    if (!wizard.Build(skin_, model, options)) {
      throw SkinError(
          "the pages cannot be built over this skin and product: the skin lacks a part "
          "the pages need, or the product's pictures do not fit the page");
    }
    const int w = wizard.WindowWidth(), h = wizard.WindowHeight();
    if (w <= 0 || h <= 0 || w > kLargestWindow || h > kLargestWindow) {
      throw SkinError("the skin makes a window of " + std::to_string(w) + " x " +
                      std::to_string(h) + " pixels, too large to preview");
    }
    sheet_.window = Size{w, h};
    const int pages = wizard.PageCount();
    const int rows = (pages + kColumns - 1) / kColumns;
    const int width = kColumns * w + (kColumns + 1) * kGap;
    const int pagesBottom = kGap + rows * (kLabelRoom + h + kGap);
    if (!image_.Create(width, pagesBottom + kPartsRoom, 24)) {
      throw SkinError("no memory for the preview");
    }
    image_.Fill(kSheetColour);

    Image window;
    if (!window.Create(w, h, 24)) throw SkinError("no memory for the preview");
    sheet_.pages.clear();
    for (int at = 0; at < pages; ++at) {
      const Page* page = wizard.PageAt(at);
      const int x = kGap + at % kColumns * (w + kGap);
      const int y = kGap + at / kColumns * (kLabelRoom + h + kGap);
      label(x, y, pageLabel(page->Name()).c_str());
      StagePage(wizard, model, page->Id());
      wizard.Compose(&window, w, h);
      sheet_.pages.push_back(Point{x, y + kLabelRoom});
      DrawImage(&image_, x, y + kLabelRoom, &window);
    }

    int y = pagesBottom + kGap;
    y = pictures(y);
    y = sprites(y);
    y = fonts(y);
    image_.Crop(Rect{0, 0, image_.Width(), std::min(y, image_.Height())});
  }

 private:
  const BitmapFont& font(int i) const { return *skin_.fonts.at(i); }
  const Sprite* sprite(int i) const { return skin_.sprites.at(i); }

  void label(int x, int y, const char* text) {
    font(skinslot::kLicenceFont).DrawText(&image_, x, y, text, 0xFFFFFF, kLabelColour, false);
  }

  // Small pictures are shown four times enlarged as well.
  int pictures(int y) {
    label(
        kGap, y,
        ("Pictures 0-" + std::to_string(skin_.pictures.count() - 1) + " (small ones 4x)").c_str());
    y += kLabelRoom;
    int x = kGap, rowHeight = 0;
    for (int i = 0; i < skin_.pictures.count(); ++i) {
      const Image& picture = *skin_.pictures.at(i);
      const bool small = picture.Width() <= 32 && picture.Height() <= 40;
      const int scale = small ? 4 : 1;
      Image shown;
      if (!shown.Create(picture.Width() * scale, picture.Height() * scale, 24)) continue;
      for (int py = 0; py < shown.Height(); ++py) {
        for (int px = 0; px < shown.Width(); ++px) {
          Copy(&shown, px, py, &picture, px / scale, py / scale, 1, 1);
        }
      }
      if (x > kGap && x + shown.Width() > image_.Width() - kGap) {
        x = kGap;
        y += rowHeight + 24;
        rowHeight = 0;
      }
      label(x, y, std::to_string(i).c_str());
      DrawImage(&image_, x, y + 16, &shown);
      x += std::max(shown.Width(), 20) + kGap;
      rowHeight = std::max(rowHeight, shown.Height() + 16);
    }
    return y + rowHeight + 2 * kGap;
  }

  // The close button, the ticks and the captions, in the bars' colours, on white
  // and on the caption bar.
  int sprites(int y) {
    label(kGap, y, "Close button, ticks and the six captions, on white and on the bar");
    y += kLabelRoom;
    const Sprite* barLeft = sprite(skinslot::kBarSets);
    const int barHeight = barLeft->height;
    Image strip;
    if (!strip.Create(image_.Width() - 2 * kGap, 2 * barHeight + 8, 24)) return y;
    strip.Fill(0xFFFFFF);
    ThreePieceBar(barLeft, sprite(skinslot::kBarSets + 1), sprite(skinslot::kBarSets + 2))
        .Draw(&strip, 0, barHeight + 8, strip.Width());
    std::vector<const Sprite*> shown = {sprite(skinslot::kCloseButton),
                                        sprite(skinslot::kTickChecked),
                                        sprite(skinslot::kTickUnchecked)};
    for (int i = 0; i < skin_.standalone.count(); ++i) shown.push_back(skin_.standalone.at(i));
    int x = 0;
    for (const Sprite* s : shown) {
      DrawSpriteColoured(s, &strip, x, 3, kDefaultShadowColour, kDefaultFaceColour, 255);
      DrawSpriteColoured(s, &strip, x, barHeight + 8 + (barHeight - s->height + 2) / 2,
                         kDefaultShadowColour, kDefaultFaceColour, 255);
      x += s->width + kGap;
    }
    DrawImage(&image_, kGap, y, &strip);
    return y + strip.Height() + 2 * kGap;
  }

  int fonts(int y) {
    static const char* const kRoles[] = {"title", "page text", "licence"};
    std::string charset;
    for (int c = kFirstGlyph; c <= kLastGlyph; ++c) {
      charset += char(c);
      if (c == 79) charset += '\n';
    }
    charset += "\nThe quick brown fox jumps over the lazy dog. 0123456789";
    for (int i = 0; i < 3; ++i) {
      const BitmapFont& f = font(i);
      const std::string title = "Font " + std::to_string(i) + " (" + kRoles[i] + "): tmHeight " +
                                std::to_string(f.metrics.tmHeight) + ", weight " +
                                std::to_string(f.metrics.tmWeight) + ", average width " +
                                std::to_string(f.metrics.tmAveCharWidth);
      label(kGap, y, title.c_str());
      y += kLabelRoom;
      const Size size = f.Measure(charset.c_str(), false);
      Image panel;
      if (!panel.Create(image_.Width() - 2 * kGap, size.cy + 12, 24)) continue;
      panel.Fill(0xFFFFFF);
      f.DrawText(&panel, 8, 6, charset.c_str(), kDefaultShadowColour, kDefaultFaceColour, false);
      DrawImage(&image_, kGap, y, &panel);
      y += panel.Height() + kGap;
    }
    return y + kGap;
  }

  LoadedSkin& skin_;
  PreviewSheet& sheet_;
  Image& image_;
};

}  // namespace

void StagePage(Wizard& wizard, const InstallModel& model, int pageId) {
  FolderFacts roomyDrive;
  roomyDrive.local = true;
  roomyDrive.enough = true;
  roomyDrive.available = std::int64_t(80) << 30;
  roomyDrive.required = requiredBytes(model);
  wizard.UseFolderFacts(roomyDrive);
  wizard.ShowPage(pageId);
  const Page* page = wizard.Current();
  if (page != nullptr && page->RunsInstallation()) wizard.ShowProgress(0.4);
}

void RenderPreview(LoadedSkin& skin, InstallModel& model, PreviewSheet& sheet,
                   const SetupTexts& texts, DisplayScale scale, PageListMaker addPages) {
  Sheet(skin, sheet).Render(model, texts, scale, addPages);
}

}  // namespace kskin
