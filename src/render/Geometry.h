// Points, sizes and rectangles in pixels, laid out as the Windows POINT, SIZE and
// RECT. Rectangles exclude their right and bottom edges; y grows downwards.
#pragma once

struct Point {
  int x = 0;
  int y = 0;
};

struct Size {
  int cx = 0;
  int cy = 0;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
};

// The common part of a and b; empty (all zero) when they do not meet.
Rect Intersect(const Rect& a, const Rect& b);
// The smallest rectangle holding both; an empty one counts as nothing.
Rect Union(const Rect& a, const Rect& b);

inline bool operator==(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
