#include "render/BitmapFont.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>

#include "platform/Text.h"
#include "render/Composite.h"

namespace {

constexpr char kEllipsis[] = "...";

// No screen font comes near this many pixels in any of its measures. A skin that
// claims more is damaged, and would make every caption a huge allocation.
constexpr long long kLargestMetric = 1024;

bool plausible(long long v) {
  return v >= -kLargestMetric && v <= kLargestMetric;
}

// Pens are kept in 64 bits: a long text of wide glyphs, or metrics from a damaged
// skin, must not wrap around. Positions handed to the blits are clamped; the
// blits clip whatever lies off the surface.
int clampToInt(long long v) {
  return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : int(v);
}

struct Pen {
  long long x;
  long long y;
};

// Walks the text with the layout rules from (x, y), calling
// place(glyph, glyph x, glyph y, pen x after the glyph) for every glyph the font
// has. Returns where the pen ends.
template <class Place>
Pen walk(const BitmapFont& font, const char* text, long long x, long long y, bool skipLeading,
         Place&& place) {
  const long long blank = (2LL * font.metrics.tmAveCharWidth - 1) / 3;
  Pen pen{x, skipLeading ? y - font.metrics.tmInternalLeading : y};
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
    switch (*p) {
      case ' ':
      case '\t':
        pen.x += blank;
        break;
      case '\n':
        pen.x = x;
        pen.y += font.metrics.tmHeight;
        break;
      case kNoBreakSpace:
        // A blank only in a font that knows the high characters: without them
        // the byte draws nothing, as it always did.
        if (font.HasHighGlyphs()) pen.x += blank;
        break;
      case kSoftHyphen:
        // Marks where a word may break; the pages never break there.
        break;
      default: {
        const Glyph* glyph = font.GlyphFor(*p);
        if (glyph == nullptr || !glyph->Exists()) break;
        const long long gx = pen.x + glyph->offsetX;
        const long long gy = pen.y + glyph->offsetY;
        pen.x += glyph->advance;
        place(*glyph, clampToInt(gx), clampToInt(gy), pen.x);
      }
    }
  }
  return pen;
}

void clearMask(Image* mask) {
  std::memset(mask->Bits(), 0, mask->PixelBytes());
}

// Unites the two masks (each already holding its placement) into one of the
// larger's size and cuts both down to where either has ink. A mask pair without
// ink is left as it is.
void trimMasks(Sprite& sprite) {
  const int w = std::max(sprite.first->Width(), sprite.second->Width());
  const int h = std::max(sprite.first->Height(), sprite.second->Height());
  Image both;
  if (!both.CreateGrey(w, h)) return;
  clearMask(&both);
  UnionMask(&both, 0, 0, sprite.first);
  UnionMask(&both, 0, 0, sprite.second);
  const Rect ink = both.NonZeroBounds();
  if (ink.IsEmpty()) return;
  sprite.first->Crop(ink);
  sprite.second->Crop(ink);
}

std::unique_ptr<Image> readMask(const ByteStream& stream, std::uint32_t& position) {
  ByteStream blob;
  if (blob.readBlob(stream, position) != S_OK) return nullptr;
  std::unique_ptr<Image> mask(Image::New());
  if (!mask || !mask->LoadPackedDib(blob)) return nullptr;
  return mask;
}

HRESULT readS16(const ByteStream& stream, std::uint32_t& position, std::int16_t& value) {
  unsigned char bytes[2];
  if (stream.readAt(position, 2, bytes) != S_OK) return E_FAIL;
  value = std::int16_t(std::uint16_t(bytes[0] | bytes[1] << 8));
  return S_OK;
}

void dropGlyph(Glyph& glyph) {
  glyph.advance = glyph.offsetX = glyph.offsetY = 0;
  delete glyph.sprite.first;
  delete glyph.sprite.second;
  glyph.sprite.first = glyph.sprite.second = nullptr;
  glyph.sprite.ComputeBounds();
}

// One glyph record: s16 advance, s16 offset y, s16 offset x, the shape mask and
// the shadow mask as length-prefixed packed DIBs. False for a short or damaged
// record, the glyph then empty.
bool readGlyph(const ByteStream& stream, std::uint32_t& at, Glyph& glyph, std::int32_t shadowX,
               std::int32_t shadowY) {
  std::unique_ptr<Image> shape, shadow;
  if (readS16(stream, at, glyph.advance) != S_OK || readS16(stream, at, glyph.offsetY) != S_OK ||
      readS16(stream, at, glyph.offsetX) != S_OK || !(shape = readMask(stream, at)) ||
      !(shadow = readMask(stream, at)) || !plausible(glyph.advance) || !plausible(glyph.offsetX) ||
      !plausible(glyph.offsetY)) {
    dropGlyph(glyph);
    return false;
  }
  Sprite& sprite = glyph.sprite;
  sprite.mode = kSpriteMaskPair;
  sprite.first = shape.release();
  sprite.second = shadow.release();
  sprite.offsetX = shadowX;
  sprite.offsetY = shadowY;
  sprite.ownsPictures = true;
  sprite.ComputeBounds();
  return true;
}

}  // namespace

int HighGlyphSlot(unsigned char ch) {
  if (ch < 0x80) return -1;
  // The undefined bytes, in order: each one below ch moves ch's place down.
  static const unsigned char kUndefined[] = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
  int slot = ch - 0x80;
  for (unsigned char u : kUndefined) {
    if (ch == u) return -1;
    if (u < ch) --slot;
  }
  return slot;
}

BitmapFont::BitmapFont() {
  std::memset(&metrics, 0, sizeof metrics);
}

void BitmapFont::Clear() {
  shadowOffsetX = shadowOffsetY = margin = 0;
  std::memset(&metrics, 0, sizeof metrics);
  for (Glyph& glyph : glyphs) dropGlyph(glyph);
  DropHighGlyphs();
}

void BitmapFont::DropHighGlyphs() {
  if (high_ == nullptr) return;
  for (int i = 0; i < kHighGlyphCount; ++i) dropGlyph(high_[i]);
  high_.reset();
}

int BitmapFont::ReadHighGlyphs(const ByteStream& stream, std::uint32_t& position) {
  DropHighGlyphs();
  std::unique_ptr<Glyph[]> high(new (std::nothrow) Glyph[kHighGlyphCount]);
  if (high == nullptr) return 0;
  std::uint32_t at = position;
  for (int i = 0; i < kHighGlyphCount; ++i) {
    if (!readGlyph(stream, at, high[i], shadowOffsetX, shadowOffsetY)) {
      for (int j = 0; j < i; ++j) dropGlyph(high[j]);
      return 0;
    }
  }
  high_ = std::move(high);
  position = at;
  return 1;
}

int BitmapFont::Read(const ByteStream& stream, std::uint32_t& position) {
  Clear();
  std::uint32_t at = position;
  std::uint32_t dx = 0, dy = 0, m = 0;
  if (stream.readAt(at, sizeof metrics, &metrics) != S_OK || readU32(stream, at, dx) != S_OK ||
      readU32(stream, at, dy) != S_OK || readU32(stream, at, m) != S_OK) {
    Clear();
    return 0;
  }
  // The filler after the 53 bytes of fields is whatever the writer's compiler left.
  std::memset(reinterpret_cast<unsigned char*>(&metrics) + kTextMetricFieldBytes, 0,
              sizeof metrics - kTextMetricFieldBytes);
  shadowOffsetX = std::int32_t(dx);
  shadowOffsetY = std::int32_t(dy);
  margin = std::int32_t(m);
  if (!plausible(metrics.tmHeight) || !plausible(metrics.tmInternalLeading) ||
      !plausible(metrics.tmAveCharWidth) || !plausible(shadowOffsetX) ||
      !plausible(shadowOffsetY) || !plausible(margin)) {
    Clear();
    return 0;
  }
  for (Glyph& glyph : glyphs) {
    if (!readGlyph(stream, at, glyph, shadowOffsetX, shadowOffsetY)) {
      Clear();
      return 0;
    }
  }
  position = at;
  return 1;
}

Size BitmapFont::Measure(const char* text, bool skipLeading) const {
  if (text == nullptr) return Size{};
  long long widest = 0;
  const Pen end =
      walk(*this, text, 0, 0, skipLeading,
           [&](const Glyph&, int, int, long long after) { widest = std::max(widest, after); });
  const long long frame = 2LL * margin;
  return Size{clampToInt(std::llabs(shadowOffsetX) + frame + widest),
              clampToInt(std::llabs(shadowOffsetY) + frame + end.y + metrics.tmHeight)};
}

int BitmapFont::DrawText(Image* surface, int x, int y, const char* text, COLORREF shadowColour,
                         COLORREF faceColour, bool skipLeading) const {
  if (surface == nullptr || text == nullptr) return 0;
  walk(*this, text, (long long)x + shadowOffsetX, (long long)y + shadowOffsetY, skipLeading,
       [&](const Glyph& glyph, int gx, int gy, long long) {
         FillMask(surface, gx, gy, glyph.ShadowMask(), shadowColour, 0, 0, 255);
       });
  walk(*this, text, x, y, skipLeading, [&](const Glyph& glyph, int gx, int gy, long long) {
    FillMask(surface, gx, gy, glyph.GlyphMask(), faceColour, 0, 0, 255);
  });
  return 1;
}

int BitmapFont::DrawGlyphMasks(int which, Image* mask, int x, int y, const char* text,
                               bool skipLeading) const {
  if (mask == nullptr || text == nullptr) return 0;
  walk(*this, text, x, y, skipLeading, [&](const Glyph& glyph, int gx, int gy, long long) {
    UnionMask(mask, gx, gy, which == kShadowMasks ? glyph.ShadowMask() : glyph.GlyphMask());
  });
  return 1;
}

void BitmapFont::FitWithEllipsis(SetupString& text, int maxWidth) const {
  if (Measure(text.text(), true).cx <= maxWidth) return;
  SetupString rest = text;
  SetupString candidate;
  for (;;) {
    candidate = SetupString::concat(SetupString(kEllipsis), rest);
    if (rest.isEmpty() || Measure(candidate.text(), true).cx <= maxWidth) break;
    // A double-byte character goes as a whole.
    const int first = platform::isLeadByte((unsigned char)rest[0]) && rest.length() > 1 ? 2 : 1;
    rest.eraseRange(0, first);
  }
  text = candidate;
}

Sprite* BitmapFont::NewCaptionSprite(const char* text, bool skipLeading, bool trim) const {
  const Size size = Measure(text, skipLeading);
  if (size.cx <= 0 || size.cy <= 0) return nullptr;
  std::unique_ptr<Sprite> sprite(CreateSprite(kSpriteMaskPair, size.cx, size.cy, 0, 0));
  if (!sprite) return nullptr;
  clearMask(sprite->first);
  clearMask(sprite->second);
  DrawGlyphMasks(kShadowMasks, sprite->second, shadowOffsetX, shadowOffsetY, text, skipLeading);
  DrawGlyphMasks(kGlyphMasks, sprite->first, 0, 0, text, skipLeading);
  if (trim) trimMasks(*sprite);
  sprite->ComputeBounds();
  return sprite.release();
}

int BitmapFont::RenderCaption(Sprite* sprite, const char* text, bool skipLeading, bool trim, int x,
                              int y) const {
  if (sprite == nullptr || text == nullptr || sprite->first == nullptr ||
      sprite->second == nullptr || !sprite->first->HasPixels() || !sprite->second->HasPixels()) {
    return 0;
  }
  clearMask(sprite->first);
  clearMask(sprite->second);
  DrawGlyphMasks(kShadowMasks, sprite->second, clampToInt((long long)x + shadowOffsetX),
                 clampToInt((long long)y + shadowOffsetY), text, skipLeading);
  DrawGlyphMasks(kGlyphMasks, sprite->first, x, y, text, skipLeading);
  if (trim) trimMasks(*sprite);
  sprite->ComputeBounds();
  return 1;
}

int MakeCaptionSprite(OwningList<Sprite>& list, const BitmapFont& font, const char* text,
                      bool skipLeading, bool trim) {
  Sprite* sprite = font.NewCaptionSprite(text, skipLeading, trim);
  if (sprite == nullptr) return -1;
  const int index = list.add(sprite);
  if (index < 0) delete sprite;
  return index;
}
