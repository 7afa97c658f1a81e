#include "base/PtrArray.h"

#include <climits>
#include <cstdlib>
#include <cstring>

PtrArray::~PtrArray() {
  std::free(storage_);
  storage_ = nullptr;
  count_ = capacity_ = 0;
}

void PtrArray::removeAll() {
  count_ = 0;
}

void* PtrArray::removeAt(int i) {
  if (!isValidIndex(i)) return nullptr;
  void* element = storage_[i];
  std::memmove(storage_ + i, storage_ + i + 1, sizeof(void*) * std::size_t(count_ - i - 1));
  --count_;
  storage_[count_] = nullptr;
  return element;
}

void* PtrArray::setAt(int i, void* v) {
  if (!isValidIndex(i)) return nullptr;
  void* previous = storage_[i];
  storage_[i] = v;
  return previous;
}

bool PtrArray::growFor(int k) {
  while (count_ + k >= capacity_) {
    if (growStep_ <= 0 || capacity_ > INT_MAX / int(sizeof(void*)) - growStep_) return false;
    const int grown = capacity_ + growStep_;
    void** fresh = static_cast<void**>(std::calloc(std::size_t(grown), sizeof(void*)));
    if (fresh == nullptr) return false;
    if (count_ > 0) std::memcpy(fresh, storage_, sizeof(void*) * std::size_t(count_));
    std::free(storage_);
    storage_ = fresh;
    capacity_ = grown;
  }
  return true;
}

int PtrArray::insertAt(int i, void* v) {
  if (i < 0 || i > count_ || !growFor(1)) return 0;
  std::memmove(storage_ + i + 1, storage_ + i, sizeof(void*) * std::size_t(count_ - i));
  storage_[i] = v;
  ++count_;
  return 1;
}

int PtrArray::insertAfter(int i, void* v) {
  if (i < -1 || i >= count_) return 0;
  return insertAt(i + 1, v);
}

int PtrArray::add(void* v) {
  if (v == nullptr) return -1;
  return insertAfter(count_ - 1, v) ? count_ - 1 : -1;
}
