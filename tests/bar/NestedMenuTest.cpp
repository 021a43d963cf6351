// Folder menus that cascade: sub-folders and shortcuts to folders open
// sub-menus made when first opened, in the file system's order, hidden
// files as the system shows them, and a junction looping back stopped.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "bar/FolderMenuLevels.h"
#include "formats/ShortcutFiles.h"
#include "platform/FileShellLinks.h"
#include "platform/MenuIcons.h"
#include "platform/host/HostShell.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

std::vector<std::string> Captions(const std::vector<MenuEntry>& entries) {
  std::vector<std::string> out;
  for (const MenuEntry& e : entries)
    out.push_back(e.separator ? "-" : e.caption);
  return out;
}

struct NestedMenuTest : testing::BarFixture {
  NestedMenuTest() {
    ForceDirectories(Files(), "C:\\Dati\\Sub\\Profondo");
    for (const char* f :
         {"C:\\Dati\\a.txt", "C:\\Dati\\Sub\\b.txt", "C:\\Dati\\Sub\\.nascosto", "C:\\Dati\\Sub\\Profondo\\c.txt"})
      Files().WriteFile(f, "x");
    Start();
    Stop();
    PrepareFolderMenu("Dati", "C:\\Dati");
  }
  // Clicks the button (its menu opens) with the menu's answer.
  void Choose(const std::string& path) {
    hp.Windows().menuChoices = {path};
    Click(0);
  }
  std::vector<host::HostWindowSystem::ShownMenu>& Shown() { return hp.Windows().shownMenus; }
};

TEST_F(NestedMenuTest, SubFoldersCascadeAndAreMadeWhenFirstOpened) {
  Start();
  Component& menu = *bar->FolderMenus().At(0);
  ASSERT_EQ(menu.ChildCount(), 2u);  // a.txt, Sub in the listing's order
  EXPECT_EQ(menu.Child(1).caption, "Sub");
  EXPECT_EQ(menu.Child(1).ChildCount(), 0u);  // nothing made before it opens
  Choose("Sub/Profondo/c.txt");
  ASSERT_GE(Shown().size(), 3u);
  EXPECT_FALSE(Shown()[Shown().size() - 3].entries[0].expand);
  EXPECT_TRUE(Shown()[Shown().size() - 3].entries[1].expand != nullptr);
  // The sub-menu: the folder itself, then its entries (the hidden one left out).
  EXPECT_EQ(Captions(Shown()[Shown().size() - 2].entries),
            (std::vector<std::string>{"Apri questa cartella", "-", "b.txt", "Profondo"}));
  EXPECT_EQ(Captions(Shown().back().entries), (std::vector<std::string>{"Apri questa cartella", "-", "c.txt"}));
  ASSERT_EQ(hp.Shell().opened.size(), 1u);
  EXPECT_EQ(hp.Shell().opened[0], "C:\\Dati\\Sub\\Profondo\\c.txt");
  // The entries of a level carry their icons; made once, kept while the menu lives.
  // (the folder's own, then a text file's, which every text file shares).
  EXPECT_EQ(Shown().back().entries[0].imageList, kFileIcons);
  EXPECT_EQ(Shown().back().entries[0].shellPath, "C:\\Dati\\Sub\\Profondo");
  EXPECT_EQ(Shown().back().entries[0].imageIndex, -1);
  EXPECT_EQ(Shown().back().entries[2].imageList, kFileIcons);
  EXPECT_EQ(Shown().back().entries[2].shellPath, "C:\\Dati\\Sub\\Profondo\\c.txt");
  EXPECT_EQ(Shown().back().entries[2].imageIndex, FileIconKind("TXT"));
  EXPECT_GE(FileIconKind("TXT"), 0);
  EXPECT_NE(FileIconKind("DOC"), FileIconKind("TXT"));
  EXPECT_EQ(menu.Child(1).ChildCount(), 4u);
  Choose("Sub/Apri questa cartella");
  EXPECT_EQ(hp.Shell().opened.back(), "C:\\Dati\\Sub");
  EXPECT_EQ(menu.Child(1).ChildCount(), 4u);
}

TEST_F(NestedMenuTest, HiddenFilesFollowTheSystemsSetting) {
  hp.Shell().hiddenShown = 1;
  Start();
  Choose("Sub/.nascosto");
  EXPECT_EQ(Captions(Shown().back().entries),
            (std::vector<std::string>{"Apri questa cartella", "-", ".nascosto", "b.txt", "Profondo"}));
  EXPECT_EQ(hp.Shell().opened.back(), "C:\\Dati\\Sub\\.nascosto");
  // The rule itself: hidden and system files only with the protected ones.
  FindEntry e{"x", kAttrHidden | kAttrSystem, 0};
  EXPECT_FALSE(ShownUnderHiddenSetting(e, 1));
  EXPECT_TRUE(ShownUnderHiddenSetting(e, 2));
  e.attributes = kAttrHidden;
  EXPECT_FALSE(ShownUnderHiddenSetting(e, 0));
  EXPECT_TRUE(ShownUnderHiddenSetting(e, 1));
  e.attributes = kAttrSystem;  // system alone is shown
  EXPECT_TRUE(ShownUnderHiddenSetting(e, 0));
}

TEST_F(NestedMenuTest, AShortcutToAFolderCascadesAndAJunctionLoopIsStopped) {
  FileShellLinks links;
  ForceDirectories(Files(), "C:\\Altrove");
  Files().WriteFile("C:\\Altrove\\d.txt", "x");
  ASSERT_EQ(links.SaveLink("C:\\Dati\\Sub\\Collegata.lnk", "C:\\Altrove", "x"), 0);
  // Inside Profondo, a shortcut back to Dati, and a junction back to it
  // where the host can make one (a symbolic link stands for it).
  ASSERT_EQ(links.SaveLink("C:\\Dati\\Sub\\Profondo\\Su.lnk", "C:\\Dati", "x"), 0);
  std::error_code ec;
  std::filesystem::create_directory_symlink(hp.HostPath("C:\\Dati"),
                                            hp.HostPath("C:\\Dati\\Sub\\Profondo") / "Giunzione", ec);
  const bool junction = !ec;
  Start();
  Choose("Sub/Collegata/d.txt");
  EXPECT_EQ(hp.Shell().opened.back(), "C:\\Altrove\\d.txt");
  Choose("Sub/Profondo/Su");
  // Each loop opens as an entry: the shortcut itself, the junction's folder.
  const std::vector<MenuEntry>& level = Shown().back().entries;
  if (junction) {
    EXPECT_EQ(Captions(level), (std::vector<std::string>{"Apri questa cartella", "-", "c.txt", "Giunzione", "Su"}));
    EXPECT_FALSE(level[3].expand);
    EXPECT_EQ(Files().FinalPath("C:\\Dati\\Sub\\Profondo\\Giunzione\\Sub"), "C:\\Dati\\Sub");
  } else {
    EXPECT_EQ(Captions(level), (std::vector<std::string>{"Apri questa cartella", "-", "c.txt", "Su"}));
  }
  EXPECT_FALSE(level.back().expand);
  EXPECT_EQ(hp.Shell().opened.back(), "C:\\Dati\\Sub\\Profondo\\Su.lnk");
}

TEST_F(NestedMenuTest, AFolderOfFiveThousandEntriesListsThemAllInOrder) {
  ForceDirectories(Files(), "C:\\Dati\\Sub\\Molti");
  for (int i = 0; i < 5000; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "C:\\Dati\\Sub\\Molti\\f%04d.txt", 4999 - i);
    Files().WriteFile(name, "");
  }
  TMenuLevelRules rules;
  const auto entries = ListMenuLevel("C:\\Dati\\Sub\\Molti", ChainWith({}, "C:\\Dati\\Sub\\Molti"), rules);
  ASSERT_EQ(entries.size(), 5000u);
  EXPECT_EQ(entries.front().caption, "f0000.txt");
  EXPECT_EQ(entries.back().caption, "f4999.txt");
  EXPECT_TRUE(entries.back().folder.empty());
}

// A level of thousands of entries shows its first screenful at once; the
// rest comes in batches while it shows, in order, each entry once, and the
// last one opens like the first. Opened again, the level is there whole.
TEST_F(NestedMenuTest, AFolderOfFiveThousandEntriesIsMadeInBatches) {
  ForceDirectories(Files(), "C:\\Dati\\Sub\\Molti\\Dentro");
  for (int i = 0; i < 5000; ++i) {
    char name[40];
    std::snprintf(name, sizeof name, "C:\\Dati\\Sub\\Molti\\f%04d.txt", i);
    Files().WriteFile(name, "");
  }
  Start();
  Choose("Sub/Molti/f4999.txt");
  const host::HostWindowSystem::ShownMenu& level = Shown().back();
  ASSERT_EQ(hp.Shell().opened.size(), 1u) << level.madeAtOnce << " " << level.entries.size();
  EXPECT_EQ(hp.Shell().opened.back(), "C:\\Dati\\Sub\\Molti\\f4999.txt");
  // "Apri questa cartella", the separator, then the first screenful.
  EXPECT_EQ(level.madeAtOnce, 2 + TFolderMenus::kFirstScreenful);
  ASSERT_EQ(level.entries.size(), 2u + 5001u);
  size_t later = 0;
  for (size_t b : level.batches) {
    EXPECT_LE(b, TFolderMenus::kLevelBatch);
    later += b;
  }
  EXPECT_EQ(level.madeAtOnce + later, level.entries.size());
  // Every file once, in order, and the sub-folder, wherever the file
  // system lists it, cascading like any other.
  std::vector<int> ids;
  size_t file = 0;
  bool folder = false;
  for (size_t i = 2; i < level.entries.size(); ++i) {
    const MenuEntry& e = level.entries[i];
    if (e.caption == "Dentro") {
      EXPECT_TRUE(e.expand != nullptr);
      folder = true;
      continue;
    }
    char name[16];
    std::snprintf(name, sizeof name, "f%04d.txt", int(file++));
    ASSERT_EQ(e.caption, name);
    // One icon for all: the kind's, fetched once when drawn.
    ASSERT_EQ(e.imageIndex, FileIconKind("TXT"));
    ids.push_back(e.id);
  }
  EXPECT_EQ(file, 5000u);
  EXPECT_TRUE(folder);
  std::sort(ids.begin(), ids.end());
  EXPECT_TRUE(std::adjacent_find(ids.begin(), ids.end()) == ids.end());  // every command its own
  // The level is kept: opened again it is all there, made once.
  Choose("Sub/Molti/f0100.txt");
  ASSERT_EQ(hp.Shell().opened.size(), 2u);
  EXPECT_EQ(hp.Shell().opened.back(), "C:\\Dati\\Sub\\Molti\\f0100.txt");
  const size_t shown = Shown().size();
  Choose("Sub/Molti/f4000.txt");
  EXPECT_EQ(hp.Shell().opened.back(), "C:\\Dati\\Sub\\Molti\\f4000.txt");
  EXPECT_EQ(Shown().size(), shown + 1);  // the first level only: the others were made
}

// A right click on any entry, at any level, shows the shell's menu for it.
TEST_F(NestedMenuTest, ARightClickOnAnEntryShowsTheShellsMenu) {
  Start();
  Choose("right:a.txt");
  ASSERT_EQ(hp.Shell().contextMenus.size(), 1u);
  EXPECT_EQ(hp.Shell().contextMenus[0].path, "C:\\Dati\\a.txt");
  EXPECT_EQ(hp.Shell().contextMenus[0].owner, bar->Handle());
  Choose("right:Sub/Profondo/c.txt");
  ASSERT_EQ(hp.Shell().contextMenus.size(), 2u);
  EXPECT_EQ(hp.Shell().contextMenus[1].path, "C:\\Dati\\Sub\\Profondo\\c.txt");
  Choose("right:Sub/Apri questa cartella");
  EXPECT_EQ(hp.Shell().contextMenus.back().path, "C:\\Dati\\Sub");
  EXPECT_TRUE(hp.Shell().opened.empty());  // nothing opened by it
}

}  // namespace
}  // namespace tov
