// BitmapFont: text drawn from pre-rendered glyph masks, never by the system.
//
// A font carries, for each printable ASCII character 33 ('!') to 126 ('~'), a grey
// mask of the glyph's shape and a second grey mask of its shadow. Text is drawn in
// two colours: the shadow masks first, `shadowOffset` away, then the glyph masks
// over them, either straight into a 24-bit surface or into a pair of masks that
// become a caption sprite.
//
// Every text operation walks the text with the same rules, the pen starting at
// (x, y):
//   space and tab   pen x += (2 * tmAveCharWidth - 1) / 3;
//   line feed       pen x back to the start, pen y += tmHeight;
//   '!' .. '~'      the glyph's masks at pen + (offsetX, offsetY), then
//                   pen x += advance;
//   anything else   nothing (carriage returns, bytes above 126, glyphs the font
//                   lacks).
// A font may also carry glyphs for the characters Windows-1252 defines above 127
// (ReadHighGlyphs, from a resource of their own beside the skin). Those are
// drawn as the others; the no-break space (0xA0) is then a space and the soft
// hyphen (0xAD) draws nothing. A font without them draws none of those bytes, as
// the rule above says.
// With skipLeading the start y is raised by tmInternalLeading, so the first line's
// unused space above the capitals is not part of the text.
#pragma once

#include <cstdint>
#include <memory>

#include "base/ByteStream.h"
#include "base/PtrArray.h"
#include "base/SetupString.h"
#include "platform/WinDefs.h"
#include "render/Geometry.h"
#include "render/Image.h"
#include "render/Sprite.h"

constexpr int kFirstGlyph = 33;
constexpr int kLastGlyph = 126;
constexpr int kGlyphCount = kLastGlyph - kFirstGlyph + 1;

// Windows-1252 leaves five bytes above 127 undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D); the other 123 have a glyph record each in the high-glyph resource, in
// the order of their codes.
constexpr int kHighGlyphCount = 123;
constexpr unsigned char kNoBreakSpace = 0xA0;
constexpr unsigned char kSoftHyphen = 0xAD;
// The place of `ch` among the 123 high glyphs, or -1 (below 128, or undefined).
int HighGlyphSlot(unsigned char ch);

// The Windows TEXTMETRICA of the font the glyphs were rendered from: 53 bytes of
// fields, stored padded to 56 as the compiler lays the structure out.
struct TextMetric {
  std::int32_t tmHeight;  // the line step
  std::int32_t tmAscent;
  std::int32_t tmDescent;
  std::int32_t tmInternalLeading;  // room above the capitals, dropped by skipLeading
  std::int32_t tmExternalLeading;
  std::int32_t tmAveCharWidth;  // gives the width of a space
  std::int32_t tmMaxCharWidth;
  std::int32_t tmWeight;
  std::int32_t tmOverhang;
  std::int32_t tmDigitizedAspectX;
  std::int32_t tmDigitizedAspectY;
  std::uint8_t tmFirstChar;
  std::uint8_t tmLastChar;
  std::uint8_t tmDefaultChar;
  std::uint8_t tmBreakChar;
  std::uint8_t tmItalic;
  std::uint8_t tmUnderlined;
  std::uint8_t tmStruckOut;
  std::uint8_t tmPitchAndFamily;
  std::uint8_t tmCharSet;
};
static_assert(sizeof(TextMetric) == 56, "TEXTMETRICA is stored as 56 bytes");
constexpr std::uint32_t kTextMetricFieldBytes = 53;

// One character of a font. The sprite (mode 1) owns the two masks: the shape
// first, the shadow second, with the font's shadow offset.
struct Glyph {
  std::int16_t advance = 0;
  std::int16_t offsetY = 0;
  std::int16_t offsetX = 0;
  Sprite sprite;

  const Image* GlyphMask() const { return sprite.first; }
  const Image* ShadowMask() const { return sprite.second; }
  // A glyph without a shape is one the font lacks: it is skipped everywhere.
  bool Exists() const { return sprite.first != nullptr && sprite.first->HasPixels(); }
};

// Which masks DrawGlyphMasks draws.
constexpr int kGlyphMasks = 0;
constexpr int kShadowMasks = 1;

class BitmapFont {
 public:
  BitmapFont();
  BitmapFont(const BitmapFont&) = delete;
  BitmapFont& operator=(const BitmapFont&) = delete;

  // Reads a font record at position: the 56-byte TEXTMETRIC, s32 shadow offset x
  // and y, s32 margin, then 94 glyph records (s16 advance, s16 offset y, s16
  // offset x, a length-prefixed packed DIB of the glyph mask, one of the shadow
  // mask). 0 for a short or damaged record, including line heights, blank
  // widths, offsets, margins and advances beyond 1024 pixels either way; the font
  // is then empty and position unchanged.
  int Read(const ByteStream& stream, std::uint32_t& position);
  // Drops every glyph; metrics and offsets become 0.
  void Clear();

  // Reads kHighGlyphCount glyph records (as Read reads its 94) at position, for
  // the characters 128..255 that Windows-1252 defines; the glyphs take this
  // font's shadow offset. 0 for a short or damaged run, with the font's high
  // glyphs gone and position unchanged.
  int ReadHighGlyphs(const ByteStream& stream, std::uint32_t& position);
  bool HasHighGlyphs() const { return high_ != nullptr; }
  // The kHighGlyphCount high glyphs, in the order of their codes; null without.
  Glyph* HighGlyphs() { return high_.get(); }
  void DropHighGlyphs();

  // The size of the text's box: the widest pen x reached after a glyph plus
  // |shadow offset x| + 2 * margin, and the final pen y + tmHeight plus |shadow
  // offset y| + 2 * margin. Blanks alone never widen it. (0, 0) for no text.
  Size Measure(const char* text, bool skipLeading) const;

  // Draws the text onto a 24-bit surface: every shadow mask in shadowColour with
  // the pen starting at (x, y) + shadow offset, then every glyph mask in
  // faceColour from (x, y). 0 for no text or surface.
  int DrawText(Image* surface, int x, int y, const char* text, COLORREF shadowColour,
               COLORREF faceColour, bool skipLeading) const;

  // Unites the glyph masks (kGlyphMasks) or the shadow masks (kShadowMasks) of
  // the text into a grey mask, the pen starting at (x, y). 0 for no text or mask.
  int DrawGlyphMasks(int which, Image* mask, int x, int y, const char* text,
                     bool skipLeading) const;

  // Shortens text that measures wider than maxWidth to "..." followed by as much
  // of its end as fits, or to "..." alone: the end of a path or file name is the
  // part worth keeping.
  void FitWithEllipsis(SetupString& text, int maxWidth) const;

  // A new mode-1 sprite of the text's measured size, owning its shape and shadow
  // masks (the shadow already placed inside its mask, so the sprite's offset is
  // (0, 0)). With trim both masks are cut down to where either has ink. Null for
  // no text, a text that measures (0, 0), or when memory is short.
  Sprite* NewCaptionSprite(const char* text, bool skipLeading, bool trim) const;

  // Redraws the text into an existing mode-1 sprite's masks: both cleared, the
  // shadow masks at (x, y) + shadow offset into the second, the glyph masks at
  // (x, y) into the first; with trim both are then cut down to where either has
  // ink. 0 when the sprite lacks a mask or there is no text.
  int RenderCaption(Sprite* sprite, const char* text, bool skipLeading, bool trim, int x,
                    int y) const;

  // The glyph of `ch`, or null when the font has no place for one (the glyph
  // itself may still be missing: Glyph::Exists).
  const Glyph* GlyphFor(unsigned char ch) const {
    if (ch >= kFirstGlyph && ch <= kLastGlyph) return &glyphs[ch - kFirstGlyph];
    const int slot = high_ != nullptr ? HighGlyphSlot(ch) : -1;
    return slot >= 0 ? &high_[slot] : nullptr;
  }

  std::int32_t shadowOffsetX = 0;
  std::int32_t shadowOffsetY = 0;
  std::int32_t margin = 0;
  TextMetric metrics;
  Glyph glyphs[kGlyphCount];

 private:
  // kHighGlyphCount glyphs, or none.
  std::unique_ptr<Glyph[]> high_;
};

// Makes a caption sprite of the text in `font` (BitmapFont::NewCaptionSprite) and
// appends it to `list`, which then owns it. Its index, or -1.
int MakeCaptionSprite(OwningList<Sprite>& list, const BitmapFont& font, const char* text,
                      bool skipLeading, bool trim);
