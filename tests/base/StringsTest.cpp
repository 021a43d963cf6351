#include <gtest/gtest.h>

#include "base/Strings.h"
#include "platform/host/HostPlatform.h"
#include "text/LocaleDate.h"

namespace tov {
namespace {

using V = std::vector<std::string>;

TEST(Strings, SplitTextKeepsInnerEmptyPiecesAndTrimsOnlyTheLast) {
  EXPECT_EQ(SplitText("a||b", "|", false), (V{"a", "", "b"}));
  EXPECT_EQ(SplitText("a|b|", "|", false), (V{"a", "b"}));
  EXPECT_EQ(SplitText("", "|", false), V{});
  EXPECT_EQ(SplitText("|", "|", false), V{""});
  EXPECT_EQ(SplitText(" a |  b  ", "|", true), (V{" a ", "b"}));
  EXPECT_EQ(SplitText("x\u00A7y  \t", "\u00A7", true), (V{"x", "y"}));
  EXPECT_EQ(JoinLinesAt("uno\u00A7due\u00A7", "\u00A7"), "uno\r\ndue");
  EXPECT_EQ(JoinLinesAt("a\u00A7\u00A7b", "\u00A7"), "a\r\n\r\nb");
  EXPECT_EQ(JoinLinesAt("\u00C2\u00A7", "\u00A7"), "\u00C2");  // the mark's bytes as a whole
}

TEST(Strings, TextBeforeFirstCharPosAndBackslash) {
  EXPECT_EQ(TextBefore("FormImpostazioni_2_x", "_", true), "FormImpostazioni");
  EXPECT_EQ(TextBefore("FormAbout", "_", true), "FormAbout");
  EXPECT_EQ(TextBefore("FormAbout", "_", false), "");
  // Set order decides, not position in the text.
  EXPECT_EQ(FirstCharPos("a:b\\c", "\\/:"), 4u);
  EXPECT_EQ(FirstCharPos("abc", "\\/:"), 0u);
  EXPECT_EQ(WithTrailingBackslash("  C:\\Dati  "), "C:\\Dati\\");
  EXPECT_EQ(WithTrailingBackslash(" C:\\Dati\\ "), "C:\\Dati\\");
}

TEST(Strings, TextToFloatUsesTheLocaleSeparatorOnly) {
  double v = 0;
  EXPECT_TRUE(ParseFloat(" -1,5 ", ',', &v));
  EXPECT_DOUBLE_EQ(v, -1.5);
  EXPECT_FALSE(ParseFloat("1.5", ',', &v));
  EXPECT_TRUE(ParseFloat("2,5E2", ',', &v));
  EXPECT_DOUBLE_EQ(v, 250);
  EXPECT_TRUE(ParseFloat(",5", ',', &v));
  EXPECT_FALSE(ParseFloat("", ',', &v));
  EXPECT_FALSE(ParseFloat("1e", '.', &v));
  EXPECT_FALSE(ParseFloat("1e999", '.', &v));
  EXPECT_FALSE(ParseFloat("nan", '.', &v));
  host::HostPlatform hp;
  char sep = System().DecimalSeparator();
  EXPECT_DOUBLE_EQ(TextToFloat(std::string("3") + sep + "25", 0), 3.25);
  EXPECT_DOUBLE_EQ(TextToFloat("tre", 7), 7);
}

TEST(Strings, LinesEndWithAnyBreak) {
  EXPECT_EQ(TextLines("a\r\nb\rc\n\nd"), (V{"a", "b", "c", "", "d"}));
  EXPECT_EQ(TextLines("a\r\n"), V{"a"});
}

}  // namespace
}  // namespace tov
