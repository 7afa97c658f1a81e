#include "render/Skin.h"

#include <memory>

#include "base/Inflate.h"
#include "platform/Resources.h"
#include "render/Jpeg.h"

namespace {

constexpr std::uint32_t kKindPackedDib = 0;
constexpr std::uint32_t kKindJpeg = 1;
constexpr std::uint32_t kNoPicture = 0xFFFFFFFFu;

// The fewest bytes each kind of record can take, so that a count is checked
// against what is left before anything is made for it.
constexpr std::uint32_t kMinPictureBytes = 8;     // kind, blob length
constexpr std::uint32_t kMinDefinitionBytes = 4;  // mode
constexpr std::uint32_t kMinSpriteBytes = 16;     // mode, offsets, one blob length
constexpr std::uint32_t kMinGlyphBytes = 6 + 4 + 4;
constexpr std::uint32_t kMinFontBytes = sizeof(TextMetric) + 12 + kGlyphCount * kMinGlyphBytes;
constexpr std::uint32_t kMinHighGlyphsBytes = kHighGlyphCount * kMinGlyphBytes;

// The skin reader's internal exception: raised by any read or decode that fails,
// caught in LoadSkin, never beyond.
struct SkinFailure {};

void need(bool ok) {
  if (!ok) throw SkinFailure{};
}

std::uint32_t readWord(const ByteStream& stream, std::uint32_t& position) {
  std::uint32_t value = 0;
  need(readU32(stream, position, value) == S_OK);
  return value;
}

// A count of records, each at least minBytes long, that must fit what is left.
std::uint32_t readCount(const ByteStream& stream, std::uint32_t& position, std::uint32_t minBytes) {
  const std::uint32_t count = readWord(stream, position);
  need(count <= (stream.size() - position) / minBytes);
  return count;
}

template <class T>
void append(OwningList<T>& list, std::unique_ptr<T> element) {
  need(element != nullptr && list.add(element.get()) >= 0);
  element.release();
}

std::unique_ptr<Image> readPicture(const ByteStream& skin, std::uint32_t& position) {
  const std::uint32_t kind = readWord(skin, position);
  std::unique_ptr<Image> picture(Image::New());
  need(picture != nullptr);
  if (kind == kKindJpeg) {
    need(DecodeJpeg(skin, position, *picture) != 0);
  } else {
    need(kind == kKindPackedDib);
    ByteStream outer, dib;
    std::uint32_t inner = 0;
    need(outer.readBlob(skin, position) == S_OK && readCompressedBlob(outer, dib, inner) &&
         picture->LoadPackedDib(dib));
  }
  return picture;
}

Image* pictureAt(const PictureList& pictures, std::uint32_t index) {
  Image* picture = pictures.at(int(index));
  need(index < std::uint32_t(pictures.count()) && picture != nullptr);
  return picture;
}

std::unique_ptr<Sprite> readDefinition(const ByteStream& skin, std::uint32_t& position,
                                       const PictureList& pictures) {
  const std::uint32_t mode = readWord(skin, position);
  Image* first = nullptr;
  Image* second = nullptr;
  if (mode == kSpritePicture) {
    first = pictureAt(pictures, readWord(skin, position));
  } else if (mode == kSpriteMaskPair || mode == kSpriteAlpha) {
    first = pictureAt(pictures, readWord(skin, position));
    const std::uint32_t index = readWord(skin, position);
    if (index != kNoPicture) second = pictureAt(pictures, index);
  }
  return std::unique_ptr<Sprite>(MakeSprite(int(mode), first, second));
}

void readFonts(const ByteStream& skin, std::uint32_t& position, FontList& fonts) {
  ByteStream block;
  need(readCompressedBlob(skin, block, position));
  std::uint32_t at = 0;
  const std::uint32_t count = readCount(block, at, kMinFontBytes);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::unique_ptr<BitmapFont> font(new (std::nothrow) BitmapFont);
    need(font != nullptr && font->Read(block, at) != 0);
    append(fonts, std::move(font));
  }
}

void clearAll(PictureList& pictures, SpriteList& sprites, FontList& fonts, SpriteList& standalone) {
  // Sprites first: those of the sprite list point into the pictures.
  sprites.deleteAll();
  standalone.deleteAll();
  fonts.deleteAll();
  pictures.deleteAll();
}

}  // namespace

int PictureList::LoadSkin(platform::ModuleHandle module, int resourceId, SpriteList& sprites,
                          FontList& fonts, SpriteList& standalone) {
  ByteStream skin;
  if (skin.loadResourceData(resourceId, module) != S_OK) {
    clearAll(*this, sprites, fonts, standalone);
    return 0;
  }
  std::uint32_t position = 0;
  return LoadSkin(skin, position, sprites, fonts, standalone);
}

int PictureList::LoadSkin(const ByteStream& skin, std::uint32_t& position, SpriteList& sprites,
                          FontList& fonts, SpriteList& standalone) {
  clearAll(*this, sprites, fonts, standalone);
  std::uint32_t at = position;
  try {
    need(at <= skin.size());
    const std::uint32_t pictureCount = readCount(skin, at, kMinPictureBytes);
    for (std::uint32_t i = 0; i < pictureCount; ++i) append(*this, readPicture(skin, at));

    const std::uint32_t definitionCount = readCount(skin, at, kMinDefinitionBytes);
    for (std::uint32_t i = 0; i < definitionCount; ++i) {
      append(sprites, readDefinition(skin, at, *this));
    }

    readFonts(skin, at, fonts);

    const std::uint32_t spriteCount = readCount(skin, at, kMinSpriteBytes);
    need(std::int32_t(spriteCount) >= 0);
    for (std::uint32_t i = 0; i < spriteCount; ++i) {
      append(standalone, std::unique_ptr<Sprite>(ReadSprite(skin, at)));
    }
  } catch (const SkinFailure&) {
    clearAll(*this, sprites, fonts, standalone);
    return 0;
  }
  position = at;
  return 1;
}

int LoadHighGlyphs(const ByteStream& glyphs, std::uint32_t& position, FontList& fonts) {
  std::uint32_t at = position;
  try {
    ByteStream block;
    need(at <= glyphs.size() && readCompressedBlob(glyphs, block, at));
    std::uint32_t inner = 0;
    const std::uint32_t count = readCount(block, inner, kMinHighGlyphsBytes);
    need(count <= std::uint32_t(fonts.count()));
    for (std::uint32_t i = 0; i < count; ++i) {
      need(fonts.at(int(i))->ReadHighGlyphs(block, inner) != 0);
    }
  } catch (const SkinFailure&) {
    for (int i = 0; i < fonts.count(); ++i) fonts.at(i)->DropHighGlyphs();
    return 0;
  }
  position = at;
  return 1;
}

bool CarriesScaledSkin(platform::ModuleHandle module, int index) {
  if (index < 0 || index >= kScaledSkinCount) return false;
  platform::ResourceBytes found;
  return platform::findResource(module, "RC_DATA", kScaledSkinResources[index].skinId, found) &&
         found.size > 0;
}

SkinChoice ChooseSkin(int dpi, unsigned carried) {
  SkinChoice choice;
  if (dpi <= 96) return choice;
  // The smallest skin not below the display's scale, and the largest of all.
  const ScaledSkinResource* larger = nullptr;
  const ScaledSkinResource* largest = nullptr;
  for (int i = 0; i < kScaledSkinCount; ++i) {
    const ScaledSkinResource& scaled = kScaledSkinResources[i];
    if ((carried & (1u << i)) == 0) continue;
    // percent / 100 >= dpi / 96, in whole numbers.
    if (scaled.percent * 96 >= dpi * 100 &&
        (larger == nullptr || scaled.percent < larger->percent)) {
      larger = &scaled;
    }
    if (largest == nullptr || scaled.percent > largest->percent) largest = &scaled;
  }
  const ScaledSkinResource* chosen = larger != nullptr ? larger : largest;
  if (chosen == nullptr) return choice;
  choice.skinId = chosen->skinId;
  choice.highGlyphsId = chosen->highGlyphsId;
  choice.dpi = chosen->percent * 96 / 100;
  return choice;
}

int LoadHighGlyphs(platform::ModuleHandle module, int resourceId, FontList& fonts) {
  platform::ResourceBytes found;
  if (!platform::findResource(module, "RC_DATA", resourceId, found) || found.size == 0) return 1;
  ByteStream glyphs;
  if (glyphs.loadResourceData(resourceId, module) != S_OK) return 0;
  std::uint32_t position = 0;
  return LoadHighGlyphs(glyphs, position, fonts);
}
