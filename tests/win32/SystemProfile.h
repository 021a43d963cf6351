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
// The folder of the running test executable (where the build puts every
// program), ending with "\".
std::string BuildFolder();
// A fresh folder in the system's temporary folder, ending with "\".
std::string MakeTempFolder(const std::string& name);
void RemoveFileAndFolder(const std::string& file, const std::string& folder);

// The system's conversions of code page 1252 (whatever the ANSI code page).
std::u16string SystemCp1252ToUtf16(const std::string& text);
std::string SystemUtf16ToCp1252(const std::u16string& text);
std::u16string SystemUtf8ToUtf16(const std::string& text);
std::string SystemUtf16ToUtf8(const std::u16string& text);
// The system's ordinal comparison that ignores case (CompareStringOrdinal),
// over UTF-8 texts; the uppercase of one UTF-16 unit it applies.
bool SystemSameOrdinalIgnoringCase(const std::string& a, const std::string& b);
char16_t SystemUpcaseUnit(char16_t unit);

// How the system matches a name spelt `stored` when asked for as `asked`
// (UTF-8 texts, passed to the wide calls). Files: `stored` is created
// in dir (an ASCII path), then opened (CreateFileW) and listed
// (FindFirstFileW) as `asked`, and removed.
struct SystemFileAnswer {
  bool created = false;
  bool opened = false;
  bool listed = false;
  std::string listedName;
};
SystemFileAnswer SystemFileLookup(const std::string& dir, const std::string& stored, const std::string& asked);
// Registry: HKEY_CURRENT_USER\parent\stored with a value named `stored` is
// created, the key opened as parent\asked and the value read as `asked`;
// then the key is deleted. False in *created when the key could not be made.
void SystemRegistryLookup(const std::string& parent, const std::string& stored, const std::string& asked, bool* created,
                          bool* keyFound, bool* valueFound);
// INI: the file at path (an ASCII path) holds "[stored]" and "stored=v", in
// the ANSI code page (UTF-8 here) or in UTF-16; the answer of GetPrivateProfileStringW for
// section and key `asked` with the default "d".
std::string SystemIniLookup(const std::string& path, const std::string& stored, const std::string& asked, bool utf16);

}  // namespace tov::testing
