// Glass behind the bar: activation, colour key, painting and composition changes.
#include <gtest/gtest.h>

#include "docking/AeroGlass.h"
#include "platform/host/HostCompositor.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostSystem.h"
#include "platform/host/HostWindowSystem.h"

namespace tov {
namespace {

struct AeroGlassTest : ::testing::Test {
  AeroGlassTest() {
    form.SetBorderStyle(TBorderStyle::bsNone);
    form.SetBounds(0, 0, 100, 40);
    form.Show();
  }
  host::HostWindow& Win() { return *hp.Windows().Find(form.Handle()); }
  std::unique_ptr<ICanvas> PaintForm() {
    auto canvas = Canvases().CreateBitmapCanvas(100, 40);
    canvas->FillRect(Rect{0, 0, 100, 40}, RGB(1, 2, 3));
    form.Paint(*canvas);
    return canvas;
  }
  host::HostPlatform hp;
  TForm form;
};

TEST_F(AeroGlassTest, WithoutACompositorNothingChanges) {
  uint32_t ex = Win().ExStyle();
  TAeroGlass glass(form);
  EXPECT_FALSE(glass.Scheduled());
  hp.Windows().Pump();
  EXPECT_FALSE(glass.Active());
  EXPECT_EQ(Win().ExStyle(), ex);
  EXPECT_EQ(PaintForm()->GetPixel(5, 5), RGB(1, 2, 3));
  // An old system is treated the same, even with a compositor present.
  hp.Compositor().present = true;
  hp.System().version.major = 4;
  TAeroGlass old(form);
  EXPECT_FALSE(old.Scheduled());
}

TEST_F(AeroGlassTest, SheetOfGlassIsPaintedInTheKeyAndMadeTransparent) {
  hp.Compositor().present = true;
  bool ownPaint = false;
  form.OnPaint = [&](ICanvas& c) {
    ownPaint = true;
    c.FillRect(Rect{0, 0, 100, 40}, RGB(9, 9, 9));
  };
  TAeroGlass glass(form);
  glass.SetSheetOfGlass(true);
  glass.SetMarginTop(0);
  EXPECT_TRUE(glass.Scheduled());
  EXPECT_FALSE(glass.Active());  // deferred until the form's messages run
  hp.Windows().Pump();
  ASSERT_TRUE(glass.Active());
  EXPECT_EQ(hp.Compositor().frames[form.Handle()], (host::HostCompositor::Margins{-1, -1, -1, -1}));
  EXPECT_EQ(hp.Compositor().colorKeys[form.Handle()], RGB(218, 219, 220));
  EXPECT_TRUE(Win().ExStyle() & WS_EX_LAYERED);
  auto canvas = PaintForm();
  EXPECT_TRUE(ownPaint);  // the form's own painting runs first
  EXPECT_EQ(canvas->GetPixel(0, 0), RGB(218, 219, 220));
  EXPECT_EQ(canvas->GetPixel(99, 39), RGB(218, 219, 220));
}

TEST_F(AeroGlassTest, MarginsPaintTheirBandsAndNegativeValuesBecomeZero) {
  hp.Compositor().present = true;
  TAeroGlass glass(form);
  glass.SetMarginTop(-5);
  EXPECT_EQ(glass.MarginTop(), 0);
  hp.Windows().Pump();
  glass.SetMarginLeft(3);
  glass.SetMarginBottom(4);
  EXPECT_EQ(hp.Compositor().frames[form.Handle()], (host::HostCompositor::Margins{3, 0, 0, 4}));
  auto canvas = PaintForm();
  EXPECT_EQ(canvas->GetPixel(2, 10), RGB(218, 219, 220));
  EXPECT_EQ(canvas->GetPixel(3, 10), RGB(1, 2, 3));
  EXPECT_EQ(canvas->GetPixel(50, 36), RGB(218, 219, 220));
  EXPECT_EQ(canvas->GetPixel(50, 35), RGB(1, 2, 3));
}

TEST_F(AeroGlassTest, CompositionSwitchedOnLaterMakesTheGlassAppear) {
  hp.Compositor().present = true;
  hp.Compositor().enabled = false;
  uint32_t ex = Win().ExStyle();
  TAeroGlass glass(form);
  glass.SetSheetOfGlass(true);
  hp.Windows().Pump();
  EXPECT_TRUE(glass.Active());
  EXPECT_EQ(Win().ExStyle(), ex);
  EXPECT_EQ(PaintForm()->GetPixel(5, 5), RGB(1, 2, 3));
  hp.Compositor().enabled = true;
  Win().Send(WM_DWMCOMPOSITIONCHANGED);
  EXPECT_TRUE(Win().ExStyle() & WS_EX_LAYERED);
  EXPECT_EQ(PaintForm()->GetPixel(5, 5), RGB(218, 219, 220));
  hp.Compositor().enabled = false;
  Win().Send(WM_THEMECHANGED);
  EXPECT_EQ(Win().ExStyle(), ex);
}

TEST_F(AeroGlassTest, DraggingOnGlassMovesTheForm) {
  hp.Compositor().present = true;
  TAeroGlass glass(form);
  hp.Windows().Pump();
  hp.System().cursor = Point{50, 10};  // inside the 32-pixel top band
  Win().Send(WM_NCHITTEST, 0, 0);
  EXPECT_EQ(Win().systemMoves, 0);  // dgNone
  glass.SetDragGlass(dgGlass);
  // The host answers HTCLIENT only inside the window.
  Win().Send(WM_NCHITTEST, 0, 10 << 16 | 50);
  EXPECT_EQ(Win().systemMoves, 1);
  hp.System().cursor = Point{50, 35};
  Win().Send(WM_NCHITTEST, 0, 35 << 16 | 50);
  EXPECT_EQ(Win().systemMoves, 1);
  glass.SetDragGlass(dgForm);
  Win().Send(WM_NCHITTEST, 0, 35 << 16 | 50);
  EXPECT_EQ(Win().systemMoves, 2);
}

TEST_F(AeroGlassTest, DestructionGivesTheFormItsPaintHandlerBack) {
  hp.Compositor().present = true;
  int own = 0;
  form.OnPaint = [&](ICanvas&) { ++own; };
  {
    TAeroGlass glass(form);
    hp.Windows().Pump();
  }
  EXPECT_FALSE(hp.Compositor().loaded);
  auto canvas = PaintForm();
  EXPECT_EQ(own, 1);
  EXPECT_EQ(canvas->GetPixel(5, 5), RGB(1, 2, 3));
  Win().Send(WM_DWMCOMPOSITIONCHANGED);  // no hook left behind
}

}  // namespace
}  // namespace tov
