// The emulated Windows machine of the host backend.
//
// Every Windows path that the logic passes down is mapped onto one folder, the
// prefix: KESTRANE_PREFIX, or $XDG_DATA_HOME/kestrane-setup/prefix, or
// ~/.local/share/kestrane-setup/prefix. Drive C: is <prefix>/drive_c, drive D: is
// <prefix>/drive_d, and so on. The prefix and the standard folders of a Windows
// installation are created the first time the prefix is used.
#pragma once

#include <string>

namespace platform::host {

// The prefix folder, created with its standard folders on first use.
const std::string& prefixRoot();

// The prefix taken when KESTRANE_PREFIX is unset: $XDG_DATA_HOME/kestrane-setup/prefix,
// or ~/.local/share/kestrane-setup/prefix.
std::string homePrefix();

// True when `folder`, however spelled, is the user's real prefix: the one
// homePrefix names, or ~/.local/share/kestrane-setup/prefix of $HOME or of the
// account's home folder. Programs that fill and empty a prefix (the tests) refuse
// to run there.
bool isHomePrefix(const std::string& folder);

// The name of the emulated user (its folder under C:\Users).
const std::string& userName();

// Normalises a Windows path as GetFullPathNameA does: '/' separates as '\' does,
// "." components vanish and ".." climbs, but never above the drive root. A path
// without a drive starts from C:\. The result is "X:\a\b" with an upper-case drive
// letter and no trailing separator (the root stays "X:\"). False for paths that
// name no drive: UNC and device paths, empty text, a drive letter outside A-Z.
bool normalizeWindowsPath(const char* path, std::string& out);

// The host path for a Windows path: normalised, then placed below the prefix, so
// that no Windows path can reach outside it. False where normalisation fails.
bool toHostPath(const char* windowsPath, std::string& out);

// The reverse of toHostPath for an existing host folder or file: an absolute path
// below <prefix>/drive_<letter> (after resolving links and "..") becomes
// "X:\a\b". False for a path outside every drive folder, one that does not exist,
// or one too long for MAX_PATH.
bool fromHostPath(const std::string& hostPath, std::string& windowsPath);

// The Windows path of a special folder (a CSIDL_ value) of the emulated machine,
// as the shell tells a 32-bit program; empty for folders the machine does not have.
std::string specialFolder(int csidl);

// True when the emulated machine is a 64-bit Windows: the file <prefix>/machine
// holds "x64" (read at every call, so a test may switch the machine; the registry
// takes it up when it is next loaded). Such a machine has "Program Files" and
// "Program Files (x86)", System32 and SysWOW64 (made here when missing), and the
// registry's 32-bit view under WOW6432Node. Without the file it is a 32-bit Windows.
bool machineIs64Bit();

// The folders only a 64-bit machine has ("C:\Program Files", "C:\Windows\System32"
// as 64-bit programs see them, and "C:\Windows\SysWOW64"); empty on a 32-bit one.
std::string programFiles64Folder();
std::string system64Folder();
std::string systemWow64Folder();

}  // namespace platform::host
