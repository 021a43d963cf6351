// Themes on the headless bar, through its menu: saved under a typed name as a
// table file and a copy of the settings file, applied to bars of other
// lengths (appearance only: captions, paths, order and kinds stay), their
// panel keys lasting until the settings are read again, and deleted.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "bar/Themes.h"
#include "platform/host/HostDialogs.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "tables/DataModule.h"
#include "tables/TableFiles.h"
#include "tests/BarFixture.h"
#include "text/Texts.h"

namespace tov {
namespace {

struct ThemesTest : testing::BarFixture {
  ~ThemesTest() override { FreeMessageTable(); }
  void StartWith(const std::vector<std::pair<std::string, std::string>>& rows) {
    StartOn(rows);
    hp.Dialogs().shown.clear();
  }
  std::string Folder() { return UserSubDir(kThemesSubDir); }
  std::string File(const std::string& name, const char* ext) { return TableFileName(Folder(), name, ext); }
  // "Salva come tema" with the name typed into the prompt.
  void SaveAs(const std::string& name) {
    hp.Windows().modalScripts.push_back([=](host::HostForm& p) {
      EXPECT_EQ(p.Frame().caption, "Digitare il nome del tema");
      EXPECT_TRUE(p.Type("EditCampo", name));
      EXPECT_TRUE(p.Click("BtnConferma"));
    });
    BarMenu("Salva come tema");
  }
  const std::vector<MenuEntry>& BarMenu(const std::string& choice) {
    hp.Windows().menuChoices = {choice};
    Win().Send(WM_RBUTTONUP, 0, intptr_t(1000) | (intptr_t(5) << 16));
    return hp.Windows().shownMenus.back().entries;
  }
  std::vector<MenuEntry> ThemesMenu() {
    for (const MenuEntry& e : BarMenu(""))
      if (e.caption == "Temi") return e.children;
    return {};
  }
  // Sets a column of every row in table order, then rebuilds the bar.
  void SetColumn(const char* field, const std::vector<std::string>& values) {
    TRecordTable& t = dc->TblLinks;
    size_t i = 0;
    for (t.First(); !t.Eof() && i < values.size(); t.Next(), ++i) {
      t.Edit();
      t.FieldByName(field).SetAsString(values[i]);
      t.Post();
    }
    bar->RebuildBar();
  }
  std::vector<std::string> Column(const char* field) {
    std::vector<std::string> out;
    TRecordTable& t = dc->TblLinks;
    for (t.First(); !t.Eof(); t.Next())
      out.push_back(t.FieldByName(field).AsString());
    return out;
  }
  void AddButtons(const std::vector<std::string>& captions) {
    for (const std::string& c : captions)
      AddButtonRow(dc->TblLinks, dc->TblLinks.GetRecordCount(), c, std::string(testing::kBarLinks) + c + ".lnk");
    bar->RebuildBar();
  }
  std::string Bytes(const std::string& path) {
    std::string b;
    Files().ReadFile(path, &b);
    return b;
  }
};

TEST_F(ThemesTest, AThreeRowThemeDressesAFiveButtonBarAndLeavesWhatTheButtonsAre) {
  StartWith({{"Uno", "Button"}, {"Due", "Button"}, {"Tre", "Button"}});
  SetColumn("Width", {"31", "32", "33"});
  ASSERT_TRUE(program.UserStore().SetBool("Pannello", "ShowBevel", true));
  SaveAs("Mio");
  EXPECT_TRUE(hp.Dialogs().shown.empty());
  EXPECT_TRUE(Files().FileExists(File("Mio", "theme")));
  EXPECT_EQ(Bytes(File("Mio", "themeini")), Bytes(program.UserStore().IniFileName()));
  const auto menu = ThemesMenu();
  ASSERT_EQ(menu.size(), 3u);
  EXPECT_EQ(menu[0].caption, "Mio");
  EXPECT_EQ(menu[2].children.at(0).caption, "Mio");
  EXPECT_EQ(bar->FormComponent().Find("PopTheme_0")->caption, "Mio");
  EXPECT_EQ(bar->FormComponent().Find("PopDelTheme_0")->caption, "Mio");

  AddButtons({"Quattro", "Cinque"});
  SetColumn("Width", {"50", "50", "50", "50", "50"});
  const std::vector<std::string> paths = Column("Path");
  BarMenu("Temi/Mio");
  EXPECT_EQ(Column("Width"), (std::vector<std::string>{"31", "32", "33", "33", "33"}));
  EXPECT_EQ(Hints(), (std::vector<std::string>{"Uno", "Due", "Tre", "Quattro", "Cinque"}));
  EXPECT_EQ(Column("Path"), paths);
  EXPECT_EQ(bar->Button(4).Width(), 33);
  // The button list follows.
  TDataModule saved;
  ASSERT_TRUE(LoadButtonList(saved.TblLinks, std::string(testing::kBarLinks) + "ButtonList.lob", saved.SaveFormat));
  saved.TblLinks.Last();
  EXPECT_EQ(saved.TblLinks.FieldByName("Width").AsInteger(), 33);
}

TEST_F(ThemesTest, AShorterThemeKeepsTheOrderAndATypeOfItsOwnDoesNotTurnButtonsIntoSeparators) {
  StartWith({{"Uno", "Button"}, {"Sep", "Separator"}});
  SetColumn("Color", {"255", "65280"});
  SaveAs("Due righe");
  Stop();
  PrepareButtons({{"A", "Button"}, {"B", "Button"}, {"C", "Button"}, {"D", "Button"}});
  Start();
  BarMenu("Temi/Due righe");
  EXPECT_EQ(Hints(), (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_EQ(Column("Ordine"), (std::vector<std::string>{"0", "1", "2", "3"}));
  EXPECT_EQ(Column("Type"), (std::vector<std::string>{"Button", "Button", "Button", "Button"}));
  EXPECT_EQ(Column("Caption"), (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_EQ(Column("Color"), (std::vector<std::string>{"255", "65280", "65280", "65280"}));
  EXPECT_EQ(bar->ButtonCount(), 4u);
}

TEST_F(ThemesTest, SavingUnderAnExistingNameReplacesBothFilesWithoutAQuestion) {
  StartWith({{"Uno", "Button"}});
  SetColumn("Width", {"40"});
  SaveAs("Mio");
  ASSERT_TRUE(program.UserStore().SetBool("Pannello", "AutoHide", true));
  SetColumn("Width", {"44"});
  SaveAs("Mio");
  EXPECT_TRUE(hp.Dialogs().shown.empty());
  EXPECT_NE(Bytes(File("Mio", "themeini")).find("AutoHide=True"), std::string::npos);
  SetColumn("Width", {"60"});
  BarMenu("Temi/Mio");
  EXPECT_EQ(Column("Width"), std::vector<std::string>{"44"});
  EXPECT_EQ(ThemesMenu().size(), 3u);
}

TEST_F(ThemesTest, PanelKeysLastUntilTheSettingsAreConfirmedAndMissingOnesTakeTheirDefaults) {
  StartWith({{"Uno", "Button"}});
  SaveAs("Nascosta");
  // A copy holding one key: the others take the defaults of a theme.
  ASSERT_TRUE(Files().WriteFile(File("Nascosta", "themeini"), "[Pannello]\r\nAutoHide=True\r\nMarginWidth=7\r\n"));
  program.Settings().ShowBevel = false;
  program.Settings().Animate = false;
  program.Settings().MarginHeight = 9;
  BarMenu("Temi/Nascosta");
  EXPECT_TRUE(program.Settings().AutoHide);
  EXPECT_TRUE(bar->AutoHide());
  EXPECT_TRUE(program.Settings().ShowBevel);
  EXPECT_TRUE(program.Settings().Animate);
  EXPECT_EQ(program.Settings().MarginWidth, 7);
  EXPECT_EQ(program.Settings().MarginHeight, 2);
  EXPECT_EQ(program.UserStore().GetBool("Pannello", "AutoHide", false), false);  // the store is untouched

  // Confirming the settings dialog brings the store's values back.
  hp.Windows().modalScripts.push_back([](host::HostForm& f) { EXPECT_TRUE(f.Click("BtnConferma")); });
  BarMenu("Impostazioni");
  EXPECT_FALSE(program.Settings().AutoHide);
  EXPECT_FALSE(bar->AutoHide());

  // Without any copy, every key takes its default.
  ASSERT_TRUE(Files().DeleteFile(File("Nascosta", "themeini")));
  program.Settings().MarginWidth = 11;
  BarMenu("Temi/Nascosta");
  EXPECT_EQ(program.Settings().MarginWidth, 2);
  EXPECT_FALSE(program.Settings().AutoHide);
  EXPECT_TRUE(hp.Dialogs().shown.empty());
}

TEST_F(ThemesTest, AThemeWithoutRowsLeavesTheBarAndSaysSo) {
  StartWith({{"Uno", "Button"}});
  SetColumn("Width", {"40"});
  TDataModule scratch;
  SaveTableFile(scratch.TblLinks, Folder(), "Vuoto", kThemeExt, true, scratch.SaveFormat);
  ASSERT_TRUE(Files().WriteFile(File("Vuoto", "themeini"), "[Pannello]\r\nAutoHide=True\r\n"));
  bar->Themes().BuildMenu();
  BarMenu("Temi/Vuoto");
  EXPECT_EQ(Column("Width"), std::vector<std::string>{"40"});
  EXPECT_FALSE(program.Settings().AutoHide);
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_NE(hp.Dialogs().shown[0].text.find("\"Vuoto\" non contiene pulsanti"), std::string::npos);
}

TEST_F(ThemesTest, ANameThatCannotBeAFileNameIsRefusedBeforeAnythingIsWritten) {
  StartWith({{"Uno", "Button"}});
  const int before = int(Files().FindFiles(Folder() + "*").size());
  for (const std::string& name :
       std::vector<std::string>{"a|b", "a/b", "CON", "lpt1.txt", "fine.", "fine ", std::string(250, 'x')}) {
    SCOPED_TRACE(name);
    hp.Dialogs().shown.clear();
    SaveAs(name);
    ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
    EXPECT_NE(hp.Dialogs().shown[0].text.find("non pu\u00F2 essere il nome di un tema"), std::string::npos);
  }
  EXPECT_EQ(int(Files().FindFiles(Folder() + "*").size()), before);
  // Letters of the code page are good names.
  hp.Dialogs().shown.clear();
  SaveAs("Caff\u00E8 blu");
  EXPECT_TRUE(hp.Dialogs().shown.empty());
  EXPECT_EQ(ThemeNames(Folder()), std::vector<std::string>{"Caff\u00E8 blu"});
}

TEST_F(ThemesTest, DeletingTheOnlyThemeLeavesTheSeparatorAndTheDeleteItem) {
  StartWith({{"Uno", "Button"}});
  SaveAs("Mio");
  BarMenu("Temi/Elimina temi/Mio");
  EXPECT_FALSE(Files().FileExists(File("Mio", "theme")));
  EXPECT_FALSE(Files().FileExists(File("Mio", "themeini")));
  const auto menu = ThemesMenu();
  ASSERT_EQ(menu.size(), 2u);
  EXPECT_TRUE(menu[0].separator);
  EXPECT_EQ(menu[1].caption, "Elimina temi");
  EXPECT_TRUE(menu[1].children.empty());
  EXPECT_TRUE(hp.Dialogs().shown.empty());
}

TEST_F(ThemesTest, AThemeFileThatCannotBeDeletedIsNamedAndTheThemeStaysWhole) {
  StartWith({{"Uno", "Button"}});
  ASSERT_TRUE(program.UserStore().SetBool("Pannello", "AutoHide", true));
  SaveAs("Mio");
  ASSERT_TRUE(program.UserStore().SetBool("Pannello", "AutoHide", false));
  hp.Files().LockFile(File("Mio", "theme"));
  BarMenu("Temi/Elimina temi/Mio");
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_NE(hp.Dialogs().shown[0].text.find(File("Mio", "theme")), std::string::npos);
  EXPECT_EQ(ThemesMenu().at(0).caption, "Mio");
  // Still listed, and still with its panel settings.
  EXPECT_TRUE(Files().FileExists(File("Mio", "themeini")));
  hp.Files().UnlockFile(File("Mio", "theme"));
  BarMenu("Temi/Mio");
  EXPECT_TRUE(program.Settings().AutoHide);
}

TEST_F(ThemesTest, AThemeUnreadOnceCanBeSavedAgainOnceDeleted) {
  StartWith({{"Uno", "Button"}});
  SaveAs("Mio");
  hp.Files().LockFile(File("Mio", "theme"));
  BarMenu("Temi/Mio");
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);  // it cannot be read: not written over
  hp.Files().UnlockFile(File("Mio", "theme"));
  hp.Dialogs().shown.clear();
  BarMenu("Temi/Elimina temi/Mio");
  EXPECT_FALSE(Files().FileExists(File("Mio", "theme")));
  SaveAs("Mio");
  EXPECT_TRUE(hp.Dialogs().shown.empty()) << hp.Dialogs().shown[0].text;
  EXPECT_TRUE(Files().FileExists(File("Mio", "theme")));
}

TEST_F(ThemesTest, AThemeGoneSinceTheMenuWasBuiltIsToldAndTheMenuFollows) {
  StartWith({{"Uno", "Button"}});
  SaveAs("Mio");
  ASSERT_TRUE(Files().DeleteFile(File("Mio", "theme")));
  BarMenu("Temi/Mio");
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_EQ(ThemesMenu().size(), 2u);
}

// A theme file made by hand: the columns given, as text, one row per entry.
void WriteThemeFile(TBinaryTableFormat& format, const std::string& folder, const std::string& name,
                    const std::vector<std::string>& columns, const std::vector<std::vector<std::string>>& rows) {
  TRecordTable t;
  t.AddFieldDef("Ordine", ftInteger);
  for (const std::string& c : columns)
    t.AddFieldDef(c, ftString, 64);
  t.CreateTable();
  for (size_t r = 0; r < rows.size(); ++r) {
    t.Append();
    t.FieldByName("Ordine").SetAsInteger(int(r));
    for (size_t c = 0; c < columns.size(); ++c)
      t.FieldByName(columns[c]).SetAsString(rows[r][c]);
    t.Post();
  }
  SaveTableFile(t, folder, name, kThemeExt, true, format);
}

TEST_F(ThemesTest, ARowThatDoesNotConvertLeavesEveryRowAsItWasAndIsTold) {
  StartWith({{"Uno", "Button"}, {"Due", "Button"}, {"Tre", "Button"}});
  SetColumn("Width", {"40", "41", "42"});
  const std::vector<std::string> captions = Column("Caption"), paths = Column("Path");
  // The second row's width is no number; its caption and path come first.
  WriteThemeFile(dc->SaveFormat, Folder(), "Rotto", {"Caption", "Path", "Width"},
                 {{"T1", "C:\\t1.lnk", "31"}, {"T2", "C:\\t2.lnk", "largo"}, {"T3", "C:\\t3.lnk", "33"}});
  bar->Themes().BuildMenu();
  BarMenu("Temi/Rotto");
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_NE(hp.Dialogs().shown[0].text.find("\"Rotto\" non \u00E8 stato applicato"), std::string::npos)
      << hp.Dialogs().shown[0].text;
  // Nothing half-written waits for the next move of the cursor to be saved.
  bar->RebuildBar();
  EXPECT_EQ(Column("Width"), (std::vector<std::string>{"40", "41", "42"}));
  EXPECT_EQ(Column("Caption"), captions);
  EXPECT_EQ(Column("Path"), paths);
  TDataModule saved;
  ASSERT_TRUE(LoadButtonList(saved.TblLinks, std::string(testing::kBarLinks) + "ButtonList.lob", saved.SaveFormat));
  std::vector<std::string> savedCaptions;
  for (saved.TblLinks.First(); !saved.TblLinks.Eof(); saved.TblLinks.Next())
    savedCaptions.push_back(saved.TblLinks.FieldByName("Caption").AsString());
  EXPECT_EQ(savedCaptions, captions);
}

TEST_F(ThemesTest, WhatAButtonDoesStaysWithTheBar) {
  StartWith({{"Uno", "Button"}, {"Due", "Button"}});
  SetColumn("FolderMenu", {"False", "True"});
  SetColumn("RealTime", {"False", "True"});
  WriteThemeFile(dc->SaveFormat, Folder(), "Cartelle", {"Width", "FolderMenu", "RealTime", "Hotkey"},
                 {{"55", "True", "True", "F5"}, {"56", "False", "False", "F6"}});
  bar->Themes().BuildMenu();
  BarMenu("Temi/Cartelle");
  EXPECT_TRUE(hp.Dialogs().shown.empty());
  EXPECT_EQ(Column("Width"), (std::vector<std::string>{"55", "56"}));
  EXPECT_EQ(Column("FolderMenu"), (std::vector<std::string>{"False", "True"}));
  EXPECT_EQ(Column("RealTime"), (std::vector<std::string>{"False", "True"}));
}

TEST_F(ThemesTest, AReSaveThatFailsAnywhereLeavesTheThemeSavedBeforeAsItWas) {
  StartWith({{"Uno", "Button"}});
  SetColumn("Width", {"40"});
  ASSERT_TRUE(program.UserStore().SetBool("Pannello", "AutoHide", false));
  SaveAs("Mio");
  const std::string table = Bytes(File("Mio", "theme")), copy = Bytes(File("Mio", "themeini"));
  ASSERT_FALSE(copy.empty());
  ASSERT_TRUE(program.UserStore().SetBool("Pannello", "AutoHide", true));
  SetColumn("Width", {"44"});
  struct Fault {
    const char* what;
    std::function<void()> set, clear;
    std::string named;  // the file the message names
  };
  const std::vector<Fault> faults{
      {"the new table cannot be written", [&] { hp.Files().FailWriteAfter(1); }, [&] { hp.Files().FailWriteAfter(0); },
       File("Mio", "theme")},
      {"the new panel copy cannot be written", [&] { hp.Files().FailWriteAfter(2); },
       [&] { hp.Files().FailWriteAfter(0); }, File("Mio", "themeini")},
      {"the old panel copy is held open", [&] { hp.Files().LockFile(File("Mio", "themeini")); },
       [&] { hp.Files().UnlockFile(File("Mio", "themeini")); }, File("Mio", "themeini")},
      {"the old table is held open", [&] { hp.Files().LockFile(File("Mio", "theme")); },
       [&] { hp.Files().UnlockFile(File("Mio", "theme")); }, File("Mio", "theme")},
  };
  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.what);
    hp.Dialogs().shown.clear();
    fault.set();
    EXPECT_FALSE(bar->Themes().Save("Mio"));
    fault.clear();
    ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
    EXPECT_NE(hp.Dialogs().shown[0].text.find("\"" + fault.named + "\" non pu\u00F2 essere scritto"), std::string::npos)
        << hp.Dialogs().shown[0].text;
    EXPECT_EQ(Bytes(File("Mio", "theme")), table);
    EXPECT_EQ(Bytes(File("Mio", "themeini")), copy);
    std::vector<std::string> names;
    for (const FindEntry& e : Files().FindFiles(Folder() + "*.*"))
      if (!e.IsDirectory()) names.push_back(e.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Mio.theme", "Mio.themeini"}));
  }
  // And once nothing fails, both are new.
  hp.Dialogs().shown.clear();
  EXPECT_TRUE(bar->Themes().Save("Mio"));
  EXPECT_NE(Bytes(File("Mio", "themeini")).find("AutoHide=True"), std::string::npos);
  EXPECT_NE(Bytes(File("Mio", "theme")), table);
}

TEST_F(ThemesTest, NamesShowInTheMenuAsTheyAreAndStayUsable) {
  StartWith({{"Uno", "Button"}});
  SetColumn("Width", {"40"});
  SaveAs("-");
  SaveAs("Rosso & Blu");
  SetColumn("Width", {"60"});
  hp.Dialogs().shown.clear();
  std::vector<MenuEntry> menu = ThemesMenu();
  ASSERT_EQ(menu.size(), 4u);
  std::vector<std::string> captions{menu[0].caption, menu[1].caption};
  std::sort(captions.begin(), captions.end());
  EXPECT_EQ(captions, (std::vector<std::string>{"&-", "Rosso && Blu"}));
  EXPECT_FALSE(menu[0].separator);
  EXPECT_FALSE(menu[1].separator);
  EXPECT_TRUE(menu[2].separator);
  EXPECT_EQ(menu[3].children.size(), 2u);
  BarMenu("Temi/&-");
  EXPECT_EQ(Column("Width"), std::vector<std::string>{"40"});
  BarMenu("Temi/Elimina temi/Rosso && Blu");
  BarMenu("Temi/Elimina temi/&-");
  EXPECT_TRUE(hp.Dialogs().shown.empty());
  EXPECT_TRUE(ThemeNames(Folder()).empty());
}

TEST_F(ThemesTest, ANameIsMeasuredByTheLongestFileItsSaveWrites) {
  StartWith({{"Uno", "Button"}});
  // The longest is the panel copy under its temporary name, 4 longer.
  const size_t fits = 259 - File("", "themeini.tmp").size();
  for (size_t extra : {size_t(1), size_t(4)}) {
    hp.Dialogs().shown.clear();
    SaveAs(std::string(fits + extra, 'x'));
    ASSERT_EQ(hp.Dialogs().shown.size(), 1u) << extra;
    EXPECT_NE(hp.Dialogs().shown[0].text.find("non pu\u00F2 essere il nome di un tema"), std::string::npos);
  }
  EXPECT_TRUE(ThemeNames(Folder()).empty());
  hp.Dialogs().shown.clear();
  SaveAs(std::string(fits, 'x'));
  EXPECT_TRUE(hp.Dialogs().shown.empty());
  EXPECT_EQ(ThemeNames(Folder()).size(), 1u);
  // The limit counts the system's units, not bytes: a Greek letter is two
  // bytes and one unit, so a Greek name longer in bytes than the limit
  // allows fits; a character beyond the first plane takes two units.
  const size_t letters = 120;
  ASSERT_GT(2 * letters, fits);
  std::string greek;
  for (size_t i = 0; i < letters; ++i)
    greek += "\u03b8";
  SaveAs(greek);
  EXPECT_TRUE(hp.Dialogs().shown.empty());
  EXPECT_EQ(ThemeNames(Folder()).size(), 2u);
  std::string wide;
  for (size_t i = 0; i < fits / 2 + 1; ++i)
    wide += "\U0001F600";
  SaveAs(wide);
  EXPECT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_EQ(ThemeNames(Folder()).size(), 2u);
}

}  // namespace
}  // namespace tov
