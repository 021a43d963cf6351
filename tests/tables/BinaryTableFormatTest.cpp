// The table file: the exact bytes of the writer, every layout the reader
// takes and every error it raises.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "platform/host/HostFileSystem.h"
#include "platform/host/HostPlatform.h"
#include "tables/BinaryTableFormat.h"
#include "tables/ExtendedFloat.h"
#include "tables/RecordTable.h"
#include "tables/TableError.h"
#include "tables/TableStream.h"

namespace tov {
namespace {

std::string Hex(const std::string& hex) {
  std::string out;
  std::istringstream in(hex);
  unsigned v;
  while (in >> std::hex >> v)
    out.push_back(char(v));
  return out;
}

void MakeExample(TRecordTable& t) {
  t.AddFieldDef("Ordine", ftInteger);
  t.AddFieldDef("Caption", ftString, 256);
  t.AddFieldDef("ShowText", ftBoolean);
  t.CreateTable();
  t.Append();
  t.FieldByName("Ordine").SetAsInteger(1);
  t.FieldByName("Caption").SetAsString("abc");
  t.FieldByName("ShowText").SetAsBoolean(true);
  t.Post();
  t.Append();
  t.FieldByName("Ordine").SetAsInteger(300);
  t.FieldByName("ShowText").SetAsBoolean(false);
  t.Post();
}

const char* const kExample =
    "54 50 46 30  03 FB 00  01 "
    "06 06 4F 72 64 69 6E 65 06 07 49 6E 74 65 67 65 72 02 00 06 06 4F 72 64 69 6E 65 06 00 02 0A 08 08 06 04 44 61 "
    "74 61 06 00 "
    "06 07 43 61 70 74 69 6F 6E 06 06 53 74 72 69 6E 67 03 00 01 06 07 43 61 70 74 69 6F 6E 06 00 03 00 01 08 08 06 "
    "04 44 61 74 61 06 00 "
    "06 08 53 68 6F 77 54 65 78 74 06 07 42 6F 6F 6C 65 61 6E 02 00 06 08 53 68 6F 77 54 65 78 74 06 00 02 05 08 08 "
    "06 04 44 61 74 61 06 00 "
    "00  01 00  01 "
    "01 02 00 08 02 01 08 06 03 61 62 63 08 09 00 "
    "01 02 00 08 03 2C 01 09 08 08 00 "
    "00";

std::string LoadError(const std::string& bytes, TRecordTable* into = nullptr) {
  TRecordTable scratch("T");
  TBinaryTableFormat f;
  try {
    f.Load(into ? *into : scratch, bytes);
  } catch (const TableError& e) {
    return e.what();
  }
  return "no error";
}

TEST(BinaryTableFormat, WorkedExampleByteForByte) {
  TRecordTable t("T");
  MakeExample(t);
  TBinaryTableFormat f("SaveFormat");
  std::string bytes;
  t.SaveToStreamViaFormat(bytes, f);
  ASSERT_EQ(bytes.size(), 169u);
  EXPECT_EQ(bytes, Hex(kExample));

  TRecordTable back("B");
  back.LoadFromStreamViaFormat(bytes, f);
  EXPECT_EQ(f.LoadedVersion(), 251);
  ASSERT_EQ(back.FieldCount(), 3);
  EXPECT_EQ(back.Field(1).FieldName(), "Caption");
  EXPECT_EQ(back.Field(1).DataType(), ftString);
  EXPECT_EQ(back.Field(1).Size(), 256);
  ASSERT_EQ(back.GetRecordCount(), 2);
  back.First();
  EXPECT_EQ(back.FieldByName("Caption").AsString(), "abc");
  EXPECT_TRUE(back.FieldByName("ShowText").AsBoolean());
  back.Next();
  EXPECT_EQ(back.FieldByName("Ordine").AsInteger(), 300);
  EXPECT_TRUE(back.FieldByName("Caption").IsNull());
  EXPECT_FALSE(back.FieldByName("ShowText").IsNull());
  std::string again;
  back.SaveToStreamViaFormat(again, f);
  EXPECT_EQ(again, bytes);
}

TEST(BinaryTableFormat, ItemFormsFollowTheValueRanges) {
  std::string s;
  TableWriter w(&s);
  w.WriteInteger(127);
  w.WriteInteger(128);
  w.WriteInteger(32768);
  w.WriteInteger(-128);
  w.WriteInteger(-129);
  w.WriteInteger(-32769);
  EXPECT_EQ(s, Hex("02 7F  03 80 00  04 00 80 00 00  02 80  03 7F FF  04 FF 7F FF FF"));
  TableReader r(s);
  for (int v : {127, 128, 32768, -128, -129, -32769})
    EXPECT_EQ(r.ReadInteger(), v);

  s.clear();
  w.WriteString(std::string(255, 'x'));
  EXPECT_EQ(s.substr(0, 2), Hex("06 FF"));
  EXPECT_EQ(s.size(), 257u);
  s.clear();
  w.WriteString(std::string(256, 'y'));
  EXPECT_EQ(s.substr(0, 5), Hex("0C 00 01 00 00"));
  EXPECT_EQ(TableReader(s).ReadString(), std::string(256, 'y'));
  s.clear();
  w.WriteString("");
  EXPECT_EQ(s, Hex("06 00"));
}

TEST(BinaryTableFormat, ExtendedFloatsRoundTripAndMatchTheLayout) {
  uint8_t b[10];
  EncodeExtended(1.0, b);
  EXPECT_EQ(std::string((char*)b, 10), Hex("00 00 00 00 00 00 00 80 FF 3F"));
  EncodeExtended(-2.5, b);
  EXPECT_EQ(std::string((char*)b, 10), Hex("00 00 00 00 00 00 00 A0 00 C0"));
  for (double d : {0.0, 1.0, -2.5, 3.14159265358979, 1e300, -1e-300, 4.9e-324, 45678.25}) {
    EncodeExtended(d, b);
    EXPECT_EQ(DecodeExtended(b), d);
  }
  EncodeExtended(INFINITY, b);
  EXPECT_TRUE(std::isinf(DecodeExtended(b)));
  // Beyond a double's range.
  const std::string huge = Hex("00 00 00 00 00 00 00 80 FE 7F");
  EXPECT_TRUE(std::isinf(DecodeExtended((const uint8_t*)huge.data())));
  const std::string tiny = Hex("00 00 00 00 00 00 00 80 01 00");
  EXPECT_EQ(DecodeExtended((const uint8_t*)tiny.data()), 0.0);
  // A float position takes integer items too.
  std::string s = Hex("03 2C 01");
  EXPECT_EQ(TableReader(s).ReadFloat(), 300.0);
}

TEST(BinaryTableFormat, NullsEmptiesAndEmptyTables) {
  TRecordTable t("T");
  t.AddFieldDef("S", ftString, 10);
  t.CreateTable();
  TBinaryTableFormat f;
  std::string empty;
  f.Save(t, empty);
  // No index definitions, no records.
  EXPECT_EQ(empty.substr(empty.size() - 5), Hex("00 01 00 01 00"));
  TRecordTable back;
  f.Load(back, empty);
  EXPECT_EQ(back.FieldCount(), 1);
  EXPECT_EQ(back.GetRecordCount(), 0);

  t.Append();
  t.Post();  // null
  t.Append();
  t.FieldByName("S").SetAsString("");
  t.Post();
  std::string bytes;
  f.Save(t, bytes);
  EXPECT_EQ(bytes.substr(bytes.size() - 14), Hex("01  01 02 00 09 00  01 02 00 08 06 00 00  00"));
  f.Load(back, bytes);
  back.First();
  EXPECT_TRUE(back.FieldByName("S").IsNull());
  back.Next();
  EXPECT_FALSE(back.FieldByName("S").IsNull());
}

TEST(BinaryTableFormat, EveryValueKindOfTheTypeTable) {
  TRecordTable t("T");
  t.AddFieldDef("I", ftSmallint);
  t.AddFieldDef("F", ftFloat);
  t.AddFieldDef("C", ftCurrency);
  t.AddFieldDef("D", ftDateTime);
  t.AddFieldDef("A", ftAutoInc);
  t.AddFieldDef("M", ftMemo);
  t.AddFieldDef("Z", ftDate);
  t.CreateTable();
  t.Append();
  t.FieldByName("I").SetAsInteger(-5);
  t.FieldByName("F").SetAsFloat(0.1);
  t.FieldByName("C").SetAsFloat(12.34567);
  t.FieldByName("D").SetAsFloat(45678.5);
  t.FieldByName("A").SetAsInteger(41);
  t.FieldByName("M").SetAsString(std::string(300, 'm'));
  t.FieldByName("Z").SetAsFloat(0.0);  // a zero date reads back as null
  t.Post();
  TBinaryTableFormat f;
  std::string bytes;
  f.Save(t, bytes);
  TRecordTable back;
  f.Load(back, bytes);
  back.First();
  EXPECT_EQ(back.FieldByName("I").AsInteger(), -5);
  EXPECT_EQ(back.FieldByName("F").AsFloat(), 0.1);
  EXPECT_DOUBLE_EQ(back.FieldByName("C").AsFloat(), 12.3457);  // four decimals
  EXPECT_EQ(back.FieldByName("D").AsFloat(), 45678.5);
  EXPECT_EQ(back.FieldByName("M").AsString(), std::string(300, 'm'));
  EXPECT_TRUE(back.FieldByName("Z").IsNull());
  // The auto-increment counter continues after the largest value read.
  back.Append();
  EXPECT_EQ(back.FieldByName("A").AsInteger(), 42);
  back.Cancel();
}

// A version-100 file: no version item, no index list, no per-record list,
// no null flags, no field kind and no tenth item.
TEST(BinaryTableFormat, OldestLayoutWithoutVersion) {
  const std::string bytes =
      Hex("54 50 46 30 01 "
          "06 01 4E 06 07 49 6E 74 65 67 65 72 02 00 06 01 4E 06 00 02 0A 08 08 "
          "06 01 42 06 07 42 6F 6F 6C 65 61 6E 02 00 06 01 42 06 00 02 05 08 08 "
          "00 01 02 07 09 03 E8 03 02 00 00");
  TRecordTable t;
  TBinaryTableFormat f;
  f.Load(t, bytes);
  EXPECT_EQ(f.LoadedVersion(), 100);
  ASSERT_EQ(t.GetRecordCount(), 2);
  t.First();
  EXPECT_EQ(t.FieldByName("N").AsInteger(), 7);
  EXPECT_TRUE(t.FieldByName("B").AsBoolean());
  t.Next();
  EXPECT_EQ(t.FieldByName("N").AsInteger(), 1000);
  EXPECT_FALSE(t.FieldByName("B").AsBoolean());  // a tag other than 09 reads as false...
  EXPECT_FALSE(t.FieldByName("B").IsNull());     // ...and consumes only its byte
}

// Builds a one-field file of the given version, laid out as that version has it.
std::string OneIntFile(int version, const std::string& records) {
  std::string def = Hex("06 01 4E 06 07 49 6E 74 65 67 65 72 02 00 06 01 4E 06 00 02 0A 08 08");
  if (version >= 250) def += Hex("06 04 44 61 74 61");
  if (version >= 251) def += Hex("06 00");
  std::string out = "TPF0";
  TableWriter(&out).WriteInteger(version);
  out += Hex("01") + def + Hex("00");
  if (version >= 200) out += Hex("01 00");
  return out + Hex("01") + records + Hex("00");
}

TEST(BinaryTableFormat, EachVersionSwitch) {
  struct Case {
    int version;
    const char* records;
  };
  const Case cases[] = {
      {199, "02 05"},  // values only, no index list
      {200, "02 05"},  // index list from 200
      {229, "02 05"},
      {230, "01 02 00 02 05 00"},  // per-record list and status
      {248, "01 02 00 02 05 00"},
      {249, "01 02 00 08 02 05 00"},  // null flags
      {250, "01 02 00 08 02 05 00"},  // field kind
      {251, "01 02 00 08 02 05 00"},  // tenth item
      // An earlier version of the row follows in the same list and is dropped.
      {251, "01 02 00 08 02 05 02 01 08 02 09 00"},
  };
  for (const Case& c : cases) {
    TRecordTable t;
    TBinaryTableFormat f;
    ASSERT_NO_THROW(f.Load(t, OneIntFile(c.version, Hex(c.records)))) << c.version;
    EXPECT_EQ(f.LoadedVersion(), c.version);
    ASSERT_EQ(t.GetRecordCount(), 1) << c.version;
    t.First();
    EXPECT_EQ(t.FieldByName("N").AsInteger(), 5) << c.version;
  }
  // A version-249 layout read as 248 is out of step: its null flag is taken as a value.
  TRecordTable t;
  EXPECT_EQ(LoadError(OneIntFile(248, Hex("01 02 00 08 02 05 00")), &t), "Invalid property value");
}

TEST(BinaryTableFormat, IndexDefinitionsTravel) {
  TRecordTable t("T");
  t.AddFieldDef("A", ftInteger);
  t.CreateTable();
  t.IndexDefs().push_back(TIndexDef{"ByA", "A", true, false, true});
  TBinaryTableFormat f;
  std::string bytes;
  f.Save(t, bytes);
  TRecordTable back;
  f.Load(back, bytes);
  ASSERT_EQ(back.IndexDefs().size(), 1u);
  EXPECT_EQ(back.IndexDefs()[0].Name, "ByA");
  EXPECT_EQ(back.IndexDefs()[0].Fields, "A");
  EXPECT_TRUE(back.IndexDefs()[0].Descending);
  EXPECT_FALSE(back.IndexDefs()[0].CaseInsensitive);
  EXPECT_TRUE(back.IndexDefs()[0].Unique);
}

TEST(BinaryTableFormat, LoadReplacesTheColumnsAndCutsLongText) {
  TRecordTable src("S");
  src.AddFieldDef("X", ftString, 4);
  src.AddFieldDef("Y", ftInteger);
  src.CreateTable();
  src.Append();
  src.FieldByName("X").SetAsString("abcd");
  src.Post();
  TBinaryTableFormat f;
  std::string bytes;
  f.Save(src, bytes);
  // Shrink the declared size in the file to 2: the value is cut on reading.
  size_t at = bytes.find(Hex("06 06 53 74 72 69 6E 67 02 04"));
  ASSERT_NE(at, std::string::npos);
  bytes[at + 9] = 2;
  TRecordTable dst("D");
  dst.AddFieldDef("Other", ftBoolean);
  dst.CreateTable();
  dst.Append();
  dst.Post();
  f.Load(dst, bytes);
  ASSERT_EQ(dst.FieldCount(), 2);
  EXPECT_EQ(dst.Field(0).FieldName(), "X");
  EXPECT_EQ(dst.Field(0).Size(), 2);
  EXPECT_EQ(dst.Field(1).DataType(), ftInteger);
  EXPECT_EQ(dst.GetRecordCount(), 1);
  dst.First();
  EXPECT_EQ(dst.FieldByName("X").AsString(), "ab");
}

// Strings of a file of an earlier release are Windows-1252: read as that and
// saved as UTF-8; a file whose strings are all ASCII saves byte for byte as it
// was read. A size counts characters, and a cut keeps them whole.
TEST(BinaryTableFormat, StringsOfEarlierReleasesComeBackAsUtf8) {
  TRecordTable src("S");
  src.AddFieldDef("Caption", ftString, 8);
  src.CreateTable();
  src.Append();
  src.FieldByName("Caption").SetAsString("CaffX");
  src.Post();
  TBinaryTableFormat f;
  std::string ascii;
  f.Save(src, ascii);
  TRecordTable same("T");
  f.Load(same, ascii);
  std::string again;
  f.Save(same, again);
  EXPECT_EQ(again, ascii);

  std::string legacy = ascii;
  const size_t at = legacy.find("CaffX");
  ASSERT_NE(at, std::string::npos);
  legacy[at + 4] = '\xE8';
  TRecordTable read("R");
  f.Load(read, legacy);
  read.First();
  EXPECT_EQ(read.FieldByName("Caption").AsString(), "Caff\u00E8");
  std::string saved;
  f.Save(read, saved);
  EXPECT_NE(saved.find("\x06\x06"
                       "Caff\u00E8"),
            std::string::npos);  // six bytes now
  EXPECT_EQ(saved.size(), ascii.size() + 1);

  // Eight characters of two and three bytes fit a field of size 8.
  read.Edit();
  read.FieldByName("Caption").SetAsString("\u0414\u043E\u043A\u0443\u043C\u0435\u043D\u0442\u044B");
  read.Post();
  EXPECT_EQ(read.FieldByName("Caption").AsString(), "\u0414\u043E\u043A\u0443\u043C\u0435\u043D\u0442");
  read.Edit();
  read.FieldByName("Caption").SetAsString("\u65E5\u672C\u8A9E\U0001F600abcdef");
  read.Post();
  EXPECT_EQ(read.FieldByName("Caption").AsString(), "\u65E5\u672C\u8A9E\U0001F600abcd");
}

TEST(BinaryTableFormat, EveryFailureMessage) {
  TRecordTable t("T");
  MakeExample(t);
  TBinaryTableFormat f;
  std::string good;
  f.Save(t, good);

  EXPECT_EQ(LoadError(""), "Stream read error");
  EXPECT_EQ(LoadError("TP"), "Stream read error");
  EXPECT_EQ(LoadError("TPF1" + good.substr(4)), "Invalid stream format");
  EXPECT_EQ(LoadError("TPF0"), "Stream read error");
  // Cut anywhere inside: always the read error, never a crash.
  for (size_t n = 4; n < good.size(); ++n)
    EXPECT_EQ(LoadError(good.substr(0, n)), "Stream read error") << n;
  // A string where the version should be.
  EXPECT_EQ(LoadError("TPF0" + Hex("06 00")), "Invalid property value");
  // A list end where the definitions should open.
  EXPECT_EQ(LoadError("TPF0" + Hex("03 FB 00 00")), "Invalid property value");
  // Unknown and rejected type names.
  for (const char* name : {"Cursor", "Unknown", "Varchar", "integer"}) {
    std::string bytes = good;
    size_t at = bytes.find("Integer");
    bytes.replace(at - 1, 8, std::string(1, char(strlen(name))) + name);
    EXPECT_EQ(LoadError(bytes), std::string("Unknown field type (") + name + ")");
  }
  // No field definitions and a table without fields.
  EXPECT_EQ(LoadError("TPF0" + Hex("03 FB 00 01 00 01 00 01 00")), "Couldnt determine field count for load.");
  // A long string whose length runs past the end is refused before any allocation.
  std::string huge = "TPF0" + Hex("03 FB 00 01 0C FF FF FF 7F 41");
  EXPECT_EQ(LoadError(huge), "Stream read error");
  // An integer where a list end is required inside a record.
  std::string bad = good;
  bad[bad.size() - 2] = 0x02;  // the last record's closing 00
  EXPECT_EQ(LoadError(bad), "Stream read error");
}

TEST(BinaryTableFormat, FailedLoadLeavesTheTableAsItWas) {
  TRecordTable t("T");
  MakeExample(t);
  TBinaryTableFormat f;
  std::string good;
  f.Save(t, good);
  TRecordTable other("O");
  other.AddFieldDef("Keep", ftInteger);
  other.CreateTable();
  other.Append();
  other.FieldByName("Keep").SetAsInteger(9);
  other.Post();
  EXPECT_EQ(LoadError(good.substr(0, good.size() - 3), &other), "Stream read error");
  ASSERT_EQ(other.FieldCount(), 1);
  EXPECT_EQ(other.Field(0).FieldName(), "Keep");
  ASSERT_EQ(other.GetRecordCount(), 1);
  other.First();
  EXPECT_EQ(other.FieldByName("Keep").AsInteger(), 9);
}

TEST(BinaryTableFormat, OptionsDecideWhatIsWritten) {
  TRecordTable t("T");
  t.AddFieldDef("A", ftInteger);
  t.AddFieldDef("B", ftMemo);
  t.CreateTable();
  t.SortOn("A");
  for (int v : {3, 1, 2}) {
    t.Append();
    t.FieldByName("A").SetAsInteger(v);
    t.Post();
  }
  TBinaryTableFormat f;
  f.Options &= ~sfSaveBlobs;
  t.Field(1).FieldKind = fkCalculated;
  std::string bytes;
  f.Save(t, bytes);
  TRecordTable back;
  f.Load(back, bytes);
  ASSERT_EQ(back.FieldCount(), 1);  // the memo is left out
  std::vector<int> order;
  for (back.First(); !back.Eof(); back.Next())
    order.push_back(back.FieldByName("A").AsInteger());
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));  // current order
  f.Options &= ~sfSaveUsingIndex;
  f.Save(t, bytes);
  f.Load(back, bytes);
  order.clear();
  for (back.First(); !back.Eof(); back.Next())
    order.push_back(back.FieldByName("A").AsInteger());
  EXPECT_EQ(order, (std::vector<int>{3, 1, 2}));  // insertion order
  // Kinds: without sfSaveFieldKind every field is written as "Data".
  f.Options |= sfSaveBlobs | sfSaveCalculated;
  f.Save(t, bytes);
  EXPECT_NE(bytes.find("Calculated"), std::string::npos);
  f.Options &= ~sfSaveFieldKind;
  f.Save(t, bytes);
  EXPECT_EQ(bytes.find("Calculated"), std::string::npos);
  f.SetBufferSize(100);
  EXPECT_EQ(f.BufferSize(), 16384);
}

TEST(BinaryTableFormat, FilesAreWrittenSafelyAndErrorsNameThem) {
  host::HostPlatform hp;
  ASSERT_TRUE(Files().CreateDir("C:\\Dati"));
  TRecordTable t("T");
  MakeExample(t);
  TBinaryTableFormat f;
  t.SaveToFileViaFormat("C:\\Dati\\ButtonList.lob", f);
  std::string first;
  ASSERT_TRUE(Files().ReadFile("C:\\Dati\\ButtonList.lob", &first));
  EXPECT_EQ(first, Hex(kExample));
  // A write that breaks off leaves the old file whole.
  t.Append();
  t.FieldByName("Ordine").SetAsInteger(5);
  t.Post();
  hp.Files().FailWriteAfter(1, 20);
  try {
    t.SaveToFileViaFormat("C:\\Dati\\ButtonList.lob", f);
    FAIL();
  } catch (const TableError& e) {
    EXPECT_STREQ(e.what(), "Cannot create file C:\\Dati\\ButtonList.lob");
  }
  std::string now;
  ASSERT_TRUE(Files().ReadFile("C:\\Dati\\ButtonList.lob", &now));
  EXPECT_EQ(now, first);
  EXPECT_FALSE(Files().FileExists("C:\\Dati\\ButtonList.lob.tmp"));
  hp.Files().SetReadOnlyFolder("C:\\Dati");
  EXPECT_THROW(t.SaveToFileViaFormat("C:\\Dati\\Altro.lob", f), TableError);
  try {
    t.LoadFromFileViaFormat("C:\\Dati\\Manca.lob", f);
    FAIL();
  } catch (const TableError& e) {
    EXPECT_STREQ(e.what(), "Cannot open file C:\\Dati\\Manca.lob");
  }
  TRecordTable back;
  back.LoadFromFileViaFormat("c:\\dati\\buttonlist.lob", f);
  EXPECT_EQ(back.GetRecordCount(), 2);
}

}  // namespace
}  // namespace tov
