// PtrArray: a growable array of pointer slots, and its typed and owning kinds.
//
// Each kind fixes a growth step: before k elements are inserted the array grows
// while count + k >= capacity, by `growStep` zero-filled slots at a time, so one
// slot is always spare. Storage never shrinks. Invalid indices never touch memory.
// An owning kind destroys its elements on deleteAll and in its destructor; an
// element taken out with removeAt or setAt becomes the caller's again.
#pragma once

class PtrArray {
 public:
  explicit PtrArray(int growStep) : growStep_(growStep) {}
  PtrArray(const PtrArray&) = delete;
  PtrArray& operator=(const PtrArray&) = delete;
  virtual ~PtrArray();

  // count = 0; storage and elements are left alone.
  virtual void removeAll();
  // Takes element i out and returns it, or null for an invalid index. Every kind
  // shares this one; the typed kinds only give it their element type.
  void* removeAt(int i);

  int count() const { return count_; }
  int capacity() const { return capacity_; }
  int growStep() const { return growStep_; }
  bool isValidIndex(int i) const { return i >= 0 && i < count_; }

  void* at(int i) const { return isValidIndex(i) ? storage_[i] : nullptr; }
  // Stores v at a valid index and returns what was there; null otherwise.
  void* setAt(int i, void* v);
  // Inserts at 0 <= i <= count. 1 on success, 0 for a bad index or failed growth.
  int insertAt(int i, void* v);
  // Inserts after i (-1: at the front). Same results as insertAt.
  int insertAfter(int i, void* v);
  // Appends a non-null v; its index, or -1.
  int add(void* v);

 private:
  bool growFor(int k);

  void** storage_ = nullptr;
  int count_ = 0;
  int capacity_ = 0;
  const int growStep_;
};

// A PtrArray of T that does not own its elements.
template <class T>
class PtrList : public PtrArray {
 public:
  explicit PtrList(int growStep) : PtrArray(growStep) {}

  T* at(int i) const { return static_cast<T*>(PtrArray::at(i)); }
  T* setAt(int i, T* v) { return static_cast<T*>(PtrArray::setAt(i, v)); }
  T* removeAt(int i) { return static_cast<T*>(PtrArray::removeAt(i)); }
  int insertAt(int i, T* v) { return PtrArray::insertAt(i, v); }
  int insertAfter(int i, T* v) { return PtrArray::insertAfter(i, v); }
  int add(T* v) { return PtrArray::add(v); }
};

// A PtrArray of T that owns its elements from insertion on and deletes them; a
// polymorphic T is deleted through its own virtual destructor.
template <class T>
class OwningList : public PtrList<T> {
 public:
  explicit OwningList(int growStep) : PtrList<T>(growStep) {}
  ~OwningList() override { deleteAll(); }

  void deleteAll() {
    for (int i = 0; i < this->count(); ++i) {
      if (T* element = this->at(i)) {
        delete element;
        this->setAt(i, nullptr);
      }
    }
    this->removeAll();
  }
};
