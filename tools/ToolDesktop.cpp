// tovira-tool desktop: the desktop changing under a running bar, as Windows
// changes it (Windows only), for trying the bar's answers from outside:
//   shell-restart TITLE  the shell forgets the bar (ABM_REMOVE) and tells every
//                        window it started again ("TaskbarCreated"); then
//                        asks whether the bar registered again: a new
//                        registration of a registered window is refused
//   display TITLE        the bar's rectangle goes stale (half the screen's
//                        width), then the display's notice arrives
//   end-session TITLE    the session ends: WM_QUERYENDSESSION and
//                        WM_ENDSESSION, then the process ends as Windows ends
//                        it, without WM_CLOSE
//   type TITLE TEXT      the text typed into the window's first edit field,
//                        one character message per UTF-16 unit, as the
//                        system hands a keyboard's characters to a control
//   dpi TITLE DPI        the bar is moved to that scale: WM_DPICHANGED with
//                        its rectangle grown or shrunk from the scale the
//                        system gives the window (the rectangle written into
//                        the bar's process, where the message points)
#ifdef TOVIRA_WINDOWS
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/Win32Text.h"
#include "platform/win32/WinApi.h"
#include "tools/Tool.h"
#include "tools/ToolWindows.h"

// After windows.h.
#include <shellapi.h>

namespace tov::tool {
namespace {

const char* kUsage =
    "desktop shell-restart|display|end-session TITLE | desktop dpi TITLE DPI | desktop type TITLE TEXT";

UINT_PTR AppBarCall(DWORD message, HWND window) {
  APPBARDATA abd{};
  abd.cbSize = sizeof abd;
  abd.hWnd = window;
  abd.uCallbackMessage = WM_USER + 100;
  return SHAppBarMessage(message, &abd);
}

int ShellRestart(HWND bar) {
  if (AppBarCall(ABM_REMOVE, bar) == 0) return Fail("the shell did not hold the window as an application bar");
  PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  // The bar answers on its own thread; a new registration is refused once
  // it has registered again.
  for (int i = 0; i < 50; ++i) {
    Sleep(100);
    if (AppBarCall(ABM_NEW, bar) == 0) return 0;
    AppBarCall(ABM_REMOVE, bar);
  }
  return Fail("the bar did not register again after TaskbarCreated");
}

int DisplayChange(HWND bar) {
  RECT r{};
  GetWindowRect(bar, &r);
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  SetWindowPos(bar, nullptr, r.left, r.top, (r.right - r.left) / 2, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(bar, WM_DISPLAYCHANGE, 32, MAKELPARAM(cx, cy));
  return 0;
}

int EndSession(HWND bar) {
  DWORD pid = 0;
  GetWindowThreadProcessId(bar, &pid);
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  if (!process) return Fail("cannot open the bar's process");
  const bool agreed = SendMessageA(bar, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF) != 0;
  if (agreed) SendMessageA(bar, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  TerminateProcess(process, 0);
  WaitForSingleObject(process, 10000);
  CloseHandle(process);
  return agreed ? 0 : Fail("the bar refused to let the session end");
}

int DpiChange(HWND bar, const std::string& value) {
  const int dpi = std::atoi(value.c_str());
  if (dpi < 48 || dpi > 960) return Fail("not a scale: " + value);
  using DpiForWindowFn = UINT(WINAPI*)(HWND);
  const auto forWindow = reinterpret_cast<DpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  const int old = forWindow && forWindow(bar) ? int(forWindow(bar)) : 96;
  RECT r{};
  GetWindowRect(bar, &r);
  const RECT suggested{r.left, r.top, r.left + MulDiv(r.right - r.left, dpi, old),
                       r.top + MulDiv(r.bottom - r.top, dpi, old)};
  DWORD pid = 0;
  GetWindowThreadProcessId(bar, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return Fail("cannot open the bar's process");
  void* there = VirtualAllocEx(process, nullptr, sizeof suggested, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  const bool written = there && WriteProcessMemory(process, there, &suggested, sizeof suggested, nullptr);
  if (written) SendMessageA(bar, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(there));
  if (there) VirtualFreeEx(process, there, 0, MEM_RELEASE);
  CloseHandle(process);
  return written ? 0 : Fail("cannot write the rectangle into the bar's process");
}

// Types a text into the edit field of a window as a keyboard gives it: its
// text selected, then one WM_CHAR per UTF-16 unit (a pair for a character
// beyond the first plane), the way the system hands typed characters of
// any script to a Unicode control.
int TypeText(HWND window, const std::string& text) {
  HWND edit = nullptr;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM found) -> BOOL {
        char cls[16] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Edit") != 0) return TRUE;
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&edit));
  if (!edit) return Fail("the window has no edit field");
  SendMessageW(edit, EM_SETSEL, 0, -1);
  for (wchar_t unit : win32::WideText(text))
    PostMessageW(edit, WM_CHAR, WPARAM(unit), 1);
  return 0;
}

int Desktop(const std::vector<std::string>& args) {
  if (args.size() == 3 && args[0] == "type") {
    HWND window = FindVisibleWindow(args[1]);
    return window ? TypeText(window, args[2]) : Fail("no window named " + args[1]);
  }
  if (args.size() == 3 && args[0] == "dpi") {
    HWND bar = FindVisibleWindow(args[1]);
    return bar ? DpiChange(bar, args[2]) : Fail("no window named " + args[1]);
  }
  if (args.size() != 2) return Fail(std::string("usage: ") + kUsage);
  HWND bar = FindVisibleWindow(args[1]);
  if (!bar) return Fail("no window named " + args[1]);
  if (args[0] == "shell-restart") return ShellRestart(bar);
  if (args[0] == "display") return DisplayChange(bar);
  if (args[0] == "end-session") return EndSession(bar);
  return Fail(std::string("usage: ") + kUsage);
}

}  // namespace

TOVIRA_TOOL_COMMAND("desktop", kUsage, Desktop);

}  // namespace tov::tool
#endif
