// Files dropped on the headless bar: shortcuts in the source folder and new
// buttons at the end, in drop order; the source folder's commands.
#include <gtest/gtest.h>

#include "formats/ShortcutFiles.h"
#include "platform/host/HostDialogs.h"
#include "platform/host/HostShell.h"
#include "settings/UserData.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

const std::string kLinks = testing::kBarLinks;

struct DropFilesTest : testing::BarFixture {
  DropFilesTest() {
    ForceDirectories(Files(), "C:\\Dati\\Docs");
    for (const char* f : {"C:\\Dati\\report.pdf", "C:\\Dati\\Editor.lnk"})
      Files().WriteFile(f, "x");
    StartOn({{"Uno", "Button"}});
  }
  void Drop(const std::vector<std::string>& paths) {
    const uintptr_t drop = hp.Shell().MakeDrop(paths);
    Win().Send(WM_DROPFILES, drop, 0);
    EXPECT_TRUE(hp.Shell().DropFinished(drop));
  }
};

TEST_F(DropFilesTest, EachDroppedItemBecomesAShortcutAndAButtonAtTheEnd) {
  EXPECT_TRUE(hp.Shell().AcceptsDrops(bar->Handle()));
  Drop({"C:\\Dati\\report.pdf", "C:\\Dati\\Docs", "C:\\Dati\\Editor.lnk"});
  EXPECT_EQ(Hints(), (std::vector<std::string>{"Uno", "report", "Docs", "Editor"}));
  // Each shortcut carries the item's own extension and points at the item.
  EXPECT_EQ(ReadShortcutTarget(0, kLinks + "report.pdf.lnk"), "C:\\Dati\\report.pdf");
  EXPECT_EQ(ReadShortcutTarget(0, kLinks + "Docs.lnk"), "C:\\Dati\\Docs");
  EXPECT_EQ(ReadShortcutTarget(0, kLinks + "Editor.lnk.lnk"), "C:\\Dati\\Editor.lnk");
  // The rows open the shortcuts and were saved with the bar.
  TDataModule saved;
  LoadButtonList(saved.TblLinks, kLinks + "ButtonList.lob", saved.SaveFormat);
  ASSERT_EQ(saved.TblLinks.GetRecordCount(), 4);
  ASSERT_TRUE(saved.TblLinks.Locate("Ordine", "2"));
  EXPECT_EQ(saved.TblLinks.FieldByName("Caption").AsString(), "Docs");
  EXPECT_EQ(saved.TblLinks.FieldByName("Path").AsString(), kLinks + "Docs.lnk");
  EXPECT_EQ(saved.TblLinks.FieldByName("Type").AsString(), "Button");
  // A later refresh that keeps what was set keeps the dropped buttons in
  // their places ("Uno" stood for no file of the folder and goes).
  bar->PopRefreshFolderClick(true);
  EXPECT_EQ(Hints(), (std::vector<std::string>{"report", "Docs", "Editor"}));
}

TEST_F(DropFilesTest, TheSameFileTwiceGivesTwoButtonsAndOneShortcut) {
  Drop({"C:\\Dati\\report.pdf"});
  Drop({"C:\\Dati\\report.pdf"});
  EXPECT_EQ(Hints(), (std::vector<std::string>{"Uno", "report", "report"}));
  int shortcuts = 0;
  for (const FindEntry& e : Files().FindFiles(kLinks + "*.lnk"))
    shortcuts += e.name == "report.pdf.lnk";
  EXPECT_EQ(shortcuts, 1);
}

TEST_F(DropFilesTest, APathLongerThanTheClassicLimitIsNeverCutShort) {
  std::string deep = "C:\\Dati";
  while (deep.size() < 300)
    deep += "\\Cartella con un nome lungo";
  ForceDirectories(Files(), deep);
  const std::string file = deep + "\\fattura.pdf";
  Files().WriteFile(file, "x");
  const size_t boxes = hp.Dialogs().shown.size();
  Drop({file});
  // The row comes all the same; a shortcut cannot hold so long a path, and
  // the user is told, rather than getting one that names a cut path.
  EXPECT_EQ(Hints(), (std::vector<std::string>{"Uno", "fattura"}));
  EXPECT_FALSE(Files().FileExists(kLinks + "fattura.pdf.lnk"));
  ASSERT_EQ(hp.Dialogs().shown.size(), boxes + 1);
  EXPECT_EQ(hp.Dialogs().shown.back().style & MB_ICONERROR, uint32_t(MB_ICONERROR));
  // A path just inside the limit is taken whole.
  const std::string fits = "C:\\Dati\\" + std::string(230, 'x') + "\\breve.txt";
  ForceDirectories(Files(), "C:\\Dati\\" + std::string(230, 'x'));
  Files().WriteFile(fits, "x");
  Drop({fits});
  EXPECT_EQ(ReadShortcutTarget(0, kLinks + "breve.txt.lnk"), fits);
}

TEST_F(DropFilesTest, NothingHappensWithoutASourceFolderOrAName) {
  const size_t boxes = hp.Dialogs().shown.size();
  Drop({"C:\\"});  // a drive: nothing to name the shortcut after
  EXPECT_EQ(Hints(), (std::vector<std::string>{"Uno"}));
  EXPECT_EQ(hp.Dialogs().shown.size(), boxes);
  Files().DeleteFile(kLinks + "ButtonList.lob");
  for (const FindEntry& e : Files().FindFiles(kLinks + "*"))
    if (!e.IsDirectory()) Files().DeleteFile(kLinks + e.name);
  ASSERT_TRUE(Files().RemoveDir(kLinks));
  Drop({"C:\\Dati\\report.pdf"});
  EXPECT_EQ(Hints(), (std::vector<std::string>{"Uno"}));
  EXPECT_FALSE(Files().DirExists(kLinks));
  // A handle the shell does not know is released all the same.
  Win().Send(WM_DROPFILES, 0x1234, 0);
  EXPECT_EQ(hp.Shell().OpenDrops(), 0u);
}

struct SourceFolderCommandsTest : testing::BarFixture {
  SourceFolderCommandsTest() {
    ForceDirectories(Files(), "C:\\Altro");
    for (const char* f : {"C:\\Altro\\A.lnk", "C:\\Altro\\B.lnk"})
      Files().WriteFile(f, "x");
    StartOn({{"Uno", "Button"}});
  }
  std::string FolderSource() { return program.UserStore().GetString("Generale", "FolderSource", "[Bogus]"); }
};

TEST_F(SourceFolderCommandsTest, ChoosingAFolderLoadsItsEntriesAndRemembersIt) {
  // A button list the chosen folder holds is not read: it is replaced.
  Files().WriteFile("C:\\Altro\\ButtonList.lob", "rotto");
  hp.Dialogs().folderAnswers = {std::string("C:\\Altro")};
  bar->PopFolderClick();
  ASSERT_EQ(hp.Dialogs().browsed.size(), 1u);
  EXPECT_EQ(hp.Dialogs().browsed[0], kLinks);  // the current folder preselected
  EXPECT_EQ(bar->SourceFolder(), "C:\\Altro");
  ASSERT_EQ(bar->ButtonCount(), 2u);
  EXPECT_EQ(bar->Button(0).hint, "B");
  EXPECT_EQ(FolderSource(), "C:\\Altro");
  TDataModule saved;
  LoadButtonList(saved.TblLinks, "C:\\Altro\\ButtonList.lob", saved.SaveFormat);
  EXPECT_EQ(saved.TblLinks.GetRecordCount(), 2);
  // The next start reads it from there.
  Stop();
  Start();
  EXPECT_EQ(bar->SourceFolder(), "C:\\Altro");
  EXPECT_EQ(bar->ButtonCount(), 2u);
}

TEST_F(SourceFolderCommandsTest, CancellingOrAFolderThatIsNotThereChangesNothing) {
  hp.Dialogs().folderAnswers = {std::nullopt, std::string("C:\\Manca")};
  bar->PopFolderClick();
  bar->PopFolderClick();
  EXPECT_EQ(bar->SourceFolder(), kLinks);
  EXPECT_EQ(bar->ButtonCount(), 1u);
  EXPECT_EQ(FolderSource(), "[Bogus]");
}

TEST_F(SourceFolderCommandsTest, OpenAndRefreshActOnTheCurrentFolder) {
  bar->PopOpenFolderClick();
  ASSERT_EQ(hp.Shell().opened.size(), 1u);
  EXPECT_EQ(hp.Shell().opened[0], kLinks);
  // The links folder holds no shortcut: a clean refresh empties the bar.
  hp.Windows().menuChoices = {"Cartella origine/Aggiorna da contenuto/Aggiorna e pulisci"};
  Win().Send(WM_RBUTTONUP, 0, intptr_t(600));
  EXPECT_EQ(bar->ButtonCount(), 0u);
}

TEST_F(SourceFolderCommandsTest, AKeepRefreshOverADamagedButtonListLeavesTheBarAsItWas) {
  Files().WriteFile(kLinks + "Nuovo.lnk", "x");
  Files().WriteFile(kLinks + "ButtonList.lob", "TPF0 rotto");
  EXPECT_FALSE(bar->RefreshFromFolder(kLinks, true));
  EXPECT_EQ(bar->ButtonCount(), 1u);
  EXPECT_EQ(bar->Button(0).hint, "Uno");
  // The user was told, and the damaged file was kept aside.
  ASSERT_FALSE(hp.Dialogs().shown.empty());
  EXPECT_TRUE(Files().FileExists(kLinks + "ButtonList.lob.damaged"));
}

}  // namespace
}  // namespace tov
