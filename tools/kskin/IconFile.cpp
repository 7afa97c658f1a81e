#include "kskin/IconFile.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace kskin {

namespace {

// Pixels at least this opaque are drawn by the masked (4- and 8-bit) entries;
// fainter ones are left to the screen, which keeps soft edges from turning into
// a dark fringe.
constexpr int kOpaqueAlpha = 128;
constexpr std::uint32_t kInfoHeaderBytes = 40;

void put16(Bytes& out, unsigned v) {
  out.push_back((unsigned char)(v & 0xFF));
  out.push_back((unsigned char)(v >> 8 & 0xFF));
}

void put32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back((unsigned char)(v >> (8 * i)));
}

std::uint32_t rowBytes(int width, int bits) {
  return (std::uint32_t(width) * std::uint32_t(bits) + 31) / 32 * 4;
}

int channel(const Rgb& c, int which) {
  return which == 0 ? c.red : which == 1 ? c.green : c.blue;
}

struct Span {
  std::size_t begin, end;
};

// The channel along which the pixels spread widest, and how wide.
std::pair<int, int> widest(const std::vector<Rgb>& pixels, const Span& span) {
  int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
  for (std::size_t i = span.begin; i < span.end; ++i) {
    for (int c = 0; c < 3; ++c) {
      low[c] = std::min(low[c], channel(pixels[i], c));
      high[c] = std::max(high[c], channel(pixels[i], c));
    }
  }
  int best = 0;
  for (int c = 1; c < 3; ++c) {
    if (high[c] - low[c] > high[best] - low[best]) best = c;
  }
  return {best, high[best] - low[best]};
}

bool opaque(const IconArt& art, int x, int y) {
  return art.bgra[(std::size_t(y) * art.size + x) * 4 + 3] >= kOpaqueAlpha;
}

Rgb colourAt(const IconArt& art, int x, int y) {
  const unsigned char* p = &art.bgra[(std::size_t(y) * art.size + x) * 4];
  return Rgb{p[2], p[1], p[0]};
}

void putMask(Bytes& out, const IconArt& art) {
  const std::uint32_t stride = rowBytes(art.size, 1);
  for (int y = art.size - 1; y >= 0; --y) {
    Bytes row(stride, 0);
    for (int x = 0; x < art.size; ++x) {
      if (!opaque(art, x, y)) row[std::size_t(x) / 8] |= (unsigned char)(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
}

// A BITMAPINFOHEADER, the palette, the XOR pixels and the mask.
Bytes image(const IconArt& art, int bits) {
  const int n = art.size;
  const std::uint32_t xorBytes = rowBytes(n, bits) * std::uint32_t(n);
  const std::uint32_t andBytes = rowBytes(n, 1) * std::uint32_t(n);
  Bytes out;
  put32(out, kInfoHeaderBytes);
  put32(out, std::uint32_t(n));
  put32(out, std::uint32_t(2 * n));
  put16(out, 1);
  put16(out, unsigned(bits));
  put32(out, 0);  // BI_RGB
  put32(out, xorBytes + andBytes);
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);  // every palette entry is used
  put32(out, 0);

  if (bits == 32) {
    for (int y = n - 1; y >= 0; --y) {
      const unsigned char* p = &art.bgra[std::size_t(y) * n * 4];
      out.insert(out.end(), p, p + std::size_t(n) * 4);
    }
  } else {
    std::vector<Rgb> drawn;
    for (int y = 0; y < n; ++y) {
      for (int x = 0; x < n; ++x) {
        if (opaque(art, x, y)) drawn.push_back(colourAt(art, x, y));
      }
    }
    // Entry 0 stays black for the transparent pixels.
    std::vector<Rgb> palette{Rgb{}};
    for (const Rgb& c : MedianCutPalette(drawn, (1 << bits) - 1)) palette.push_back(c);
    palette.resize(std::size_t(1) << bits);
    for (const Rgb& c : palette) {
      out.insert(out.end(), {c.blue, c.green, c.red, 0});
    }
    const std::uint32_t stride = rowBytes(n, bits);
    const int perByte = 8 / bits;
    for (int y = n - 1; y >= 0; --y) {
      Bytes row(stride, 0);
      for (int x = 0; x < n; ++x) {
        const int index = opaque(art, x, y) ? NearestEntry(palette, colourAt(art, x, y)) : 0;
        const int shift = bits * (perByte - 1 - x % perByte);
        row[std::size_t(x / perByte)] |= (unsigned char)(index << shift);
      }
      out.insert(out.end(), row.begin(), row.end());
    }
  }
  putMask(out, art);
  return out;
}

}  // namespace

std::vector<Rgb> MedianCutPalette(std::vector<Rgb> pixels, int colours) {
  std::vector<Rgb> palette;
  if (pixels.empty() || colours < 1) return palette;
  std::vector<Span> boxes{{0, pixels.size()}};
  while (int(boxes.size()) < colours) {
    // The box whose spread, counted over its pixels, is the largest: a few
    // stray edge pixels must not take entries from the art's broad areas.
    std::size_t pick = 0;
    std::pair<int, int> pickSpread{0, 0};
    double pickWeight = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      const auto spread = widest(pixels, boxes[i]);
      const double weight = double(spread.second) * double(boxes[i].end - boxes[i].begin);
      if (weight > pickWeight) {
        pick = i;
        pickSpread = spread;
        pickWeight = weight;
      }
    }
    if (pickWeight <= 0) break;  // every box holds one colour
    const Span box = boxes[pick];
    const int c = pickSpread.first;
    std::sort(pixels.begin() + std::ptrdiff_t(box.begin), pixels.begin() + std::ptrdiff_t(box.end),
              [c](const Rgb& a, const Rgb& b) { return channel(a, c) < channel(b, c); });
    // Split at the median, moved to where the channel changes so that no colour
    // lands in both halves.
    std::size_t split = box.begin + (box.end - box.begin) / 2;
    while (split < box.end && channel(pixels[split - 1], c) == channel(pixels[split], c)) ++split;
    if (split == box.end) {
      split = box.begin + (box.end - box.begin) / 2;
      while (split > box.begin + 1 && channel(pixels[split - 1], c) == channel(pixels[split], c)) {
        --split;
      }
    }
    boxes[pick] = Span{box.begin, split};
    boxes.push_back(Span{split, box.end});
  }
  for (const Span& box : boxes) {
    double sum[3] = {0, 0, 0};
    for (std::size_t i = box.begin; i < box.end; ++i) {
      for (int c = 0; c < 3; ++c) sum[c] += channel(pixels[i], c);
    }
    const double count = double(box.end - box.begin);
    auto mean = [&](int c) { return (unsigned char)(sum[c] / count + 0.5); };
    palette.push_back(Rgb{mean(0), mean(1), mean(2)});
  }
  return palette;
}

int NearestEntry(const std::vector<Rgb>& palette, const Rgb& colour) {
  int best = 0;
  long bestDistance = -1;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    long d = 0;
    for (int c = 0; c < 3; ++c) {
      const long delta = channel(palette[i], c) - channel(colour, c);
      d += delta * delta;
    }
    if (bestDistance < 0 || d < bestDistance) {
      best = int(i);
      bestDistance = d;
    }
  }
  return best;
}

Bytes WriteIcon(const std::vector<IconArt>& arts, const std::vector<int>& depths) {
  for (int bits : depths) {
    if (bits != 4 && bits != 8 && bits != 32) {
      throw SkinError("an icon's entries are of 4, 8 or 32 bits, not " + std::to_string(bits));
    }
  }
  std::vector<Bytes> images;
  std::vector<std::pair<int, int>> entries;  // size, bits
  for (const IconArt& art : arts) {
    if (art.size < 1 || art.size > 256) {
      throw SkinError("an icon's images are 1 to 256 pixels, not " + std::to_string(art.size));
    }
    if (art.bgra.size() != std::size_t(art.size) * art.size * 4) {
      throw SkinError("the art of size " + std::to_string(art.size) + " has the wrong length");
    }
    for (int bits : depths) {
      images.push_back(image(art, bits));
      entries.emplace_back(art.size, bits);
    }
  }
  if (images.size() > 0xFFFF) throw SkinError("too many icon images");
  Bytes out;
  put16(out, 0);
  put16(out, 1);
  put16(out, unsigned(images.size()));
  std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const int size = entries[i].first, bits = entries[i].second;
    out.push_back((unsigned char)(size & 0xFF));
    out.push_back((unsigned char)(size & 0xFF));
    out.push_back((unsigned char)(bits == 4 ? 16 : 0));
    out.push_back(0);
    put16(out, 1);
    put16(out, unsigned(bits));
    put32(out, std::uint32_t(images[i].size()));
    put32(out, offset);
    offset += std::uint32_t(images[i].size());
  }
  for (const Bytes& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

}  // namespace kskin
