// SetupString: the program's 8-bit text, reference-counted with copy-on-write.
//
// The object is one pointer to the first byte of the text. In front of the text lies
// a StringHeader, and the header, `capacity` text bytes and a terminating zero form
// one heap block. Copies share the block and only bump its count; a write first
// makes the block private. Every empty string points at one shared static block
// that is never counted, written or freed. Counts change atomically, because strings
// pass between the window thread and the install worker; anything else about one
// string object is written by one thread at a time.
//
// Lengths and positions are in bytes. Text is ANSI and may hold double-byte
// characters of the system code page.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/PlatformTypes.h"

struct StringHeader {
  std::atomic<std::int32_t> refCount;  // sharers; -1 marks the shared empty string
  std::int32_t length;                 // text bytes, without the terminator
  std::int32_t capacity;               // text bytes the block can hold
};
static_assert(sizeof(StringHeader) == 12, "the header is three 32-bit integers");

class SetupString {
 public:
  SetupString();
  SetupString(const char* text);  // NOLINT: text converts implicitly, as literals do
  SetupString(char ch, int count);
  SetupString(const SetupString& other);
  SetupString(SetupString&& other) noexcept;
  ~SetupString();

  SetupString& operator=(const SetupString& other);
  SetupString& operator=(SetupString&& other) noexcept;
  SetupString& operator=(const char* text);

  const char* text() const { return text_; }
  int length() const { return header()->length; }
  int capacity() const { return header()->capacity; }
  bool isEmpty() const { return header()->length == 0; }
  char operator[](int i) const { return text_[i]; }

  // Number of strings sharing the block; -1 for the shared empty string.
  int refCount() const { return header()->refCount.load(std::memory_order_relaxed); }
  bool sharesBlockWith(const SetupString& other) const { return text_ == other.text_; }

  // Drops this string's share of its block; the string is empty afterwards.
  void release();

  // Replaces the text with n bytes of data (which may lie inside this string).
  void assignBytes(int n, const char* data);

  // Gives this string a private block when it shares one.
  void makeUnique();

  // Opens the text for writing up to n bytes (plus a terminator). The length is
  // kept until unlockBuffer. Returns the writable text.
  char* lockBuffer(int n);
  // lockBuffer(n), and the length becomes n.
  char* lockBufferWithLength(int n);
  // Closes the text after writing: the length becomes n, or, for -1, the number
  // of bytes before the first zero byte.
  void unlockBuffer(int n = -1);

  void appendBytes(int n, const char* data);
  void append(const SetupString& other) { appendBytes(other.length(), other.text()); }
  void append(const char* text);
  void append(char ch) { appendBytes(1, &ch); }

  static SetupString concat(const SetupString& a, const SetupString& b);
  static SetupString concat(char ch, const SetupString& s);

  // Inserts text at pos (clamped to 0..length) and returns the new length.
  int insertText(int pos, const char* text);
  // Removes up to count bytes from pos.
  void eraseRange(int pos, int count);

  // The index of the first ch at or after start, or -1. The trail byte of a
  // double-byte character never matches.
  int findChar(char ch, int start = 0) const;

  SetupString substring(int first, int count) const;
  SetupString substringFrom(int first) const { return substring(first, length() - first); }
  SetupString prefix(int count) const;

  // printf-style formatting; the text is replaced.
  void format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));

  // Loads string-table entry `id` of `module`. True when the text is not empty.
  bool loadResourceText(platform::ModuleHandle module, int id);

 private:
  StringHeader* header() const { return reinterpret_cast<StringHeader*>(text_) - 1; }
  bool isSharedEmpty() const;
  bool isShared() const { return refCount() > 1; }
  // Replaces the block by a new private one of `capacity` bytes holding the first
  // `keep` bytes of the old text; the length becomes `keep`.
  void reallocate(int capacity, int keep);

  char* text_;
};

bool operator==(const SetupString& a, const SetupString& b);
bool operator==(const SetupString& a, const char* b);
inline bool operator!=(const SetupString& a, const SetupString& b) {
  return !(a == b);
}
inline bool operator!=(const SetupString& a, const char* b) {
  return !(a == b);
}
