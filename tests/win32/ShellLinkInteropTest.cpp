// Our link files against the system's shell link object (Wine's in CI), both
// ways round: ours loaded by IShellLinkA, the shell's read by our reader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/ShortcutFiles.h"
#include "platform/FileShellLinks.h"
#include "platform/ShellLinkFile.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32ShellLinks.h"
#include "platform/win32/WinApi.h"
#include "tests/win32/SystemProfile.h"

namespace tov {
namespace {

// What the shell's GetPath hands out with SLGP_SHORTPATH: Windows gives the
// short form of an existing path (the path itself for one that does not
// exist); Wine ignores the flag and gives the path as stored.
std::string ShortForm(const std::string& path) {
  if (testing::RunningUnderWine()) return path;
  char buf[MAX_PATH];
  const DWORD n = GetShortPathNameA(path.c_str(), buf, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(buf, n) : path;
}

class ShellLinkInterop : public ::testing::Test {
 protected:
  void SetUp() override {
    ole_ = ShellLinks().OleInitialize();
    dir_ = testing::MakeTempFolder("tovira-links");
    longDir_ = dir_ + "Una cartella dal nome molto lungo";
    ASSERT_TRUE(CreateDirectoryA(longDir_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    file_ = dir_ + "Documento.txt";
    longFile_ = longDir_ + "\\Relazione trimestrale di prova.txt";
    for (const std::string& f : {file_, longFile_})
      ASSERT_TRUE(Files().WriteFile(f, "contenuto"));
    targets_ = {file_, dir_.substr(0, dir_.size() - 1), longDir_, longFile_, dir_ + "Manca\\nessuno.exe", "C:\\"};
    // Letters beyond ASCII, where the system's code page is UTF-8.
    if (testing::SystemAnsiCodePage() == 65001) {
      accentDir_ = dir_ + "Caff\u00E8 \u0414\u043E\u043A\u0443\u043C\u0435\u043D\u0442\u044B";
      accentFile_ = accentDir_ + "\\R\u00E9sum\u00E9 \u20AC \u65E5\u672C\u8A9E.txt";
      ASSERT_TRUE(CreateDirectoryA(accentDir_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
      ASSERT_TRUE(Files().WriteFile(accentFile_, "x"));
      targets_.push_back(accentDir_);
      targets_.push_back(accentFile_);
    }
  }
  void TearDown() override {
    for (const std::string& f : made_)
      DeleteFileA(f.c_str());
    DeleteFileA(longFile_.c_str());
    if (!accentFile_.empty()) DeleteFileA(accentFile_.c_str());
    if (!accentDir_.empty()) RemoveDirectoryA(accentDir_.c_str());
    DeleteFileA(file_.c_str());
    RemoveDirectoryA(longDir_.c_str());
    RemoveDirectoryA(dir_.c_str());
    if (ole_ == S_OK_RESULT) ShellLinks().OleUninitialize();
  }
  std::string Link(const std::string& name) {
    made_.push_back(dir_ + name);
    return made_.back();
  }

  win32::Win32Platform wp_;
  int32_t ole_ = E_FAIL_RESULT;
  std::string dir_, longDir_, file_, longFile_, accentDir_, accentFile_;
  std::vector<std::string> targets_, made_;
};

TEST_F(ShellLinkInterop, OurLinksLoadThroughTheShellsLinkObject) {
  FileShellLinks ours;
  win32::Win32ShellLinks shell;
  for (size_t i = 0; i < targets_.size(); ++i) {
    const std::string& target = targets_[i];
    SCOPED_TRACE(target);
    const std::string link = Link("nostro" + std::to_string(i) + ".lnk");
    ASSERT_EQ(ours.SaveLink(link, target, "Descrizione " + std::to_string(i)), S_OK_RESULT);
    std::string got, description;
    ASSERT_EQ(shell.LoadLink(0, link, &got, &description), S_OK_RESULT);
    EXPECT_EQ(got, ShortForm(target));
    EXPECT_EQ(description, "Descrizione " + std::to_string(i));
  }
}

// The item id list of our links alone names the target for the shell too.
TEST_F(ShellLinkInterop, OurItemIdListsAloneNameTheTargetForTheShell) {
  win32::Win32ShellLinks shell;
  for (const std::string& target : {file_, longDir_, longFile_}) {
    SCOPED_TRACE(target);
    std::string bytes, error;
    ShellLinkTargetInfo info;
    ASSERT_TRUE(BuildShellLink(target, "senza blocco", info, &bytes, &error)) << error;
    auto u32 = [&](size_t at) {
      return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
             uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
    };
    const size_t infoAt = 0x4C + 2 + (uint8_t(bytes[0x4C]) | uint8_t(bytes[0x4D]) << 8);
    bytes.erase(infoAt, u32(infoAt));
    bytes[0x14] = char(uint8_t(bytes[0x14]) & ~0x02);
    const std::string link = Link("soloelenco.lnk");
    ASSERT_TRUE(Files().WriteFile(link, bytes));
    std::string got, description;
    ASSERT_EQ(shell.LoadLink(0, link, &got, &description), S_OK_RESULT);
    EXPECT_EQ(got, ShortForm(target));
    EXPECT_EQ(description, "senza blocco");
  }
}

TEST_F(ShellLinkInterop, ShellsLinksReadThroughOurReader) {
  FileShellLinks ours;
  win32::Win32ShellLinks shell;
  for (size_t i = 0; i < targets_.size(); ++i) {
    const std::string& target = targets_[i];
    SCOPED_TRACE(target);
    const std::string link = Link("shell" + std::to_string(i) + ".lnk");
    ASSERT_EQ(shell.SaveLink(link, target, "Descrizione " + std::to_string(i)), S_OK_RESULT);
    std::string got, description;
    ASSERT_EQ(ours.LoadLink(0, link, &got, &description), S_OK_RESULT);
    EXPECT_EQ(got, target);
    EXPECT_EQ(description, "Descrizione " + std::to_string(i));
  }
}

TEST_F(ShellLinkInterop, ShortcutsOfTheBarGoThroughTheShell) {
  CreateShortcut(longFile_, "Relazione.txt", dir_);
  const std::string link = Link("Relazione.txt.lnk");
  EXPECT_EQ(ReadShortcutTarget(0, link), ShortForm(longFile_));
  // Replacing an existing link, and reading what is no link.
  CreateShortcut(file_, "Relazione.txt", dir_);
  EXPECT_EQ(ReadShortcutTarget(0, link), ShortForm(file_));
  EXPECT_EQ(ReadShortcutTarget(0, file_), "");
  EXPECT_EQ(ReadShortcutTarget(0, dir_ + "manca.lnk"), "");
  const std::string tooLong = dir_ + std::string(MAX_PATH, 'x') + ".lnk";
  std::string target, description;
  EXPECT_NE(ShellLinks().SaveLink(tooLong, file_, "x"), S_OK_RESULT);
  EXPECT_NE(ShellLinks().LoadLink(0, tooLong, &target, &description), S_OK_RESULT);
}

}  // namespace
}  // namespace tov
