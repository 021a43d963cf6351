// The user data folder, its modes, the key file and the two stores.
#include <gtest/gtest.h>

#include <memory>

#include "platform/host/HostFileSystem.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostSystem.h"
#include "settings/IniFile.h"
#include "settings/UserData.h"

namespace tov {
namespace {

const char kStartup[] = "C:\\Programmi\\Tovira\\Config\\Brenvoll\\Tovira.ini";

class UserDataTest : public ::testing::Test {
 protected:
  void SetUserDir(const std::string& v) {
    ASSERT_TRUE(ForceDirectories(Files(), "C:\\Programmi\\Tovira\\Config\\Brenvoll"));
    ASSERT_TRUE(IniWriteString("Avvio", "UserDir", v.c_str(), kStartup));
  }
  host::HostPlatform hp;
  std::unique_ptr<TSettingsStores> stores;  // as the program's start opens them
};

TEST_F(UserDataTest, DefaultModeIsTheUsersApplicationData) {
  stores = std::make_unique<TSettingsStores>(kStoreName);
  EXPECT_EQ(UserDataDir(), "C:\\Users\\utente\\AppData\\Roaming\\tovira\\");
  EXPECT_TRUE(Files().DirExists("C:\\Users\\utente\\AppData\\Roaming\\tovira\\Config"));
  EXPECT_EQ(stores->User().KeyFilePath(), "C:\\Users\\utente\\AppData\\Roaming\\tovira\\Support.dat");
  EXPECT_EQ(stores->User().ConfigFolder(), "C:\\Users\\utente\\AppData\\Roaming\\tovira\\Config\\");
  EXPECT_EQ(stores->App().ConfigFolder(), "C:\\Programmi\\Tovira\\Config\\");
  EXPECT_EQ(stores->App().KeyFilePath(), "");
  EXPECT_EQ(UserTempDir(), "C:\\Users\\utente\\AppData\\Roaming\\tovira\\Temp\\");
  // Renaming the executable moves the folder.
  stores.reset();
  hp.Files().SetExePath("C:\\Programmi\\Tovira\\Barra.exe");
  EXPECT_EQ(UserDataDir(), "C:\\Users\\utente\\AppData\\Roaming\\Barra\\");
}

TEST_F(UserDataTest, ModesIgnoreCaseAndLiteralFoldersGetTheirSeparator) {
  SetUserDir("<sharedappdata>");
  stores = std::make_unique<TSettingsStores>(kStoreName);
  EXPECT_EQ(UserDataDir(), "C:\\ProgramData\\tovira\\");
  stores.reset();
  SetUserDir("<AppDir>");
  stores = std::make_unique<TSettingsStores>(kStoreName);
  EXPECT_EQ(UserDataDir(), "C:\\Programmi\\Tovira\\User\\");
  EXPECT_TRUE(Files().FileExists("C:\\Programmi\\Tovira\\User\\Support.dat"));
  stores.reset();
  SetUserDir("C:\\Dati\\Mia");
  stores = std::make_unique<TSettingsStores>(kStoreName);
  EXPECT_EQ(UserDataDir(), "C:\\Dati\\Mia\\");
  EXPECT_EQ(UserSubDir("Config"), "C:\\Dati\\Mia\\Config\\");
  EXPECT_TRUE(Files().DirExists("C:\\Dati\\Mia\\Config"));
  EXPECT_EQ(ResolveUserDataDir("C:\\Dati\\Mia\\"), "C:\\Dati\\Mia\\");
  EXPECT_EQ(ResolveUserDataDir(""), "C:\\Programmi\\Tovira\\User\\");
  EXPECT_EQ(ResolveUserDataDir(" Dati "), "C:\\Programmi\\Tovira\\Dati\\");
  EXPECT_EQ(ResolveUserDataDir("\\\\server\\share"), "\\\\server\\share\\");
}

TEST_F(UserDataTest, AMissingShellFolderFallsBackOnTheProgramFolder) {
  hp.System().specialFolders.erase(26);
  EXPECT_EQ(ResolveUserDataDir("<UserAppData>"), "C:\\Programmi\\Tovira\\User\\");
}

TEST_F(UserDataTest, KeyFileIsRandomWithinItsRangesAndNeverRewritten) {
  std::string path = SupportFilePath();
  std::string bytes;
  ASSERT_TRUE(Files().ReadFile(path, &bytes));
  ASSERT_EQ(bytes.size() % 4, 0u);
  EXPECT_GE(bytes.size(), 1024u * 4);
  EXPECT_LE(bytes.size(), 1535u * 4);
  for (size_t i = 0; i < bytes.size(); i += 4) {
    uint32_t v = 0;
    for (int b = 0; b < 4; ++b)
      v |= uint32_t(static_cast<unsigned char>(bytes[i + b])) << (8 * b);
    ASSERT_GE(v, 50u);
    ASSERT_LE(v, 23703u);
  }
  EXPECT_EQ(SupportFilePath(), path);
  std::string again;
  ASSERT_TRUE(Files().ReadFile(path, &again));
  EXPECT_EQ(again, bytes);
  // A new file after deletion differs.
  ASSERT_TRUE(Files().DeleteFile(path));
  SupportFilePath();
  ASSERT_TRUE(Files().ReadFile(path, &again));
  EXPECT_NE(again, bytes);
}

TEST_F(UserDataTest, UserSubDirOfAnExistingFolderCreatesNothing) {
  std::string dir = UserSubDir("Themes");
  ASSERT_TRUE(Files().WriteFile(dir + "a.theme", "x"));
  EXPECT_EQ(UserSubDir("Themes"), dir);
  EXPECT_TRUE(Files().FileExists(dir + "a.theme"));
}

TEST_F(UserDataTest, ProtectedValuesDependOnTheFoldersKeyFile) {
  stores = std::make_unique<TSettingsStores>(kStoreName);
  ASSERT_TRUE(stores->User().SetCryptedString("Account", "Password", "segreta"));
  std::string stored = stores->User().GetString("Account", "Password", "");
  EXPECT_EQ(stored.size(), 28u);
  EXPECT_EQ(stores->User().GetCryptedString("Account", "Password", ""), "segreta");
  // Another user data folder has another key file.
  stores.reset();
  SetUserDir("<AppDir>");
  stores = std::make_unique<TSettingsStores>(kStoreName);
  ASSERT_TRUE(stores->User().SetCryptedString("Account", "Password", "segreta"));
  EXPECT_NE(stores->User().GetString("Account", "Password", ""), stored);
}

TEST_F(UserDataTest, TheFolderStaysTheStoresWhileTheyAreOpenAndIsResolvedAnewAfter) {
  stores = std::make_unique<TSettingsStores>(kStoreName);
  EXPECT_EQ(stores->DataDir(), "C:\\Users\\utente\\AppData\\Roaming\\tovira\\");
  // Another folder chosen while the program runs takes effect at its next start.
  SetUserDir("<AppDir>");
  EXPECT_EQ(UserDataDir(), stores->DataDir());
  EXPECT_EQ(UserSubDir("Themes"), "C:\\Users\\utente\\AppData\\Roaming\\tovira\\Themes\\");
  stores.reset();
  EXPECT_EQ(UserDataDir(), "C:\\Programmi\\Tovira\\User\\");
  // Two runs one after the other: the second's stores are in the new folder.
  stores = std::make_unique<TSettingsStores>(kStoreName);
  EXPECT_EQ(stores->User().ConfigFolder(), "C:\\Programmi\\Tovira\\User\\Config\\");
  EXPECT_EQ(UserDataDir(), "C:\\Programmi\\Tovira\\User\\");
}

}  // namespace
}  // namespace tov
