// The headless platform must behave like Windows where the logic relies on it.
#include <gtest/gtest.h>

#include "platform/host/HostDialogs.h"
#include "platform/host/HostFileSystem.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostRegistry.h"
#include "platform/host/HostShell.h"
#include "platform/host/HostWindowSystem.h"

namespace tov::host {
namespace {

TEST(HostFiles, WindowsPathsIgnoreCaseAndWildcardsMatchLikeWindows) {
  HostPlatform hp;
  IFileSystem& fs = Files();
  ASSERT_TRUE(ForceDirectories(fs, "C:\\Dati\\Sotto\\Cartella\\"));
  EXPECT_TRUE(fs.DirExists("c:\\dati\\SOTTO\\cartella"));
  ASSERT_TRUE(fs.WriteFile("C:\\Dati\\Uno.LNK", "x"));
  ASSERT_TRUE(fs.WriteFile("C:\\Dati\\due.txt", "yy"));
  ASSERT_TRUE(fs.WriteFile("C:\\Dati\\senza", "z"));
  std::string bytes;
  ASSERT_TRUE(fs.ReadFile("c:\\DATI\\uno.lnk", &bytes));
  EXPECT_EQ(bytes, "x");
  std::vector<std::string> names;
  for (const FindEntry& e : fs.FindFiles("C:\\Dati\\*.lnk"))
    names.push_back(e.name);
  EXPECT_EQ(names, std::vector<std::string>{"Uno.LNK"});
  names.clear();
  for (const FindEntry& e : fs.FindFiles("C:\\Dati\\*.*"))
    names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "due.txt", "senza", "Sotto", "Uno.LNK"}));
  EXPECT_TRUE(fs.FindFiles("C:\\Manca\\*.*").empty());
  // A name without wildcards finds that entry alone, as it is spelt on disk.
  const std::vector<FindEntry> one = fs.FindFiles("C:\\dati\\UNO.lnk");
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].name, "Uno.LNK");
  EXPECT_EQ(one[0].size, 1u);
  ASSERT_EQ(fs.FindFiles("C:\\Dati\\sotto").size(), 1u);
  EXPECT_TRUE(fs.FindFiles("C:\\Dati\\sotto")[0].IsDirectory());
  EXPECT_TRUE(fs.FindFiles("C:\\Dati\\manca.txt").empty());
  EXPECT_TRUE(WildcardMatch("a?c.*", "abc"));
  EXPECT_FALSE(WildcardMatch("a?c", "ac"));
}

TEST(HostFiles, FailedWriteKeepsTheOldFileWhenWrittenSafely) {
  HostPlatform hp;
  IFileSystem& fs = Files();
  ASSERT_TRUE(fs.CreateDir("C:\\D"));
  ASSERT_TRUE(WriteFileSafely(fs, "C:\\D\\f.bin", "old contents"));
  hp.Files().FailWriteAfter(1, 3);
  EXPECT_FALSE(WriteFileSafely(fs, "C:\\D\\f.bin", "new contents"));
  std::string bytes;
  ASSERT_TRUE(fs.ReadFile("C:\\D\\f.bin", &bytes));
  EXPECT_EQ(bytes, "old contents");
  EXPECT_FALSE(fs.FileExists("C:\\D\\f.bin.tmp"));
  hp.Files().SetReadOnlyFolder("C:\\D");
  EXPECT_FALSE(fs.WriteFile("C:\\D\\g.bin", "x"));
}

TEST(HostRegistry, ValuesPersistAcrossInstancesAndIgnoreCase) {
  auto root = std::filesystem::temp_directory_path() / "tovira-registry-test";
  std::filesystem::remove_all(root);
  {
    HostPlatform hp(root);
    EXPECT_FALSE(Registry().KeyExists("Software\\Brenvoll\\Tovira_0"));
    ASSERT_TRUE(Registry().CreateKey("Software\\Brenvoll\\Tovira_0"));
    EXPECT_TRUE(Registry().KeyExists("software\\brenvoll"));
    ASSERT_TRUE(Registry().WriteBinary("Software\\Brenvoll\\Tovira_0", "", {0, 1, 2, 255}));
    ASSERT_TRUE(Registry().WriteString("Software\\Brenvoll\\Tovira_0", "Nome", "\"C:\\x.exe\""));
    EXPECT_FALSE(Registry().WriteString("Software\\Manca", "v", "x"));
  }
  {
    HostPlatform hp(root);
    RegValue v;
    ASSERT_TRUE(Registry().ReadValue("SOFTWARE\\Brenvoll\\tovira_0", "", &v));
    EXPECT_EQ(v.type, RegType::Binary);
    EXPECT_EQ(v.data, (std::vector<uint8_t>{0, 1, 2, 255}));
    ASSERT_TRUE(Registry().ReadValue("Software\\Brenvoll\\Tovira_0", "nome", &v));
    EXPECT_EQ(v.AsString(), "\"C:\\x.exe\"");
    EXPECT_TRUE(Registry().DeleteValue("Software\\Brenvoll\\Tovira_0", "NOME"));
    EXPECT_FALSE(Registry().ReadValue("Software\\Brenvoll\\Tovira_0", "Nome", &v));
  }
  std::filesystem::remove_all(root);
}

class NullHandler : public IWindowHandler {
 public:
  intptr_t HandleMessage(Message& m) override {
    seen.push_back(m);
    return 0;
  }
  void Paint(ICanvas&) override {}
  std::vector<Message> seen;
};

TEST(HostShell, ReservationsShrinkWorkAreasAndNotifyTheOtherBars) {
  HostPlatform hp;
  NullHandler h1, h2;
  auto w1 = Windows().CreateTopLevel(WindowParams{"a", 0, 0, {0, 0, 10, 10}}, &h1);
  auto w2 = Windows().CreateTopLevel(WindowParams{"b", 0, 0, {0, 0, 10, 10}}, &h2);
  AppBarData d1{w1->Id(), 0x464, 1, {0, 0, 1024, 768}, 0};
  AppBarData d2{w2->Id(), 0x464, 1, {0, 0, 1024, 768}, 0};
  ASSERT_EQ(Shell().AppBarMessage(ABM_NEW, d1), 1u);
  ASSERT_EQ(Shell().AppBarMessage(ABM_NEW, d2), 1u);
  EXPECT_EQ(Shell().AppBarMessage(ABM_NEW, d2), 0u);
  d1.rect = {0, 0, 1024, 40};
  Shell().AppBarMessage(ABM_SETPOS, d1);
  EXPECT_EQ(hp.Shell().PrimaryWorkArea(), (Rect{0, 40, 1024, 738}));
  hp.Windows().Pump();
  ASSERT_FALSE(h2.seen.empty());
  EXPECT_EQ(h2.seen.back().msg, 0x464u);
  EXPECT_EQ(h2.seen.back().wParam, uintptr_t(ABN_POSCHANGED));
  // The second top bar is pushed below the first one.
  d2.rect = {0, 0, 1024, 768};
  Shell().AppBarMessage(ABM_QUERYPOS, d2);
  EXPECT_EQ(d2.rect, (Rect{0, 40, 1024, 738}));
  // One autohide bar per edge.
  d1.lParam = 1;
  d2.lParam = 1;
  d1.edge = d2.edge = 0;
  EXPECT_EQ(Shell().AppBarMessage(ABM_SETAUTOHIDEBAR, d1), 1u);
  EXPECT_EQ(Shell().AppBarMessage(ABM_SETAUTOHIDEBAR, d2), 0u);
  EXPECT_EQ(Shell().AppBarMessage(ABM_GETAUTOHIDEBAR, d2), w1->Id());
  Shell().AppBarMessage(ABM_REMOVE, d1);
  EXPECT_EQ(Shell().AppBarMessage(ABM_GETAUTOHIDEBAR, d2), 0u);
  EXPECT_EQ(hp.Shell().PrimaryWorkArea(), (Rect{0, 0, 1024, 738}));
}

TEST(HostDialogs, ScriptedAnswersAndRecordedBoxes) {
  HostPlatform hp;
  hp.Dialogs().answers.push_back(IDNO);
  EXPECT_EQ(Dialogs().MessageBox("Sicuro?", "Tovira", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(Dialogs().MessageBox("Fatto", "Tovira", MB_OK), IDOK);
  ASSERT_EQ(hp.Dialogs().shown.size(), 2u);
  EXPECT_EQ(hp.Dialogs().shown[0].text, "Sicuro?");
  EXPECT_EQ(hp.Dialogs().shown[1].style, uint32_t(MB_OK));
}

}  // namespace
}  // namespace tov::host
