// Shell link files (.lnk) in the published Shell Link binary format, as far as a
// link to a local file needs it:
//
//   ShellLinkHeader  76 bytes: size 0x4C, the link class id, flags, the target's
//                    attributes, three zero file times, its size, the icon index,
//                    the show command, no hot key
//   LinkInfo         the target's local base path (ANSI) on a VolumeID of the
//                    drive's type with an empty label, and an empty common suffix
//   StringData       the description, working folder, arguments and icon location
//                    that are set, each a 16-bit count of UTF-16 units and the units
//   TerminalBlock    four zero bytes
//
// All numbers are little-endian. No item ID list is written: the shell finds the
// target through the LinkInfo alone.
#pragma once

#include <cstdint>
#include <string>

namespace shelllink {

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::uint32_t kHasLinkInfo = 0x02;
constexpr std::uint32_t kHasName = 0x04;
constexpr std::uint32_t kHasWorkingDir = 0x10;
constexpr std::uint32_t kHasArguments = 0x20;
constexpr std::uint32_t kHasIconLocation = 0x40;
constexpr std::uint32_t kIsUnicode = 0x80;
constexpr std::uint32_t kLinkInfoHeaderSize = 0x1C;
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x01;

// What a link says. Texts are ANSI; an empty text is left out of the file.
struct LinkData {
  std::string target;  // a local path with its drive: "C:\folder\file.exe"
  std::string arguments;
  std::string workingFolder;
  std::string description;
  std::string iconPath;
  std::int32_t iconIndex = 0;
  std::uint32_t targetAttributes = 0;  // FILE_ATTRIBUTE_ bits of the target
  std::uint32_t targetSize = 0;        // low 32 bits of its size
  std::uint32_t driveType = 3;         // DRIVE_FIXED
  std::uint32_t showCommand = 1;       // SW_SHOWNORMAL
};

// The bytes of the link file. False, with `bytes` empty, when the target is not a
// path on a drive ("X:\...") or a text is too long for the format (65535 UTF-16
// units, or a LinkInfo over 64 KiB).
bool buildShellLink(const LinkData& link, std::string& bytes);

}  // namespace shelllink
