// The record table: cursor, edit states, sort placement, lookups and the
// data module's two tables.
#include <gtest/gtest.h>

#include <vector>

#include "docking/MonitorList.h"
#include "platform/host/HostMonitorApi.h"
#include "platform/host/HostPlatform.h"
#include "tables/DamagedTableFile.h"
#include "tables/DataModule.h"
#include "tables/RecordTable.h"
#include "tables/TableError.h"

namespace tov {
namespace {

TRecordTable& MakeOrdered(TRecordTable& t) {
  t.AddFieldDef("Ordine", ftInteger);
  t.AddFieldDef("Caption", ftString, 8);
  t.AddFieldDef("ShowText", ftBoolean);
  t.CreateTable();
  return t;
}

void AddRow(TRecordTable& t, int ordine, const std::string& caption) {
  t.Append();
  t.FieldByName("Ordine").SetAsInteger(ordine);
  t.FieldByName("Caption").SetAsString(caption);
  t.Post();
}

std::vector<std::string> Captions(TRecordTable& t) {
  std::vector<std::string> out;
  for (t.First(); !t.Eof(); t.Next())
    out.push_back(t.FieldByName("Caption").AsString());
  return out;
}

TEST(RecordTable, CursorMovesInOrderAndStopsAtBothEnds) {
  TRecordTable t("T");
  MakeOrdered(t);
  t.First();
  EXPECT_TRUE(t.Eof());
  EXPECT_TRUE(t.IsEmpty());
  AddRow(t, 0, "a");
  AddRow(t, 1, "b");
  AddRow(t, 2, "c");
  EXPECT_EQ(Captions(t), (std::vector<std::string>{"a", "b", "c"}));
  t.Last();
  t.Next();
  EXPECT_TRUE(t.Eof());
  EXPECT_EQ(t.FieldByName("Caption").AsString(), "c");  // stays on the last row
  t.First();
  t.Prior();
  EXPECT_TRUE(t.Bof());
  EXPECT_EQ(t.FieldByName("Caption").AsString(), "a");
  t.Next();
  EXPECT_EQ(t.RecNo(), 2);
  t.Delete();  // the row after it becomes current
  EXPECT_EQ(t.FieldByName("Caption").AsString(), "c");
  EXPECT_FALSE(t.Eof());
  t.Delete();  // the last row: the cursor falls back and the end is reached
  EXPECT_TRUE(t.Eof());
  EXPECT_EQ(t.FieldByName("Caption").AsString(), "a");
  EXPECT_EQ(t.GetRecordCount(), 1);
}

TEST(RecordTable, EditStatesAndCancel) {
  TRecordTable t("T");
  MakeOrdered(t);
  EXPECT_THROW(t.FieldByName("Caption").SetAsString("x"), TableError);  // browsing
  AddRow(t, 0, "a");
  t.Edit();
  t.FieldByName("Caption").SetAsString("z");
  EXPECT_EQ(t.FieldByName("Caption").AsString(), "z");
  t.Cancel();
  EXPECT_EQ(t.FieldByName("Caption").AsString(), "a");
  t.Append();
  EXPECT_EQ(t.State(), TTableState::Insert);
  EXPECT_TRUE(t.FieldByName("Caption").IsNull());
  t.Cancel();
  EXPECT_EQ(t.GetRecordCount(), 1);
  EXPECT_EQ(t.FieldByName("Caption").AsString(), "a");
  // Moving the cursor posts the row being edited.
  t.Append();
  t.FieldByName("Caption").SetAsString("b");
  t.First();
  EXPECT_EQ(t.GetRecordCount(), 2);
  // Edit on an empty table appends.
  t.EmptyTable();
  t.Edit();
  EXPECT_EQ(t.State(), TTableState::Insert);
  t.Post();
  EXPECT_EQ(t.GetRecordCount(), 1);
}

TEST(RecordTable, ValuesConvertAndNullReadsAsZeroFalseOrEmpty) {
  TRecordTable t("T");
  MakeOrdered(t);
  t.Append();
  TField& ordine = t.FieldByName("ordine");  // names ignore letter case
  TField& caption = t.FieldByName("CAPTION");
  TField& show = t.FieldByName("ShowText");
  EXPECT_EQ(ordine.AsInteger(), 0);
  EXPECT_EQ(caption.AsString(), "");
  EXPECT_FALSE(show.AsBoolean());
  EXPECT_EQ(ordine.AsFloat(), 0.0);
  ordine.SetAsString(" -42");
  EXPECT_EQ(ordine.AsInteger(), -42);
  ordine.SetAsString("");
  EXPECT_TRUE(ordine.IsNull());
  EXPECT_THROW(ordine.SetAsString("4x"), TableError);
  show.SetAsString("tr");
  EXPECT_TRUE(show.AsBoolean());
  EXPECT_EQ(show.AsString(), "True");
  show.SetAsString("FALSE");
  EXPECT_FALSE(show.IsNull());
  EXPECT_FALSE(show.AsBoolean());
  EXPECT_THROW(show.SetAsString("si"), TableError);
  show.SetAsString("");
  EXPECT_TRUE(show.IsNull());
  caption.SetAsString(std::string("abcdefghijk"));
  EXPECT_EQ(caption.AsString(), "abcdefgh");  // cut to the size
  caption.SetAsString(std::string("ab\0cd", 5));
  EXPECT_EQ(caption.AsString(), "ab");
  caption.SetAsString("");
  EXPECT_FALSE(caption.IsNull());  // empty text in a text column is a value
  caption.SetAsInteger(77);
  EXPECT_EQ(caption.AsInteger(), 77);
  t.Post();
}

TEST(RecordTable, MissingFieldNamesTheTable) {
  TRecordTable t("TblLinks");
  MakeOrdered(t);
  EXPECT_EQ(t.FindField("Nope"), nullptr);
  EXPECT_EQ(t.IndexOfFieldDef("caption"), 1);
  EXPECT_EQ(t.IndexOfFieldDef("Nope"), -1);
  try {
    t.FieldByName("Nope");
    FAIL();
  } catch (const TableError& e) {
    EXPECT_STREQ(e.what(), "TblLinks: Field 'Nope' not found");
  }
  TRecordTable unnamed;
  try {
    unnamed.FieldByName("X");
    FAIL();
  } catch (const TableError& e) {
    EXPECT_STREQ(e.what(), "Field 'X' not found");
  }
}

TEST(RecordTable, ColumnNamesIgnoreTheCaseOfEveryLetter) {
  TRecordTable t("T");
  t.AddFieldDef("Citt\u00E0", ftString, 20);
  t.AddFieldDef("\u0161al\u0153", ftInteger);
  t.CreateTable();
  EXPECT_EQ(t.IndexOfFieldDef("CITT\u00C0"), 0);
  EXPECT_EQ(t.IndexOfFieldDef("\u0160AL\u0152"), 1);  // s caron and oe
  ASSERT_NE(t.FindField("\u0160al\u0152"), nullptr);
  t.AddFieldDef("\u0414\u043E\u043A\u0443\u043C\u0435\u043D\u0442", ftString, 20);
  EXPECT_EQ(t.IndexOfFieldDef("\u0414\u041E\u041A\u0423\u041C\u0415\u041D\u0422"), 2);
  EXPECT_EQ(t.FindField("Citt\u00E1"), nullptr);  // another letter, not another case
}

TEST(RecordTable, LocateFindsFirstMatchOrLeavesTheCursor) {
  TRecordTable t("T");
  MakeOrdered(t);
  AddRow(t, 0, "Abc");
  AddRow(t, 1, "abc");
  AddRow(t, 2, "abc");
  t.First();
  t.Next();
  EXPECT_FALSE(t.Locate("Ordine", "3"));
  EXPECT_EQ(t.FieldByName("Ordine").AsInteger(), 1);
  EXPECT_FALSE(t.Locate("Ordine", "zz"));
  EXPECT_TRUE(t.Locate("Ordine", "2"));
  EXPECT_EQ(t.RecNo(), 3);
  EXPECT_TRUE(t.Locate("Caption", "abc"));  // exact case, first in order
  EXPECT_EQ(t.FieldByName("Ordine").AsInteger(), 1);
  EXPECT_FALSE(t.Locate("Caption", "ABC"));
  AddRow(t, 3, "abcdefgh");
  EXPECT_FALSE(t.Locate("Caption", "abcdefghij"));  // longer than the column: no match, not a cut match
  EXPECT_THROW(t.Locate("Nope", "1"), TableError);
}

TEST(RecordTable, SortedPostsPlaceRowsInFrontOfEqualOnes) {
  TRecordTable t("T");
  MakeOrdered(t);
  t.SortOn("Ordine");
  AddRow(t, 5, "five");
  AddRow(t, 1, "one");
  AddRow(t, 3, "three");
  EXPECT_EQ(t.FieldByName("Caption").AsString(), "three");  // the posted row stays current
  EXPECT_EQ(Captions(t), (std::vector<std::string>{"one", "three", "five"}));
  AddRow(t, 2, "two");
  // Editing 2 into 3 while another row holds 3: the edited row comes first.
  ASSERT_TRUE(t.Locate("Ordine", "2"));
  t.Edit();
  t.FieldByName("Ordine").SetAsInteger(3);
  t.Post();
  EXPECT_EQ(t.FieldByName("Caption").AsString(), "two");
  t.Next();
  EXPECT_EQ(t.FieldByName("Caption").AsString(), "three");
  // A row posted unchanged keeps its place even among equal values.
  ASSERT_TRUE(t.Locate("Caption", "three"));
  t.Edit();
  t.FieldByName("Caption").SetAsString("drei");
  t.Post();
  EXPECT_EQ(Captions(t), (std::vector<std::string>{"one", "two", "drei", "five"}));
  // An appended row with an existing value goes in front of it.
  AddRow(t, 1, "uno");
  EXPECT_EQ(Captions(t), (std::vector<std::string>{"uno", "one", "two", "drei", "five"}));
  // EmptyTable keeps the sort.
  t.EmptyTable();
  AddRow(t, 9, "nine");
  AddRow(t, 4, "four");
  EXPECT_EQ(Captions(t), (std::vector<std::string>{"four", "nine"}));
  EXPECT_EQ(t.SortFieldNames(), "Ordine");
}

TEST(RecordTable, SortOnReordersKeepingTheCurrentRow) {
  TRecordTable t("T");
  MakeOrdered(t);
  AddRow(t, 2, "b");
  AddRow(t, 1, "a");
  t.Append();  // a null sorts first
  t.FieldByName("Caption").SetAsString("n");
  t.Post();
  ASSERT_TRUE(t.Locate("Caption", "b"));
  t.SortOn("Ordine");
  EXPECT_EQ(t.FieldByName("Caption").AsString(), "b");
  EXPECT_EQ(Captions(t), (std::vector<std::string>{"n", "a", "b"}));
  t.SortOn("");
  EXPECT_EQ(Captions(t), (std::vector<std::string>{"b", "a", "n"}));
  EXPECT_THROW(t.SortOn("Manca"), TableError);
}

TEST(RecordTable, BookmarksReturnToTheRowWhereverItMoved) {
  TRecordTable t("T");
  MakeOrdered(t);
  t.SortOn("Ordine");
  AddRow(t, 1, "a");
  AddRow(t, 2, "b");
  TBookmark b = t.GetBookmark();
  ASSERT_TRUE(t.Locate("Ordine", "1"));
  t.Edit();
  t.FieldByName("Ordine").SetAsInteger(7);
  t.Post();
  ASSERT_TRUE(t.GotoBookmark(b));
  EXPECT_EQ(t.FieldByName("Caption").AsString(), "b");
  EXPECT_EQ(t.RecNo(), 1);
  t.Delete();
  EXPECT_FALSE(t.BookmarkValid(b));
  EXPECT_FALSE(t.GotoBookmark(b));
  EXPECT_EQ(t.FieldByName("Caption").AsString(), "a");
  t.FreeBookmark(b);
}

TEST(RecordTable, CreateTableAndCloseEmpty) {
  TRecordTable t("T");
  MakeOrdered(t);
  AddRow(t, 1, "a");
  t.Close();
  EXPECT_FALSE(t.Active());
  EXPECT_EQ(t.GetRecordCount(), 0);
  t.Open();
  t.AddFieldDef("Extra", ftInteger);
  EXPECT_EQ(t.FindField("Extra"), nullptr);  // only after CreateTable
  t.CreateTable();
  EXPECT_NE(t.FindField("Extra"), nullptr);
  EXPECT_EQ(t.FieldCount(), 4);
  EXPECT_TRUE(t.Active());
}

TEST(DataModule, TablesHaveTheirColumnsInOrderAndAreOpen) {
  host::HostPlatform hp;
  GuardUnreadTableFile("C:\\Prima\\ButtonList.lob");  // left by an earlier session
  TDataModule dc;
  EXPECT_TRUE(dc.BeganSession());
  EXPECT_FALSE(IsGuardedTableFile("C:\\Prima\\ButtonList.lob"));
  const char* links[] = {"Ordine",        "Caption",     "Path",          "Width",        "Height",       "Color",
                         "LightColor",    "ShadowColor", "HotTrackColor", "FontName",     "FontColor",    "FontStyle",
                         "FontSize",      "RealTime",    "SelFontName",   "SelFontColor", "SelFontStyle", "SelFontSize",
                         "ShowText",      "AutoSize",    "WordWrap",      "ButtonStyle",  "FolderMenu",   "HotTrack",
                         "TextAlignment", "ImgLayout",   "SmallIcon",     "Type",         "ShowIcon",     "Hotkey"};
  ASSERT_EQ(dc.TblLinks.FieldCount(), 30);
  for (int i = 0; i < 30; ++i)
    EXPECT_EQ(dc.TblLinks.Field(i).FieldName(), links[i]);
  EXPECT_EQ(dc.TblLinks.FieldByName("Path").Size(), 4096);
  EXPECT_EQ(dc.TblLinks.FieldByName("Caption").Size(), 256);
  EXPECT_EQ(dc.TblLinks.FieldByName("Hotkey").DataType(), ftString);
  EXPECT_EQ(dc.TblLinks.FieldByName("RealTime").DataType(), ftBoolean);
  ASSERT_EQ(dc.TblThemes.FieldCount(), 27);
  EXPECT_EQ(dc.TblThemes.Field(0).FieldName(), "Theme");
  EXPECT_EQ(dc.TblThemes.Field(0).Size(), 32);
  EXPECT_EQ(dc.TblThemes.Field(1).FieldName(), "Width");
  EXPECT_EQ(dc.TblThemes.Field(26).FieldName(), "Hotkey");
  for (const char* absent : {"Ordine", "Caption", "Path", "RealTime"})
    EXPECT_EQ(dc.TblThemes.FindField(absent), nullptr) << absent;
  for (int i = 1; i < 27; ++i) {
    const TField& f = dc.TblThemes.Field(i);
    const TField& g = dc.TblLinks.FieldByName(f.FieldName());
    EXPECT_EQ(f.DataType(), g.DataType()) << f.FieldName();
    EXPECT_EQ(f.Size(), g.Size()) << f.FieldName();
  }
  EXPECT_TRUE(dc.TblLinks.Active());
  EXPECT_TRUE(dc.TblLinks.IsEmpty());
  dc.TblLinks.Append();
  dc.TblLinks.FieldByName("Width").SetAsString("");
  EXPECT_TRUE(dc.TblLinks.FieldByName("Width").IsNull());
  EXPECT_EQ(dc.TblLinks.FieldByName("Width").AsInteger(), 0);
  dc.TblLinks.Post();
  EXPECT_EQ(dc.SaveFormat.Name(), "SaveFormat");
  EXPECT_EQ(dc.SaveFormat.BufferSize(), 16384);
}

TEST(DataModule, LeavesTheMonitorListToWhoeverHoldsIt) {
  host::HostPlatform hp;
  {
    TMonitorList monitors;
    monitors.Load();
    {
      TDataModule dc;
      EXPECT_EQ(monitors.Count(), 1);
    }
    EXPECT_EQ(monitors.Count(), 1);  // the tables' end is not the monitors'
    monitors.Free();
    EXPECT_EQ(monitors.Count(), 0);
  }
  TMonitorList none;
  TDataModule alone;
  EXPECT_TRUE(alone.BeganSession());  // the one before ended its session
  EXPECT_EQ(none.Count(), 0);
  EXPECT_FALSE(hp.Monitors().loaded);  // the tables load no list of their own
}

TEST(DataModule, AScratchCopyLeavesTheSessionOfTableFilesAlone) {
  host::HostPlatform hp;
  const std::string unread = "C:\\Barra\\ButtonList.lob";
  {
    TDataModule dc;
    GuardUnreadTableFile(unread);  // found unreadable during the session
    {
      TDataModule scratch;
      EXPECT_FALSE(scratch.BeganSession());
    }
    // The scratch copy's end is not the session's: the file is still kept
    // from being saved over.
    EXPECT_TRUE(dc.BeganSession());
    EXPECT_TRUE(IsGuardedTableFile(unread));
  }
  EXPECT_FALSE(IsGuardedTableFile(unread));  // the session ended with its data module
}

}  // namespace
}  // namespace tov
