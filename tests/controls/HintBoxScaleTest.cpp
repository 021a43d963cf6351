// The hint box on a dialog at 150 %: painted in its units through the
// dialog's scale, its text is drawn with the font made at that scale (rows as
// tall as that font's), its padding and shadow grow with it and its frame
// stays one pixel wide. Compared pixel by pixel with the same box at 100 %.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/HintBox.h"
#include "platform/DpiCanvas.h"
#include "platform/host/HostCanvas.h"
#include "platform/host/HostPlatform.h"

namespace tov {
namespace {

constexpr Color kText = RGB(0, 0, 160);
constexpr Color kFill = RGB(255, 255, 200);
constexpr Color kShade = RGB(90, 90, 90);

struct Run {
  int x, y;
  std::string text;
  uint32_t style = 0;
};

// The box painted at a scale, in pixels.
Bitmap PaintedAt(int dpi, int w, int h, const std::vector<std::string>& lines) {
  THintBox b;
  b.SetSize(w, h);
  b.SetColor(kFill);
  b.SetShadowColor(kShade);
  b.SetFont(FontSpec{"Tahoma", 8, 0, kText});
  b.SetLines(lines);
  auto px = Canvases().CreateBitmapCanvas(Dpi(dpi).Scale(w), Dpi(dpi).Scale(h));
  DpiCanvas units(*px, Dpi(dpi));
  b.Paint(units);
  return px->ToBitmap();
}

// "" when the text pixels are exactly those of the runs, drawn in pixels
// with the font at `dpi`.
std::string TextDiff(const Bitmap& got, int dpi, const std::vector<Run>& runs) {
  auto cv = Canvases().CreateBitmapCanvas(got.width, got.height);
  for (const Run& r : runs) {
    FontSpec f{"Tahoma", 8, r.style, kText};
    f.dpi = dpi;
    cv->SetFont(f);
    cv->TextAt(r.x, r.y, r.text);
  }
  const Bitmap want = cv->ToBitmap();
  for (int y = 0; y < got.height; ++y)
    for (int x = 0; x < got.width; ++x)
      if ((got.At(x, y) == kText) != (want.At(x, y) == kText))
        return "text pixels differ first at " + std::to_string(x) + "," + std::to_string(y);
  return "";
}

TEST(HintBoxScale, TextPaddingAndShadowFollowTheScale) {
  host::HostPlatform hp;
  const std::vector<std::string> lines = {"uno due", "<b>tre</b>"};
  // 100 %: padding 4, rows 13 pixels, shadow 4.
  const Bitmap at100 = PaintedAt(96, 120, 60, lines);
  EXPECT_EQ(TextDiff(at100, 96, {{4, 4, "uno due"}, {4, 17, "tre", kFontBold}}), "");
  // 150 %: padding 6, rows as tall as the font at 144 DPI (18 pixels), the
  // same words at the font's own size there.
  const Bitmap at150 = PaintedAt(144, 120, 60, lines);
  ASSERT_EQ(at150.width, 180);
  ASSERT_EQ(at150.height, 90);
  FontSpec big{"Tahoma", 8, 0, kText};
  big.dpi = 144;
  EXPECT_EQ(host::FontLineHeight(big), 18);
  EXPECT_EQ(TextDiff(at150, 144, {{6, 6, "uno due"}, {6, 24, "tre", kFontBold}}), "");
  // The box ends 6 pixels before the right and bottom edges; the shadow
  // fills those 6, from 6 pixels in.
  for (const auto& [bmp, shadow] : {std::pair{at100, 4}, std::pair{at150, 6}}) {
    const int w = bmp.width, h = bmp.height;
    SCOPED_TRACE(w);
    EXPECT_EQ(bmp.At(w - shadow - 1, h / 2), clBlack) << "the frame, one pixel wide";
    EXPECT_EQ(bmp.At(w - shadow - 2, h / 2), kFill);
    EXPECT_EQ(bmp.At(w - shadow, h / 2), kShade);
    EXPECT_EQ(bmp.At(w - 1, h - 1), kShade);
    EXPECT_NE(bmp.At(w - 1, shadow - 1), kShade) << "the shadow starts " << shadow << " pixels down";
    EXPECT_EQ(bmp.At(w - 1, shadow), kShade);
  }
}

}  // namespace
}  // namespace tov
