#include "platform/win32/Win32Menus.h"
#include "platform/win32/Win32Dib.h"
#include "platform/win32/Win32Scoped.h"

#include <commctrl.h>

#include <algorithm>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/Dpi.h"
#include "base/IconSize.h"
#include "base/TypeAhead.h"
#include "platform/MenuIcons.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Text.h"

namespace tov::win32 {

namespace {

// Marks the entries this layer draws, so drawing messages of other menus
// (the system menu) are left alone.
constexpr ULONG_PTR kEntryTag = 0x546F7669;  // "Tovi"

struct DrawnEntry {
  ULONG_PTR tag = kEntryTag;
  const MenuEntry* entry = nullptr;
  int dpi = Dpi::kBase;  // the scale of the monitor the menu shows on
};

// In 96-DPI units; a menu is measured and drawn at its monitor's scale.
constexpr int kIconSize = 16;
constexpr int kGap = 4;

// The menu font at a scale: the system's own for that DPI where it can say
// (SystemParametersInfoForDpi), else the one at the system's DPI rescaled.
// One font per scale, kept for the process.
HFONT MenuFont(int dpi) {
  static std::map<int, HFONT> fonts;
  if (auto it = fonts.find(dpi); it != fonts.end()) return it->second;
  using InfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static const auto infoForDpi = reinterpret_cast<InfoForDpiFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SystemParametersInfoForDpi")));
  // The record of Windows Vista and later in both calls (the "W" call's
  // font names are wide: the "A" record is read by the "A" call only).
  HFONT font = nullptr;
  NONCLIENTMETRICSW wide{};
  wide.cbSize = sizeof wide;
  if (infoForDpi && infoForDpi(SPI_GETNONCLIENTMETRICS, sizeof wide, &wide, 0, UINT(dpi))) {
    font = CreateFontIndirectW(&wide.lfMenuFont);
  } else {
    NONCLIENTMETRICSA m{};
    m.cbSize = sizeof m;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0)) {
      m.lfMenuFont.lfHeight = Dpi(dpi).From(m.lfMenuFont.lfHeight, Dpi(SystemDpi()));
      font = CreateFontIndirectA(&m.lfMenuFont);
    }
  }
  if (!font) font = HFONT(GetStockObject(DEFAULT_GUI_FONT));
  fonts[dpi] = font;
  return font;
}

// The side of an entry's picture: a file's icon at the small icon's size for
// the scale, else its image list's own, else the box's.
int IconSide(const MenuEntry& e, const Dpi& dpi) {
  if (e.imageList == kFileIcons) return IconSideAt(false, dpi);
  int cx = 0, cy = 0;
  if (e.imageList && ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(e.imageList), &cx, &cy))
    return std::max(cx, cy);
  return dpi.Scale(kIconSize);
}

bool Drawn(const MenuEntry& e) { return e.imageList != 0 || e.extraHeight != 0; }

// An entry that shows a picture: a file's icon, or an image of its list.
bool HasPicture(const MenuEntry& e) {
  if (e.imageList == kFileIcons) return !e.shellPath.empty();
  return e.imageList != 0 && e.imageIndex >= 0;
}

// An entry that opens a sub-menu: the system draws its arrow at the right
// end of the entry, after the entry itself.
bool OpensSubMenu(const MenuEntry& e) { return !e.children.empty() || bool(e.expand); }

// The icon of an entry that shows a file's (kFileIcons), from the pictures
// the bar handed down: known at once, or fetched away from this thread while
// the entry shows a placeholder (drawn again once icons arrive, see
// WatchArrivals).
IMenuPictures::State EntryIcon(const MenuEntry& e, int pixels, const Picture** picture) {
  *picture = nullptr;
  IMenuPictures* pictures = MenuPictures();
  if (e.imageList != kFileIcons || e.shellPath.empty() || !pictures) return IMenuPictures::State::None;
  return pictures->Find(e.shellPath, e.imageIndex, pixels, picture);
}

// An icon not there yet: a frame of its size, a shade darker than the menu.
void DrawPlaceholder(HDC dc, int x, int y, int side, COLORREF back) {
  const int inset = side / 8;
  const COLORREF frame = RGB(GetRValue(back) * 9 / 10, GetGValue(back) * 9 / 10, GetBValue(back) * 9 / 10);
  HBRUSH brush = CreateSolidBrush(frame);
  RECT r{x + inset, y + inset, x + side - inset, y + side - inset};
  FrameRect(dc, &r, brush);
  DeleteObject(brush);
}

// While a menu is tracked, icons that arrive have its open levels (the
// pop-up windows of class #32768 on this thread) drawn again.
constexpr UINT kArrivalsPeriod = 60;  // milliseconds
thread_local uint64_t seenArrivals = 0;

BOOL CALLBACK RedrawMenuWindow(HWND hwnd, LPARAM) {
  char name[16] = {};
  if (GetClassNameA(hwnd, name, int(sizeof name)) && std::string(name) == "#32768" && IsWindowVisible(hwnd))
    InvalidateRect(hwnd, nullptr, FALSE);
  return TRUE;
}

void CALLBACK WatchArrivals(HWND, UINT, UINT_PTR, DWORD) {
  IMenuPictures* pictures = MenuPictures();
  if (!pictures || pictures->Arrivals() == seenArrivals) return;
  seenArrivals = pictures->Arrivals();
  EnumThreadWindows(GetCurrentThreadId(), RedrawMenuWindow, 0);
}

// A picture laid over a background of one colour, as it shows over the menu.
void DrawPictureOver(HDC dc, int x, int y, const Picture& p, COLORREF back) {
  const int w = p.rgb.width, h = p.rgb.height;
  std::vector<uint32_t> bits(size_t(w) * size_t(h));
  auto mix = [](uint32_t fore, uint32_t behind, uint32_t a) { return (fore * a + behind * (255 - a) + 127) / 255; };
  for (size_t i = 0; i < bits.size(); ++i) {
    const Color c = p.rgb.pixels[i];
    const uint32_t a = p.alpha.empty() ? 255 : p.alpha[i];
    const uint32_t r = mix(GetRValue(c), GetRValue(back), a);
    const uint32_t g = mix(GetGValue(c), GetGValue(back), a);
    const uint32_t b = mix(GetBValue(c), GetBValue(back), a);
    bits[i] = (r << 16) | (g << 8) | b;
  }
  BITMAPINFO bi = TopDownDibInfo(w, h);
  SetDIBitsToDevice(dc, x, y, DWORD(w), DWORD(h), 0, 0, 0, UINT(h), bits.data(), &bi, DIB_RGB_COLORS);
}

// The menu tracked now on this thread: its drawn entries (a deque, so their
// addresses stay put as sub-menus made when opened add more), the sub-menus
// still to make, and the entries made for them.
struct Tracking {
  HWND owner = nullptr;
  std::deque<DrawnEntry> drawn;
  std::map<HMENU, const MenuEntry*> toMake;
  std::deque<std::vector<MenuEntry>> made;
  // Each menu's entries by position, for a right click on one.
  std::map<HMENU, std::vector<const MenuEntry*>> byPosition;
  bool shellPaths = false;
  int dpi = Dpi::kBase;  // the scale of the monitor the menu opens on
};
thread_local Tracking* tracking = nullptr;

void FillMenu(HMENU menu, const std::vector<MenuEntry>& entries, Tracking& t, bool append = false);

HMENU BuildMenu(const std::vector<MenuEntry>& entries, Tracking& t) {
  HMENU menu = CreatePopupMenu();
  FillMenu(menu, entries, t);
  return menu;
}

void FillMenu(HMENU menu, const std::vector<MenuEntry>& entries, Tracking& t, bool append) {
  std::deque<DrawnEntry>& drawn = t.drawn;
  std::vector<const MenuEntry*>& positions = t.byPosition[menu];
  if (!append) positions.clear();
  for (const MenuEntry& e : entries) {
    positions.push_back(&e);
    if (!e.shellPath.empty()) t.shellPaths = true;
    if (e.separator) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (e.enabled ? MF_ENABLED : MF_GRAYED) | (e.checked ? MF_CHECKED : MF_UNCHECKED);
    HMENU sub = nullptr;
    if (!e.children.empty()) {
      sub = BuildMenu(e.children, t);
    } else if (e.expand) {
      // Made when first opened (WM_INITMENUPOPUP); until then one grey
      // entry, as an empty sub-menu would not open.
      sub = CreatePopupMenu();
      AppendMenuA(sub, MF_STRING | MF_GRAYED, 0, "...");
      t.toMake[sub] = &e;
    }
    if (sub && !HasPicture(e)) {
      AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), e.caption.c_str());
      continue;
    }
    if (sub || Drawn(e)) {
      // Drawn here, at the menu's scale; an entry that opens a sub-menu
      // keeps it (the system still opens it and draws its arrow).
      drawn.push_back(DrawnEntry{kEntryTag, &e, t.dpi});
      MENUITEMINFOA mi{};
      mi.cbSize = sizeof mi;
      mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA | (sub ? MIIM_SUBMENU : MIIM_ID);
      mi.fType = MFT_OWNERDRAW;
      mi.fState = (e.enabled ? MFS_ENABLED : MFS_GRAYED) | (e.checked ? MFS_CHECKED : 0);
      mi.wID = UINT(e.id);
      mi.hSubMenu = sub;
      // A deque: the address stays put.
      mi.dwItemData = reinterpret_cast<ULONG_PTR>(&drawn.back());
      InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &mi);
      if (sub) continue;
    } else {
      AppendMenuA(menu, flags, UINT_PTR(e.id), e.caption.c_str());
    }
    if (e.radio && e.checked) CheckMenuRadioItem(menu, UINT(e.id), UINT(e.id), UINT(e.id), MF_BYCOMMAND);
    if (e.isDefault) SetMenuDefaultItem(menu, UINT(e.id), FALSE);
  }
}

const DrawnEntry* EntryOf(ULONG_PTR data) {
  const auto* d = reinterpret_cast<const DrawnEntry*>(data);
  return d && d->tag == kEntryTag && d->entry ? d : nullptr;
}

// The room kept at the right end of an entry for its sub-menu's arrow.
int ArrowRoom(const MenuEntry& e, Dpi dpi) { return OpensSubMenu(e) ? MetricForDpi(SM_CXMENUCHECK, dpi.Value()) : 0; }

void Measure(MEASUREITEMSTRUCT& mi, const MenuEntry& e, Dpi dpi) {
  ScreenDc screen;
  HDC dc = screen.Get();
  HGDIOBJ old = SelectObject(dc, MenuFont(dpi.Value()));
  SIZE text{};
  const std::wstring caption = WideText(e.caption);
  GetTextExtentPoint32W(dc, caption.c_str(), int(caption.size()), &text);
  SelectObject(dc, old);
  const int icon = IconSide(e, dpi), gap = dpi.Scale(kGap);
  const int standard = std::max<int>(text.cy + dpi.Scale(4), icon + dpi.Scale(2));
  mi.itemWidth = UINT(gap + icon + 2 * gap + text.cx + 2 * gap + ArrowRoom(e, dpi));
  mi.itemHeight = UINT(std::max(standard + dpi.Scale(e.extraHeight), 1));
}

void Draw(const DRAWITEMSTRUCT& di, const MenuEntry& e, Dpi dpi) {
  const int icon = IconSide(e, dpi), gap = dpi.Scale(kGap);
  const bool selected = (di.itemState & ODS_SELECTED) != 0;
  const bool grayed = (di.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0 || !e.enabled;
  RECT r = di.rcItem;
  FillRect(di.hDC, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  const Picture* picture = nullptr;
  const IMenuPictures::State state = EntryIcon(e, icon, &picture);
  const COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU);
  if (picture) {
    const int y = r.top + (r.bottom - r.top - icon) / 2;
    DrawPictureOver(di.hDC, r.left + gap, y, *picture, back);
  } else if (state == IMenuPictures::State::NotYet) {
    DrawPlaceholder(di.hDC, r.left + gap, r.top + (r.bottom - r.top - icon) / 2, icon, back);
  } else if (e.imageList && e.imageList != kFileIcons && e.imageIndex >= 0) {
    const int y = r.top + (r.bottom - r.top - icon) / 2;
    ImageList_Draw(reinterpret_cast<HIMAGELIST>(e.imageList), e.imageIndex, di.hDC, r.left + gap, y,
                   ILD_TRANSPARENT | (selected ? ILD_SELECTED : 0));
  }
  RECT text = r;
  text.left += gap + icon + 2 * gap;
  text.right -= ArrowRoom(e, dpi);  // the text never runs under the arrow
  HGDIOBJ old = SelectObject(di.hDC, MenuFont(dpi.Value()));
  SetBkMode(di.hDC, TRANSPARENT);
  SetTextColor(di.hDC, GetSysColor(grayed ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  const std::wstring caption = WideText(e.caption);
  DrawTextW(di.hDC, caption.c_str(), int(caption.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(di.hDC, old);
}

}  // namespace

SIZE DrawMenuEntry(HDC dc, const RECT& r, const MenuEntry& e, int dpi, bool selected) {
  MEASUREITEMSTRUCT mi{};
  mi.CtlType = ODT_MENU;
  Measure(mi, e, Dpi(dpi));
  DRAWITEMSTRUCT di{};
  di.CtlType = ODT_MENU;
  di.itemState = selected ? ODS_SELECTED : 0;
  di.hDC = dc;
  di.rcItem = r;
  Draw(di, e, Dpi(dpi));
  return SIZE{LONG(mi.itemWidth), LONG(mi.itemHeight)};
}

bool HandleMenuDrawing(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (msg == WM_INITMENUPOPUP && tracking) {
    const HMENU sub = reinterpret_cast<HMENU>(wParam);
    auto it = tracking->toMake.find(sub);
    if (it == tracking->toMake.end()) return false;
    const MenuEntry* e = it->second;
    tracking->toMake.erase(it);
    tracking->made.push_back(e->expand());
    DeleteMenu(sub, 0, MF_BYPOSITION);
    if (tracking->made.back().empty())
      AppendMenuA(sub, MF_STRING | MF_GRAYED, 0, "-");
    else
      FillMenu(sub, tracking->made.back(), *tracking);
    if (e->more) {
      // A level made in steps is finished here, before the menu is shown: a
      // shown menu keeps the size and scroll range it was shown with, so
      // entries added to it later could not be reached.
      for (std::vector<MenuEntry> batch = e->more(); !batch.empty(); batch = e->more()) {
        tracking->made.push_back(std::move(batch));
        FillMenu(sub, tracking->made.back(), *tracking, true);
      }
    }
    *result = 0;
    return true;
  }
  if (msg == WM_MENURBUTTONUP && tracking) {
    // A right click on an entry of a file or folder: the shell's menu over
    // ours, then ours closes.
    const auto menu = tracking->byPosition.find(reinterpret_cast<HMENU>(lParam));
    if (menu == tracking->byPosition.end() || wParam >= menu->second.size()) return false;
    const MenuEntry* e = menu->second[wParam];
    if (!e || e->shellPath.empty()) return false;
    POINT at{};
    GetCursorPos(&at);
    if (tov::Shell().ShowContextMenu(WindowId(tracking->owner), e->shellPath, Point{at.x, at.y}, false)) EndMenu();
    *result = 0;
    return true;
  }
  if (msg == WM_MEASUREITEM) {
    auto& mi = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    const DrawnEntry* e = mi.CtlType == ODT_MENU ? EntryOf(mi.itemData) : nullptr;
    if (!e) return false;
    Measure(mi, *e->entry, Dpi(e->dpi));
    *result = TRUE;
    return true;
  }
  if (msg == WM_DRAWITEM) {
    const auto& di = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const DrawnEntry* e = di.CtlType == ODT_MENU ? EntryOf(di.itemData) : nullptr;
    if (!e) return false;
    Draw(di, *e->entry, Dpi(e->dpi));
    *result = TRUE;
    return true;
  }
  if (msg == WM_MENUCHAR) {
    // Whole-prefix type-to-select: the system alone would only match an
    // item's "&" letter.
    const unsigned ch = LOWORD(wParam);
    HMENU menu = reinterpret_cast<HMENU>(lParam);
    // A letter beyond ASCII is left to the system: under an ANSI owner (a
    // dialog) it comes as a byte of UTF-8, not as a character.
    if (ch < 0x20 || ch >= 0x80 || !menu) return false;
    static TTypeAhead typeAhead;
    static HMENU lastMenu = nullptr;
    if (menu != lastMenu) typeAhead.Reset();
    lastMenu = menu;
    std::vector<std::string> captions;
    int current = -1;
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
      MENUITEMINFOA mi{};
      mi.cbSize = sizeof mi;
      mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
      std::string caption;
      if (GetMenuItemInfoA(menu, UINT(i), TRUE, &mi)) {
        if (mi.fState & MFS_HILITE) current = i;
        if (const DrawnEntry* e = (mi.fType & MFT_OWNERDRAW) ? EntryOf(mi.dwItemData) : nullptr) {
          caption = e->entry->caption;
        } else if (!(mi.fType & MFT_SEPARATOR)) {
          char text[512] = {};
          GetMenuStringA(menu, UINT(i), text, int(sizeof text), MF_BYPOSITION);
          caption = text;
        }
      }
      captions.push_back(caption);
    }
    const int found = typeAhead.Type(captions, current, std::string(1, char(ch)), GetTickCount());
    if (found < 0) return false;
    *result = MAKELRESULT(found, MNC_SELECT);
    return true;
  }
  return false;
}

int TrackMenu(const std::vector<MenuEntry>& entries, Point at, HWND hwnd) {
  Tracking t;
  t.owner = hwnd;
  // Measured at the scale of the monitor it opens on.
  t.dpi = MonitorDpi(MonitorFromPoint(POINT{at.x, at.y}, MONITOR_DEFAULTTONEAREST));
  Tracking* outer = std::exchange(tracking, &t);
  HMENU menu = BuildMenu(entries, t);
  // The owner must be in the foreground, or the menu would not close when
  // the user clicks elsewhere.
  SetForegroundWindow(hwnd);
  // Where a right click shows the shell's menu of an entry, it does not choose.
  const UINT button = t.shellPaths ? 0 : TPM_RIGHTBUTTON;
  const UINT_PTR watch = MenuPictures() ? SetTimer(nullptr, 0, kArrivalsPeriod, WatchArrivals) : 0;
  if (watch) seenArrivals = MenuPictures()->Arrivals();
  int chosen = int(::TrackPopupMenu(menu, TPM_RETURNCMD | button, at.x, at.y, 0, hwnd, nullptr));
  if (watch) KillTimer(nullptr, watch);
  // The icons still to fetch were for this menu alone.
  if (IMenuPictures* pictures = MenuPictures(); pictures && !outer) pictures->MenuClosed();
  PostMessageA(hwnd, WM_NULL, 0, 0);
  DestroyMenu(menu);  // destroys the sub-menus too
  tracking = outer;
  return chosen;
}

}  // namespace tov::win32
