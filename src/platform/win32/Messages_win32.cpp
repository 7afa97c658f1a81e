#include <windows.h>

#include "platform/Messages.h"
#include "platform/Text.h"

namespace platform {
namespace {

MSG toMsg(const Message& m) {
  MSG msg = {};
  msg.hwnd = static_cast<HWND>(m.window);
  msg.message = m.message;
  msg.wParam = m.wParam;
  msg.lParam = m.lParam;
  msg.time = GetMessageTime();
  const DWORD pos = GetMessagePos();
  msg.pt.x = short(LOWORD(pos));
  msg.pt.y = short(HIWORD(pos));
  return msg;
}

// The window is a Unicode one, so a character arrives as UTF-16; the program
// takes Windows-1252, one byte a message. A character the code page lacks could
// only be typed wrong into a name, so it is dropped.
bool toAnsiCharacter(MSG& msg) {
  if (msg.message != WM_CHAR) return true;
  const int byte = wideCharToAnsi(char16_t(msg.wParam));
  if (byte < 0) return false;
  msg.wParam = WPARAM(byte);
  return true;
}

}  // namespace

bool postMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                 std::intptr_t lParam) {
  return PostMessageW(static_cast<HWND>(window), message, wParam, lParam) != FALSE;
}

std::intptr_t sendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                          std::intptr_t lParam) {
  if (window == nullptr) return 0;
  return SendMessageW(static_cast<HWND>(window), message, wParam, lParam);
}

bool peekMessage(Message& out) {
  MSG msg;
  do {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  } while (!toAnsiCharacter(msg));
  out = {msg.hwnd, msg.message, msg.wParam, msg.lParam};
  return true;
}

void waitForMessage(unsigned milliseconds) {
  // MWMO_INPUTAVAILABLE: also wake for what is queued but was already seen.
  MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

AcceleratorHandle loadAccelerators(ModuleHandle module, int id) {
  const HMODULE image =
      module != nullptr ? static_cast<HMODULE>(module) : GetModuleHandleW(nullptr);
  return LoadAcceleratorsW(image, MAKEINTRESOURCEW(id));
}

bool destroyAcceleratorTable(AcceleratorHandle table) {
  return table != nullptr && DestroyAcceleratorTable(static_cast<HACCEL>(table)) != FALSE;
}

bool translateAccelerator(WindowHandle window, AcceleratorHandle table, const Message& message) {
  if (table == nullptr) return false;
  MSG msg = toMsg(message);
  return TranslateAcceleratorW(static_cast<HWND>(window), static_cast<HACCEL>(table), &msg) != 0;
}

void translateMessage(const Message& message) {
  const MSG msg = toMsg(message);
  TranslateMessage(&msg);
}

std::intptr_t dispatchMessage(const Message& message) {
  const MSG msg = toMsg(message);
  return DispatchMessageW(&msg);
}

void postQuitMessage(int exitCode) {
  PostQuitMessage(exitCode);
}

}  // namespace platform
