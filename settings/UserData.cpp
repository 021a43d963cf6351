#include "settings/UserData.h"

#include <chrono>
#include <memory>
#include <random>

#include "base/Casefold.h"
#include "base/Strings.h"
#include "files/FileHelpers.h"
#include "files/ProgramFolders.h"
#include "platform/Platform.h"

namespace tov {

namespace {

// The folder of the stores that are open (null: none are). Set and cleared
// only by TSettingsStores; see UserDataDir.
const std::string* g_openStoresDataDir = nullptr;

// The shell folder's sub-folder named after the executable, or "" when the
// shell does not know the folder.
std::string ShellDataDir(int csidl) {
  if (SpecialFolderPath(csidl).empty()) return std::string();
  return csidl == CSIDL_APPDATA ? UserAppDataDir() : SharedAppDataDir();
}

// A folder written literally, with its separator; a relative one lies in
// the program folder.
std::string LiteralDataDir(const std::string& dir) {
  bool absolute = dir[0] == '\\' || (dir.size() >= 2 && dir[1] == ':');
  return WithTrailingBackslash(absolute ? dir : AppDir() + dir);
}

std::string NewKeyFileBytes() {
  std::random_device device;
  auto now = std::chrono::system_clock::now().time_since_epoch().count();
  std::seed_seq seed{uint32_t(now), uint32_t(uint64_t(now) >> 32), device(), device()};
  std::mt19937 rng(seed);
  int n = std::uniform_int_distribution<int>(0, 511)(rng) + 1024;
  std::uniform_int_distribution<int> value(0, 23653);
  std::string bytes;
  bytes.reserve(size_t(n) * 4);
  for (int i = 0; i < n; ++i) {
    uint32_t v = uint32_t(value(rng) + 50);
    for (int b = 0; b < 4; ++b)
      bytes += char((v >> (8 * b)) & 0xFF);
  }
  return bytes;
}

}  // namespace

std::string ResolveUserDataDir(const std::string& userDir) {
  std::string mode = UpperCaseText(Trim(userDir));
  std::string dir;
  if (mode == "<USERAPPDATA>")
    dir = ShellDataDir(CSIDL_APPDATA);
  else if (mode == "<SHAREDAPPDATA>")
    dir = ShellDataDir(CSIDL_COMMON_APPDATA);
  else if (mode != "<APPDIR>" && !mode.empty())
    return LiteralDataDir(Trim(userDir));
  return dir.empty() ? AppSubDir("User") : dir;
}

TSettingsStores::TSettingsStores(const std::string& storeName)
    : app_(std::make_unique<TSettingsStore>(AppSubDir("Config"), storeName, "")),
      dataDir_(ResolveUserDataDir(app_->GetString("Avvio", "UserDir", "<UserAppData>"))) {
  g_openStoresDataDir = &dataDir_;
  const std::string keyFile = SupportFilePath();
  user_ = std::make_unique<TSettingsStore>(UserSubDir("Config"), storeName, keyFile);
}

TSettingsStores::~TSettingsStores() {
  app_.reset();
  user_.reset();
  if (g_openStoresDataDir == &dataDir_) g_openStoresDataDir = nullptr;
}

std::string UserDataDir() {
  std::string dir;
  if (g_openStoresDataDir) {
    dir = *g_openStoresDataDir;
  } else {
    TSettingsStore app(AppSubDir("Config"), kStoreName, "");
    dir = ResolveUserDataDir(app.GetString("Avvio", "UserDir", "<UserAppData>"));
  }
  ForceDirectories(Files(), dir);
  return dir;
}

std::string UserSubDir(const std::string& name) {
  std::string dir = UserDataDir() + name + "\\";
  ForceDirectories(Files(), dir);
  return dir;
}

std::string UserTempDir() { return UserSubDir("Temp"); }

std::string SupportFilePath() {
  std::string path = UserDataDir() + "Support.dat";
  if (!Files().FileExists(path)) WriteFileSafely(Files(), path, NewKeyFileBytes());
  return path;
}

}  // namespace tov
