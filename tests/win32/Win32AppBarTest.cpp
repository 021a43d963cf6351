// A real bar window on the real shell: it docks to every edge and floats.
#include <gtest/gtest.h>

#include "tests/win32/Display.h"

#include <exception>

#include "docking/AppBar.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Windows.h"

namespace tov {
namespace {

struct Win32AppBarTest : ::testing::Test {
  void Pump() { static_cast<win32::Win32WindowSystem&>(Windows()).PumpWaiting(); }
  win32::Win32Platform wp;
};

TEST_F(Win32AppBarTest, DocksToEveryEdgeAndFloats) {
  TOVIRA_SKIP_WITHOUT_DISPLAY();
  TAppBar bar;
  bar.Window();
  bar.SetBorderStyle(TBorderStyle::bsNone);
  bar.SetSlideEffect(false);
  bar.SetBounds(100, 100, 300, 60);
  bar.Settings().FloatLeft = 100;
  bar.Settings().FloatTop = 100;
  bar.Settings().FloatRight = 400;
  bar.Settings().FloatBottom = 160;
  bar.Show();
  Pump();
  const int sw = System().GetSystemMetrics(SM_CXSCREEN), sh = System().GetSystemMetrics(SM_CYSCREEN);
  const Rect work = System().WorkArea();
  bar.SetEdge(abeTop);
  Pump();
  Rect r = bar.BoundsRect();
  EXPECT_EQ(r.Height(), 32);
  EXPECT_EQ(r.top, work.top);
  EXPECT_LE(r.right, sw);
  bar.SetEdge(abeBottom);
  Pump();
  r = bar.BoundsRect();
  EXPECT_EQ(r.Height(), 32);
  EXPECT_LE(r.bottom, sh);
  EXPECT_GT(r.top, sh / 2);
  bar.SetEdge(abeLeft);
  Pump();
  r = bar.BoundsRect();
  EXPECT_EQ(r.Width(), 32);
  EXPECT_EQ(r.left, 0);
  bar.SetEdge(abeRight);
  Pump();
  r = bar.BoundsRect();
  EXPECT_EQ(r.Width(), 32);
  EXPECT_EQ(r.right, sw);
  bar.SetEdge(abeFloat);
  Pump();
  EXPECT_EQ(bar.BoundsRect(), (Rect{100, 100, 400, 160}));
  bar.DestroyHandle();
}

}  // namespace
}  // namespace tov
