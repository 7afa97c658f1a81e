// The Windows constants and result values that the portable code speaks in.
//
// The code above src/platform/ never sees <windows.h>, so it takes these numbers
// from here on both targets. The values are those of the Windows SDK. Files that
// include <windows.h> must not include this header: the names are the SDK's own.
#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

constexpr int MAX_PATH = 260;

constexpr std::uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;
constexpr std::uint32_t FILE_ATTRIBUTE_READONLY = 0x01;
constexpr std::uint32_t FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr std::uint32_t FILE_ATTRIBUTE_SYSTEM = 0x04;
constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr std::uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr std::uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr std::uint32_t FILE_ATTRIBUTE_REPARSE_POINT = 0x400;

constexpr unsigned DRIVE_UNKNOWN = 0;
constexpr unsigned DRIVE_NO_ROOT_DIR = 1;
constexpr unsigned DRIVE_REMOVABLE = 2;
constexpr unsigned DRIVE_FIXED = 3;
constexpr unsigned DRIVE_REMOTE = 4;
constexpr unsigned DRIVE_CDROM = 5;

constexpr int CSIDL_PROGRAMS = 0x02;
constexpr int CSIDL_DESKTOPDIRECTORY = 0x10;
constexpr int CSIDL_COMMON_PROGRAMS = 0x17;
constexpr int CSIDL_COMMON_DESKTOPDIRECTORY = 0x19;
constexpr int CSIDL_APPDATA = 0x1A;
constexpr int CSIDL_WINDOWS = 0x24;
constexpr int CSIDL_SYSTEM = 0x25;
constexpr int CSIDL_PROGRAM_FILES = 0x26;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;

constexpr std::uint32_t GENERIC_READ = 0x80000000u;
constexpr std::uint32_t GENERIC_WRITE = 0x40000000u;
constexpr std::uint32_t FILE_SHARE_READ = 0x1;
constexpr std::uint32_t FILE_SHARE_WRITE = 0x2;
constexpr std::uint32_t FILE_SHARE_DELETE = 0x4;
constexpr std::uint32_t CREATE_NEW = 1;
constexpr std::uint32_t CREATE_ALWAYS = 2;
constexpr std::uint32_t OPEN_EXISTING = 3;
constexpr std::uint32_t OPEN_ALWAYS = 4;

constexpr std::uint32_t STILL_ACTIVE = 259;
constexpr int THREAD_PRIORITY_NORMAL = 0;

constexpr long SHCNE_ASSOCCHANGED = 0x08000000;
constexpr unsigned SHCNF_IDLIST = 0x0000;

// The predefined registry roots, sign-extended as the SDK defines them.
inline const platform::RegKey HKEY_CLASSES_ROOT =
    reinterpret_cast<platform::RegKey>(std::intptr_t(std::int32_t(0x80000000u)));
inline const platform::RegKey HKEY_CURRENT_USER =
    reinterpret_cast<platform::RegKey>(std::intptr_t(std::int32_t(0x80000001u)));
inline const platform::RegKey HKEY_LOCAL_MACHINE =
    reinterpret_cast<platform::RegKey>(std::intptr_t(std::int32_t(0x80000002u)));
inline const platform::RegKey HKEY_USERS =
    reinterpret_cast<platform::RegKey>(std::intptr_t(std::int32_t(0x80000003u)));

constexpr std::uint32_t REG_NONE = 0;
constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_EXPAND_SZ = 2;
constexpr std::uint32_t REG_BINARY = 3;
constexpr std::uint32_t REG_DWORD = 4;
constexpr std::uint32_t REG_MULTI_SZ = 7;

constexpr std::uint32_t KEY_QUERY_VALUE = 0x0001;
constexpr std::uint32_t KEY_SET_VALUE = 0x0002;
constexpr std::uint32_t KEY_CREATE_SUB_KEY = 0x0004;
constexpr std::uint32_t KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr std::uint32_t KEY_READ = 0x20019;
constexpr std::uint32_t KEY_WRITE = 0x20006;
constexpr std::uint32_t KEY_ALL_ACCESS = 0xF003F;
// The registry view a 32-bit program opens a key in on 64-bit Windows.
constexpr std::uint32_t KEY_WOW64_64KEY = 0x0100;
constexpr std::uint32_t KEY_WOW64_32KEY = 0x0200;

// Status codes of the registry calls.
constexpr long ERROR_SUCCESS = 0;
constexpr long ERROR_FILE_NOT_FOUND = 2;
constexpr long ERROR_ACCESS_DENIED = 5;
constexpr long ERROR_INVALID_HANDLE = 6;
constexpr long ERROR_INVALID_PARAMETER = 87;
constexpr long ERROR_BAD_PATHNAME = 161;
constexpr long ERROR_MORE_DATA = 234;
constexpr long ERROR_NO_MORE_ITEMS = 259;
constexpr long ERROR_BADKEY = 1010;
constexpr long ERROR_KEY_DELETED = 1018;

// 0x00BBGGRR: red in the low byte.
using COLORREF = std::uint32_t;

// Window messages, with the numbers of the Windows SDK.
constexpr unsigned WM_NULL = 0x0000;
constexpr unsigned WM_CREATE = 0x0001;
constexpr unsigned WM_DESTROY = 0x0002;
constexpr unsigned WM_MOVE = 0x0003;
constexpr unsigned WM_SIZE = 0x0005;
constexpr unsigned WM_ACTIVATE = 0x0006;
constexpr unsigned WM_SETFOCUS = 0x0007;
constexpr unsigned WM_KILLFOCUS = 0x0008;
constexpr unsigned WM_PAINT = 0x000F;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_QUIT = 0x0012;
constexpr unsigned WM_ERASEBKGND = 0x0014;
constexpr unsigned WM_SHOWWINDOW = 0x0018;
constexpr unsigned WM_GETMINMAXINFO = 0x0024;
constexpr unsigned WM_MOUSEACTIVATE = 0x0021;
constexpr unsigned WM_SETICON = 0x0080;
constexpr unsigned WM_NCCREATE = 0x0081;
constexpr unsigned WM_NCDESTROY = 0x0082;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_CHAR = 0x0102;
constexpr unsigned WM_SYSKEYDOWN = 0x0104;
constexpr unsigned WM_SYSKEYUP = 0x0105;
constexpr unsigned WM_TIMER = 0x0113;
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr unsigned WM_RBUTTONUP = 0x0205;
constexpr unsigned WM_RBUTTONDBLCLK = 0x0206;
constexpr unsigned WM_MBUTTONDOWN = 0x0207;
constexpr unsigned WM_MBUTTONUP = 0x0208;
constexpr unsigned WM_MBUTTONDBLCLK = 0x0209;
constexpr unsigned WM_MOUSEWHEEL = 0x020A;
constexpr unsigned WM_CAPTURECHANGED = 0x0215;
// The monitor's scale changed: LOWORD(wParam) the new dots an inch, lParam the
// rectangle (a Rect) the window should take.
constexpr unsigned WM_DPICHANGED = 0x02E0;
constexpr unsigned WM_USER = 0x0400;

// WM_SIZE's wParam.
constexpr std::uintptr_t SIZE_RESTORED = 0;
constexpr std::uintptr_t SIZE_MINIMIZED = 1;
constexpr std::uintptr_t SIZE_MAXIMIZED = 2;

// WM_MOUSEACTIVATE's answers.
constexpr std::intptr_t MA_ACTIVATE = 1;
constexpr std::intptr_t MA_ACTIVATEANDEAT = 2;
constexpr std::intptr_t MA_NOACTIVATE = 3;
constexpr std::intptr_t MA_NOACTIVATEANDEAT = 4;

// WM_SETICON's wParam.
constexpr std::uintptr_t ICON_SMALL = 0;
constexpr std::uintptr_t ICON_BIG = 1;

// The button and modifier flags in the wParam of mouse messages.
constexpr std::uintptr_t MK_LBUTTON = 0x0001;
constexpr std::uintptr_t MK_RBUTTON = 0x0002;
constexpr std::uintptr_t MK_SHIFT = 0x0004;
constexpr std::uintptr_t MK_CONTROL = 0x0008;
constexpr std::uintptr_t MK_MBUTTON = 0x0010;

// Class styles.
constexpr unsigned CS_VREDRAW = 0x0001;
constexpr unsigned CS_HREDRAW = 0x0002;
constexpr unsigned CS_DBLCLKS = 0x0008;

// Window styles.
constexpr unsigned WS_POPUP = 0x80000000u;
constexpr unsigned WS_VISIBLE = 0x10000000u;
constexpr unsigned WS_SYSMENU = 0x00080000u;

// SetWindowPos flags.
constexpr unsigned SWP_NOSIZE = 0x0001;
constexpr unsigned SWP_NOMOVE = 0x0002;
constexpr unsigned SWP_NOZORDER = 0x0004;
constexpr unsigned SWP_NOACTIVATE = 0x0010;

// GetSystemMetrics indices.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;

// Message box types and answers.
constexpr unsigned MB_OK = 0x00000000;
constexpr unsigned MB_OKCANCEL = 0x00000001;
constexpr unsigned MB_YESNO = 0x00000004;
constexpr unsigned MB_RETRYCANCEL = 0x00000005;
constexpr unsigned MB_ICONERROR = 0x00000010;
constexpr unsigned MB_ICONQUESTION = 0x00000020;
constexpr unsigned MB_ICONWARNING = 0x00000030;
constexpr unsigned MB_ICONINFORMATION = 0x00000040;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDRETRY = 4;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The standard arrow cursor, the one system cursor the program asks for.
constexpr int IDC_ARROW = 32512;

// The lParam of mouse messages: x in the low word, y in the high word, each a
// signed 16-bit value (GET_X_LPARAM / GET_Y_LPARAM).
constexpr std::intptr_t MAKELPARAM(int low, int high) {
  return std::intptr_t(std::uint32_t(std::uint16_t(low)) |
                       (std::uint32_t(std::uint16_t(high)) << 16));
}
constexpr int GET_X_LPARAM(std::intptr_t lParam) {
  return int(std::int16_t(std::uint16_t(std::uintptr_t(lParam) & 0xFFFF)));
}
constexpr int GET_Y_LPARAM(std::intptr_t lParam) {
  return int(std::int16_t(std::uint16_t((std::uintptr_t(lParam) >> 16) & 0xFFFF)));
}
// WM_MOUSEWHEEL's distance, in WHEEL_DELTA units, from the high word of wParam.
constexpr int GET_WHEEL_DELTA_WPARAM(std::uintptr_t wParam) {
  return int(std::int16_t(std::uint16_t((wParam >> 16) & 0xFFFF)));
}

// What WM_GETMINMAXINFO's lParam points to: laid out exactly as the SDK's POINT
// and MINMAXINFO (five points of two 32-bit values), so a Windows lParam can be
// read through it.
struct WinPoint {
  std::int32_t x;
  std::int32_t y;
};
struct MinMaxInfo {
  WinPoint ptReserved;
  WinPoint ptMaxSize;
  WinPoint ptMaxPosition;
  WinPoint ptMinTrackSize;
  WinPoint ptMaxTrackSize;
};
static_assert(sizeof(MinMaxInfo) == 40, "MINMAXINFO is five POINTs");

// Virtual-key codes. Letters and digits are their upper-case ASCII codes.
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_MBUTTON = 0x04;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_F1 = 0x70;

// One notch of a mouse wheel, in the units of WM_MOUSEWHEEL's high word.
constexpr int WHEEL_DELTA = 120;
