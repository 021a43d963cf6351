// The JSON form of table files: every byte and value survives a dump and a
// load, and bad JSON is refused without touching the table.
#include <gtest/gtest.h>

#include "formats/TableJson.h"
#include "tables/BinaryTableFormat.h"
#include "tables/DataModule.h"
#include "tables/TableError.h"

namespace tov {
namespace {

TEST(TableJson, DumpAndLoadGiveTheSameFileBytes) {
  TRecordTable t("T");
  DefineLinkColumns(t);
  t.AddFieldDef("Quando", ftDateTime);
  t.AddFieldDef("Prezzo", ftCurrency);
  t.AddFieldDef("Nota", ftMemo);
  t.CreateTable();
  t.IndexDefs().push_back(TIndexDef{"Idx", "Ordine", false, true, false});
  t.Append();
  t.FieldByName("Ordine").SetAsInteger(-70000);
  std::string odd;
  for (int c = 1; c < 128; ++c)
    odd.push_back(char(c));
  odd += "\u20AC\u00E0\u00FF \u0414\u043E\u043A\u0443\u043C\u0435\u043D\u0442\u044B \u65E5\u672C\u8A9E \U0001F600";
  t.FieldByName("Caption").SetAsString(odd);
  t.FieldByName("Path").SetAsString("C:\\Programmi\\\"x\"\\y.exe");
  t.FieldByName("ShowText").SetAsBoolean(true);
  t.FieldByName("Quando").SetAsFloat(45678.123456789012);
  t.FieldByName("Prezzo").SetAsFloat(-12.3456);
  t.FieldByName("Nota").SetAsString(std::string(300, 'n'));
  t.Post();
  t.Append();
  t.FieldByName("Caption").SetAsString("");
  t.Post();
  TBinaryTableFormat f;
  std::string bytes;
  f.Save(t, bytes);

  TRecordTable loaded;
  f.Load(loaded, bytes);
  const std::string json = TableToJson(loaded, f.LoadedVersion());
  EXPECT_NE(json.find("{\"name\": \"Ordine\", \"type\": \"Integer\", \"size\": 0, \"required\": false}"),
            std::string::npos);
  EXPECT_NE(json.find("-12.3456"), std::string::npos);
  TRecordTable rebuilt;
  EXPECT_EQ(TableFromJson(json, rebuilt), 251);
  std::string again;
  f.Save(rebuilt, again);
  EXPECT_EQ(again, bytes);
  // A pair of escapes is one character beyond U+FFFF.
  TRecordTable pair;
  TableFromJson(
      "{\"fields\": [{\"name\": \"A\", \"type\": \"String\", \"size\": 4}], \"records\": [[\"\\ud83d\\ude00\"]]}",
      pair);
  pair.First();
  EXPECT_EQ(pair.Field(0).AsString(), "\U0001F600");
}

TEST(TableJson, BadJsonIsRefusedAndLeavesTheTable) {
  TRecordTable t("T");
  t.AddFieldDef("Keep", ftInteger);
  t.CreateTable();
  const char* bad[] = {
      "",
      "[]",
      "{\"fields\": []}",
      "{\"fields\": [{\"name\": \"A\", \"type\": \"Integer\"}], \"records\": [[1, 2]]}",
      "{\"fields\": [{\"name\": \"A\", \"type\": \"Integer\"}], \"records\": [[1.5]]}",
      "{\"fields\": [{\"name\": \"A\", \"type\": \"Boolean\"}], \"records\": [[1]]}",
      "{\"fields\": [{\"name\": \"A\", \"type\": \"String\", \"size\": 4}], \"records\": [[\"\\udc00\"]]}",
      "{\"fields\": [{\"name\": \"A\", \"type\": \"String\", \"size\": 4}], \"records\": [[\"\\ud83d x\"]]}",
      "{\"fields\": [{\"name\": \"A\", \"type\": \"String\", \"size\": 4}], \"records\": [[\"\xE9\"]]}",
      "{\"fields\": [{\"name\": \"A\", \"type\": \"Cursor\"}], \"records\": []}",
      "{\"fields\": [{\"name\": \"A\", \"type\": \"Integer\"}], \"records\": [[1]]} x",
      "{\"fields\": [{\"name\": \"A\", \"type\": \"Integer\"}], \"records\": [[1]",
  };
  for (const char* json : bad) {
    EXPECT_THROW(TableFromJson(json, t), TableError) << json;
    ASSERT_EQ(t.FieldCount(), 1);
    EXPECT_EQ(t.Field(0).FieldName(), "Keep");
  }
  try {
    TableFromJson("{\"fields\": [{\"name\": \"A\", \"type\": \"Cursor\"}], \"records\": []}", t);
  } catch (const TableError& e) {
    EXPECT_STREQ(e.what(), "Unknown field type (Cursor)");
  }
}

}  // namespace
}  // namespace tov
