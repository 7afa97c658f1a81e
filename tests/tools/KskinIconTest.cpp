// kskin's icons: the default icon the build writes, read back by a reader of
// its own here, and the writer's palettes and masks on small worked examples.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "kskin/Icon.h"
#include "kskin/IconFile.h"
#include "kskin/ImageFiles.h"

namespace {

namespace fs = std::filesystem;

// One entry as a reader that knows only the file format sees it.
struct Entry {
  int size = 0, bits = 0, colours = 0;
  std::vector<kskin::Rgb> pixels;  // top row first
  std::vector<int> alpha;          // 32-bit entries only
  std::vector<bool> transparent;   // the AND mask, top row first
};

class IconReader {
 public:
  explicit IconReader(const kskin::Bytes& bytes) : bytes_(bytes) {}

  // The entries, or a failed expectation naming what is wrong.
  std::vector<Entry> Read() {
    std::vector<Entry> entries;
    if (!Need(6) || u16(0) != 0 || u16(2) != 1) {
      ADD_FAILURE() << "no ICONDIR";
      return entries;
    }
    const int count = u16(4);
    std::uint32_t previousEnd = 6 + 16 * std::uint32_t(count);
    for (int i = 0; i < count && Need(6 + 16 * std::size_t(i + 1)); ++i) {
      const std::size_t d = 6 + 16 * std::size_t(i);
      Entry e;
      e.size = bytes_[d] == 0 ? 256 : bytes_[d];
      EXPECT_EQ(bytes_[d + 1], bytes_[d]) << "entry " << i << " is not square";
      e.colours = bytes_[d + 2];
      EXPECT_EQ(u16(d + 4), 1) << "planes of entry " << i;
      e.bits = u16(d + 6);
      const std::uint32_t size = u32(d + 8), offset = u32(d + 12);
      // Images follow the directory one after the other, each inside the file.
      EXPECT_GE(offset, previousEnd) << "entry " << i << " overlaps the one before";
      if (!Need(std::size_t(offset) + size)) return entries;
      previousEnd = offset + size;
      if (DecodeImage(offset, size, e)) entries.push_back(std::move(e));
    }
    EXPECT_EQ(previousEnd, bytes_.size()) << "bytes after the last image";
    return entries;
  }

 private:
  bool DecodeImage(std::uint32_t at, std::uint32_t size, Entry& e) {
    const int n = e.size;
    EXPECT_EQ(u32(at), 40u);
    EXPECT_EQ(int(u32(at + 4)), n);
    EXPECT_EQ(int(u32(at + 8)), 2 * n) << "the height counts the mask too";
    EXPECT_EQ(u16(at + 12), 1);
    EXPECT_EQ(u16(at + 14), e.bits);
    EXPECT_EQ(u32(at + 16), 0u) << "compressed";
    const std::uint32_t used = u32(at + 32);
    const std::uint32_t paletteEntries = e.bits <= 8 ? (used ? used : 1u << e.bits) : 0;
    const std::uint32_t xorStride = (std::uint32_t(n) * e.bits + 31) / 32 * 4;
    const std::uint32_t andStride = (std::uint32_t(n) + 31) / 32 * 4;
    const std::uint32_t palette = at + 40, xorBits = palette + 4 * paletteEntries;
    const std::uint32_t andBits = xorBits + xorStride * n;
    EXPECT_EQ(andBits + andStride * n - at, size) << n << " px, " << e.bits << " bits";
    if (andBits + andStride * n - at != size) return false;
    for (int y = 0; y < n; ++y) {
      const std::uint32_t row = xorBits + xorStride * std::uint32_t(n - 1 - y);
      const std::uint32_t maskRow = andBits + andStride * std::uint32_t(n - 1 - y);
      for (int x = 0; x < n; ++x) {
        e.transparent.push_back((bytes_[maskRow + x / 8] >> (7 - x % 8) & 1) != 0);
        if (e.bits == 32) {
          const std::uint32_t p = row + 4 * std::uint32_t(x);
          e.pixels.push_back(kskin::Rgb{bytes_[p + 2], bytes_[p + 1], bytes_[p]});
          e.alpha.push_back(bytes_[p + 3]);
          continue;
        }
        const int perByte = 8 / e.bits;
        const int index = bytes_[row + x / perByte] >> (e.bits * (perByte - 1 - x % perByte)) &
                          ((1 << e.bits) - 1);
        const std::uint32_t q = palette + 4 * std::uint32_t(index);
        e.pixels.push_back(kskin::Rgb{bytes_[q + 2], bytes_[q + 1], bytes_[q]});
      }
    }
    return true;
  }

  bool Need(std::size_t end) {
    EXPECT_LE(end, bytes_.size()) << "the file is cut short";
    return end <= bytes_.size();
  }
  int u16(std::size_t at) const { return bytes_[at] | bytes_[at + 1] << 8; }
  std::uint32_t u32(std::size_t at) const {
    return std::uint32_t(u16(at)) | std::uint32_t(u16(at + 2)) << 16;
  }

  const kskin::Bytes& bytes_;
};

kskin::Rgb artColour(const kskin::IconArt& art, std::size_t i) {
  return kskin::Rgb{art.bgra[4 * i + 2], art.bgra[4 * i + 1], art.bgra[4 * i]};
}

int distance(const kskin::Rgb& a, const kskin::Rgb& b) {
  return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
}

fs::path writeTemp(const std::string& name, const std::string& text) {
  const fs::path dir = fs::temp_directory_path() / "kskin_icon_test";
  fs::create_directories(dir);
  const fs::path path = dir / name;
  std::ofstream(path) << text;
  return path;
}

}  // namespace

TEST(KskinIcon, DefaultIconHoldsEachSizeAtEachDepthAsDrawn) {
  const kskin::Bytes bytes = kskin::ReadFile(KESTRANE_DEFAULT_ICON);
  const std::vector<kskin::IconArt> arts =
      kskin::DrawIcon(KESTRANE_SOURCE_DIR "/skins/default/icon.toml", kskin::kIconSizes);
  // The build's file is what the description draws now.
  EXPECT_EQ(bytes, kskin::WriteIcon(arts, kskin::kIconDepths));

  const std::vector<Entry> entries = IconReader(bytes).Read();
  ASSERT_EQ(entries.size(), 9u);
  std::set<std::pair<int, int>> kinds;
  for (const Entry& e : entries) kinds.insert({e.size, e.bits});
  EXPECT_EQ(
      kinds,
      (std::set<std::pair<int, int>>{
          {48, 4}, {48, 8}, {48, 32}, {32, 4}, {32, 8}, {32, 32}, {16, 4}, {16, 8}, {16, 32}}));

  for (const Entry& e : entries) {
    const kskin::IconArt* art = nullptr;
    for (const kskin::IconArt& a : arts) art = a.size == e.size ? &a : art;
    ASSERT_NE(art, nullptr);
    EXPECT_EQ(e.colours, e.bits == 4 ? 16 : 0);
    long error = 0, opaque = 0;
    for (std::size_t i = 0; i < e.pixels.size(); ++i) {
      const int alpha = art->bgra[4 * i + 3];
      // Solid art is drawn and empty art left to the screen at every depth.
      if (alpha == 255 || alpha == 0) {
        EXPECT_EQ(e.transparent[i], alpha == 0) << e.size << "/" << e.bits << " at " << i;
      }
      if (e.transparent[i] && e.bits != 32) {
        // Black, so that the screen shows through the XOR unchanged.
        EXPECT_EQ(e.pixels[i], kskin::Rgb{}) << e.size << "/" << e.bits << " at " << i;
      }
      if (e.bits == 32) {
        EXPECT_EQ(e.alpha[i], alpha) << e.size << " at " << i;
        if (alpha > 0) {
          EXPECT_EQ(e.pixels[i], artColour(*art, i)) << e.size << " at " << i;
        }
      } else if (!e.transparent[i]) {
        error += distance(e.pixels[i], artColour(*art, i));
        ++opaque;
      }
    }
    if (e.bits != 32) {
      // The palette follows the art: a few steps off on average at 4 bits,
      // next to none at 8.
      ASSERT_GT(opaque, 0);
      EXPECT_LE(double(error) / opaque, e.bits == 4 ? 12.0 : 2.0) << e.size << "/" << e.bits;
    }
  }
}

TEST(KskinIcon, MedianCutKeepsFewColoursExactlyAndAveragesMany) {
  using kskin::Rgb;
  const Rgb red{255, 0, 0}, blue{0, 0, 255}, grey{128, 128, 128};
  const struct {
    std::vector<Rgb> pixels;
    int colours;
    std::vector<Rgb> expected;  // as a set
  } cases[] = {
      {{}, 4, {}},
      {{red, red, red}, 4, {red}},
      {{red, blue, grey, blue, red}, 3, {red, blue, grey}},
      {{red, blue, grey, blue, red}, 8, {red, blue, grey}},
      // Two tight clusters in two entries: each entry is its cluster's mean.
      {{Rgb{10, 0, 0}, Rgb{20, 0, 0}, Rgb{200, 0, 0}, Rgb{210, 0, 0}, Rgb{220, 0, 0}},
       2,
       {Rgb{15, 0, 0}, Rgb{210, 0, 0}}},
  };
  for (const auto& c : cases) {
    const std::vector<Rgb> palette = kskin::MedianCutPalette(c.pixels, c.colours);
    EXPECT_LE(int(palette.size()), c.colours);
    EXPECT_EQ(palette.size(), c.expected.size());
    for (const Rgb& want : c.expected) {
      bool found = false;
      for (const Rgb& got : palette) found |= got == want;
      EXPECT_TRUE(found) << int(want.red) << "," << int(want.green) << "," << int(want.blue);
    }
  }
  // Many colours in few entries: never more entries than asked for.
  std::vector<Rgb> ramp;
  for (int i = 0; i < 256; ++i) ramp.push_back(Rgb{(unsigned char)i, (unsigned char)(255 - i), 0});
  EXPECT_EQ(kskin::MedianCutPalette(ramp, 15).size(), 15u);
}

// A 3 x 3 icon with one red pixel at the top left, as literal bytes: the rows
// run bottom-up, padded to 4 bytes, the first pixel in the high nibble or bit.
TEST(KskinIcon, SmallIconLaysOutItsBitsBottomUp) {
  kskin::IconArt art;
  art.size = 3;
  art.bgra.assign(3 * 3 * 4, 0);
  art.bgra[2] = 255;  // red
  art.bgra[3] = 255;  // opaque
  const kskin::Bytes bytes = kskin::WriteIcon({art}, {4});
  const kskin::Bytes directory = {0,   0, 1,  0, 1,  0,         // an icon of one image
                                  3,   3, 16, 0, 1,  0, 4, 0,   // 3 x 3, 16 colours, 4 bits
                                  128, 0, 0,  0, 22, 0, 0, 0};  // 128 bytes at 22
  ASSERT_EQ(bytes.size(), 22u + 128u);
  EXPECT_EQ(kskin::Bytes(bytes.begin(), bytes.begin() + 22), directory);
  const std::size_t palette = 22 + 40, xorBits = palette + 16 * 4, andBits = xorBits + 3 * 4;
  // Entry 0 black for what is transparent, entry 1 the red.
  EXPECT_EQ(kskin::Bytes(bytes.begin() + palette, bytes.begin() + palette + 8),
            kskin::Bytes({0, 0, 0, 0, 0, 0, 255, 0}));
  EXPECT_EQ(kskin::Bytes(bytes.begin() + xorBits, bytes.begin() + andBits),
            kskin::Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0}));
  EXPECT_EQ(kskin::Bytes(bytes.begin() + andBits, bytes.end()),
            kskin::Bytes({0xE0, 0, 0, 0, 0xE0, 0, 0, 0, 0x60, 0, 0, 0}));
}

TEST(KskinIcon, MistakesAreNamed) {
  kskin::IconArt art;
  art.size = 2;
  art.bgra.assign(2 * 2 * 4, 0);
  kskin::IconArt short_ = art;
  short_.bgra.pop_back();
  kskin::IconArt huge;
  huge.size = 257;
  const struct {
    std::vector<kskin::IconArt> arts;
    std::vector<int> depths;
    const char* message;
  } writes[] = {{{art}, {24}, "4, 8 or 32 bits"},
                {{short_}, {4}, "wrong length"},
                {{huge}, {32}, "1 to 256 pixels"}};
  for (const auto& w : writes) {
    try {
      kskin::WriteIcon(w.arts, w.depths);
      ADD_FAILURE() << w.message;
    } catch (const kskin::SkinError& e) {
      EXPECT_NE(std::string(e.what()).find(w.message), std::string::npos) << e.what();
    }
  }
  const struct {
    const char* description;
    const char* message;
  } descriptions[] = {
      {"paint = [{ type = \"blob\" }]", "unknown layer type \"blob\""},
      {"canvas = 0\npaint = []", "'canvas' is out of range"},
      {"[[size]]\npixels = 20\npaint = []", "no size of 20 pixels"},
      {"canvas = 48", "needs 'paint' layers"},
      {"canvass = 48\npaint = []", "icon: unknown key \"canvass\"; did you mean \"canvas\"?"},
      {"[[size]]\npixel = 16\npaint = []", "size 0: unknown key \"pixel\"; did you mean"},
      {"paint = [{ type = \"box\", colour = \"blue\" }]", "not a colour"},
      {"paint = [3]", "icon.toml:1: icon layer 0: is not a table"},
      {"paint = [", "icon.toml:1: "},
  };
  for (const auto& d : descriptions) {
    const fs::path path = writeTemp("icon.toml", d.description);
    try {
      kskin::DrawIcon(path.string(), kskin::kIconSizes);
      ADD_FAILURE() << d.description;
    } catch (const kskin::SkinError& e) {
      EXPECT_NE(std::string(e.what()).find(d.message), std::string::npos) << e.what();
      EXPECT_EQ(std::string(e.what()).rfind(path.string() + ":", 0), 0u)
          << "names no file: " << e.what();
    }
  }
}
