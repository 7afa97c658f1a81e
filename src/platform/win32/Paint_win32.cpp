#include <windows.h>

#include "platform/Paint.h"
#include "platform/win32/SystemLibrary.h"

namespace platform {
namespace {

using DrawDibOpenFn = HANDLE(WINAPI*)();
using DrawDibCloseFn = BOOL(WINAPI*)(HANDLE);
using DrawDibDrawFn = BOOL(WINAPI*)(HANDLE, HDC, int, int, int, int, BITMAPINFOHEADER*, void*, int,
                                    int, int, int, UINT);

struct DrawDibApi {
  DrawDibOpenFn open = nullptr;
  DrawDibCloseFn close = nullptr;
  DrawDibDrawFn draw = nullptr;
};

// msvfw32 is never imported: a copy planted beside the program would be loaded
// before our first line ran. It is loaded when first needed.
DrawDibApi loadDrawDib() {
  using win32::entry;
  DrawDibApi api;
  const HMODULE module = win32::loadSystemLibrary(L"msvfw32.dll");
  api.open = entry<DrawDibOpenFn>(module, "DrawDibOpen");
  api.close = entry<DrawDibCloseFn>(module, "DrawDibClose");
  api.draw = entry<DrawDibDrawFn>(module, "DrawDibDraw");
  if (api.open == nullptr || api.close == nullptr || api.draw == nullptr) api = DrawDibApi{};
  return api;
}

const DrawDibApi& drawDibApi() {
  static const DrawDibApi api = loadDrawDib();
  return api;
}

static_assert(sizeof(PaintToken) >= sizeof(PAINTSTRUCT) &&
                  alignof(PaintToken) >= alignof(PAINTSTRUCT),
              "a PaintToken holds a PAINTSTRUCT");

PAINTSTRUCT* paintStruct(PaintToken& token) {
  return reinterpret_cast<PAINTSTRUCT*>(token.storage);
}

}  // namespace

DeviceContext beginPaint(WindowHandle window, PaintToken& token) {
  if (window == nullptr) return nullptr;
  return BeginPaint(static_cast<HWND>(window), paintStruct(token));
}

void endPaint(WindowHandle window, PaintToken& token) {
  EndPaint(static_cast<HWND>(window), paintStruct(token));
}

DeviceContext createCompatibleDC(DeviceContext dc) {
  return CreateCompatibleDC(static_cast<HDC>(dc));
}

BitmapHandle createCompatibleBitmap(DeviceContext dc, int width, int height) {
  if (dc == nullptr || width <= 0 || height <= 0) return nullptr;
  return CreateCompatibleBitmap(static_cast<HDC>(dc), width, height);
}

void* selectObject(DeviceContext dc, void* object) {
  if (dc == nullptr || object == nullptr) return nullptr;
  HGDIOBJ old = SelectObject(static_cast<HDC>(dc), static_cast<HGDIOBJ>(object));
  return old == HGDI_ERROR ? nullptr : old;
}

bool bitBlt(DeviceContext dst, int x, int y, int width, int height, DeviceContext src, int sx,
            int sy) {
  if (dst == nullptr || src == nullptr) return false;
  return BitBlt(static_cast<HDC>(dst), x, y, width, height, static_cast<HDC>(src), sx, sy,
                SRCCOPY) != FALSE;
}

bool deleteDC(DeviceContext dc) {
  return dc != nullptr && DeleteDC(static_cast<HDC>(dc)) != FALSE;
}

bool deleteObject(void* object) {
  return object != nullptr && DeleteObject(static_cast<HGDIOBJ>(object)) != FALSE;
}

DrawDibHandle openDrawDib() {
  const DrawDibApi& api = drawDibApi();
  return api.open != nullptr ? api.open() : nullptr;
}

void closeDrawDib(DrawDibHandle drawDib) {
  if (drawDib != nullptr && drawDibApi().close != nullptr) drawDibApi().close(drawDib);
}

bool paintDib(DeviceContext dc, DrawDibHandle drawDib, const void* info, const void* bits, int x,
              int y, int width, int height) {
  if (dc == nullptr || info == nullptr || bits == nullptr || width <= 0 || height <= 0) {
    return false;
  }
  const HDC hdc = static_cast<HDC>(dc);
  const DrawDibApi& api = drawDibApi();
  const DrawDibHandle own = drawDib == nullptr ? openDrawDib() : nullptr;
  const DrawDibHandle session = drawDib != nullptr ? drawDib : own;
  if (session != nullptr && api.draw != nullptr) {
    const BOOL drawn = api.draw(session, hdc, x, y, width, height,
                                static_cast<BITMAPINFOHEADER*>(const_cast<void*>(info)),
                                const_cast<void*>(bits), 0, 0, width, height, 0);
    closeDrawDib(own);
    return drawn != FALSE;
  }
  const int lines = StretchDIBits(hdc, x, y, width, height, 0, 0, width, height, bits,
                                  static_cast<const BITMAPINFO*>(info), DIB_RGB_COLORS, SRCCOPY);
  return lines != 0 && lines != int(GDI_ERROR);
}

}  // namespace platform
