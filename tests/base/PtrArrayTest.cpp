#include "base/PtrArray.h"

#include <gtest/gtest.h>

namespace {

int gAlive = 0;

struct Counted {
  Counted() { ++gAlive; }
  virtual ~Counted() { --gAlive; }
};

struct Derived : Counted {
  ~Derived() override { --gAlive; }  // counts twice: proves the virtual destructor ran
  Derived() { ++gAlive; }
};

int v[8];

}  // namespace

TEST(PtrArray, GrowsBeforeTheLastSlotIsUsed) {
  PtrList<int> a(4);
  EXPECT_EQ(a.capacity(), 0);
  EXPECT_EQ(a.add(&v[0]), 0);
  EXPECT_EQ(a.capacity(), 4);
  a.add(&v[1]);
  a.add(&v[2]);
  EXPECT_EQ(a.capacity(), 4);  // count 3, capacity 4: one spare slot
  a.add(&v[3]);                // count + 1 >= capacity: grows first
  EXPECT_EQ(a.capacity(), 8);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(a.at(i), &v[i]);
}

TEST(PtrArray, InsertionIndicesAreChecked) {
  PtrList<int> a(6);
  EXPECT_EQ(a.insertAfter(-1, &v[1]), 1);  // empty array, front
  EXPECT_EQ(a.insertAt(a.count() + 1, &v[2]), 0);
  EXPECT_EQ(a.insertAt(-1, &v[2]), 0);
  EXPECT_EQ(a.insertAfter(1, &v[2]), 0);
  EXPECT_EQ(a.insertAt(1, &v[3]), 1);
  EXPECT_EQ(a.insertAfter(-1, &v[0]), 1);
  EXPECT_EQ(a.insertAt(2, &v[2]), 1);
  EXPECT_EQ(a.count(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(a.at(i), &v[i]);
  EXPECT_EQ(a.add(nullptr), -1);
  EXPECT_EQ(a.count(), 4);
}

TEST(PtrArray, InvalidIndicesNeverTouchMemory) {
  PtrList<int> a(10);
  EXPECT_EQ(a.at(0), nullptr);
  EXPECT_EQ(a.setAt(0, &v[0]), nullptr);
  EXPECT_EQ(a.removeAt(0), nullptr);
  a.add(&v[0]);
  EXPECT_EQ(a.at(-1), nullptr);
  EXPECT_EQ(a.at(1), nullptr);
  EXPECT_EQ(a.setAt(1, &v[1]), nullptr);
  EXPECT_EQ(a.count(), 1);
  EXPECT_EQ(a.setAt(0, &v[5]), &v[0]);
  EXPECT_EQ(a.at(0), &v[5]);
}

TEST(PtrArray, RemoveShiftsAndNeverShrinks) {
  PtrList<int> a(20);
  for (int i = 0; i < 5; ++i) a.add(&v[i]);
  EXPECT_EQ(a.removeAt(1), &v[1]);
  EXPECT_EQ(a.count(), 4);
  EXPECT_EQ(a.at(1), &v[2]);
  EXPECT_EQ(a.at(3), &v[4]);
  a.removeAll();
  EXPECT_EQ(a.count(), 0);
  EXPECT_EQ(a.capacity(), 20);
}

TEST(OwningList, DestroysWhatItHoldsAndReturnsWhatIsRemoved) {
  gAlive = 0;
  Counted* taken = nullptr;
  {
    OwningList<Counted> list(6);
    list.add(new Counted);
    list.add(new Derived);
    list.add(new Counted);
    EXPECT_EQ(gAlive, 4);
    taken = list.removeAt(0);
    list.insertAt(1, nullptr);  // a null slot is skipped when deleting
  }
  EXPECT_EQ(gAlive, 1);  // the removed element is the caller's again
  delete taken;
  EXPECT_EQ(gAlive, 0);

  OwningList<Counted> list(4);
  list.add(new Derived);
  list.deleteAll();
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(gAlive, 0);
}
