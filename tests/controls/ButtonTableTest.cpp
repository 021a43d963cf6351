// The bar's button table: moving, renaming, deleting and renumbering rows,
// and its file in the source folder.
#include <gtest/gtest.h>

#include "controls/ButtonTable.h"
#include "platform/host/HostFileSystem.h"
#include "platform/host/HostPlatform.h"
#include "tables/DataModule.h"

namespace tov {
namespace {

// Rows are written into a button list and reach the bar's table the way the
// program fills it at start: loaded from that file.
struct ButtonTableTest : ::testing::Test {
  ButtonTableTest() { ForceDirectories(Files(), "C:\\L"); }
  void Row(int order, const std::string& caption, const std::string& path, const std::string& type = "Button") {
    TRecordTable& t = file.TblLinks;
    t.Append();
    t.FieldByName("Ordine").SetAsInteger(order);
    t.FieldByName("Caption").SetAsString(caption);
    t.FieldByName("Path").SetAsString(path);
    t.FieldByName("Type").SetAsString(type);
    t.Post();
  }
  void Load() {
    SaveButtonList(file.TblLinks, "C:\\L", file.SaveFormat);
    file.TblLinks.EmptyTable();
    ASSERT_TRUE(LoadButtonList(links, "C:\\L\\ButtonList.lob", dc.SaveFormat));
  }
  std::string Captions() {
    std::string out;
    for (links.First(); !links.Eof(); links.Next())
      out += links.FieldByName("Caption").AsString() + links.FieldByName("Ordine").AsString() + " ";
    return out;
  }
  void ABC() {
    Row(0, "A", "C:\\L\\A.lnk");
    Row(1, "B", "C:\\L\\B.lnk");
    Row(2, "C", "C:\\L\\C.lnk");
    Load();
  }
  host::HostPlatform hp;
  TDataModule dc;
  TDataModule file;  // the rows as the file holds them
  TRecordTable& links = dc.TblLinks;
};

TEST_F(ButtonTableTest, MovesExchangeNeighboursAndStopAtTheEnds) {
  ABC();
  EXPECT_EQ(MoveButtonAfter(links, 0), 1);
  EXPECT_EQ(Captions(), "B0 A1 C2 ");
  EXPECT_EQ(MoveButtonAfter(links, 2), 3);
  EXPECT_EQ(Captions(), "B0 A1 C2 ");
  EXPECT_EQ(MoveButtonBefore(links, 2), 1);
  EXPECT_EQ(Captions(), "B0 C1 A2 ");
  EXPECT_EQ(MoveButtonBefore(links, 0), -1);
  EXPECT_EQ(Captions(), "B0 C1 A2 ");
  EXPECT_EQ(MoveButtonAfter(links, 7), 7);
  EXPECT_EQ(MoveButtonBefore(links, 7), 7);
}

TEST_F(ButtonTableTest, RenumberingVisitsEveryRowOnce) {
  Row(40, "D", "");
  Row(5, "A", "");
  Row(9, "B", "");
  Row(9, "C", "");
  Load();
  EXPECT_EQ(Captions(), "A5 B9 C9 D40 ");
  // Each new number moves the row no further than rows already visited.
  RenumberRows(links);
  EXPECT_EQ(Captions(), "A0 B1 C2 D3 ");
}

TEST_F(ButtonTableTest, RenameMovesTheShortcutAndRefusesForbiddenCaptions) {
  ASSERT_TRUE(ForceDirectories(Files(), "C:\\L"));
  ASSERT_TRUE(Files().WriteFile("C:\\L\\Old.lnk", "lnk"));
  ASSERT_TRUE(Files().WriteFile("C:\\L\\nota.txt", "txt"));
  ASSERT_TRUE(Files().CreateDir("C:\\L\\Cartella.2"));
  Row(0, "Old", "C:\\L\\Old.lnk");
  Row(1, "nota", "C:\\L\\nota.txt");
  Row(2, "Cartella.2", "C:\\L\\Cartella.2");
  Row(3, "Persa", "C:\\L\\Manca.lnk");
  Load();
  EXPECT_EQ(RenameButtonRow(links, 0, "a/b"), 0);
  EXPECT_EQ(RenameButtonRow(links, 9, "Notes"), 0);
  EXPECT_EQ(RenameButtonRow(links, 0, "Notes"), 1);
  EXPECT_TRUE(Files().FileExists("C:\\L\\Notes.lnk"));
  EXPECT_FALSE(Files().FileExists("C:\\L\\Old.lnk"));
  ASSERT_TRUE(links.Locate("Ordine", "0"));
  EXPECT_EQ(links.FieldByName("Caption").AsString(), "Notes");
  EXPECT_EQ(links.FieldByName("Path").AsString(), "C:\\L\\Notes.lnk");
  // A plain file keeps its extension; a folder takes the caption alone.
  EXPECT_EQ(RenameButtonRow(links, 1, "Appunti"), 1);
  EXPECT_TRUE(Files().FileExists("C:\\L\\Appunti.txt"));
  EXPECT_EQ(RenameButtonRow(links, 2, "Archivio"), 1);
  EXPECT_TRUE(Files().DirExists("C:\\L\\Archivio"));
  // A file that cannot be renamed leaves the row as it was, yet answers 1.
  EXPECT_EQ(RenameButtonRow(links, 3, "Trovata"), 1);
  ASSERT_TRUE(links.Locate("Ordine", "3"));
  EXPECT_EQ(links.FieldByName("Caption").AsString(), "Persa");
}

TEST_F(ButtonTableTest, DeleteRemovesTheRowAndOptionallyTheFileButNeverAFolder) {
  ASSERT_TRUE(ForceDirectories(Files(), "C:\\L\\Sub"));
  ASSERT_TRUE(Files().WriteFile("C:\\L\\A.lnk", ""));
  Row(0, "A", "C:\\L\\A.lnk");
  Row(1, "Sub", "C:\\L\\Sub");
  Row(2, "Sep", "", "Panel");
  Load();
  DeleteButtonRow(links, 1, true);
  EXPECT_TRUE(Files().DirExists("C:\\L\\Sub"));
  DeleteButtonRow(links, 0, false);
  EXPECT_TRUE(Files().FileExists("C:\\L\\A.lnk"));
  DeleteButtonRow(links, 2, true);
  EXPECT_EQ(links.GetRecordCount(), 0);
  AddButtonRow(links, 0, "A", "C:\\L\\A.lnk");
  DeleteButtonRow(links, 0, true);
  EXPECT_FALSE(Files().FileExists("C:\\L\\A.lnk"));
  DeleteButtonRow(links, 0, true);  // no such row: nothing happens
}

TEST_F(ButtonTableTest, OnlyTheExactTypeButtonIsAButton) {
  Row(0, "A", "", "Button");
  Row(1, "B", "", "button");
  Row(2, "C", "", "");
  Load();
  links.First();
  EXPECT_TRUE(IsButtonRow(links));
  links.Next();
  EXPECT_FALSE(IsButtonRow(links));
  links.Next();
  EXPECT_FALSE(IsButtonRow(links));
}

TEST_F(ButtonTableTest, TheFileLivesInTheSourceFolderAndLoadsBackInOrder) {
  EXPECT_EQ(ButtonListPath("C:\\L"), "C:\\L\\ButtonList.lob");
  EXPECT_EQ(ButtonListPath("C:\\L\\"), "C:\\L\\ButtonList.lob");
  ABC();
  const int writes = hp.Files().WriteCount();
  SaveButtonList(links, "", dc.SaveFormat);  // no source folder: nothing written
  EXPECT_EQ(hp.Files().WriteCount(), writes);
  SaveButtonList(links, "C:\\Nuova\\Cartella", dc.SaveFormat);
  ASSERT_TRUE(Files().FileExists("C:\\Nuova\\Cartella\\ButtonList.lob"));
  links.EmptyTable();
  LoadButtonList(links, "C:\\Nuova\\Cartella\\ButtonList.lob", dc.SaveFormat);
  EXPECT_EQ(Captions(), "A0 B1 C2 ");
}

}  // namespace
}  // namespace tov
