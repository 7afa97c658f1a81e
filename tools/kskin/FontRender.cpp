#include "kskin/FontRender.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "kskin/Art.h"
#include "platform/Text.h"

namespace kskin {

namespace {

// Windows' own numbers for a TrueType face: the flags say variable pitch, vector
// and TrueType outlines (the "fixed pitch" bit set means the opposite), and a
// sans-serif family; the character set is ANSI.
constexpr std::uint8_t kPitchAndFamily = 0x01 | 0x02 | 0x04 | 0x20;
constexpr int kScreenDpi = 96;
constexpr int kPadding = 1;

class Library {
 public:
  Library() {
    if (FT_Init_FreeType(&library_) != 0) throw SkinError("FreeType does not start");
  }
  ~Library() { FT_Done_FreeType(library_); }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  FT_Library get() const { return library_; }

 private:
  FT_Library library_ = nullptr;
};

class Face {
 public:
  Face(FT_Library library, const std::string& file) {
    if (FT_New_Face(library, file.c_str(), 0, &face_) != 0) {
      throw SkinError("cannot read the font " + file);
    }
  }
  ~Face() { FT_Done_Face(face_); }
  Face(const Face&) = delete;
  Face& operator=(const Face&) = delete;
  FT_Face get() const { return face_; }

 private:
  FT_Face face_ = nullptr;
};

struct VerticalMetrics {
  int ascent;
  int descent;
};

// Windows measures a TrueType face's line by its usWinAscent and usWinDescent,
// rounded up so that every glyph fits.
VerticalMetrics verticalMetrics(FT_Face face, const TT_OS2* os2, int pixels) {
  const double scale = double(pixels) / face->units_per_EM;
  if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
    return {int(std::ceil(os2->usWinAscent * scale - 1e-9)),
            int(std::ceil(os2->usWinDescent * scale - 1e-9))};
  }
  return {int(std::ceil(face->ascender * scale - 1e-9)),
          int(std::ceil(-face->descender * scale - 1e-9))};
}

int pickPixelSize(FT_Face face, const TT_OS2* os2, int height) {
  int best = 0, bestError = 1 << 30;
  for (int pixels = 4; pixels <= 4 * height + 8; ++pixels) {
    const VerticalMetrics v = verticalMetrics(face, os2, pixels);
    const int error = std::abs(v.ascent + v.descent - height);
    if (error <= bestError) {
      best = pixels;
      bestError = error;
    }
  }
  return best;
}

GlyphData renderGlyph(FT_Face f, FT_ULong code, const FontRequest& request, int ascent) {
  // A face without the character would give its "missing" box in its place.
  if (FT_Get_Char_Index(f, code) == 0 && code != 0xA0 && code != 0xAD) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04lX", (unsigned long)code);
    throw SkinError("the font " + request.file + " has no glyph for " + name +
                    "; name a fallback face that has it");
  }
  // Light hinting keeps the outlines' shapes and only snaps them vertically:
  // crisp at small sizes without the pinched look of full hinting.
  if (FT_Load_Char(f, code, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) {
    throw SkinError("FreeType cannot render character " + std::to_string(code) + " of " +
                    request.file);
  }
  const FT_GlyphSlot slot = f->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.rows > 0) {
    throw SkinError("FreeType gave no grey bitmap");
  }
  Image shape;
  Blank(shape, int(bitmap.width) + 2 * kPadding, int(bitmap.rows) + 2 * kPadding, true);
  for (unsigned y = 0; y < bitmap.rows; ++y) {
    const unsigned char* row = bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch;
    std::memcpy(shape.PixelAt(kPadding, int(y) + kPadding), row, bitmap.width);
  }
  Image shadow;
  ShadowOf(shape, shadow, 0, 0, request.shadowBlur, 1.0);
  // The softened shape, with the ink itself kept at full strength.
  for (int y = 0; y < shadow.Height(); ++y) {
    for (int x = 0; x < shadow.Width(); ++x) {
      const double soft = shadow.PixelAt(x, y)[0] * 2.0 * request.shadowStrength;
      const double ink = shape.PixelAt(x, y)[0] * request.shadowStrength;
      shadow.PixelAt(x, y)[0] = (unsigned char)std::lround(std::min(255.0, std::max(soft, ink)));
    }
  }
  GlyphData glyph;
  glyph.advance = std::int16_t((slot->advance.x + 32) >> 6);
  glyph.offsetX = std::int16_t(slot->bitmap_left - kPadding);
  glyph.offsetY = std::int16_t(ascent - slot->bitmap_top - kPadding);
  glyph.shape = PackedDib(shape);
  glyph.shadow = PackedDib(shadow);
  return glyph;
}

}  // namespace

FontData RenderFont(const FontRequest& request) {
  if (request.height < 4 || request.height > 200) throw SkinError("font height out of range");
  Library library;
  Face face(library.get(), request.file);
  FT_Face f = face.get();
  if (!FT_IS_SCALABLE(f)) throw SkinError("not an outline font: " + request.file);
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));

  const int pixels = pickPixelSize(f, os2, request.height);
  if (FT_Set_Pixel_Sizes(f, 0, FT_UInt(pixels)) != 0) throw SkinError("cannot size the font");
  const VerticalMetrics v = verticalMetrics(f, os2, pixels);
  const double scale = double(pixels) / f->units_per_EM;

  FontData font;
  font.shadowOffsetX = request.shadowOffsetX;
  font.shadowOffsetY = request.shadowOffsetY;
  font.margin = request.margin;
  TextMetric& m = font.metrics;
  m.tmHeight = v.ascent + v.descent;
  m.tmAscent = v.ascent;
  m.tmDescent = v.descent;
  m.tmInternalLeading = std::max(0, m.tmHeight - pixels);
  m.tmExternalLeading = 0;
  if (os2 != nullptr) {
    const int lineGap = int(std::lround(os2->sTypoLineGap * scale));
    const int typo = int(std::lround((os2->sTypoAscender - os2->sTypoDescender) * scale));
    m.tmExternalLeading = std::max(0, typo + lineGap - m.tmHeight);
  }
  m.tmAveCharWidth = os2 != nullptr && os2->xAvgCharWidth > 0
                         ? int(std::lround(os2->xAvgCharWidth * scale))
                         : pixels / 2;
  m.tmMaxCharWidth = int(std::lround(f->max_advance_width * scale));
  m.tmWeight =
      os2 != nullptr ? os2->usWeightClass : ((f->style_flags & FT_STYLE_FLAG_BOLD) ? 700 : 400);
  m.tmOverhang = 0;
  m.tmDigitizedAspectX = m.tmDigitizedAspectY = kScreenDpi;
  m.tmFirstChar = 32;
  m.tmLastChar = 126;
  m.tmDefaultChar = '?';
  m.tmBreakChar = ' ';
  m.tmItalic = (f->style_flags & FT_STYLE_FLAG_ITALIC) ? 1 : 0;
  m.tmPitchAndFamily = kPitchAndFamily;
  m.tmCharSet = 0;

  for (int ch = kFirstGlyph; ch <= kLastGlyph; ++ch) {
    font.glyphs.push_back(renderGlyph(f, FT_ULong(ch), request, v.ascent));
  }
  // The characters Windows-1252 defines above 127, from the same face: the
  // pages then draw the names and licences of the code page whole. A face made
  // for English may lack a few; those come from the fallback face.
  std::unique_ptr<Face> fallback;
  for (int ch = 0x80; ch <= 0xFF; ++ch) {
    if (HighGlyphSlot((unsigned char)ch) < 0) continue;
    const char byte = char(ch);
    char16_t code = 0;
    if (platform::ansiToWide(&byte, 1, &code, 1) != 1) {
      throw SkinError("the code page has no character for byte " + std::to_string(ch));
    }
    FT_Face from = f;
    if (FT_Get_Char_Index(f, code) == 0 && !request.fallback.empty()) {
      if (!fallback) {
        fallback = std::make_unique<Face>(library.get(), request.fallback);
        const FT_Face g = fallback->get();
        const auto* gOs2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(g, FT_SFNT_OS2));
        if (!FT_IS_SCALABLE(g) ||
            FT_Set_Pixel_Sizes(g, 0, FT_UInt(pickPixelSize(g, gOs2, request.height))) != 0) {
          throw SkinError("cannot size the font " + request.fallback);
        }
      }
      from = fallback->get();
    }
    font.highGlyphs.push_back(renderGlyph(from, FT_ULong(code), request, v.ascent));
  }
  return font;
}

}  // namespace kskin
