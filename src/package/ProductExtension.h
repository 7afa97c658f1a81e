// Product-level data the package format has no field for, carried beside the
// package as its own resource, so that a new field never changes the package's
// version and a setup that does not know a field still starts.
//
//   RC_DATA 125, little-endian, no padding:
//
//   offset  bytes  field
//   0       4      version, u32: 1
//   4       32     SHA-256 of the package resource it goes with: RC_DATA 112 in a
//                  setup, RC_DATA 113 (the uninstaller's knowledge) in Uninstall.exe
//   36      ...    entries up to the end of the resource, each:
//                    tag     u16
//                    length  u32
//                    value   length bytes
//
// The resource is read whole or not at all. It is damaged when it is longer than
// 64 KiB, has another version, ends inside a header or an entry, or gives a tag
// twice; a damaged resource, and one whose digest is not that of its package (the
// package was replaced with a resource editor), count as no resource: a setup
// without one behaves as it always did. Tags the reader does not know are
// skipped, so an older setup reads a newer resource.
//
// Tags (each new field takes the next number and one line in extensionTagName):
//
//   tag   name      value
//   1     version   the product's version as the manifest writes it
//                   (ProductVersion.h), ASCII without a terminator
#pragma once

#include <cstdint>
#include <vector>

#include "base/ByteStream.h"
#include "base/SetupString.h"
#include "base/Sha256.h"
#include "package/ProductVersion.h"

constexpr int kExtensionResourceId = 125;
constexpr std::uint32_t kExtensionVersion = 1;
constexpr std::uint32_t kMaxExtensionSize = 64 * 1024;
constexpr std::uint32_t kExtensionHeaderSize = 4 + 32;
// The failure reason of an extension never read, or read from no bytes.
constexpr const char kNoExtension[] = "none";

constexpr std::uint16_t kTagProductVersion = 1;

// The name kpack shows for `tag`, or null for a tag this program does not know.
const char* extensionTagName(std::uint16_t tag);

struct ExtensionEntry {
  std::uint16_t tag = 0;
  ByteView value;  // inside the resource's copy the extension keeps
};

class ProductExtension {
 public:
  ProductExtension() = default;
  ProductExtension(const ProductExtension&) = delete;
  ProductExtension& operator=(const ProductExtension&) = delete;

  // Reads `resource` as the extension of the package resource `package`, keeping
  // a copy of it. False, with no entries and failureReason() saying why, when it
  // is empty (kNoExtension), damaged or bound to other package bytes.
  bool read(ByteView resource, ByteView package);
  void reset();

  // Every entry in the resource's order, those of unknown tags too.
  const std::vector<ExtensionEntry>& entries() const { return entries_; }
  // The value of `tag`; false when the resource does not give it.
  bool find(std::uint16_t tag, ByteView& value) const;
  // Empty after a read that succeeded, kNoExtension before any.
  const char* failureReason() const { return failureReason_; }

 private:
  bool fail(const char* reason);

  ByteStream bytes_;
  std::vector<ExtensionEntry> entries_;
  const char* failureReason_ = kNoExtension;
};

// The resource for `package` holding `entries` in their order. Empty when the
// entries would break a rule above (a tag twice, over 64 KiB): the writer makes
// only what the reader takes.
std::vector<unsigned char> writeProductExtension(const std::vector<ExtensionEntry>& entries,
                                                 ByteView package);

// The product's version from `extension`: its text as written, and its numbers.
// False, with both empty, when the extension gives none or one that does not
// read as a version.
bool productVersion(const ProductExtension& extension, SetupString& text, ProductVersion& version);
