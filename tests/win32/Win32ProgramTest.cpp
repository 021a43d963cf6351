// tovira.exe and tovira-tool.exe as files and as running programs: their
// version, icon and manifest as the shell reads them, the real bar started
// twice from one folder (one bar) and once more from another (two), and the
// real bar while the desktop changes under it: the shell forgetting it and
// starting again, the display changing, the session ending.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bar/BarWindow.h"
#include "base/Product.h"
#include "docking/AppBarSettings.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/WinApi.h"
#include "tests/win32/Display.h"
#include "tests/win32/SystemProfile.h"

#include <shellapi.h>

namespace tov {
namespace {

// A string of the file's version resource, read through its first translation.
std::string VersionString(const std::vector<char>& info, const std::string& name) {
  struct Translation {
    WORD language, codePage;
  }* t = nullptr;
  UINT size = 0;
  if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&t), &size) ||
      size < sizeof *t)
    return "<no translation>";
  char block[64];
  wsprintfA(block, "\\StringFileInfo\\%04x%04x\\", t->language, t->codePage);
  char* value = nullptr;
  if (!VerQueryValueA(info.data(), (block + name).c_str(), reinterpret_cast<void**>(&value), &size) || !value)
    return "<missing>";
  return value;
}

TEST(ProgramFiles, VersionResourcesNameTheProductItsCompanyAndItsVersion) {
  for (const std::string exe : {"tovira.exe", "tovira-tool.exe"}) {
    SCOPED_TRACE(exe);
    const std::string path = testing::BuildFolder() + exe;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));
    EXPECT_EQ(VersionString(info, "ProductName"), kProductName);
    // The build's version and the one the program prints are the same.
    EXPECT_EQ(VersionString(info, "ProductVersion"), kProgramVersion);
    EXPECT_EQ(VersionString(info, "FileVersion"), kProgramVersion);
    EXPECT_EQ(VersionString(info, "CompanyName"), "Brenvoll");
    EXPECT_EQ(VersionString(info, "OriginalFilename"), exe);
    EXPECT_FALSE(VersionString(info, "FileDescription").empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
    char dotted[32];
    wsprintfA(dotted, "%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
              HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(std::string(dotted), kProgramVersion);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  }
}

TEST(ProgramFiles, TheIconHasEverySizeTheShellAsksFor) {
  const std::string path = testing::BuildFolder() + "tovira.exe";
  EXPECT_GE(ExtractIconExA(path.c_str(), -1, nullptr, nullptr, 0), 1u);
  HICON large = nullptr, small = nullptr;
  ASSERT_EQ(ExtractIconExA(path.c_str(), 0, &large, &small, 1), 2u);
  for (HICON icon : {large, small}) {
    ICONINFO ii{};
    ASSERT_TRUE(GetIconInfo(icon, &ii));
    BITMAP bm{};
    GetObjectA(ii.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, icon == large ? GetSystemMetrics(SM_CXICON) : GetSystemMetrics(SM_CXSMICON));
    DeleteObject(ii.hbmColor);
    DeleteObject(ii.hbmMask);
    DestroyIcon(icon);
  }
  // The group of resource 1 lists 16, 20, 24, 32, 40, 48, 64 and 256 pixels.
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_NE(group, nullptr);
  const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
  ASSERT_NE(dir, nullptr);
  const int count = dir[4] | (dir[5] << 8);
  std::vector<int> sizes;
  for (int i = 0; i < count; ++i) {
    const int width = dir[6 + 14 * i];
    sizes.push_back(width == 0 ? 256 : width);
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));
  // The manifest: today's common controls, and the version of the build.
  HRSRC manifest = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
  ASSERT_NE(manifest, nullptr);
  const std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                         SizeofResource(module, manifest));
  EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(text.find("version=\"" + std::string(kProgramVersion) + ".0\""), std::string::npos);
  // Scaled by itself per monitor, with the first version and the system-wide
  // awareness as fallbacks.
  EXPECT_NE(text.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
  EXPECT_NE(text.find(">true/pm</dpiAware>"), std::string::npos);
  FreeLibrary(module);
}

// ------------------------------------------------------- the real program

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      const std::string p = dir + "\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(p);
      else
        DeleteFileA(p.c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}

std::vector<HWND> BarsOf(DWORD pid) {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{pid, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        char cls[64] = {};
        GetClassNameA(hwnd, cls, sizeof cls);
        if (owner == s->pid && std::string(cls) == "TToviraForm" && IsWindowVisible(hwnd)) s->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct RealProgram : ::testing::Test {
  RealProgram() {
    root = testing::MakeTempFolder("tovira-copies");
    for (const char* copy : {"app0", "app1"}) {
      const std::string app = root + copy + "\\";
      CreateDirectoryA(app.c_str(), nullptr);
      CreateDirectoryA((app + "Config").c_str(), nullptr);
      CreateDirectoryA((app + "Config\\Brenvoll").c_str(), nullptr);
      CreateDirectoryA((app + "Langs").c_str(), nullptr);
      for (const char* f : {"tovira.exe", "Config\\Settings.tpl", "Config\\Lingua.lst", "Langs\\Italiano.lng"})
        CopyFileA((testing::BuildFolder() + f).c_str(), (app + f).c_str(), FALSE);
      // The user's files in the test's folder, not in the profile.
      WritePrivateProfileStringA("Avvio", "UserDir", (root + "user").c_str(),
                                 (app + "Config\\Brenvoll\\Tovira.ini").c_str());
    }
    // Two free slots whose bar keys exist: normal starts, not first ones.
    for (int i = 0; i <= 9 && slots.size() < 2; ++i) {
      RegValue v;
      if (!Registry().ReadValue(kInstanceRootKey, InstanceValueName(i), &v) || v.AsString().empty()) {
        slots.push_back(i);
        Registry().CreateKey(BarKeyName(i));
      }
    }
  }
  ~RealProgram() override {
    for (PROCESS_INFORMATION& p : processes) {
      for (HWND bar : BarsOf(p.dwProcessId))
        PostMessageA(bar, WM_CLOSE, 0, 0);
      if (WaitForSingleObject(p.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(p.hProcess, 1);
      CloseHandle(p.hProcess);
      CloseHandle(p.hThread);
    }
    for (int slot : slots) {
      Registry().DeleteValue(kInstanceRootKey, InstanceValueName(slot));
      RegDeleteKeyA(HKEY_CURRENT_USER, BarKeyName(slot).c_str());
    }
    RemoveTree(root.substr(0, root.size() - 1));
  }
  PROCESS_INFORMATION& Launch(const std::string& copy) {
    const std::string exe = root + copy + "\\tovira.exe";
    std::string line = "\"" + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    EXPECT_TRUE(
        CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, (root + copy).c_str(), &si, &pi));
    processes.push_back(pi);
    return processes.back();
  }
  // The bar of a process, once it shows (up to 60 s: Wine starts slowly).
  HWND WaitForBar(DWORD pid) {
    for (int i = 0; i < 600; ++i) {
      std::vector<HWND> bars = BarsOf(pid);
      if (!bars.empty()) return bars[0];
      Sleep(100);
    }
    return nullptr;
  }

  std::string root;
  std::vector<int> slots;
  std::vector<PROCESS_INFORMATION> processes;
  win32::Win32Platform wp;
};

TEST_F(RealProgram, TheSameCopyStartedTwiceGivesOneBarAndAnotherCopyRunsBeside) {
  TOVIRA_SKIP_WITHOUT_DISPLAY();
  ASSERT_EQ(slots.size(), 2u) << "no two free instance slots";
  const DWORD first = Launch("app0").dwProcessId;
  HWND bar = WaitForBar(first);
  ASSERT_NE(bar, nullptr) << "the bar did not appear";
  // Something else comes to the front.
  HWND other = CreateWindowExA(0, "STATIC", "altro", WS_POPUP | WS_VISIBLE, 300, 300, 200, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(other);

  PROCESS_INFORMATION& second = Launch("app0");
  ASSERT_EQ(WaitForSingleObject(second.hProcess, 30000), WAIT_OBJECT_0) << "the second start did not end";
  DWORD code = 1;
  GetExitCodeProcess(second.hProcess, &code);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(BarsOf(first).size(), 1u);
  // The running bar came to the front.
  bool forward = false;
  for (int i = 0; i < 50 && !forward; ++i) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageA(&msg);
    forward = GetForegroundWindow() == bar;
    if (!forward) Sleep(100);
  }
  EXPECT_TRUE(forward) << "the running bar did not come forward";
  DestroyWindow(other);

  // A copy in another folder starts its own bar beside the first.
  const DWORD third = Launch("app1").dwProcessId;
  EXPECT_NE(WaitForBar(third), nullptr) << "the copy in another folder did not start";
  EXPECT_EQ(BarsOf(first).size(), 1u);
  EXPECT_EQ(BarsOf(third).size(), 1u);
}

// One call of the shell's bar protocol for a window, as another program makes it.
UINT_PTR AppBarCall(DWORD message, HWND bar) {
  APPBARDATA abd{};
  abd.cbSize = sizeof abd;
  abd.hWnd = bar;
  abd.uCallbackMessage = WM_USER + 100;
  return SHAppBarMessage(message, &abd);
}

// Waits up to seconds for the bar's rectangle to satisfy ok.
template <typename Ok>
RECT WaitForPlace(HWND bar, int seconds, Ok ok) {
  RECT r{};
  for (int i = 0; i < seconds * 10; ++i) {
    GetWindowRect(bar, &r);
    if (ok(r)) break;
    Sleep(100);
  }
  return r;
}

TEST_F(RealProgram, TheBarComesBackAfterTheShellRestartsFollowsTheDisplayAndKeepsItsStateAtLogOff) {
  TOVIRA_SKIP_WITHOUT_DISPLAY();
  ASSERT_EQ(slots.size(), 2u) << "no two free instance slots";
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  TAppBarSettings record = DefaultAppBarSettings(cx, cy);
  record.Edge = abeTop;
  ASSERT_TRUE(Registry().WriteBinary(BarKeyName(slots[0]), "", PackAppBarSettings(record)));
  PROCESS_INFORMATION& program = Launch("app0");
  HWND bar = WaitForBar(program.dwProcessId);
  ASSERT_NE(bar, nullptr) << "the bar did not appear";
  auto docked = [cx](const RECT& r) { return r.top == 0 && r.left == 0 && r.right == cx; };
  const RECT place = WaitForPlace(bar, 20, docked);
  ASSERT_TRUE(docked(place)) << "the bar is not docked at the top";

  // The shell forgets the bar, as one that restarted has, and then tells
  // every window it started: the bar registers again, in its place. The
  // shell refuses a new registration of a window it knows.
  EXPECT_NE(AppBarCall(ABM_REMOVE, bar), 0u);
  PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  Sleep(3000);
  const UINT_PTR fresh = AppBarCall(ABM_NEW, bar);
  if (fresh != 0) AppBarCall(ABM_REMOVE, bar);
  EXPECT_EQ(fresh, 0u) << "the bar did not register again";
  RECT now{};
  GetWindowRect(bar, &now);
  EXPECT_TRUE(EqualRect(&now, &place));

  // A rectangle gone stale (the bar half as wide as the screen), then the
  // display's notice: the bar docks again across the whole screen.
  SetWindowPos(bar, nullptr, 0, 0, cx / 2, place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(bar, WM_DISPLAYCHANGE, 32, MAKELPARAM(cx, cy));
  EXPECT_TRUE(docked(WaitForPlace(bar, 10, docked))) << "the bar did not dock again after the display changed";

  // The session ends: asked, the bar lets it end; told, it writes its state
  // (the monitor's name beside the record is written only then or when the
  // bar closes); then the process ends as Windows ends it, without WM_CLOSE.
  RegValue device;
  EXPECT_FALSE(Registry().ReadValue(BarKeyName(slots[0]), kScreenDeviceValue, &device));
  EXPECT_NE(SendMessageA(bar, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 0);
  SendMessageA(bar, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  TerminateProcess(program.hProcess, 0);
  WaitForSingleObject(program.hProcess, 10000);
  ASSERT_TRUE(Registry().ReadValue(BarKeyName(slots[0]), kScreenDeviceValue, &device));
  EXPECT_FALSE(device.AsString().empty());
  RegValue saved;
  ASSERT_TRUE(Registry().ReadValue(BarKeyName(slots[0]), "", &saved));
  ASSERT_EQ(saved.data.size(), kAppBarSettingsSize);
  EXPECT_EQ(UnpackAppBarSettings(saved.data.data()).Edge, abeTop);
  // The shell no longer holds a bar for the window that is gone.
  EXPECT_FALSE(IsWindow(bar));
}

}  // namespace
}  // namespace tov
