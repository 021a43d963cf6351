// The code page's conversions and its two letter-case rules, and the names
// the headless platform matches by them.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/AnsiText.h"
#include "base/Casefold.h"
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
  // The four letters of the 0x80 row, the accented ones, and the ASCII ones.
  EXPECT_TRUE(SameNameIgnoringCase("\x9A\x9C\x9E\xFF", "\x8A\x8C\x8E\x9F"));
  EXPECT_FALSE(SameTextAscii("\x9A\x9C\x9E\xFF", "\x8A\x8C\x8E\x9F"));
  EXPECT_TRUE(SameNameIgnoringCase("Citt\xE0 \xFE", "CITT\xC0 \xDE"));
  EXPECT_FALSE(SameTextAscii("Citt\xE0", "CITT\xC0"));
  EXPECT_TRUE(SameTextAscii("Citt\xE0", "CITT\xE0"));
  EXPECT_TRUE(SameTextAscii(u"Citt\u00E0", u"CITT\u00E0"));
  EXPECT_FALSE(SameTextAscii(u"Citt\u00E0", u"CITT\u00C0"));
  // Not letters, or without a partner inside the code page.
  for (const char* pair : {"\xF7\xD7", "\xDFS", "\xB5M",
                           "\x83"
                           "F",
                           "@`", "[{"}) {
    SCOPED_TRACE(pair);
    EXPECT_FALSE(SameNameIgnoringCase(std::string(1, pair[0]), std::string(1, pair[1])));
  }
  EXPECT_FALSE(SameNameIgnoringCase("a", "ab"));
  EXPECT_EQ(AnsiUpperCase("\xF7\xFF\xDF\xB5 \x9A"
                          "a\xE0"),
            "\xF7\x9F\xDF\xB5 \x8A"
            "A\xC0");
  EXPECT_EQ(AnsiLowerCase("\xD7\x9F\x8A\xDE Z"), "\xD7\xFF\x9A\xFE z");
}

TEST(Casefold, EveryByteHasOnePartnerAtMost) {
  int upper = 0, lower = 0;
  for (int i = 0; i < 256; ++i) {
    const char c = char(i);
    const char u = AnsiUpperChar(c), l = AnsiLowerChar(c);
    if (u != c) {
      ++upper;
      EXPECT_EQ(AnsiLowerChar(u), c) << i;  // back to where it came from
      EXPECT_EQ(AnsiUpperChar(u), u) << i;
    }
    if (l != c) {
      ++lower;
      EXPECT_EQ(AnsiUpperChar(l), c) << i;
    }
    EXPECT_FALSE(u != c && l != c) << i;
  }
  // a-z, 0xE0-0xFE but 0xF7, and s caron, oe, z caron, y diaeresis.
  EXPECT_EQ(upper, 26 + 30 + 4);
  EXPECT_EQ(lower, 26 + 30 + 4);
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
      // INI, in an ANSI and in a UTF-16 file.
      const std::string ansi = "[" + c.stored + "]\r\n" + c.stored + "=v\r\n";
      std::string wide = "\xFF\xFE";
      for (char16_t u : AnsiToUtf16(ansi)) {
        wide += char(u & 0xFF);
        wide += char(u >> 8);
      }
      for (const std::string& file : {ansi, wide}) {
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
  for (const char* n : {"a_b", "aab", "\x8A", "\xE0", "b"})
    ASSERT_TRUE(Files().WriteFile(std::string("C:\\S\\") + n, "x"));
  std::vector<std::string> names;
  for (const FindEntry& e : Files().FindFiles("C:\\S\\*"))
    names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "aab", "a_b", "b", "\xE0", "\x8A"}));
}

}  // namespace
}  // namespace tov
