// The INI layer must answer like the Windows profile functions.
#include <gtest/gtest.h>

#include "platform/host/HostFileSystem.h"
#include "platform/host/HostPlatform.h"
#include "settings/IniFile.h"
#include "tests/IniCases.h"

namespace tov {
namespace {

std::string Printable(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c == 0)
      out += "\\0";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else
      out += char(c);
  }
  return out.size() > 200 ? out.substr(0, 200) + "..." : out;
}

TEST(IniParity, EveryCaseOfTheTableAnswersLikeWindows) {
  std::vector<testing::IniCase> cases = testing::IniParityCases();
  ASSERT_GE(cases.size(), 40u);
  for (const testing::IniCase& c : cases) {
    SCOPED_TRACE(c.name);
    host::HostPlatform hp;
    ASSERT_TRUE(Files().CreateDir("C:\\Ini"));
    const std::string path = "C:\\Ini\\case.ini";
    if (c.exists) {
      ASSERT_TRUE(Files().WriteFile(path, c.file));
    }
    for (const testing::IniStep& s : c.steps) {
      if (s.write) {
        EXPECT_EQ(IniWriteString(s.section, s.key, s.text, path), s.section != nullptr);
        continue;
      }
      std::vector<char> buf(s.size + 8, '\x0c');
      uint32_t ret = IniGetString(s.section, s.key, s.text, buf.data(), s.size, path);
      EXPECT_EQ(ret, s.ret) << (s.section ? s.section : "(null)") << " / " << (s.key ? s.key : "(null)");
      std::string got(buf.data(), s.expect.size());
      EXPECT_EQ(Printable(got), Printable(s.expect)) << "read " << ret;
    }
    if (c.bytes != testing::IniBytes::None) {
      std::string bytes;
      ASSERT_TRUE(Files().ReadFile(path, &bytes));
      EXPECT_EQ(Printable(bytes), Printable(c.expectFile));
      EXPECT_FALSE(Files().FileExists(path + ".tmp"));
    }
  }
}

TEST(IniFile, BufferEdgesOfTheRawCall) {
  char buf[8] = "kumquat";
  // A zero-sized buffer is left alone.
  EXPECT_EQ(ProfileGetString("[s]\r\nk=v\r\n", true, "s", "k", "d", buf, 0), 0u);
  EXPECT_STREQ(buf, "kumquat");
  EXPECT_EQ(ProfileGetString("", true, "s", "k", "d", nullptr, 5), 0u);
  // A listing in a buffer of one character is just the zero byte.
  EXPECT_EQ(ProfileGetString("[s]\r\n", true, nullptr, nullptr, nullptr, buf, 1), 0u);
  EXPECT_EQ(buf[0], '\0');
  EXPECT_EQ(SplitProfileList("a\0bc\0\0", 5), (std::vector<std::string>{"a", "bc"}));
  EXPECT_EQ(SplitProfileList("a\0bc", 4), (std::vector<std::string>{"a", "bc"}));
  EXPECT_TRUE(SplitProfileList("", 0).empty());
}

// A file of an earlier release holds Windows-1252: read as that, and turned
// into UTF-8 whole by the next write; a UTF-8 or an all-ASCII file is left
// as it is until a write changes it.
TEST(IniFile, FilesOfEarlierReleasesAreReadInTheirCodePageAndWrittenBackInUtf8) {
  host::HostPlatform hp;
  ASSERT_TRUE(Files().CreateDir("C:\\Cfg"));
  const std::string legacy = "[Caff\xE8]\r\nNome=Caff\xE8 \x80\r\nAltro=x\r\n";
  ASSERT_TRUE(Files().WriteFile("C:\\Cfg\\old.ini", legacy));
  TIniFile ini("C:\\Cfg\\old.ini");
  EXPECT_EQ(ini.ReadString("Caff\u00E8", "Nome", "d"), "Caff\u00E8 \u20AC");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Caff\u00E8"}));
  std::string bytes;
  ASSERT_TRUE(Files().ReadFile("C:\\Cfg\\old.ini", &bytes));
  EXPECT_EQ(bytes, legacy);  // reading changes nothing
  ASSERT_TRUE(ini.WriteString("Caff\u00E8", "Altro", "\u0414\u043E\u043A"));
  ASSERT_TRUE(Files().ReadFile("C:\\Cfg\\old.ini", &bytes));
  EXPECT_EQ(bytes, "[Caff\u00E8]\r\nNome=Caff\u00E8 \u20AC\r\nAltro=\u0414\u043E\u043A\r\n");
  // A UTF-8 byte order mark stays in front of the first line.
  ASSERT_TRUE(Files().WriteFile("C:\\Cfg\\bom.ini", "\xEF\xBB\xBF; c\r\n[s]\r\nk=\u00E8\r\n"));
  TIniFile bom("C:\\Cfg\\bom.ini");
  EXPECT_EQ(bom.ReadString("s", "k", "d"), "\u00E8");
  ASSERT_TRUE(bom.WriteString("s", "j", "1"));
  ASSERT_TRUE(Files().ReadFile("C:\\Cfg\\bom.ini", &bytes));
  EXPECT_EQ(bytes, "\xEF\xBB\xBF; c\r\n[s]\r\nk=\u00E8\r\nj=1\r\n");
}

// A name or value given in the old code page is written as UTF-8: written
// raw, its bytes would make the whole file read as the old code page again,
// and every other value would come back garbled.
TEST(IniFile, NamesAndValuesInTheOldCodePageKeepTheFileUtf8) {
  std::string file = "[s]\r\nk=Caff\u00E8\r\n";
  ASSERT_TRUE(ProfileWriteString(&file, "Sezione \x80", "Chiave", "Valore \xE8"));
  EXPECT_EQ(file, "[s]\r\nk=Caff\u00E8\r\n[Sezione \u20AC]\r\nChiave=Valore \u00E8\r\n");
  char buf[64];
  ProfileGetString(file, true, "s", "k", "", buf, sizeof buf);
  EXPECT_STREQ(buf, "Caff\u00E8");
  // Read by either spelling of the name.
  ProfileGetString(file, true, "Sezione \x80", "Chiave", "", buf, sizeof buf);
  EXPECT_STREQ(buf, "Valore \u00E8");
  ProfileGetString(file, true, "Sezione \u20AC", "Chiave", "", buf, sizeof buf);
  EXPECT_STREQ(buf, "Valore \u00E8");
}

// A value or listing cut to the buffer never ends inside a character.
TEST(IniFile, CutsKeepCharactersWhole) {
  const std::string file = "[s]\r\nk=ab\u0414\u65E5\r\n[\u00E8\u00E8]\r\n";
  char buf[16];
  EXPECT_EQ(ProfileGetString(file, true, "s", "k", "d", buf, 4), 2u);  // not half of the D
  EXPECT_EQ(std::string(buf), "ab");
  EXPECT_EQ(ProfileGetString(file, true, "s", "k", "d", buf, 5), 4u);
  EXPECT_EQ(std::string(buf), "ab\u0414");
  EXPECT_EQ(ProfileGetString(file, true, "s", "k", "d", buf, 7), 4u);  // nor part of the ideograph
  EXPECT_EQ(ProfileGetString(file, true, "s", "k", "d", buf, 8), 7u);
  // The listing "s", then the second name cut before its second letter.
  EXPECT_EQ(ProfileGetString(file, true, nullptr, nullptr, nullptr, buf, 7), 4u);
  EXPECT_EQ(std::string(buf, 6), std::string("s\0\u00E8\0\0", 6));
  // A long value read whole.
  std::string longValue;
  for (int i = 0; i < 1500; ++i)
    longValue += "\u0416";
  host::HostPlatform hp;
  ASSERT_TRUE(Files().CreateDir("C:\\Cfg"));
  TIniFile ini("C:\\Cfg\\long.ini");
  ASSERT_TRUE(ini.WriteString("s", "k", longValue));
  EXPECT_EQ(ini.ReadWholeString("s", "k", ""), longValue);
  EXPECT_EQ(ini.ReadString("s", "k", ""), longValue.substr(0, 2046));  // 1023 letters of two bytes
}

TEST(IniFile, ObjectReadsAfreshAndListsInFileOrder) {
  host::HostPlatform hp;
  ASSERT_TRUE(Files().CreateDir("C:\\Cfg"));
  TIniFile ini("C:\\Cfg\\\\a.ini");  // a doubled separator reads as one
  EXPECT_EQ(ini.ReadString("s", "k", "d"), "d");
  EXPECT_TRUE(ini.ReadSections().empty());
  ASSERT_TRUE(ini.WriteString("Zeta", "k", "1"));
  ASSERT_TRUE(ini.WriteString("Alfa", "b", "2"));
  ASSERT_TRUE(ini.WriteString("Alfa", "a", "3"));
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Zeta", "Alfa"}));
  EXPECT_EQ(ini.ReadSectionKeys("alfa"), (std::vector<std::string>{"b", "a"}));
  EXPECT_TRUE(ini.SectionExists("ZETA"));
  EXPECT_FALSE(ini.SectionExists("Beta"));
  // Another writer's change is seen by the next read.
  ASSERT_TRUE(Files().WriteFile("C:\\Cfg\\a.ini", "[Zeta]\r\nk=changed\r\n"));
  EXPECT_EQ(ini.ReadString("zeta", "K", ""), "changed");
  EXPECT_TRUE(ini.DeleteKey("Zeta", "k"));
  EXPECT_TRUE(ini.ReadSectionKeys("Zeta").empty());
  EXPECT_TRUE(ini.EraseSection("Zeta"));
  EXPECT_FALSE(ini.SectionExists("Zeta"));
}

TEST(IniFile, ListingsStopAt16384Bytes) {
  host::HostPlatform hp;
  ASSERT_TRUE(Files().CreateDir("C:\\Cfg"));
  std::string file;
  for (int i = 0; i < 2000; ++i)
    file += "[Section" + std::to_string(1000 + i) + "]\r\nKey" + std::to_string(i) + "=v\r\n";
  ASSERT_TRUE(Files().WriteFile("C:\\Cfg\\big.ini", file));
  TIniFile ini("C:\\Cfg\\big.ini");
  std::vector<std::string> names = ini.ReadSections();
  // 12 bytes a name: 1365 whole names fill 16380 bytes, the next is cut to
  // the 2 characters that leave room for the two zero bytes.
  ASSERT_EQ(names.size(), 1366u);
  EXPECT_EQ(names[1364], "Section2364");
  EXPECT_EQ(names[1365], "Se");
}

TEST(IniFile, FailedWriteLeavesTheFileWhole) {
  host::HostPlatform hp;
  ASSERT_TRUE(Files().CreateDir("C:\\Cfg"));
  const std::string path = "C:\\Cfg\\s.ini";
  TIniFile ini(path);
  ASSERT_TRUE(ini.WriteString("s", "a", "1"));
  ASSERT_TRUE(ini.WriteString("s", "b", "2"));
  std::string before;
  ASSERT_TRUE(Files().ReadFile(path, &before));
  hp.Files().FailWriteAfter(1, 5);
  EXPECT_FALSE(ini.WriteString("s", "c", "3"));
  std::string after;
  ASSERT_TRUE(Files().ReadFile(path, &after));
  EXPECT_EQ(after, before);
  EXPECT_FALSE(Files().FileExists(path + ".tmp"));
  // A folder that does not exist is not created by a write.
  TIniFile lost("C:\\Manca\\s.ini");
  EXPECT_FALSE(lost.WriteString("s", "a", "1"));
  EXPECT_FALSE(Files().DirExists("C:\\Manca"));
  hp.Files().SetReadOnlyFolder("C:\\Cfg");
  EXPECT_FALSE(ini.WriteString("s", "a", "9"));
  EXPECT_EQ(ini.ReadString("s", "a", ""), "1");
}

}  // namespace
}  // namespace tov
