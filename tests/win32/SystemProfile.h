// The system's own profile functions and the few file calls the INI parity
// test needs, behind plain declarations (the seam headers and <windows.h>
// cannot share a translation unit).
#pragma once
#include <cstdint>
#include <string>

namespace tov::testing {

uint32_t SystemGetProfileString(const char* section, const char* key, const char* def, char* buf, uint32_t size,
                                const std::string& path);
bool SystemWriteProfileString(const char* section, const char* key, const char* value, const std::string& path);
bool RunningUnderWine();
unsigned SystemAnsiCodePage();
// A fresh folder in the system's temporary folder, ending with "\".
std::string MakeTempFolder(const std::string& name);
void RemoveFileAndFolder(const std::string& file, const std::string& folder);

}  // namespace tov::testing
