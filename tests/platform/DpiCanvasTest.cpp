// A dialog laid out in 96-DPI units is realised in the pixels of its
// monitor: the rounding must never open a gap or an overlap between
// neighbours, what is measured at a scale must still fit the room the logic
// gives it, and a picture painted in units must land on the scaled pixels.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/DpiCanvas.h"
#include "platform/host/HostCanvas.h"
#include "platform/host/HostPlatform.h"

namespace tov {
namespace {

constexpr int kScales[] = {96, 120, 144, 168, 192, 240};

TEST(DpiCanvas, RectanglesScaleEdgeByEdgeAndComeBack) {
  for (int value : kScales) {
    const Dpi dpi(value);
    SCOPED_TRACE(value);
    // A row of controls that touch in units touch in pixels, and every
    // rectangle comes back from pixels as it was (the sizes kept on disk).
    for (int left = 0; left < 60; ++left) {
      const Rect a{left, 3, left + 7, 24}, b{left + 7, 3, left + 20, 24};
      const Rect pa = ScaleRect(dpi, a), pb = ScaleRect(dpi, b);
      EXPECT_EQ(pa.right, pb.left);
      EXPECT_EQ(UnscaleRect(dpi, pa), a);
      EXPECT_EQ(UnscaleRect(dpi, pb), b);
      // Sizes differ from the exact scale by a pixel at most.
      EXPECT_LE(std::abs(pa.Width() * 96 - a.Width() * value), 96);
    }
    // Text measured in pixels fits the units it is given back as.
    for (int px = 0; px < 300; ++px) {
      const int units = UnscaleUp(dpi, px);
      EXPECT_GE(dpi.Scale(units), px);
      EXPECT_LT(dpi.Scale(units - 1), px) << "one unit less would hold them too";
    }
  }
  // Negative places (a control scrolled above its box) round as positive ones.
  EXPECT_EQ(ScaleRect(Dpi(144), Rect{-3, -1, 1, 3}), (Rect{-5, -2, 2, 5}));
}

TEST(DpiCanvas, FontsAreMadeAtTheScaleNotStretched) {
  FontSpec f;
  f.size = 8;
  EXPECT_EQ(ScaleFont(Dpi(96), f).dpi, 96);  // explicit: the screen may be at another scale
  EXPECT_EQ(ScaleFont(Dpi(144), f).dpi, 144);
  f.dpi = 120;  // a font the logic sized for 125 %, shown at 150 %
  EXPECT_EQ(ScaleFont(Dpi(144), f).dpi, 180);
  EXPECT_EQ(ScaleFont(Dpi(144), f).size, 8);
}

// What a painted control draws in units, at 100 % and at 150 %.
TEST(DpiCanvas, PaintsInUnitsOnPixels) {
  host::HostPlatform hp;
  auto px = Canvases().CreateBitmapCanvas(30, 15);  // 20 x 10 units at 150 %
  DpiCanvas cv(*px, Dpi(144));
  EXPECT_EQ(cv.Width(), 20);
  EXPECT_EQ(cv.Height(), 10);
  cv.FillRect(Rect{0, 0, 20, 10}, RGB(255, 255, 255));
  cv.FillRect(Rect{1, 1, 3, 3}, 0);  // pixels 2..4 (edges 1.5 -> 2, 4.5 -> 5)
  EXPECT_EQ(px->GetPixel(1, 1), RGB(255, 255, 255));
  EXPECT_EQ(px->GetPixel(2, 2), 0u);
  EXPECT_EQ(px->GetPixel(4, 4), 0u);
  EXPECT_EQ(px->GetPixel(5, 5), RGB(255, 255, 255));
  // A frame stays one pixel wide on the scaled rectangle.
  cv.FrameRect(Rect{4, 4, 10, 8}, RGB(0, 0, 255));
  EXPECT_EQ(px->GetPixel(6, 6), RGB(0, 0, 255));
  EXPECT_EQ(px->GetPixel(7, 7), RGB(255, 255, 255));
  EXPECT_EQ(px->GetPixel(14, 11), RGB(0, 0, 255));
  // A unit's pixel covers every pixel it scales to: a dotted line stays dotted.
  cv.SetPixel(12, 0, RGB(255, 0, 0));
  EXPECT_EQ(px->GetPixel(18, 0), RGB(255, 0, 0));
  EXPECT_EQ(px->GetPixel(19, 0), RGB(255, 0, 0));
  EXPECT_EQ(px->GetPixel(17, 0), RGB(255, 255, 255));
  EXPECT_EQ(px->GetPixel(20, 0), RGB(255, 255, 255));
}

TEST(DpiCanvas, TextIsMeasuredAtTheScaleAndFitsItsUnits) {
  host::HostPlatform hp;
  FontSpec f;
  f.size = 8;
  f.color = 0;
  const std::string text = "Settings";
  for (int value : {96, 144, 192}) {
    SCOPED_TRACE(value);
    auto px = Canvases().CreateBitmapCanvas(400, 100);
    DpiCanvas cv(*px, Dpi(value));
    cv.SetFont(f);
    // The pixels' font is made at the scale: its extent is the text model's
    // at that DPI, and its units hold it.
    FontSpec atScale = f;
    atScale.dpi = value;
    int width = 0;
    for (char c : text)
      width += host::CharAdvance(atScale, c);
    const Size units = cv.TextExtent(text);
    EXPECT_GE(Dpi(value).Scale(units.cx), width);
    EXPECT_LT(Dpi(value).Scale(units.cx - 1), width);
    EXPECT_GE(Dpi(value).Scale(units.cy), host::FontLineHeight(atScale));
    // DrawText's measuring gives units that hold the drawn text.
    Rect r{2, 2, 300, 60};
    cv.DrawTextIn(text, r, kDtCalcRect | kDtSingleLine);
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.right - r.left, units.cx);
    // Drawn at a place in units, its first ink is at the scaled place.
    cv.FillRect(Rect{0, 0, cv.Width(), cv.Height()}, RGB(255, 255, 255));
    cv.TextAt(10, 4, "M");
    const int x0 = Dpi(value).Scale(10), y0 = Dpi(value).Scale(4);
    EXPECT_EQ(px->GetPixel(x0, y0 + 2), 0u);
    EXPECT_EQ(px->GetPixel(x0 - 1, y0 + 2), RGB(255, 255, 255));
    EXPECT_EQ(px->GetPixel(x0, y0 + 1), RGB(255, 255, 255));
  }
}

}  // namespace
}  // namespace tov
