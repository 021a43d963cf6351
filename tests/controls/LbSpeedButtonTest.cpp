// Golden pixels of the speed button on the host canvas, its placement
// arithmetic, and its mouse behaviour on a parent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/ButtonHost.h"
#include "controls/LbSpeedButton.h"
#include "platform/host/HostCanvas.h"
#include "platform/host/HostPlatform.h"

namespace tov {
namespace {

constexpr Color kBg = RGB(100, 100, 100);
constexpr Color kLight = RGB(250, 250, 250);
constexpr Color kShadow = RGB(20, 20, 20);
constexpr Color kText = RGB(0, 0, 200);
constexpr Color kHot = RGB(200, 150, 50);
const FontSpec kFont{"MS Sans Serif", 8, 0, kText};

struct Paint {
  int w = 60, h = 21, hotStep = 0, numGlyphs = 0;
  Bitmap glyph;
  bool down = false, inside = false, transparent = false, enabled = true, flat = false, wrap = false;
  TLbSpeedButtonStyle style = bsNormal;
  Color hot = clNone;
  TLbSpeedButtonLayout layout = blGlyphLeft;
  std::string caption;
  TAlignment alignment = taCenter;

  Bitmap Run() const {
    auto cv = Canvases().CreateBitmapCanvas(w, h);
    cv->FillRect({0, 0, w, h}, clFuchsia);
    LbPaintButton(*cv, w, h, hotStep, numGlyphs, glyph, down, inside, transparent, enabled, flat, wrap, false, style,
                  kBg, clNone, hot, kLight, kShadow, kFont, layout, caption, alignment);
    return cv->ToBitmap();
  }
};

// A glyph strip of n images of 8 x 8, image i in colour (i + 1) * 40 with a
// transparent bottom-left corner pixel colour (1, 2, 3).
Bitmap Strip(int n) {
  Bitmap b(8 * n, 8);
  for (int i = 0; i < n; ++i)
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        b.At(i * 8 + x, y) = (x == 0 && y == 7) ? RGB(1, 2, 3) : RGB(uint8_t((i + 1) * 40), 0, 0);
  return b;
}

TEST(LbPaintButton, FlatNormalShowsItsRaisedBorderOnlyUnderTheMouse) {
  host::HostPlatform hp;
  Paint p;
  p.flat = true;
  p.hot = kHot;
  p.caption = "Abc";
  Bitmap out = p.Run();
  EXPECT_EQ(out.At(0, 0), kBg);  // no border
  EXPECT_EQ(out.At(59, 20), kBg);
  // "Abc" is 15 wide, centred: the "A" box starts at (4 + 56 - 15) / 2 = 22, row 4 + 2.
  EXPECT_EQ(out.At(22, 6), kText);
  EXPECT_EQ(out.At(21, 6), kBg);
  EXPECT_EQ(out.At(22, 5), kBg);
  p.inside = true;
  p.hotStep = 8;
  out = p.Run();
  EXPECT_EQ(out.At(0, 20), kLight);   // left edge, from the bottom
  EXPECT_EQ(out.At(58, 0), kLight);   // top edge
  EXPECT_EQ(out.At(59, 0), kShadow);  // right edge from the top corner
  EXPECT_EQ(out.At(1, 20), kShadow);  // bottom edge
  EXPECT_EQ(out.At(50, 10), kHot);    // the hot-track background
  p.hotStep = 4;                      // half and half, truncated
  EXPECT_EQ(p.Run().At(50, 10), RGB(150, 125, 75));
}

TEST(LbPaintButton, PressedMovesContentAndSinksTheBorderDisabledNeverPresses) {
  host::HostPlatform hp;
  Paint p;
  p.caption = "Abc";
  p.glyph = Strip(1);
  p.numGlyphs = 1;
  p.alignment = taLeftJustify;
  Bitmap up = p.Run();
  p.down = true;
  Bitmap down = p.Run();
  // Icon at (4, (21 - 8) / 2) = (4, 6), text box at x = 4 + 8 + 4.
  EXPECT_EQ(up.At(5, 6), RGB(40, 0, 0));
  EXPECT_EQ(up.At(4, 13), kBg);  // the transparent corner
  EXPECT_EQ(up.At(16, 6), kText);
  EXPECT_EQ(down.At(5, 6), kBg);
  EXPECT_EQ(down.At(6, 7), RGB(40, 0, 0));
  EXPECT_EQ(down.At(17, 7), kText);
  EXPECT_EQ(down.At(16, 6), kBg);
  EXPECT_EQ(down.At(0, 0), kShadow);  // sunken: shadow top-left
  EXPECT_EQ(down.At(59, 20), kLight);
  EXPECT_EQ(up.At(0, 0), kLight);

  p.enabled = false;  // down is ignored; text grey; one glyph has no disabled image
  Bitmap off = p.Run();
  EXPECT_EQ(off.At(0, 0), kLight);
  EXPECT_EQ(off.At(16, 6), clGray);
  EXPECT_EQ(off.At(5, 6), kBg);
  p.glyph = Strip(2);
  p.numGlyphs = 2;
  EXPECT_EQ(p.Run().At(5, 6), RGB(80, 0, 0));  // the second image
}

TEST(LbPaintButton, GlyphChoiceByState) {
  host::HostPlatform hp;
  Paint p;
  p.glyph = Strip(4);
  p.numGlyphs = 4;
  p.alignment = taLeftJustify;
  p.inside = true;
  EXPECT_EQ(p.Run().At(5, 6), RGB(160, 0, 0));  // hot: the fourth
  p.down = true;
  EXPECT_EQ(p.Run().At(6, 7), RGB(120, 0, 0));  // down wins over hot: the third
  p.numGlyphs = 3;
  p.glyph = Strip(3);
  p.down = false;
  EXPECT_EQ(p.Run().At(5, 6), RGB(40, 0, 0));  // three images: hot shows the first
}

TEST(LbPaintButton, CaptionIsCutWithoutWordWrapAndBreaksIntoACentredBlockWithIt) {
  host::HostPlatform hp;
  auto cv = Canvases().CreateBitmapCanvas(30, 21);
  cv->SetFont(kFont);
  // avail 22: "Abcdef" is 28 wide, "Abcd" 20.
  ButtonPlacement cut = PlaceButtonContent(*cv, 30, 21, 0, 0, 0, false, blGlyphLeft, "Abcdef", taCenter);
  EXPECT_EQ(cut.caption, "Abcd");
  EXPECT_EQ(cut.textBox, BoundsRect(4, 4, 22, 13));
  // With word wrap: "Abc" and "Def", 26 high, the block's top at (21 - 26) / 2 = -2.
  ButtonPlacement wrap = PlaceButtonContent(*cv, 30, 21, 0, 0, 0, true, blGlyphLeft, "Abc Def", taCenter);
  EXPECT_EQ(wrap.caption, "Abc Def");
  EXPECT_EQ(wrap.textBox, BoundsRect(4, -2, 22, 26));
  // A button too narrow for any text keeps an empty caption and no text width.
  ButtonPlacement none = PlaceButtonContent(*cv, 6, 21, 0, 16, 16, false, blGlyphLeft, "A", taCenter);
  EXPECT_EQ(none.caption, "");
  EXPECT_EQ(none.icon, (Point{(6 - 16) / 2, 2}));

  Paint p;
  p.w = 30;
  p.caption = "Abcdef";
  Bitmap out = p.Run();
  // "Abcd" centred in the box: x = (4 + 26 - 20) / 2 = 5; "d" ends at 5 + 19.
  EXPECT_EQ(out.At(5, 6), kText);
  EXPECT_EQ(out.At(23, 6), kText);
  EXPECT_EQ(out.At(24, 6), kBg);
  EXPECT_EQ(out.At(25, 6), kBg);
}

TEST(LbPaintButton, PlacementOfIconAndTextHalvesByTruncation) {
  host::HostPlatform hp;
  auto cv = Canvases().CreateBitmapCanvas(92, 40);
  cv->SetFont(kFont);
  auto place = [&](int h, int d, bool wrap, TLbSpeedButtonLayout l, TAlignment a) {
    return PlaceButtonContent(*cv, 92, h, d, 16, 16, wrap, l, "Abc", a);  // "Abc": 15 x 13, textW 19
  };
  ButtonPlacement p = place(21, 0, false, blGlyphLeft, taCenter);
  EXPECT_EQ(p.textBox, BoundsRect(24, 4, 64, 13));
  EXPECT_EQ(p.icon, (Point{38 - 9, 2}));
  EXPECT_EQ(place(21, 1, false, blGlyphLeft, taRightJustify).icon, (Point{92 - 4 - 16 - 19 + 1, 3}));
  EXPECT_EQ(place(21, 0, false, blGlyphLeft, taLeftJustify).icon, (Point{4, 2}));
  EXPECT_EQ(place(21, 0, true, blGlyphLeft, taCenter).icon, (Point{4, 2}));
  p = place(21, 0, false, blGlyphRight, taCenter);
  EXPECT_EQ(p.textBox, BoundsRect(4, 4, 64, 13));
  EXPECT_EQ(p.icon, (Point{38 + 9, 2}));
  EXPECT_EQ(place(21, 0, true, blGlyphRight, taCenter).icon, (Point{4 + 19, 2}));
  EXPECT_EQ(place(21, 0, false, blGlyphRight, taRightJustify).icon, (Point{92 - 4 - 16, 2}));
  // Above and below: the block is 13 + 16 + 4 = 33 high, its top at 3.
  p = place(40, 0, false, blGlyphTop, taCenter);
  EXPECT_EQ(p.textBox, BoundsRect(4, 19, 84, 13));
  EXPECT_EQ(p.icon, (Point{38, 3}));
  p = place(40, 1, true, blGlyphBottom, taRightJustify);
  EXPECT_EQ(p.textBox, BoundsRect(5, 4, 84, 13));
  EXPECT_EQ(p.icon, (Point{92 - 16 - 4 + 1, 17}));
  EXPECT_EQ(place(40, 0, false, blGlyphTop, taLeftJustify).icon, (Point{4, 3}));
}

TEST(LbPaintButton, ModernGradientsBordersAndTransparentCorners) {
  host::HostPlatform hp;
  Paint p;
  p.w = 30;
  p.style = bsModern;
  Bitmap out = p.Run();
  // First gradient rows 2..4 from the light colour (250) towards 100 in
  // steps of 150 / 31; a row shows the last band drawn on it.
  auto grey = [](int v) { return RGB(uint8_t(v), uint8_t(v), uint8_t(v)); };
  EXPECT_EQ(out.At(10, 2), grey(int(250 - 10 * (150.0 / 31))));
  EXPECT_EQ(out.At(10, 4), grey(int(250 - 30 * (150.0 / 31) + 1e-9)));
  // Second gradient rows 5..19 from 100 back to 250; row 19 lies under the inner frame.
  EXPECT_EQ(out.At(10, 5), grey(int(100 + 2 * (150.0 / 31))));
  EXPECT_EQ(out.At(10, 18), grey(int(100 + 28 * (150.0 / 31))));
  EXPECT_EQ(out.At(10, 19), kBg);
  EXPECT_EQ(out.At(1, 10), kBg);      // inner frame in the background colour
  EXPECT_EQ(out.At(0, 10), kShadow);  // rounded outline
  EXPECT_EQ(out.At(2, 0), kShadow);
  EXPECT_EQ(out.At(1, 1), kShadow);
  EXPECT_EQ(out.At(0, 0), clFuchsia);  // corners stay transparent
  EXPECT_EQ(out.At(1, 0), clFuchsia);
  EXPECT_EQ(out.At(29, 20), clFuchsia);
  p.down = true;
  EXPECT_EQ(p.Run().At(1, 10), kShadow);                                    // the inner frame darkens when pressed
  EXPECT_EQ(p.Run().At(10, 5), grey(int(250 - 30 * (150.0 / 31) + 1e-9)));  // the split moves down one row
}

// The parent of the buttons in these tests: counts what is repainted.
class TestBar : public TButtonHost {
 public:
  void InvalidateArea(const Rect&, bool now) override { ++(now ? repaints : invalidations); }
  bool Showing() override { return true; }
  Point ClientToScreen(Point p) override { return {p.x + 1000, p.y + 500}; }
  void PopupAt(Component&, Point screen) override { popups.push_back(screen); }
  void FadeRequested(TLbSpeedButton&) override { ++fades; }
  int repaints = 0, invalidations = 0, fades = 0;
  std::vector<Point> popups;
};

TEST(LbSpeedButton, MouseEnterLeaveDownUpAndClick) {
  host::HostPlatform hp;
  TestBar bar;
  TLbSpeedButton& b = bar.AddButton();
  b.SetBounds(10, 0, 50, 20);
  std::vector<std::string> log;
  b.OnMouseEnter = [&](TLbSpeedButton&) { log.push_back("enter"); };
  b.OnMouseExit = [&](TLbSpeedButton&) { log.push_back("exit"); };
  b.OnMouseDown = [&](TLbSpeedButton& s, TMouseButton, uint32_t, int x, int y) {
    log.push_back("down " + std::to_string(x) + "," + std::to_string(y) + (s.Down() ? " D" : ""));
  };
  b.OnMouseUp = [&](TLbSpeedButton& s, TMouseButton, uint32_t, int, int) { log.push_back(s.Down() ? "up D" : "up"); };
  b.OnClick = [&](TLbSpeedButton& s) { log.push_back(s.Down() ? "click D" : "click"); };

  bar.HostMouseMove({5, 5}, 0);
  EXPECT_FALSE(b.MouseInside());
  bar.HostMouseMove({12, 5}, 0);
  EXPECT_TRUE(b.MouseInside());
  EXPECT_EQ(b.HotStep(), 8);
  bar.HostMouseDown(mbLeft, {12, 5}, ssLeft);
  EXPECT_TRUE(b.Down());
  bar.HostMouseUp(mbLeft, {13, 6}, 0);
  EXPECT_FALSE(b.Down());
  // Pressed, dragged off (the button keeps the mouse) and released outside: no click.
  bar.HostMouseDown(mbLeft, {12, 5}, ssLeft);
  bar.HostMouseMove({80, 5}, ssLeft);
  bar.HostMouseUp(mbLeft, {80, 5}, 0);
  EXPECT_EQ(b.HotStep(), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"enter", "down 2,5", "click D", "up D", "down 2,5", "exit", "up D"}));
  EXPECT_FALSE(b.Down());

  // A double click clicks once.
  log.clear();
  bar.HostMouseMove({12, 5}, 0);
  bar.HostMouseDown(mbLeft, {12, 5}, ssLeft);
  bar.HostMouseUp(mbLeft, {12, 5}, 0);
  bar.HostMouseDown(mbLeft, {12, 5}, ssLeft, true);
  bar.HostMouseUp(mbLeft, {12, 5}, 0);
  EXPECT_EQ(std::count(log.begin(), log.end(), "click D"), 1);
  // A right button neither presses nor clicks.
  bar.HostMouseDown(mbRight, {12, 5}, ssRight);
  EXPECT_FALSE(b.Down());
  // A disabled button does not light up.
  bar.HostMouseLeave();
  b.SetEnabled(false);
  bar.HostMouseMove({12, 5}, 0);
  EXPECT_FALSE(b.MouseInside());
}

TEST(LbSpeedButton, GroupsAcceleratorsDropDownAndSafeClearing) {
  host::HostPlatform hp;
  TestBar bar;
  TLbSpeedButton& a = bar.AddButton();
  TLbSpeedButton& b = bar.AddButton();
  a.SetBounds(0, 0, 20, 20);
  b.SetBounds(20, 0, 20, 20);
  a.SetGroupIndex(1);
  b.SetGroupIndex(1);
  b.SetAllowAllUp(true);
  a.SetDown(true);
  b.SetDown(true);
  EXPECT_FALSE(a.Down());
  bar.HostMouseDown(mbLeft, {25, 5}, ssLeft);  // allow-all-up releases a down button
  bar.HostMouseUp(mbLeft, {25, 5}, 0);
  EXPECT_FALSE(b.Down());

  int clicks = 0;
  a.SetCaption("&Apri");
  a.OnClick = [&](TLbSpeedButton& s) { clicks += s.Down() ? 10 : 1; };
  EXPECT_FALSE(bar.HostDialogChar('p'));
  EXPECT_TRUE(bar.HostDialogChar('a'));
  EXPECT_EQ(clicks, 10);        // pressed while it clicks
  EXPECT_FALSE(a.Down());       // and back as it was
  a.SetCaption("&\u00C8lite");  // an accented accelerator answers in either case
  EXPECT_TRUE(bar.HostDialogChar(0xE8));
  a.SetCaption("&\u0161ilo");  // so does s caron
  EXPECT_TRUE(bar.HostDialogChar(0x160));
  EXPECT_FALSE(bar.HostDialogChar('s'));
  a.SetCaption("&\u0434\u043E\u043C");  // and a Cyrillic one
  EXPECT_TRUE(bar.HostDialogChar(0x414));
  EXPECT_EQ(clicks, 40);

  Component* menu = reinterpret_cast<Component*>(&bar);  // only passed through
  b.popupMenu = menu;
  b.SetDropDownMenu(true);
  b.Click();
  EXPECT_EQ(bar.popups, (std::vector<Point>{{1040, 520}}));

  // A click handler that rebuilds the bar frees its own button safely.
  b.OnClick = [&](TLbSpeedButton&) { bar.ClearButtons(); };
  bar.HostMouseDown(mbLeft, {25, 5}, ssLeft);
  bar.HostMouseUp(mbLeft, {25, 5}, 0);
  EXPECT_EQ(bar.ButtonCount(), 0u);
}

TEST(LbSpeedButton, PropertiesRepaintOrInvalidateAndModernNeedsColours) {
  host::HostPlatform hp;
  TestBar bar;
  TLbSpeedButton& b = bar.AddButton();
  b.SetDown(true);
  b.SetLayout(blGlyphTop);
  EXPECT_EQ(bar.repaints, 2);
  b.SetCaption("x");
  b.SetStyle(bsModern);
  EXPECT_EQ(bar.invalidations, 2);
  b.SetTransparent(true);
  int before = bar.repaints;
  b.SetAlignment(taCenter);
  EXPECT_EQ(bar.repaints, before);  // a transparent button is invalidated instead

  Bitmap strip(48, 16);
  b.SetGlyph(strip);
  EXPECT_EQ(b.NumGlyphs(), 3);
  b.SetGlyph(Bitmap());
  EXPECT_EQ(b.NumGlyphs(), 0);

  hp.Canvases().SetScreenBitsPerPixel(8);
  TLbSpeedButton& c = bar.AddButton();
  c.SetStyle(bsModern);
  EXPECT_EQ(c.Style(), bsNormal);

  // Fading out: eight steps after the mouse leaves.
  c.SetSlowDecease(true);
  c.SetBounds(0, 0, 10, 10);
  bar.HostMouseMove({1, 1}, 0);
  bar.HostMouseLeave();
  EXPECT_EQ(bar.fades, 1);
  int steps = 1;
  while (c.FadeStep())
    ++steps;
  EXPECT_EQ(steps, 8);
  EXPECT_EQ(c.HotStep(), 0);
}

// Counts what a paint does on the parent's canvas.
class CountingCanvas : public ICanvas {
 public:
  explicit CountingCanvas(ICanvas& c) : c_(c) {}
  int Width() override { return c_.Width(); }
  int Height() override { return c_.Height(); }
  Color GetPixel(int x, int y) override { return c_.GetPixel(x, y); }
  void SetPixel(int x, int y, Color c) override { ++other, c_.SetPixel(x, y, c); }
  void FillRect(const Rect& r, Color c) override { ++other, c_.FillRect(r, c); }
  void FrameRect(const Rect& r, Color c) override { ++other, c_.FrameRect(r, c); }
  void Line(Point a, Point b, Color c) override { ++other, c_.Line(a, b, c); }
  void RoundRect(const Rect& r, int w, int h, Color c) override { ++other, c_.RoundRect(r, w, h, c); }
  void SetFont(const FontSpec& f) override { c_.SetFont(f); }
  Size TextExtent(const std::string& t) override { return c_.TextExtent(t); }
  void TextAt(int x, int y, const std::string& t) override { ++other, c_.TextAt(x, y, t); }
  int DrawTextIn(const std::string& t, Rect& r, uint32_t f) override { return ++other, c_.DrawTextIn(t, r, f); }
  void DrawImage(uintptr_t l, int i, int x, int y, bool e, Color b) override {
    ++other, c_.DrawImage(l, i, x, y, e, b);
  }
  void DrawBitmap(const Bitmap& b, int x, int y, Color t) override { ++other, c_.DrawBitmap(b, x, y, t); }
  void CopyFrom(ICanvas& s, const Rect& r, Point to, Color t) override { ++copies, c_.CopyFrom(s, r, to, t); }
  Bitmap ToBitmap() override { return c_.ToBitmap(); }
  int copies = 0, other = 0;

 private:
  ICanvas& c_;
};

TEST(LbSpeedButton, PaintsThroughOneOffScreenCopyLeavingModernCornersOut) {
  host::HostPlatform hp;
  TestBar bar;
  TLbSpeedButton& b = bar.AddButton();
  b.SetBounds(3, 2, 30, 21);
  b.SetStyle(bsModern);
  b.SetCaption("Abc");
  auto surface = Canvases().CreateBitmapCanvas(40, 30);
  surface->FillRect({0, 0, 40, 30}, RGB(9, 9, 9));
  CountingCanvas counting(*surface);
  bar.PaintButtons(counting, {0, 0, 40, 30});
  EXPECT_EQ(counting.copies, 1);
  EXPECT_EQ(counting.other, 0);
  EXPECT_EQ(surface->GetPixel(3, 2), RGB(9, 9, 9));   // the rounded corner shows the bar
  EXPECT_EQ(surface->GetPixel(3, 12), RGB(0, 0, 0));  // the outline (shadow: black)
  b.SetVisible(false);
  bar.PaintButtons(counting, {0, 0, 40, 30});
  EXPECT_EQ(counting.copies, 1);
}

}  // namespace
}  // namespace tov
