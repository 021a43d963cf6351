// Plain geometry shared by every layer. Rect has the layout of a Win32 RECT
// (four 32-bit ints: left, top, right, bottom), so the Win32 layer may pass
// pointers to message parameters straight through.
#pragma once
#include <cstdint>

namespace tov {

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int32_t cx = 0;
  int32_t cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

inline Rect MakeRect(int32_t l, int32_t t, int32_t r, int32_t b) { return Rect{l, t, r, b}; }
inline Rect BoundsRect(int32_t x, int32_t y, int32_t w, int32_t h) { return Rect{x, y, x + w, y + h}; }

}  // namespace tov
