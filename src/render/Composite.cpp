#include "render/Composite.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "render/BlendTables.h"

namespace {

using Byte = std::uint8_t;

// A blit after clipping: where it lands, where it reads, how much.
struct BlitArea {
  Point dst;
  Point src;
  Size size;
};

// The rows of an image from a first pixel down. Rows are stored bottom-up, so the
// row below lies one stride earlier in memory; each row's address is computed on
// its own so no pointer ever steps outside the pixel store.
template <typename T>
struct Rows {
  T* first;
  std::ptrdiff_t stride;
  T* operator[](int row) const { return first - std::ptrdiff_t(row) * stride; }
};

Rows<Byte> rowsOf(Image& image, Point at) {
  return Rows<Byte>{image.PixelAt(at.x, at.y), image.Stride()};
}

Rows<const Byte> rowsOf(const Image& image, Point at) {
  return Rows<const Byte>{image.PixelAt(at.x, at.y), image.Stride()};
}

bool clip(const Image* dst, int x, int y, const Image* src, int sx, int sy, int w, int h,
          BlitArea& area) {
  if (dst == nullptr || src == nullptr || !dst->IsBlitFormat() || !src->IsBlitFormat()) {
    return false;
  }
  area = BlitArea{Point{x, y}, Point{sx, sy}, Size{w, h}};
  return ClipBlit(*dst, area.dst, *src, area.src, area.size) != 0;
}

// One row of each format pair. CopyRow converts the source into the destination's
// format; BlendRow blends with weight rows over = MulTable[a] and
// under = MulTable[255 - a], weightAt(i) giving a for pixel i.
struct From24To24 {
  static void CopyRow(Byte* d, const Byte* s, int n, const Byte*) {
    std::memmove(d, s, std::size_t(n) * 3);
  }
  template <typename WeightAt>
  static void BlendRow(Byte* d, const Byte* s, int n, const Byte*, WeightAt weightAt) {
    const ByteTable& mul = MulTable();
    for (int i = 0; i < n; ++i, d += 3, s += 3) {
      const int a = weightAt(i);
      const Byte* over = mul[a];
      const Byte* under = mul[255 - a];
      d[0] = Byte(over[s[0]] + under[d[0]]);
      d[1] = Byte(over[s[1]] + under[d[1]]);
      d[2] = Byte(over[s[2]] + under[d[2]]);
    }
  }
};

struct From24To8 {
  static void CopyRow(Byte* d, const Byte* s, int n, const Byte* grey) {
    for (int i = 0; i < n; ++i, s += 3) d[i] = grey[s[0] + s[1] + s[2]];
  }
  template <typename WeightAt>
  static void BlendRow(Byte* d, const Byte* s, int n, const Byte* grey, WeightAt weightAt) {
    const ByteTable& mul = MulTable();
    for (int i = 0; i < n; ++i, s += 3) {
      const int a = weightAt(i);
      d[i] = Byte(mul[a][grey[s[0] + s[1] + s[2]]] + mul[255 - a][d[i]]);
    }
  }
};

struct From8To24 {
  static void CopyRow(Byte* d, const Byte* s, int n, const Byte*) {
    for (int i = 0; i < n; ++i, d += 3) d[0] = d[1] = d[2] = s[i];
  }
  // The value is blended with the grey of the destination pixel, so whatever it
  // covers turns grey: a mask drawn into a picture stays a grey shape.
  template <typename WeightAt>
  static void BlendRow(Byte* d, const Byte* s, int n, const Byte* grey, WeightAt weightAt) {
    const ByteTable& mul = MulTable();
    for (int i = 0; i < n; ++i, d += 3) {
      const int a = weightAt(i);
      d[0] = d[1] = d[2] = Byte(mul[a][s[i]] + mul[255 - a][grey[d[0] + d[1] + d[2]]]);
    }
  }
};

struct From8To8 {
  static void CopyRow(Byte* d, const Byte* s, int n, const Byte*) {
    std::memmove(d, s, std::size_t(n));
  }
  template <typename WeightAt>
  static void BlendRow(Byte* d, const Byte* s, int n, const Byte*, WeightAt weightAt) {
    const ByteTable& mul = MulTable();
    for (int i = 0; i < n; ++i) {
      const int a = weightAt(i);
      d[i] = Byte(mul[a][s[i]] + mul[255 - a][d[i]]);
    }
  }
};

// Calls op with the row kernels of the pair (source depth, destination depth).
template <typename Op>
void byFormats(const Image& dst, const Image& src, Op op) {
  const bool dst24 = dst.BitsPerPixel() == 24;
  if (src.BitsPerPixel() == 24) {
    if (dst24) {
      op(From24To24{});
    } else {
      op(From24To8{});
    }
  } else if (dst24) {
    op(From8To24{});
  } else {
    op(From8To8{});
  }
}

}  // namespace

int Copy(Image* dst, int x, int y, const Image* src, int sx, int sy, int w, int h) {
  BlitArea area;
  if (!clip(dst, x, y, src, sx, sy, w, h, area)) return 0;
  byFormats(*dst, *src, [&](auto pair) {
    const Rows<Byte> d = rowsOf(*dst, area.dst);
    const Rows<const Byte> s = rowsOf(*src, area.src);
    const Byte* grey = GreyOf();
    for (int row = 0; row < area.size.cy; ++row) {
      decltype(pair)::CopyRow(d[row], s[row], area.size.cx, grey);
    }
  });
  return 1;
}

int BlendConst(Image* dst, int x, int y, const Image* src, int sx, int sy, int w, int h,
               int alpha) {
  alpha = ClampByte(alpha);
  if (alpha == 255) return Copy(dst, x, y, src, sx, sy, w, h);
  BlitArea area;
  if (!clip(dst, x, y, src, sx, sy, w, h, area)) return 0;
  byFormats(*dst, *src, [&](auto pair) {
    const Rows<Byte> d = rowsOf(*dst, area.dst);
    const Rows<const Byte> s = rowsOf(*src, area.src);
    const Byte* grey = GreyOf();
    for (int row = 0; row < area.size.cy; ++row) {
      decltype(pair)::BlendRow(d[row], s[row], area.size.cx, grey, [alpha](int) { return alpha; });
    }
  });
  return 1;
}

int BlendMasked(Image* dst, int x, int y, const Image* src, int sx, int sy, int w, int h,
                const Image* mask, int alpha) {
  alpha = ClampByte(alpha);
  const bool maskFits = src != nullptr && mask != nullptr && mask->IsGrey() &&
                        mask->Width() == src->Width() && mask->Height() == src->Height();
  if (!maskFits) return BlendConst(dst, x, y, src, sx, sy, w, h, alpha);
  BlitArea area;
  if (!clip(dst, x, y, src, sx, sy, w, h, area)) return 0;
  byFormats(*dst, *src, [&](auto pair) {
    const Rows<Byte> d = rowsOf(*dst, area.dst);
    const Rows<const Byte> s = rowsOf(*src, area.src);
    const Rows<const Byte> m = rowsOf(*mask, area.src);
    const Byte* grey = GreyOf();
    const Byte* scale = MulTable()[alpha];
    for (int row = 0; row < area.size.cy; ++row) {
      const Byte* weights = m[row];
      decltype(pair)::BlendRow(d[row], s[row], area.size.cx, grey,
                               [scale, weights](int i) { return scale[weights[i]]; });
    }
  });
  return 1;
}

int FillThroughMask(Image* dst, int x, int y, const Image* mask, int sx, int sy, int w, int h,
                    COLORREF colour, int alpha) {
  if (dst == nullptr || dst->BitsPerPixel() != 24) return 0;
  BlitArea area;
  if (!clip(dst, x, y, mask, sx, sy, w, h, area) || mask->BitsPerPixel() != 8) return 0;
  const ByteTable& mul = MulTable();
  const Byte* scale = mul[ClampByte(alpha)];
  const Byte blue = Byte(colour >> 16), green = Byte(colour >> 8), red = Byte(colour);
  const Rows<Byte> d = rowsOf(*dst, area.dst);
  const Rows<const Byte> m = rowsOf(*mask, area.src);
  for (int row = 0; row < area.size.cy; ++row) {
    Byte* p = d[row];
    const Byte* weights = m[row];
    for (int i = 0; i < area.size.cx; ++i, p += 3) {
      const int a = scale[weights[i]];
      const Byte* over = mul[a];
      const Byte* under = mul[255 - a];
      p[0] = Byte(over[blue] + under[p[0]]);
      p[1] = Byte(over[green] + under[p[1]]);
      p[2] = Byte(over[red] + under[p[2]]);
    }
  }
  return 1;
}

int MaskUnion(Image* dst, int x, int y, const Image* src, int sx, int sy, int w, int h) {
  BlitArea area;
  if (!clip(dst, x, y, src, sx, sy, w, h, area)) return 0;
  if (dst->BitsPerPixel() != 8 || src->BitsPerPixel() != 8) return 0;
  const ByteTable& screen = ScreenTable();
  const Rows<Byte> d = rowsOf(*dst, area.dst);
  const Rows<const Byte> s = rowsOf(*src, area.src);
  for (int row = 0; row < area.size.cy; ++row) {
    Byte* p = d[row];
    const Byte* q = s[row];
    for (int i = 0; i < area.size.cx; ++i) p[i] = screen[p[i]][q[i]];
  }
  return 1;
}

int DrawImage(Image* dst, int x, int y, const Image* src) {
  if (src == nullptr) return 0;
  return Copy(dst, x, y, src, 0, 0, src->Width(), src->Height());
}

int DrawImageFrom(Image* dst, int x, int y, const Image* src, int sx, int sy) {
  if (src == nullptr) return 0;
  return Copy(dst, x, y, src, sx, sy, src->Width(), src->Height());
}

int BlendImage(Image* dst, int x, int y, const Image* src, int alpha) {
  if (src == nullptr) return 0;
  return BlendConst(dst, x, y, src, 0, 0, src->Width(), src->Height(), alpha);
}

int FillMask(Image* dst, int x, int y, const Image* mask, COLORREF colour, int mx, int my,
             int alpha) {
  if (mask == nullptr) return 0;
  return FillThroughMask(dst, x, y, mask, mx, my, mask->Width(), mask->Height(), colour, alpha);
}

int UnionMask(Image* dst, int x, int y, const Image* src) {
  if (src == nullptr) return 0;
  return MaskUnion(dst, x, y, src, 0, 0, src->Width(), src->Height());
}
