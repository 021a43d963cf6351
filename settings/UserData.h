// The user data folder and the two settings stores. One setting of the
// program folder's start-up store ("Avvio"/"UserDir") says where the user's
// data lies: "<UserAppData>" (the default: the user's application data),
// "<SharedAppData>" (the application data of all users), "<AppDir>" (the
// program folder's "User" folder) or any folder written literally. Every
// other setting lives in the user store inside that folder.
#pragma once
#include <string>

#include "settings/SettingsStore.h"

namespace tov {

// The name both stores are opened with.
constexpr const char* kStoreName = "Brenvoll\\Tovira";

// Creates the start-up store, resolves the user data folder, creates the key
// file and the user store. Runs again only after FreeSettings.
void InitSettings(const std::string& storeName);
// Destroys both stores, the start-up store first, and forgets the folder.
void FreeSettings();

// The folder a "UserDir" text names, ending with "\" (folders of the shell are
// created). A relative literal folder lies in the program folder. An empty
// text, or a shell folder that cannot be found, gives the program folder's
// "User" folder.
std::string ResolveUserDataDir(const std::string& userDir);

// The user data folder, created when missing. Resolved by InitSettings, or on
// first use with the program's store name.
std::string UserDataDir();
// UserDataDir() + name + "\", created when missing.
std::string UserSubDir(const std::string& name);
std::string UserTempDir();  // UserSubDir("Temp")
// UserDataDir() + "Support.dat", the key file of protected values, created
// with random contents when missing (an existing file is never rewritten).
std::string SupportFilePath();

// The user store (settings of the bar); the start-up store. Both are created
// with the program's store name when InitSettings has not run.
TSettingsStore& GetUserSettings();
TSettingsStore& GetAppSettings();

}  // namespace tov
