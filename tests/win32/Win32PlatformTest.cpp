// The Win32 layer against the real system (run under Wine in CI).
#include <gtest/gtest.h>

#include <stdexcept>

#include "docking/AppBar.h"
#include "docking/MonitorList.h"
#include "files/FileHelpers.h"
#include "files/ProgramFolders.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Windows.h"

namespace tov {
namespace {

const char* kTestKey = "Software\\Brenvoll\\ToviraTest";

TEST(Win32Registry, DockingRecordRoundTripsThroughTheRealRegistry) {
  win32::Win32Platform wp;
  {
    TAppBar bar;
    bar.SetKeyName(kTestKey);
    bar.Settings().Edge = abeLeft;
    bar.Settings().FloatLeft = 10;
    bar.Settings().FloatRight = 210;
    bar.Settings().FloatTop = 20;
    bar.Settings().FloatBottom = 120;
    bar.Settings().pad1 = {1, 2, 3};
    ASSERT_TRUE(bar.SaveSettings());
  }
  RegValue v;
  ASSERT_TRUE(Registry().ReadValue(kTestKey, "", &v));
  EXPECT_EQ(v.type, RegType::Binary);
  ASSERT_EQ(v.data.size(), 88u);
  EXPECT_EQ(v.data[36], 210);  // the right edge follows the left one
  EXPECT_EQ(v.data[9], 1);
  TAppBar again;
  again.SetKeyName(kTestKey);
  ASSERT_TRUE(again.LoadSettings());
  EXPECT_EQ(again.Settings().Edge, abeLeft);
  EXPECT_EQ(again.Settings().FloatBottom, 120);
  // A string value where the record should be is an error.
  ASSERT_TRUE(Registry().WriteString(kTestKey, "", "nope"));
  EXPECT_THROW(again.LoadSettings(), std::runtime_error);
  ASSERT_TRUE(Registry().WriteString(kTestKey, "Nome", "\"C:\\x.exe\""));
  ASSERT_TRUE(Registry().ReadValue(kTestKey, "nome", &v));
  EXPECT_EQ(v.AsString(), "\"C:\\x.exe\"");
  EXPECT_TRUE(Registry().DeleteValue(kTestKey, "Nome"));
  EXPECT_FALSE(Registry().ReadValue(kTestKey, "Nome", &v));
  EXPECT_FALSE(Registry().KeyExists("Software\\Brenvoll\\ToviraTest\\Manca"));
}

TEST(Win32Monitors, TheMonitorsAreEnumeratedWithOnePrimary) {
  win32::Win32Platform wp;
  TMonitorList list;
  list.Load();
  ASSERT_GE(list.Count(), 1);
  int primaries = 0;
  for (int i = 0; i < list.Count(); ++i) {
    const TMonitorInfo* m = list.At(i);
    EXPECT_EQ(m->Number, i + 1);
    EXPECT_GT(m->MonitorRect.Width(), 0);
    EXPECT_FALSE(m->DeviceName.empty());
    if (m->Primary) {
      ++primaries;
      EXPECT_EQ(m->MonitorRect.Width(), System().GetSystemMetrics(SM_CXSCREEN));
      EXPECT_EQ(MonitorLabel(*m).back(), '*');
    }
  }
  EXPECT_EQ(primaries, 1);
  list.Free();
  EXPECT_EQ(list.Count(), 0);
}

TEST(Win32Files, FilesFoldersAndListings) {
  win32::Win32Platform wp;
  std::string dir = UserAppDataSubDir("Win32FilesTest");
  EXPECT_TRUE(Files().DirExists(dir));
  EXPECT_EQ(dir.back(), '\\');
  ASSERT_TRUE(WriteFileSafely(Files(), dir + "a.lnk", std::string("x\0y", 3)));
  ASSERT_TRUE(WriteFileSafely(Files(), dir + "a.lnk", "second"));
  std::string bytes;
  ASSERT_TRUE(Files().ReadFile(dir + "A.LNK", &bytes));
  EXPECT_EQ(bytes, "second");
  ASSERT_TRUE(Files().WriteFile(dir + "b.txt", ""));
  EXPECT_EQ(ListFiles(dir + "*.lnk"), std::vector<std::string>{dir + "a.lnk"});
  EXPECT_FALSE(FileDateTimeText(dir + "a.lnk").empty());
  EXPECT_EQ(FileDateTimeText(dir + "manca.lnk"), "");
  EXPECT_TRUE(Files().DeleteFile(dir + "a.lnk"));
  EXPECT_TRUE(Files().DeleteFile(dir + "b.txt"));
  EXPECT_TRUE(Files().RemoveDir(dir));
  EXPECT_NE(AppDir().find("tovira_wintests"), 0u);
  EXPECT_EQ(AppDir().back(), '\\');
}

TEST(Win32Shell, SystemImageListsAndIcons) {
  win32::Win32Platform wp;
  auto large = SystemImageList("LARGE");
  auto small = SystemImageList("SMALL");
  ASSERT_TRUE(large && small);
  EXPECT_NE(large->handle, 0u);
  EXPECT_EQ(SystemImageList("Large"), nullptr);
  EXPECT_GE(Shell().IconIndex(Files().ExePath(), kIconSmall), 0);
}

}  // namespace
}  // namespace tov
