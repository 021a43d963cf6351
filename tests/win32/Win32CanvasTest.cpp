// The GDI canvas and the host raster must agree pixel for pixel on
// everything but text, so that the host's painting tests hold on Windows.
#include <gtest/gtest.h>

#include <functional>

#include "platform/host/HostCanvas.h"
#include "platform/host/HostPlatform.h"
#include "platform/win32/Win32Canvas.h"
#include "platform/win32/Win32Text.h"

namespace tov::win32 {
namespace {

using Drawing = std::function<void(ICanvas&)>;

void ExpectSameOnBoth(int w, int h, const Drawing& draw) {
  host::HostCanvasFactory hostFactory;
  Win32CanvasFactory gdiFactory;
  auto a = hostFactory.CreateBitmapCanvas(w, h);
  auto b = gdiFactory.CreateBitmapCanvas(w, h);
  ASSERT_TRUE(b);
  draw(*a);
  draw(*b);
  Bitmap ha = a->ToBitmap(), hb = b->ToBitmap();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(ha.At(x, y), hb.At(x, y)) << "at " << x << "," << y << " of " << w << "x" << h;
}

TEST(Win32Canvas, GeometryMatchesTheHostRaster) {
  for (Size s : {Size{92, 21}, Size{40, 23}, Size{9, 7}, Size{100, 50}}) {
    ExpectSameOnBoth(s.cx + 4, s.cy + 4, [&](ICanvas& cv) {
      cv.FillRect({-3, -3, s.cx / 2, s.cy / 3}, RGB(10, 200, 30));
      cv.FrameRect({1, 1, s.cx - 1, s.cy - 1}, RGB(1, 2, 3));
      cv.RoundRect({0, 0, s.cx, s.cy}, 6, 6, RGB(200, 0, 0));
      cv.Line({0, s.cy - 1}, {0, 0}, RGB(0, 0, 255));
      cv.Line({0, 0}, {s.cx - 1, 0}, RGB(0, 0, 255));
      cv.Line({s.cx - 1, 0}, {s.cx - 1, s.cy - 1}, RGB(0, 255, 0));
      cv.SetPixel(s.cx + 1, s.cy + 1, RGB(5, 6, 7));
    });
  }
  ExpectSameOnBoth(8, 8, [](ICanvas& cv) { cv.RoundRect({0, 0, 8, 8}, 4, 4, 0); });
}

TEST(Win32Canvas, BitmapsAndCopiesHonourTheTransparentColour) {
  Bitmap bmp(4, 3, RGB(255, 0, 255));
  bmp.At(1, 1) = RGB(9, 8, 7);
  bmp.At(3, 2) = RGB(1, 2, 3);
  ExpectSameOnBoth(10, 6, [&](ICanvas& cv) {
    cv.FillRect({0, 0, 10, 6}, RGB(50, 60, 70));
    cv.DrawBitmap(bmp, 1, 1, RGB(255, 0, 255));
    cv.DrawBitmap(bmp, 6, 2);
  });
  Win32CanvasFactory gdi;
  auto src = gdi.CreateBitmapCanvas(3, 2);
  src->FillRect({0, 0, 3, 2}, RGB(255, 0, 255));
  src->SetPixel(2, 1, RGB(4, 4, 4));
  auto dst = gdi.CreateBitmapCanvas(4, 3);
  dst->FillRect({0, 0, 4, 3}, RGB(1, 1, 1));
  dst->CopyFrom(*src, {0, 0, 3, 2}, {1, 1}, RGB(255, 0, 255));
  EXPECT_EQ(dst->GetPixel(1, 1), RGB(1, 1, 1));
  EXPECT_EQ(dst->GetPixel(3, 2), RGB(4, 4, 4));
}

TEST(Win32Canvas, DcCanvasDrawsOnTheCallersDeviceContext) {
  Win32CanvasFactory gdi;
  auto backing = gdi.CreateBitmapCanvas(20, 10);
  HDC dc = CanvasDc(*backing);
  ASSERT_NE(dc, nullptr);
  {
    auto cv = MakeDcCanvas(dc, 20, 10);
    cv->FillRect({2, 2, 5, 5}, 0x8000000F);  // the button face, resolved
    cv->SetFont(FontSpec{"MS Sans Serif", 8, 0, 0});
    Size s = cv->TextExtent("Prova");
    EXPECT_GT(s.cx, 0);
    EXPECT_GT(s.cy, 0);
    Rect r{0, 0, 100, 100};
    EXPECT_EQ(cv->DrawTextIn("", r, kDtCalcRect | kDtWordBreak), s.cy);
    EXPECT_EQ(r, (Rect{0, 0, 0, 0}));
  }
  EXPECT_EQ(backing->GetPixel(3, 3), Color(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(backing->GetPixel(1, 1), RGB(255, 255, 255));
}

// Text is UTF-8 whatever the font: GDI reads narrow text in the code page of
// the font's character set (Windows-1252 for Tahoma), not the process's, so
// the canvas must hand the system wide text. The canvas's drawing and
// measures of captions in several scripts equal those of the wide calls.
TEST(Win32Canvas, TextInEveryScriptIsDrawnAsTheWideCallsDrawIt) {
  Win32CanvasFactory gdi;
  const FontSpec font{"Tahoma", 10, RGB(0, 0, 0), 0};
  for (const char* text : {"Caff\u00e8", "\u0414\u043e\u043a\u0443\u043c\u0435\u043d\u0442\u044b", "\u65e5\u672c\u8a9e",
                           "\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac"}) {
    SCOPED_TRACE(text);
    auto ours = gdi.CreateBitmapCanvas(120, 40);
    auto wide = gdi.CreateBitmapCanvas(120, 40);
    for (ICanvas* cv : {ours.get(), wide.get()}) {
      cv->FillRect({0, 0, 120, 40}, RGB(255, 255, 255));
      cv->SetFont(font);
    }
    const Size measured = ours->TextExtent(text);
    ours->TextAt(2, 2, text);
    Rect r{2, 20, 118, 38};
    ours->DrawTextIn(text, r, kDtSingleLine);

    HDC dc = CanvasDc(*wide);
    const std::wstring w = WideText(text);
    SIZE s{};
    GetTextExtentPoint32W(dc, w.c_str(), int(w.size()), &s);
    EXPECT_EQ(measured, (Size{int32_t(s.cx), int32_t(s.cy)}));
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 2, 2, w.c_str(), int(w.size()));
    RECT rc{2, 20, 118, 38};
    DrawTextW(dc, w.c_str(), int(w.size()), &rc, DT_SINGLELINE);
    Bitmap a = ours->ToBitmap(), b = wide->ToBitmap();
    int differing = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 120; ++x)
        differing += a.At(x, y) != b.At(x, y);
    EXPECT_EQ(differing, 0);
  }
}

}  // namespace
}  // namespace tov::win32
