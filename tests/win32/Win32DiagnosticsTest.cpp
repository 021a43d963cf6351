// The diagnostics against the real system: addresses placed in the loaded
// modules (checked against the section tables of the files on disk), the
// capture of the screen and the system's true version.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

#include "platform/win32/Win32Diagnostics.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/WinApi.h"
#include "tests/win32/Display.h"
#include "tests/win32/SystemProfile.h"

namespace tov {
namespace {

struct FileSection {
  std::string name;
  uint32_t address = 0, span = 0;
};

// The section table of a module's file, read from the disk.
std::vector<FileSection> SectionsOnDisk(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<FileSection> out;
  if (bytes.size() < 0x40) return out;
  uint32_t peAt = 0;
  std::memcpy(&peAt, bytes.data() + 0x3C, 4);
  IMAGE_FILE_HEADER header{};
  if (peAt + 4 + sizeof header > bytes.size() || bytes.compare(peAt, 4, std::string("PE\0\0", 4)) != 0) return out;
  std::memcpy(&header, bytes.data() + peAt + 4, sizeof header);
  size_t at = peAt + 4 + sizeof header + header.SizeOfOptionalHeader;
  for (int i = 0; i < header.NumberOfSections && at + sizeof(IMAGE_SECTION_HEADER) <= bytes.size(); ++i) {
    IMAGE_SECTION_HEADER s{};
    std::memcpy(&s, bytes.data() + at, sizeof s);
    at += sizeof s;
    out.push_back(
        {std::string(reinterpret_cast<const char*>(s.Name), strnlen(reinterpret_cast<const char*>(s.Name), 8)),
         s.VirtualAddress, std::max<uint32_t>(s.Misc.VirtualSize, s.SizeOfRawData)});
  }
  return out;
}

std::string ModulePath(HMODULE module) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(module, path, MAX_PATH);
  return path;
}

std::string Lower(std::string s) {
  for (char& c : s)
    c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

__attribute__((noinline)) int CodeOfTheTest(int x) { return x * 3 + 1; }

TEST(Win32Diagnostics, AnAddressInTheProgramIsPlacedByTheSectionTableOfItsFile) {
  win32::Win32Diagnostics d;
  const std::string exe = ModulePath(nullptr);
  const uintptr_t base = reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr));
  const std::vector<FileSection> sections = SectionsOnDisk(exe);
  ASSERT_GE(sections.size(), 2u);
  ASSERT_EQ(sections[0].name, ".text");

  const uintptr_t code = reinterpret_cast<uintptr_t>(&CodeOfTheTest);
  CodeLocation where;
  ASSERT_TRUE(d.LocateAddress(code, &where));
  EXPECT_EQ(Lower(where.moduleFile), Lower(exe));
  EXPECT_EQ(where.section, 1);
  EXPECT_EQ(where.offset, code - base - sections[0].address);

  // Both ends of a section belong to it; the headers, before the first
  // section, belong to none.
  const uintptr_t end = base + sections[0].address + sections[0].span;
  ASSERT_TRUE(d.LocateAddress(end, &where));
  EXPECT_EQ(where.section, 1);
  EXPECT_EQ(where.offset, sections[0].span);
  ASSERT_TRUE(d.LocateAddress(base + sections[0].address, &where));
  EXPECT_EQ(where.offset, 0u);
  EXPECT_FALSE(d.LocateAddress(base, &where));
  // A later section is counted in header order, from 1.
  const FileSection& data = sections[1];
  ASSERT_TRUE(d.LocateAddress(base + data.address + 4, &where));
  EXPECT_EQ(where.section, 2);
  EXPECT_EQ(where.offset, 4u);
}

TEST(Win32Diagnostics, AddressesInSystemModulesAreFoundAndOthersAreNot) {
  win32::Win32Diagnostics d;
  HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
  ASSERT_NE(kernel32, nullptr);
  const std::vector<FileSection> sections = SectionsOnDisk(ModulePath(kernel32));
  CodeLocation where;
  if (!sections.empty()) {
    // The file on disk is the one mapped (Windows; Wine maps its builtin
    // modules from files that have the same layout).
    ASSERT_TRUE(d.LocateAddress(reinterpret_cast<uintptr_t>(kernel32) + sections[0].address + 16, &where));
    EXPECT_EQ(where.section, 1);
    EXPECT_EQ(where.offset, 16u);
  }
  // A function's address lies in the module the system names for it.
  const auto function = reinterpret_cast<uintptr_t>(reinterpret_cast<void*>(&GetTickCount));
  HMODULE owner = nullptr;
  ASSERT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                 reinterpret_cast<const char*>(function), &owner));
  ASSERT_TRUE(d.LocateAddress(function, &where));
  EXPECT_EQ(Lower(where.moduleFile), Lower(ModulePath(owner)));
  EXPECT_GE(where.section, 1);

  // Nothing mapped, the heap, the stack: no module.
  EXPECT_FALSE(d.LocateAddress(0x10, &where));
  EXPECT_FALSE(d.LocateAddress(0, &where));
  const auto heap = std::make_unique<int>(5);
  EXPECT_FALSE(d.LocateAddress(reinterpret_cast<uintptr_t>(heap.get()), &where));
  int local = 0;
  EXPECT_FALSE(d.LocateAddress(reinterpret_cast<uintptr_t>(&local), &where));
  EXPECT_FALSE(d.LocateAddress(~uint64_t(0) - 15, &where));
}

LRESULT CALLBACK RedWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH red = CreateSolidBrush(0x000000FF);
    FillRect(dc, &ps.rcPaint, red);
    DeleteObject(red);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

TEST(Win32Diagnostics, TheCaptureHasTheDesktopsSizeAndWhatIsShownInItsColours) {
  TOVIRA_SKIP_WITHOUT_DISPLAY();
  win32::Win32Diagnostics d;
  WNDCLASSA wc{};
  wc.lpfnWndProc = RedWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ToviraCaptureTest";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 100, 120,
                                200, 150, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  Bitmap shot;
  bool red = false;
  for (int i = 0; i < 40 && !red; ++i) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageA(&msg);
    UpdateWindow(window);
    ASSERT_TRUE(d.CaptureScreen(&shot));
    red = shot.At(200, 195) == RGB(255, 0, 0);
    if (!red) Sleep(50);
  }
  DestroyWindow(window);
  UnregisterClassA(wc.lpszClassName, wc.hInstance);
  EXPECT_EQ(shot.width, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(shot.height, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(int(shot.pixels.size()), shot.width * shot.height);
  // Red stays red: the capture's pixels are in the bitmap's order.
  EXPECT_TRUE(red) << std::hex << shot.At(200, 195);
}

// The visible top-level windows whose title holds `part`.
std::vector<HWND> WindowsTitled(const std::string& part) {
  struct Search {
    const std::string& part;
    std::vector<HWND> found;
  } search{part, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        char title[512] = {};
        GetWindowTextA(hwnd, title, sizeof title);
        if (IsWindowVisible(hwnd) && Lower(title).find(Lower(s->part)) != std::string::npos) s->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(Win32Diagnostics, ShowInFolderOpensAWindowOnTheFilesFolder) {
  TOVIRA_SKIP_WITHOUT_DISPLAY();
  win32::Win32Diagnostics d;
  const std::string folder = testing::MakeTempFolder("tovira-shown");
  const std::string file = folder + "ExcpCrash.txt";
  CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  const std::string name = folder.substr(0, folder.size() - 1).substr(folder.find_last_of('\\', folder.size() - 2) + 1);
  ASSERT_TRUE(d.ShowInFolder(file));
  std::vector<HWND> shown;
  for (int i = 0; i < 150 && shown.empty(); ++i) {
    shown = WindowsTitled(name);
    if (shown.empty()) Sleep(100);
  }
  EXPECT_FALSE(shown.empty()) << "no window on " << name;
  for (HWND w : shown)
    PostMessageA(w, WM_CLOSE, 0, 0);
  Sleep(500);
  testing::RemoveFileAndFolder(file, folder);
}

std::string RegistryText(const char* key, const char* name) {
  char value[64] = {};
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) return "";
  return value;
}

TEST(Win32Diagnostics, TheVersionIsTheSystemsTrueOneAndRestartCanBeAskedFor) {
  win32::Win32System system;
  const OsVersion v = system.Version();
  EXPECT_TRUE(v.Nt());
  EXPECT_GE(v.major, 6u);
  // The registry holds the build the system gives itself.
  const std::string build = RegistryText("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentBuildNumber");
  ASSERT_FALSE(build.empty());
  EXPECT_EQ(std::to_string(v.build), build);
  // The first build of each version.
  const uint32_t first = v.major == 10 ? 10240 : v.major == 6 && v.minor == 1 ? 7600 : 0;
  EXPECT_GE(v.build, first);
  EXPECT_TRUE(win32::Win32Diagnostics().RegisterRestart());
}

}  // namespace
}  // namespace tov
