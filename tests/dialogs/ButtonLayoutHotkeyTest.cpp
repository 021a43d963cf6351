// The hotkey of a button in the layout dialog: shown in the list and in its
// editor, stored in the one stored form when one row is applied, refused
// with the reason when it does not parse or another button has it; the bar
// registers it at once.
#include <gtest/gtest.h>

#include "dialogs/ButtonLayout.h"
#include "platform/host/HostDialogs.h"
#include "settings/Settings.h"
#include "tables/DataModule.h"
#include "tests/dialogs/ButtonLayoutFixture.h"
#include "text/Texts.h"

namespace tov {
namespace {

struct ButtonLayoutHotkeyTest : testing::ButtonLayoutFixture {
  ButtonLayoutHotkeyTest() : ButtonLayoutFixture({{"Uno", "Button"}, {"Sep", "Separator"}, {"Due", "Button"}}) {}
  std::string Stored(int order) {
    TRecordTable& t = dc->TblLinks;
    return t.Locate("Ordine", std::to_string(order)) ? t.FieldByName("Hotkey").AsString() : "?";
  }
};

TEST_F(ButtonLayoutHotkeyTest, AHotkeyIsEditedShownAndRegistered) {
  bool ran = false;
  Open([&](host::HostForm& f) {
    ran = true;
    const ControlDesc* list = f.Control("ListButtons");
    ASSERT_TRUE(list);
    ASSERT_EQ(list->columns.size(), 3u);
    EXPECT_EQ(list->columns[2].caption, "Tasto rapido");
    EXPECT_TRUE(f.SelectRows("ListButtons", {0}));
    EXPECT_EQ(f.Text("EditS_Hotkey"), "");
    EXPECT_TRUE(f.Type("EditS_Hotkey", " WC+f5"));
    EXPECT_TRUE(f.Click("BtnApplica"));
    EXPECT_EQ(f.Text("EditS_Hotkey"), "CW+F5");  // the stored form
    EXPECT_EQ(f.Control("ListButtons")->rows.at(0).at(2), "CW+F5");
    // Another button cannot take it, and text naming no key is refused.
    EXPECT_TRUE(f.SelectRows("ListButtons", {2}));
    EXPECT_TRUE(f.Type("EditS_Hotkey", "WC+F5"));
    EXPECT_TRUE(f.Click("BtnApplica"));
    EXPECT_TRUE(f.Type("EditS_Hotkey", "Q+Z"));
    EXPECT_TRUE(f.Click("BtnApplica"));
    EXPECT_EQ(f.Control("ListButtons")->rows.at(2).at(2), "");
    // Emptied: none.
    EXPECT_TRUE(f.SelectRows("ListButtons", {0}));
    f.Close();
  });
  ASSERT_TRUE(ran);
  EXPECT_EQ(Stored(0), "CW+F5");
  EXPECT_EQ(Stored(2), "");
  EXPECT_TRUE(hp.Windows().hotkeys.count({kModControl | kModWin, 0x74}));
  ASSERT_EQ(hp.Dialogs().shown.size(), 2u);
  EXPECT_NE(hp.Dialogs().shown[0].text.find("Ctrl+Win+F5"), std::string::npos);
  EXPECT_NE(hp.Dialogs().shown[0].text.find("\"Uno\""), std::string::npos);
  EXPECT_NE(hp.Dialogs().shown[1].text.find("\"Q+Z\""), std::string::npos);

  Open([&](host::HostForm& f) {
    EXPECT_TRUE(f.SelectRows("ListButtons", {0}));
    EXPECT_EQ(f.Text("EditS_Hotkey"), "CW+F5");
    EXPECT_TRUE(f.Type("EditS_Hotkey", ""));
    EXPECT_TRUE(f.Click("BtnApplica"));
    f.Close();
  });
  EXPECT_TRUE(dc->TblLinks.Locate("Ordine", "0") && dc->TblLinks.FieldByName("Hotkey").IsNull());
  EXPECT_TRUE(hp.Windows().hotkeys.empty());
}

}  // namespace
}  // namespace tov
