// The program folder and its sub-folders, the shell's special folders and its
// system image lists. Sub-folder functions return a path ending with "\" and
// create the folder (with every missing parent) when it does not exist.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace tov {

// The result of a special-folder lookup.
struct StructSysPathInfo {
  std::string path;    // empty when the lookup fails
  std::string second;  // left empty by the lookup
  int32_t iconIndex = 0;
  int32_t openIconIndex = 0;
  uintptr_t idList = 0;  // the shell's item identifier list; not released
};

// A view of the shell's system image list: it shares the shell's images and
// never destroys them; drawn masked.
struct TImageList {
  uintptr_t handle = 0;
  bool small = false;
  bool shareImages = true;
  bool masked = true;
};

std::string AppDir();
std::string AppSubDir(const std::string& name);
StructSysPathInfo SpecialFolderInfo(int id);
// The path alone (empty when the lookup fails): asks the shell for no icon.
std::string SpecialFolderPath(int id);
std::string UserAppDataDir();
std::string UserAppDataSubDir(const std::string& name);
std::string SharedAppDataDir();

// "LARGE" or "SMALL" (exact spelling); any other kind gives none.
std::unique_ptr<TImageList> SystemImageList(const std::string& kind);

}  // namespace tov
