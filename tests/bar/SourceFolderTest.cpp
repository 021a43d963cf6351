// Buttons from the source folder's entries, in clean and keep mode.
#include <gtest/gtest.h>

#include "bar/SourceFolder.h"
#include "controls/ButtonTable.h"
#include "platform/host/HostPlatform.h"
#include "tables/BinaryTableFormat.h"
#include "tables/DataModule.h"

namespace tov {
namespace {

struct SourceFolderTest : ::testing::Test {
  SourceFolderTest() {
    ForceDirectories(Files(), "C:\\L");
    for (const char* f : {"A.lnk", "B.lnk", "C.lnk"})
      Files().WriteFile(std::string("C:\\L\\") + f, "x");
  }
  std::string Captions() {
    std::string out;
    for (links.First(); !links.Eof(); links.Next())
      out += links.FieldByName("Caption").AsString() + " ";
    return out;
  }
  host::HostPlatform hp;
  TDataModule dc;
  TRecordTable& links = dc.TblLinks;
};

TEST_F(SourceFolderTest, CleanModeListsTheEntriesLastFirst) {
  Files().WriteFile("C:\\L\\ButtonList.lob", "");
  Files().WriteFile("C:\\L\\.hidden", "");
  Files().WriteFile("C:\\L\\desktop.ini", "");
  Files().CreateDir("C:\\L\\Sub.dir");
  ASSERT_TRUE(RefreshFromFolder(links, "C:\\L", false, dc.SaveFormat));
  EXPECT_EQ(Captions(), "Sub desktop C B A ");
  ASSERT_TRUE(links.Locate("Caption", "A"));
  EXPECT_EQ(links.FieldByName("Path").AsString(), "C:\\L\\A.lnk");
  EXPECT_EQ(links.FieldByName("Type").AsString(), "Button");
  EXPECT_EQ(links.FieldByName("Width").AsInteger(), 92);
  EXPECT_FALSE(RefreshFromFolder(links, "C:\\Manca", false, dc.SaveFormat));
  EXPECT_EQ(links.GetRecordCount(), 5);  // unchanged
}

// Names in any script become buttons captioned exactly so, in the order the
// file system lists them (by their capitals as UTF-16).
TEST_F(SourceFolderTest, NamesInEveryScriptBecomeTheirCaptions) {
  for (const char* f : {"\u0414\u043E\u043A\u0443\u043C\u0435\u043D\u0442\u044B.lnk", "\u65E5\u672C\u8A9E.lnk",
                        "\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC.lnk"})
    ASSERT_TRUE(Files().WriteFile(std::string("C:\\L\\") + f, "x"));
  ASSERT_TRUE(RefreshFromFolder(links, "C:\\L", false, dc.SaveFormat));
  EXPECT_EQ(Captions(),
            "\u65E5\u672C\u8A9E \u0414\u043E\u043A\u0443\u043C\u0435\u043D\u0442\u044B "
            "\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC C B A ");
  ASSERT_TRUE(links.Locate("Caption", "\u0414\u043E\u043A\u0443\u043C\u0435\u043D\u0442\u044B"));
  EXPECT_EQ(links.FieldByName("Path").AsString(), "C:\\L\\\u0414\u043E\u043A\u0443\u043C\u0435\u043D\u0442\u044B.lnk");
  // The names come back whole from the button list the bar writes.
  TBinaryTableFormat f;
  std::string bytes;
  f.Save(links, bytes);
  TRecordTable again("Again");
  f.Load(again, bytes);
  again.First();
  EXPECT_EQ(again.FieldByName("Caption").AsString(), "\u65E5\u672C\u8A9E");
}

TEST_F(SourceFolderTest, KeepModeKeepsWhatTheUserSetForEntriesStillThere) {
  ASSERT_TRUE(RefreshFromFolder(links, "C:\\L", false, dc.SaveFormat));  // C B A
  // The user moves B first, colours it and adds a separator.
  MoveButtonBefore(links, 1);
  ASSERT_TRUE(links.Locate("Caption", "B"));
  links.Edit();
  links.FieldByName("Color").SetAsInteger(0x123456);
  links.Post();
  AddSeparatorRow(links, 3, "*Separator*");
  RenumberRows(links);
  SaveButtonList(links, "C:\\L", dc.SaveFormat);
  EXPECT_EQ(Captions(), "B C A *Separator* ");
  // D arrives and A goes away.
  Files().WriteFile("C:\\L\\D.lnk", "x");
  Files().DeleteFile("C:\\L\\A.lnk");
  ASSERT_TRUE(RefreshFromFolder(links, "C:\\L", true, dc.SaveFormat));
  // New numbers D 0, C 1, B 2; after the merge B 0, D 0, C 1.
  EXPECT_EQ(Captions(), "B D C ");
  ASSERT_TRUE(links.Locate("Caption", "B"));
  EXPECT_EQ(links.FieldByName("Color").AsInteger(), 0x123456);
  ASSERT_TRUE(links.Locate("Caption", "D"));
  EXPECT_EQ(links.FieldByName("Color").AsInteger(), int32_t(0x8000000F));
  links.First();
  EXPECT_EQ(links.FieldByName("Ordine").AsInteger(), 0);
  links.Last();
  EXPECT_EQ(links.FieldByName("Ordine").AsInteger(), 2);
}

TEST_F(SourceFolderTest, KeptRowsComeBeforeNewRowsOfTheSameNumber) {
  // The bar showed B, C, A; D is new and is listed last.
  ASSERT_TRUE(RefreshFromFolder(links, "C:\\L", false, dc.SaveFormat));  // C B A
  MoveButtonBefore(links, 1);
  RenumberRows(links);
  SaveButtonList(links, "C:\\L", dc.SaveFormat);
  ASSERT_EQ(Captions(), "B C A ");
  Files().WriteFile("C:\\L\\D.lnk", "x");
  ASSERT_TRUE(RefreshFromFolder(links, "C:\\L", true, dc.SaveFormat));
  // New numbers D 0, C 1, B 2, A 3; after the merge B 0, D 0, C 1, A 2.
  EXPECT_EQ(Captions(), "B D C A ");
}

TEST(EntryCaptions, NamesThatNeverBecomeButtons) {
  EXPECT_EQ(EntryCaption("."), "");
  EXPECT_EQ(EntryCaption(".."), "");
  EXPECT_EQ(EntryCaption("ButtonList.lob"), "");
  EXPECT_EQ(EntryCaption(".profile"), "");
  EXPECT_EQ(EntryCaption("a.b.lnk"), "a.b");
  EXPECT_EQ(EntryCaption("Leggimi"), "Leggimi");
}

}  // namespace
}  // namespace tov
