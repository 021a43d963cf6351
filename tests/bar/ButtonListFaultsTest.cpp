// The bar started as the program starts, on source folders whose button list
// is missing, damaged, locked or cannot be written: the user keeps their
// buttons, their order and a running bar, and nothing the program writes
// beside the list becomes a button.
#include <gtest/gtest.h>

#include "bar/SourceFolder.h"
#include "controls/ButtonTable.h"
#include "platform/host/HostDialogs.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

using Names = std::vector<std::string>;
const std::string kLinks = testing::kBarLinks;
const std::string kList = kLinks + "ButtonList.lob";

struct ButtonListFaultsTest : testing::BarFixture {
  ButtonListFaultsTest() {
    Start();  // the first start makes the links folder and an empty list
    Stop();
    Files().DeleteFile(kList);
    for (const char* f : {"A.lnk", "B.lnk", "C.lnk"})
      Files().WriteFile(kLinks + f, "x");
    hp.Dialogs().shown.clear();
  }
  // Chooses an entry of the button menu of the first button.
  void OnFirstButton(const std::string& command) {
    hp.Windows().menuChoices = {command};
    Win().Send(WM_RBUTTONUP, 0, intptr_t(10) | (intptr_t(5) << 16));
  }
  // The captions the list file holds, in its order.
  std::string SavedCaptions() {
    TDataModule saved;
    if (!LoadButtonList(saved.TblLinks, kList, saved.SaveFormat)) return "(unreadable)";
    std::string out;
    for (saved.TblLinks.First(); !saved.TblLinks.Eof(); saved.TblLinks.Next())
      out += saved.TblLinks.FieldByName("Caption").AsString() + " ";
    return out;
  }
  std::string ReadAll(const std::string& path) {
    std::string bytes;
    return Files().ReadFile(path, &bytes) ? bytes : "(none)";
  }
  bool Running() { return bar->HandleAllocated() && Win().IsVisible(); }
};

TEST_F(ButtonListFaultsTest, ButtonsBuiltFromTheFolderMoveAtOnceAndKeepTheirOrder) {
  Start();
  ASSERT_EQ(Hints(), (Names{"C", "B", "A"}));
  OnFirstButton("Sposta dopo");
  EXPECT_EQ(Hints(), (Names{"B", "C", "A"}));
  EXPECT_EQ(SavedCaptions(), "B C A ");
  // A keep refresh keeps the user's order; a new entry comes in by its number.
  Files().WriteFile(kLinks + "D.lnk", "x");
  bar->PopRefreshFolderClick(true);
  EXPECT_EQ(Hints(), (Names{"B", "D", "C", "A"}));
  // The same after choosing a folder that holds no list.
  ForceDirectories(Files(), "C:\\Altro");
  for (const char* f : {"C:\\Altro\\X.lnk", "C:\\Altro\\Y.lnk"})
    Files().WriteFile(f, "x");
  hp.Dialogs().folderAnswers = {std::string("C:\\Altro")};
  bar->PopFolderClick();
  ASSERT_EQ(Hints(), (Names{"Y", "X"}));
  OnFirstButton("Sposta dopo");
  EXPECT_EQ(Hints(), (Names{"X", "Y"}));
  EXPECT_TRUE(hp.Dialogs().shown.empty());
}

TEST_F(ButtonListFaultsTest, AListThatCannotBeWrittenLeavesTheBarRunningWithAnErrorBox) {
  // A folder where the list should be: every save fails.
  ASSERT_TRUE(Files().CreateDir(kList));
  Start();
  EXPECT_TRUE(Running());
  EXPECT_EQ(Hints(), (Names{"C", "B", "A"}));
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_EQ(hp.Dialogs().shown[0].text, "Cannot create file " + kList + ".");
  EXPECT_EQ(hp.Dialogs().shown[0].caption, "Tovira");
  EXPECT_EQ(hp.Dialogs().shown[0].style, uint32_t(MB_OK | MB_ICONERROR));
  // A command that saves again: the same box, and the bar goes on.
  OnFirstButton("Sposta dopo");
  EXPECT_EQ(Hints(), (Names{"B", "C", "A"}));
  EXPECT_EQ(hp.Dialogs().shown.size(), 2u);
  EXPECT_TRUE(Running());
  // No temporary file is left behind, and none becomes a button.
  EXPECT_FALSE(Files().FileExists(kList + ".tmp"));
  hp.Windows().menuChoices = {"Cartella origine/Aggiorna da contenuto/Aggiorna e pulisci"};
  Win().Send(WM_RBUTTONUP, 0, intptr_t(600));  // on the background
  EXPECT_EQ(Hints(), (Names{"C", "B", "A"}));
  EXPECT_EQ(hp.Dialogs().shown.size(), 3u);
  EXPECT_TRUE(Running());
}

TEST_F(ButtonListFaultsTest, TheProgramsOwnSideFilesNeverBecomeButtons) {
  for (const char* f :
       {"ButtonList.lob.damaged", "ButtonList.lob.damaged2", "ButtonList.lob.tmp", "buttonlist.LOB.damaged3"})
    Files().WriteFile(kLinks + f, "x");
  Start();
  EXPECT_EQ(Hints(), (Names{"C", "B", "A"}));
  bar->PopRefreshFolderClick(true);
  EXPECT_EQ(Hints(), (Names{"C", "B", "A"}));
  // Names that only begin like the list are the user's own entries.
  EXPECT_EQ(EntryCaption("ButtonList.lobby.lnk"), "ButtonList.lobby");
  EXPECT_EQ(EntryCaption("ButtonList.lnk"), "ButtonList");
  EXPECT_EQ(EntryCaption("BUTTONLIST.LOB"), "");
}

TEST_F(ButtonListFaultsTest, ADamagedListIsSetAsideAndTheBarKeepsTheFolderButtons) {
  Files().WriteFile(kList, "TPF0 rotto");
  Start();
  EXPECT_EQ(Hints(), (Names{"C", "B", "A"}));
  EXPECT_EQ(ReadAll(kList + ".damaged"), "TPF0 rotto");
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_NE(hp.Dialogs().shown[0].text.find(kList + ".damaged"), std::string::npos);
  // The new list holds the folder's buttons, so the next start shows them.
  EXPECT_EQ(SavedCaptions(), "C B A ");
  Stop();
  Start();
  EXPECT_EQ(Hints(), (Names{"C", "B", "A"}));
  EXPECT_EQ(hp.Dialogs().shown.size(), 1u);
}

TEST_F(ButtonListFaultsTest, ALockedListIsReportedLeftInPlaceAndNotOverwritten) {
  // The user's own order, saved before.
  Start();
  OnFirstButton("Sposta dopo");
  const Names saved = Hints();
  ASSERT_EQ(saved, (Names{"B", "C", "A"}));
  Stop();
  const std::string bytes = ReadAll(kList);
  hp.Files().LockFile(kList);
  Start();
  // Told once, in the words of the file error; the bar shows the folder.
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_EQ(hp.Dialogs().shown[0].text.rfind("Cannot open file " + kList, 0), 0u);
  EXPECT_EQ(Hints(), (Names{"C", "B", "A"}));
  EXPECT_FALSE(Files().FileExists(kList + ".damaged"));
  // Commands change the bar but never write over the unread list, even once
  // it is free again.
  OnFirstButton("Sposta dopo");
  hp.Files().UnlockFile(kList);
  OnFirstButton("Sposta dopo");
  EXPECT_EQ(ReadAll(kList), bytes);
  EXPECT_EQ(hp.Dialogs().shown.size(), 1u);
  // A keep refresh reads it: the user's order is back and saved from then on.
  bar->PopRefreshFolderClick(true);
  EXPECT_EQ(Hints(), saved);
  OnFirstButton("Sposta dopo");
  EXPECT_NE(ReadAll(kList), bytes);
  EXPECT_EQ(hp.Dialogs().shown.size(), 1u);
}

TEST_F(ButtonListFaultsTest, AKeepRefreshOverALockedListLeavesTheBarAsItWas) {
  Start();
  OnFirstButton("Sposta dopo");
  hp.Files().LockFile(kList);
  Files().WriteFile(kLinks + "D.lnk", "x");
  bar->PopRefreshFolderClick(true);
  EXPECT_EQ(Hints(), (Names{"B", "C", "A"}));
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_EQ(hp.Dialogs().shown[0].text.rfind("Cannot open file " + kList, 0), 0u);
  EXPECT_TRUE(Files().FileExists(kList));
}

}  // namespace
}  // namespace tov
