// Language files: message entries, the English fallback, form translation
// by class, and the list of languages.
#include <gtest/gtest.h>

#include "platform/host/HostDialogs.h"
#include "platform/host/HostFileSystem.h"
#include "platform/host/HostPlatform.h"
#include "text/LanguageFiles.h"
#include "text/Texts.h"
#include "text/TranslateComponents.h"

namespace tov {
namespace {

const char kLangs[] = "C:\\Programmi\\Tovira\\Langs\\";

class LanguageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ForceDirectories(Files(), kLangs);
    Component& f = form;
    f.caption = "Impostazioni";
    Component& page = f.Add(ComponentKind::Panel, "PnlPagina");
    page.caption = "Pagina";
    page.Add(ComponentKind::Label, "LblInfo").caption = "Informazioni";
    page.Add(ComponentKind::Button, "BtnOk").caption = "Conferma";
    Component& combo = page.Add(ComponentKind::ComboBox, "CmbLato");
    combo.items = {"Sopra", "Sotto"};
    combo.itemIndex = 1;
    page.Add(ComponentKind::HintBox, "HintAiuto").lines = {"riga"};
    page.Add(ComponentKind::Edit, "EditNome").caption = "nome";
    page.Add(ComponentKind::ListView, "LvTemi").columns = {{"Nome", 80}, {"Data", 60}};
    page.Add(ComponentKind::TabSheet, "TabUno").caption = "Uno";
    Component& menu = f.Add(ComponentKind::PopupMenu, "PopMenu");
    Component& lang = menu.Add(ComponentKind::MenuItem, "PopLingua");
    lang.caption = "Lingua";
    auto runtime = MakeComponent(ComponentKind::MenuItem, "PopRuntime", "creata");
    runtime->SetOwner(&lang);
    lang.Add(std::move(runtime));
  }
  void TearDown() override { FreeMessageTable(); }
  void Write(const std::string& name, const std::string& text) { ASSERT_TRUE(Files().WriteFile(kLangs + name, text)); }
  std::vector<host::ShownBox>& Boxes() { return hp.Dialogs().shown; }

  host::HostPlatform hp;
  Component form{ComponentKind::Form, "FormImpostazioni"};
};

TEST_F(LanguageTest, TranslatesEachClassByItsRow) {
  Write("English.lng",
        "; comment\r\n"
        "FormImpostazioni.FormImpostazioni.Caption=Settings\r\n"
        "formimpostazioni.lblinfo.caption=First\u00A7Second\u00A7\r\n"
        "FormImpostazioni.LblInfo.Hint=About\r\n"
        "FormImpostazioni.BtnOk.Caption=O\u00A7K\n"
        "FormImpostazioni.BtnOk.Caption=ignored, the first wins\n"
        "FormImpostazioni.PnlPagina.Caption=\r"
        "FormImpostazioni.CmbLato.Items=Top\u00A7"
        "Bottom\u00A7\r\n"
        "FormImpostazioni.HintAiuto.Lines=one  \u00A7two  \u00A7three  \r\n"
        "FormImpostazioni.EditNome.Caption=name\r\n"
        "FormImpostazioni.LvTemi.Col_1.Caption=Date\r\n"
        "FormImpostazioni.TabUno.Caption=One\r\n"
        "FormImpostazioni.PopLingua.Caption=Language\r\n"
        "FormImpostazioni.PopRuntime.Caption=runtime\r\n");
  ApplyLanguage(form, "English");
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(form.caption, "Settings");
  EXPECT_EQ(form.Find("LblInfo")->caption, "First\r\nSecond");
  EXPECT_EQ(form.Find("LblInfo")->hint, "About");
  EXPECT_EQ(form.Find("BtnOk")->caption, "O\u00A7K");    // "§" breaks lines on labels only
  EXPECT_EQ(form.Find("PnlPagina")->caption, "Pagina");  // empty value: design text stays
  Component& combo = *form.Find("CmbLato");
  EXPECT_EQ(combo.items, (std::vector<std::string>{"Top", "Bottom"}));
  EXPECT_EQ(combo.itemIndex, -1);
  EXPECT_EQ(form.Find("HintAiuto")->lines, (std::vector<std::string>{"one  ", "two  ", "three"}));
  EXPECT_EQ(form.Find("EditNome")->caption, "name");
  EXPECT_EQ(form.Find("LvTemi")->columns[0].caption, "Nome");
  EXPECT_EQ(form.Find("LvTemi")->columns[1].caption, "Date");
  EXPECT_EQ(form.Find("TabUno")->caption, "Uno");  // not a class language files translate
  EXPECT_EQ(form.Find("PopLingua")->caption, "Language");
  EXPECT_EQ(form.Find("PopRuntime")->caption, "creata");  // owned by its menu item
}

TEST_F(LanguageTest, MessagesFallBackOnEnglishWhileTheFormKeepsItsTexts) {
  Write("English.lng",
        "*Messages.FirstRun=Welcome\r\nMessages.Other=not a message\r\n*Messages.Empty=\r\n"
        "FormImpostazioni.BtnOk.Caption=OK\r\n");
  ApplyLanguage(form, "Deutsch");
  EXPECT_EQ(LangText("messages.firstrun", "Benvenuto"), "Welcome");
  EXPECT_EQ(LangText("Messages.Other", "d"), "d");
  EXPECT_EQ(LangText("Messages.Empty", "d"), "d");
  EXPECT_EQ(form.Find("BtnOk")->caption, "Conferma");
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "Language file not found.\nUsing default language.");
  EXPECT_EQ(Boxes()[0].caption, "Error!");
  EXPECT_EQ(Boxes()[0].style, 0x10u);

  // An empty language name names ".lng" and counts as missing.
  ApplyLanguage(form, "");
  EXPECT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(LangText("Messages.FirstRun", "x"), "Welcome");
}

// Language files of earlier releases are Windows-1252; new ones UTF-8, with
// or without a byte-order mark.
TEST_F(LanguageTest, FilesInUtf8WithOrWithoutMarkOrInTheOldCodePage) {
  Write("Vecchio.lng", "*Messages.FirstRun=Caff\xE8 \x80\r\nFormImpostazioni.BtnOk.Caption=S\xEC\r\n");
  ApplyLanguage(form, "Vecchio");
  EXPECT_EQ(LangText("Messages.FirstRun", "d"), "Caff\u00E8 \u20AC");
  EXPECT_EQ(form.Find("BtnOk")->caption, "S\u00EC");
  Write("Marcato.lng", "\xEF\xBB\xBF*Messages.FirstRun=\u0414\u043E\u0431\u0440\u043E\r\n");
  ApplyLanguage(form, "Marcato");
  EXPECT_EQ(LangText("Messages.FirstRun", "d"), "\u0414\u043E\u0431\u0440\u043E");
  Write("Nuovo.lng", "FormImpostazioni.BtnOk.Caption=\u65E5\u672C\u00A7\u8A9E\r\n");
  ApplyLanguage(form, "Nuovo");
  EXPECT_EQ(form.Find("BtnOk")->caption, "\u65E5\u672C\u00A7\u8A9E");  // the mark breaks lines on labels only
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(LanguageTest, AFileThatCannotBeReadCountsAsMissing) {
  Write("English.lng", "*Messages.FirstRun=Welcome\r\n");
  Write("Deutsch.lng", "*Messages.FirstRun=Willkommen\r\nFormImpostazioni.BtnOk.Caption=Gut\r\n");
  hp.Files().LockFile(std::string(kLangs) + "Deutsch.lng");
  ApplyLanguage(form, "Deutsch");
  EXPECT_EQ(LangText("Messages.FirstRun", "Benvenuto"), "Welcome");
  EXPECT_EQ(form.Find("BtnOk")->caption, "Conferma");
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].caption, "Error!");
}

TEST_F(LanguageTest, WithoutAnyFileEveryTextKeepsItsDefaultAndTwoBoxesShow) {
  ApplyLanguage(form, "Italiano");
  EXPECT_EQ(Boxes().size(), 2u);
  EXPECT_TRUE(HasMessageTable());
  EXPECT_TRUE(MessageTable().empty());
  EXPECT_EQ(LangText("Messages.FirstRun", "Benvenuto"), "Benvenuto");
  EXPECT_EQ(form.caption, "Impostazioni");
}

TEST_F(LanguageTest, LanguageNamesListTheFolderAndMenuItemsFollowIt) {
  EXPECT_TRUE(LanguageNames().empty());
  Write("English.lng", "");
  Write("Italiano.lng", "");
  Write("note.txt", "");
  ASSERT_TRUE(Files().CreateDir(std::string(kLangs) + "Cartella.lng"));
  EXPECT_EQ(LanguageNames(), (std::vector<std::string>{"English", "Italiano"}));
  ASSERT_TRUE(WriteLanguageList("C:\\Programmi\\Tovira\\"));
  std::string list;
  ASSERT_TRUE(Files().ReadFile("C:\\Programmi\\Tovira\\Lingua.lst", &list));
  EXPECT_EQ(list, "English\r\nItaliano\r\n");

  Component& lang = *form.Find("PopLingua");
  std::string chosen;
  lang.RemoveChildren();
  AddLanguageMenuItems(lang, "PopLinguaClick", [&](Component& s) { chosen = s.caption; });
  ASSERT_EQ(lang.ChildCount(), 2u);
  EXPECT_EQ(lang.Child(1).caption, "Italiano");
  EXPECT_EQ(lang.Child(1).Owner(), &lang);
  EXPECT_EQ(lang.Child(1).HandlerName("OnClick"), "PopLinguaClick");
  lang.Child(1).Fire("OnClick");
  EXPECT_EQ(chosen, "Italiano");
}

TEST(LanguageFolder, IsCreatedWhenListed) {
  host::HostPlatform hp;
  EXPECT_FALSE(Files().DirExists("C:\\Programmi\\Tovira\\Langs"));
  EXPECT_TRUE(LanguageNames().empty());
  EXPECT_TRUE(Files().DirExists("C:\\Programmi\\Tovira\\Langs"));
}

}  // namespace
}  // namespace tov
