// The code page's conversions and its two letter-case rules, and the names
// the headless platform matches by them.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/AnsiText.h"
#include "base/Casefold.h"
#include "base/Utf8Text.h"
#include "platform/Platform.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostRegistry.h"
#include "settings/IniFile.h"
#include "tests/NameCases.h"

namespace tov {
namespace {

std::string AllBytes() {
  std::string s;
  for (int c = 0; c < 256; ++c)
    s.push_back(char(c));
  return s;
}

TEST(AnsiText, EveryByteSurvivesUtf16AndUtf8) {
  const std::string all = AllBytes();
  EXPECT_EQ(Utf16ToAnsi(AnsiToUtf16(all)), all);
  std::string back;
  ASSERT_TRUE(Utf8ToAnsi(AnsiToUtf8(all), &back));
  EXPECT_EQ(back, all);
  // The euro sign, the five undefined bytes as controls, Y diaeresis, e acute.
  EXPECT_EQ(AnsiToUtf16("\x80\x81\x8D\x8F\x90\x9D\x9F\xE9"), u"\u20AC\u0081\u008D\u008F\u0090\u009D\u0178\u00E9");
  EXPECT_EQ(AnsiToUtf8("\x80\xE8"), "\xE2\x82\xAC\xC3\xA8");
  EXPECT_EQ(UnicodeToAnsiByte(0x2122), 0x99);
  EXPECT_EQ(UnicodeToAnsiByte(0x0100), -1);
}

TEST(AnsiText, CharactersOutsideTheCodePage) {
  // One "?" per UTF-16 unit the code page lacks, a surrogate pair giving two,
  // as the system's conversion answers under Wine.
  EXPECT_EQ(Utf16ToAnsi(u"a\u4E2D\U0001F600b\u0416"), "a???b?");
  EXPECT_EQ(Utf16ToAnsi(std::u16string(1, char16_t(0xD800)) + u"x"), "?x");
  // Where the system writes a similar character, so do we; strict UTF-8
  // reading does not.
  EXPECT_EQ(Utf16ToAnsi(u"\u0100\u0110\uFF21\u2264\u0131"),
            "A\xD0"
            "A=i");
  std::string out;
  EXPECT_FALSE(Utf8ToAnsi("\xC4\x80", &out));          // U+0100, no best fit here
  EXPECT_FALSE(Utf8ToAnsi("\xE2\x82\xAD", &out));      // U+20AD
  EXPECT_FALSE(Utf8ToAnsi("\xF0\x9F\x98\x80", &out));  // beyond U+FFFF
  EXPECT_FALSE(Utf8ToAnsi("\xED\xA0\x80", &out));      // a surrogate spelt in UTF-8
  // Bytes that are not UTF-8 are refused, not guessed at.
  EXPECT_FALSE(Utf8ToAnsi("\xC3", &out));          // cut short
  EXPECT_FALSE(Utf8ToAnsi("\xC3(", &out));         // no continuation byte
  EXPECT_FALSE(Utf8ToAnsi("\xE9", &out));          // Windows-1252 passed as UTF-8
  EXPECT_FALSE(Utf8ToAnsi("\xC1\x81", &out));      // "A" spelt with two bytes
  EXPECT_FALSE(Utf8ToAnsi("\xE0\x81\x81", &out));  // "A" spelt with three bytes
  EXPECT_FALSE(Utf8ToAnsi("\xE0\x83\xA9", &out));  // e acute spelt with three bytes
  ASSERT_TRUE(Utf8ToAnsi("caf\xC3\xA9 \xE2\x82\xAC", &out));
  EXPECT_EQ(out, "caf\xE9 \x80");
}

TEST(Casefold, TheTwoRulesDifferOnTheLettersBeyondAscii) {
  EXPECT_TRUE(SameNameIgnoringCase("\u0161\u0153\u017E\u00FF", "\u0160\u0152\u017D\u0178"));
  EXPECT_FALSE(SameTextAscii("\u0161\u0153\u017E\u00FF", "\u0160\u0152\u017D\u0178"));
  EXPECT_TRUE(SameNameIgnoringCase("Citt\u00E0 \u00FE", "CITT\u00C0 \u00DE"));
  EXPECT_FALSE(SameTextAscii("Citt\u00E0", "CITT\u00C0"));
  EXPECT_TRUE(SameTextAscii("Citt\u00E0", "CITT\u00E0"));
  EXPECT_TRUE(SameTextAscii(u"Citt\u00E0", u"CITT\u00E0"));
  EXPECT_FALSE(SameTextAscii(u"Citt\u00E0", u"CITT\u00C0"));
  // Not letters, or without a partner going both ways.
  for (const char* pair : {"\u00F7\u00D7", "\u00DFS", "\u00B5\u039C", "\u0192F", "@`", "[{", "\u0131I", "\u0130i",
                           "\u03C2\u03A3", "\u017FS", "\u212Ak"}) {
    SCOPED_TRACE(pair);
    const std::string both(pair);
    const size_t first = Utf8CharLength(both, 0);
    EXPECT_FALSE(SameNameIgnoringCase(both.substr(0, first), both.substr(first)));
  }
  EXPECT_FALSE(SameNameIgnoringCase("a", "ab"));
  EXPECT_FALSE(SameNameIgnoringCase("\u042F", "\u044F "));
  EXPECT_EQ(UpperCaseText("\u00F7\u00FF\u00DF\u00B5 \u0161a\u00E0 \u044F\u0434\u0440\u043E \u01C6 \uFB00 \U0001F600"),
            "\u00F7\u0178\u00DF\u00B5 \u0160A\u00C0 \u042F\u0414\u0420\u041E \u01C4 \uFB00 \U0001F600");
  EXPECT_EQ(LowerCaseText("\u00D7\u0178\u0160\u00DE Z \u0386\u03A3 \u0130"),
            "\u00D7\u00FF\u0161\u00FE z \u03AC\u03C3 \u0130");
  // Bytes that are not UTF-8 stay as they are and match only themselves.
  EXPECT_EQ(UpperCaseText("a\xE9"
                          "b\xC3"),
            "A\xE9"
            "B\xC3");
  EXPECT_TRUE(SameNameIgnoringCase("a\xE9", "A\xE9"));
  EXPECT_FALSE(SameNameIgnoringCase("a\xE9", "A\xC9"));
  EXPECT_FALSE(SameNameIgnoringCase("\xC3\xA9", "\xC3"));
}

TEST(Casefold, EveryUnitHasOnePartnerAtMost) {
  int upper = 0;
  for (uint32_t c = 0; c < 0x10000; ++c) {
    const uint32_t u = UpperCodePoint(c), l = LowerCodePoint(c);
    if (u != c) {
      ++upper;
      EXPECT_EQ(LowerCodePoint(u), c) << c;  // back to where it came from
      EXPECT_EQ(UpperCodePoint(u), u) << c;
    }
    if (l != c) {
      EXPECT_EQ(UpperCodePoint(l), c) << c;
    }
    EXPECT_FALSE(u != c && l != c) << c;
  }
  EXPECT_GT(upper, 1000);  // Latin, Greek, Cyrillic, Armenian, Georgian, Glagolitic ...
  EXPECT_EQ(UpperCodePoint(0x10428), 0x10428u);
}

// The headless layer matches names as the system does (tests/win32 checks
// the same table against the system).
TEST(NameCases, HeadlessFilesRegistryAndIniAgreeWithTheTable) {
  const auto root = std::filesystem::temp_directory_path() / "tovira-name-cases";
  std::filesystem::remove_all(root);
  {
    host::HostPlatform hp(root);
    ASSERT_TRUE(Files().CreateDir("C:\\N"));
    int i = 0;
    for (const testing::NameCase& c : testing::NameCaseTable()) {
      SCOPED_TRACE(c.stored);
      EXPECT_EQ(SameNameIgnoringCase(c.stored, c.asked), c.sameName);
      EXPECT_EQ(SameTextAscii(c.stored, c.asked), c.sameAscii);
      // Files: each in its own folder, so no other name can answer.
      const std::string dir = "C:\\N\\" + std::to_string(i++) + "\\";
      ASSERT_TRUE(Files().CreateDir(dir));
      ASSERT_TRUE(Files().WriteFile(dir + c.stored, "x"));
      EXPECT_EQ(Files().FileExists(dir + c.asked), c.sameName);
      const std::vector<FindEntry> found = Files().FindFiles(dir + c.asked);
      ASSERT_EQ(found.size(), c.sameName ? 1u : 0u);
      if (c.sameName) {
        EXPECT_EQ(found[0].name, c.stored);  // as spelt on disk
      }
      // Registry: key and value names.
      const std::string key = "Software\\ToviraNames\\" + c.stored;
      ASSERT_TRUE(Registry().CreateKey(key));
      ASSERT_TRUE(Registry().WriteString(key, c.stored, "v"));
      RegValue v;
      EXPECT_EQ(Registry().KeyExists("Software\\ToviraNames\\" + c.asked), c.sameName);
      EXPECT_EQ(Registry().ReadValue(key, c.asked, &v), c.sameName);
      // INI, in a UTF-8 and in a UTF-16 file.
      const std::string narrow = "[" + c.stored + "]\r\n" + c.stored + "=v\r\n";
      std::string wide = "\xFF\xFE";
      for (char16_t u : Utf8ToUtf16(narrow)) {
        wide += char(u & 0xFF);
        wide += char(u >> 8);
      }
      for (const std::string& file : {narrow, wide}) {
        char buf[16];
        ProfileGetString(file, true, c.asked.c_str(), c.asked.c_str(), "d", buf, sizeof buf);
        EXPECT_EQ(std::string(buf), c.sameAscii ? "v" : "d");
      }
    }
  }
  std::filesystem::remove_all(root);
}

TEST(NameCases, ListingsSortedByCapitalsAsNtfsSortsThem) {
  host::HostPlatform hp;
  ASSERT_TRUE(Files().CreateDir("C:\\S"));
  // "_" sorts after the capitals, and S caron (U+0160) after A grave (U+00C0).
  for (const char* n : {"a_b", "aab", "\u0160", "\u00E0", "b"})
    ASSERT_TRUE(Files().WriteFile(std::string("C:\\S\\") + n, "x"));
  std::vector<std::string> names;
  for (const FindEntry& e : Files().FindFiles("C:\\S\\*"))
    names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "aab", "a_b", "b", "\u00E0", "\u0160"}));
}

}  // namespace
}  // namespace tov
