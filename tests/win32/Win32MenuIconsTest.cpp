// Folder-menu entries that show a file's icon, drawn as the real menus draw
// them (run under Wine in CI): a placeholder until the icon is fetched away
// from the drawing, then the icon at the exact small size for the menu's
// scale, never stretched, and entries of one kind sharing one icon.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/IconSize.h"
#include "controls/MenuIconSource.h"
#include "controls/SharedIconCache.h"
#include "platform/MenuIcons.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Dib.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Menus.h"
#include "platform/win32/Win32Platform.h"

namespace tov {
namespace {

struct Drawn {
  SIZE item{};
  RECT picture{};  // the box of pixels that differ from the menu's colour
  std::vector<uint32_t> bits;
};
constexpr int kW = 400, kH = 80;

// Draws the entry at a scale on a surface of the menu's colour.
Drawn DrawAt(const MenuEntry& e, int dpi) {
  BITMAPINFO bi = win32::TopDownDibInfo(kW, kH);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  Drawn out;
  out.item = win32::DrawMenuEntry(dc, RECT{0, 0, kW, kH}, e, dpi, false);
  GdiFlush();
  const COLORREF menu = GetSysColor(COLOR_MENU);
  const uint32_t back = (uint32_t(GetRValue(menu)) << 16) | (uint32_t(GetGValue(menu)) << 8) | GetBValue(menu);
  out.picture = RECT{kW, kH, -1, -1};
  // The picture lies left of the caption, a gap of 4 units from the edge and
  // two such gaps before the text: look only up to the text.
  const int columns = MulDiv(12, dpi, 96) + IconSideAt(false, Dpi(dpi));
  const auto* px = static_cast<const uint32_t*>(bits);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < columns; ++x)
      if ((px[y * kW + x] & 0xFFFFFF) != back) {
        out.picture.left = std::min<LONG>(out.picture.left, x);
        out.picture.top = std::min<LONG>(out.picture.top, y);
        out.picture.right = std::max<LONG>(out.picture.right, x + 1);
        out.picture.bottom = std::max<LONG>(out.picture.bottom, y + 1);
      }
  out.bits.assign(px, px + kW * kH);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return out;
}

MenuEntry FileEntry(const char* caption, const char* path, int kind = -1) {
  MenuEntry e;
  e.caption = caption;
  e.imageList = kFileIcons;
  e.shellPath = path;
  e.imageIndex = kind;
  return e;
}

// The menus' icons handed down as the bar does, fetched on a thread.
struct Win32MenuIcons : ::testing::Test {
  Win32MenuIcons() { SetMenuPictures(&source); }
  ~Win32MenuIcons() override { SetMenuPictures(nullptr); }
  // Waits (pumping messages, 20 seconds at most) for icons to arrive.
  bool Arrived(uint64_t before) {
    for (int i = 0; i < 2000 && source.Arrivals() == before; ++i) {
      MSG m;
      while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&m);
      Sleep(10);
    }
    return source.Arrivals() != before;
  }
  // The entry drawn once its icon was fetched.
  Drawn DrawFetched(const MenuEntry& e, int dpi) {
    const uint64_t before = source.Arrivals();
    Drawn first = DrawAt(e, dpi);
    if (first.picture.right < 0) return first;  // no icon to wait for
    const Picture* known = nullptr;
    if (source.Find(e.shellPath, e.imageIndex, IconSideAt(false, Dpi(dpi)), &known) == IMenuPictures::State::NotYet) {
      EXPECT_TRUE(Arrived(before)) << e.shellPath;
    }
    return DrawAt(e, dpi);
  }
  win32::Win32Platform wp;
  TSharedIconCache memory{""};  // kept in memory only
  TMenuIconSource source{memory, true};
};

TEST_F(Win32MenuIcons, AnEntrysIconIsDrawnAtTheSmallSizeOfTheMenusScale) {
  const MenuEntry e = FileEntry("Notepad", "C:\\windows\\notepad.exe");
  for (int dpi : {96, 120, 144, 192}) {
    const int side = IconSideAt(false, Dpi(dpi));
    const Drawn d = DrawFetched(e, dpi);
    ASSERT_GT(d.picture.right, 0) << dpi;  // something was drawn
    const int w = d.picture.right - d.picture.left, h = d.picture.bottom - d.picture.top;
    // The icon fills its box as the shell draws it at that size: wider than
    // the next smaller size (so not a small icon left as it is), never
    // wider than its own (so not stretched past it); the icon has a margin
    // above and below.
    EXPECT_LE(w, side) << dpi;
    EXPECT_LE(h, side) << dpi;
    EXPECT_GT(w, side * 3 / 4) << dpi;
    EXPECT_GE(h, side * 3 / 4) << dpi;
    // The entry is tall enough for it.
    EXPECT_GE(d.item.cy, side) << dpi;
  }
  // At 144 DPI, the small icon is 24 pixels.
  EXPECT_EQ(IconSideAt(false, Dpi(144)), 24);
  const Drawn at144 = DrawFetched(e, 144);
  EXPECT_GT(at144.picture.right - at144.picture.left, 16);
}

TEST_F(Win32MenuIcons, AnEntryWithoutAnIconShowsNoneAndOfOneKindShareTheFirst) {
  const MenuEntry missing = FileEntry("Gone", "C:\\no\\such\\file.exe");
  const Drawn none = DrawFetched(missing, 144);
  EXPECT_EQ(none.picture.right, -1);  // no picture, and the entry is still measured
  EXPECT_GT(none.item.cy, 0);
  // A kind's icon, taken once from a file that has one, serves a file of that
  // kind that has none to give.
  const MenuEntry first = FileEntry("First", "C:\\windows\\notepad.exe", FileIconKind("TESTKIND"));
  MenuEntry second = missing;
  second.imageIndex = FileIconKind("TESTKIND");
  const Drawn a = DrawFetched(first, 144), b = DrawAt(second, 144);
  ASSERT_GT(a.picture.right, 0);
  EXPECT_EQ(b.picture.left, a.picture.left);
  EXPECT_EQ(b.picture.right, a.picture.right);
  EXPECT_EQ(b.picture.bottom - b.picture.top, a.picture.bottom - a.picture.top);
}

TEST_F(Win32MenuIcons, AnEntryFirstDrawnShowsAPlaceholderThenTheShellsIconOfItsSize) {
  const MenuEntry e = FileEntry("Write", "C:\\windows\\regedit.exe");
  constexpr int kDpi = 144, kSide = 24;
  const uint64_t before = source.Arrivals();
  const Drawn first = DrawAt(e, kDpi);
  // The placeholder: a frame inside the icon's square, nothing of the icon.
  const int x = MulDiv(4, kDpi, 96), y = (kH - kSide) / 2;
  EXPECT_EQ(first.picture.left, x + kSide / 8);
  EXPECT_EQ(first.picture.top, y + kSide / 8);
  EXPECT_EQ(first.picture.right, x + kSide - kSide / 8);
  EXPECT_EQ(first.picture.bottom, y + kSide - kSide / 8);
  ASSERT_TRUE(Arrived(before));
  const Drawn fetched = DrawAt(e, kDpi);
  // Then the shell's own 24-pixel icon, pixel for pixel over the menu.
  Picture shell;
  ASSERT_TRUE(Shell().IconPicture("C:\\windows\\regedit.exe", kSide, &shell));
  ASSERT_EQ(shell.rgb.width, kSide);
  const COLORREF menu = GetSysColor(COLOR_MENU);
  int differing = 0;
  for (int row = 0; row < kSide; ++row)
    for (int col = 0; col < kSide; ++col) {
      const size_t i = size_t(row * kSide + col);
      const Color c = shell.rgb.pixels[i];
      const uint32_t a = shell.alpha.empty() ? 255 : shell.alpha[i];
      auto mix = [a](uint32_t fore, uint32_t back) { return (fore * a + back * (255 - a) + 127) / 255; };
      const uint32_t want = (mix(GetRValue(c), GetRValue(menu)) << 16) | (mix(GetGValue(c), GetGValue(menu)) << 8) |
                            mix(GetBValue(c), GetBValue(menu));
      if ((fetched.bits[size_t((y + row) * kW + x + col)] & 0xFFFFFF) != want) ++differing;
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(fetched.picture.right - fetched.picture.left, 16);
}

// Pictures held back until the test lets them come, as a fetch that takes
// its time: shows that an open menu draws the placeholder and then, once the
// icon arrives, the icon, with nothing else happening to the menu.
struct HeldPictures : IMenuPictures {
  State Find(const std::string& path, int, int pixels, const Picture** picture) override {
    *picture = nullptr;
    if (!released) return State::NotYet;
    if (held.rgb.width != pixels) Shell().IconPicture(path, pixels, &held);
    *picture = &held;
    return State::Ready;
  }
  uint64_t Arrivals() const override { return arrivals; }
  void MenuClosed() override { ++closed; }
  bool released = false;
  uint64_t arrivals = 0;
  int closed = 0;
  Picture held;
};

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (win32::HandleMenuDrawing(msg, wParam, lParam, &result)) return result;
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

struct OpenMenu {
  HeldPictures* pictures = nullptr;
  int ticks = 0, releasedAt = -1;
  int dpi = 96, side = 0;
  int before = -1, after = -1;  // pixels of the icon's box unlike the menu
} openMenu;

// Pixels of the first entry's icon box, as the screen shows them, that are
// not the menu's colour.
int IconPixelsShown(HWND popup) {
  HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, 0x01E1 /* MN_GETHMENU */, 0, 0));
  RECT r{};
  if (!menu || !GetMenuItemRect(nullptr, menu, 0, &r)) return -1;
  const int x = r.left + MulDiv(4, openMenu.dpi, 96), y = r.top + (r.bottom - r.top - openMenu.side) / 2;
  HDC screen = GetDC(nullptr);
  const COLORREF back = GetSysColor(COLOR_MENU);
  int differing = 0;
  for (int row = 0; row < openMenu.side; ++row)
    for (int col = 0; col < openMenu.side; ++col)
      if (GetPixel(screen, x + col, y + row) != back) ++differing;
  ReleaseDC(nullptr, screen);
  return differing;
}

void CALLBACK WatchOpenMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND popup = FindWindowA("#32768", nullptr);
  if (++openMenu.ticks > 200 ||
      (popup && IsWindowVisible(popup) && openMenu.releasedAt >= 0 && openMenu.ticks > openMenu.releasedAt + 8)) {
    if (popup) openMenu.after = IconPixelsShown(popup);
    KillTimer(nullptr, id);
    EndMenu();
    return;
  }
  if (!popup || !IsWindowVisible(popup) || openMenu.releasedAt >= 0 || openMenu.ticks < 4) return;
  openMenu.before = IconPixelsShown(popup);
  openMenu.pictures->released = true;
  ++openMenu.pictures->arrivals;
  openMenu.releasedAt = openMenu.ticks;
}

TEST_F(Win32MenuIcons, AnOpenMenuDrawsItsEntriesAgainWhenTheirIconsArrive) {
  HeldPictures held;
  SetMenuPictures(&held);
  WNDCLASSA wc{};
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ToviraMenuIconsOwner";
  RegisterClassA(&wc);
  HWND owner = CreateWindowExA(0, wc.lpszClassName, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr,
                               wc.hInstance, nullptr);
  ASSERT_TRUE(owner);
  openMenu = OpenMenu{};
  openMenu.pictures = &held;
  openMenu.dpi = win32::SystemDpi();
  openMenu.side = IconSideAt(false, Dpi(openMenu.dpi));
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, WatchOpenMenu);
  win32::TrackMenu({FileEntry("Notepad", "C:\\windows\\notepad.exe")}, Point{200, 200}, owner);
  KillTimer(nullptr, timer);
  DestroyWindow(owner);
  SetMenuPictures(&source);
  ASSERT_GE(openMenu.releasedAt, 0) << "the menu did not show";
  // The placeholder's frame first, then the icon (more of the box, and not
  // the frame's count).
  const int inset = openMenu.side / 8, frame = 4 * (openMenu.side - 2 * inset) - 4;
  EXPECT_EQ(openMenu.before, frame);
  EXPECT_GT(openMenu.after, frame);
  EXPECT_EQ(held.closed, 1);  // told that the menu closed
}

}  // namespace
}  // namespace tov
