// The shell's context menu for a button's target: Shift with a right click
// and "Menu di sistema" show it; the plain right click keeps the bar's menu.
#include <gtest/gtest.h>

#include "platform/host/HostShell.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

struct ShellMenuTest : testing::BarFixture {
  ShellMenuTest() {
    Start();
    Stop();
    PrepareButtons({{"Uno", "Button"}, {"", "Separator"}, {"Due", "Button"}});
    Files().WriteFile(std::string(testing::kBarLinks) + "Due.lnk", "x");
    Start();
  }
  void RightClick(size_t button, uintptr_t keys) {
    at = Middle(bar->Button(button).BoundsRect());
    Win().Send(WM_RBUTTONDOWN, 2 | keys, At(at));
    Win().Send(WM_RBUTTONUP, keys, At(at));
  }
  Point at;
};

TEST_F(ShellMenuTest, ShiftWithARightClickShowsTheShellsMenuForTheTarget) {
  const size_t menus = hp.Windows().shownMenus.size();
  RightClick(1, 4 /* MK_SHIFT */);
  ASSERT_EQ(hp.Shell().contextMenus.size(), 1u);
  const auto& shown = hp.Shell().contextMenus[0];
  EXPECT_EQ(shown.path, std::string(testing::kBarLinks) + "Due.lnk");
  EXPECT_TRUE(shown.extended);
  EXPECT_EQ(shown.owner, bar->Handle());
  EXPECT_EQ(shown.at, bar->ClientToScreen(at));
  EXPECT_EQ(hp.Windows().shownMenus.size(), menus);  // not the bar's menu
  EXPECT_TRUE(hp.Shell().opened.empty());            // nor a click
  // The plain right click keeps the bar's own menu.
  RightClick(1, 0);
  EXPECT_EQ(hp.Shell().contextMenus.size(), 1u);
  EXPECT_EQ(hp.Windows().shownMenus.size(), menus + 1);
}

TEST_F(ShellMenuTest, MenuDiSistemaOnTheButtonMenu) {
  hp.Windows().menuChoices = {"Menu di sistema"};
  RightClick(0, 0);
  ASSERT_EQ(hp.Shell().contextMenus.size(), 1u);
  EXPECT_EQ(hp.Shell().contextMenus[0].path, std::string(testing::kBarLinks) + "Uno.lnk");
  EXPECT_FALSE(hp.Shell().contextMenus[0].extended);
  // The bar's own items are still there, in their places.
  const auto& items = hp.Windows().shownMenus.back().entries;
  ASSERT_GE(items.size(), 7u);
  EXPECT_EQ(items[1].caption, "Sposta dopo");
  EXPECT_EQ(items[items.size() - 2].caption, "Rinomina");
}

}  // namespace
}  // namespace tov
