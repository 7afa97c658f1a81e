#include "base/SetupString.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "base/Memory.h"
#include "platform/Resources.h"
#include "platform/Text.h"

namespace {

struct EmptyBlock {
  StringHeader header;
  char text[4];
};

// Never written: every write path checks for it first.
EmptyBlock gEmpty = {{-1, 0, 0}, {0, 0, 0, 0}};

constexpr int kMaxCapacity = INT_MAX - int(sizeof(StringHeader)) - 16;

// A private block for `capacity` bytes, holding `length` bytes still to be written.
char* newBlock(int capacity, int length) {
  if (capacity == 0) return gEmpty.text;
  if (capacity < 0 || capacity > kMaxCapacity) outOfMemory();
  void* block = std::malloc(sizeof(StringHeader) + std::size_t(capacity) + 1);
  if (block == nullptr) outOfMemory();
  auto* header = static_cast<StringHeader*>(block);
  new (&header->refCount) std::atomic<std::int32_t>(1);
  header->length = length;
  header->capacity = capacity;
  char* text = reinterpret_cast<char*>(header + 1);
  text[length] = '\0';
  return text;
}

char* newBlockWith(int n, const char* data) {
  char* text = newBlock(n, n);
  if (n > 0) std::memcpy(text, data, std::size_t(n));
  return text;
}

int checkedSum(int a, int b) {
  if (b > kMaxCapacity - a) outOfMemory();
  return a + b;
}

int textLength(const char* text) {
  const std::size_t n = text != nullptr ? std::strlen(text) : 0;
  if (n > std::size_t(kMaxCapacity)) outOfMemory();
  return int(n);
}

}  // namespace

SetupString::SetupString() : text_(gEmpty.text) {}

SetupString::SetupString(const char* text) : text_(newBlockWith(textLength(text), text)) {}

SetupString::SetupString(char ch, int count) : text_(gEmpty.text) {
  if (count <= 0) return;
  text_ = newBlock(count, count);
  std::memset(text_, ch, std::size_t(count));
}

SetupString::SetupString(const SetupString& other) : text_(gEmpty.text) {
  if (other.refCount() < 0) {
    text_ = newBlockWith(other.length(), other.text_);
  } else {
    other.header()->refCount.fetch_add(1, std::memory_order_relaxed);
    text_ = other.text_;
  }
}

SetupString::SetupString(SetupString&& other) noexcept : text_(other.text_) {
  other.text_ = gEmpty.text;
}

SetupString::~SetupString() {
  release();
}

SetupString& SetupString::operator=(const SetupString& other) {
  if (text_ == other.text_) return *this;
  if ((refCount() < 0 && !isSharedEmpty()) || other.refCount() < 0) {
    assignBytes(other.length(), other.text_);
  } else {
    other.header()->refCount.fetch_add(1, std::memory_order_relaxed);
    release();
    text_ = other.text_;
  }
  return *this;
}

SetupString& SetupString::operator=(SetupString&& other) noexcept {
  if (this != &other) {
    release();
    text_ = other.text_;
    other.text_ = gEmpty.text;
  }
  return *this;
}

SetupString& SetupString::operator=(const char* text) {
  assignBytes(textLength(text), text);
  return *this;
}

bool SetupString::isSharedEmpty() const {
  return text_ == gEmpty.text;
}

void SetupString::release() {
  if (isSharedEmpty()) return;
  if (header()->refCount.fetch_sub(1, std::memory_order_acq_rel) - 1 <= 0) {
    std::free(header());
  }
  text_ = gEmpty.text;
}

void SetupString::reallocate(int capacity, int keep) {
  char* fresh = newBlock(capacity, keep);
  if (keep > 0) std::memcpy(fresh, text_, std::size_t(keep));
  release();
  text_ = fresh;
}

void SetupString::assignBytes(int n, const char* data) {
  if (n < 0) n = 0;
  if (isShared() || capacity() < n) {
    char* fresh = newBlockWith(n, data);  // before release: data may lie in the old block
    release();
    text_ = fresh;
    return;
  }
  if (isSharedEmpty()) return;
  std::memmove(text_, data, std::size_t(n));
  header()->length = n;
  text_[n] = '\0';
}

void SetupString::makeUnique() {
  if (refCount() >= 2) reallocate(length(), length());
}

char* SetupString::lockBuffer(int n) {
  if (isShared() || capacity() < n) reallocate(n > length() ? n : length(), length());
  return text_;
}

char* SetupString::lockBufferWithLength(int n) {
  lockBuffer(n);
  if (!isSharedEmpty()) {
    header()->length = n;
    text_[n] = '\0';
  }
  return text_;
}

void SetupString::unlockBuffer(int n) {
  makeUnique();
  if (isSharedEmpty()) return;
  if (n == -1) n = int(strnlen(text_, std::size_t(capacity())));
  header()->length = n;
  text_[n] = '\0';
}

void SetupString::appendBytes(int n, const char* data) {
  if (n <= 0 || data == nullptr) return;
  const int total = checkedSum(length(), n);
  if (!isShared() && capacity() >= total) {
    std::memcpy(text_ + length(), data, std::size_t(n));
    header()->length = total;
    text_[total] = '\0';
    return;
  }
  char* fresh = newBlock(total, total);
  std::memcpy(fresh, text_, std::size_t(length()));
  std::memcpy(fresh + length(), data, std::size_t(n));
  release();
  text_ = fresh;
}

void SetupString::append(const char* text) {
  appendBytes(textLength(text), text);
}

SetupString SetupString::concat(const SetupString& a, const SetupString& b) {
  SetupString out;
  const int total = checkedSum(a.length(), b.length());
  if (total == 0) return out;
  out.text_ = newBlock(total, total);
  std::memcpy(out.text_, a.text_, std::size_t(a.length()));
  std::memcpy(out.text_ + a.length(), b.text_, std::size_t(b.length()));
  return out;
}

SetupString SetupString::concat(char ch, const SetupString& s) {
  SetupString out;
  const int total = checkedSum(1, s.length());
  out.text_ = newBlock(total, total);
  out.text_[0] = ch;
  std::memcpy(out.text_ + 1, s.text_, std::size_t(s.length()));
  return out;
}

int SetupString::insertText(int pos, const char* text) {
  const int n = textLength(text);
  if (n == 0) return length();
  if (pos < 0) pos = 0;
  if (pos > length()) pos = length();

  // The text may be part of this very string, which the move below would shift.
  const bool inside = text >= text_ && text <= text_ + capacity();
  SetupString copy;
  if (inside) {
    copy.assignBytes(n, text);
    text = copy.text_;
  }

  makeUnique();
  const int total = checkedSum(length(), n);
  if (capacity() < total) reallocate(total, length());
  std::memmove(text_ + pos + n, text_ + pos, std::size_t(length() - pos) + 1);
  std::memcpy(text_ + pos, text, std::size_t(n));
  header()->length = total;
  return total;
}

void SetupString::eraseRange(int pos, int count) {
  if (pos < 0) pos = 0;
  if (count <= 0 || pos >= length()) return;
  if (count > length() - pos) count = length() - pos;
  makeUnique();
  std::memmove(text_ + pos, text_ + pos + count, std::size_t(length() - pos - count) + 1);
  header()->length -= count;
}

int SetupString::findChar(char ch, int start) const {
  if (start < 0) start = 0;
  for (int i = start; i < length(); ++i) {
    if (text_[i] == ch) return i;
    if (platform::isLeadByte((unsigned char)text_[i]) && i + 1 < length()) ++i;
  }
  return -1;
}

SetupString SetupString::substring(int first, int count) const {
  if (first < 0) first = 0;
  if (count < 0) count = 0;
  if (first > length()) return SetupString();
  if (count > length() - first) count = length() - first;
  if (first == 0 && count == length()) return *this;
  SetupString out;
  out.text_ = newBlockWith(count, text_ + first);
  return out;
}

SetupString SetupString::prefix(int count) const {
  if (count < 0) count = 0;
  if (count >= length()) return *this;
  SetupString out;
  out.text_ = newBlockWith(count, text_);
  return out;
}

void SetupString::format(const char* fmt, ...) {
  // Measure first, then write into a block of exactly that size: no estimate of
  // the output can fall short of what the conversion writes.
  va_list args;
  va_start(args, fmt);
  va_list again;
  va_copy(again, args);
  const int needed = std::vsnprintf(nullptr, 0, fmt, args);
  va_end(args);
  if (needed <= 0) {
    va_end(again);
    assignBytes(0, "");
    return;
  }
  // A fresh block, because an argument may be this string's own text.
  SetupString out;
  char* buffer = out.lockBuffer(needed);
  std::vsnprintf(buffer, std::size_t(needed) + 1, fmt, again);
  va_end(again);
  out.unlockBuffer(needed);
  *this = std::move(out);
}

bool SetupString::loadResourceText(platform::ModuleHandle module, int id) {
  char first[256];
  int loaded = platform::loadString(module, id, first, sizeof first);
  if (256 - loaded > 2) {
    assignBytes(loaded, first);
    return loaded > 0;
  }
  // The entry filled the buffer: try again with more room until it no longer does.
  for (int size = 512;; size += 256) {
    char* buffer = lockBuffer(size - 1);
    loaded = platform::loadString(module, id, buffer, size);
    if (size - loaded > 2) break;
  }
  unlockBuffer(-1);
  return !isEmpty();
}

bool operator==(const SetupString& a, const SetupString& b) {
  return a.length() == b.length() && std::memcmp(a.text(), b.text(), std::size_t(a.length())) == 0;
}

bool operator==(const SetupString& a, const char* b) {
  const std::size_t n = b != nullptr ? std::strlen(b) : 0;
  return std::size_t(a.length()) == n && std::memcmp(a.text(), b ? b : "", n) == 0;
}
