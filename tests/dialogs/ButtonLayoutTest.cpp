// The button layout dialog on the whole headless bar: the list from the
// button table, moving, deleting with its questions, separators, renaming in
// place, appearance applied to one or many rows, the preview, combinations
// saved and recalled, the selection buttons.
#include <gtest/gtest.h>

#include <algorithm>

#include "controls/Appearance.h"
#include "dialogs/ButtonLayout.h"
#include "platform/host/HostCanvas.h"
#include "platform/host/HostDialogs.h"
#include "platform/host/HostShell.h"
#include "platform/host/HostSystem.h"
#include "settings/Settings.h"
#include "tables/DataModule.h"
#include "tests/dialogs/ButtonLayoutFixture.h"
#include "text/Texts.h"

namespace tov {
namespace {

struct ButtonLayoutTest : testing::ButtonLayoutFixture {
  ButtonLayoutTest()
      : ButtonLayoutFixture({{"Uno", "Button"}, {"Sep", "Separator"}, {"Due", "Button"}, {"Tre", "Button"}}) {}
  std::vector<std::string> Captions(host::HostForm& f) {
    std::vector<std::string> out;
    for (const auto& row : f.Control("ListButtons")->rows)
      out.push_back(row.at(0));
    return out;
  }
  // The picture a button of the open dialog shows.
  static std::string GreenIn(host::HostForm& f, const char* button) {
    Bitmap b = f.PaintControl(button, PaintState{});
    std::string colours;
    for (int y = 0; y < b.height; ++y)
      for (int x = 0; x < b.width; ++x)
        if (GreenOf(b.At(x, y)) > 140 && RedOf(b.At(x, y)) < 80) colours = "green";
    return colours;
  }
  std::string TableValue(int order, const char* field) {
    TRecordTable& t = dc->TblLinks;
    return t.Locate("Ordine", std::to_string(order)) ? t.FieldByName(field).AsString() : "?";
  }
};

TEST_F(ButtonLayoutTest, TheListShowsTheButtonsAndARowShowsItsAppearance) {
  Open([&](host::HostForm& f) {
    EXPECT_EQ(f.Frame().caption, "Layout pulsanti");
    const ControlDesc* list = f.Control("ListButtons");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->columns, (std::vector<ColumnDesc>{{"Testo", 120}, {"Percorso", 360}, {"Tasto rapido", 100}}));
    EXPECT_EQ(Captions(f), (std::vector<std::string>{"Uno", "*Separator*", "Due", "Tre"}));
    EXPECT_TRUE(list->multiSelect);
    EXPECT_TRUE(list->selectedRows.empty());  // nothing chosen at first
    // The editors show a new button's appearance.
    EXPECT_EQ(f.Text("EditS_Width"), "92");
    EXPECT_EQ(f.Control("EditS_Style")->itemIndex, 0);
    EXPECT_TRUE(f.Control("EditB_ShowText")->checked);
    EXPECT_FALSE(f.Control("BtnPreview")->visible);
    EXPECT_TRUE(f.SelectRows("ListButtons", {2}));
    EXPECT_EQ(f.Text("EditS_Caption"), "Due");
    EXPECT_EQ(f.Text("EditS_Width"), "92");
    EXPECT_TRUE(f.Control("BtnPreview")->visible);
    EXPECT_TRUE(f.SelectRows("ListButtons", {1}));  // the separator: no preview
    EXPECT_FALSE(f.Control("BtnPreview")->visible);
    f.Close();
  });
  EXPECT_EQ(hp.Windows().shownForms, std::vector<std::string>{"FormButtonLayout"});
}

TEST_F(ButtonLayoutTest, ThePreviewShowsTheRowsIconAtOnce) {
  const std::string due = std::string(testing::kBarLinks) + "Due.lnk";
  ASSERT_TRUE(Files().WriteFile(due, "link"));
  const Color icon = host::IconColor(hp.Shell().IconIndex(due, kIconSmall));
  Open([&](host::HostForm& f) {
    auto shows = [&](const Bitmap& b) { return std::count(b.pixels.begin(), b.pixels.end(), icon) > 0; };
    EXPECT_TRUE(f.SelectRows("ListButtons", {2}));
    EXPECT_TRUE(shows(f.PaintControl("BtnPreview", PaintState{})));
    EXPECT_TRUE(f.SelectRows("ListButtons", {3}));  // "Tre.lnk" is not there: no icon
    EXPECT_FALSE(shows(f.PaintControl("BtnPreview", PaintState{})));
    f.Close();
  });
}

TEST_F(ButtonLayoutTest, ARowWithAnIconNamesTheFileItIsTakenFrom) {
  const std::string due = std::string(testing::kBarLinks) + "Due.lnk";
  ASSERT_TRUE(Files().WriteFile(due, "link"));
  Open([&](host::HostForm& f) {
    const ControlDesc* list = f.Control("ListButtons");
    ASSERT_TRUE(list);
    // The list takes the icon of that file at its own size; the rows with
    // no icon (a separator, a missing target) name none.
    EXPECT_EQ(list->rowIconPaths, (std::vector<std::string>{"", "", due, ""}));
    EXPECT_GE(list->rowImages.at(2), 0);
    EXPECT_EQ(list->rowImages.at(3), -1);
    f.Close();
  });
}

// The shipped pictures: every button of the dialog shows its own, in its
// three states, and the prompt's buttons their two glyphs.
TEST_F(ButtonLayoutTest, TheButtonsShowTheShippedPictures) {
  for (const char* name : {"BtnConferma", "BtnLente", "BtnSalva", "BtnElimina", "BtnAggiungi", "BtnUp", "BtnDown"}) {
    for (const char* state : {"", "_Over", "_Down"}) {
      const Picture* p = LoadPng(std::string(name) + state);
      ASSERT_TRUE(p) << name << state;
      EXPECT_EQ(p->rgb.width, 16);
      EXPECT_EQ(p->rgb.height, 16);
    }
  }
  for (const char* name : {"BtnConferma", "BtnAnnulla"}) {
    const Picture* p = LoadPicture(name, false);
    ASSERT_TRUE(p) << name;
    EXPECT_EQ(p->rgb.width, 32);  // normal and disabled
  }
  Open([&](host::HostForm& f) {
    EXPECT_EQ(GreenIn(f, "BtnApplica"), "green");  // its check mark
    f.Close();
  });
}

TEST_F(ButtonLayoutTest, UpAndDownMoveTheFirstSelectedRowAndRebuildTheBar) {
  Open([&](host::HostForm& f) {
    EXPECT_TRUE(f.SelectRows("ListButtons", {0}));
    EXPECT_TRUE(f.Click("BtnUp"));  // the first row goes nowhere
    EXPECT_EQ(Captions(f)[0], "Uno");
    EXPECT_TRUE(f.SelectRows("ListButtons", {2, 3}));
    EXPECT_TRUE(f.Click("BtnDown"));
    EXPECT_EQ(Captions(f), (std::vector<std::string>{"Uno", "*Separator*", "Tre", "Due"}));
    EXPECT_EQ(f.Control("ListButtons")->selectedRows, std::vector<int>{3});
    EXPECT_EQ(Hints(), (std::vector<std::string>{"Uno", "Tre", "Due"}));  // rebuilt at once
    EXPECT_TRUE(f.Click("BtnDown"));                                      // the last row stays
    EXPECT_EQ(Captions(f)[3], "Due");
    f.Close();
  });
}

TEST_F(ButtonLayoutTest, UpOnTheFirstAndDownOnTheLastDoNotRebuild) {
  int rebuilds = 0;
  TFormButtonLayout dialog(*dc, program.UserStore(), program.Settings().Lingua, [&] { ++rebuilds; });
  hp.Windows().modalScripts.push_back([&](host::HostForm& f) {
    EXPECT_TRUE(f.SelectRows("ListButtons", {0}));
    EXPECT_TRUE(f.Click("BtnUp"));
    EXPECT_TRUE(f.SelectRows("ListButtons", {3}));
    EXPECT_TRUE(f.Click("BtnDown"));
    EXPECT_EQ(rebuilds, 0);
    EXPECT_TRUE(f.Click("BtnUp"));
    EXPECT_EQ(rebuilds, 1);
    f.Close();
  });
  dialog.ShowModal();
}

TEST_F(ButtonLayoutTest, DeletingAsksThenRemovesTheSelectedRows) {
  const std::string uno = std::string(testing::kBarLinks) + "Uno.lnk";
  ASSERT_TRUE(Files().WriteFile(uno, "link"));
  Open([&](host::HostForm& f) {
    EXPECT_TRUE(f.SelectRows("ListButtons", {0, 2}));
    hp.Dialogs().answers = {IDNO};
    EXPECT_TRUE(f.Click("BtnDelete"));  // no: nothing goes
    EXPECT_EQ(Captions(f).size(), 4u);
    hp.Dialogs().answers = {IDYES, IDYES, IDNO};  // delete, the files too? yes, sure? no
    EXPECT_TRUE(f.Click("BtnDelete"));
    EXPECT_EQ(Captions(f), (std::vector<std::string>{"*Separator*", "Tre"}));
    EXPECT_EQ(f.Control("ListButtons")->selectedRows, std::vector<int>{0});
    EXPECT_EQ(Hints(), std::vector<std::string>{"Tre"});
    EXPECT_TRUE(f.Click("BtnSelezionaTutto"));
    hp.Dialogs().answers = {IDYES, IDNO};
    EXPECT_TRUE(f.Click("BtnDelete"));
    EXPECT_TRUE(Captions(f).empty());
    EXPECT_TRUE(f.Control("ListButtons")->selectedRows.empty());
    f.Close();
  });
  EXPECT_TRUE(Files().FileExists(uno));  // yes, yes, no: the files stay
  ASSERT_EQ(hp.Dialogs().shown.size(), 6u);
  EXPECT_EQ(hp.Dialogs().shown[0].text, "Eliminare l'elemento selezionato?");
  EXPECT_EQ(hp.Dialogs().shown[2].text, "Si desidera eliminare anche i file nella cartella?");
}

TEST_F(ButtonLayoutTest, ASeparatorIsAddedAtTheEndAndSelected) {
  Open([&](host::HostForm& f) {
    hp.Windows().menuChoices = {"Separatore"};
    EXPECT_TRUE(f.Click("BtnAddElement"));
    EXPECT_EQ(Captions(f).back(), "*Separator*");
    EXPECT_EQ(f.Control("ListButtons")->selectedRows, std::vector<int>{4});
    EXPECT_FALSE(f.Control("BtnPreview")->visible);
    EXPECT_EQ(TableValue(4, "Type"), "Panel");
    f.Close();
  });
}

// Selecting rows after the first keeps what the editors hold; the apply
// reaches every selected button, keeps each one's caption and path, skips
// the separator, and leaves the rows selected for the next apply.
TEST_F(ButtonLayoutTest, ApplyingToSeveralRowsKeepsTheirCaptionsAndSkipsSeparators) {
  const std::string unoPath = TableValue(0, "Path"), trePath = TableValue(3, "Path");
  Open([&](host::HostForm& f) {
    EXPECT_TRUE(f.SelectRows("ListButtons", {0}));
    EXPECT_TRUE(f.Type("EditS_Caption", "Ignorato"));
    EXPECT_TRUE(f.Choose("EditS_Style", 2));
    EXPECT_TRUE(f.Type("EditS_Width", "120"));
    EXPECT_TRUE(f.Click("EditB_ShowText"));  // off
    EXPECT_TRUE(f.SelectRows("ListButtons", {0, 1}));
    EXPECT_TRUE(f.SelectRows("ListButtons", {0, 1, 3}));
    EXPECT_EQ(f.Text("EditS_Width"), "120");  // what the user typed
    EXPECT_EQ(f.Control("EditS_Style")->itemIndex, 2);
    EXPECT_TRUE(f.Click("BtnApplica"));
    EXPECT_EQ(Captions(f), (std::vector<std::string>{"Uno", "*Separator*", "Due", "Tre"}));
    EXPECT_EQ(f.Control("ListButtons")->selectedRows, (std::vector<int>{0, 1, 3}));
    // A second apply reaches the same rows.
    EXPECT_TRUE(f.Type("EditS_Width", "130"));
    EXPECT_TRUE(f.Click("BtnApplica"));
    f.Close();
  });
  for (int row : {0, 3}) {
    SCOPED_TRACE(row);
    EXPECT_EQ(TableValue(row, "ButtonStyle"), "2");
    EXPECT_EQ(TableValue(row, "Width"), "130");
    EXPECT_EQ(TableValue(row, "ShowText"), "False");
  }
  EXPECT_EQ(TableValue(0, "Caption"), "Uno");
  EXPECT_EQ(TableValue(3, "Caption"), "Tre");
  EXPECT_EQ(TableValue(0, "Path"), unoPath);
  EXPECT_EQ(TableValue(3, "Path"), trePath);
  EXPECT_EQ(TableValue(2, "ButtonStyle"), "0");  // not selected
  EXPECT_EQ(TableValue(2, "Width"), "92");
  EXPECT_EQ(TableValue(1, "Type"), "Panel");  // the separator as it was
  EXPECT_EQ(TableValue(1, "Caption"), "*Separator*");
}

// Selecting a row before the first one, or another row alone, shows that
// row's appearance.
TEST_F(ButtonLayoutTest, ANewlySelectedFirstRowShowsItsAppearance) {
  Open([&](host::HostForm& f) {
    EXPECT_TRUE(f.SelectRows("ListButtons", {2}));
    EXPECT_TRUE(f.Type("EditS_Width", "120"));
    EXPECT_TRUE(f.SelectRows("ListButtons", {0, 2}));
    EXPECT_EQ(f.Text("EditS_Width"), "92");
    EXPECT_EQ(f.Text("EditS_Caption"), "Uno");
    EXPECT_TRUE(f.Type("EditS_Width", "120"));
    EXPECT_TRUE(f.SelectRows("ListButtons", {3}));
    EXPECT_EQ(f.Text("EditS_Caption"), "Tre");
    EXPECT_EQ(f.Text("EditS_Width"), "92");
    f.Close();
  });
}

// Sizes beyond what the arrows reach come back within it, and the user is
// told; nothing near an int's end reaches the table.
TEST_F(ButtonLayoutTest, TypedSizesAreKeptWithinTheirRange) {
  Open([&](host::HostForm& f) {
    EXPECT_TRUE(f.SelectRows("ListButtons", {0}));
    EXPECT_TRUE(f.Type("EditS_Width", "2147483647"));
    EXPECT_TRUE(f.Type("EditS_Height", "-40"));
    EXPECT_TRUE(f.Click("BtnApplica"));
    EXPECT_EQ(f.Text("EditS_Width"), "999");
    EXPECT_EQ(f.Text("EditS_Height"), "0");
    EXPECT_TRUE(f.Type("EditS_Width", "99999999999999999999"));
    EXPECT_TRUE(f.Click("BtnAnteprima"));
    EXPECT_EQ(f.Text("EditS_Width"), "999");
    EXPECT_EQ(f.Control("BtnPreview")->bounds.Width(), 999);
    f.Close();
  });
  EXPECT_EQ(TableValue(0, "Width"), "999");
  EXPECT_EQ(TableValue(0, "Height"), "0");
  ASSERT_EQ(hp.Dialogs().shown.size(), 3u);
  EXPECT_NE(hp.Dialogs().shown[0].text.find("\"2147483647\""), std::string::npos);
  EXPECT_NE(hp.Dialogs().shown[0].text.find("999"), std::string::npos);
  EXPECT_NE(hp.Dialogs().shown[1].text.find("\"-40\""), std::string::npos);
}

// The drop-down of styles speaks the user's language; the table keeps the
// style's number.
TEST_F(ButtonLayoutTest, StylesAreNamedInTheUsersLanguage) {
  Open([&](host::HostForm& f) {
    EXPECT_EQ(
        f.Control("EditS_Style")->items,
        (std::vector<std::string>{"Standard", "Lucido", "Piatto con i colori scelti", "Lucido con i colori scelti"}));
    EXPECT_TRUE(f.SelectRows("ListButtons", {0}));
    EXPECT_TRUE(f.Choose("EditS_Style", 3));
    EXPECT_TRUE(f.Click("BtnApplica"));
    f.Close();
  });
  EXPECT_EQ(TableValue(0, "ButtonStyle"), "3");
  program.Settings().Lingua = "English";
  Open([&](host::HostForm& f) {
    EXPECT_EQ(
        f.Control("EditS_Style")->items,
        (std::vector<std::string>{"Standard", "Shiny", "Flat in the chosen colours", "Shiny in the chosen colours"}));
    EXPECT_TRUE(f.SelectRows("ListButtons", {0}));
    EXPECT_EQ(f.Control("EditS_Style")->itemIndex, 3);
    f.Close();
  });
}

// The menu of the add button opens under it: its place counts from the
// client area, below the title bar and inside the border.
TEST_F(ButtonLayoutTest, TheAddMenuOpensUnderItsButton) {
  Open([&](host::HostForm& f) {
    hp.Windows().shownMenus.clear();
    EXPECT_TRUE(f.Click("BtnAddElement"));
    ASSERT_EQ(hp.Windows().shownMenus.size(), 1u);
    const Rect frame = f.Frame().bounds, add = f.Control("BtnAddElement")->bounds;
    const int edge = hp.System().GetSystemMetrics(SM_CXFRAME), title = hp.System().GetSystemMetrics(SM_CYCAPTION);
    EXPECT_EQ(hp.Windows().shownMenus[0].at,
              (Point{frame.left + edge + add.left, frame.top + edge + title + add.bottom}));
    f.Close();
  });
}

TEST_F(ButtonLayoutTest, ApplyingToOneRowRenamesItAndRenamingInPlaceRefusesBadNames) {
  ASSERT_TRUE(Files().WriteFile(std::string(testing::kBarLinks) + "Uno.lnk", "link"));
  Open([&](host::HostForm& f) {
    EXPECT_TRUE(f.SelectRows("ListButtons", {0}));
    EXPECT_TRUE(f.Type("EditS_Caption", "Primo"));
    EXPECT_TRUE(f.Click("BtnApplica"));
    EXPECT_EQ(Captions(f)[0], "Primo");
    EXPECT_EQ(Hints()[0], "Primo");
    EXPECT_TRUE(f.DoubleClick("ListButtons"));
    EXPECT_EQ(f.EditingRow("ListButtons"), 0);
    EXPECT_FALSE(f.EditRowCaption("ListButtons", 0, "a/b"));
    EXPECT_EQ(Captions(f)[0], "Primo");
    EXPECT_TRUE(f.EditRowCaption("ListButtons", 0, "Inizio"));
    EXPECT_EQ(Captions(f)[0], "Inizio");
    EXPECT_EQ(f.Text("EditS_Caption"), "Inizio");
    // A row whose file cannot be renamed keeps its caption.
    EXPECT_FALSE(f.EditRowCaption("ListButtons", 2, "Altro"));
    EXPECT_EQ(Captions(f)[2], "Due");
    f.Close();
  });
  EXPECT_EQ(TableValue(0, "Caption"), "Inizio");
  EXPECT_TRUE(Files().FileExists(std::string(testing::kBarLinks) + "Inizio.lnk"));
}

TEST_F(ButtonLayoutTest, CombinationsAreSavedAndRecalled) {
  Open([&](host::HostForm& f) {
    EXPECT_TRUE(f.SelectRows("ListButtons", {0}));
    EXPECT_TRUE(f.Choose("EditS_Style", 3));
    EXPECT_TRUE(f.Type("EditS_Width", "77"));
    hp.Windows().modalScripts.push_back([](host::HostForm& p) {
      EXPECT_EQ(p.Frame().caption, "Digitare il nome del modello");
      EXPECT_TRUE(p.Type("EditCampo", "Mio"));
      EXPECT_TRUE(p.Click("BtnConferma"));
    });
    EXPECT_TRUE(f.Click("BtnSalva"));
    EXPECT_EQ(f.Control("EditS_Combinazione")->items, std::vector<std::string>{"Mio"});
    EXPECT_TRUE(f.SelectRows("ListButtons", {2}));
    EXPECT_EQ(f.Text("EditS_Width"), "92");
    EXPECT_TRUE(f.Choose("EditS_Combinazione", 0));
    EXPECT_EQ(f.Text("EditS_Width"), "77");
    EXPECT_EQ(f.Control("EditS_Style")->itemIndex, 3);
    EXPECT_EQ(f.Text("EditS_Caption"), "Due");  // not in a combination
    f.Close();
  });
  EXPECT_TRUE(Files().FileExists(UserSubDir("Data") + "Themes.DAT"));
  EXPECT_EQ(dc->TblThemes.GetRecordCount(), 1);
}

TEST_F(ButtonLayoutTest, ANameDifferingOnlyInCaseIsASecondCombinationAndTheUserIsTold) {
  Open([&](host::HostForm& f) {
    for (const char* name : {"Blu", "BLU"}) {
      hp.Windows().modalScripts.push_back([name](host::HostForm& p) {
        EXPECT_TRUE(p.Type("EditCampo", name));
        EXPECT_TRUE(p.Click("BtnConferma"));
      });
      EXPECT_TRUE(f.Click("BtnSalva"));  // no row selected: a button's appearance
    }
    EXPECT_EQ(f.Control("EditS_Combinazione")->items, (std::vector<std::string>{"Blu", "BLU"}));
    // Chosen with nothing selected: nothing changes.
    EXPECT_TRUE(f.Type("EditS_Width", "50"));
    EXPECT_TRUE(f.Choose("EditS_Combinazione", 0));
    EXPECT_EQ(f.Text("EditS_Width"), "50");
    f.Close();
  });
  ASSERT_EQ(hp.Dialogs().shown.size(), 1u);
  EXPECT_NE(hp.Dialogs().shown[0].text.find("\"BLU\""), std::string::npos);
  TRecordTable& t = dc->TblThemes;
  ASSERT_TRUE(t.Locate("Theme", "Blu"));
  EXPECT_EQ(t.FieldByName("Type").AsString(), "Button");
}

TEST_F(ButtonLayoutTest, FilesThatCannotBeDeletedAreNamedAndTheirRowsStillGo) {
  const std::string uno = std::string(testing::kBarLinks) + "Uno.lnk",
                    due = std::string(testing::kBarLinks) + "Due.lnk";
  ASSERT_TRUE(Files().WriteFile(uno, "link"));
  ASSERT_TRUE(Files().WriteFile(due, "link"));
  hp.Files().LockFile(due);
  Open([&](host::HostForm& f) {
    EXPECT_TRUE(f.SelectRows("ListButtons", {0, 2}));
    hp.Dialogs().answers = {IDYES, IDYES, IDYES};
    EXPECT_TRUE(f.Click("BtnDelete"));
    EXPECT_EQ(Captions(f), (std::vector<std::string>{"*Separator*", "Tre"}));
    f.Close();
  });
  EXPECT_FALSE(Files().FileExists(uno));
  ASSERT_EQ(hp.Dialogs().shown.size(), 4u);
  EXPECT_NE(hp.Dialogs().shown[3].text.find(due), std::string::npos);
  EXPECT_EQ(hp.Dialogs().shown[3].text.find(uno), std::string::npos);
}

TEST_F(ButtonLayoutTest, TheAutoSizedPreviewWithoutTextIsTheIconAndEightPixels) {
  Open([&](host::HostForm& f) {
    EXPECT_TRUE(f.SelectRows("ListButtons", {0}));
    ASSERT_TRUE(f.Control("EditB_ShowText")->checked);  // as the row has it
    ASSERT_FALSE(f.Control("EditB_AutoSize")->checked);
    EXPECT_TRUE(f.Click("EditB_ShowText"));
    EXPECT_TRUE(f.Click("EditB_AutoSize"));
    EXPECT_TRUE(f.Click("BtnAnteprima"));
    const Rect r = f.Control("BtnPreview")->bounds;
    EXPECT_EQ(r.Width(), 16 + 8);
    EXPECT_EQ(r.Height(), 16 + 8);
    // Nothing was written.
    EXPECT_EQ(TableValue(0, "ShowText"), "True");
    f.Close();
  });
}

TEST_F(ButtonLayoutTest, SelectAllAndInvert) {
  Open([&](host::HostForm& f) {
    EXPECT_TRUE(f.SelectRows("ListButtons", {1}));
    EXPECT_TRUE(f.Click("BtnInverti"));
    EXPECT_EQ(f.Control("ListButtons")->selectedRows, (std::vector<int>{0, 2, 3}));
    EXPECT_TRUE(f.Click("BtnSelezionaTutto"));
    EXPECT_EQ(f.Control("ListButtons")->selectedRows, (std::vector<int>{0, 1, 2, 3}));
    f.Close();
  });
}

}  // namespace
}  // namespace tov

namespace tov {
namespace {

// On a dialog shown at 150 % the preview is the button as the bar draws it
// at that scale: its pixels 1.5 times its units, its icon fetched at the
// size that scale draws (24 pixels for a small one), not 16 stretched.
TEST_F(ButtonLayoutTest, ThePreviewAtAScaleIsLaidOutForItsPixels) {
  const std::string due = std::string(testing::kBarLinks) + "Due.lnk";
  ASSERT_TRUE(Files().WriteFile(due, "link"));
  const Color icon = host::IconColor(hp.Shell().IconIndex(due, kIconSmall));
  // The side of the box the icon's colour fills.
  auto iconSide = [&](const Bitmap& b) {
    int left = b.width, right = -1;
    for (int y = 0; y < b.height; ++y)
      for (int x = 0; x < b.width; ++x)
        if (b.At(x, y) == icon) left = std::min(left, x), right = std::max(right, x);
    return right - left + 1;
  };
  Open([&](host::HostForm& f) {
    EXPECT_TRUE(f.SelectRows("ListButtons", {2}));
    const Rect units = f.Control("BtnPreview")->bounds;
    const Bitmap at100 = f.PaintControlAt("BtnPreview", PaintState{}, 96);
    EXPECT_EQ(at100, f.PaintControl("BtnPreview", PaintState{}));
    hp.Shell().iconPictures.clear();
    const Bitmap at150 = f.PaintControlAt("BtnPreview", PaintState{}, 144);
    EXPECT_EQ(at150.width, Dpi(144).Scale(units.Width()));
    EXPECT_EQ(at150.height, Dpi(144).Scale(units.Height()));
    EXPECT_EQ(hp.Shell().iconPictures, std::vector<std::string>{due + "@24"});
    EXPECT_EQ(iconSide(at100), 14);
    EXPECT_EQ(iconSide(at150), 22);
    // Painted again at that scale, it is not laid out or fetched again.
    EXPECT_EQ(f.PaintControlAt("BtnPreview", PaintState{}, 144), at150);
    EXPECT_EQ(hp.Shell().iconPictures.size(), 1u);
    f.Close();
  });
}

}  // namespace
}  // namespace tov
