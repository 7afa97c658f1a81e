#include "platform/RegFile.h"

#include <cstdint>
#include <vector>

#include "platform/Text.h"

namespace regfile {
namespace {

constexpr std::uint32_t kNone = 0, kSz = 1, kExpandSz = 2, kBinary = 3, kDword = 4, kMultiSz = 7;
constexpr std::size_t kWrapColumn = 76;
// Windows nests keys at most this deep; deeper paths in a file are not real keys.
constexpr std::size_t kMaxDepth = 512;

// ANSI bytes to UTF-16, terminators included as they are.
std::u16string widen(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int n = platform::ansiToWide(ansi.data(), int(ansi.size()), nullptr, 0);
  std::u16string out(std::size_t(n > 0 ? n : 0), u'\0');
  if (n <= 0 || platform::ansiToWide(ansi.data(), int(ansi.size()), &out[0], n) != n) return {};
  return out;
}

std::string narrow(const std::u16string& wide) {
  if (wide.empty()) return {};
  const int n = platform::wideToAnsi(wide.data(), int(wide.size()), nullptr, 0);
  std::string out(std::size_t(n > 0 ? n : 0), '\0');
  if (n <= 0 || platform::wideToAnsi(wide.data(), int(wide.size()), &out[0], n) != n) return {};
  return out;
}

bool isStringType(std::uint32_t type) {
  return type == kSz || type == kExpandSz || type == kMultiSz;
}

// ---- Writing ----

void appendAscii(std::u16string& out, const char* text) {
  while (*text != '\0') out += char16_t((unsigned char)*text++);
}

void appendQuoted(std::u16string& out, const std::u16string& text) {
  out += u'"';
  for (char16_t c : text) {
    if (c == u'\\' || c == u'"') {
      out += u'\\';
      out += c;
    } else if (c == u'\n') {
      out += u"\\n";
    } else if (c == u'\r') {
      out += u"\\r";
    } else {
      out += c;
    }
  }
  out += u'"';
}

constexpr char kDigits[] = "0123456789abcdef";

// Lower-case hex digits without leading zeros.
std::string hexNumber(std::uint32_t v) {
  std::string digits;
  do {
    digits.insert(digits.begin(), kDigits[v & 15]);
    v >>= 4;
  } while (v != 0);
  return digits;
}

void appendHex(std::u16string& out, std::size_t lineStart, const std::string& bytes) {
  std::size_t column = out.size() - lineStart;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char b = (unsigned char)bytes[i];
    out += char16_t(kDigits[b >> 4]);
    out += char16_t(kDigits[b & 15]);
    column += 2;
    if (i + 1 < bytes.size()) {
      out += u',';
      if (++column > kWrapColumn) {
        out += u"\\\r\n  ";
        column = 2;
      }
    }
  }
}

// The UTF-16 bytes, little-endian, of ANSI text.
std::string utf16Bytes(const std::string& ansi) {
  std::string out;
  for (char16_t c : widen(ansi)) {
    out += char(c & 0xFF);
    out += char(c >> 8);
  }
  return out;
}

// True when the quoted form gives back exactly this REG_SZ: one terminator at the
// end, none before it, and no line breaks.
bool fitsQuotedForm(const std::string& data) {
  if (data.empty() || data.back() != '\0') return false;
  for (std::size_t i = 0; i + 1 < data.size(); ++i) {
    if (data[i] == '\0' || data[i] == '\r' || data[i] == '\n') return false;
  }
  return true;
}

void appendValue(std::u16string& out, const regtree::Value& value) {
  const std::size_t lineStart = out.size();
  if (value.name.empty()) {
    out += u'@';
  } else {
    appendQuoted(out, widen(value.name));
  }
  out += u'=';
  if (value.type == kSz && fitsQuotedForm(value.data)) {
    appendQuoted(out, widen(value.data.substr(0, value.data.size() - 1)));
  } else if (value.type == kDword && value.data.size() == 4) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | (unsigned char)value.data[std::size_t(i)];
    std::string digits = hexNumber(v);
    appendAscii(out, "dword:");
    appendAscii(out, (std::string(8 - digits.size(), '0') + digits).c_str());
  } else {
    appendAscii(out, value.type == kBinary ? "hex:" : "hex(");
    if (value.type != kBinary) {
      appendAscii(out, hexNumber(value.type).c_str());
      appendAscii(out, "):");
    }
    appendHex(out, lineStart, isStringType(value.type) ? utf16Bytes(value.data) : value.data);
  }
  out += u"\r\n";
}

bool hasLineBreak(const std::string& name) {
  return name.find('\n') != std::string::npos || name.find('\r') != std::string::npos;
}

void appendKey(std::u16string& out, const std::u16string& path, const regtree::Key& key) {
  out += u'[';
  out += path;
  out += u"]\r\n";
  for (const regtree::Value& v : key.values()) appendValue(out, v);
  out += u"\r\n";
  for (const auto& sub : key.subkeys()) {
    if (hasLineBreak(sub->name())) continue;
    appendKey(out, path + u'\\' + widen(sub->name()), *sub);
  }
}

// ---- Reading ----

void trimRight(std::u16string& s) {
  while (!s.empty() && (s.back() == u' ' || s.back() == u'\t')) s.pop_back();
}

std::size_t skipBlanks(const std::u16string& s, std::size_t at) {
  while (at < s.size() && (s[at] == u' ' || s[at] == u'\t')) ++at;
  return at;
}

bool startsWith(const std::u16string& s, std::size_t at, const char* ascii) {
  for (; *ascii != '\0'; ++ascii, ++at) {
    if (at >= s.size()) return false;
    char16_t c = s[at];
    if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
    if (c != char16_t((unsigned char)*ascii)) return false;
  }
  return true;
}

// A quoted text starting at s[at] == '"'; `at` ends after the closing quote.
bool readQuoted(const std::u16string& s, std::size_t& at, std::u16string& out) {
  out.clear();
  if (at >= s.size() || s[at] != u'"') return false;
  for (++at; at < s.size(); ++at) {
    char16_t c = s[at];
    if (c == u'"') {
      ++at;
      return true;
    }
    if (c == u'\\' && at + 1 < s.size()) {
      c = s[++at];
      if (c == u'n') {
        c = u'\n';
      } else if (c == u'r') {
        c = u'\r';
      } else if (c != u'\\' && c != u'"') {
        out += u'\\';
      }
    }
    out += c;
  }
  return false;
}

int hexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Comma-separated bytes of one or two hex digits, to the end of the text.
bool readHexBytes(const std::u16string& s, std::size_t at, std::string& out) {
  out.clear();
  at = skipBlanks(s, at);
  if (at == s.size()) return true;
  while (true) {
    at = skipBlanks(s, at);
    int value = 0, digits = 0;
    for (int d; at < s.size() && digits < 2 && (d = hexDigit(s[at])) >= 0; ++at, ++digits) {
      value = value * 16 + d;
    }
    if (digits == 0) return false;
    out += char(value);
    at = skipBlanks(s, at);
    if (at == s.size()) return true;
    if (s[at] != u',') return false;
    ++at;
    if (skipBlanks(s, at) == s.size()) return true;  // a trailing comma
  }
}

bool readValueData(const std::u16string& s, std::size_t at, std::uint32_t& type,
                   std::string& data) {
  if (at < s.size() && s[at] == u'"') {
    std::u16string text;
    if (!readQuoted(s, at, text) || skipBlanks(s, at) != s.size()) return false;
    type = kSz;
    data = narrow(text);
    data += '\0';
    return true;
  }
  if (startsWith(s, at, "dword:")) {
    at += 6;
    std::uint32_t v = 0;
    int digits = 0;
    for (int d; at < s.size() && (d = hexDigit(s[at])) >= 0; ++at) {
      if (++digits > 8) return false;
      v = v * 16 + std::uint32_t(d);
    }
    if (digits == 0 || skipBlanks(s, at) != s.size()) return false;
    type = kDword;
    data.clear();
    for (int i = 0; i < 4; ++i) data += char((v >> (8 * i)) & 0xFF);
    return true;
  }
  if (startsWith(s, at, "hex:")) {
    type = kBinary;
    return readHexBytes(s, at + 4, data);
  }
  if (startsWith(s, at, "hex(")) {
    at += 4;
    std::uint32_t t = 0;
    int digits = 0;
    for (int d; at < s.size() && (d = hexDigit(s[at])) >= 0; ++at) {
      if (++digits > 8) return false;
      t = t * 16 + std::uint32_t(d);
    }
    if (digits == 0 || !startsWith(s, at, "):")) return false;
    std::string bytes;
    if (!readHexBytes(s, at + 2, bytes)) return false;
    type = t;
    if (isStringType(t)) {
      std::u16string wide;
      for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        wide += char16_t((unsigned char)bytes[i] | ((unsigned char)bytes[i + 1] << 8));
      }
      data = narrow(wide);
    } else {
      data = bytes;
    }
    return true;
  }
  return false;
}

// The key a bracketed path names, created as needed; null when the path is not one.
std::shared_ptr<regtree::Key> keyFor(const std::u16string& path, regtree::Key& top) {
  std::vector<std::string> parts;
  if (!regtree::splitKeyPath(narrow(path), parts) || parts.empty() || parts.size() > kMaxDepth) {
    return nullptr;
  }
  static const char* const kRoots[] = {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_USERS",
                                       "HKEY_CURRENT_CONFIG"};
  std::vector<std::string> full;
  if (regtree::compareNames(parts[0], "HKEY_CLASSES_ROOT") == 0) {
    full = {"HKEY_LOCAL_MACHINE", "Software", "Classes"};
  }
  for (const char* root : kRoots) {
    if (regtree::compareNames(parts[0], root) == 0) full.push_back(root);
  }
  if (full.empty()) return nullptr;
  full.insert(full.end(), parts.begin() + 1, parts.end());
  std::shared_ptr<regtree::Key> key = top.addSubkey(full[0]);
  for (std::size_t i = 1; i < full.size(); ++i) key = key->addSubkey(full[i]);
  return key;
}

}  // namespace

std::string exportRegistry(const regtree::Key& top) {
  std::u16string text;
  appendAscii(text, kHeader);
  text += u"\r\n\r\n";
  for (const auto& root : top.subkeys()) {
    if (!hasLineBreak(root->name())) appendKey(text, widen(root->name()), *root);
  }
  std::string bytes = "\xFF\xFE";
  bytes.reserve(2 + text.size() * 2);
  for (char16_t c : text) {
    bytes += char(c & 0xFF);
    bytes += char(c >> 8);
  }
  return bytes;
}

bool importRegistry(const std::string& bytes, regtree::Key& top) {
  if (bytes.size() < 2 || (unsigned char)bytes[0] != 0xFF || (unsigned char)bytes[1] != 0xFE) {
    return false;
  }
  std::vector<std::u16string> lines(1);
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const char16_t c = char16_t((unsigned char)bytes[i] | ((unsigned char)bytes[i + 1] << 8));
    if (c == u'\n') {
      if (!lines.back().empty() && lines.back().back() == u'\r') lines.back().pop_back();
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  std::u16string header = lines[0];
  trimRight(header);
  std::u16string expected;
  appendAscii(expected, kHeader);
  if (header != expected) return false;

  std::shared_ptr<regtree::Key> current;
  for (std::size_t n = 1; n < lines.size(); ++n) {
    std::u16string line = lines[n];
    trimRight(line);
    const std::size_t at = skipBlanks(line, 0);
    if (at == line.size() || line[at] == u';') continue;
    if (line[at] == u'[') {
      const std::size_t close = line.rfind(u']');
      current = nullptr;
      if (close == std::u16string::npos || close <= at + 1 || line[at + 1] == u'-') continue;
      current = keyFor(line.substr(at + 1, close - at - 1), top);
      continue;
    }
    if (current == nullptr || (line[at] != u'"' && line[at] != u'@')) continue;
    // A hex value goes on over the lines that its trailing backslashes join.
    while (!line.empty() && line.back() == u'\\' && n + 1 < lines.size()) {
      line.pop_back();
      std::u16string next = lines[++n];
      trimRight(next);
      line += next.substr(skipBlanks(next, 0));
    }
    std::size_t pos = at;
    std::u16string name;
    if (line[pos] == u'@') {
      ++pos;
    } else if (!readQuoted(line, pos, name)) {
      continue;
    }
    pos = skipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != u'=') continue;
    pos = skipBlanks(line, pos + 1);
    std::uint32_t type = kNone;
    std::string data;
    if (readValueData(line, pos, type, data)) current->setValue(narrow(name), type, data);
  }

  return true;
}

}  // namespace regfile
