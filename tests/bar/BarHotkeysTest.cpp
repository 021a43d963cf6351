// The bar's global hotkeys on the headless platform: each button's
// combination registered, pressing it clicks the button, a combination held
// elsewhere or a value that does not parse told once naming the button while
// the others still work; and what the bar tells assistive technology.
#include <gtest/gtest.h>

#include "platform/host/HostDialogs.h"
#include "platform/host/HostShell.h"
#include "settings/Settings.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

struct BarHotkeysTest : testing::BarFixture {
  // Buttons with their hotkeys as stored (nullptr: the column left null).
  void Prepare(const std::vector<std::pair<std::string, const char*>>& rows) {
    {
      TDataModule scratch;
      int i = 0;
      for (const auto& [caption, hotkey] : rows) {
        AddButtonRow(scratch.TblLinks, i++, caption, "C:\\Programmi\\" + caption + ".exe");
        if (!hotkey) continue;
        scratch.TblLinks.Edit();
        scratch.TblLinks.FieldByName("Hotkey").SetAsString(hotkey);
        scratch.TblLinks.Post();
      }
      SaveButtonList(scratch.TblLinks, testing::kBarLinks, scratch.SaveFormat);
    }
    Start();
  }
  // The boxes about hotkeys (not the first start's greeting).
  std::vector<std::string> Boxes() {
    std::vector<std::string> out;
    for (const host::ShownBox& b : hp.Dialogs().shown)
      if (b.text.find("combinazione") != std::string::npos) out.push_back(b.text);
    return out;
  }
};

TEST_F(BarHotkeysTest, EachButtonsHotkeyIsRegisteredAndPressingItClicksTheButton) {
  Prepare({{"Posta", "CA+P"}, {"Nulla", nullptr}, {"Editor", " W+1 "}, {"Vuoto", ""}});
  auto& hotkeys = hp.Windows().hotkeys;
  ASSERT_EQ(hotkeys.size(), 2u);
  EXPECT_TRUE(hotkeys.count({kModControl | kModAlt, 'P'}));
  EXPECT_TRUE(hotkeys.count({kModWin, '1'}));
  EXPECT_TRUE(Boxes().empty()) << ::testing::PrintToString(Boxes());
  ASSERT_TRUE(hp.Windows().PressHotkey(kModWin, '1'));
  EXPECT_EQ(hp.Shell().opened, (std::vector<std::string>{"C:\\Programmi\\Editor.exe"}));
  // Laid out again: the same hotkeys, not registered twice; gone with the bar.
  bar->RebuildBar();
  EXPECT_EQ(hotkeys.size(), 2u);
  Stop();
  EXPECT_TRUE(hotkeys.empty());
}

TEST_F(BarHotkeysTest, ATakenOrUnreadableCombinationIsToldOnceNamingTheButtonAndTheOthersWork) {
  hp.Windows().takenHotkeys.insert({kModControl | kModAlt, 'T'});
  Prepare({{"Terminale", "CA+T"}, {"Posta", "CA+P"}, {"Rotto", "CQ+P"}});
  hp.Windows().Pump();
  const std::vector<std::string> boxes = Boxes();
  ASSERT_EQ(boxes.size(), 1u) << ::testing::PrintToString(boxes);  // one message for both problems
  EXPECT_NE(boxes[0].find("Ctrl+Alt+T"), std::string::npos);
  EXPECT_NE(boxes[0].find("\"Terminale\""), std::string::npos);
  EXPECT_NE(boxes[0].find("\"CQ+P\""), std::string::npos);
  EXPECT_NE(boxes[0].find("\"Rotto\""), std::string::npos);
  EXPECT_TRUE(hp.Windows().hotkeys.count({kModControl | kModAlt, 'P'}));
  // Laid out again: tried again, not told again.
  const int attempts = hp.Windows().hotkeyAttempts;
  bar->RebuildBar();
  hp.Windows().Pump();
  EXPECT_GT(hp.Windows().hotkeyAttempts, attempts);
  EXPECT_EQ(Boxes().size(), 1u);
  EXPECT_TRUE(hp.Windows().PressHotkey(kModControl | kModAlt, 'P'));
  EXPECT_EQ(hp.Shell().opened, (std::vector<std::string>{"C:\\Programmi\\Posta.exe"}));
}

TEST_F(BarHotkeysTest, TheBarsOwnHotkeyGivesItTheKeyboardFocus) {
  Prepare({{"Posta", nullptr}, {"Editor", nullptr}});
  program.Settings().BarHotkey = "CA+B";
  bar->RebuildBar();
  ASSERT_TRUE(hp.Windows().PressHotkey(kModControl | kModAlt, 'B'));
  EXPECT_TRUE(bar->Keyboard().Active());
  Win().Send(WM_KEYDOWN, kVkRight, 0);
  Win().Send(WM_KEYDOWN, kVkReturn, 0);
  EXPECT_EQ(hp.Shell().opened, (std::vector<std::string>{"C:\\Programmi\\Editor.exe"}));
}

TEST_F(BarHotkeysTest, TheAccessibleTreeIsAToolbarWithAChildPerButton) {
  Prepare({{"Posta", "CA+P"}, {"Editor", nullptr}});
  IAccessibleSource* source = Win().accessible;
  ASSERT_EQ(source, static_cast<IAccessibleSource*>(bar.get()));
  const AccessibleItem root = source->Root();
  EXPECT_EQ(root.role, kRoleToolbar);
  EXPECT_EQ(root.name, bar->Caption());
  const std::vector<AccessibleItem> kids = source->Children();
  ASSERT_EQ(kids.size(), 2u);
  EXPECT_EQ(kids[0].role, kRolePushButton);
  EXPECT_EQ(kids[0].name, "Posta");
  EXPECT_EQ(kids[0].description, "C:\\Programmi\\Posta.exe");
  EXPECT_EQ(kids[0].shortcut, "Ctrl+Alt+P");
  EXPECT_EQ(kids[1].shortcut, "");
  // Rectangles on screen: the button's, moved by the client area's place.
  const Rect client = Win().ClientRectOnScreen();
  const Rect b = bar->Button(1).BoundsRect();
  EXPECT_EQ(kids[1].screen,
            (Rect{client.left + b.left, client.top + b.top, client.left + b.right, client.top + b.bottom}));
  EXPECT_EQ(source->FocusedChild(), 0);
  bar->TakeKeyboardFocus();
  EXPECT_EQ(source->FocusedChild(), 1);
  source->DoDefaultAction(2);
  EXPECT_EQ(hp.Shell().opened, (std::vector<std::string>{"C:\\Programmi\\Editor.exe"}));
  Stop();
}

}  // namespace
}  // namespace tov
