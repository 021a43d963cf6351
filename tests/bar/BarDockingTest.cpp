// The bar's docking glue on its own: an application bar and a monitor list
// on the headless desktop, the bar window's side played by counters.
#include <gtest/gtest.h>

#include <stdexcept>

#include "bar/BarDocking.h"
#include "docking/MonitorList.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostWindowSystem.h"

namespace tov {
namespace {

struct BarDockingTest : ::testing::Test {
  BarDockingTest() {
    hp.SetMonitors(
        {{{0, 0, 1024, 768}, {0, 0, 1024, 738}, true, "A"}, {{1024, 0, 2048, 600}, {1024, 0, 2048, 600}, false, "B"}});
    monitors.Load();
    appBar.SetCaption("Tovira");
    appBar.Window();
    hp.Windows().Pump();
  }
  TBarDockingHooks Hooks() {
    return TBarDockingHooks{[this] { return ready; }, [this] { ++rebuilds; }, [this] { ++menus; },
                            [this] {
                              ++writes;
                              if (failWrite) throw std::runtime_error("disk full");
                            }};
  }
  host::HostPlatform hp;
  TMonitorList monitors;
  TAppBar appBar;
  TBarScreens screens{appBar, monitors};
  bool ready = true;
  bool failWrite = false;
  int rebuilds = 0;
  int menus = 0;
  int writes = 0;
};

TEST_F(BarDockingTest, ANewEdgeIsLaidOutOnceAndOnlyWhenTheBarIsReady) {
  TBarDocking docking(appBar, screens, Hooks());
  // A drag that only proposes an edge lays nothing out.
  docking.StateChanged(true, abeLeft);
  EXPECT_EQ(rebuilds, 0);
  EXPECT_EQ(docking.LastEdge(), abeUnknown);
  // A bar still being made (or already taken down) is not laid out, and the
  // edge is not taken as laid out either.
  ready = false;
  docking.StateChanged(false, abeLeft);
  EXPECT_EQ(rebuilds, 0);
  EXPECT_EQ(docking.LastEdge(), abeUnknown);
  ready = true;
  docking.StateChanged(false, abeLeft);
  EXPECT_EQ(rebuilds, 1);
  EXPECT_EQ(docking.LastEdge(), abeLeft);
  // The same edge again (the shell confirming it) is not laid out twice.
  docking.StateChanged(false, abeLeft);
  EXPECT_EQ(rebuilds, 1);
  docking.StateChanged(false, abeFloat);
  EXPECT_EQ(rebuilds, 2);
  EXPECT_EQ(docking.LastEdge(), abeFloat);
}

TEST_F(BarDockingTest, TheDisplaysChangingRefillTheTableAndTheMenu) {
  TBarDocking docking(appBar, screens, Hooks());
  screens.FillScreenTable();
  ASSERT_EQ(appBar.ScreenCount(), 2);
  hp.ChangeDisplays({{{0, 0, 1280, 1024}, {0, 0, 1280, 994}, true, "A"}});
  docking.ScreensChanged();
  EXPECT_EQ(appBar.ScreenCount(), 1);
  EXPECT_EQ(appBar.Screen(0).rcMonitor, (Rect{0, 0, 1280, 1024}));
  EXPECT_EQ(menus, 1);
  EXPECT_EQ(rebuilds, 1);
  // Not ready: the table and the menu follow, the layout waits.
  ready = false;
  docking.ScreensChanged();
  EXPECT_EQ(menus, 2);
  EXPECT_EQ(rebuilds, 1);
}

TEST_F(BarDockingTest, AScaleChangeIsTakenOnceAndABadOneIgnored) {
  TBarDocking docking(appBar, screens, Hooks());
  const Dpi before = appBar.BarDpi();
  // Zero is no scale: nothing changes.
  EXPECT_EQ(docking.DpiChanged(0, 0), 0);
  EXPECT_EQ(appBar.BarDpi(), before);
  EXPECT_EQ(rebuilds, 0);
  // The scale the bar has already: nothing to lay out.
  docking.DpiChanged(uintptr_t(before.Value()) | (uintptr_t(before.Value()) << 16), 0);
  EXPECT_EQ(rebuilds, 0);
  // A docked bar at 144 DPI: taken, laid out and docked again.
  docking.DpiChanged(144 | (144 << 16), 0);
  EXPECT_EQ(appBar.BarDpi(), Dpi(144));
  EXPECT_EQ(rebuilds, 1);
}

TEST_F(BarDockingTest, AFloatingBarTakesThePlaceTheSystemSuggests) {
  TBarDocking docking(appBar, screens, Hooks());
  appBar.SetEdge(abeFloat);
  Rect suggested{100, 200, 400, 260};
  docking.DpiChanged(120 | (120 << 16), reinterpret_cast<intptr_t>(&suggested));
  EXPECT_EQ(appBar.Settings().FloatLeft, 100);
  EXPECT_EQ(appBar.Settings().FloatTop, 200);
  EXPECT_EQ(appBar.Settings().FloatRight, 400);
  EXPECT_EQ(appBar.Settings().FloatBottom, 260);
  EXPECT_EQ(rebuilds, 1);
}

TEST_F(BarDockingTest, TheSessionsEndTellsTheProgramEvenWhenAWriteFails) {
  TBarDocking docking(appBar, screens, Hooks());
  int told = 0;
  docking.SetOnSessionEnded([&] { ++told; });
  failWrite = true;
  EXPECT_NO_THROW(docking.SessionEnding());
  EXPECT_EQ(writes, 1);
  EXPECT_EQ(told, 1);
}

TEST_F(BarDockingTest, TheScreenTableHoldsTenMonitorsAtMostAndOneWithNone) {
  std::vector<TScreenInfo> many(12);
  for (int i = 0; i < 12; ++i)
    TAppBar::InitScreenCoord(many[size_t(i)].rcMonitor, many[size_t(i)].szMonitor, i * 100, 0, i * 100 + 100, 100);
  appBar.RefreshScreens(many);
  EXPECT_EQ(appBar.ScreenCount(), kScreenTableSize);
  EXPECT_EQ(appBar.Screen(9).rcMonitor.left, 900);
  appBar.RefreshScreens({});
  EXPECT_EQ(appBar.ScreenCount(), 1);
  // The one entry stands for the primary monitor, measured afresh.
  EXPECT_EQ(appBar.Screen(0).MonitorFlags, -1);
  EXPECT_EQ(appBar.GetScreenInfo(0).rcMonitor, (Rect{0, 0, 1024, 768}));
}

}  // namespace
}  // namespace tov
