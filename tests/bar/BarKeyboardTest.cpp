// The bar with the keyboard focus: moving over the buttons on a horizontal
// and a vertical bar, skipping what cannot take the focus, launching, the
// menu keys, Esc, and letters typed to jump to a caption; then the same
// keys on the headless bar, with the focus mark and the focus events.
#include <gtest/gtest.h>

#include "bar/BarKeyboard.h"
#include "base/TypeAhead.h"
#include "base/Utf8Text.h"
#include "platform/host/HostShell.h"
#include "tests/BarFixture.h"

namespace tov {
namespace {

std::vector<KeyTarget> Targets() {
  // A separator and a disabled button between the others.
  return {{"Posta", true}, {"", false}, {"Paint", true}, {"Nascosto", false}, {"Blocco note", true}, {"Pagine", true}};
}

TEST(BarKeyboard, ArrowsMoveOverFocusableButtonsWrappingOnEitherKindOfBar) {
  for (bool vertical : {false, true}) {
    TBarKeyboard k;
    k.SetTargets(Targets(), vertical);
    EXPECT_EQ(k.Key(vertical ? kVkDown : kVkRight, false), BarKeyAction::None);  // no focus yet
    k.Enter();
    EXPECT_EQ(k.Focus(), 0);
    const uint32_t next = vertical ? kVkDown : kVkRight, prev = vertical ? kVkUp : kVkLeft;
    EXPECT_EQ(k.Key(next, false), BarKeyAction::Moved);
    EXPECT_EQ(k.Focus(), 2);  // the separator skipped
    k.Key(next, false);
    EXPECT_EQ(k.Focus(), 4);  // the disabled button skipped
    k.Key(next, false);
    k.Key(next, false);
    EXPECT_EQ(k.Focus(), 0);  // wrapped
    k.Key(prev, false);
    EXPECT_EQ(k.Focus(), 5);
    k.Key(kVkHome, false);
    EXPECT_EQ(k.Focus(), 0);
    k.Key(kVkEnd, false);
    EXPECT_EQ(k.Focus(), 5);
  }
}

TEST(BarKeyboard, EnterSpaceMenuKeysAndEscape) {
  TBarKeyboard k;
  k.SetTargets(Targets(), false);
  k.Enter();
  EXPECT_EQ(k.Key(kVkReturn, false), BarKeyAction::Launch);
  EXPECT_EQ(k.Key(kVkSpace, false), BarKeyAction::Launch);
  EXPECT_EQ(k.Key(kVkApps, false), BarKeyAction::Menu);
  EXPECT_EQ(k.Key(kVkF10, true), BarKeyAction::Menu);
  EXPECT_EQ(k.Key(kVkF10, false), BarKeyAction::None);  // F10 alone is the system's
  EXPECT_EQ(k.Key(kVkEscape, false), BarKeyAction::Leave);
  EXPECT_FALSE(k.Active());
  EXPECT_EQ(k.Focus(), -1);
  EXPECT_EQ(k.Key(kVkReturn, false), BarKeyAction::None);
  // A bar without a button to focus launches nothing.
  TBarKeyboard empty;
  empty.SetTargets({{"", false}}, false);
  empty.Enter();
  EXPECT_EQ(empty.Focus(), -1);
  EXPECT_EQ(empty.Key(kVkRight, false), BarKeyAction::None);
  EXPECT_EQ(empty.Key(kVkReturn, false), BarKeyAction::None);
}

TEST(BarKeyboard, TypedLettersJumpToTheNextCaptionWithThatPrefix) {
  TBarKeyboard k;
  k.SetTargets(Targets(), false);
  k.Enter();  // on "Posta"
  uint32_t t = 5000;
  EXPECT_EQ(k.Char("p", t), BarKeyAction::Moved);
  EXPECT_EQ(k.Focus(), 2);  // the next "P...": "Paint"
  EXPECT_EQ(k.Char("a", t += 100), BarKeyAction::None);
  EXPECT_EQ(k.Focus(), 2);  // "Pa": "Paint" itself still
  // The whole prefix counts: "Pag" leaves "Paint" for "Pagine".
  EXPECT_EQ(k.Char("g", t += 100), BarKeyAction::Moved);
  EXPECT_EQ(k.Focus(), 5);
  // After a pause a new search starts after the focus, wrapping to the start.
  k.Char("p", t += 2000);
  EXPECT_EQ(k.Focus(), 0);
  // One letter again steps on through the captions with it.
  k.Char("p", t += 100);
  EXPECT_EQ(k.Focus(), 2);
  k.Char("p", t += 100);
  EXPECT_EQ(k.Focus(), 5);
  // A space inside a caption sought belongs to it; case does not matter.
  k.Char("B", t += 2000);
  k.Char("l", t += 100);
  k.Char("o", t += 100);
  k.Char("c", t += 100);
  k.Char("c", t += 100);
  k.Char("o", t += 100);
  EXPECT_EQ(k.Key(kVkSpace, false), BarKeyAction::None);
  k.Char(" ", t += 100);
  k.Char("N", t += 100);
  EXPECT_EQ(k.Focus(), 4);
  // Nothing matching: the focus stays; disabled buttons are never found.
  EXPECT_EQ(k.Char("x", t += 2000), BarKeyAction::None);
  EXPECT_EQ(k.Char("n", t += 2000), BarKeyAction::None);
  EXPECT_EQ(k.Focus(), 4);
}

TEST(BarKeyboard, FindByPrefixWrapsAndIgnoresCase) {
  const std::vector<std::string> c = {"\u00C8lite", "alfa", "Beta", "ALFABETO"};
  EXPECT_EQ(FindByPrefix(c, "alf", 0), 1);
  EXPECT_EQ(FindByPrefix(c, "ALF", 2), 3);
  EXPECT_EQ(FindByPrefix(c, "alfab", 0), 3);
  EXPECT_EQ(FindByPrefix(c, "b", 3), 2);  // wrapped
  EXPECT_EQ(FindByPrefix(c, "\u00E8l", 1), 0);
  EXPECT_EQ(FindByPrefix(c, "gamma", 0), -1);
  EXPECT_EQ(FindByPrefix(c, "", 0), -1);
  EXPECT_EQ(FindByPrefix({}, "a", 0), -1);
}

struct BarKeysTest : testing::BarFixture {
  BarKeysTest() {
    PrepareButtons({{"Posta", "Button"}, {"", "Separator"}, {"Paint", "Button"}, {"Pagine", "Button"}});
    Start();
  }
  void Key(uint32_t vk) { Win().Send(WM_KEYDOWN, vk, 0); }
  // As the system hands typed characters to the bar's Unicode window: one
  // message per UTF-16 unit.
  void Type(const std::string& s) {
    for (char16_t unit : Utf8ToUtf16(s))
      Win().Send(WM_CHAR, unit, 0);
  }
};

TEST_F(BarKeysTest, TheBarHotkeyGivesTheFocusArrowsMoveItAndEnterLaunches) {
  hp.Windows().otherWindows = {{0x777, "C:\\Windows\\notepad.exe", "", false}};
  hp.Windows().foreground = 0x777;
  bar->TakeKeyboardFocus();
  ASSERT_TRUE(bar->Keyboard().Active());
  EXPECT_EQ(bar->Keyboard().Focus(), 0);
  Key(kVkRight);
  EXPECT_EQ(bar->Keyboard().Focus(), 1);  // the second button (the separator is not one)
  EXPECT_EQ(Win().focusEvents, (std::vector<int>{1, 2}));
  EXPECT_EQ(bar->FocusedChild(), 2);
  hp.Shell().opened.clear();
  Key(kVkReturn);
  ASSERT_EQ(hp.Shell().opened.size(), 1u);
  EXPECT_NE(hp.Shell().opened[0].find("Paint.lnk"), std::string::npos);
  // Typing jumps; Esc gives the focus back to the window that had it.
  Type("pag");
  EXPECT_EQ(bar->Keyboard().Focus(), 2);
  ASSERT_TRUE(bar->Keyboard().Active());
  Key(kVkEscape);
  EXPECT_FALSE(bar->Keyboard().Active());
  EXPECT_EQ(hp.Windows().broughtForward, (std::vector<WindowId>{0x777}));
}

struct BarKeysInScriptsTest : testing::BarFixture {
  BarKeysInScriptsTest() {
    PrepareButtons({{"Posta", "Button"},
                    {"\u65E5\u672C\u8A9E\u30E1\u30E2", "Button"},
                    {"\U0001F3B5 Musica", "Button"},
                    {"\U0001F3B5\U0001F3B6 Dischi", "Button"}});
    Start();
    bar->TakeKeyboardFocus();
  }
  void Unit(char16_t unit) { Win().Send(WM_CHAR, unit, 0); }
  void Type(const std::string& s) {
    for (char16_t unit : Utf8ToUtf16(s))
      Unit(unit);
  }
};

TEST_F(BarKeysInScriptsTest, CharactersOfThreeAndFourBytesFindTheirButtons) {
  Type("\u65E5\u672C");  // Japanese: three bytes each in UTF-8
  EXPECT_EQ(bar->Keyboard().Focus(), 1);
  Win().Send(WM_KEYDOWN, kVkHome, 0);
  Type("\U0001F3B5");  // an emoji: a surrogate pair, four bytes in UTF-8
  EXPECT_EQ(bar->Keyboard().Focus(), 2);
  Type("\U0001F3B6");  // the next character of the second emoji caption
  EXPECT_EQ(bar->Keyboard().Focus(), 3);
}

TEST_F(BarKeysInScriptsTest, HalvesOfAPairAloneTypeNothing) {
  // A low half with no high one before it, a high half followed by no low
  // one: neither is a character, and the character after them still counts.
  Unit(0xDF35);
  EXPECT_EQ(bar->Keyboard().Focus(), 0);
  Unit(0xD83C);
  Type("\u65E5");
  EXPECT_EQ(bar->Keyboard().Focus(), 1);
  Win().Send(WM_KEYDOWN, kVkHome, 0);
  Unit(0xD83C);
  Unit(0xD83C);  // a second high half replaces the first
  Unit(0xDFB5);
  EXPECT_EQ(bar->Keyboard().Focus(), 2);
}

TEST_F(BarKeysTest, TheFocusMarkIsPaintedOnTheFocusedButtonOnly) {
  auto paint = [&] {
    auto canvas = Canvases().CreateBitmapCanvas(bar->ClientSize().cx, bar->ClientSize().cy);
    bar->Paint(*canvas);
    return canvas->ToBitmap();
  };
  const Bitmap before = paint();
  bar->TakeKeyboardFocus();
  Key(kVkRight);
  const Bitmap after = paint();
  ASSERT_EQ(before.pixels.size(), after.pixels.size());
  const Rect focused = bar->Button(1).BoundsRect();
  int changedInside = 0, changedOutside = 0;
  for (int y = 0; y < before.height; ++y)
    for (int x = 0; x < before.width; ++x) {
      const size_t i = size_t(y) * size_t(before.width) + size_t(x);
      if (before.pixels[i] == after.pixels[i]) continue;
      (focused.Contains(Point{x, y}) ? changedInside : changedOutside)++;
    }
  EXPECT_GT(changedInside, 0);
  EXPECT_EQ(changedOutside, 0);
}

}  // namespace
}  // namespace tov
