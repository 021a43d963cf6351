// The typed settings store: fallbacks, value texts, template queries, backup.
#include <gtest/gtest.h>

#include "platform/host/HostFileSystem.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostSystem.h"
#include "settings/SecHash.h"
#include "settings/SettingsStore.h"
#include "text/Texts.h"

namespace tov {
namespace {

const char kTemplatePath[] = "C:\\Programmi\\Tovira\\Config\\Settings.tpl";
const char kFolder[] = "C:\\Users\\utente\\AppData\\Roaming\\Tovira\\Config\\";

const char kTemplate[] =
    "[Interfaccia]\r\n"
    "Lingua=FieldType=CHOICE,DefaultValue=Italiano,FieldWidth=120\r\n"
    "Vetro=FieldType=bool,DefaultValue=TRUE\r\n"
    "Colonne=FieldType=int,DefaultValue=4,FieldWidth=abc\r\n"
    "Scala=FieldType=FLOAT,DefaultValue=1,5\r\n"
    "Titolo=FieldType=STRING,DefaultValue=two words\r\n"
    "Nota=\"FieldType=STRING\", \"DefaultValue=una \"\"nota\"\" lunga\" , FileExt=.txt\r\n"
    "[Avvio]\r\n"
    "UserDir=FieldType=Mistero,DefaultValue=<APPDATA>\r\n"
    "Password=FieldType=CRYPTEDSTRING\r\n"
    "Colore=FieldType=COLOR,DefaultValue=abc\r\n"
    "Quando=FieldType=DATE\r\n"
    "Cartella=FieldType=DIRECTORY,DefaultValue=C:\\\r\n";

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ForceDirectories(Files(), "C:\\Programmi\\Tovira\\Config"));
    ASSERT_TRUE(Files().WriteFile(kTemplatePath, kTemplate));
    ASSERT_TRUE(ForceDirectories(Files(), "C:\\Users\\utente\\AppData\\Roaming\\Tovira"));
    ASSERT_TRUE(Files().WriteFile("C:\\Users\\utente\\AppData\\Roaming\\Tovira\\Support.dat", "chiave casuale"));
  }
  std::string Stored(const TSettingsStore& store) {
    std::string bytes;
    Files().ReadFile(store.IniFileName(), &bytes);
    return bytes;
  }
  host::HostPlatform hp_;
  const std::string keyFile_ = "C:\\Users\\utente\\AppData\\Roaming\\Tovira\\Support.dat";
};

TEST_F(StoreTest, PathsAndFolders) {
  TSettingsStore store(kFolder, "Brenvoll\\Tovira", keyFile_);
  EXPECT_EQ(store.IniFileName(), std::string(kFolder) + "\\Brenvoll\\Tovira.ini");
  EXPECT_EQ(store.ConfigFolder(), kFolder);
  EXPECT_TRUE(Files().DirExists(std::string(kFolder) + "Brenvoll"));
  EXPECT_FALSE(Files().FileExists(store.IniFileName()));  // created by the first write
  EXPECT_TRUE(store.HasTemplate());
  ASSERT_TRUE(store.SetString("Generale", "FolderSource", "D:\\Collegamenti"));
  EXPECT_TRUE(Files().FileExists(std::string(kFolder) + "Brenvoll\\Tovira.ini"));
}

TEST_F(StoreTest, StringsFallBackOnTemplateThenCaller) {
  TSettingsStore store(kFolder, "Tovira", keyFile_);
  EXPECT_EQ(store.GetString("Interfaccia", "Lingua", "X"), "Italiano");
  EXPECT_EQ(store.GetString("interfaccia", "LINGUA", "X"), "Italiano");
  EXPECT_EQ(store.GetString("Interfaccia", "Assente", "X"), "X");
  // An unquoted item ends at the first blank: "words" is an item without a name.
  EXPECT_EQ(store.GetString("Interfaccia", "Titolo", "X"), "two");
  EXPECT_EQ(store.GetString("Interfaccia", "Nota", "X"), "una \"nota\" lunga");
  ASSERT_TRUE(store.SetString("Interfaccia", "Lingua", ""));
  EXPECT_EQ(store.GetString("Interfaccia", "Lingua", "X"), "Italiano");  // empty counts as no value
  ASSERT_TRUE(store.SetString("Interfaccia", "Lingua", "English"));
  EXPECT_EQ(store.GetString("Interfaccia", "Lingua", "X"), "English");
  // Changes made by another writer are read at once.
  ASSERT_TRUE(Files().WriteFile(store.IniFileName(), "[Interfaccia]\r\nLingua=Deutsch\r\n"));
  EXPECT_EQ(store.GetString("Interfaccia", "Lingua", "X"), "Deutsch");

  ASSERT_TRUE(Files().DeleteFile(kTemplatePath));
  EXPECT_EQ(store.GetString("Interfaccia", "Titolo", "X"), "X");  // a deleted template reads as empty
  TSettingsStore bare(kFolder, "Altro", "");
  EXPECT_FALSE(bare.HasTemplate());
  EXPECT_EQ(bare.GetString("Interfaccia", "Lingua", "X"), "X");
  // A template created later is not seen by a store that had none.
  ASSERT_TRUE(Files().WriteFile(kTemplatePath, kTemplate));
  EXPECT_EQ(bare.GetString("Interfaccia", "Lingua", "X"), "X");
}

TEST_F(StoreTest, Booleans) {
  TSettingsStore store(kFolder, "Tovira", keyFile_);
  EXPECT_TRUE(store.GetBool("Interfaccia", "Vetro", false));  // template default TRUE
  EXPECT_FALSE(store.GetBool("Interfaccia", "Assente", false));
  EXPECT_TRUE(store.GetBool("Interfaccia", "Assente", true));
  for (const char* t : {"true", "True", "TRUE"}) {
    ASSERT_TRUE(store.SetString("Interfaccia", "Vetro", t));
    EXPECT_TRUE(store.GetBool("Interfaccia", "Vetro", false)) << t;
  }
  for (const char* t : {"1", "Yes", "False"}) {
    ASSERT_TRUE(store.SetString("Interfaccia", "Vetro", t));
    EXPECT_FALSE(store.GetBool("Interfaccia", "Vetro", true)) << t;
  }
  ASSERT_TRUE(store.SetBool("Interfaccia", "Vetro", true));
  EXPECT_TRUE(store.GetBool("Interfaccia", "Vetro", false));
  EXPECT_EQ(Stored(store), "[Interfaccia]\r\nVetro=True\r\n");
  ASSERT_TRUE(store.SetBool("Interfaccia", "Vetro", false));
  EXPECT_EQ(Stored(store), "[Interfaccia]\r\nVetro=False\r\n");
}

TEST_F(StoreTest, IntegersAndTheAbsentMarker) {
  TSettingsStore store(kFolder, "Tovira", keyFile_);
  EXPECT_EQ(store.GetInteger("Interfaccia", "Colonne", 9), 4);
  EXPECT_EQ(store.GetInteger("Avvio", "Colore", 9), 9);  // template default does not parse
  EXPECT_EQ(store.GetInteger("Interfaccia", "Assente", 9), 9);
  struct {
    const char* text;
    int32_t expect;
  } cases[] = {{"$10", 16},
               {"x1F", 31},
               {"0X1f", 31},
               {"-0x10", -16},
               {"+42", 42},
               {"  7", 7},
               {"2147483647", INT32_MAX},
               {"-2147483648", INT32_MIN},
               {"12abc", 4},
               {"2147483648", 4},
               {"0x", 4},
               {"-", 4},
               {"969696", 4},
               {"-2147483633", -2147483633}};
  for (const auto& c : cases) {
    ASSERT_TRUE(store.SetString("Interfaccia", "Colonne", c.text));
    EXPECT_EQ(store.GetInteger("Interfaccia", "Colonne", 9), c.expect) << c.text;
  }
  ASSERT_TRUE(store.SetString("Interfaccia", "Assente", "969696"));
  EXPECT_EQ(store.GetInteger("Interfaccia", "Assente", 9), 9);  // the marker is no value
  ASSERT_TRUE(store.SetInteger("Avvio", "Colore", int32_t(0x8000000F)));
  EXPECT_NE(Stored(store).find("Colore=-2147483633\r\n"), std::string::npos);
  EXPECT_EQ(store.GetInteger("Avvio", "Colore", 0), int32_t(0x8000000F));
  int32_t v = 0;
  EXPECT_FALSE(ParseSettingInteger("", &v));
  EXPECT_FALSE(ParseSettingInteger("1 2", &v));
  EXPECT_FALSE(ParseSettingInteger("$", &v));
  EXPECT_FALSE(ParseSettingInteger("0xFFFFFFFF", &v));
  EXPECT_TRUE(ParseSettingInteger("-$80000000", &v));
  EXPECT_EQ(v, INT32_MIN);
}

TEST_F(StoreTest, FloatsUseTheLocaleSeparator) {
  TSettingsStore store(kFolder, "Tovira", keyFile_);
  // The template item "DefaultValue=1,5" is cut at its comma: "1" and an item "5".
  EXPECT_DOUBLE_EQ(store.GetFloat("Interfaccia", "Scala", 7), 1.0);
  ASSERT_TRUE(store.SetFloat("Interfaccia", "Scala", 2.25));
  EXPECT_NE(Stored(store).find("Scala=2,25\r\n"), std::string::npos);
  EXPECT_DOUBLE_EQ(store.GetFloat("Interfaccia", "Scala", 7), 2.25);
  ASSERT_TRUE(store.SetString("Interfaccia", "Scala", "2.25"));  // not this locale's separator
  EXPECT_DOUBLE_EQ(store.GetFloat("Interfaccia", "Scala", 7), 7);
  ASSERT_TRUE(store.SetString("Interfaccia", "Scala", "-1,5E3"));
  EXPECT_DOUBLE_EQ(store.GetFloat("Interfaccia", "Scala", 7), -1500);
  EXPECT_EQ(FormatSettingFloat(0.1), "0,1");
  EXPECT_EQ(FormatSettingFloat(1.0 / 3), "0,333333333333333");
  EXPECT_EQ(FormatSettingFloat(1e20), "1E20");
  EXPECT_EQ(FormatSettingFloat(-2.5e-7), "-2,5E-7");
  EXPECT_EQ(FormatSettingFloat(100), "100");
  hp_.System().decimalSeparator = '.';
  EXPECT_EQ(FormatSettingFloat(0.5), "0.5");
  double d = 0;
  EXPECT_TRUE(ParseSettingFloat(" 0.5 ", &d));
  EXPECT_DOUBLE_EQ(d, 0.5);
  for (const char* bad : {"", ",", "1e", "1,5", "abc", "1.5x", "--1"})
    EXPECT_FALSE(ParseSettingFloat(bad, &d)) << bad;
}

TEST_F(StoreTest, TemplateQueries) {
  TSettingsStore store(kFolder, "Tovira", keyFile_);
  EXPECT_EQ(store.GetFieldType("Interfaccia", "Vetro"), stBool);       // "bool" in any case
  EXPECT_EQ(store.GetFieldType("Interfaccia", "Colonne"), stInteger);  // "int"
  EXPECT_EQ(store.GetFieldType("Avvio", "UserDir"), stNone);           // unknown keyword
  EXPECT_EQ(store.GetFieldType("Avvio", "Password"), stCryptedString);
  EXPECT_EQ(store.GetFieldType("Avvio", "Assente"), stNone);
  EXPECT_EQ(store.GetFieldWidth("Interfaccia", "Lingua"), 120);
  EXPECT_EQ(store.GetFieldWidth("Interfaccia", "Colonne"), -1);  // not a number
  EXPECT_EQ(store.GetFieldWidth("Interfaccia", "Vetro"), -1);    // absent
  EXPECT_EQ(store.GetTemplateAttribute("Interfaccia", "Nota", "fileext"), ".txt");
  EXPECT_EQ(store.GetTemplateAttribute("Interfaccia", "Vetro", "FieldType"), "bool");  // as written
  EXPECT_EQ(store.TemplateSectionName(0), "Interfaccia");
  EXPECT_EQ(store.TemplateSectionName(1), "Avvio");
  EXPECT_EQ(store.TemplateSectionName(2), "");
  EXPECT_EQ(store.TemplateSectionName(-1), "");
  EXPECT_EQ(store.TemplateSectionIndex("AVVIO"), 1);
  EXPECT_EQ(store.TemplateSectionIndex("Manca"), -1);
  EXPECT_EQ(store.TemplateSectionKeys("Avvio"),
            (std::vector<std::string>{"UserDir", "Password", "Colore", "Quando", "Cartella"}));

  Files().DeleteFile(kTemplatePath);
  TSettingsStore bare(kFolder, "Tovira", keyFile_);
  EXPECT_EQ(bare.GetFieldType("Interfaccia", "Vetro"), stNone);
  EXPECT_EQ(bare.GetFieldWidth("Interfaccia", "Lingua"), -1);
  EXPECT_EQ(bare.GetTemplateAttribute("Interfaccia", "Nota", "FileExt"), "");
  EXPECT_TRUE(bare.TemplateSectionKeys("Avvio").empty());
  EXPECT_EQ(bare.TemplateSectionIndex("Avvio"), -1);
  EXPECT_TRUE(bare.SectionCaptions().empty());
}

TEST(AttributeList, SplitRules) {
  EXPECT_EQ(SplitAttributeList("FieldType=BOOL,DefaultValue=FALSE"),
            (std::vector<std::string>{"FieldType=BOOL", "DefaultValue=FALSE"}));
  EXPECT_EQ(SplitAttributeList("  a=1 ,\t b=2  "), (std::vector<std::string>{"a=1", "b=2"}));
  EXPECT_EQ(SplitAttributeList("DefaultValue=two words"), (std::vector<std::string>{"DefaultValue=two", "words"}));
  EXPECT_EQ(SplitAttributeList("\"a=x, y\",b"), (std::vector<std::string>{"a=x, y", "b"}));
  EXPECT_EQ(SplitAttributeList("\"q=\"\"\"\"\""), (std::vector<std::string>{"q=\"\""}));
  EXPECT_EQ(SplitAttributeList("\"open=no end"), (std::vector<std::string>{"open=no end"}));
  EXPECT_EQ(SplitAttributeList("a,,b,"), (std::vector<std::string>{"a", "", "b", ""}));
  EXPECT_TRUE(SplitAttributeList("   ").empty());
  EXPECT_EQ(SplitAttributeList(std::string("a=1,b\0=2,c", 10)), (std::vector<std::string>{"a=1", "b"}));
  EXPECT_EQ(AttributeValue("FieldType=INT,fieldtype=BOOL", "FIELDTYPE"), "INT");  // the first one
  EXPECT_EQ(AttributeValue("DefaultValue=a=b", "defaultvalue"), "a=b");
  EXPECT_EQ(AttributeValue("DefaultValue", "DefaultValue"), "");
  EXPECT_EQ(SettingTypeFromKeyword("fixedChoice"), stFixedChoice);
  EXPECT_EQ(SettingTypeFromKeyword("DOUBLE"), stFloat);
  EXPECT_EQ(SettingTypeFromKeyword("BOOLEAN"), stBool);
  EXPECT_EQ(SettingTypeFromKeyword("COLOUR"), stNone);
}

TEST_F(StoreTest, CaptionsComeFromTheLanguageTexts) {
  TSettingsStore store(kFolder, "Tovira", keyFile_);
  FreeMessageTable();
  EXPECT_EQ(store.SectionCaptions(), (std::vector<std::string>{"Config.Interfaccia", "Config.Avvio"}));
  EXPECT_EQ(store.FieldCaption("Avvio", "UserDir"), "Avvio.UserDir");
  EXPECT_EQ(store.FieldHint("Avvio", "UserDir"), "");
  EXPECT_EQ(store.ConfigText("Avvio", "Hint", ""), "");
  SetMessageTable({"Config.Avvio=Start", "Config.Avvio.UserDir=User folder", "Config.Avvio.UserDir.Hint=Where",
                   "Config.Avvio.Hint=Start page"});
  EXPECT_EQ(store.SectionCaptions(), (std::vector<std::string>{"Config.Interfaccia", "Start"}));
  EXPECT_EQ(store.FieldCaption("Avvio", "UserDir"), "User folder");
  EXPECT_EQ(store.FieldHint("Avvio", "UserDir"), "Where");
  EXPECT_EQ(store.ConfigText("Avvio", "Hint", ""), "Start page");
  FreeMessageTable();
}

TEST_F(StoreTest, FailedWritesAnswerFalseAndChangeNothing) {
  TSettingsStore store(kFolder, "Tovira", keyFile_);
  ASSERT_TRUE(store.SetInteger("Interfaccia", "Colonne", 6));
  const std::string before = Stored(store);
  hp_.Files().FailWriteAfter(1, 3);
  EXPECT_FALSE(store.SetInteger("Interfaccia", "Colonne", 8));
  EXPECT_EQ(Stored(store), before);
  hp_.Files().SetReadOnlyFolder(kFolder);
  EXPECT_FALSE(store.SetBool("Interfaccia", "Vetro", false));
  EXPECT_FALSE(store.SetFloat("Interfaccia", "Scala", 1));
  EXPECT_EQ(store.GetInteger("Interfaccia", "Colonne", 0), 6);
}

TEST_F(StoreTest, ProtectedValues) {
  TSettingsStore store(kFolder, "Tovira", keyFile_);
  ASSERT_TRUE(store.SetCryptedString("Avvio", "Password", "segreto \u00E8 1"));
  std::string stored = store.GetString("Avvio", "Password", "");
  EXPECT_EQ(stored.size(), 4 * std::string("segreto \u00E8 1").size());
  EXPECT_EQ(stored.find_first_not_of("abcdefghijklmnop"), std::string::npos);
  EXPECT_EQ(store.GetCryptedString("Avvio", "Password", ""), "segreto \u00E8 1");
  ASSERT_TRUE(store.SetCryptedString("Avvio", "Password", ""));
  EXPECT_EQ(store.GetCryptedString("Avvio", "Password", ""), "");
  // A store without a key file cannot hold protected values.
  TSettingsStore start(kFolder, "Avvio", "");
  EXPECT_THROW(start.SetCryptedString("Avvio", "Password", "x"), ESecHashException);
}

TEST_F(StoreTest, BackupAndRestore) {
  TSettingsStore store(kFolder, "Tovira", keyFile_);
  ASSERT_TRUE(store.SetString("Interfaccia", "Lingua", "English"));
  ASSERT_TRUE(store.SetInteger("Interfaccia", "Colonne", 12));
  ASSERT_TRUE(store.SetFloat("Interfaccia", "Scala", 0.75));
  ASSERT_TRUE(store.SetBool("Interfaccia", "Vetro", false));
  ASSERT_TRUE(store.SetCryptedString("Avvio", "Password", "pw"));
  ASSERT_TRUE(store.SetString("Avvio", "Quando", "09/12/2026"));
  const std::string bkpPath = std::string(kFolder) + "Settings.bkp";
  ASSERT_TRUE(Files().WriteFile(bkpPath, "[Extra]\r\nTenuto=1\r\n"));
  const std::string before = Stored(store);
  ASSERT_TRUE(store.BackupValues());
  std::string bkp;
  ASSERT_TRUE(Files().ReadFile(bkpPath, &bkp));
  // Every field type is kept, directories included, a protected value as
  // enciphered as in the settings file; the file's other sections stay.
  EXPECT_EQ(bkp,
            "[Extra]\r\nTenuto=1\r\n"
            "[Interfaccia]\r\nLingua=English\r\nVetro=FALSE\r\nColonne=12\r\nScala=0,75\r\nTitolo=two\r\n"
            "Nota=una \"nota\" lunga\r\n"
            "[Avvio]\r\nUserDir=\r\nPassword=" +
                store.StoredText("Avvio", "Password") + "\r\nColore=0\r\nQuando=09/12/2026\r\nCartella=C:\\\r\n");
  EXPECT_EQ(bkp.find("Password=pw"), std::string::npos);
  EXPECT_EQ(Stored(store), before);

  // Every edit made after the backup is undone, of every type, an emptied
  // text too; a key the file did not hold goes again, and the file is as it
  // was, byte for byte.
  ASSERT_TRUE(store.SetInteger("Interfaccia", "Colonne", 3));
  ASSERT_TRUE(store.SetBool("Interfaccia", "Vetro", true));
  ASSERT_TRUE(store.SetCryptedString("Avvio", "Password", "altro"));
  ASSERT_TRUE(store.SetFloat("Interfaccia", "Scala", 9));
  ASSERT_TRUE(store.SetString("Interfaccia", "Lingua", ""));
  ASSERT_TRUE(store.SetString("Avvio", "Cartella", "D:\\"));
  ASSERT_TRUE(store.SetString("Interfaccia", "Titolo", "two"));  // the default, now written
  ASSERT_TRUE(store.SetString("Extra", "Tenuto", "2"));          // not the template's
  store.RestoreValues();
  EXPECT_EQ(store.GetInteger("Interfaccia", "Colonne", 0), 12);
  EXPECT_FALSE(store.GetBool("Interfaccia", "Vetro", true));
  EXPECT_EQ(store.GetCryptedString("Avvio", "Password", ""), "pw");
  EXPECT_DOUBLE_EQ(store.GetFloat("Interfaccia", "Scala", 0), 0.75);
  EXPECT_EQ(store.GetString("Interfaccia", "Lingua", ""), "English");
  EXPECT_EQ(store.GetString("Avvio", "Cartella", ""), "C:\\");
  EXPECT_EQ(store.GetString("Extra", "Tenuto", "none"), "2");
  ASSERT_TRUE(TIniFile(store.IniFileName()).EraseSection("Extra"));
  EXPECT_EQ(Stored(store), before);
  std::string after;
  ASSERT_TRUE(Files().ReadFile(bkpPath, &after));
  EXPECT_EQ(after, bkp);  // the backup is left as it was

  // A section the file did not hold goes again too.
  TSettingsStore fresh(kFolder, "Vuoto", keyFile_);
  ASSERT_TRUE(fresh.SetString("Interfaccia", "Lingua", "English"));
  const std::string one = Stored(fresh);
  ASSERT_TRUE(fresh.BackupValues());
  ASSERT_TRUE(fresh.SetString("Avvio", "Quando", "01/02/2026"));
  ASSERT_TRUE(fresh.SetString("Interfaccia", "Titolo", "altro"));
  fresh.RestoreValues();
  EXPECT_EQ(Stored(fresh), one);

  // Without a backup of its own, a store restores nothing from an older file.
  TSettingsStore other(kFolder, "Tovira", keyFile_);
  ASSERT_TRUE(other.SetInteger("Interfaccia", "Colonne", 5));
  other.RestoreValues();
  EXPECT_EQ(other.GetInteger("Interfaccia", "Colonne", 0), 5);

  Files().DeleteFile(kTemplatePath);
  TSettingsStore bare(kFolder, "Nuovo", keyFile_);
  Files().DeleteFile(bkpPath);
  bare.BackupValues();
  EXPECT_FALSE(Files().FileExists(bkpPath));
}

}  // namespace
}  // namespace tov
