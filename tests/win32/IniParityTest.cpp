// The INI layer against the real profile functions of the system: every case
// of the table runs through GetPrivateProfileStringA / WritePrivateProfileStringA
// on real files in a temporary folder and through our layer on a twin file;
// every read must answer the same and, where Windows' bytes are known, the
// files must end up byte for byte the same.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/NativeFileSystem.h"
#include "platform/Platform.h"
#include "settings/IniFile.h"
#include "tests/IniCases.h"
#include "tests/win32/SystemProfile.h"

namespace tov {
namespace {

bool WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out.flush());
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string Printable(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c == 0)
      out += "\\0";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else if (c < 32 || c > 126) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else
      out += char(c);
  }
  return out.size() > 160 ? out.substr(0, 160) + "..." : out;
}

class IniParityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testing::MakeTempFolder("tovira-ini-parity");
    platform_.files = &files_;
    previous_ = InstallPlatform(&platform_);
  }
  void TearDown() override {
    InstallPlatform(previous_);
    for (const std::string& f : created_)
      testing::RemoveFileAndFolder(f, "");
    testing::RemoveFileAndFolder("", dir_);
  }

  std::string dir_;
  std::vector<std::string> created_;
  NativeFileSystem files_;
  Platform platform_;
  Platform* previous_ = nullptr;
};

TEST_F(IniParityTest, RealProfileFunctionsAndOursAgree) {
  const bool wine = testing::RunningUnderWine();
  const bool utf8 = testing::SystemAnsiCodePage() == 65001;
  std::vector<testing::IniCase> cases = testing::IniParityCases();
  ASSERT_GE(cases.size(), 40u);
  int readsCompared = 0, filesCompared = 0, skippedForWine = 0;
  for (size_t i = 0; i < cases.size(); ++i) {
    const testing::IniCase& c = cases[i];
    SCOPED_TRACE(c.name);
    const std::string real = dir_ + "real" + std::to_string(i) + ".ini";
    const std::string ours = dir_ + "ours" + std::to_string(i) + ".ini";
    created_.push_back(real);
    created_.push_back(ours);
    testing::RemoveFileAndFolder(real, "");
    testing::RemoveFileAndFolder(ours, "");
    if (c.exists) {
      ASSERT_TRUE(WriteBytes(real, c.file));
      ASSERT_TRUE(WriteBytes(ours, c.file));
    }
    for (const testing::IniStep& s : c.steps) {
      const char* where = s.section ? s.section : "(null)";
      if (s.write) {
        bool realOk = testing::SystemWriteProfileString(s.section, s.key, s.text, real);
        bool oursOk = IniWriteString(s.section, s.key, s.text, ours);
        EXPECT_EQ(realOk, oursOk) << "write to " << where;
        continue;
      }
      std::vector<char> realBuf(s.size + 8, '\x0c'), oursBuf(s.size + 8, '\x0c');
      uint32_t realRet = testing::SystemGetProfileString(s.section, s.key, s.text, realBuf.data(), s.size, real);
      uint32_t oursRet = IniGetString(s.section, s.key, s.text, oursBuf.data(), s.size, ours);
      const std::string oursBytes(oursBuf.data(), s.expect.size());
      // Ours always answers as Windows does.
      EXPECT_EQ(oursRet, s.ret) << "read of " << where;
      EXPECT_EQ(Printable(oursBytes), Printable(s.expect)) << "read of " << where;
      if ((wine && s.wineDiffers) || (c.needsUtf8 && !utf8)) {
        ++skippedForWine;
        continue;
      }
      ++readsCompared;
      EXPECT_EQ(realRet, oursRet) << "read of " << where;
      size_t compared = wine && s.wineLeavesLastZero ? s.expect.size() - 1 : s.expect.size();
      EXPECT_EQ(Printable(std::string(realBuf.data(), compared)), Printable(oursBytes.substr(0, compared)))
          << "read of " << where;
    }
    if (c.bytes == testing::IniBytes::None) continue;
    const std::string oursFile = ReadBytes(ours);
    EXPECT_EQ(Printable(oursFile), Printable(c.expectFile));
    if (c.needsUtf8 && !utf8) continue;
    if (c.bytes == testing::IniBytes::Windows || (c.bytes == testing::IniBytes::WindowsNotWine && !wine)) {
      ++filesCompared;
      EXPECT_EQ(Printable(ReadBytes(real)), Printable(oursFile)) << "file bytes";
    }
  }
  std::printf("ANSI code page %u\n", testing::SystemAnsiCodePage());
  std::printf(
      "INI parity: %d cases, %d reads and %d files compared with the system%s (%d reads left out: Wine's own ways or "
      "another code page)\n",
      int(cases.size()), readsCompared, filesCompared, wine ? " under Wine" : "", skippedForWine);
  EXPECT_GE(readsCompared, 60);
}

}  // namespace
}  // namespace tov
