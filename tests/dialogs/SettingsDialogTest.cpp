// The settings dialog driven as a user drives it: every field type's editor
// filled from the store, edited and saved; pages written when left; Conferma,
// Annulla and the close box; the failure cases; and, from the bar's menu, a
// confirmed change reaching the bar.
#include <gtest/gtest.h>

#include "dialogs/SettingsDialog.h"
#include "platform/host/HostDialogs.h"
#include "platform/host/HostSystem.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "tests/BarFixture.h"
#include "text/Texts.h"

namespace tov {
namespace {

const char kTemplate[] =
    "[Tutto]\r\n"
    "Numero=FieldType=INTEGER,DefaultValue=5,FieldWidth=50\r\n"
    "Reale=FieldType=FLOAT,DefaultValue=1\r\n"
    "Testo=FieldType=STRING,DefaultValue=ciao\r\n"
    "Segreto=FieldType=CRYPTEDSTRING\r\n"
    "Attivo=FieldType=BOOL,DefaultValue=TRUE\r\n"
    "Giorno=FieldType=DATE\r\n"
    "Cartella=FieldType=DIRECTORY\r\n"
    "Immagine=FieldType=FILE,FileExt=bmp\r\n"
    "Scelta=FieldType=CHOICE\r\n"
    "Fissa=FieldType=FIXEDCHOICE\r\n"
    "Indice=FieldType=CHOICEINDEX\r\n"
    "Colore=FieldType=COLOR,DefaultValue=255\r\n"
    "Ora=FieldType=TIME\r\n"
    "[Altro]\r\n"
    "Nome=FieldType=STRING\r\n"
    "Conta=FieldType=INTEGER,FieldWidth=0\r\n"
    "Quando=FieldType=DATETIME\r\n";

struct SettingsDialogTest : testing::BarFixture {
  ~SettingsDialogTest() override { FreeMessageTable(); }
  // Starts the bar on a template of every field type.
  TSettingsStore& StartWith(const char* tpl) {
    EXPECT_TRUE(Files().WriteFile("C:\\Uno\\Config\\Settings.tpl", tpl));
    Start();
    hp.Dialogs().shown.clear();  // the first start's note
    TSettingsStore& store = program.UserStore();
    EXPECT_TRUE(Files().WriteFile(store.ConfigFolder() + "Scelta.lst", "Rosso\r\nVerde\r\n"));
    EXPECT_TRUE(Files().WriteFile(store.ConfigFolder() + "Fissa.lst", "Uno\r\nDue\r\nTre\r\n"));
    EXPECT_TRUE(Files().WriteFile(store.ConfigFolder() + "Indice.lst", "Primo\r\nSecondo\r\n"));
    return store;
  }
  int Open(TSettingsStore& store, std::function<void(host::HostForm&)> script, const std::string& section = "") {
    hp.Windows().modalScripts.push_back(std::move(script));
    return ShowSettingsDialog(store, section, program.Settings().Lingua, 0);
  }
  std::string File(const TSettingsStore& store) {
    std::string bytes;
    Files().ReadFile(store.IniFileName(), &bytes);
    return bytes;
  }
  host::HostDialogs& Dialogs() { return hp.Dialogs(); }
};

TEST_F(SettingsDialogTest, EveryFieldTypeIsFilledEditedAndSaved) {
  TSettingsStore& store = StartWith(kTemplate);
  ASSERT_TRUE(store.SetInteger("Tutto", "Numero", 42));
  ASSERT_TRUE(store.SetFloat("Tutto", "Reale", 2.5));
  ASSERT_TRUE(store.SetCryptedString("Tutto", "Segreto", "pw"));
  ASSERT_TRUE(store.SetBool("Tutto", "Attivo", false));
  ASSERT_TRUE(store.SetString("Tutto", "Giorno", "25/12/2026"));
  ASSERT_TRUE(store.SetString("Tutto", "Cartella", "C:\\Dati"));
  ASSERT_TRUE(store.SetString("Tutto", "Immagine", "C:\\Img\\sfondo.bmp"));
  ASSERT_TRUE(store.SetString("Tutto", "Scelta", "Giallo"));
  ASSERT_TRUE(store.SetString("Tutto", "Fissa", "due"));
  ASSERT_TRUE(store.SetInteger("Tutto", "Indice", 1));
  Dialogs().folderAnswers = {std::string("D:\\Nuova")};
  Dialogs().fileAnswers = {std::string("D:\\Altro.bmp")};
  Dialogs().colorAnswers = {Color(0x00FF00)};

  const int result = Open(store, [&](host::HostForm& f) {
    EXPECT_EQ(f.Frame().name, "FormImpostazioni");
    EXPECT_EQ(f.Frame().caption, "Impostazioni");
    const ControlDesc* tree = f.Control("AlberoImpostazioni");
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->items, (std::vector<std::string>{"Config.Tutto", "Config.Altro"}));
    EXPECT_EQ(tree->itemIndex, 0);
    // Filled by the table.
    EXPECT_EQ(f.Text("Edit_Numero"), "42");
    EXPECT_EQ(f.Text("Edit_Reale"), "2,5");
    EXPECT_EQ(f.Text("Edit_Testo"), "ciao");
    EXPECT_EQ(f.Text("Edit_Segreto"), "pw");
    EXPECT_EQ(f.Control("Edit_Segreto")->passwordChar, '*');
    EXPECT_EQ(f.Control("Edit_Attivo")->type, ControlType::CheckBox);
    EXPECT_FALSE(f.Control("Edit_Attivo")->checked);
    const ControlDesc* day = f.Control("Edit_Giorno");
    ASSERT_TRUE(day && day->hasDate);
    EXPECT_EQ(day->date.year * 10000 + day->date.month * 100 + day->date.day, 20261225);
    EXPECT_TRUE(f.Control("Edit_Cartella")->hasButton);
    EXPECT_EQ(f.Text("Edit_Cartella"), "C:\\Dati");
    EXPECT_EQ(f.Text("Edit_Immagine"), "C:\\Img\\sfondo.bmp");
    EXPECT_FALSE(f.Control("Edit_Scelta")->listOnly);
    EXPECT_EQ(f.Control("Edit_Scelta")->items, (std::vector<std::string>{"Rosso", "Verde"}));
    EXPECT_EQ(f.Text("Edit_Scelta"), "Giallo");
    EXPECT_TRUE(f.Control("Edit_Fissa")->listOnly);
    EXPECT_EQ(f.Control("Edit_Fissa")->itemIndex, 1);  // "due" is "Due", whatever the case
    EXPECT_EQ(f.Control("Edit_Indice")->itemIndex, 1);
    EXPECT_EQ(f.Control("Edit_Colore")->background, Color(255));
    EXPECT_TRUE(f.Control("Edit_Colore")->hasButton);
    EXPECT_FALSE(f.Control("Edit_Ora"));  // no editor for times
    // The spin controls stand at the right edge of the number editors.
    ASSERT_TRUE(f.Control("Spin_Numero"));
    EXPECT_EQ(f.Control("Spin_Numero")->bounds.left, f.Control("Edit_Numero")->bounds.right);
    EXPECT_EQ(f.Control("Spin_Numero")->buddy != 0, true);
    EXPECT_FALSE(f.Control("Spin_Testo"));

    // Edited as a user does.
    EXPECT_TRUE(f.Type("Edit_Numero", "7"));
    EXPECT_TRUE(f.Type("Edit_Reale", "0,25"));
    EXPECT_TRUE(f.Type("Edit_Testo", "nuovo testo"));
    EXPECT_TRUE(f.Type("Edit_Segreto", "segreto"));
    EXPECT_TRUE(f.Click("Edit_Attivo"));
    DateTime d;
    d.year = 2027;
    d.month = 3;
    d.day = 1;
    EXPECT_TRUE(f.PickDate("Edit_Giorno", true, d));
    EXPECT_TRUE(f.PressEditButton("Edit_Cartella"));
    EXPECT_EQ(f.Text("Edit_Cartella"), "D:\\Nuova");
    EXPECT_TRUE(f.PressEditButton("Edit_Immagine"));
    EXPECT_EQ(f.Text("Edit_Immagine"), "D:\\Altro.bmp");
    EXPECT_TRUE(f.Type("Edit_Scelta", "Blu"));
    EXPECT_TRUE(f.Choose("Edit_Fissa", 2));
    EXPECT_TRUE(f.Choose("Edit_Indice", 0));
    EXPECT_TRUE(f.PressEditButton("Edit_Colore"));
    EXPECT_EQ(f.Control("Edit_Colore")->background, Color(0x00FF00));
    EXPECT_TRUE(f.Click("BtnConferma"));
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(Dialogs().browsed, std::vector<std::string>{"C:\\Dati"});
  ASSERT_EQ(Dialogs().filesAsked.size(), 1u);
  EXPECT_EQ(Dialogs().filesAsked[0].filter, "File BMP(*.BMP)|*.bmp");
  EXPECT_EQ(Dialogs().filesAsked[0].initialDir, "C:\\Img");
  // The colour dialog opens on the colour last chosen in it, not the editor's.
  EXPECT_EQ(Dialogs().colorsOpened, std::vector<Color>{0});

  EXPECT_EQ(store.GetInteger("Tutto", "Numero", 0), 7);
  EXPECT_DOUBLE_EQ(store.GetFloat("Tutto", "Reale", 0), 0.25);
  EXPECT_EQ(store.GetString("Tutto", "Testo", ""), "nuovo testo");
  EXPECT_EQ(store.GetCryptedString("Tutto", "Segreto", ""), "segreto");
  EXPECT_TRUE(store.GetBool("Tutto", "Attivo", false));
  EXPECT_EQ(store.GetString("Tutto", "Giorno", ""), "01/03/2027");
  EXPECT_EQ(store.GetString("Tutto", "Cartella", ""), "D:\\Nuova");
  EXPECT_EQ(store.GetString("Tutto", "Immagine", ""), "D:\\Altro.bmp");
  EXPECT_EQ(store.GetString("Tutto", "Scelta", ""), "Blu");
  EXPECT_EQ(store.GetString("Tutto", "Fissa", ""), "Tre");
  EXPECT_EQ(store.GetInteger("Tutto", "Indice", -5), 0);
  EXPECT_EQ(store.GetInteger("Tutto", "Colore", 0), 0x00FF00);
  EXPECT_EQ(store.GetString("Tutto", "Ora", "non scritto"), "non scritto");
  EXPECT_TRUE(Dialogs().shown.empty());
}

TEST_F(SettingsDialogTest, RowsStandLastKeyFirstWithTheirCaptionsAndWidths) {
  TSettingsStore& store = StartWith(kTemplate);
  Open(store, [&](host::HostForm& f) {
    // The last key at the top, the first at the bottom, 28 pixels apart.
    const int numero = f.Control("Edit_Numero")->bounds.top, reale = f.Control("Edit_Reale")->bounds.top;
    const int colore = f.Control("Edit_Colore")->bounds.top;
    EXPECT_LT(colore, reale);
    EXPECT_EQ(numero - reale, 28);
    // The editors start after the widest caption, at the template's width
    // when it gives one, else at their kind's own.
    const Rect n = f.Control("Edit_Numero")->bounds, t = f.Control("Edit_Testo")->bounds;
    EXPECT_EQ(n.left, t.left);
    EXPECT_EQ(n.Width(), 50);
    EXPECT_GT(t.Width(), 50);
    EXPECT_TRUE(f.Choose("AlberoImpostazioni", 1));
    EXPECT_EQ(f.Control("Edit_Conta")->bounds.Width(), 80);  // FieldWidth 0: the default
    EXPECT_FALSE(f.Control("Edit_Numero"));                  // the first page has gone
    f.Close();
  });
}

TEST_F(SettingsDialogTest, NumbersAcceptOnlyNumbersAndSpinWithinTheirRange) {
  TSettingsStore& store = StartWith(kTemplate);
  ASSERT_TRUE(store.SetInteger("Tutto", "Numero", 99));
  Open(store, [&](host::HostForm& f) {
    EXPECT_TRUE(f.Type("Edit_Numero", "1a"));
    EXPECT_EQ(f.Text("Edit_Numero"), "0");
    EXPECT_TRUE(f.Type("Edit_Numero", ""));
    EXPECT_EQ(f.Text("Edit_Numero"), "0");
    // A floating text is accepted while typing; an integer key saves it as 0.
    EXPECT_TRUE(f.Type("Edit_Numero", "2,5"));
    EXPECT_EQ(f.Text("Edit_Numero"), "2,5");
    EXPECT_TRUE(f.Click("BtnConferma"));
  });
  EXPECT_EQ(store.GetInteger("Tutto", "Numero", -1), 0);

  Open(store, [&](host::HostForm& f) {
    // The arrows step by 1 within 0 to 100.
    EXPECT_TRUE(f.Type("Edit_Numero", "99"));
    EXPECT_TRUE(f.Spin("Spin_Numero", 1));
    EXPECT_EQ(f.Text("Edit_Numero"), "100");
    EXPECT_TRUE(f.Spin("Spin_Numero", 1));
    EXPECT_EQ(f.Text("Edit_Numero"), "100");
    EXPECT_TRUE(f.Type("Edit_Numero", "0"));
    EXPECT_TRUE(f.Spin("Spin_Numero", -1));
    EXPECT_EQ(f.Text("Edit_Numero"), "0");
    EXPECT_TRUE(f.Spin("Spin_Reale", 1));
    EXPECT_EQ(f.Text("Edit_Reale"), "2");  // from its default, 1
    // From the number shown, in the locale's decimals.
    EXPECT_TRUE(f.Type("Edit_Reale", "2,5"));
    EXPECT_TRUE(f.Spin("Spin_Reale", 1));
    EXPECT_EQ(f.Text("Edit_Reale"), "3,5");
    EXPECT_TRUE(f.Spin("Spin_Reale", -1));
    EXPECT_TRUE(f.Spin("Spin_Reale", -1));
    EXPECT_EQ(f.Text("Edit_Reale"), "1,5");
    // A value beyond the arrows' range stays; a step back moves it by one.
    EXPECT_TRUE(f.Type("Edit_Numero", "500"));
    EXPECT_TRUE(f.Spin("Spin_Numero", 1));
    EXPECT_EQ(f.Text("Edit_Numero"), "500");
    EXPECT_TRUE(f.Spin("Spin_Numero", -1));
    EXPECT_EQ(f.Text("Edit_Numero"), "499");
    f.Close();
  });
}

TEST_F(SettingsDialogTest, AnnullaAfterEditsOnTwoPagesRestoresTheFileByteForByte) {
  TSettingsStore& store = StartWith(kTemplate);
  ASSERT_TRUE(store.SetString("Tutto", "Cartella", "C:\\Dati"));
  ASSERT_TRUE(store.SetInteger("Tutto", "Indice", 1));
  // A first opening keeps the dialog's place in the file.
  Open(store, [](host::HostForm& f) { f.Close(); });
  const std::string before = File(store);
  Dialogs().folderAnswers = {std::string("D:\\Altrove")};

  for (const char* how : {"Annulla", "Esc", "close box"}) {
    SCOPED_TRACE(how);
    Dialogs().folderAnswers = {std::string("D:\\Altrove")};
    const int result = Open(store, [&](host::HostForm& f) {
      EXPECT_TRUE(f.Type("Edit_Testo", "cambiato"));
      EXPECT_TRUE(f.PressEditButton("Edit_Cartella"));
      EXPECT_TRUE(f.Choose("Edit_Indice", 0));
      EXPECT_TRUE(f.Choose("Edit_Fissa", 0));
      EXPECT_TRUE(f.Click("Edit_Attivo"));
      // Leaving the page writes it at once.
      EXPECT_TRUE(f.Choose("AlberoImpostazioni", 1));
      EXPECT_EQ(store.GetString("Tutto", "Testo", ""), "cambiato");
      EXPECT_EQ(store.GetString("Tutto", "Cartella", ""), "D:\\Altrove");
      EXPECT_EQ(store.GetInteger("Tutto", "Indice", -1), 0);
      EXPECT_TRUE(f.Type("Edit_Nome", "nome"));
      EXPECT_TRUE(f.Choose("AlberoImpostazioni", 0));
      EXPECT_EQ(store.GetString("Altro", "Nome", ""), "nome");
      EXPECT_TRUE(f.Type("Edit_Numero", "12"));
      if (std::string(how) == "Annulla")
        EXPECT_TRUE(f.Click("BtnAnnulla"));
      else if (std::string(how) == "Esc")
        EXPECT_TRUE(f.PressEscape());
      else
        f.Close();
    });
    EXPECT_EQ(result, 2);
    EXPECT_EQ(File(store), before);
  }
}

TEST_F(SettingsDialogTest, ConfirmWithoutTouchingWritesEveryKeyOfThePageShown) {
  TSettingsStore& store = StartWith(kTemplate);
  ASSERT_FALSE(Files().FileExists(store.IniFileName()) && File(store).find("[Tutto]") != std::string::npos);
  EXPECT_EQ(Open(
                store, [](host::HostForm& f) { EXPECT_TRUE(f.PressEnter()); }, "Altro"),
            1);
  TIniFile ini(store.IniFileName());
  EXPECT_EQ(ini.ReadSectionKeys("Altro"), (std::vector<std::string>{"Nome", "Conta", "Quando"}));
  EXPECT_EQ(ini.ReadString("Altro", "Conta", "?"), "0");
  EXPECT_EQ(ini.ReadString("Altro", "Quando", "?"), "1/1/1899");  // the default, its date unchanged
  EXPECT_FALSE(ini.SectionExists("Tutto"));
  // A stored DATETIME with its time, not touched, stays as it was.
  ASSERT_TRUE(store.SetString("Altro", "Quando", "02/03/2026 10:30:00"));
  EXPECT_EQ(Open(
                store, [](host::HostForm& f) { EXPECT_TRUE(f.PressEnter()); }, "Altro"),
            1);
  EXPECT_EQ(store.GetString("Altro", "Quando", ""), "02/03/2026 10:30:00");
}

// Values the editors cannot show (a text the list lacks, an index beyond
// it, a list file missing, a number that is no whole number) are not
// rewritten by viewing their page, leaving it or confirming; chosen by the
// user, they are.
TEST_F(SettingsDialogTest, ValuesTheEditorsCannotShowStayUntilTheUserChanges) {
  TSettingsStore& store = StartWith(kTemplate);
  ASSERT_TRUE(store.SetString("Tutto", "Fissa", "Quattro"));
  ASSERT_TRUE(store.SetInteger("Tutto", "Indice", 7));
  ASSERT_TRUE(store.SetString("Tutto", "Scelta", "Viola"));
  ASSERT_TRUE(store.SetString("Tutto", "Numero", "2,5"));
  ASSERT_TRUE(store.SetString("Tutto", "Reale", "molto"));
  Files().DeleteFile(store.ConfigFolder() + "Scelta.lst");
  auto stored = [&](const char* key) { return TIniFile(store.IniFileName()).ReadString("Tutto", key, "?"); };
  Open(store, [](host::HostForm& f) {
    EXPECT_EQ(f.Control("Edit_Fissa")->itemIndex, -1);
    EXPECT_EQ(f.Control("Edit_Indice")->itemIndex, -1);
    EXPECT_TRUE(f.Control("Edit_Scelta")->items.empty());  // no list file: what the user types
    EXPECT_TRUE(f.Choose("AlberoImpostazioni", 1));
    EXPECT_TRUE(f.Choose("AlberoImpostazioni", 0));
    EXPECT_TRUE(f.Click("BtnConferma"));
  });
  EXPECT_EQ(stored("Fissa"), "Quattro");
  EXPECT_EQ(stored("Indice"), "7");
  EXPECT_EQ(stored("Scelta"), "Viola");
  EXPECT_EQ(stored("Numero"), "2,5");
  EXPECT_EQ(stored("Reale"), "molto");
  Open(store, [](host::HostForm& f) {
    EXPECT_TRUE(f.Choose("Edit_Fissa", 0));
    EXPECT_TRUE(f.Choose("Edit_Indice", 1));
    EXPECT_TRUE(f.Type("Edit_Numero", "3"));
    EXPECT_TRUE(f.Click("BtnConferma"));
  });
  EXPECT_EQ(stored("Fissa"), "Uno");
  EXPECT_EQ(stored("Indice"), "1");
  EXPECT_EQ(stored("Numero"), "3");
  EXPECT_EQ(stored("Reale"), "molto");
}

// A list file with blank lines: an index is the file's line number.
TEST_F(SettingsDialogTest, ChoiceIndexesCountTheListFilesLines) {
  TSettingsStore& store = StartWith(kTemplate);
  ASSERT_TRUE(Files().WriteFile(store.ConfigFolder() + "Indice.lst", "Primo\r\n\r\nSecondo\nTerzo\r\n"));
  ASSERT_TRUE(store.SetInteger("Tutto", "Indice", 2));
  Open(store, [](host::HostForm& f) {
    EXPECT_EQ(f.Control("Edit_Indice")->items, (std::vector<std::string>{"Primo", "Secondo", "Terzo"}));
    EXPECT_EQ(f.Control("Edit_Indice")->itemIndex, 1);
    EXPECT_TRUE(f.Choose("Edit_Indice", 2));
    EXPECT_TRUE(f.Click("BtnConferma"));
  });
  EXPECT_EQ(store.GetInteger("Tutto", "Indice", -5), 3);
  Open(store, [](host::HostForm& f) {
    EXPECT_EQ(f.Control("Edit_Indice")->itemIndex, 2);
    EXPECT_TRUE(f.Choose("Edit_Indice", 0));
    EXPECT_TRUE(f.Click("BtnConferma"));
  });
  EXPECT_EQ(store.GetInteger("Tutto", "Indice", -5), 0);
}

// A settings file that cannot be written: "Conferma" says which file and
// keeps the dialog open with the edits; leaving the page is refused the
// same way; once the file can be written, the edits go in.
TEST_F(SettingsDialogTest, ASaveThatFailsIsToldAndTheEditsStay) {
  TSettingsStore& store = StartWith(kTemplate);
  const int result = Open(store, [&](host::HostForm& f) {
    EXPECT_TRUE(f.Type("Edit_Testo", "da salvare"));
    hp.Files().FailWriteAfter(1);
    EXPECT_TRUE(f.Click("BtnConferma"));
    EXPECT_FALSE(f.Ended());
    ASSERT_EQ(Dialogs().shown.size(), 1u);
    EXPECT_NE(Dialogs().shown[0].text.find("\"" + store.IniFileName() + "\""), std::string::npos);
    EXPECT_EQ(f.Text("Edit_Testo"), "da salvare");
    hp.Files().FailWriteAfter(1);
    EXPECT_TRUE(f.Choose("AlberoImpostazioni", 1));
    EXPECT_EQ(Dialogs().shown.size(), 2u);
    EXPECT_EQ(f.Control("AlberoImpostazioni")->itemIndex, 0);  // the page stays
    EXPECT_EQ(f.Text("Edit_Testo"), "da salvare");
    EXPECT_TRUE(f.Click("BtnConferma"));
    EXPECT_TRUE(f.Ended());
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(store.GetString("Tutto", "Testo", ""), "da salvare");
}

// Values longer than a profile read's buffer are shown, kept and restored
// whole; protected values stay enciphered in the backup, which goes when
// the dialog closes.
TEST_F(SettingsDialogTest, LongAndProtectedValuesComeBackWholeAndTheBackupGoes) {
  TSettingsStore& store = StartWith(kTemplate);
  const std::string longText(5000, 'L'), longName = "C:\\" + std::string(3000, 'c');
  ASSERT_TRUE(store.SetString("Tutto", "Testo", longText));
  ASSERT_TRUE(store.SetString("Tutto", "Cartella", longName));
  ASSERT_TRUE(store.SetCryptedString("Tutto", "Segreto", "parola segreta"));
  const std::string enciphered = store.StoredText("Tutto", "Segreto");
  const std::string backup = store.ConfigFolder() + "Settings.bkp";
  Open(store, [&](host::HostForm& f) {
    EXPECT_EQ(f.Text("Edit_Testo"), longText);
    EXPECT_EQ(f.Text("Edit_Segreto"), "parola segreta");
    std::string bytes;
    ASSERT_TRUE(Files().ReadFile(backup, &bytes));
    EXPECT_EQ(bytes.find("parola segreta"), std::string::npos);
    EXPECT_NE(bytes.find(enciphered), std::string::npos);
    EXPECT_NE(bytes.find(longText), std::string::npos);
    EXPECT_TRUE(f.Type("Edit_Testo", "corto"));
    EXPECT_TRUE(f.Type("Edit_Cartella", "D:\\"));
    EXPECT_TRUE(f.Type("Edit_Segreto", "altra"));
    EXPECT_TRUE(f.Choose("AlberoImpostazioni", 1));
    EXPECT_EQ(store.GetString("Tutto", "Testo", ""), "corto");
    EXPECT_TRUE(f.Click("BtnAnnulla"));
  });
  EXPECT_EQ(store.GetString("Tutto", "Testo", ""), longText);
  EXPECT_EQ(store.GetString("Tutto", "Cartella", ""), longName);
  EXPECT_EQ(store.StoredText("Tutto", "Segreto"), enciphered);
  EXPECT_FALSE(Files().FileExists(backup));
  Open(store, [](host::HostForm& f) { EXPECT_TRUE(f.Click("BtnConferma")); });
  EXPECT_EQ(store.GetString("Tutto", "Testo", ""), longText);
  EXPECT_FALSE(Files().FileExists(backup));
}

// In a locale that writes the year first, a DATE key without a value shows
// the program's default date, without a message, and keeps its text.
TEST_F(SettingsDialogTest, TheDefaultDateReadsInALocaleThatWritesTheYearFirst) {
  TSettingsStore& store = StartWith(kTemplate);
  hp.System().shortDateFormat = "%Y-%m-%d";
  Open(store, [](host::HostForm& f) {
    const ControlDesc* day = f.Control("Edit_Giorno");
    ASSERT_TRUE(day && day->hasDate);
    EXPECT_EQ(day->date.year * 10000 + day->date.month * 100 + day->date.day, 18990101);
    EXPECT_TRUE(f.Choose("AlberoImpostazioni", 1));
    EXPECT_TRUE(f.Click("BtnConferma"));
  });
  EXPECT_TRUE(Dialogs().shown.empty());
  EXPECT_EQ(store.GetString("Tutto", "Giorno", ""), "1/1/1899");
  EXPECT_EQ(store.GetString("Altro", "Quando", ""), "1/1/1899");
}

TEST_F(SettingsDialogTest, ADateThatIsNotADateLeavesItsEditorEmptyAndTheRestGoesOn) {
  TSettingsStore& store = StartWith(kTemplate);
  ASSERT_TRUE(store.SetString("Tutto", "Giorno", "31/02/2026"));
  Open(store, [](host::HostForm& f) {
    EXPECT_FALSE(f.Control("Edit_Giorno")->hasDate);
    EXPECT_EQ(f.Text("Edit_Colore"), "");
    EXPECT_EQ(f.Control("Edit_Colore")->background, Color(255));  // a key after it is filled
    EXPECT_TRUE(f.Click("BtnConferma"));
  });
  ASSERT_EQ(Dialogs().shown.size(), 1u);
  EXPECT_NE(Dialogs().shown[0].text.find("'31/02/2026'"), std::string::npos);
  EXPECT_NE(Dialogs().shown[0].text.find("Tutto.Giorno"), std::string::npos);
  // Nothing picked: the stored text stays.
  EXPECT_EQ(store.GetString("Tutto", "Giorno", ""), "31/02/2026");
}

TEST_F(SettingsDialogTest, KeysThatCannotNameAnEditorAreSkippedWithAMessage) {
  TSettingsStore& store = StartWith(
      "[Tutto]\r\nPrima=FieldType=STRING\r\nCon spazio=FieldType=STRING\r\nPRIMA=FieldType=BOOL\r\n"
      "Ultima=FieldType=INTEGER\r\n");
  Open(store, [](host::HostForm& f) {
    EXPECT_TRUE(f.Control("Edit_Prima"));
    EXPECT_EQ(f.Control("Edit_Prima")->type, ControlType::Edit);
    EXPECT_TRUE(f.Control("Edit_Ultima"));
    f.Close();
  });
  ASSERT_EQ(Dialogs().shown.size(), 2u);
  EXPECT_NE(Dialogs().shown[0].text.find("\"Con spazio\""), std::string::npos);
  EXPECT_NE(Dialogs().shown[1].text.find("\"PRIMA\""), std::string::npos);
}

TEST_F(SettingsDialogTest, NoTemplateMeansAnEmptyListAndNothingChanged) {
  Files().DeleteFile("C:\\Uno\\Config\\Settings.tpl");
  Start();
  hp.Dialogs().shown.clear();
  TSettingsStore& store = program.UserStore();
  EXPECT_EQ(Open(store,
                 [](host::HostForm& f) {
                   EXPECT_TRUE(f.Control("AlberoImpostazioni")->items.empty());
                   EXPECT_TRUE(f.Click("BtnConferma"));
                 }),
            1);
  // Only the dialog's place is new.
  TIniFile ini(store.IniFileName());
  EXPECT_TRUE(ini.SectionExists("FormImpostazioni"));
  EXPECT_TRUE(Dialogs().shown.empty());
}

TEST_F(SettingsDialogTest, ListsAndTreeFilesAreWrittenAndTheLanguageApplies) {
  Start();
  TSettingsStore& user = program.UserStore();
  program.Settings().Lingua = "English";
  Open(user, [](host::HostForm& f) {
    EXPECT_EQ(f.Frame().caption, "Settings");
    EXPECT_EQ(f.Text("BtnConferma"), "Confirm");
    EXPECT_EQ(f.Control("AlberoImpostazioni")->items.at(1), "Panel");
    EXPECT_EQ(f.Control("Edit_Lingua")->items, (std::vector<std::string>{"English", "Italiano"}));
    // The hint box shows the section's help; the strip its caption.
    EXPECT_TRUE(f.Control("HintBox")->visible);
    EXPECT_EQ(f.Control("LblSezione")->text, "Interface");
    f.Close();
  });
  std::string list, tree;
  ASSERT_TRUE(Files().ReadFile(user.ConfigFolder() + "Lingua.lst", &list));
  EXPECT_EQ(list, "English\r\nItaliano\r\n");
  ASSERT_TRUE(Files().ReadFile(UserTempDir() + "SettingsTree.ini", &tree));
  EXPECT_EQ(tree.substr(0, 18), "Interface\r\nPanel\r\n");
}

TEST_F(SettingsDialogTest, TheDialogKeepsItsPlaceAndLaysItselfOutWhenResized) {
  TSettingsStore& store = StartWith(kTemplate);
  Open(store, [](host::HostForm& f) {
    EXPECT_EQ(f.Frame().place, FramePlace::ScreenCentre);  // the first time
    const Rect scroll = f.Control("ScrollImpostazioni")->bounds;
    f.MoveFrame(Rect{40, 50, 40 + 700, 50 + 500});
    const Rect grown = f.Control("ScrollImpostazioni")->bounds;
    EXPECT_EQ(grown.Width(), scroll.Width() + 700 - 564);
    EXPECT_EQ(grown.Height(), scroll.Height() + 500 - 385);
    EXPECT_EQ(f.Control("BtnConferma")->bounds.bottom, 500 - 1);
    // The splitter widens the list, and the page narrows as much.
    const int tree = f.Control("AlberoImpostazioni")->bounds.Width();
    EXPECT_TRUE(f.Drag("Splitter", 40, 0));
    EXPECT_EQ(f.Control("AlberoImpostazioni")->bounds.Width(), tree + 40);
    EXPECT_EQ(f.Control("ScrollImpostazioni")->bounds.Width(), grown.Width() - 40);
    f.Close();
  });
  Open(store, [](host::HostForm& f) {
    EXPECT_EQ(f.Frame().bounds, (Rect{40, 50, 740, 550}));
    EXPECT_EQ(f.Frame().place, FramePlace::AsDesigned);
    f.Close();
  });
}

TEST_F(SettingsDialogTest, TheBarsMenuOpensItAndAConfirmedChangeReachesTheBar) {
  Start();
  ASSERT_TRUE(program.Settings().ShowBevel);
  hp.Windows().modalScripts.push_back([](host::HostForm& f) {
    EXPECT_EQ(f.Control("AlberoImpostazioni")->items.size(), 5u);
    EXPECT_TRUE(f.Choose("AlberoImpostazioni", 1));
    EXPECT_TRUE(f.Control("Edit_ShowBevel")->checked);
    EXPECT_TRUE(f.Click("Edit_ShowBevel"));
    EXPECT_TRUE(f.Click("BtnConferma"));
  });
  hp.Windows().menuChoices = {"Impostazioni"};
  Win().Send(WM_RBUTTONUP, 0, intptr_t(1000) | (intptr_t(5) << 16));
  EXPECT_EQ(hp.Windows().shownForms, std::vector<std::string>{"FormImpostazioni"});
  EXPECT_FALSE(program.Settings().ShowBevel);
  EXPECT_FALSE(program.UserStore().GetBool("Pannello", "ShowBevel", true));

  // Annulla leaves the file as it was, and the bar too.
  const std::string before = File(program.UserStore());
  hp.Windows().modalScripts.push_back([](host::HostForm& f) {
    EXPECT_TRUE(f.Choose("AlberoImpostazioni", 1));
    EXPECT_TRUE(f.Click("Edit_ShowBevel"));
    EXPECT_TRUE(f.Choose("AlberoImpostazioni", 0));
    EXPECT_TRUE(f.Click("BtnAnnulla"));
  });
  hp.Windows().menuChoices = {"Impostazioni"};
  Win().Send(WM_RBUTTONUP, 0, intptr_t(1000) | (intptr_t(5) << 16));
  EXPECT_EQ(File(program.UserStore()), before);
  EXPECT_FALSE(program.Settings().ShowBevel);
}

}  // namespace
}  // namespace tov
