// Table utilities: named table files, upgrades of older column sets, copies
// by column name, and what happens to a table file that cannot be read.
#include <gtest/gtest.h>

#include "platform/host/HostDialogs.h"
#include "platform/host/HostFileSystem.h"
#include "platform/host/HostPlatform.h"
#include "settings/UserData.h"
#include "tables/ColumnValues.h"
#include "tables/DamagedTableFile.h"
#include "tables/DataModule.h"
#include "tables/TableError.h"
#include "tables/TableFiles.h"

namespace tov {
namespace {

void AddLink(TRecordTable& t, int ordine, const std::string& caption, const std::string& path) {
  t.Append();
  t.FieldByName("Ordine").SetAsInteger(ordine);
  t.FieldByName("Caption").SetAsString(caption);
  t.FieldByName("Path").SetAsString(path);
  t.Post();
}

std::string ReadAll(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(Files().ReadFile(path, &bytes)) << path;
  return bytes;
}

class TableUtils : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetGuardedTableFiles();
    DefineLinkColumns(links);
  }
  void TearDown() override { ForgetGuardedTableFiles(); }
  host::HostPlatform hp;
  TRecordTable links{"TblLinks"};
  TBinaryTableFormat format{"SaveFormat"};
};

TEST_F(TableUtils, FileNamesAndSaveLoadRoundTrip) {
  EXPECT_EQ(TableFileName("  C:\\Barra ", "ButtonList", "lob"), "C:\\Barra\\ButtonList.lob");
  EXPECT_EQ(TableFileName("C:\\Barra\\", "T", "theme"), "C:\\Barra\\T.theme");
  AddLink(links, 1, "B", "C:\\b");
  AddLink(links, 0, "A", "C:\\a");
  SaveTableFile(links, "C:\\Nuova\\Cartella", "ButtonList", "lob", false, format);
  EXPECT_FALSE(Files().DirExists("C:\\Nuova"));  // not enabled
  SaveTableFile(links, "C:\\Nuova\\Cartella", "ButtonList", "lob", true, format);
  ASSERT_TRUE(Files().FileExists("C:\\Nuova\\Cartella\\ButtonList.lob"));
  TRecordTable back;
  EXPECT_TRUE(LoadTableFile(back, "C:\\Nuova\\Cartella", "ButtonList", " Ordine ", "lob", format));
  EXPECT_EQ(back.SortFieldNames(), "Ordine");
  back.First();
  EXPECT_EQ(back.FieldByName("Caption").AsString(), "A");
  EXPECT_EQ(back.FieldCount(), 30);
}

TEST_F(TableUtils, MissingFileKeepsTheRowsButStillSorts) {
  AddLink(links, 2, "b", "");
  AddLink(links, 1, "a", "");
  EXPECT_FALSE(LoadTableFile(links, "C:\\Manca", "ButtonList", "Ordine", "lob", format));
  EXPECT_EQ(links.GetRecordCount(), 2);
  links.First();
  EXPECT_EQ(links.FieldByName("Caption").AsString(), "a");
  EXPECT_TRUE(hp.Dialogs().shown.empty());
}

TEST_F(TableUtils, SaveFailureRaisesTheFileError) {
  ASSERT_TRUE(Files().CreateDir("C:\\Chiusa"));
  hp.Files().SetReadOnlyFolder("C:\\Chiusa");
  EXPECT_THROW(SaveTableFile(links, "C:\\Chiusa", "ButtonList", "lob", true, format), TableError);
}

TEST_F(TableUtils, DamagedFileIsKeptReportedAndNeverOverwritten) {
  ASSERT_TRUE(Files().CreateDir("C:\\Barra"));
  AddLink(links, 0, "Posta", "C:\\posta.lnk");
  AddLink(links, 1, "Web", "C:\\web.lnk");
  SaveTableFile(links, "C:\\Barra", "ButtonList", "lob", true, format);
  const std::string good = ReadAll("C:\\Barra\\ButtonList.lob");
  const std::string damaged = good.substr(0, good.size() - 7);
  ASSERT_TRUE(Files().WriteFile("C:\\Barra\\ButtonList.lob", damaged));

  TDataModule dc;
  AddLink(dc.TblLinks, 0, "prima", "");
  EXPECT_FALSE(LoadTableFile(dc.TblLinks, "C:\\Barra", "ButtonList", "Ordine", "lob", dc.SaveFormat));
  // The table is as it was, not half-loaded.
  ASSERT_EQ(dc.TblLinks.GetRecordCount(), 1);
  EXPECT_EQ(dc.TblLinks.FieldByName("Caption").AsString(), "prima");
  // The damaged bytes are kept beside the file, and the user is told so.
  EXPECT_FALSE(Files().FileExists("C:\\Barra\\ButtonList.lob"));
  EXPECT_EQ(ReadAll("C:\\Barra\\ButtonList.lob.damaged"), damaged);
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_NE(hp.Dialogs().shown[0].text.find("Stream read error"), std::string::npos);
  EXPECT_NE(hp.Dialogs().shown[0].text.find("C:\\Barra\\ButtonList.lob.damaged"), std::string::npos);
  EXPECT_EQ(hp.Dialogs().shown[0].caption, "Tovira - Errore");
  // The next save of the bar writes a new file; the damaged one stays.
  SaveTableFile(dc.TblLinks, "C:\\Barra", "ButtonList", "lob", true, dc.SaveFormat);
  EXPECT_EQ(ReadAll("C:\\Barra\\ButtonList.lob.damaged"), damaged);
  // A second damaged file takes the next free name.
  ASSERT_TRUE(Files().WriteFile("C:\\Barra\\ButtonList.lob", "TPF0"));
  EXPECT_EQ(UpgradeTableFile(dc.TblLinks, "C:\\Barra\\ButtonList.lob", dc.SaveFormat), 0);
  EXPECT_EQ(ReadAll("C:\\Barra\\ButtonList.lob.damaged2"), "TPF0");
  EXPECT_EQ(dc.TblLinks.GetRecordCount(), 1);
}

TEST_F(TableUtils, DamagedFileThatCannotBeMovedIsNeverSavedOver) {
  ASSERT_TRUE(Files().CreateDir("C:\\Barra"));
  ASSERT_TRUE(Files().WriteFile("C:\\Barra\\ButtonList.lob", "TPF1garbage"));
  hp.Files().SetReadOnlyFolder("C:\\Barra");
  TRecordTable fresh;  // a temporary table: no columns to sort on after the failure
  EXPECT_FALSE(LoadTableFile(fresh, "C:\\Barra", "ButtonList", "Ordine", "lob", format));
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_NE(hp.Dialogs().shown[0].text.find("Invalid stream format"), std::string::npos);
  EXPECT_TRUE(IsGuardedTableFile("c:\\barra\\buttonlist.LOB"));
  // The save is left out quietly (the user has been told): the file stays.
  SaveTableFile(links, "C:\\Barra", "ButtonList", "lob", true, format);
  EXPECT_EQ(ReadAll("C:\\Barra\\ButtonList.lob"), "TPF1garbage");
  EXPECT_EQ(hp.Dialogs().shown.size(), 1u);
}

TEST_F(TableUtils, UpgradeLeavesAnUpToDateFileAlone) {
  ASSERT_TRUE(Files().CreateDir("C:\\B"));
  AddLink(links, 0, "x", "y");
  SaveTableFile(links, "C:\\B", "ButtonList", "lob", true, format);
  const std::string before = ReadAll("C:\\B\\ButtonList.lob");
  const int writes = hp.Files().WriteCount();
  TRecordTable live("TblLinks");
  DefineLinkColumns(live);
  EXPECT_EQ(UpgradeTableFile(live, "C:\\B\\ButtonList.lob", format), 0);
  EXPECT_EQ(hp.Files().WriteCount(), writes);
  EXPECT_EQ(ReadAll("C:\\B\\ButtonList.lob"), before);
  EXPECT_EQ(UpgradeTableFile(live, "C:\\B\\Manca.lob", format), 0);
}

TEST_F(TableUtils, UpgradeAddsMissingColumnsAndKeepsExtraOnes) {
  ASSERT_TRUE(Files().CreateDir("C:\\B"));
  // An older file: no "Hotkey" (the last live column), an extra "Old" column.
  TRecordTable old("Old");
  for (const TFieldDef& d : links.FieldDefs())
    if (d.Name != "Hotkey") old.AddFieldDef(d.Name, d.DataType, d.Size);
  old.AddFieldDef("Old", ftInteger);
  old.CreateTable();
  AddLink(old, 0, "Posta", "C:\\posta.lnk");
  old.Edit();
  old.FieldByName("Old").SetAsInteger(77);
  old.FieldByName("ShowText").SetAsBoolean(true);
  old.Post();
  AddLink(old, 1, "Web", "C:\\web.lnk");
  old.SaveToFileViaFormat("C:\\B\\ButtonList.lob", format);

  TRecordTable live("TblLinks");
  DefineLinkColumns(live);
  UpgradeTableFiles("C:\\B\\*.lob", live, format);
  EXPECT_NE(live.FindField("Old"), nullptr);
  EXPECT_EQ(live.FieldCount(), 31);
  TRecordTable file;
  file.LoadFromFileViaFormat("C:\\B\\ButtonList.lob", format);
  ASSERT_EQ(file.FieldCount(), 31);
  EXPECT_EQ(file.Field(29).FieldName(), "Hotkey");
  EXPECT_EQ(file.Field(30).FieldName(), "Old");
  ASSERT_EQ(file.GetRecordCount(), 2);
  file.First();
  EXPECT_EQ(file.FieldByName("Caption").AsString(), "Posta");
  EXPECT_EQ(file.FieldByName("Old").AsInteger(), 77);
  EXPECT_TRUE(file.FieldByName("ShowText").AsBoolean());
  EXPECT_TRUE(file.FieldByName("Hotkey").IsNull());
  EXPECT_TRUE(file.FieldByName("Width").IsNull());
  file.Next();
  EXPECT_EQ(file.FieldByName("Path").AsString(), "C:\\web.lnk");
  // A column with another size counts as changed too.
  TRecordTable narrow("N");
  narrow.AddFieldDef("Caption", ftString, 10);
  narrow.CreateTable();
  narrow.SaveToFileViaFormat("C:\\B\\Narrow.lob", format);
  TRecordTable wide("W");
  wide.AddFieldDef("Caption", ftString, 20);
  wide.CreateTable();
  EXPECT_EQ(UpgradeTableFile(wide, "C:\\B\\Narrow.lob", format), 1);
  file.LoadFromFileViaFormat("C:\\B\\Narrow.lob", format);
  EXPECT_EQ(file.FieldByName("Caption").Size(), 20);
  EXPECT_EQ(file.GetRecordCount(), 1);  // an empty file gains one all-null row
}

TEST_F(TableUtils, UserTablesLiveInTheUserDataFolder) {
  TRecordTable themes("TblThemes");
  DefineThemeColumns(themes);
  themes.Append();
  themes.FieldByName("Theme").SetAsString("Scuro");
  themes.Post();
  SaveUserTable(themes, "Data", "Themes", false, format);
  const std::string file = UserSubDir("Data") + "Themes.DAT";
  EXPECT_FALSE(Files().FileExists(file));
  SaveUserTable(themes, "Data", "Themes", true, format);
  ASSERT_TRUE(Files().FileExists(file));
  TRecordTable back("TblThemes");
  DefineThemeColumns(back);
  EXPECT_TRUE(LoadUserTable(back, "Data", "Themes", format));
  EXPECT_EQ(back.SortFieldNames(), "");
  back.First();
  EXPECT_EQ(back.FieldByName("Theme").AsString(), "Scuro");
  TRecordTable none("TblThemes");
  DefineThemeColumns(none);
  EXPECT_FALSE(LoadUserTable(none, "Altro", "Themes", format));  // missing: stays empty
  EXPECT_TRUE(none.IsEmpty());
}

TEST_F(TableUtils, CopiesByColumnName) {
  TRecordTable themes("TblThemes");
  DefineThemeColumns(themes);
  themes.Append();
  themes.FieldByName("Theme").SetAsString("Scuro");
  themes.FieldByName("Width").SetAsInteger(48);
  themes.FieldByName("ShowText").SetAsBoolean(true);
  themes.Post();
  AddLink(links, 3, "Posta", "C:\\p");
  links.Edit();
  links.FieldByName("Width").SetAsInteger(10);
  links.FieldByName("Height").SetAsInteger(20);
  links.Post();
  links.Edit();
  EXPECT_TRUE(CopyRecordByFieldName(themes, links));
  links.Post();
  EXPECT_EQ(links.FieldByName("Caption").AsString(), "Posta");  // the theme has no Caption
  EXPECT_EQ(links.FieldByName("Ordine").AsInteger(), 3);
  EXPECT_EQ(links.FieldByName("Width").AsInteger(), 48);
  EXPECT_TRUE(links.FieldByName("Height").IsNull());  // null copies as null
  EXPECT_TRUE(links.FieldByName("ShowText").AsBoolean());
  // Date columns are copied as numbers.
  TRecordTable a, b;
  a.AddFieldDef("When", ftDateTime);
  a.CreateTable();
  a.Append();
  a.FieldByName("When").SetAsFloat(45678.123456789);
  a.Post();
  b.AddFieldDef("WHEN", ftDate);
  b.CreateTable();
  b.Append();
  CopyRecordByFieldName(a, b);
  b.Post();
  EXPECT_EQ(b.FieldByName("When").AsFloat(), 45678.123456789);
}

TEST_F(TableUtils, CopyAllRecordsAndColumnValues) {
  AddLink(links, 0, "a", "");
  AddLink(links, 1, "b", "");
  AddLink(links, 2, "c", "");
  ASSERT_TRUE(links.Locate("Ordine", "1"));
  TRecordTable dest("D");
  dest.AddFieldDef("caption", ftString, 5);
  dest.AddFieldDef("Other", ftInteger);
  dest.CreateTable();
  dest.Append();
  dest.Post();
  EXPECT_TRUE(CopyAllRecords(links, dest));
  EXPECT_EQ(ColumnValues(dest, "Caption"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(links.FieldByName("Caption").AsString(), "b");  // the source's row is back
  std::vector<std::string> list{"old"};
  FillWithColumnValues(list, links, "Caption");
  EXPECT_EQ(list, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(links.FieldByName("Caption").AsString(), "b");
  TRecordTable none("E");
  none.AddFieldDef("Caption", ftString, 5);
  none.CreateTable();
  EXPECT_TRUE(CopyAllRecords(none, dest));
  ASSERT_EQ(dest.GetRecordCount(), 1);
  dest.First();
  EXPECT_TRUE(dest.FieldByName("caption").IsNull());
  EXPECT_TRUE(dest.FieldByName("Other").IsNull());
}

TEST_F(TableUtils, FieldDefHelpers) {
  TRecordTable extra;
  extra.AddFieldDef("Caption", ftString, 256);
  extra.AddFieldDef("Nuova", ftBoolean, 0, true);
  extra.CreateTable();
  EXPECT_EQ(AddMissingColumns(extra, links), 1);
  EXPECT_EQ(AddMissingColumns(extra, links), 0);  // waiting for CreateTable, still counted once
  EXPECT_TRUE(HasFieldDef(links, "nuova"));
  EXPECT_FALSE(HasFieldDef(links, "Manca"));
  EXPECT_EQ(links.FindField("Nuova"), nullptr);
  links.CreateTable();
  EXPECT_TRUE(links.FieldByName("Nuova").Required());
  links.Append();
  links.FieldByName("Ordine").SetAsInteger(4);
  EXPECT_THROW(links.Post(), TableError);  // a required column must have a value
  links.FieldByName("Nuova").SetAsBoolean(false);
  links.Post();
  EXPECT_FALSE(LocateRow(links, "Ordine", "3"));
  EXPECT_TRUE(LocateRow(links, "Ordine", "4"));
}

}  // namespace
}  // namespace tov
