// Where the system compares names itself (files, registry keys and values,
// INI sections and keys, its ordinal compare that ignores case) and where it
// converts Windows-1252 and UTF-8 text: the same names go through the
// system's calls and through our rules and headless emulations, and both
// must give the table's answer. Under Wine the answers
// are Wine's; the INI rule (ASCII letters only) is Wine's profile code, which
// real Windows may not share, and Windows may give one "?" for a surrogate
// pair where Wine gives two.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/AnsiText.h"
#include "base/Casefold.h"
#include "base/Utf8Text.h"
#include "platform/Platform.h"
#include "platform/host/HostFileSystem.h"
#include "platform/host/HostRegistry.h"
#include "settings/IniFile.h"
#include "tests/NameCases.h"
#include "tests/win32/SystemProfile.h"

namespace tov {
namespace {

std::string Utf16File(const std::string& utf8) {
  std::string out = "\xFF\xFE";
  for (char16_t u : Utf8ToUtf16(utf8)) {
    out += char(u & 0xFF);
    out += char(u >> 8);
  }
  return out;
}

TEST(NameCaseTest, SystemAndOurRulesMatchTheSameNames) {
  const std::string dir = testing::MakeTempFolder("tovira-names");
  const auto regFile = std::filesystem::temp_directory_path() / "tovira-names-registry.txt";
  std::filesystem::remove(regFile);
  host::HostRegistry ours(regFile);
  int compared = 0;
  for (const testing::NameCase& c : testing::NameCaseTable()) {
    SCOPED_TRACE(c.stored + " / " + c.asked);
    // Files.
    const testing::SystemFileAnswer f = testing::SystemFileLookup(dir, c.stored, c.asked);
    ASSERT_TRUE(f.created);
    EXPECT_EQ(f.opened, c.sameName);
    EXPECT_EQ(f.listed, c.sameName);
    if (f.listed) {
      EXPECT_EQ(f.listedName, c.stored);  // the listing spells it as on disk
    }
    EXPECT_EQ(SameNameIgnoringCase(c.stored, c.asked), f.opened);
    EXPECT_EQ(testing::SystemSameOrdinalIgnoringCase(c.stored, c.asked), c.sameName);
    EXPECT_EQ(host::WildcardMatch(c.asked, c.stored), f.listed);
    // Registry keys and value names.
    bool created = false, keyFound = false, valueFound = false;
    testing::SystemRegistryLookup("Software\\ToviraNameCase", c.stored, c.asked, &created, &keyFound, &valueFound);
    ASSERT_TRUE(created);
    EXPECT_EQ(keyFound, c.sameName);
    EXPECT_EQ(valueFound, c.sameName);
    const std::string key = "Software\\ToviraNameCase\\" + c.stored;
    ASSERT_TRUE(ours.CreateKey(key));
    ASSERT_TRUE(ours.WriteString(key, c.stored, "v"));
    RegValue v;
    EXPECT_EQ(ours.KeyExists("Software\\ToviraNameCase\\" + c.asked), keyFound);
    EXPECT_EQ(ours.ReadValue(key, c.asked, &v), valueFound);
    // INI sections and keys, in a UTF-8 file and in a UTF-16 one.
    const std::string narrow = "[" + c.stored + "]\r\n" + c.stored + "=v\r\n";
    for (bool utf16 : {false, true}) {
      SCOPED_TRACE(utf16 ? "utf-16 file" : "utf-8 file");
      const std::string system = testing::SystemIniLookup(dir + "names.ini", c.stored, c.asked, utf16);
      EXPECT_EQ(system, c.sameAscii ? "v" : "d");
      char buf[16];
      ProfileGetString(utf16 ? Utf16File(narrow) : narrow, true, c.asked.c_str(), c.asked.c_str(), "d", buf,
                       sizeof buf);
      EXPECT_EQ(std::string(buf), system);
    }
    ++compared;
  }
  EXPECT_EQ(compared, int(testing::NameCaseTable().size()));
  testing::RemoveFileAndFolder("", dir);
  std::filesystem::remove(regFile);
}

// The uppercase of every UTF-16 unit, as the system's ordinal compare takes it.
TEST(NameCaseTest, EveryUnitFoldsAsTheSystemFoldsIt) {
  int differ = 0;
  for (uint32_t u = 0; u <= 0xFFFF; ++u) {
    if (u >= 0xD800 && u <= 0xDFFF) continue;
    const char16_t system = testing::SystemUpcaseUnit(char16_t(u));
    if (UpperCodePoint(u) != system && ++differ <= 10)
      ADD_FAILURE() << "U+" << std::hex << u << ": ours U+" << UpperCodePoint(u) << ", the system's U+"
                    << uint32_t(system);
  }
  EXPECT_EQ(differ, 0);
}

TEST(NameCaseTest, ConversionsAgreeWithTheSystemsUtf8) {
  for (const std::string& s : {std::string("\u0414\u043E\u043A\u0443\u043C\u0435\u043D\u0442\u044B"),
                               std::string("\u65E5\u672C\u8A9E \u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC"),
                               std::string("a\U0001F600b \u20AC"), std::string("caf\xE9")}) {
    SCOPED_TRACE(s);
    if (IsValidUtf8(s)) {
      EXPECT_EQ(Utf8ToUtf16(s), testing::SystemUtf8ToUtf16(s));
      EXPECT_EQ(Utf16ToUtf8(testing::SystemUtf8ToUtf16(s)), s);
    } else {
      EXPECT_EQ(Utf8ToUtf16(s), testing::SystemUtf8ToUtf16(s));  // U+FFFD where it is not UTF-8
    }
  }
}

TEST(NameCaseTest, ConversionsAgreeWithTheSystemsCodePage1252) {
  std::string all;
  for (int c = 0; c < 256; ++c)
    all.push_back(char(c));
  EXPECT_EQ(AnsiToUtf16(all), testing::SystemCp1252ToUtf16(all));
  EXPECT_EQ(Utf16ToAnsi(testing::SystemCp1252ToUtf16(all)), all);
  // Every UTF-16 unit alone: the code page's byte, the system's best fit or
  // "?" (surrogates alone included).
  int differ = 0;
  for (uint32_t u = 1; u <= 0xFFFF; ++u) {
    const std::u16string one(1, char16_t(u));
    if (Utf16ToAnsi(one) != testing::SystemUtf16ToCp1252(one) && ++differ <= 5)
      ADD_FAILURE() << "U+" << std::hex << u << ": ours " << Utf16ToAnsi(one) << ", the system's "
                    << testing::SystemUtf16ToCp1252(one);
  }
  EXPECT_EQ(differ, 0);
  // In texts: one "?" per UTF-16 unit, a pair and a lone surrogate included.
  for (const std::u16string& s : {std::u16string(u"\u0416\u4E2D x"), std::u16string(u"a\U0001F600b"),
                                  std::u16string(1, char16_t(0xDC00)) + u"z", std::u16string(u"\u20AC\u2122\u0178")}) {
    EXPECT_EQ(Utf16ToAnsi(s), testing::SystemUtf16ToCp1252(s));
  }
}

}  // namespace
}  // namespace tov
