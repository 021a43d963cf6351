// Folder-menu entries that show a file's icon, drawn as the real menus draw
// them (run under Wine in CI): the icon at the exact small size for the
// menu's scale, never stretched, and entries of one kind sharing one icon.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/IconSize.h"
#include "platform/MenuIcons.h"
#include "platform/win32/Win32Dib.h"
#include "platform/win32/Win32Menus.h"
#include "platform/win32/Win32Platform.h"

namespace tov {
namespace {

struct Drawn {
  SIZE item{};
  RECT picture{};  // the box of pixels that differ from the menu's colour
};

// Draws the entry at a scale on a surface of the menu's colour.
Drawn DrawAt(const MenuEntry& e, int dpi) {
  constexpr int kW = 400, kH = 80;
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
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return out;
}

TEST(Win32MenuIcons, AnEntrysIconIsDrawnAtTheSmallSizeOfTheMenusScale) {
  win32::Win32Platform wp;
  MenuEntry e;
  e.caption = "Notepad";
  e.imageList = kFileIcons;
  e.shellPath = "C:\\windows\\notepad.exe";
  for (int dpi : {96, 120, 144, 192}) {
    const int side = IconSideAt(false, Dpi(dpi));
    const Drawn d = DrawAt(e, dpi);
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
  const Drawn at144 = DrawAt(e, 144);
  EXPECT_GT(at144.picture.right - at144.picture.left, 16);
}

TEST(Win32MenuIcons, AnEntryWithoutAnIconShowsNoneAndOfOneKindShareTheFirst) {
  win32::Win32Platform wp;
  MenuEntry missing;
  missing.caption = "Gone";
  missing.imageList = kFileIcons;
  missing.shellPath = "C:\\no\\such\\file.exe";
  const Drawn none = DrawAt(missing, 144);
  EXPECT_EQ(none.picture.right, -1);  // no picture, and the entry is still measured
  EXPECT_GT(none.item.cy, 0);
  // A kind's icon, taken once from a file that has one, serves a file of that
  // kind that has none to give.
  MenuEntry first;
  first.caption = "First";
  first.imageList = kFileIcons;
  first.shellPath = "C:\\windows\\notepad.exe";
  first.imageIndex = FileIconKind("TESTKIND");
  MenuEntry second = missing;
  second.imageIndex = FileIconKind("TESTKIND");
  const Drawn a = DrawAt(first, 144), b = DrawAt(second, 144);
  ASSERT_GT(a.picture.right, 0);
  EXPECT_EQ(b.picture.left, a.picture.left);
  EXPECT_EQ(b.picture.right, a.picture.right);
  EXPECT_EQ(b.picture.bottom - b.picture.top, a.picture.bottom - a.picture.top);
}

}  // namespace
}  // namespace tov
