// Host painting: a memory bitmap is a plain buffer of 0x00RRGGBB pixels, a
// window's context is its SDL window surface, and every copy is a rectangle of
// rows between the two.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "platform/Paint.h"
#include "platform/host/HostWindow.h"

namespace platform {
namespace {

struct Bitmap {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;  // top-down rows of 0x00RRGGBB
  bool selected = false;
};

struct MemoryDC {
  Bitmap stock;  // the 1 x 1 bitmap a new context holds
  Bitmap* bitmap = nullptr;
};

// The live objects, so that a stale or foreign handle fails instead of being
// followed. Painting is done on the user-interface thread only.
std::set<const void*>& liveBitmaps() {
  static std::set<const void*> s;
  return s;
}
std::set<const void*>& liveDCs() {
  static std::set<const void*> s;
  return s;
}

MemoryDC* memoryDC(DeviceContext dc) {
  return liveDCs().count(dc) != 0 ? static_cast<MemoryDC*>(dc) : nullptr;
}

// The window behind a window context, or null.
host::HostWindow* windowOfDC(DeviceContext dc) {
  for (host::HostWindow* w : host::liveWindows()) {
    if (&w->dc == dc) return w;
  }
  return nullptr;
}

// A rectangle of pixels that can be read or written: a memory bitmap, or a
// window's surface in its own format.
struct Plane {
  void* pixels = nullptr;
  int pitch = 0;
  int width = 0, height = 0;
  std::uint32_t format = SDL_PIXELFORMAT_RGB888;
  SDL_Surface* locked = nullptr;
  host::HostWindow* window = nullptr;

  ~Plane() {
    if (locked != nullptr) SDL_UnlockSurface(locked);
  }
  unsigned char* at(int x, int y) const {
    return static_cast<unsigned char*>(pixels) + std::ptrdiff_t(y) * pitch +
           std::ptrdiff_t(x) * SDL_BYTESPERPIXEL(format);
  }
};

bool openPlane(DeviceContext dc, Plane& plane) {
  if (MemoryDC* m = memoryDC(dc)) {
    plane.pixels = m->bitmap->pixels.data();
    plane.pitch = m->bitmap->width * 4;
    plane.width = m->bitmap->width;
    plane.height = m->bitmap->height;
    return true;
  }
  host::HostWindow* w = windowOfDC(dc);
  if (w == nullptr) return false;
  SDL_Surface* surface = SDL_GetWindowSurface(w->sdl);
  if (surface == nullptr) return false;
  if (SDL_MUSTLOCK(surface)) {
    if (SDL_LockSurface(surface) != 0) return false;
    plane.locked = surface;
  }
  plane.pixels = surface->pixels;
  plane.pitch = surface->pitch;
  plane.width = surface->w;
  plane.height = surface->h;
  plane.format = surface->format->format;
  plane.window = w;
  return true;
}

// Clips a copy of width x height from (sx, sy) of a source of sw x sh to (x, y) of
// a destination of dw x dh. False when nothing is left.
bool clip(int& x, int& y, int& width, int& height, int& sx, int& sy, int sw, int sh, int dw,
          int dh) {
  if (x < 0) {
    width += x;
    sx -= x;
    x = 0;
  }
  if (y < 0) {
    height += y;
    sy -= y;
    y = 0;
  }
  if (sx < 0) {
    width += sx;
    x -= sx;
    sx = 0;
  }
  if (sy < 0) {
    height += sy;
    y -= sy;
    sy = 0;
  }
  width = std::min({width, dw - x, sw - sx});
  height = std::min({height, dh - y, sh - sy});
  return width > 0 && height > 0;
}

// Shows what was copied into a window. The start-up benchmark (bench/run-all)
// times a setup from its start to its first frame: with
// KESTRANE_EXIT_AFTER_FIRST_FRAME set, the process ends as soon as it has shown one.
void present(const Plane& plane, int x, int y, int width, int height) {
  if (plane.window == nullptr) return;
  plane.window->painted = true;
  const SDL_Rect rect = {x, y, width, height};
  SDL_UpdateWindowSurfaceRects(plane.window->sdl, &rect, 1);
  static const bool exitAfterFrame = std::getenv("KESTRANE_EXIT_AFTER_FIRST_FRAME") != nullptr;
  if (exitAfterFrame) std::_Exit(0);
}

std::uint32_t read32(const unsigned char* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

}  // namespace

DeviceContext beginPaint(WindowHandle window, PaintToken& token) {
  host::HostWindow* w = host::findWindow(window);
  if (w == nullptr) return nullptr;
  w->needsPaint = false;
  std::memset(token.storage, 0, sizeof token.storage);
  return &w->dc;
}

void endPaint(WindowHandle, PaintToken&) {}

DeviceContext createCompatibleDC(DeviceContext dc) {
  if (dc != nullptr && memoryDC(dc) == nullptr && windowOfDC(dc) == nullptr) return nullptr;
  auto* m = new MemoryDC;
  m->stock.width = m->stock.height = 1;
  m->stock.pixels.assign(1, 0);
  m->stock.selected = true;
  m->bitmap = &m->stock;
  liveDCs().insert(m);
  return m;
}

BitmapHandle createCompatibleBitmap(DeviceContext dc, int width, int height) {
  if ((memoryDC(dc) == nullptr && windowOfDC(dc) == nullptr) || width <= 0 || height <= 0 ||
      width > 32767 || height > 32767) {
    return nullptr;
  }
  auto* b = new Bitmap;
  b->width = width;
  b->height = height;
  b->pixels.assign(std::size_t(width) * std::size_t(height), 0);
  liveBitmaps().insert(b);
  return b;
}

void* selectObject(DeviceContext dc, void* object) {
  MemoryDC* m = memoryDC(dc);
  if (m == nullptr || object == nullptr) return nullptr;
  Bitmap* next = object == &m->stock                ? &m->stock
                 : liveBitmaps().count(object) != 0 ? static_cast<Bitmap*>(object)
                                                    : nullptr;
  if (next == nullptr) return nullptr;
  if (next == m->bitmap) return next;
  if (next->selected) return nullptr;  // a bitmap is in one context at a time
  Bitmap* previous = m->bitmap;
  previous->selected = false;
  next->selected = true;
  m->bitmap = next;
  return previous;
}

bool bitBlt(DeviceContext dst, int x, int y, int width, int height, DeviceContext src, int sx,
            int sy) {
  Plane to, from;
  if (!openPlane(dst, to) || !openPlane(src, from)) return false;
  if (!clip(x, y, width, height, sx, sy, from.width, from.height, to.width, to.height)) {
    return true;  // nothing to copy is no failure, as for BitBlt
  }
  if (SDL_ConvertPixels(width, height, from.format, from.at(sx, sy), from.pitch, to.format,
                        to.at(x, y), to.pitch) != 0) {
    return false;
  }
  present(to, x, y, width, height);
  return true;
}

bool deleteDC(DeviceContext dc) {
  MemoryDC* m = memoryDC(dc);
  if (m == nullptr) return false;
  m->bitmap->selected = false;
  liveDCs().erase(m);
  delete m;
  return true;
}

bool deleteObject(void* object) {
  if (liveBitmaps().count(object) == 0) return false;
  auto* b = static_cast<Bitmap*>(object);
  if (b->selected) return false;
  liveBitmaps().erase(b);
  delete b;
  return true;
}

DrawDibHandle openDrawDib() {
  return nullptr;
}

void closeDrawDib(DrawDibHandle) {}

bool paintDib(DeviceContext dc, DrawDibHandle, const void* info, const void* bits, int x, int y,
              int width, int height) {
  if (dc == nullptr || info == nullptr || bits == nullptr || width <= 0 || height <= 0) {
    return false;
  }
  // BITMAPINFOHEADER: biSize, biWidth, biHeight (negative: top-down), biPlanes,
  // biBitCount, biCompression; only uncompressed 24-bit pictures are painted.
  const auto* header = static_cast<const unsigned char*>(info);
  std::int32_t dibWidth, dibHeight;
  std::uint16_t bitCount;
  std::memcpy(&dibWidth, header + 4, 4);
  std::memcpy(&dibHeight, header + 8, 4);
  std::memcpy(&bitCount, header + 14, 2);
  const std::uint32_t compression = read32(header + 16);
  if (read32(header) < 40 || bitCount != 24 || compression != 0 || dibWidth <= 0 ||
      dibHeight == 0 || dibHeight == INT32_MIN) {
    return false;
  }
  const bool bottomUp = dibHeight > 0;
  const int rows = bottomUp ? dibHeight : -dibHeight;
  if (width > dibWidth || height > rows) return false;
  const std::size_t stride = (std::size_t(dibWidth) * 3 + 3) & ~std::size_t(3);

  Plane to;
  if (!openPlane(dc, to)) return false;
  int sx = 0, sy = 0;
  if (!clip(x, y, width, height, sx, sy, dibWidth, rows, to.width, to.height)) return true;
  const auto* dib = static_cast<const unsigned char*>(bits);
  for (int row = 0; row < height; ++row) {
    const int dibRow = bottomUp ? rows - 1 - (sy + row) : sy + row;
    // 24-bit DIB rows are blue, green, red: SDL's BGR24.
    if (SDL_ConvertPixels(width, 1, SDL_PIXELFORMAT_BGR24,
                          dib + std::size_t(dibRow) * stride + std::size_t(sx) * 3, int(stride),
                          to.format, to.at(x, y + row), to.pitch) != 0) {
      return false;
    }
  }
  present(to, x, y, width, height);
  return true;
}

namespace host {

bool readWindowPixel(WindowHandle window, int x, int y, std::uint32_t& rgb) {
  HostWindow* w = findWindow(window);
  Plane plane;
  if (w == nullptr || !openPlane(&w->dc, plane)) return false;
  if (x < 0 || y < 0 || x >= plane.width || y >= plane.height) return false;
  std::uint32_t pixel = 0;
  if (SDL_ConvertPixels(1, 1, plane.format, plane.at(x, y), plane.pitch, SDL_PIXELFORMAT_RGB888,
                        &pixel, 4) != 0) {
    return false;
  }
  rgb = pixel & 0xFFFFFFu;
  return true;
}

}  // namespace host

}  // namespace platform
