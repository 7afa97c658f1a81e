// Writing a skin resource in exactly the layout the program's reader takes
// (src/render/Skin.h).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "render/BitmapFont.h"
#include "render/Image.h"
#include "render/Sprite.h"

namespace kskin {

using Bytes = std::vector<unsigned char>;

// Anything wrong with a description or its inputs; the message names the cause.
class SkinError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The packed DIB of a 24-bit or grey image: header, then the rows. Grey images
// are stored without a palette (biClrUsed 0), which the reader takes as the grey
// ramp.
Bytes PackedDib(const Image& image);

// How the compressed parts are deflated: zlib's best, or libdeflate's level 12,
// whose zlib streams the program reads alike and are a few per cent smaller.
enum class Deflate { Zlib, Strongest };

// A zlib stream of the bytes at the best compression.
Bytes Compress(const Bytes& bytes, Deflate deflate = Deflate::Zlib);

struct SkinPicture {
  std::uint32_t kind = 0;  // 0 packed DIB (stored compressed), 1 JPEG
  Bytes data;              // the packed DIB or the JPEG file
};

struct SpriteDefinition {
  std::uint32_t mode = 0;
  std::int32_t first = 0;
  std::int32_t second = -1;  // modes 1 and 2 only
};

// A glyph as rendered, before it is stored.
struct GlyphData {
  std::int16_t advance = 0;
  std::int16_t offsetY = 0;
  std::int16_t offsetX = 0;
  Bytes shape;   // packed DIB
  Bytes shadow;  // packed DIB
};

struct FontData {
  TextMetric metrics{};
  std::int32_t shadowOffsetX = 1;
  std::int32_t shadowOffsetY = 1;
  std::int32_t margin = 1;
  std::vector<GlyphData> glyphs;      // kGlyphCount, for '!' to '~'
  std::vector<GlyphData> highGlyphs;  // kHighGlyphCount, or none
};

// A sprite record: mode, offsets, then one packed DIB (mode 0) or two.
Bytes SpriteRecord(const Sprite& sprite);

// The font records of `fonts` behind their count, uncompressed, as the reader
// finds them after inflating the font section.
Bytes FontBlock(const std::vector<FontData>& fonts);

struct SkinContent {
  std::vector<SkinPicture> pictures;
  std::vector<SpriteDefinition> sprites;
  std::vector<FontData> fonts;
  std::vector<Bytes> standalone;  // sprite records
};

// The whole resource.
Bytes WriteSkin(const SkinContent& skin, Deflate deflate = Deflate::Zlib);

// The high-glyph resource that goes beside the skin (src/render/Skin.h): the
// high glyphs of every font, which must all have them. Empty when no font has
// any.
Bytes WriteHighGlyphs(const std::vector<FontData>& fonts, Deflate deflate = Deflate::Zlib);

}  // namespace kskin
