// The install package resource: its constants, and the rules on names that both
// the setup's reader and the package builder enforce.
//
// Layout (little-endian, no padding): magic, version, seven packed strings
// (display name, company name, company URL, product URL, settings key name,
// install folder name, spare text), two JPEG blobs (side and logo pictures), the
// licence blob, the item count and the item records. A packed string is the tag
// 0xFF, a u32 length of at most 1024 and the bytes; a blob is a u32 length and the
// bytes.
#pragma once

#include <cstdint>

constexpr std::uint32_t kPackageMagic = 0x91827364;
constexpr std::uint32_t kPackageVersion = 1;
constexpr int kPackageResourceId = 112;
constexpr unsigned char kPackedStringTag = 0xFF;
constexpr std::uint32_t kMaxPackedText = 1024;

// The install folder name is joined below the folder the user picks, and whatever
// is there is deleted before the install. So it must name a folder strictly below
// it: not empty, not absolute, no drive, and no component made only of dots.
// Subfolders ("Company\Product") are fine. '/' separates as '\' does.
bool isSafeInstallFolderName(const char* name);

// A key name names one registry key below its parent (the company and the
// settings key below "software"): not empty, no backslash. A slash is an ordinary
// character of a key name ("Nordisk A/S").
bool isKeyName(const char* name);

// A file name names one folder, file or link below its parent, or an extension:
// not empty, no backslash or slash, and not made only of dots (which would name
// the parent itself, or climb above it).
bool isFileName(const char* name);

// Items are installed under the file-name-and-extension part of their name (the
// last component). It must name a file, not the install folder or its parent:
// not empty and not made only of dots.
bool isSafeItemFileName(const char* fileName);

// The registration deletes HKEY_CLASSES_ROOT\<progId> before writing it, so a
// ProgID must be one non-empty key name that is neither an extension (".txt")
// nor one of the keys all programs share there ("CLSID", "Interface", "*", ...).
bool isValidProgId(const char* progId);
