// The user data folder and the two settings stores. One setting of the
// program folder's start-up store ("Avvio"/"UserDir") says where the user's
// data lies: "<UserAppData>" (the default: the user's application data),
// "<SharedAppData>" (the application data of all users), "<AppDir>" (the
// program folder's "User" folder) or any folder written literally. Every
// other setting lives in the user store inside that folder.
#pragma once
#include <memory>
#include <string>

#include "settings/SettingsStore.h"

namespace tov {

// The name both stores are opened with.
constexpr const char* kStoreName = "Brenvoll\\Tovira";

// The two stores for as long as the program runs: the program's start-up
// makes them (before the bar, which is handed them) and frees them after it.
// Making them creates the start-up store, resolves the user data folder,
// creates the key file and the user store; they are freed the start-up
// store first.
class TSettingsStores {
 public:
  explicit TSettingsStores(const std::string& storeName = kStoreName);
  ~TSettingsStores();
  TSettingsStores(const TSettingsStores&) = delete;
  TSettingsStores& operator=(const TSettingsStores&) = delete;

  TSettingsStore& User() { return *user_; }  // the settings of the bar
  TSettingsStore& App() { return *app_; }    // the start-up store ("Avvio")
  // The user data folder the stores were opened in.
  const std::string& DataDir() const { return dataDir_; }

 private:
  std::unique_ptr<TSettingsStore> app_;
  std::string dataDir_;
  std::unique_ptr<TSettingsStore> user_;
};

// The folder a "UserDir" text names, ending with "\" (folders of the shell are
// created). A relative literal folder lies in the program folder. An empty
// text, or a shell folder that cannot be found, gives the program folder's
// "User" folder.
std::string ResolveUserDataDir(const std::string& userDir);

// The user data folder, created when missing: the folder of the stores
// while they are open, else resolved anew from the start-up store. This is
// the one value of the settings found without being handed down: the tables,
// the icon cache, the themes and the error reports keep their files there
// from deep inside, and it is fixed for as long as the stores are open.
std::string UserDataDir();
// UserDataDir() + name + "\", created when missing.
std::string UserSubDir(const std::string& name);
std::string UserTempDir();  // UserSubDir("Temp")
// UserDataDir() + "Support.dat", the key file of protected values, created
// with random contents when missing (an existing file is never rewritten).
std::string SupportFilePath();

}  // namespace tov
