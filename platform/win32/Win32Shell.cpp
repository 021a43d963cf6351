#include "platform/win32/Win32Shell.h"

#include "platform/win32/WinApi.h"

#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "base/Utf8Text.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Late.h"
#include "platform/win32/Win32Text.h"

namespace tov::win32 {

namespace {}  // namespace

uintptr_t Win32Shell::AppBarMessage(uint32_t message, AppBarData& data) {
  APPBARDATA abd{};
  abd.cbSize = sizeof abd;
  abd.hWnd = HWND(data.window);
  abd.uCallbackMessage = data.callbackMessage;
  abd.uEdge = data.edge;
  abd.rc = RECT{data.rect.left, data.rect.top, data.rect.right, data.rect.bottom};
  abd.lParam = data.lParam;
  UINT_PTR result = SHAppBarMessage(message, &abd);
  data.rect = Rect{abd.rc.left, abd.rc.top, abd.rc.right, abd.rc.bottom};
  return result;
}

void Win32Shell::AcceptDroppedFiles(WindowId window, bool accept) { DragAcceptFiles(HWND(window), accept); }

// The names come through the wide call (a drop handle may hold them in either
// form) and leave as UTF-8: lengths count bytes, and a path cut short ends
// before a character that does not fit whole.
uint32_t Win32Shell::QueryDroppedFile(uintptr_t drop, uint32_t index, char* buffer, uint32_t size) {
  if (index == kDropCount) return ::DragQueryFileW(HDROP(drop), index, nullptr, 0);
  const UINT units = ::DragQueryFileW(HDROP(drop), index, nullptr, 0);
  if (units == 0) return 0;
  std::wstring wide(units + 1, L'\0');
  if (::DragQueryFileW(HDROP(drop), index, wide.data(), units + 1) != units) return 0;
  const std::string path = Utf8Text(wide.c_str(), int(units));
  if (!buffer) return uint32_t(path.size());
  if (size == 0) return 0;
  const std::string_view cut = Utf8CutToBytes(path, size - 1);
  cut.copy(buffer, cut.size());
  buffer[cut.size()] = '\0';
  return uint32_t(cut.size());
}

void Win32Shell::DragFinish(uintptr_t drop) { ::DragFinish(HDROP(drop)); }

int Win32Shell::FullScreenWindowOn(const Rect& monitor) {
  // The shell calls the foreground window full-screen when it covers its
  // monitor; the desktop's own windows cover it too and do not count.
  HWND fg = GetForegroundWindow();
  if (!fg) return -1;
  if (fg == GetDesktopWindow() || fg == GetShellWindow()) return 0;
  char cls[64] = {};
  GetClassNameA(fg, cls, sizeof cls);
  if (lstrcmpiA(cls, "Progman") == 0 || lstrcmpiA(cls, "WorkerW") == 0) return 0;
  RECT r{};
  if (!GetWindowRect(fg, &r)) return -1;
  const bool covers =
      r.left <= monitor.left && r.top <= monitor.top && r.right >= monitor.right && r.bottom >= monitor.bottom;
  return covers ? 1 : 0;
}

bool Win32Shell::Open(WindowId owner, const std::string& path, const std::string& params, const std::string& dir) {
  HINSTANCE r = ShellExecuteA(HWND(owner), "open", path.c_str(), params.empty() ? nullptr : params.c_str(),
                              dir.empty() ? nullptr : dir.c_str(), SW_SHOW);
  const bool opened = reinterpret_cast<intptr_t>(r) > 32;
  openError_ = opened ? 0 : GetLastError();
  return opened;
}

bool Win32Shell::OpenWithVerb(WindowId owner, const std::string& verb, const std::string& path) {
  HINSTANCE r = ShellExecuteA(HWND(owner), verb.c_str(), path.c_str(), nullptr, nullptr, SW_SHOW);
  const bool opened = reinterpret_cast<intptr_t>(r) > 32;
  openError_ = opened ? 0 : GetLastError();
  return opened;
}

std::string Win32Shell::LastOpenError() {
  if (openError_ == 0) return std::string();
  char* text = nullptr;
  const DWORD n =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, openError_, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string reason = n && text ? std::string(text, n) : std::string();
  if (text) LocalFree(text);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
    reason.pop_back();
  return reason;
}

int Win32Shell::IconIndex(const std::string& path, uint32_t flags) {
  SHFILEINFOA info{};
  UINT f = SHGFI_SYSICONINDEX | ((flags & kIconSmall) ? SHGFI_SMALLICON : SHGFI_LARGEICON) |
           ((flags & kIconOpen) ? SHGFI_OPENICON : 0);
  if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, f)) return -1;
  return info.iIcon;
}

uintptr_t Win32Shell::SystemImageList(bool small) {
  LPITEMIDLIST pidl = nullptr;
  if (SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, &pidl) != S_OK || !pidl) return 0;
  SHFILEINFOA info{};
  UINT f = SHGFI_SYSICONINDEX | SHGFI_PIDL | (small ? SHGFI_SMALLICON : 0);
  DWORD_PTR list = SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl), 0, &info, sizeof info, f);
  CoTaskMemFree(pidl);
  return uintptr_t(list);
}

// ------------------------------------------------------------------ monitors

bool Win32MonitorApi::LoadLibrary() {
  if (!library_) library_ = reinterpret_cast<void*>(LoadLibraryA("USER32.DLL"));
  return library_ != nullptr;
}

void Win32MonitorApi::FreeLibrary() {
  if (library_) ::FreeLibrary(HMODULE(library_));
  library_ = nullptr;
}

bool Win32MonitorApi::HasFunction(const std::string& name) {
  return library_ && GetProcAddress(HMODULE(library_), name.c_str()) != nullptr;
}

void Win32MonitorApi::EnumMonitors(const std::function<void(MonitorHandle)>& each) {
  using EnumFn = BOOL(WINAPI*)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);
  auto enumerate = FunctionOf<EnumFn>(HMODULE(library_), "EnumDisplayMonitors");
  if (!enumerate) return;
  auto callback = [](HMONITOR m, HDC, LPRECT, LPARAM data) -> BOOL {
    (*reinterpret_cast<const std::function<void(MonitorHandle)>*>(data))(MonitorHandle(m));
    return TRUE;
  };
  enumerate(nullptr, nullptr, callback, reinterpret_cast<LPARAM>(&each));
}

bool Win32MonitorApi::GetMonitorInfo(MonitorHandle handle, RawMonitorInfo* out) {
  using InfoFn = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);
  auto info = FunctionOf<InfoFn>(HMODULE(library_), "GetMonitorInfoA");
  if (!info) return false;
  MONITORINFOEXA mi{};
  mi.cbSize = sizeof mi;  // 72: the extended record with the device name
  if (!info(HMONITOR(handle), reinterpret_cast<LPMONITORINFO>(&mi))) return false;
  out->monitor = Rect{mi.rcMonitor.left, mi.rcMonitor.top, mi.rcMonitor.right, mi.rcMonitor.bottom};
  out->work = Rect{mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
  out->flags = mi.dwFlags;
  out->deviceName = mi.szDevice;
  out->dpi = MonitorDpi(HMONITOR(handle));
  return true;
}

// ---------------------------------------------------------------- compositor

struct DwmMargins {
  int left, right, top, bottom;
};

bool Win32Compositor::LoadLibrary() {
  if (!library_) library_ = reinterpret_cast<void*>(LoadLibraryA("dwmapi.dll"));
  if (!library_) return false;
  isEnabled_ = FunctionOf<void*>(HMODULE(library_), "DwmIsCompositionEnabled");
  extend_ = FunctionOf<void*>(HMODULE(library_), "DwmExtendFrameIntoClientArea");
  return true;
}

void Win32Compositor::FreeLibrary() {
  if (library_) ::FreeLibrary(HMODULE(library_));
  library_ = isEnabled_ = extend_ = nullptr;
}

bool Win32Compositor::IsCompositionEnabled() {
  if (!isEnabled_ || !extend_) return false;
  BOOL on = FALSE;
  auto fn = reinterpret_cast<HRESULT(WINAPI*)(BOOL*)>(isEnabled_);
  return SUCCEEDED(fn(&on)) && on;
}

bool Win32Compositor::ExtendFrameIntoClientArea(WindowId window, int left, int right, int top, int bottom) {
  if (!extend_) return false;
  DwmMargins m{left, right, top, bottom};
  auto fn = reinterpret_cast<HRESULT(WINAPI*)(HWND, const DwmMargins*)>(extend_);
  return SUCCEEDED(fn(HWND(window), &m));
}

bool Win32Compositor::SetLayeredColorKey(WindowId window, Color key) {
  return SetLayeredWindowAttributes(HWND(window), COLORREF(key), 0, LWA_COLORKEY) != 0;
}

}  // namespace tov::win32
