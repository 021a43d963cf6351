// Program folders, special folders, file names and listings.
#include <gtest/gtest.h>

#include <chrono>

#include "files/FileHelpers.h"
#include "files/ProgramFolders.h"
#include "platform/host/HostFileSystem.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostSystem.h"

namespace tov {
namespace {

TEST(FileNames, ExtensionsAndForbiddenCharacters) {
  EXPECT_EQ(FileNameWithoutExt("C:\\a\\b.c.lnk"), "b.c");
  EXPECT_EQ(FileNameWithoutExt("C:\\a\\nome"), "nome");
  EXPECT_EQ(FileNameWithoutExt("C:\\a\\nome."), "nome");
  EXPECT_EQ(FileNameWithoutExt("D:file.txt"), "file");
  EXPECT_EQ(FileNameWithoutExt("C:\\a.b\\senza"), "senza");
  EXPECT_EQ(ForbiddenCharPos("nome piano"), 0);
  EXPECT_EQ(ForbiddenCharPos("a?b"), 2);
  // The backslash is looked for first, wherever the colon stands.
  EXPECT_EQ(ForbiddenCharPos("a:b\\c"), 4);
  EXPECT_EQ(ForbiddenCharPos("x<y>\""), 5);
}

TEST(FileNames, AFileIsInItsFolderWhateverTheCaseAndTrailingBackslashes) {
  EXPECT_TRUE(IsFileInFolder("C:\\Dati\\a.txt", "c:\\DATI"));
  EXPECT_TRUE(IsFileInFolder("C:\\Dati\\a.txt", "C:\\Dati\\\\"));
  EXPECT_TRUE(IsFileInFolder("C:\\Citt\u00E0\\a.txt", "C:\\CITT\u00C0\\"));
  // A drive's root, with or without its backslash.
  EXPECT_TRUE(IsFileInFolder("C:\\a.txt", "C:\\"));
  EXPECT_TRUE(IsFileInFolder("C:\\a.txt", "c:"));
  EXPECT_FALSE(IsFileInFolder("C:\\a.txt", "D:\\"));
  EXPECT_TRUE(IsFileInFolder("\\\\pc\\dati\\a.txt", "\\\\PC\\Dati\\"));
  // Only directly: neither a sub-folder nor the folder above, nor a name that begins alike.
  EXPECT_FALSE(IsFileInFolder("C:\\Dati\\Sub\\a.txt", "C:\\Dati"));
  EXPECT_FALSE(IsFileInFolder("C:\\Dati\\a.txt", "C:\\Dati\\Sub"));
  EXPECT_FALSE(IsFileInFolder("C:\\Dati2\\a.txt", "C:\\Dati"));
  // A bare name or an empty folder is in no folder.
  EXPECT_FALSE(IsFileInFolder("a.txt", ""));
  EXPECT_FALSE(IsFileInFolder("\\a.txt", ""));
  EXPECT_FALSE(IsFileInFolder("C:\\Dati\\a.txt", ""));
}

TEST(FileNames, AFolderWrittenWithItsClosingBackslashIsNamedWithout) {
  EXPECT_EQ(WithoutClosingBackslash("C:\\Dati\\"), "C:\\Dati");
  EXPECT_EQ(WithoutClosingBackslash("\\\\pc\\dati\\"), "\\\\pc\\dati");
  EXPECT_EQ(WithoutClosingBackslash("C:\\Dati\\a.txt"), "C:\\Dati\\a.txt");
  // A drive's root is named only with it.
  EXPECT_EQ(WithoutClosingBackslash("C:\\"), "C:\\");
  EXPECT_EQ(WithoutClosingBackslash("C:"), "C:");
  EXPECT_EQ(WithoutClosingBackslash(""), "");
}

TEST(FileNames, DateStampsAreNeverPadded) {
  EXPECT_EQ(DateStampText(DateTime{2012, 2, 27}, true), "2012_2_27");
  EXPECT_EQ(DateStampText(DateTime{2012, 2, 27}, false), "27_2_2012");
  EXPECT_EQ(DateStampText(DateTime{2012, 1, 5}, true), "2012_1_5");
}

TEST(ProgramFolders, SubFoldersAreCreatedOnDemand) {
  host::HostPlatform hp;
  EXPECT_EQ(AppDir(), "C:\\Programmi\\Tovira\\");
  EXPECT_FALSE(Files().DirExists("C:\\Programmi\\Tovira\\Config"));
  EXPECT_EQ(AppSubDir("Config"), "C:\\Programmi\\Tovira\\Config\\");
  EXPECT_TRUE(Files().DirExists("C:\\Programmi\\Tovira\\Config"));
  ASSERT_TRUE(Files().WriteFile("C:\\Programmi\\Tovira\\Config\\x.ini", "k"));
  EXPECT_EQ(AppSubDir("Config"), "C:\\Programmi\\Tovira\\Config\\");
  EXPECT_TRUE(Files().FileExists("C:\\Programmi\\Tovira\\Config\\x.ini"));
  EXPECT_EQ(UserAppDataDir(), "C:\\Users\\utente\\AppData\\Roaming\\tovira\\");
  EXPECT_EQ(UserAppDataSubDir("Debug"), "C:\\Users\\utente\\AppData\\Roaming\\tovira\\Debug\\");
  EXPECT_TRUE(Files().DirExists("C:\\Users\\utente\\AppData\\Roaming\\tovira\\Debug"));
  EXPECT_EQ(SharedAppDataDir(), "C:\\ProgramData\\tovira\\");
}

TEST(ProgramFolders, FailedSpecialFolderLookupGivesRootedPaths) {
  host::HostPlatform hp;
  hp.System().specialFolders.erase(CSIDL_APPDATA);
  StructSysPathInfo info = SpecialFolderInfo(CSIDL_APPDATA);
  EXPECT_EQ(info.path, "");
  EXPECT_EQ(info.iconIndex, 0);
  EXPECT_EQ(info.idList, 0u);
  EXPECT_EQ(UserAppDataDir(), "\\tovira\\");
  StructSysPathInfo shared = SpecialFolderInfo(CSIDL_COMMON_APPDATA);
  EXPECT_EQ(shared.path, "C:\\ProgramData");
  EXPECT_NE(shared.openIconIndex, shared.iconIndex);
}

TEST(Listings, FolderPartIsKeptAndMissingFoldersGiveNothing) {
  host::HostPlatform hp;
  ASSERT_TRUE(ForceDirectories(Files(), "C:\\L\\sub"));
  ASSERT_TRUE(Files().WriteFile("C:\\L\\b.lnk", ""));
  ASSERT_TRUE(Files().WriteFile("C:\\L\\a.lnk", ""));
  ASSERT_TRUE(Files().WriteFile("C:\\L\\c.txt", ""));
  EXPECT_EQ(ListFiles("C:\\L\\*.lnk"), (std::vector<std::string>{"C:\\L\\a.lnk", "C:\\L\\b.lnk"}));
  EXPECT_EQ(ListFiles("C:\\L\\*").size(), 6u);  // . .. a b c sub
  EXPECT_TRUE(ListFiles("C:\\Nessuna\\*.*").empty());
  EXPECT_TRUE(ListFiles("C:\\L\\*.exe").empty());
}

TEST(FileDates, EvenSecondsInTheLocaleFormatAndEmptyWhenUnreadable) {
  host::HostPlatform hp;
  ASSERT_TRUE(Files().WriteFile("C:\\f.txt", "x"));
  auto p = hp.HostPath("C:\\f.txt");
  // 27 February 2012, 13:04:07 (the host's local time is UTC).
  std::chrono::sys_seconds when{std::chrono::seconds{1330347847}};
  std::filesystem::last_write_time(p, std::chrono::file_clock::from_sys(when));
  EXPECT_EQ(FileDateTimeText("C:\\f.txt"), "27/02/2012 13:04:06");
  EXPECT_EQ(FileDateTimeText("C:\\manca.txt"), "");
}

TEST(ImageLists, OnlyTheTwoExactKindsGiveAList) {
  host::HostPlatform hp;
  auto large = SystemImageList("LARGE");
  auto small = SystemImageList("SMALL");
  ASSERT_TRUE(large && small);
  EXPECT_FALSE(large->small);
  EXPECT_TRUE(small->small);
  EXPECT_NE(large->handle, small->handle);
  EXPECT_TRUE(small->shareImages && small->masked);
  EXPECT_EQ(SystemImageList("large"), nullptr);
  EXPECT_EQ(SystemImageList("MEDIUM"), nullptr);
}

}  // namespace
}  // namespace tov
