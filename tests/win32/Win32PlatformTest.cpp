// The Win32 layer against the real system (run under Wine in CI).
#include <gtest/gtest.h>

#include <stdexcept>

#include "docking/AppBar.h"
#include "docking/MonitorList.h"
#include "files/FileHelpers.h"
#include "files/ProgramFolders.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Windows.h"
#include "platform/win32/WinApi.h"

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

// What the icons of a start ask of each target: the entry's own attributes
// (as its folder's listing gives them, without listing it), the time of a
// file (one another program holds open without sharing too), and whether
// its drive is a disk of this machine.
TEST(Win32Files, AnEntryIsLookedAtWithoutListingItsFolder) {
  win32::Win32Platform wp;
  const std::string dir = UserAppDataSubDir("Win32EntryTest");
  ASSERT_TRUE(Files().WriteFile(dir + "vista.txt", "x"));
  ASSERT_TRUE(Files().WriteFile(dir + "nascosto.txt", "x"));
  ASSERT_TRUE(SetFileAttributesA((dir + "nascosto.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
  for (const char* name : {"vista.txt", "nascosto.txt"}) {
    uint32_t attributes = 0;
    ASSERT_TRUE(Files().EntryAttributes(dir + name, &attributes)) << name;
    EXPECT_EQ(attributes, Files().FindFiles(dir + name).at(0).attributes) << name;
  }
  uint32_t attributes = 0;
  ASSERT_TRUE(Files().EntryAttributes(dir.substr(0, dir.size() - 1), &attributes));
  EXPECT_TRUE(attributes & kAttrDirectory);
  EXPECT_FALSE(Files().EntryAttributes(dir + "manca.txt", &attributes));
  EXPECT_FALSE(Files().EntryAttributes(dir + "*.txt", &attributes));

  DateTime before, held;
  ASSERT_TRUE(Files().LastWriteTime(dir + "vista.txt", &before));
  HANDLE locked = CreateFileA((dir + "vista.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(Files().LastWriteTime(dir + "vista.txt", &held));
  EXPECT_EQ(held.year, before.year);
  EXPECT_EQ(held.second, before.second);
  CloseHandle(locked);
  EXPECT_FALSE(Files().LastWriteTime(dir, &held));  // a folder has no file time here

  EXPECT_TRUE(Files().OnLocalDisk(dir));
  EXPECT_TRUE(Files().OnLocalDisk("c:\\x"));  // the same letter, asked again at once
  EXPECT_FALSE(Files().OnLocalDisk("\\\\server\\share\\x"));
  EXPECT_FALSE(Files().OnLocalDisk("?:\\x"));
  for (const char* name : {"vista.txt", "nascosto.txt"})
    EXPECT_TRUE(Files().DeleteFile(dir + name));
  EXPECT_TRUE(Files().RemoveDir(dir));
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
