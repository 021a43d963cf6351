#include "tests/win32/SystemProfile.h"

#include <windows.h>

namespace tov::testing {

uint32_t SystemGetProfileString(const char* section, const char* key, const char* def, char* buf, uint32_t size,
                                const std::string& path) {
  return GetPrivateProfileStringA(section, key, def, buf, size, path.c_str());
}

bool SystemWriteProfileString(const char* section, const char* key, const char* value, const std::string& path) {
  return WritePrivateProfileStringA(section, key, value, path.c_str()) != FALSE;
}

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

unsigned SystemAnsiCodePage() { return GetACP(); }

std::string MakeTempFolder(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string dir = std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

void RemoveFileAndFolder(const std::string& file, const std::string& folder) {
  if (!file.empty()) DeleteFileA(file.c_str());
  if (!folder.empty()) RemoveDirectoryA(folder.c_str());
}

}  // namespace tov::testing
