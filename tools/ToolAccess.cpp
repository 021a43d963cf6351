// tovira-tool windows: what a user and a screen reader see of the running
// programs (Windows only), for checking the bar's keyboard and accessibility
// from outside:
//   count PROGRAM        the visible top-level windows whose process runs
//                        that program (the file name of its image, any case)
//   close PROGRAM        WM_CLOSE to each of those windows, as their close
//                        box sends it
//   front                the title of the window in the foreground
//   accessible TITLE     the accessible object of the window's client area
//                        (AccessibleObjectFromWindow, OBJID_CLIENT): its
//                        role and name, then a line per child: index, role,
//                        name, keyboard shortcut, rectangle on screen;
//                        last "focus=N", the child with the keyboard focus
//   chars TITLE TEXT     the text posted to the window as WM_CHAR, one
//                        message per UTF-16 unit (a pair beyond the first
//                        plane), as a keyboard's characters reach it
#ifdef TOVIRA_WINDOWS
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "platform/win32/Win32Scoped.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/WinApi.h"
#include "tools/Tool.h"
#include "tools/ToolWindows.h"

// After windows.h.
#include <oleacc.h>

namespace tov::tool {
namespace {

const char* kUsage =
    "windows count|close PROGRAM | windows front | windows accessible TITLE | windows chars TITLE TEXT";

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ImageOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return std::string();
  wchar_t path[1024] = {};
  DWORD size = DWORD(std::size(path));
  const bool got = QueryFullProcessImageNameW(process, 0, path, &size) != 0;
  CloseHandle(process);
  return got ? win32::Utf8Text(path, int(size)) : std::string();
}

int Count(const std::string& program, bool close) {
  struct Search {
    std::string program;
    bool close;
    int count;
  } search{program, close, 0};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (!IsWindowVisible(hwnd) || GetWindow(hwnd, GW_OWNER) != nullptr) return TRUE;
        if (lstrcmpiA(FileNameOf(ImageOf(hwnd)).c_str(), s->program.c_str()) != 0) return TRUE;
        ++s->count;
        if (s->close) PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  std::printf("%d\n", search.count);
  return 0;
}

int Front() {
  char title[256] = {};
  HWND front = GetForegroundWindow();
  if (front) GetWindowTextA(front, title, sizeof title);
  std::printf("%s\n", title);
  return 0;
}

std::string Text(BSTR b) {
  std::string s = b ? win32::Utf8Text(b, int(SysStringLen(b))) : std::string();
  SysFreeString(b);
  return s;
}

// A child id as IAccessible takes it; CHILDID_SELF is the object itself.
VARIANT ChildId(long id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// A number IAccessible answers in a VARIANT (a role, the focused child), or
// fallback when it answered something else; the VARIANT is cleared.
long NumberOf(VARIANT& v, long fallback) {
  const long n = v.vt == VT_I4 ? long(v.lVal) : fallback;
  VariantClear(&v);
  return n;
}

long RoleOf(IAccessible& acc, long id) {
  VARIANT role;
  VariantInit(&role);
  acc.get_accRole(ChildId(id), &role);
  return NumberOf(role, -1L);
}

int Accessible(HWND window) {
  win32::ComPtr<IAccessible> acc;
  if (FAILED(AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), IID_IAccessible, acc.PutVoid())) || !acc)
    return Fail("no accessible object for the window");
  BSTR name = nullptr;
  acc->get_accName(ChildId(CHILDID_SELF), &name);
  long count = 0;
  acc->get_accChildCount(&count);
  std::printf("role=0x%lx name=%s children=%ld\n", RoleOf(*acc.Get(), CHILDID_SELF), Text(name).c_str(), count);
  for (long i = 1; i <= count; ++i) {
    BSTR n = nullptr, keys = nullptr;
    acc->get_accName(ChildId(i), &n);
    acc->get_accKeyboardShortcut(ChildId(i), &keys);
    long x = 0, y = 0, w = 0, h = 0;
    acc->accLocation(&x, &y, &w, &h, ChildId(i));
    std::printf("%ld\trole=0x%lx\tname=%s\tshortcut=%s\t%ld,%ld %ldx%ld\n", i, RoleOf(*acc.Get(), i), Text(n).c_str(),
                Text(keys).c_str(), x, y, w, h);
  }
  // The child with the keyboard focus: 0 for none.
  VARIANT focus;
  VariantInit(&focus);
  acc->get_accFocus(&focus);
  std::printf("focus=%ld\n", NumberOf(focus, 0L));
  return 0;
}

int PostChars(HWND window, const std::string& text) {
  for (wchar_t unit : win32::WideText(text))
    PostMessageW(window, WM_CHAR, WPARAM(unit), 1);
  return 0;
}

int Windows(const std::vector<std::string>& args) {
  if (args.size() == 2 && (args[0] == "count" || args[0] == "close")) return Count(args[1], args[0] == "close");
  if (args.size() == 1 && args[0] == "front") return Front();
  if (args.size() < 2) return Fail(std::string("usage: ") + kUsage);
  HWND window = FindVisibleWindow(args[1]);
  if (!window) return Fail("no window named " + args[1]);
  if (args.size() == 2 && args[0] == "accessible") return Accessible(window);
  if (args.size() == 3 && args[0] == "chars") return PostChars(window, args[2]);
  return Fail(std::string("usage: ") + kUsage);
}

}  // namespace

TOVIRA_TOOL_COMMAND("windows", kUsage, Windows);

}  // namespace tov::tool
#endif
