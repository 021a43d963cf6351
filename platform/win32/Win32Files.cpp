#include "platform/win32/Win32Files.h"

#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Late.h"
#include "platform/win32/Win32Scoped.h"
#include "platform/win32/WinApi.h"

#include <shlobj.h>

namespace tov::win32 {

namespace {

DateTime FromSystemTime(const SYSTEMTIME& st) {
  return DateTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

SYSTEMTIME ToSystemTime(const DateTime& t) {
  SYSTEMTIME st{};
  st.wYear = WORD(t.year);
  st.wMonth = WORD(t.month);
  st.wDay = WORD(t.day);
  st.wHour = WORD(t.hour);
  st.wMinute = WORD(t.minute);
  st.wSecond = WORD(t.second);
  st.wMilliseconds = WORD(t.millisecond);
  return st;
}

// Every byte, in pieces the system takes at once.
bool WriteAll(HANDLE f, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = DWORD(std::min<size_t>(bytes.size() - done, 1 << 20)), wrote = 0;
    if (!::WriteFile(f, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) return false;
    done += wrote;
  }
  return true;
}

}  // namespace

// ---------------------------------------------------------------------- files

bool Win32FileSystem::FileExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::DirExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::CreateDir(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) || DirExists(path);
}

bool Win32FileSystem::RemoveDir(const std::string& path) { return RemoveDirectoryA(path.c_str()) != 0; }

bool Win32FileSystem::ReadFile(const std::string& path, std::string* bytes) {
  ScopedHandle f{CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (!f) return false;
  bytes->clear();
  char buf[65536];
  DWORD got = 0;
  for (;;) {
    if (!::ReadFile(f.Get(), buf, sizeof buf, &got, nullptr)) return false;
    if (got == 0) return true;
    bytes->append(buf, got);
  }
}

bool Win32FileSystem::WriteFile(const std::string& path, const std::string& bytes) {
  ScopedHandle f{CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (!f) return false;
  return WriteAll(f.Get(), bytes) && FlushFileBuffers(f.Get()) != 0;
}

bool Win32FileSystem::AppendFile(const std::string& path, const std::string& bytes) {
  // Appending only, shared: several programs may add to one file in turn.
  ScopedHandle f{CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr)};
  return f && WriteAll(f.Get(), bytes);
}

bool Win32FileSystem::DeleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool Win32FileSystem::MoveFile(const std::string& from, const std::string& to, bool replace) {
  DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
  return MoveFileExA(from.c_str(), to.c_str(), flags) != 0;
}

bool Win32FileSystem::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
  return CopyFileA(from.c_str(), to.c_str(), failIfExists) != 0;
}

std::vector<FindEntry> Win32FileSystem::FindFiles(const std::string& pattern) {
  std::vector<FindEntry> out;
  WIN32_FIND_DATAA d;
  ScopedFind h{FindFirstFileA(pattern.c_str(), &d)};
  if (!h) return out;
  do {
    FindEntry e;
    e.name = d.cFileName;
    e.attributes = d.dwFileAttributes;
    e.size = (uint64_t(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
    out.push_back(e);
  } while (FindNextFileA(h.Get(), &d));
  return out;
}

namespace {

FindEntry EntryOfData(const WIN32_FIND_DATAA& d) {
  FindEntry e;
  e.name = d.cFileName;
  e.attributes = d.dwFileAttributes;
  e.size = (uint64_t(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
  return e;
}

// FindFirstFile's handle kept open: each FindNextFile reads on from where
// the last one stopped; a folder that goes meanwhile ends the listing.
class Win32FileFind : public IFileFind {
 public:
  explicit Win32FileFind(const std::string& pattern) : handle_(FindFirstFileA(pattern.c_str(), &data_)) {
    have_ = bool(handle_);
  }
  bool Next(FindEntry* out) override {
    if (!have_) return false;
    *out = EntryOfData(data_);
    have_ = FindNextFileA(handle_.Get(), &data_) != 0;
    return true;
  }

 private:
  WIN32_FIND_DATAA data_{};
  ScopedFind handle_;
  bool have_ = false;
};

}  // namespace

std::unique_ptr<IFileFind> Win32FileSystem::StartFind(const std::string& pattern) {
  return std::make_unique<Win32FileFind>(pattern);
}

bool Win32FileSystem::OnLocalDisk(const std::string& path) {
  // By its drive letter's kind, which asks no server, not even for a share
  // mapped to a letter; a UNC path or one without a drive is not known to be
  // local. A letter's kind is asked again after a second (a letter may be
  // mapped anew): a bar of many buttons asks once.
  if (path.size() < 2 || path[1] != ':') return false;
  const char letter = char(path[0] & ~0x20);
  if (letter < 'A' || letter > 'Z') return false;
  constexpr uint64_t kKindKeptMs = 1000;
  const uint64_t now = GetTickCount64();
  DriveKind& drive = drives_[letter - 'A'];
  {
    std::lock_guard<std::mutex> lock(drivesLock_);
    if (drive.asked == 0 || now - drive.asked >= kKindKeptMs) {
      const char root[] = {letter, ':', '\\', '\0'};
      drive.kind = GetDriveTypeA(root);
      drive.asked = now == 0 ? 1 : now;
    }
    return drive.kind == DRIVE_FIXED || drive.kind == DRIVE_RAMDISK;
  }
}

bool Win32FileSystem::EntryAttributes(const std::string& path, uint32_t* attributes) {
  // The entry itself, without listing its folder (under Wine the server is
  // not asked).
  if (path.find_first_of("*?") != std::string::npos) return false;
  const DWORD a = GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return false;
  *attributes = uint32_t(a);
  return true;
}

bool Win32FileSystem::LastWriteTime(const std::string& path, DateTime* out) {
  // From the directory entry: no handle is opened (a file another program
  // holds locked has its time too), and under Wine the server is not asked.
  WIN32_FILE_ATTRIBUTE_DATA entry;
  FILETIME local;
  SYSTEMTIME st;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &entry) ||
      (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !FileTimeToLocalFileTime(&entry.ftLastWriteTime, &local) ||
      !FileTimeToSystemTime(&local, &st))
    return false;
  *out = FromSystemTime(st);
  return true;
}

std::string Win32FileSystem::ExePath() {
  char buf[MAX_PATH * 2];
  DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  return std::string(buf, n);
}

// ------------------------------------------------------------------- registry

bool Win32Registry::KeyExists(const std::string& key) {
  ScopedKey k;
  return RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, k.Put()) == ERROR_SUCCESS;
}

bool Win32Registry::CreateKey(const std::string& key) {
  ScopedKey k;
  return RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, k.Put(), nullptr) ==
         ERROR_SUCCESS;
}

bool Win32Registry::ReadValue(const std::string& key, const std::string& name, RegValue* out) {
  ScopedKey k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, k.Put()) != ERROR_SUCCESS) return false;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(k.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  std::vector<uint8_t> data(size);
  if (size && RegQueryValueExA(k.Get(), name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
    return false;
  data.resize(size);
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    while (!data.empty() && data.back() == 0)
      data.pop_back();
    out->type = RegType::String;
  } else {
    out->type = type == REG_BINARY ? RegType::Binary : RegType::Other;
  }
  out->data = std::move(data);
  return true;
}

bool Win32Registry::WriteString(const std::string& key, const std::string& name, const std::string& value) {
  ScopedKey k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_WRITE, k.Put()) != ERROR_SUCCESS) return false;
  return RegSetValueExA(k.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        DWORD(value.size() + 1)) == ERROR_SUCCESS;
}

bool Win32Registry::WriteBinary(const std::string& key, const std::string& name, const std::vector<uint8_t>& value) {
  ScopedKey k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_WRITE, k.Put()) != ERROR_SUCCESS) return false;
  return RegSetValueExA(k.Get(), name.c_str(), 0, REG_BINARY, value.data(), DWORD(value.size())) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(const std::string& key, const std::string& name) {
  ScopedKey k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_WRITE, k.Put()) != ERROR_SUCCESS) return false;
  return RegDeleteValueA(k.Get(), name.c_str()) == ERROR_SUCCESS;
}

// --------------------------------------------------------------------- system

int Win32System::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }
int Win32System::GetSystemMetricsForDpi(int index, int dpi) { return MetricForDpi(index, dpi); }

bool Win32System::HighContrast() {
  HIGHCONTRASTW hc{};
  hc.cbSize = sizeof hc;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

bool Win32System::DragFullWindows() {
  BOOL on = FALSE;
  SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &on, 0);
  return on != FALSE;
}

Rect Win32System::WorkArea() {
  RECT r{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
  return Rect{r.left, r.top, r.right, r.bottom};
}

bool Win32System::KeyDown(int vk) { return GetKeyState(vk) < 0; }
bool Win32System::AsyncKeyDown(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

Point Win32System::MessagePos() {
  DWORD p = GetMessagePos();
  return Point{int16_t(p & 0xFFFF), int16_t((p >> 16) & 0xFFFF)};
}

Point Win32System::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return Point{p.x, p.y};
}

uint32_t Win32System::TickCount() { return GetTickCount(); }
void Win32System::Sleep(uint32_t ms) { ::Sleep(ms); }

DateTime Win32System::Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return FromSystemTime(st);
}

bool Win32System::SpecialFolderPath(int csidl, std::string* path) {
  LPITEMIDLIST pidl = nullptr;
  if (SHGetSpecialFolderLocation(nullptr, csidl, &pidl) != S_OK || !pidl) return false;
  char buf[MAX_PATH + 1] = {};
  BOOL ok = SHGetPathFromIDListA(pidl, buf);
  CoTaskMemFree(pidl);
  if (!ok) return false;
  *path = buf;
  return true;
}

OsVersion Win32System::Version() {
  // GetVersionEx answers a program without a manifest (or one that names
  // older systems) with an older version; ntdll tells the truth.
  using RtlGetVersionFn = LONG(WINAPI*)(RTL_OSVERSIONINFOEXW*);
  auto getVersion = FunctionOf<RtlGetVersionFn>(GetModuleHandleA("ntdll.dll"), "RtlGetVersion");
  RTL_OSVERSIONINFOEXW rtl{};
  rtl.dwOSVersionInfoSize = sizeof rtl;
  if (getVersion && getVersion(&rtl) == 0) {
    char servicePack[256] = {};
    WideCharToMultiByte(CP_ACP, 0, rtl.szCSDVersion, -1, servicePack, sizeof servicePack, nullptr, nullptr);
    return OsVersion{rtl.dwPlatformId, rtl.dwMajorVersion, rtl.dwMinorVersion, rtl.dwBuildNumber, servicePack};
  }
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExA(&v);
#pragma GCC diagnostic pop
  return OsVersion{v.dwPlatformId, v.dwMajorVersion, v.dwMinorVersion, v.dwBuildNumber, v.szCSDVersion};
}

std::string Win32System::FormatShortDate(const DateTime& t) {
  SYSTEMTIME st = ToSystemTime(t);
  char buf[128] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, sizeof buf);
  return buf;
}

std::string Win32System::FormatTime(const DateTime& t) {
  SYSTEMTIME st = ToSystemTime(t);
  char buf[128] = {};
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buf, sizeof buf);
  return buf;
}

char Win32System::DecimalSeparator() {
  char buf[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, sizeof buf) > 0 && buf[0]) return buf[0];
  return '.';
}

std::string Win32System::UserInterfaceLanguage() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  if (LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0) <= 0)
    return std::string();
  // Locale names are ASCII.
  std::string tag;
  for (const wchar_t* c = name; *c; ++c)
    tag += char(*c);
  return tag;
}

namespace {

// The folder the browser comes up on: as an item list, which the browser
// finds anywhere in the shell's namespace (a path under the user's profile
// may not be found from the path alone), else as the path.
struct Preselection {
  std::string path;
  LPITEMIDLIST items = nullptr;
};

int CALLBACK BrowseCallback(HWND hwnd, UINT msg, LPARAM, LPARAM data) {
  const auto* pre = reinterpret_cast<const Preselection*>(data);
  if (msg != BFFM_INITIALIZED || !pre) return 0;
  if (pre->items)
    SendMessageA(hwnd, BFFM_SETSELECTIONA, FALSE, LPARAM(pre->items));
  else
    SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, LPARAM(pre->path.c_str()));
  return 0;
}

}  // namespace

bool Win32Dialogs::BrowseForFolder(uintptr_t owner, const std::string& initial, std::string* chosen) {
  char display[MAX_PATH] = {};
  BROWSEINFOA bi = {};
  bi.hwndOwner = HWND(owner);
  bi.pszDisplayName = display;
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  Preselection pre;
  if (!initial.empty()) {
    pre.path = initial;
    while (pre.path.size() > 3 && pre.path.back() == '\\')
      pre.path.pop_back();
    pre.items = ILCreateFromPathA(pre.path.c_str());
    bi.lpfn = BrowseCallback;
    bi.lParam = LPARAM(&pre);
  }
  LPITEMIDLIST pidl = SHBrowseForFolderA(&bi);
  if (pre.items) ILFree(pre.items);
  if (!pidl) return false;
  char path[MAX_PATH] = {};
  const bool ok = SHGetPathFromIDListA(pidl, path) && path[0];
  CoTaskMemFree(pidl);
  if (ok) *chosen = path;
  return ok;
}

int Win32Dialogs::MessageBox(const std::string& text, const std::string& caption, uint32_t style) {
  return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), style);
}

}  // namespace tov::win32
