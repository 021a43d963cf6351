#include "files/ProgramFolders.h"

#include "files/FileHelpers.h"
#include "platform/Platform.h"

namespace tov {

namespace {

std::string Created(const std::string& path) {
  // A folder that cannot be created is still answered: the caller's first
  // write into it fails in its own way.
  ForceDirectories(Files(), path);
  return path;
}

std::string ExeBaseName() { return FileNameWithoutExt(Files().ExePath()); }

}  // namespace

std::string AppDir() {
  std::string exe = Files().ExePath();
  size_t cut = exe.find_last_of("\\:");
  return cut == std::string::npos ? std::string() : exe.substr(0, cut + 1);
}

std::string AppSubDir(const std::string& name) { return Created(AppDir() + name + "\\"); }

StructSysPathInfo SpecialFolderInfo(int id) {
  StructSysPathInfo info;
  std::string path;
  if (!System().SpecialFolderPath(id, &path)) return info;
  info.path = path;
  info.iconIndex = Shell().IconIndex(path, kIconLarge);
  info.openIconIndex = Shell().IconIndex(path, kIconLarge | kIconOpen);
  info.idList = uintptr_t(id) + 1;
  return info;
}

std::string SpecialFolderPath(int id) {
  std::string path;
  return System().SpecialFolderPath(id, &path) ? path : std::string();
}

std::string UserAppDataDir() { return Created(SpecialFolderPath(CSIDL_APPDATA) + "\\" + ExeBaseName() + "\\"); }

std::string UserAppDataSubDir(const std::string& name) {
  return Created(SpecialFolderPath(CSIDL_APPDATA) + "\\" + ExeBaseName() + "\\" + name + "\\");
}

std::string SharedAppDataDir() {
  return Created(SpecialFolderPath(CSIDL_COMMON_APPDATA) + "\\" + ExeBaseName() + "\\");
}

std::unique_ptr<TImageList> SystemImageList(const std::string& kind) {
  bool small;
  if (kind == "LARGE")
    small = false;
  else if (kind == "SMALL")
    small = true;
  else
    return nullptr;
  uintptr_t handle = Shell().SystemImageList(small);
  if (!handle) return nullptr;
  auto list = std::make_unique<TImageList>();
  list->handle = handle;
  list->small = small;
  return list;
}

}  // namespace tov
