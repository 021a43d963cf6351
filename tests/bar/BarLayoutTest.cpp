// The bar's layout beyond one row: wrapping, the floating bar, a drag that
// only proposes an edge, and a docking record whose monitor is gone.
#include <gtest/gtest.h>

#include "controls/ButtonTable.h"
#include "platform/host/HostFileSystem.h"
#include "platform/host/HostSystem.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

struct BarLayoutTest : testing::BarFixture {
  BarLayoutTest() {
    Start();  // the first start makes the links folder
    Stop();
  }
  void StartWithButtons(int n) {
    Rows rows;
    for (int i = 0; i < n; ++i)
      rows.push_back({"B" + std::to_string(i), "Button"});
    PrepareButtons(rows);
    Start();
  }
  Rect At(size_t i) { return bar->Button(i).BoundsRect(); }
};

TEST_F(BarLayoutTest, ButtonsThatDoNotFitWrapToASecondRow) {
  // Buttons 92 wide, 2 pixels of margin between them, after an 8-pixel grip:
  // on a 1024-pixel bar ten fit (the tenth ends at 8 + 9 * 94 + 92 = 946).
  StartWithButtons(12);
  ASSERT_EQ(bar->ButtonCount(), 12u);
  EXPECT_EQ(At(9), (Rect{854, 1, 946, 22}));
  // The eleventh would end at 1040: it starts the second row, under the first.
  EXPECT_EQ(At(10), (Rect{8, 24, 100, 45}));
  EXPECT_EQ(At(11), (Rect{102, 24, 194, 45}));
  // Two rows of 21 + 2 margins, and the 3-pixel dialog frame twice.
  EXPECT_EQ(bar->Settings().VertDockSize, 2 * 23 + 6);
  EXPECT_EQ(Win().WindowRect(), (Rect{0, 0, 1024, 52}));
  // The grip line runs the height of a button.
  EXPECT_EQ(bar->SeparatorRects()[0], (Rect{4, 3, 6, 20}));
}

TEST_F(BarLayoutTest, AFloatingBarLaysOutRowsInItsOwnWidthWithoutAGrip) {
  StartWithButtons(4);
  bar->SetEdge(abeFloat);
  hp.Windows().Pump();
  // 320 x 240, a client area 314 wide inside the dialog frame: three fit,
  // from the left of the client area (no grip, so no grip's width either).
  EXPECT_EQ(Win().WindowRect().Width(), 320);
  EXPECT_EQ(Win().WindowRect().Height(), 240);
  EXPECT_EQ(At(0), (Rect{0, 1, 92, 22}));
  EXPECT_EQ(At(2), (Rect{188, 1, 280, 22}));
  EXPECT_EQ(At(3), (Rect{0, 24, 92, 45}));
  EXPECT_TRUE(bar->SeparatorRects().empty());
  // The menu item that floats the bar is off while it floats.
  hp.Windows().menuChoices = {""};
  Win().Send(WM_RBUTTONUP, 0, intptr_t(300) | (intptr_t(200) << 16));
  ASSERT_FALSE(hp.Windows().shownMenus.empty());
  bool found = false;
  for (const MenuEntry& e : hp.Windows().shownMenus.back().entries) {
    if (e.caption != "Aggancia") continue;
    for (const MenuEntry& c : e.children)
      if (c.caption == "Sblocca") {
        found = true;
        EXPECT_FALSE(c.enabled);
      }
  }
  EXPECT_TRUE(found);
}

TEST_F(BarLayoutTest, ADragOnlyProposingAnEdgeLeavesTheButtonsAndTheFileAlone) {
  StartWithButtons(2);
  const int writes = hp.Files().WriteCount();
  Win().Send(WM_ENTERSIZEMOVE);
  hp.System().cursor = Point{3, 400};
  Rect dragged{0, 380, 1024, 412};
  Win().Send(WM_MOVING, 0, reinterpret_cast<intptr_t>(&dragged));
  EXPECT_EQ(bar->GetEdge(), abeLeft);  // shown live where it would dock
  EXPECT_EQ(bar->LastEdge(), abeTop);
  EXPECT_EQ(At(1), (Rect{102, 1, 194, 22}));  // still laid out for the top
  EXPECT_EQ(hp.Files().WriteCount(), writes);
  // Released there: one rebuild for the new edge, saved.
  Win().SetWindowPos(0, dragged, SWP_NOZORDER);
  Win().Send(WM_EXITSIZEMOVE);
  EXPECT_EQ(bar->LastEdge(), abeLeft);
  EXPECT_EQ(At(1), (Rect{1, 31, 93, 52}));
  EXPECT_GT(hp.Files().WriteCount(), writes);
}

TEST_F(BarLayoutTest, ABarWhoseMonitorIsGoneComesBackOnThePrimary) {
  const std::vector<host::MonitorSpec> two = {{{0, 0, 1024, 768}, {0, 0, 1024, 738}, true, "\\\\.\\DISPLAY1"},
                                              {{1024, 0, 2048, 768}, {1024, 0, 2048, 768}, false, "\\\\.\\DISPLAY2"}};
  hp.SetMonitors(two);
  StartWithButtons(1);
  bar->SetScreenIndex(1);
  bar->SetEdge(abeTop);
  EXPECT_EQ(Win().WindowRect(), (Rect{1024, 0, 2048, 29}));
  Stop();
  // The second monitor is unplugged before the next start.
  hp.SetMonitors({two[0]});
  Start();
  EXPECT_EQ(bar->ScreenIndex(), 0);
  EXPECT_EQ(Win().WindowRect(), (Rect{0, 0, 1024, 29}));
  EXPECT_EQ(bar->Button(0).hint, "B0");
  EXPECT_FALSE(bar->FixScreenIndex());  // nothing more to mend
}

}  // namespace
}  // namespace tov
