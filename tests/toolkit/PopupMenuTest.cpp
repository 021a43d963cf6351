// Pop-up menus from component trees.
#include <gtest/gtest.h>

#include "platform/host/HostPlatform.h"
#include "platform/host/HostWindowSystem.h"
#include "toolkit/PopupMenu.h"

namespace tov {
namespace {

TEST(PopupMenu, ShowsVisibleItemsWithSubMenusAndFiresTheChoice) {
  host::HostPlatform hp;
  auto menu = MakeComponent(ComponentKind::PopupMenu, "PopupMenu");
  std::vector<std::string> fired;
  menu->Bind("OnPopup", "PopupMenuPopup", [&](Component&) { fired.push_back("popup"); });
  Component& dock = menu->Add(MakeComponent(ComponentKind::MenuItem, "PopDock", "Posizione"));
  dock.Add(MakeComponent(ComponentKind::MenuItem, "PopDockTop", "Alto"))
      .Bind("OnClick", "PopDockTopClick", [&](Component&) { fired.push_back("top"); });
  menu->Add(MakeComponent(ComponentKind::MenuItem, "N1", "-"));
  Component& hidden = menu->Add(MakeComponent(ComponentKind::MenuItem, "PopHidden", "Nascosto"));
  hidden.visible = false;
  Component& off = menu->Add(MakeComponent(ComponentKind::MenuItem, "PopOff", "Spento"));
  off.enabled = false;
  menu->Add(MakeComponent(ComponentKind::MenuItem, "PopClose", "Chiudi"))
      .Bind("OnClick", "PopCloseClick", [&](Component&) { fired.push_back("close"); });

  hp.Windows().menuChoices = {"Posizione/Alto", "Spento", "", "Chiudi"};
  EXPECT_EQ(PopupComponentMenu(*menu, Point{10, 20}, 7), &dock.Child(0));
  EXPECT_EQ(PopupComponentMenu(*menu, Point{10, 20}, 7), nullptr);  // disabled
  EXPECT_EQ(PopupComponentMenu(*menu, Point{10, 20}, 7), nullptr);  // dismissed
  EXPECT_NE(PopupComponentMenu(*menu, Point{10, 20}, 7), nullptr);
  EXPECT_EQ(fired, (std::vector<std::string>{"popup", "top", "popup", "popup", "popup", "close"}));
  const auto& shown = hp.Windows().shownMenus.front();
  ASSERT_EQ(shown.entries.size(), 4u);  // the hidden item is left out
  EXPECT_EQ(shown.entries[0].children.size(), 1u);
  EXPECT_TRUE(shown.entries[1].separator);
  EXPECT_FALSE(shown.entries[2].enabled);
  EXPECT_EQ(shown.at, (Point{10, 20}));
  EXPECT_EQ(shown.owner, 7u);
}

}  // namespace
}  // namespace tov
