// A button dragged onto a folder target: where "onto" ends and "between"
// begins, and the drop menu's move, copy and cancel with the faults the file
// system can put in their way.
#include <gtest/gtest.h>

#include <filesystem>

#include "bar/ButtonDrag.h"
#include "bar/FolderDrop.h"
#include "files/FileTransfer.h"
#include "formats/ShortcutFiles.h"
#include "platform/host/HostDialogs.h"
#include "platform/host/HostSystem.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

const std::string kLinks = testing::kBarLinks;

// ---------------------------------------------------------------- hit-testing

// Four positions of a horizontal bar 40 pixels long, the third a separator
// (no folder), the second and the fourth folder targets.
const std::vector<Rect> kRow{{0, 0, 40, 20}, {40, 0, 80, 20}, {80, 0, 86, 20}, {86, 0, 126, 20}};
const std::vector<std::string> kFolders{"", "C:\\A", "", "C:\\B"};

TEST(DragTargetAt, TheMiddleOfAFolderButtonIsOntoItItsEndsAreBetween) {
  // Onto: from a quarter (10 of 40) in from either end.
  for (int x : {50, 60, 69}) {
    const TDragTarget t = DragTargetAt(kRow, kFolders, 0, Point{x, 10}, false);
    ASSERT_TRUE(t.onto.has_value()) << x;
    EXPECT_EQ(*t.onto, 1u);
    EXPECT_FALSE(t.place.has_value());
  }
  // Its first quarter: before it; its last quarter: after it.
  TDragTarget t = DragTargetAt(kRow, kFolders, 0, Point{45, 10}, false);
  EXPECT_FALSE(t.onto);
  ASSERT_TRUE(t.place);
  EXPECT_EQ(t.place->slot, 1u);
  t = DragTargetAt(kRow, kFolders, 0, Point{75, 10}, false);
  EXPECT_FALSE(t.onto);
  EXPECT_EQ(t.place->slot, 2u);
  // The last position, a folder: its far end lands after it.
  t = DragTargetAt(kRow, kFolders, 0, Point{125, 10}, false);
  EXPECT_FALSE(t.onto);
  EXPECT_EQ(t.place->slot, 4u);
  EXPECT_EQ(*DragTargetAt(kRow, kFolders, 0, Point{106, 0}, false).onto, 3u);
  EXPECT_EQ(*DragTargetAt(kRow, kFolders, 0, Point{106, 19}, false).onto, 3u);
}

TEST(DragTargetAt, SeparatorsPlainButtonsItselfAndOffTheLineAreNeverOnto) {
  // A separator and a button that is no folder: between, whatever the point.
  EXPECT_FALSE(DragTargetAt(kRow, kFolders, 1, Point{83, 10}, false).onto);
  EXPECT_FALSE(DragTargetAt(kRow, kFolders, 1, Point{20, 10}, false).onto);
  // The dragged folder button over itself.
  EXPECT_FALSE(DragTargetAt(kRow, kFolders, 1, Point{60, 10}, false).onto);
  // Above or below the line: between (the nearest line's place).
  TDragTarget t = DragTargetAt(kRow, kFolders, 0, Point{60, -5}, false);
  EXPECT_FALSE(t.onto);
  EXPECT_TRUE(t.place);
  EXPECT_FALSE(DragTargetAt(kRow, kFolders, 0, Point{60, 20}, false).onto);
  // Fewer folders than positions: the rest have none.
  EXPECT_FALSE(DragTargetAt(kRow, {"", "C:\\A"}, 0, Point{106, 10}, false).onto);
  EXPECT_FALSE(DragTargetAt({}, {}, 0, Point{0, 0}, false).place);
}

TEST(DragTargetAt, AVerticalBarCountsAlongItsHeight) {
  const std::vector<Rect> column{{0, 0, 30, 24}, {0, 24, 30, 48}, {0, 48, 30, 52}};
  const std::vector<std::string> folders{"C:\\A", "", ""};
  EXPECT_EQ(*DragTargetAt(column, folders, 1, Point{15, 12}, true).onto, 0u);
  EXPECT_EQ(*DragTargetAt(column, folders, 1, Point{0, 6}, true).onto, 0u);
  TDragTarget t = DragTargetAt(column, folders, 1, Point{15, 5}, true);
  EXPECT_FALSE(t.onto);
  EXPECT_EQ(t.place->slot, 0u);
  t = DragTargetAt(column, folders, 1, Point{15, 19}, true);
  EXPECT_FALSE(t.onto);
  EXPECT_EQ(t.place->slot, 1u);
  // Beside the column (its cross band): not onto.
  EXPECT_FALSE(DragTargetAt(column, folders, 1, Point{31, 12}, true).onto);
}

// ------------------------------------------------------------ the bar's drop

struct FolderDropTest : testing::BarFixture {
  FolderDropTest() {
    Start();
    Stop();
    ForceDirectories(Files(), "C:\\Cartella");
    ForceDirectories(Files(), "C:\\Menu");
    CreateShortcut("C:\\Menu", "Menu", kLinks);
    for (const char* name : {"Uno.lnk", "Due.lnk"})
      Files().WriteFile(kLinks + name, std::string("link ") + name);
    PrepareList();
    Start();
    boxesAtStart = hp.Dialogs().shown.size();
    hp.System().metrics[68] = 4;  // SM_CXDRAG
    hp.System().metrics[69] = 4;  // SM_CYDRAG
  }
  // The list is written by a data module of its own, gone before the start.
  void PrepareList() {
    TDataModule scratch;
    TRecordTable& t = scratch.TblLinks;
    AddButtonRow(t, 0, "Uno", kLinks + "Uno.lnk");
    AddButtonRow(t, 1, "Cartella", "C:\\Cartella");
    AddSeparatorRow(t, 2, "*Separator*");
    AddButtonRow(t, 3, "Due", kLinks + "Due.lnk");
    AddButtonRow(t, 4, "Menu", kLinks + "Menu.lnk");
    for (t.First(); !t.Eof(); t.Next()) {
      t.Edit();
      t.FieldByName("AutoSize").SetAsBoolean(false);
      if (t.FieldByName("Caption").AsString() == "Menu") t.FieldByName("FolderMenu").SetAsBoolean(true);
      t.Post();
    }
    SaveButtonList(t, kLinks, scratch.SaveFormat);
  }
  // Drags position from onto the middle of position onto and lets it go
  // there, with the drop menu answered by choice ("" for none).
  void DragOnto(size_t from, size_t onto, const std::string& choice) {
    hp.Windows().menuChoices.clear();
    if (!choice.empty()) hp.Windows().menuChoices.push_back(choice);
    const Point a = Middle(Position(from)), b = Middle(Position(onto));
    Win().Send(WM_LBUTTONDOWN, 1, At(a));
    Win().Send(WM_MOUSEMOVE, 1, At(Point{a.x + 8, a.y}));
    Win().Send(WM_MOUSEMOVE, 1, At(b));
    Win().Send(WM_LBUTTONUP, 0, At(b));
  }
  // The message boxes shown since the bar started (its first start tells
  // of the folder it made).
  size_t Boxes() { return hp.Dialogs().shown.size() - boxesAtStart; }
  size_t boxesAtStart = 0;
  using Names = std::vector<std::string>;
  const Names kStart{"Uno", "Cartella", "*Separator*", "Due", "Menu"};
};

TEST_F(FolderDropTest, HoveringAFolderTargetMarksItAndTheMenuOffersMoveCopyCancel) {
  ASSERT_EQ(Saved(), kStart);
  const Point a = Middle(Position(0));
  Win().Send(WM_LBUTTONDOWN, 1, At(a));
  Win().Send(WM_MOUSEMOVE, 1, At(Point{a.x + 8, a.y}));
  Win().Send(WM_MOUSEMOVE, 1, At(Middle(Position(1))));
  ASSERT_TRUE(bar->Drag().OntoFolder().has_value());
  EXPECT_EQ(*bar->Drag().OntoFolder(), Position(1));
  // Near the folder button's end: an insert mark again.
  Win().Send(WM_MOUSEMOVE, 1, At(Point{Position(1).right - 2, a.y}));
  EXPECT_FALSE(bar->Drag().OntoFolder().has_value());
  // A folder-menu button (a shortcut to a folder) is a target too.
  Win().Send(WM_MOUSEMOVE, 1, At(Middle(Position(4))));
  EXPECT_TRUE(bar->Drag().OntoFolder().has_value());
  Win().Send(WM_KEYDOWN, 0x1B, 0);
  EXPECT_FALSE(bar->Drag().OntoFolder().has_value());
  Win().Send(WM_LBUTTONUP, 0, At(Middle(Position(4))));
  // The menu, answered with nothing (Esc): nothing happens.
  DragOnto(0, 1, "");
  ASSERT_FALSE(hp.Windows().shownMenus.empty());
  std::vector<std::string> captions;
  for (const MenuEntry& e : hp.Windows().shownMenus.back().entries)
    captions.push_back(e.separator ? "-" : e.caption);
  EXPECT_EQ(captions, (Names{"Sposta qui", "Copia qui", "-", "Annulla"}));
  DragOnto(0, 1, "Annulla");
  EXPECT_FALSE(Files().FileExists("C:\\Cartella\\Uno.lnk"));
  EXPECT_TRUE(Files().FileExists(kLinks + "Uno.lnk"));
  EXPECT_EQ(Saved(), kStart);
  EXPECT_TRUE(hp.Shell().opened.empty());  // no click either
}

TEST_F(FolderDropTest, CopyLeavesTheBarMoveTakesTheButtonOffAndNamesNeverClash) {
  DragOnto(0, 1, "Copia qui");
  std::string bytes;
  ASSERT_TRUE(Files().ReadFile("C:\\Cartella\\Uno.lnk", &bytes));
  EXPECT_EQ(bytes, "link Uno.lnk");
  EXPECT_TRUE(Files().FileExists(kLinks + "Uno.lnk"));
  EXPECT_EQ(Saved(), kStart);
  // Again: the copy there is kept, the new one takes the next free name.
  DragOnto(0, 1, "Copia qui");
  EXPECT_TRUE(Files().FileExists("C:\\Cartella\\Uno (2).lnk"));
  EXPECT_EQ(Boxes(), 0u);
  // Moved onto the folder-menu button: into the folder its shortcut leads to,
  // and off the bar, saved.
  DragOnto(3, 4, "Sposta qui");
  EXPECT_TRUE(Files().FileExists("C:\\Menu\\Due.lnk"));
  EXPECT_FALSE(Files().FileExists(kLinks + "Due.lnk"));
  EXPECT_EQ(Saved(), (Names{"Uno", "Cartella", "*Separator*", "Menu"}));
  EXPECT_EQ(Hints().size(), 3u);
  // Moved where a file of its name is: both kept.
  Files().WriteFile("C:\\Cartella\\Uno.lnk", "altro");
  DragOnto(0, 1, "Sposta qui");
  EXPECT_TRUE(Files().FileExists("C:\\Cartella\\Uno (3).lnk"));
  ASSERT_TRUE(Files().ReadFile("C:\\Cartella\\Uno.lnk", &bytes));
  EXPECT_EQ(bytes, "altro");
  EXPECT_EQ(Saved(), (Names{"Cartella", "*Separator*", "Menu"}));
  EXPECT_EQ(Boxes(), 0u);
}

TEST_F(FolderDropTest, AFileInUseOrAFolderNotWritableLosesNothingAndSaysSo) {
  hp.Files().LockFile(kLinks + "Uno.lnk");
  DragOnto(0, 1, "Sposta qui");
  ASSERT_EQ(Boxes(), 1u);
  EXPECT_NE(hp.Dialogs().shown.back().text.find("Uno.lnk"), std::string::npos);
  EXPECT_NE(hp.Dialogs().shown.back().text.find("rimasto dov'era"), std::string::npos);
  EXPECT_TRUE(Files().FileExists(kLinks + "Uno.lnk"));
  EXPECT_FALSE(Files().FileExists("C:\\Cartella\\Uno.lnk"));
  EXPECT_EQ(Saved(), kStart);
  hp.Files().UnlockFile(kLinks + "Uno.lnk");
  hp.Files().SetReadOnlyFolder("C:\\Cartella");
  DragOnto(0, 1, "Copia qui");
  ASSERT_EQ(Boxes(), 2u);
  EXPECT_NE(hp.Dialogs().shown.back().text.find("non si pu\u00F2 copiare"), std::string::npos);
  EXPECT_EQ(Saved(), kStart);
}

TEST_F(FolderDropTest, AFolderOrAFileGoneBeforeTheDropIsToldAndNothingChanges) {
  // The folder goes while the menu is open: the drag found it, the move does not.
  const Point a = Middle(Position(0)), b = Middle(Position(1));
  Win().Send(WM_LBUTTONDOWN, 1, At(a));
  Win().Send(WM_MOUSEMOVE, 1, At(Point{a.x + 8, a.y}));
  Win().Send(WM_MOUSEMOVE, 1, At(b));
  Files().RemoveDir("C:\\Cartella");
  hp.Windows().menuChoices = {"Sposta qui"};
  Win().Send(WM_LBUTTONUP, 0, At(b));
  ASSERT_EQ(Boxes(), 1u);
  EXPECT_NE(hp.Dialogs().shown.back().text.find("C:\\Cartella"), std::string::npos);
  EXPECT_TRUE(Files().FileExists(kLinks + "Uno.lnk"));
  EXPECT_EQ(Saved(), kStart);
  // The button's file is gone: told, the bar as it was.
  Files().DeleteFile(kLinks + "Due.lnk");
  DragOnto(3, 4, "Copia qui");
  ASSERT_EQ(Boxes(), 2u);
  EXPECT_NE(hp.Dialogs().shown.back().text.find("Due.lnk"), std::string::npos);
  EXPECT_FALSE(Files().FileExists("C:\\Menu\\Due.lnk"));
}

TEST_F(FolderDropTest, AMoveToAnotherDriveIsACopyAndADeleteTakenBackWhenTheDeleteFails) {
  // A drive missing: nothing is made on it (its root is its own parent).
  EXPECT_FALSE(ForceDirectories(Files(), "D:\\Altrove"));
  std::filesystem::create_directories(hp.HostPath("D:\\"));
  ASSERT_TRUE(ForceDirectories(Files(), "D:\\Altrove"));
  hp.Files().FailMovesAcrossDrives(true);
  TTransfer t = TransferFileInto(kLinks + "Due.lnk", "D:\\Altrove", true);
  EXPECT_EQ(t.result, TTransferResult::Done);
  EXPECT_EQ(t.destination, "D:\\Altrove\\Due.lnk");
  EXPECT_TRUE(Files().FileExists("D:\\Altrove\\Due.lnk"));
  EXPECT_FALSE(Files().FileExists(kLinks + "Due.lnk"));
  // The original cannot be deleted: the copy goes, the file stays in one place.
  hp.Files().SetReadOnlyFolder(kLinks);
  t = TransferFileInto(kLinks + "Uno.lnk", "D:\\Altrove", true);
  EXPECT_EQ(t.result, TTransferResult::Refused);
  EXPECT_TRUE(Files().FileExists(kLinks + "Uno.lnk"));
  EXPECT_FALSE(Files().FileExists("D:\\Altrove\\Uno.lnk"));
  // Into the folder it is in already: nothing to do; a copy there is a second one.
  EXPECT_EQ(TransferFileInto("D:\\Altrove\\Due.lnk", "D:\\Altrove\\", true).result, TTransferResult::SameFolder);
  t = TransferFileInto("D:\\Altrove\\Due.lnk", "D:\\Altrove", false);
  EXPECT_EQ(t.destination, "D:\\Altrove\\Due (2).lnk");
}

}  // namespace
}  // namespace tov
