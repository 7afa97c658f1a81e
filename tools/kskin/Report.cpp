#include "kskin/Report.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/JsonReport.h"
#include "render/Composite.h"
#include "render/MaskOps.h"
#include "render/Resample.h"
#include "render/Sprite.h"
#include "render/ThreePieceBar.h"

namespace kskin {

namespace {

// The window's content area and the colours the program draws with.
constexpr int kContentWidth = 500;
constexpr int kContentHeight = 314;
constexpr COLORREF kWidgetShadow = 0xC8C8C8;
constexpr COLORREF kWidgetFace = 0xA00000;
constexpr COLORREF kSheetColour = 0xF2EEEB;
constexpr COLORREF kLabelColour = 0x605040;
constexpr int kGap = 16;

tools::JsonReport spriteJson(const Sprite* s) {
  return {{"mode", s->mode}, {"width", s->width}, {"height", s->height}};
}

// One right-aligned button slot of a bar, as the bars lay them out.
struct Slot {
  int left;
  int width;
};

class Sheet {
 public:
  Sheet(const LoadedSkin& skin, Image& image) : skin_(skin), image_(image) {}

  void Render() {
    if (skin_.pictures.count() < 22 || skin_.sprites.count() < 19 || skin_.fonts.count() < 3 ||
        skin_.standalone.count() < 6) {
      throw SkinError(
          "the preview needs the standard skin: 22 pictures, 19 sprites, 3 fonts, "
          "6 captions");
    }
    if (!image_.Create(1100, 2000, 24)) throw SkinError("no memory for the preview");
    image_.Fill(kSheetColour);
    int y = kGap;
    label(kGap, y, "Window, put together from the skin (Next hot, the check box focused)");
    y += 20;
    const int windowHeight = window(kGap, y);
    y += windowHeight + 2 * kGap;
    y = pictures(y);
    y = sprites(y);
    y = fonts(y);
    image_.Crop(Rect{0, 0, image_.Width(), y});
  }

 private:
  const BitmapFont& font(int i) const { return *skin_.fonts.at(i); }
  const Sprite* sprite(int i) const { return skin_.sprites.at(i); }

  void label(int x, int y, const char* text) {
    font(2).DrawText(&image_, x, y, text, 0xFFFFFF, kLabelColour, false);
  }

  // The window as the program composes it: page, frame, bars, some content.
  int window(int x0, int y0) {
    const int barHeight = sprite(1)->height;
    const int frameLeft = sprite(13)->width, frameRight = sprite(15)->width;
    const int w = kContentWidth + frameLeft + frameRight;
    const int h = kContentHeight + 2 * barHeight;
    Image window;
    window.Create(w, h, 24);
    window.Fill(0xFFFFFF);

    // The page: white, the background faintly over it, the panel's shaded edges.
    Image background, shade;
    Rescale(background, *sprite(0)->first, kContentWidth, kContentHeight);
    BlendImage(&window, frameLeft, barHeight, &background, 64);
    SoftShadowMask(&shade, kContentWidth, kContentHeight, 20, 192, 255, 128);
    FillMask(&window, frameLeft, barHeight, &shade, 0x400000, 0, 0, 128);
    const int x = frameLeft + 40;
    font(0).DrawText(&window, x, barHeight + 40, "Welcome to Kestrane Setup", kDefaultShadowColour,
                     kDefaultFaceColour, false);
    font(1).DrawText(&window, x, barHeight + 80,
                     "This will install the product on your computer.\n"
                     "Please close all other applications before you go on.\n\n"
                     "Click Next to continue, or Cancel to leave Setup.",
                     kDefaultShadowColour, kDefaultFaceColour, false);
    font(1).DrawText(&window, x, barHeight + 170, "Not enough space on drive C:", 0, 255, false);
    checkBox(window, x, barHeight + 200, "Run software upon exiting Setup?", true);
    checkBox(window, x, barHeight + 236, ".kst files", false);
    link(window, x + 240, barHeight + 236, "Change location...");

    // The frame between the bars.
    Image side;
    Rescale(side, *sprite(13)->first, frameLeft, h);
    DrawImage(&window, 0, 0, &side);
    Rescale(side, *sprite(15)->first, frameRight, h);
    DrawImage(&window, w - frameRight, 0, &side);

    // The caption bar: title on the left, close button on the right.
    ThreePieceBar captionBar(sprite(1), sprite(2), sprite(3));
    captionBar.Draw(&window, 0, 0, w);
    const int lw = sprite(7)->width, rw = sprite(9)->width;
    const Sprite* title = skin_.standalone.at(0);
    DrawSpriteColoured(title, &window, lw, (barHeight - title->height + 2) / 2,
                       kDefaultShadowColour, kDefaultFaceColour, 255);
    const Sprite* close = sprite(16);
    DrawSpriteColoured(close, &window, w - rw - close->width, (barHeight - close->height + 2) / 2,
                       kDefaultShadowColour, kDefaultFaceColour, 255);

    // The navigation bar, hovered, with Next hot.
    ThreePieceBar hovered(sprite(4), sprite(5), sprite(6));
    const int navY = h - barHeight;
    hovered.Draw(&window, 0, navY, w);
    int right = w;
    for (int code : {2, 1, 4}) {  // Next, Back, Cancel from the right
      const Sprite* face = skin_.standalone.at(code);
      const Slot slot{right - (face->width + lw + rw), face->width + lw + rw};
      right = slot.left;
      ThreePieceBar highlight(sprite(7), sprite(8), sprite(9));
      if (code == 2) highlight.Draw(&window, slot.left, navY, slot.width);
      DrawSpriteColoured(face, &window, slot.left + slot.width - rw - face->width,
                         navY + (barHeight - face->height + 2) / 2, kDefaultShadowColour,
                         kDefaultFaceColour, 255);
    }
    DrawImage(&image_, x0, y0, &window);
    return h;
  }

  // A check box as the widget draws it, focused when `focused`.
  void checkBox(Image& target, int x, int y, const char* text, bool focused) {
    ThreePieceBar style(sprite(10), sprite(11), sprite(12));
    const int lpw = sprite(10)->width, rpw = sprite(12)->width, ph = sprite(10)->height;
    std::unique_ptr<Sprite> labelSprite(font(1).NewCaptionSprite(text, true, false));
    const Sprite* tick = sprite(17);
    const int bw = tick->width + labelSprite->width;
    Image picture;
    picture.Create(lpw + bw + rpw, ph, 24);
    style.Draw(&picture, 0, 0, picture.Width());
    Image focus;
    focus.CreateGrey(bw + 2, ph - 6);
    std::memset(focus.Bits(), focused ? 255 : 0, focus.PixelBytes());
    FillMask(&picture, lpw - 1, 3, &focus, 0xFFC4C4, 0, 0, 255);
    const int f = focused ? 1 : 0;
    DrawSpriteColoured(labelSprite.get(), &picture, lpw + tick->width - f,
                       (ph - labelSprite->height + 1) / 2, kWidgetShadow, kWidgetFace, 255);
    const Sprite* box = focused ? sprite(17) : sprite(18);
    DrawSpriteColoured(box, &picture, lpw + f, (ph - box->height + 1) / 2, kWidgetShadow,
                       kWidgetFace, 255);
    DrawImage(&target, x, y, &picture);
  }

  void link(Image& target, int x, int y, const char* text) {
    ThreePieceBar style(sprite(10), sprite(11), sprite(12));
    const int lpw = sprite(10)->width, rpw = sprite(12)->width, ph = sprite(10)->height;
    std::unique_ptr<Sprite> labelSprite(font(1).NewCaptionSprite(text, true, false));
    Image picture;
    picture.Create(lpw + labelSprite->width + rpw, ph, 24);
    style.Draw(&picture, 0, 0, picture.Width());
    DrawSpriteColoured(labelSprite.get(), &picture, lpw, (ph - labelSprite->height + 1) / 2,
                       kWidgetShadow, 0xA00000, 255);
    DrawImage(&target, x, y, &picture);
  }

  // Small pictures are shown four times enlarged as well.
  int pictures(int y) {
    label(kGap, y, "Pictures 0-21 (small ones also 4x)");
    y += 20;
    int x = kGap, rowHeight = 0;
    for (int i = 0; i < skin_.pictures.count(); ++i) {
      const Image& picture = *skin_.pictures.at(i);
      Image shown;
      const bool small = picture.Width() <= 32 && picture.Height() <= 40;
      const int scale = small ? 4 : 1;
      shown.Create(picture.Width() * scale, picture.Height() * scale, 24);
      for (int py = 0; py < shown.Height(); ++py) {
        for (int px = 0; px < shown.Width(); ++px) {
          Copy(&shown, px, py, &picture, px / scale, py / scale, 1, 1);
        }
      }
      if (x + shown.Width() > image_.Width() - kGap) {
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

  int sprites(int y) {
    label(kGap, y,
          "Mask sprites 16-18 and the six captions, in the bars' colours, on white and on "
          "the bar");
    y += 20;
    int x = kGap;
    Image strip;
    strip.Create(image_.Width() - 2 * kGap, 2 * sprite(1)->height + 8, 24);
    strip.Fill(0xFFFFFF);
    ThreePieceBar(sprite(1), sprite(2), sprite(3))
        .Draw(&strip, 0, sprite(1)->height + 8, strip.Width());
    std::vector<const Sprite*> shown = {sprite(16), sprite(17), sprite(18)};
    for (int i = 0; i < skin_.standalone.count(); ++i) shown.push_back(skin_.standalone.at(i));
    for (const Sprite* s : shown) {
      DrawSpriteColoured(s, &strip, x, 3, kDefaultShadowColour, kDefaultFaceColour, 255);
      DrawSpriteColoured(s, &strip, x,
                         sprite(1)->height + 8 + (sprite(1)->height - s->height + 2) / 2,
                         kDefaultShadowColour, kDefaultFaceColour, 255);
      x += s->width + kGap;
    }
    DrawImage(&image_, kGap, y, &strip);
    return y + strip.Height() + 2 * kGap;
  }

  int fonts(int y) {
    static const char* const kNames[] = {"Font 0", "Font 1", "Font 2"};
    std::string charset;
    for (int c = kFirstGlyph; c <= kLastGlyph; ++c) {
      charset += char(c);
      if (c == 79) charset += '\n';
    }
    charset += "\nThe quick brown fox jumps over the lazy dog. 0123456789";
    for (int i = 0; i < skin_.fonts.count() && i < 3; ++i) {
      const BitmapFont& f = font(i);
      const std::string title = std::string(kNames[i]) + ": tmHeight " +
                                std::to_string(f.metrics.tmHeight) + ", weight " +
                                std::to_string(f.metrics.tmWeight) + ", average width " +
                                std::to_string(f.metrics.tmAveCharWidth);
      label(kGap, y, title.c_str());
      y += 20;
      const Size size = f.Measure(charset.c_str(), false);
      Image panel;
      panel.Create(image_.Width() - 2 * kGap, size.cy + 12, 24);
      panel.Fill(0xFFFFFF);
      f.DrawText(&panel, 8, 6, charset.c_str(), kDefaultShadowColour, kDefaultFaceColour, false);
      DrawImage(&image_, kGap, y, &panel);
      y += panel.Height() + kGap;
    }
    return y + kGap;
  }

  const LoadedSkin& skin_;
  Image& image_;
};

}  // namespace

bool LoadSkinBytes(const Bytes& bytes, LoadedSkin& skin) {
  ByteStream stream;
  if (bytes.size() > 0xFFFFFFF0u ||
      stream.appendBytes(std::uint32_t(bytes.size()), bytes.data()) != S_OK) {
    return false;
  }
  std::uint32_t position = 0;
  skin.size = stream.size();
  if (!skin.pictures.LoadSkin(stream, position, skin.sprites, skin.fonts, skin.standalone)) {
    return false;
  }
  skin.consumed = position;
  return true;
}

void WriteSummary(const LoadedSkin& skin, std::ostream& out) {
  tools::JsonReport pictures = tools::JsonReport::array();
  for (int i = 0; i < skin.pictures.count(); ++i) {
    const Image* p = skin.pictures.at(i);
    pictures.push_back({{"width", p->Width()},
                        {"height", p->Height()},
                        {"bits", p->BitsPerPixel()},
                        {"grey", p->IsGrey()}});
  }
  tools::JsonReport sprites = tools::JsonReport::array();
  for (int i = 0; i < skin.sprites.count(); ++i) sprites.push_back(spriteJson(skin.sprites.at(i)));
  tools::JsonReport fonts = tools::JsonReport::array();
  for (int i = 0; i < skin.fonts.count(); ++i) {
    const BitmapFont* f = skin.fonts.at(i);
    const TextMetric& m = f->metrics;
    fonts.push_back({{"tmHeight", m.tmHeight},
                     {"tmAscent", m.tmAscent},
                     {"tmDescent", m.tmDescent},
                     {"tmInternalLeading", m.tmInternalLeading},
                     {"tmAveCharWidth", m.tmAveCharWidth},
                     {"tmMaxCharWidth", m.tmMaxCharWidth},
                     {"tmWeight", m.tmWeight},
                     {"shadowOffsetX", f->shadowOffsetX},
                     {"shadowOffsetY", f->shadowOffsetY},
                     {"margin", f->margin}});
  }
  tools::JsonReport standalone = tools::JsonReport::array();
  for (int i = 0; i < skin.standalone.count(); ++i) {
    standalone.push_back(spriteJson(skin.standalone.at(i)));
  }
  const tools::JsonReport report = {{"bytes", skin.size},
                                    {"consumed", skin.consumed},
                                    {"counts",
                                     {{"pictures", skin.pictures.count()},
                                      {"sprites", skin.sprites.count()},
                                      {"fonts", skin.fonts.count()},
                                      {"standalone", skin.standalone.count()}}},
                                    {"pictures", std::move(pictures)},
                                    {"sprites", std::move(sprites)},
                                    {"fonts", std::move(fonts)},
                                    {"standalone", std::move(standalone)}};
  tools::writeJsonReport(report, out);
}

void RenderPreview(const LoadedSkin& skin, Image& sheet) {
  Sheet(skin, sheet).Render();
}

}  // namespace kskin
