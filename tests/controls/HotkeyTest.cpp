// Key combinations as the button table keeps them: read in any order and
// case, written back in the one stored form, and text that names no
// combination refused with a reason.
#include <gtest/gtest.h>

#include "controls/Hotkey.h"

namespace tov {
namespace {

TEST(Hotkey, StoredFormsRoundTrip) {
  struct Case {
    const char* text;
    uint32_t modifiers, key;
  } cases[] = {
      {"CA+N", kModControl | kModAlt, 'N'},
      {"CSAW+F12", kModControl | kModShift | kModAlt | kModWin, 0x7B},
      {"W+1", kModWin, '1'},
      {"C+F24", kModControl, 0x87},
      {"+F1", 0, 0x70},
      {"S+PageUp", kModShift, 0x21},
      {"A+NumPad5", kModAlt, 0x65},
      {"CS+Space", kModControl | kModShift, 0x20},
      {"C+Plus", kModControl, 0xBB},
  };
  for (const Case& c : cases) {
    Hotkey hk;
    std::string why;
    ASSERT_TRUE(ParseHotkey(c.text, &hk, &why)) << c.text << ": " << why;
    EXPECT_EQ(hk.modifiers, c.modifiers) << c.text;
    EXPECT_EQ(hk.key, c.key) << c.text;
    EXPECT_EQ(FormatHotkey(hk), c.text);
  }
  Hotkey none;
  EXPECT_TRUE(ParseHotkey("", &none));
  EXPECT_TRUE(none.Empty());
  EXPECT_EQ(FormatHotkey(none), "");
}

TEST(Hotkey, ModifiersInAnyOrderAndKeyNamesInAnyCaseGiveTheStoredForm) {
  Hotkey hk;
  ASSERT_TRUE(ParseHotkey("WAC+pageup", &hk));
  EXPECT_EQ(FormatHotkey(hk), "CAW+PageUp");
  ASSERT_TRUE(ParseHotkey("S+n", &hk));
  EXPECT_EQ(FormatHotkey(hk), "S+N");
  ASSERT_TRUE(ParseHotkey("C+f5", &hk));
  EXPECT_EQ(FormatHotkey(hk), "C+F5");
}

TEST(Hotkey, TextNamingNoCombinationIsRefusedWithAReason) {
  const char* bad[] = {"N",     "CX+N", "CC+N", "C+",     "C+F0", "C+F25", "C+F05",
                       "C+Foo", "+N",   "+1",   "+Space", "C+NN", "c+N",   "C+\xD0\x94"};
  for (const char* text : bad) {
    Hotkey hk{kModAlt, 'Q'};
    std::string why;
    EXPECT_FALSE(ParseHotkey(text, &hk, &why)) << text;
    EXPECT_TRUE(hk.Empty()) << text;
    EXPECT_FALSE(why.empty()) << text;
  }
}

TEST(Hotkey, BlanksAndShortNamesAreReadAndTheUserSeesTheLongForm) {
  Hotkey hk;
  ASSERT_TRUE(ParseHotkey("  CA+Esc ", &hk));
  EXPECT_EQ(FormatHotkey(hk), "CA+Escape");
  EXPECT_EQ(HotkeyDisplayText(hk), "Ctrl+Alt+Escape");
  ASSERT_TRUE(ParseHotkey("S+PgDn", &hk));
  EXPECT_EQ(FormatHotkey(hk), "S+PageDown");
  ASSERT_TRUE(ParseHotkey("CSAW+Apps", &hk));
  EXPECT_EQ(HotkeyDisplayText(hk), "Ctrl+Shift+Alt+Win+Apps");
  EXPECT_EQ(FormatHotkey(hk), "CSAW+Apps");
  ASSERT_TRUE(ParseHotkey("   ", &hk));
  EXPECT_TRUE(hk.Empty());
  EXPECT_EQ(HotkeyDisplayText(hk), "");
  // Every stored form fits the column's 16 characters.
  EXPECT_LE(FormatHotkey(Hotkey{kModControl | kModShift | kModAlt | kModWin, 0x2C}).size(), 16u);
}

}  // namespace
}  // namespace tov
