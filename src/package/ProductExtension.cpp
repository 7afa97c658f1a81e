#include "package/ProductExtension.h"

#include <cstring>

namespace {

std::uint16_t u16At(const unsigned char* p) {
  return std::uint16_t(p[0] | p[1] << 8);
}

std::uint32_t u32At(const unsigned char* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

void put(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back((unsigned char)(value >> (8 * i)));
}

// One bit per possible tag: a duplicate is found in one pass whatever the count.
class TagSet {
 public:
  // False when `tag` was there already.
  bool insert(std::uint16_t tag) {
    unsigned char& byte = bits_[tag >> 3];
    const unsigned char bit = (unsigned char)(1u << (tag & 7));
    if (byte & bit) return false;
    byte = (unsigned char)(byte | bit);
    return true;
  }

 private:
  unsigned char bits_[65536 / 8] = {};
};

}  // namespace

const char* extensionTagName(std::uint16_t tag) {
  switch (tag) {
    case kTagProductVersion:
      return "version";
    default:
      return nullptr;
  }
}

bool ProductExtension::fail(const char* reason) {
  bytes_.clear();
  entries_.clear();
  failureReason_ = reason;
  return false;
}

void ProductExtension::reset() {
  fail(kNoExtension);
}

bool ProductExtension::read(ByteView resource, ByteView package) {
  reset();
  const std::uint32_t size = resource.size();
  if (size == 0) return fail(kNoExtension);
  if (size > kMaxExtensionSize) return fail("larger than 64 KiB");
  if (size < kExtensionHeaderSize) return fail("its header is cut short");
  const unsigned char* p = resource.bytes();
  if (u32At(p) != kExtensionVersion) return fail("not version 1");
  const Sha256Digest digest = sha256(package.bytes(), package.size());
  if (std::memcmp(p + 4, digest.data(), digest.size()) != 0) {
    return fail("made for another package");
  }
  // The copy is what the entries refer to; the resource may be gone after this.
  if (bytes_.appendBytes(size, p) != S_OK) return fail("out of memory");
  p = bytes_.bytes();
  TagSet seen;
  for (std::uint32_t at = kExtensionHeaderSize; at < size;) {
    if (size - at < 6) return fail("an entry's header is cut short");
    const std::uint16_t tag = u16At(p + at);
    const std::uint32_t length = u32At(p + at + 2);
    at += 6;
    if (length > size - at) return fail("an entry runs past the end");
    if (!seen.insert(tag)) return fail("a tag is given twice");
    entries_.push_back({tag, ByteView(p + at, length)});
    at += length;
  }
  failureReason_ = "";
  return true;
}

bool ProductExtension::find(std::uint16_t tag, ByteView& value) const {
  for (const ExtensionEntry& entry : entries_) {
    if (entry.tag == tag) {
      value = entry.value;
      return true;
    }
  }
  value = ByteView();
  return false;
}

std::vector<unsigned char> writeProductExtension(const std::vector<ExtensionEntry>& entries,
                                                 ByteView package) {
  std::vector<unsigned char> out;
  put(out, kExtensionVersion, 4);
  const Sha256Digest digest = sha256(package.bytes(), package.size());
  out.insert(out.end(), digest.begin(), digest.end());
  TagSet seen;
  for (const ExtensionEntry& entry : entries) {
    if (!seen.insert(entry.tag) || entry.value.size() > kMaxExtensionSize - out.size()) return {};
    put(out, entry.tag, 2);
    put(out, entry.value.size(), 4);
    out.insert(out.end(), entry.value.bytes(), entry.value.bytes() + entry.value.size());
    if (out.size() > kMaxExtensionSize) return {};
  }
  return out;
}

bool productVersion(const ProductExtension& extension, SetupString& text, ProductVersion& version) {
  text = SetupString();
  version = ProductVersion();
  ByteView value;
  if (!extension.find(kTagProductVersion, value) || value.size() > 23) return false;
  char written[24] = {};
  for (std::uint32_t i = 0; i < value.size(); ++i) written[i] = char(value.bytes()[i]);
  if (!parseProductVersion(written, version)) return false;
  text = written;
  return true;
}
