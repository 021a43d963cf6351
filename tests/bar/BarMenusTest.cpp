// The bar's two menus driven with the mouse on the headless bar: their items
// in order, "Sblocca", the monitors, the languages, and the button commands
// rename and delete with their questions.
#include <gtest/gtest.h>

#include <algorithm>

#include "docking/MonitorList.h"
#include "platform/host/HostDialogs.h"
#include "settings/Settings.h"
#include "tests/BarFixture.h"
#include "text/Texts.h"

namespace tov {
namespace {

struct BarMenusTest : testing::BarFixture {
  ~BarMenusTest() override { FreeMessageTable(); }
  // The bar with the buttons, their shortcut files in the links folder.
  void StartWith(const std::vector<std::string>& captions) {
    Start();
    Stop();
    std::vector<std::pair<std::string, std::string>> rows;
    for (const std::string& c : captions) {
      rows.emplace_back(c, "Button");
      EXPECT_TRUE(Files().WriteFile(Link(c), "link " + c));
    }
    PrepareButtons(rows);
    Start();
    hp.Dialogs().shown.clear();
  }
  static std::string Link(const std::string& caption) { return std::string(testing::kBarLinks) + caption + ".lnk"; }
  // A right click on the bar's background, choosing the item.
  const std::vector<MenuEntry>& BarMenu(const std::string& choice) {
    hp.Windows().menuChoices = {choice};
    Win().Send(WM_RBUTTONUP, 0, intptr_t(1000) | (intptr_t(5) << 16));
    return hp.Windows().shownMenus.back().entries;
  }
  // A right click on the i-th button, choosing the item.
  void ButtonMenu(size_t i, const std::string& choice) {
    const Rect r = bar->Button(i).BoundsRect();
    hp.Windows().menuChoices = {choice};
    Win().Send(WM_RBUTTONUP, 0, intptr_t(r.left + 4) | (intptr_t(r.top + 4) << 16));
  }
  // Plays the value prompt: types the text and confirms, or cancels.
  void Prompt(const std::string& text, bool confirm, std::string* shown = nullptr) {
    hp.Windows().modalScripts.push_back([=](host::HostForm& p) {
      if (shown) *shown = p.Text("EditCampo");
      EXPECT_EQ(p.Frame().caption, "Digitare l'etichetta del pulsante");
      EXPECT_TRUE(p.Type("EditCampo", text));
      EXPECT_TRUE(p.Click(confirm ? "BtnConferma" : "BtnAnnulla"));
    });
  }
  static std::vector<std::string> Captions(const std::vector<MenuEntry>& entries) {
    std::vector<std::string> out;
    for (const MenuEntry& e : entries)
      out.push_back(e.separator ? "-" : e.caption);
    return out;
  }
  static const MenuEntry& Entry(const std::vector<MenuEntry>& entries, const std::string& caption) {
    for (const MenuEntry& e : entries)
      if (e.caption == caption) return e;
    throw std::runtime_error("no menu entry " + caption);
  }
};

TEST_F(BarMenusTest, BothMenusHoldEveryItemInOrderAndSbloccaFollowsTheEdge) {
  StartWith({"Uno"});
  const auto entries = BarMenu("");
  EXPECT_EQ(Captions(entries),
            (std::vector<std::string>{"Cartella origine", "Aggancia", "Schermo", "Layout pulsanti", "-", "Impostazioni",
                                      "Lingue", "-", "Salva come tema", "Temi", "-", "Autore", "-", "Chiudi"}));
  EXPECT_EQ(Captions(Entry(entries, "Aggancia").children),
            (std::vector<std::string>{"In alto", "In basso", "A sinistra", "A destra", "-", "Sblocca"}));
  EXPECT_TRUE(Entry(Entry(entries, "Aggancia").children, "Sblocca").enabled);  // docked at the top
  EXPECT_EQ(Captions(Entry(entries, "Lingue").children), (std::vector<std::string>{"English", "Italiano"}));
  EXPECT_EQ(Captions(Entry(entries, "Temi").children), (std::vector<std::string>{"-", "Elimina temi"}));
  EXPECT_FALSE(Entry(Entry(entries, "Temi").children, "Elimina temi").enabled);  // nothing to delete

  BarMenu("Aggancia/Sblocca");
  EXPECT_EQ(bar->GetEdge(), abeFloat);
  EXPECT_FALSE(Entry(Entry(BarMenu(""), "Aggancia").children, "Sblocca").enabled);

  ButtonMenu(0, "");
  EXPECT_EQ(
      Captions(hp.Windows().shownMenus.back().entries),
      (std::vector<std::string>{"Sposta prima", "Sposta dopo", "-", "Menu di sistema", "-", "Rinomina", "Elimina"}));
  EXPECT_NE(bar->FormComponent().Find("TaskMenu"), nullptr);
}

TEST_F(BarMenusTest, TwoMonitorsTheSecondPrimaryAreListedAndOneIsChosen) {
  hp.SetMonitors({{{0, 0, 1280, 1024}, {0, 0, 1280, 1024}, false, "\\\\.\\DISPLAY2"},
                  {{1280, 0, 2304, 768}, {1280, 0, 2304, 768}, true, "\\\\.\\DISPLAY1"}});
  StartWith({"Uno"});
  const auto screens = Entry(BarMenu(""), "Schermo").children;
  ASSERT_EQ(screens.size(), 2u);
  EXPECT_EQ(screens[0].caption, "Display 1 - \\\\.\\DISPLAY2 (1280x1024) ");
  EXPECT_EQ(screens[1].caption, "Display 2 - \\\\.\\DISPLAY1 (1024x768) *");
  // A first start docks on the first monitor.
  EXPECT_TRUE(screens[0].checked);
  EXPECT_FALSE(screens[1].checked);
  EXPECT_EQ(bar->FormComponent().Find("PopMonitor_2")->tag, 1);

  BarMenu("Schermo/" + screens[1].caption);
  EXPECT_EQ(bar->ScreenIndex(), 1);
  const auto after = Entry(BarMenu(""), "Schermo").children;
  EXPECT_FALSE(after[0].checked);
  EXPECT_TRUE(after[1].checked);
}

TEST_F(BarMenusTest, ALanguageFromTheMenuHoldsUntilTheNextStart) {
  StartWith({"Uno"});
  BarMenu("Lingue/English");
  const auto english = BarMenu("");
  EXPECT_EQ(english[0].caption, "Source folder");
  EXPECT_EQ(Entry(english, "Themes").children.back().caption, "Delete themes");
  EXPECT_EQ(program.Settings().Lingua, "English");
  // Italian holds no menu texts: the built-in ones come back.
  BarMenu("Languages/Italiano");
  const auto italian = BarMenu("");
  EXPECT_EQ(italian[0].caption, "Cartella origine");
  EXPECT_EQ(Entry(italian, "Temi").children.back().caption, "Elimina temi");
  BarMenu("Lingue/English");
  // Not written to the settings: the next start speaks the settings' language.
  EXPECT_EQ(program.UserStore().GetString("Interfaccia", "Lingua", "Italiano"), "Italiano");
  Stop();
  Start();
  EXPECT_EQ(BarMenu("")[0].caption, "Cartella origine");
}

TEST_F(BarMenusTest, RenameShowsTheCaptionRenamesTheShortcutAndCancelChangesNothing) {
  StartWith({"Uno", "Due"});
  std::string shown;
  Prompt("Nuovo", false, &shown);
  const int writes = hp.Files().WriteCount();
  ButtonMenu(1, "Rinomina");
  EXPECT_EQ(shown, "Due");
  EXPECT_EQ(Hints(), (std::vector<std::string>{"Uno", "Due"}));
  EXPECT_EQ(hp.Files().WriteCount(), writes);  // not even rebuilt

  Prompt("Nuovo", true);
  ButtonMenu(1, "Rinomina");
  EXPECT_EQ(Hints(), (std::vector<std::string>{"Uno", "Nuovo"}));
  EXPECT_TRUE(Files().FileExists(Link("Nuovo")));
  EXPECT_FALSE(Files().FileExists(Link("Due")));
  EXPECT_TRUE(hp.Dialogs().shown.empty());
}

TEST_F(BarMenusTest, ARenameThatCannotBeDoneIsToldAndChangesNothing) {
  StartWith({"Uno", "Due"});
  Prompt("a/b", true);
  ButtonMenu(0, "Rinomina");
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_NE(hp.Dialogs().shown[0].text.find("\"a/b\""), std::string::npos);
  // A shortcut held open by another program keeps its name, and the button its caption.
  hp.Files().LockFile(Link("Uno"));
  Prompt("Primo", true);
  ButtonMenu(0, "Rinomina");
  ASSERT_EQ(hp.Dialogs().shown.size(), 2u);
  EXPECT_NE(hp.Dialogs().shown[1].text.find(Link("Uno")), std::string::npos);
  EXPECT_EQ(Hints(), (std::vector<std::string>{"Uno", "Due"}));
}

TEST_F(BarMenusTest, DeleteRemovesTheButtonAndTheFileOnlyAfterTwoYes) {
  StartWith({"Uno", "Due", "Tre"});
  hp.Dialogs().answers = {IDNO};
  ButtonMenu(0, "Elimina");
  EXPECT_EQ(Hints(), (std::vector<std::string>{"Due", "Tre"}));
  EXPECT_TRUE(Files().FileExists(Link("Uno")));
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_EQ(hp.Dialogs().shown[0].caption, "Conferma eliminazione");
  EXPECT_EQ(hp.Dialogs().shown[0].text, "Si desidera eliminare anche i file nella cartella?");

  hp.Dialogs().answers = {IDYES, IDNO};
  ButtonMenu(0, "Elimina");
  EXPECT_EQ(Hints(), std::vector<std::string>{"Tre"});
  EXPECT_TRUE(Files().FileExists(Link("Due")));
  EXPECT_EQ(hp.Dialogs().shown[2].text, "Questa operazione canceller\u00E0 i file associati cartella. Confermi?");

  hp.Dialogs().answers = {IDYES, IDYES};
  ButtonMenu(0, "Elimina");
  EXPECT_TRUE(Hints().empty());
  EXPECT_FALSE(Files().FileExists(Link("Tre")));

  // The shortcuts that stayed come back with a refresh from the folder.
  BarMenu("Cartella origine/Aggiorna da contenuto/Aggiorna e mantieni");
  std::vector<std::string> back = Hints();
  std::sort(back.begin(), back.end());
  EXPECT_EQ(back, (std::vector<std::string>{"Due", "Uno"}));
}

TEST_F(BarMenusTest, AFileThatCannotBeDeletedIsNamedAndItsButtonStillGoes) {
  StartWith({"Uno", "Due"});
  hp.Files().LockFile(Link("Uno"));
  hp.Dialogs().answers = {IDYES, IDYES};
  ButtonMenu(0, "Elimina");
  EXPECT_EQ(Hints(), std::vector<std::string>{"Due"});
  ASSERT_EQ(hp.Dialogs().shown.size(), 3u);
  EXPECT_NE(hp.Dialogs().shown[2].text.find(Link("Uno")), std::string::npos);
}

}  // namespace
}  // namespace tov
