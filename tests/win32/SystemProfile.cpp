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

std::string BuildFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p = path;
  return p.substr(0, p.find_last_of('\\') + 1);
}

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

std::u16string SystemCp1252ToUtf16(const std::string& text) {
  if (text.empty()) return {};
  std::wstring w(text.size() * 2, L'\0');
  int n = MultiByteToWideChar(1252, 0, text.data(), int(text.size()), w.data(), int(w.size()));
  return std::u16string(reinterpret_cast<const char16_t*>(w.data()), size_t(n > 0 ? n : 0));
}

std::string SystemUtf16ToCp1252(const std::u16string& text) {
  if (text.empty()) return {};
  std::string out(text.size() * 2, '\0');
  int n = WideCharToMultiByte(1252, 0, reinterpret_cast<const wchar_t*>(text.data()), int(text.size()), out.data(),
                              int(out.size()), nullptr, nullptr);
  out.resize(size_t(n > 0 ? n : 0));
  return out;
}

std::u16string SystemUtf8ToUtf16(const std::string& text) {
  if (text.empty()) return {};
  std::wstring w(text.size() * 2, L'\0');
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), w.data(), int(w.size()));
  return std::u16string(reinterpret_cast<const char16_t*>(w.data()), size_t(n > 0 ? n : 0));
}

std::string SystemUtf16ToUtf8(const std::u16string& text) {
  if (text.empty()) return {};
  std::string out(text.size() * 4, '\0');
  int n = WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t*>(text.data()), int(text.size()), out.data(),
                              int(out.size()), nullptr, nullptr);
  out.resize(size_t(n > 0 ? n : 0));
  return out;
}

bool SystemSameOrdinalIgnoringCase(const std::string& a, const std::string& b) {
  const std::u16string x = SystemUtf8ToUtf16(a), y = SystemUtf8ToUtf16(b);
  return CompareStringOrdinal(reinterpret_cast<const wchar_t*>(x.data()), int(x.size()),
                              reinterpret_cast<const wchar_t*>(y.data()), int(y.size()), TRUE) == CSTR_EQUAL;
}

char16_t SystemUpcaseUnit(char16_t unit) {
  using Upcase = WCHAR(WINAPI*)(WCHAR);
  static const auto upcase = reinterpret_cast<Upcase>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlUpcaseUnicodeChar")));
  return upcase ? char16_t(upcase(WCHAR(unit))) : unit;
}

namespace {

std::wstring Wide(const std::string& utf8) {
  std::u16string u = SystemUtf8ToUtf16(utf8);
  return std::wstring(u.begin(), u.end());
}

}  // namespace

SystemFileAnswer SystemFileLookup(const std::string& dir, const std::string& stored, const std::string& asked) {
  SystemFileAnswer a;
  const std::wstring made = Wide(dir + stored), wanted = Wide(dir + asked);
  HANDLE h = CreateFileW(made.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return a;
  a.created = true;
  CloseHandle(h);
  h = CreateFileW(wanted.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    a.opened = true;
    CloseHandle(h);
  }
  WIN32_FIND_DATAW fd;
  h = FindFirstFileW(wanted.c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    a.listed = true;
    a.listedName = SystemUtf16ToUtf8(reinterpret_cast<const char16_t*>(fd.cFileName));
    FindClose(h);
  }
  DeleteFileW(made.c_str());
  return a;
}

void SystemRegistryLookup(const std::string& parent, const std::string& stored, const std::string& asked, bool* created,
                          bool* keyFound, bool* valueFound) {
  *created = *keyFound = *valueFound = false;
  const std::wstring made = Wide(parent + "\\" + stored), wanted = Wide(parent + "\\" + asked);
  const std::wstring valueName = Wide(stored), askedValue = Wide(asked);
  HKEY key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, made.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  *created = RegSetValueExW(key, valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(L"v"), 4) == ERROR_SUCCESS;
  RegCloseKey(key);
  if (RegOpenKeyExW(HKEY_CURRENT_USER, wanted.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
    *keyFound = true;
    RegCloseKey(key);
  }
  if (RegOpenKeyExW(HKEY_CURRENT_USER, made.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
    *valueFound = RegQueryValueExW(key, askedValue.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
  }
  RegDeleteKeyW(HKEY_CURRENT_USER, made.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, Wide(parent).c_str());
}

std::string SystemIniLookup(const std::string& path, const std::string& stored, const std::string& asked, bool utf16) {
  const std::wstring text = Wide("[" + stored + "]\r\n" + stored + "=v\r\n");
  std::string bytes;
  if (utf16) {
    bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  } else {
    bytes.resize(text.size() * 4);
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), bytes.data(), int(bytes.size()), nullptr,
                                nullptr);
    bytes.resize(size_t(n > 0 ? n : 0));
  }
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "(file not written)";
  DWORD written = 0;
  WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(h);
  const std::wstring name = Wide(asked), file = Wide(path);
  wchar_t buf[64];
  GetPrivateProfileStringW(name.c_str(), name.c_str(), L"d", buf, 64, file.c_str());
  DeleteFileA(path.c_str());
  return SystemUtf16ToUtf8(reinterpret_cast<const char16_t*>(buf));
}

}  // namespace tov::testing
