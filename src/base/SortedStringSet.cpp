#include "base/SortedStringSet.h"

#include <cstring>

#include "platform/Text.h"

namespace {

int sign(int v) {
  return (v > 0) - (v < 0);
}

}  // namespace

int compareNoCase(const SetupString& a, const SetupString& b) {
  const unsigned char* upper = platform::ansiUpperTable();
  const auto* s = reinterpret_cast<const unsigned char*>(a.text());
  const auto* t = reinterpret_cast<const unsigned char*>(b.text());
  const int n = a.length() < b.length() ? a.length() : b.length();
  for (int i = 0; i < n; ++i) {
    if (platform::isLeadByte(s[i]) || platform::isLeadByte(t[i])) {
      // A double-byte character has no case here; both of its bytes must match.
      if (s[i] != t[i]) return sign(s[i] - t[i]);
      if (++i < n && s[i] != t[i]) return sign(s[i] - t[i]);
      continue;
    }
    if (upper[s[i]] != upper[t[i]]) return sign(upper[s[i]] - upper[t[i]]);
  }
  return sign(a.length() - b.length());
}

int compareExact(const SetupString& a, const SetupString& b) {
  const int n = a.length() < b.length() ? a.length() : b.length();
  if (const int r = std::memcmp(a.text(), b.text(), std::size_t(n)); r != 0) return sign(r);
  return sign(a.length() - b.length());
}

int ExtensionSet::findExtension(const char* text) const {
  if (text == nullptr) return -1;
  if (text[0] == '.') ++text;
  return findSorted(SetupString(text));
}

bool ExtensionSet::addExtension(const char* text) {
  if (text == nullptr) return false;
  while (*text == '.') ++text;
  if (*text == '\0' || findExtension(text) >= 0) return false;
  auto* extension = new SetupString(text);
  if (insertSorted(extension) >= 0) return true;
  delete extension;
  return false;
}
