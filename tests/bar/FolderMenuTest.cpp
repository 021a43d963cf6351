// Folder-menu buttons on the headless bar: what their menus list, where they
// appear for each edge, what their items open, and when they are rebuilt.
#include <gtest/gtest.h>

#include "controls/ButtonTable.h"
#include "platform/FileShellLinks.h"
#include "platform/MenuIcons.h"
#include "platform/host/HostShell.h"
#include "settings/Settings.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

struct FolderMenuTest : testing::BarFixture {
  FolderMenuTest() {
    ForceDirectories(Files(), "C:\\Dati\\Sub");
    for (const char* f : {"C:\\Dati\\Editor.lnk", "C:\\Dati\\.lnk", "C:\\Dati\\.nascosto.txt"})
      Files().WriteFile(f, "x");
    Start();  // the first start makes the links folder
    Stop();
  }
  // One button per path, the first ones with a folder menu.
  void Prepare(const std::vector<std::string>& paths, int folderMenus = 1, bool realTime = false) {
    {
      TDataModule scratch;  // the data module of its own, gone before the bar starts
      for (size_t i = 0; i < paths.size(); ++i) {
        std::string caption = "B";  // appended: GCC 12 at -O3 misreads "B" + std::string (-Wrestrict)
        caption += std::to_string(i);
        AddButtonRow(scratch.TblLinks, int(i), caption, paths[i]);
        scratch.TblLinks.Edit();
        scratch.TblLinks.FieldByName("FolderMenu").SetAsBoolean(int(i) < folderMenus);
        scratch.TblLinks.FieldByName("RealTime").SetAsBoolean(realTime);
        scratch.TblLinks.Post();
      }
      SaveButtonList(scratch.TblLinks, testing::kBarLinks, scratch.SaveFormat);
    }
    Start();
  }
  const std::vector<MenuEntry>& LastMenu() { return hp.Windows().shownMenus.back().entries; }
  std::vector<std::string> Captions(const std::vector<MenuEntry>& entries) {
    std::vector<std::string> out;
    for (const MenuEntry& e : entries)
      out.push_back(e.caption);
    return out;
  }
};

TEST_F(FolderMenuTest, AFolderMenuListsTheFolderAndItsItemsOpenTheirEntries) {
  Prepare({"C:\\Dati", "C:\\Dati"});
  ASSERT_TRUE(bar->FolderMenus().Built());
  // One entry per control: the two buttons and the grip line.
  EXPECT_EQ(bar->FolderMenus().Count(), 3u);
  ASSERT_TRUE(bar->FolderMenus().At(0));
  EXPECT_FALSE(bar->FolderMenus().At(1));  // the second button has no folder menu
  Component& menu = *bar->FolderMenus().At(0);
  // ".", "..", ".lnk" (nothing left once ".lnk" is hidden) are not listed;
  // the names count every entry of the listing.
  ASSERT_EQ(menu.ChildCount(), 3u);
  EXPECT_EQ(menu.Child(0).name, "Pop0_3");
  EXPECT_EQ(menu.Child(1).name, "Pop0_4");
  EXPECT_EQ(menu.Child(2).name, "Pop0_5");

  hp.Windows().menuChoices = {"Editor"};
  Click(0);
  EXPECT_EQ(Captions(LastMenu()), (std::vector<std::string>{".nascosto.txt", "Editor", "Sub"}));
  // The hidden entry has no icon; the others show their entry's, taken by
  // the menu at its own scale (no system image list), a shortcut its own,
  // every item 5 pixels taller than the standard.
  EXPECT_EQ(LastMenu()[0].imageList, 0u);
  EXPECT_EQ(LastMenu()[1].imageList, kFileIcons);
  EXPECT_EQ(LastMenu()[1].shellPath, "C:\\Dati\\Editor.lnk");
  EXPECT_EQ(LastMenu()[1].imageIndex, -1);
  EXPECT_EQ(LastMenu()[2].imageList, kFileIcons);
  EXPECT_EQ(LastMenu()[2].shellPath, "C:\\Dati\\Sub");
  EXPECT_EQ(LastMenu()[2].imageIndex, -1);
  EXPECT_EQ(LastMenu()[1].extraHeight, 5);
  // The item opens the shortcut file itself, not the folder or the button's path.
  ASSERT_EQ(hp.Shell().opened.size(), 1u);
  EXPECT_EQ(hp.Shell().opened[0], "C:\\Dati\\Editor.lnk");
  EXPECT_EQ(hp.Shell().openOwners[0], bar->Handle());

  // The ordinary button opens its path.
  Click(1);
  ASSERT_EQ(hp.Shell().opened.size(), 2u);
  EXPECT_EQ(hp.Shell().opened[1], "C:\\Dati");
}

TEST_F(FolderMenuTest, ShortcutExtensionsShowUnlessTheSettingSaysOtherwise) {
  Prepare({"C:\\Dati"});
  program.Settings().HideLinkExt = false;
  bar->RebuildBar();
  Click(0);
  EXPECT_EQ(Captions(LastMenu()), (std::vector<std::string>{".lnk", ".nascosto.txt", "Editor.lnk", "Sub"}));
}

TEST_F(FolderMenuTest, AShortcutToAFolderListsThatFolderAndOneToAFileGetsNoMenu) {
  FileShellLinks links;
  ASSERT_EQ(links.SaveLink("C:\\Dati\\Cartella.lnk", "C:\\Dati\\Sub", "Sub"), 0);
  ASSERT_EQ(links.SaveLink("C:\\Dati\\File.lnk", "C:\\Dati\\.nascosto.txt", "x"), 0);
  Files().WriteFile("C:\\Dati\\Sub\\Dentro.txt", "x");
  Prepare({"C:\\Dati\\Cartella.lnk", "C:\\Dati\\File.lnk", "C:\\Manca"}, 3);
  ASSERT_TRUE(bar->FolderMenus().At(0));
  EXPECT_FALSE(bar->FolderMenus().At(1));
  EXPECT_FALSE(bar->FolderMenus().At(2));
  hp.Windows().menuChoices = {"Dentro.txt"};
  Click(0);
  EXPECT_EQ(Captions(LastMenu()), (std::vector<std::string>{"Dentro.txt"}));
  ASSERT_EQ(hp.Shell().opened.size(), 1u);
  EXPECT_EQ(hp.Shell().opened[0], "C:\\Dati\\Sub\\Dentro.txt");
  // Without a menu the buttons keep their ordinary click.
  const size_t menus = hp.Windows().shownMenus.size();
  Click(1);
  EXPECT_EQ(hp.Windows().shownMenus.size(), menus);
  EXPECT_EQ(hp.Shell().opened.back(), "C:\\Dati\\File.lnk");
}

TEST_F(FolderMenuTest, ARealTimeMenuShowsTheFolderAsItIsAtTheClick) {
  Prepare({"C:\\Dati", "C:\\Dati"}, 2);
  {
    // The second button lists the folder in real time.
    TRecordTable& t = dc->TblLinks;
    ASSERT_TRUE(t.Locate("Ordine", "1"));
    t.Edit();
    t.FieldByName("RealTime").SetAsBoolean(true);
    t.Post();
  }
  Files().CreateDir("C:\\Dati\\Nuova");
  Click(0);
  EXPECT_EQ(Captions(LastMenu()), (std::vector<std::string>{".nascosto.txt", "Editor", "Sub"}));
  Click(1);
  EXPECT_EQ(Captions(LastMenu()), (std::vector<std::string>{".nascosto.txt", "Editor", "Nuova", "Sub"}));
  // An ordinary menu learns of it at the next rebuild.
  bar->RebuildBar();
  Click(0);
  EXPECT_EQ(Captions(LastMenu()).size(), 4u);
  // A real-time menu whose folder went away shows nothing more.
  for (const char* f : {"C:\\Dati\\Editor.lnk", "C:\\Dati\\.lnk", "C:\\Dati\\.nascosto.txt"})
    Files().DeleteFile(f);
  for (const char* d : {"C:\\Dati\\Nuova", "C:\\Dati\\Sub", "C:\\Dati"})
    Files().RemoveDir(d);
  const size_t menus = hp.Windows().shownMenus.size();
  Click(1);
  EXPECT_EQ(hp.Windows().shownMenus.size(), menus);
  EXPECT_FALSE(bar->FolderMenus().At(1));
}

TEST_F(FolderMenuTest, TheMenuAppearsBesideTheButtonForEachEdge) {
  Prepare({"C:\\Dati"});
  // The button is 50 x 29 (its icon and caption). Docked, the window has no
  // frame of its own; floating, its client area starts at (3, 26).
  struct Case {
    TAppBarEdge edge;
    Point at;
  };
  for (const Case& c : {
           Case{abeLeft, {1 + 50, 8}},         // right of the button, level with its top
           Case{abeTop, {8, 1 + 29}},          // below it
           Case{abeRight, {966 + 1, 8 + 29}},  // below it, on the bar at the right edge
           Case{abeBottom, {8, 701 + 1}},      // at its top, on the bar at the bottom
           Case{abeFloat, {3 + 0, 26 + 1}},    // at its corner
       }) {
    bar->SetEdge(c.edge);
    hp.Windows().Pump();
    Click(0);
    EXPECT_EQ(hp.Windows().shownMenus.back().at, c.at) << c.edge;
  }
}

TEST_F(FolderMenuTest, AnItemWhoseButtonRowWentAwayOpensNothing) {
  Prepare({"C:\\Dati"});
  std::shared_ptr<Component> menu = bar->FolderMenus().At(0);
  ASSERT_TRUE(menu);
  DeleteButtonRow(dc->TblLinks, 0, false);
  menu->Child(1).Fire("OnClick");
  EXPECT_TRUE(hp.Shell().opened.empty());
}

}  // namespace
}  // namespace tov
