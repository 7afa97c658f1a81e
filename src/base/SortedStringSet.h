// SortedStringSet: an owning PtrArray kept in ascending order without duplicates.
//
// Its elements are records that begin with a SetupString (a plain SetupString, or
// a record such as a file-type entry, led by its ProgID); `leadingString` names
// that string for each element type, and the set's comparator orders by it.
#pragma once

#include "base/PtrArray.h"
#include "base/SetupString.h"

using StringCompare = int (*)(const SetupString& a, const SetupString& b);

// Case-insensitive order in the ANSI code page: single bytes compare after upper-
// casing through the code page's table, double-byte characters compare as they are.
int compareNoCase(const SetupString& a, const SetupString& b);
// Plain byte order.
int compareExact(const SetupString& a, const SetupString& b);

inline const SetupString& leadingString(const SetupString& s) {
  return s;
}

template <class T>
class SortedStringSet : public OwningList<T> {
 public:
  SortedStringSet(int growStep, StringCompare compare)
      : OwningList<T>(growStep), compare_(compare) {}

  StringCompare comparator() const { return compare_; }

  // The index of the element whose leading string equals key, or -1. `hint`, when
  // given, receives the last index probed (0 for an empty set).
  int findSorted(const SetupString& key, int* hint = nullptr) const {
    int lo = 0;
    int hi = this->count() - 1;
    int mid = 0;
    int found = -1;
    while (lo <= hi) {
      mid = (lo + hi + 1) / 2;
      const int r = compare_(leadingString(*this->at(mid)), key);
      if (r == 0) {
        found = mid;
        break;
      }
      if (r < 0) {
        lo = mid + 1;
      } else {
        hi = mid - 1;
      }
    }
    if (hint != nullptr) *hint = mid;
    return found;
  }

  // Adopts element at its place in the order and returns its index; -1, with the
  // element still the caller's, when an equal one exists or insertion failed.
  int insertSorted(T* element) {
    const SetupString& key = leadingString(*element);
    int at = 0;
    if (findSorted(key, &at) >= 0) return -1;
    while (at < this->count() && compare_(leadingString(*this->at(at)), key) < 0) ++at;
    return this->insertAt(at, element) ? at : -1;
  }

  // Adopts element when no equal one exists. False for null, for a duplicate (the
  // element stays the caller's) and for a failed insertion.
  bool addUnique(T* element) { return element != nullptr && insertSorted(element) >= 0; }

 private:
  StringCompare compare_;
};

// A case-insensitive set of file extensions, stored without their leading dots.
class ExtensionSet : public SortedStringSet<SetupString> {
 public:
  static constexpr int kGrowStep = 4;
  ExtensionSet() : SortedStringSet(kGrowStep, compareNoCase) {}

  // The index of the extension, written with or without one leading dot; -1.
  int findExtension(const char* text) const;
  // Adds the extension without its leading dots. False for empty text, for text
  // made only of dots, for an extension already present and for a failed insertion.
  bool addExtension(const char* text);
};
