// A folder menu's entries that open a sub-menu (its sub-folders) show their
// folder's icon as the other entries do, drawn at the menu's scale, and still
// open their sub-menu, made when first opened, with the system's arrow
// beside them (run under Wine in CI).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/IconSize.h"
#include "platform/MenuIcons.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Dib.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Menus.h"
#include "platform/win32/Win32Platform.h"
#include "tests/win32/Display.h"
#include "tests/win32/Screenshot.h"

namespace tov {
namespace {

constexpr const char* kFolder = "C:\\windows";

// Icons answered at once, straight from the shell: the menu draws each
// entry's icon the first time it draws the entry.
struct ShellPictures : IMenuPictures {
  State Find(const std::string& path, int, int pixels, const Picture** picture) override {
    *picture = nullptr;
    auto it = known.find({path, pixels});
    if (it == known.end()) {
      Picture p;
      if (!Shell().IconPicture(path, pixels, &p)) p = Picture();
      it = known.emplace(std::make_pair(path, pixels), std::move(p)).first;
    }
    if (it->second.rgb.width != pixels) return State::None;
    *picture = &it->second;
    return State::Ready;
  }
  uint64_t Arrivals() const override { return 0; }
  void MenuClosed() override {}
  std::map<std::pair<std::string, int>, Picture> known;
};

// A sub-folder's entry as the folder menus make it: the folder's icon, its
// entries made when it is first opened.
MenuEntry SubFolder(const char* caption, std::vector<MenuEntry>* opened) {
  MenuEntry e;
  e.caption = caption;
  e.imageList = kFileIcons;
  e.shellPath = kFolder;
  e.extraHeight = 5;
  e.expand = [opened] {
    MenuEntry notepad;
    notepad.id = 7;
    notepad.caption = "Notepad";
    notepad.imageList = kFileIcons;
    notepad.shellPath = "C:\\windows\\notepad.exe";
    opened->push_back(notepad);
    return *opened;
  };
  return e;
}

uint32_t Rgb(COLORREF c) { return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c); }

// The shell's icon for path at side x side over a background of one colour.
std::vector<uint32_t> IconOver(const std::string& path, int side, COLORREF back) {
  Picture shell;
  EXPECT_TRUE(Shell().IconPicture(path, side, &shell));
  EXPECT_EQ(shell.rgb.width, side);
  std::vector<uint32_t> out;
  if (shell.rgb.width != side) return out;
  for (size_t i = 0; i < size_t(side) * size_t(side); ++i) {
    const Color c = shell.rgb.pixels[i];
    const uint32_t a = shell.alpha.empty() ? 255 : shell.alpha[i];
    auto mix = [a](uint32_t fore, uint32_t under) { return (fore * a + under * (255 - a) + 127) / 255; };
    out.push_back((mix(GetRValue(c), GetRValue(back)) << 16) | (mix(GetGValue(c), GetGValue(back)) << 8) |
                  mix(GetBValue(c), GetBValue(back)));
  }
  return out;
}

struct Win32MenuSubFolder : ::testing::Test {
  Win32MenuSubFolder() { SetMenuPictures(&pictures); }
  ~Win32MenuSubFolder() override { SetMenuPictures(nullptr); }
  win32::Win32Platform wp;
  ShellPictures pictures;
};

// The entry drawn into a surface of the menu's colour, w x h pixels.
struct Surface {
  Surface(int w, int h) : w(w), h(h) {
    BITMAPINFO bi = win32::TopDownDibInfo(w, h);
    bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, bitmap);
  }
  ~Surface() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  uint32_t At(int x, int y) const {
    GdiFlush();
    return static_cast<const uint32_t*>(bits)[y * w + x] & 0xFFFFFF;
  }
  int w, h;
  void* bits = nullptr;
  HBITMAP bitmap;
  HDC dc;
  HGDIOBJ old;
};

TEST_F(Win32MenuSubFolder, ASubFoldersEntryShowsTheShellsFolderIconOfTheScalesSize) {
  std::vector<MenuEntry> opened;
  const MenuEntry e = SubFolder("Windows", &opened);
  constexpr int kDpi = 144, kSide = 24, kW = 400, kH = 80;
  ASSERT_EQ(IconSideAt(false, Dpi(kDpi)), kSide);
  Surface s(kW, kH);
  const SIZE item = win32::DrawMenuEntry(s.dc, RECT{0, 0, kW, kH}, e, kDpi, false);
  EXPECT_GE(item.cy, kSide);
  const std::vector<uint32_t> want = IconOver(kFolder, kSide, GetSysColor(COLOR_MENU));
  ASSERT_EQ(want.size(), size_t(kSide * kSide));
  const int x = MulDiv(4, kDpi, 96), y = (kH - kSide) / 2;
  int differing = 0;
  for (int row = 0; row < kSide; ++row)
    for (int col = 0; col < kSide; ++col)
      if (s.At(x + col, y + row) != want[size_t(row * kSide + col)]) ++differing;
  EXPECT_EQ(differing, 0);
  EXPECT_TRUE(opened.empty());  // drawing it does not make its sub-menu
}

TEST_F(Win32MenuSubFolder, ItsCaptionKeepsClearOfTheArrowEvenWhenCutShort) {
  std::vector<MenuEntry> opened;
  MenuEntry e = SubFolder("A folder with a name far longer than the entry is wide", &opened);
  for (int dpi : {96, 144}) {
    const int arrow = win32::MetricForDpi(SM_CXMENUCHECK, dpi);
    // Measured with the room for the arrow beside the caption.
    MenuEntry plain = e;
    plain.expand = nullptr;
    Surface wide(1200, 80);
    const SIZE withArrow = win32::DrawMenuEntry(wide.dc, RECT{0, 0, 1200, 80}, e, dpi, false);
    const SIZE without = win32::DrawMenuEntry(wide.dc, RECT{0, 0, 1200, 80}, plain, dpi, false);
    EXPECT_EQ(withArrow.cx, without.cx + arrow) << dpi;
    // In an entry too narrow for it, the caption ends before the arrow.
    const int w = MulDiv(160, dpi, 96);
    Surface narrow(w, 80);
    win32::DrawMenuEntry(narrow.dc, RECT{0, 0, w, 80}, e, dpi, false);
    const uint32_t back = Rgb(GetSysColor(COLOR_MENU));
    int under = 0, text = 0;
    for (int yy = 0; yy < 80; ++yy)
      for (int xx = IconSideAt(false, Dpi(dpi)) + MulDiv(12, dpi, 96); xx < w; ++xx)
        if (narrow.At(xx, yy) != back) ++(xx >= w - arrow ? under : text);
    EXPECT_GT(text, 0) << dpi;
    EXPECT_EQ(under, 0) << dpi;
  }
}

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (win32::HandleMenuDrawing(msg, wParam, lParam, &result)) return result;
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// What the open menu showed, looked at from a timer while it is tracked.
struct Seen {
  int ticks = 0;
  HMENU root = nullptr;
  bool ownerDrawn = false, hasSubMenu = false;
  int iconDiffering = -1;  // pixels of the icon unlike the shell's icon
  int arrowPixels = -1;    // pixels in the arrow's room unlike the menu
  bool opened = false;     // its sub-menu showed
  int subItems = 0;
  bool subOwnerDrawn = false;
  bool keysSent = false;
} seen;

std::vector<HWND> OpenLevels() {
  std::vector<HWND> out;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM p) -> BOOL {
        char name[16] = {};
        if (GetClassNameA(h, name, int(sizeof name)) && std::string(name) == "#32768" && IsWindowVisible(h))
          reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out;
}

HMENU MenuOf(HWND popup) { return reinterpret_cast<HMENU>(SendMessageA(popup, 0x01E1 /* MN_GETHMENU */, 0, 0)); }

void LookAtFirstLevel(HWND popup) {
  const HMENU menu = MenuOf(popup);
  seen.root = menu;
  MENUITEMINFOA mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_FTYPE | MIIM_SUBMENU;
  if (!menu || !GetMenuItemInfoA(menu, 0, TRUE, &mi)) return;
  seen.ownerDrawn = (mi.fType & MFT_OWNERDRAW) != 0;
  seen.hasSubMenu = mi.hSubMenu != nullptr;
  RECT r{};
  if (!GetMenuItemRect(nullptr, menu, 0, &r)) return;
  const int dpi = win32::SystemDpi(), side = IconSideAt(false, Dpi(dpi));
  const COLORREF back = GetSysColor(COLOR_MENU);
  const std::vector<uint32_t> want = IconOver(kFolder, side, back);
  if (want.size() != size_t(side * side)) return;
  const int x = r.left + MulDiv(4, dpi, 96), y = r.top + (r.bottom - r.top - side) / 2;
  HDC screen = GetDC(nullptr);
  seen.iconDiffering = 0;
  for (int row = 0; row < side; ++row)
    for (int col = 0; col < side; ++col)
      if (Rgb(GetPixel(screen, x + col, y + row)) != want[size_t(row * side + col)]) ++seen.iconDiffering;
  seen.arrowPixels = 0;
  const int arrow = win32::MetricForDpi(SM_CXMENUCHECK, dpi);
  for (int yy = r.top; yy < r.bottom; ++yy)
    for (int xx = r.right - arrow; xx < r.right; ++xx)
      if (GetPixel(screen, xx, yy) != back) ++seen.arrowPixels;
  ReleaseDC(nullptr, screen);
  testing::SaveScreenshot(popup, "menu-sub-folder");
}

void CALLBACK WatchMenu(HWND, UINT, UINT_PTR id, DWORD) {
  const std::vector<HWND> levels = OpenLevels();
  if (++seen.ticks > 200) {
    KillTimer(nullptr, id);
    EndMenu();
    return;
  }
  if (levels.empty() || seen.ticks < 3) return;
  if (!seen.keysSent) {
    LookAtFirstLevel(levels.front());
    // The keyboard goes to the first entry and opens its sub-menu.
    PostMessageA(levels.front(), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(levels.front(), WM_KEYDOWN, VK_RIGHT, 0);
    seen.keysSent = true;
    return;
  }
  for (HWND level : levels) {
    const HMENU menu = MenuOf(level);
    if (!menu || menu == seen.root) continue;
    seen.opened = true;
    seen.subItems = GetMenuItemCount(menu);
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE;
    seen.subOwnerDrawn = GetMenuItemInfoA(menu, 0, TRUE, &mi) && (mi.fType & MFT_OWNERDRAW);
    KillTimer(nullptr, id);
    EndMenu();
    return;
  }
}

TEST_F(Win32MenuSubFolder, TheOpenMenuDrawsTheEntryWithItsIconAndArrowAndItsSubMenuOpens) {
  TOVIRA_SKIP_WITHOUT_DISPLAY();
  WNDCLASSA wc{};
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ToviraSubFolderOwner";
  RegisterClassA(&wc);
  HWND owner = CreateWindowExA(0, wc.lpszClassName, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr,
                               wc.hInstance, nullptr);
  ASSERT_TRUE(owner);
  seen = Seen{};
  std::vector<MenuEntry> opened;
  MenuEntry plain;
  plain.id = 3;
  plain.caption = "Plain";
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, WatchMenu);
  win32::TrackMenu({SubFolder("Windows", &opened), plain}, Point{200, 200}, owner);
  KillTimer(nullptr, timer);
  DestroyWindow(owner);
  EXPECT_TRUE(seen.ownerDrawn);
  EXPECT_TRUE(seen.hasSubMenu);
  EXPECT_EQ(seen.iconDiffering, 0);  // the shell's folder icon, pixel for pixel
  EXPECT_GT(seen.arrowPixels, 0);    // the system drew the arrow
  EXPECT_TRUE(seen.opened) << "the sub-menu did not open";
  EXPECT_EQ(seen.subItems, 1);  // made when opened, from its entries
  EXPECT_TRUE(seen.subOwnerDrawn);
  EXPECT_EQ(opened.size(), 1u);
}

}  // namespace
}  // namespace tov
