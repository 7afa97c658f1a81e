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

constexpr int SW_SHOWNORMAL = 1;

constexpr std::uint32_t GENERIC_READ = 0x80000000u;
constexpr std::uint32_t GENERIC_WRITE = 0x40000000u;
constexpr std::uint32_t FILE_SHARE_READ = 0x1;
constexpr std::uint32_t FILE_SHARE_WRITE = 0x2;
constexpr std::uint32_t CREATE_NEW = 1;
constexpr std::uint32_t CREATE_ALWAYS = 2;
constexpr std::uint32_t OPEN_EXISTING = 3;
constexpr std::uint32_t OPEN_ALWAYS = 4;

constexpr std::uint32_t STILL_ACTIVE = 259;
constexpr int THREAD_PRIORITY_NORMAL = 0;

constexpr unsigned WM_USER = 0x0400;

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

// Window messages the widgets and the window speak, on both backends.
constexpr unsigned WM_DESTROY = 0x0002;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_CHAR = 0x0102;
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
constexpr unsigned WM_MOUSEWHEEL = 0x020A;

// Virtual-key codes.
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_TAB = 0x09;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_UP = 0x26;
constexpr int VK_DOWN = 0x28;

// One notch of a mouse wheel, in the units of WM_MOUSEWHEEL's high word.
constexpr int WHEEL_DELTA = 120;
