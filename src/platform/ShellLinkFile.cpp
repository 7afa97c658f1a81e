#include "platform/ShellLinkFile.h"

#include <initializer_list>

#include "platform/Text.h"

namespace shelllink {
namespace {

// {00021401-0000-0000-C000-000000000046}, the link object's class, in its byte form.
constexpr unsigned char kLinkClassId[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                            0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::uint32_t kVolumeIdHeaderSize = 0x10;
constexpr std::size_t kMaxLinkInfo = 0x10000;

void put16(std::string& out, std::uint32_t v) {
  out += char(v & 0xFF);
  out += char((v >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

bool isLocalPath(const std::string& path) {
  if (path.size() < 3) return false;
  const char letter = char(path[0] & ~0x20);
  return letter >= 'A' && letter <= 'Z' && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

// A StringData entry: the count of UTF-16 units, then the units.
bool putString(std::string& out, const std::string& ansi) {
  const int n = platform::ansiToWide(ansi.data(), int(ansi.size()), nullptr, 0);
  if (n <= 0 || n > 0xFFFF) return false;
  std::u16string wide(std::size_t(n), u'\0');
  if (platform::ansiToWide(ansi.data(), int(ansi.size()), &wide[0], n) != n) return false;
  put16(out, std::uint32_t(n));
  for (char16_t c : wide) put16(out, c);
  return true;
}

}  // namespace

bool buildShellLink(const LinkData& link, std::string& bytes) {
  bytes.clear();
  if (!isLocalPath(link.target) || link.target.find('\0') != std::string::npos) return false;

  std::uint32_t flags = kHasLinkInfo | kIsUnicode;
  if (!link.description.empty()) flags |= kHasName;
  if (!link.workingFolder.empty()) flags |= kHasWorkingDir;
  if (!link.arguments.empty()) flags |= kHasArguments;
  if (!link.iconPath.empty()) flags |= kHasIconLocation;

  std::string out;
  put32(out, kHeaderSize);
  out.append(reinterpret_cast<const char*>(kLinkClassId), sizeof kLinkClassId);
  put32(out, flags);
  put32(out, link.targetAttributes);
  for (int i = 0; i < 6; ++i) put32(out, 0);  // creation, access and write times
  put32(out, link.targetSize);
  put32(out, std::uint32_t(link.iconIndex));
  put32(out, link.showCommand);
  put16(out, 0);  // hot key
  put16(out, 0);  // reserved
  put32(out, 0);
  put32(out, 0);

  // LinkInfo: header, VolumeID with an empty label, base path, empty suffix.
  const std::uint32_t volumeIdSize = kVolumeIdHeaderSize + 1;
  const std::uint32_t basePathOffset = kLinkInfoHeaderSize + volumeIdSize;
  const std::size_t suffixOffset = basePathOffset + link.target.size() + 1;
  const std::size_t linkInfoSize = suffixOffset + 1;
  if (linkInfoSize > kMaxLinkInfo) return false;
  put32(out, std::uint32_t(linkInfoSize));
  put32(out, kLinkInfoHeaderSize);
  put32(out, kVolumeIdAndLocalBasePath);
  put32(out, kLinkInfoHeaderSize);  // the VolumeID follows the header
  put32(out, basePathOffset);
  put32(out, 0);  // no network link
  put32(out, std::uint32_t(suffixOffset));
  put32(out, volumeIdSize);
  put32(out, link.driveType);
  put32(out, 0);  // serial number
  put32(out, kVolumeIdHeaderSize);
  out += '\0';  // the label
  out += link.target;
  out += '\0';
  out += '\0';  // the common path suffix

  // StringData, in the order the format fixes.
  for (const std::string* text :
       {&link.description, &link.workingFolder, &link.arguments, &link.iconPath}) {
    if (!text->empty() && !putString(out, *text)) return false;
  }
  put32(out, 0);
  bytes.swap(out);
  return true;
}

}  // namespace shelllink
