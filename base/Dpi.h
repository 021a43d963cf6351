// The scale a window is drawn at: the dots per inch of the monitor it is on.
// Every size the program keeps in its files (button sizes, margins, dock
// sizes, font sizes, the dialogs' forms) is in units of 96 DPI; a size on the
// screen is that size scaled by the window's Dpi. Scaling rounds to the
// nearest pixel, halves away from zero (as MulDiv does), so a size scaled up
// and back comes back unchanged at every scale of 96 DPI or more.
#pragma once
#include <cstdint>

namespace tov {

class Dpi {
 public:
  static constexpr int kBase = 96;  // 100 %
  // The lowest and highest scale taken; a value outside (a damaged message,
  // a zero from a system without the answer) is read as 96.
  static constexpr int kMin = 48;
  static constexpr int kMax = 960;

  constexpr Dpi() = default;
  constexpr explicit Dpi(int dpi) : value_(Valid(dpi) ? dpi : kBase) {}

  static constexpr bool Valid(int dpi) { return dpi >= kMin && dpi <= kMax; }

  constexpr int Value() const { return value_; }
  constexpr int Percent() const { return Round(int64_t(value_) * 100, kBase); }
  constexpr bool IsBase() const { return value_ == kBase; }

  // A size in 96-DPI units as pixels at this scale.
  constexpr int Scale(int units) const { return Round(int64_t(units) * value_, kBase); }
  // Pixels at this scale as 96-DPI units (what the files keep).
  constexpr int Unscale(int pixels) const { return Round(int64_t(pixels) * kBase, value_); }
  // A size given at another scale as pixels at this one.
  constexpr int From(int pixels, Dpi other) const { return Round(int64_t(pixels) * value_, other.value_); }

  friend constexpr bool operator==(Dpi, Dpi) = default;

 private:
  static constexpr int Round(int64_t n, int64_t d) {
    const int64_t q = n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d);
    return int(q);
  }
  int value_ = kBase;
};

}  // namespace tov
