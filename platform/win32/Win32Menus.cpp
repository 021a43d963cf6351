#include "platform/win32/Win32Menus.h"

#include <commctrl.h>

#include "platform/Platform.h"

#include <algorithm>
#include <deque>
#include <map>
#include <utility>

namespace tov::win32 {

namespace {

// Marks the entries this layer draws, so drawing messages of other menus
// (the system menu) are left alone.
constexpr ULONG_PTR kEntryTag = 0x546F7669;  // "Tovi"

struct DrawnEntry {
  ULONG_PTR tag = kEntryTag;
  const MenuEntry* entry = nullptr;
};

constexpr int kIconSize = 16;
constexpr int kGap = 4;

HFONT MenuFont() {
  static HFONT font = [] {
    NONCLIENTMETRICSA m{};
    m.cbSize = sizeof m;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0)) return CreateFontIndirectA(&m.lfMenuFont);
    return HFONT(GetStockObject(DEFAULT_GUI_FONT));
  }();
  return font;
}

bool Drawn(const MenuEntry& e) { return e.imageList != 0 || e.extraHeight != 0; }

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
};
thread_local Tracking* tracking = nullptr;

void FillMenu(HMENU menu, const std::vector<MenuEntry>& entries, Tracking& t);

HMENU BuildMenu(const std::vector<MenuEntry>& entries, Tracking& t) {
  HMENU menu = CreatePopupMenu();
  FillMenu(menu, entries, t);
  return menu;
}

void FillMenu(HMENU menu, const std::vector<MenuEntry>& entries, Tracking& t) {
  std::deque<DrawnEntry>& drawn = t.drawn;
  std::vector<const MenuEntry*>& positions = t.byPosition[menu];
  positions.clear();
  for (const MenuEntry& e : entries) {
    positions.push_back(&e);
    if (!e.shellPath.empty()) t.shellPaths = true;
    if (e.separator) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (e.enabled ? MF_ENABLED : MF_GRAYED) | (e.checked ? MF_CHECKED : MF_UNCHECKED);
    if (!e.children.empty()) {
      AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(BuildMenu(e.children, t)), e.caption.c_str());
      continue;
    }
    if (e.expand) {
      // Made when first opened (WM_INITMENUPOPUP); until then one grey
      // entry, as an empty sub-menu would not open.
      HMENU sub = CreatePopupMenu();
      AppendMenuA(sub, MF_STRING | MF_GRAYED, 0, "...");
      t.toMake[sub] = &e;
      AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), e.caption.c_str());
      continue;
    }
    if (Drawn(e)) {
      drawn.push_back(DrawnEntry{kEntryTag, &e});
      MENUITEMINFOA mi{};
      mi.cbSize = sizeof mi;
      mi.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_DATA;
      mi.fType = MFT_OWNERDRAW;
      mi.fState = (e.enabled ? MFS_ENABLED : MFS_GRAYED) | (e.checked ? MFS_CHECKED : 0);
      mi.wID = UINT(e.id);
      // A deque: the address stays put.
      mi.dwItemData = reinterpret_cast<ULONG_PTR>(&drawn.back());
      InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &mi);
    } else {
      AppendMenuA(menu, flags, UINT_PTR(e.id), e.caption.c_str());
    }
    if (e.radio && e.checked) CheckMenuRadioItem(menu, UINT(e.id), UINT(e.id), UINT(e.id), MF_BYCOMMAND);
    if (e.isDefault) SetMenuDefaultItem(menu, UINT(e.id), FALSE);
  }
}

const MenuEntry* EntryOf(ULONG_PTR data) {
  const auto* d = reinterpret_cast<const DrawnEntry*>(data);
  return d && d->tag == kEntryTag ? d->entry : nullptr;
}

void Measure(MEASUREITEMSTRUCT& mi, const MenuEntry& e) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, MenuFont());
  SIZE text{};
  GetTextExtentPoint32A(dc, e.caption.c_str(), int(e.caption.size()), &text);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const int standard = std::max<int>(text.cy + 4, kIconSize + 2);
  mi.itemWidth = UINT(kGap + kIconSize + 2 * kGap + text.cx + 2 * kGap);
  mi.itemHeight = UINT(std::max(standard + e.extraHeight, 1));
}

void Draw(const DRAWITEMSTRUCT& di, const MenuEntry& e) {
  const bool selected = (di.itemState & ODS_SELECTED) != 0;
  const bool grayed = (di.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0 || !e.enabled;
  RECT r = di.rcItem;
  FillRect(di.hDC, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (e.imageList && e.imageIndex >= 0) {
    const int y = r.top + (r.bottom - r.top - kIconSize) / 2;
    ImageList_Draw(reinterpret_cast<HIMAGELIST>(e.imageList), e.imageIndex, di.hDC, r.left + kGap, y,
                   ILD_TRANSPARENT | (selected ? ILD_SELECTED : 0));
  }
  RECT text = r;
  text.left += kGap + kIconSize + 2 * kGap;
  HGDIOBJ old = SelectObject(di.hDC, MenuFont());
  SetBkMode(di.hDC, TRANSPARENT);
  SetTextColor(di.hDC, GetSysColor(grayed ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  DrawTextA(di.hDC, e.caption.c_str(), int(e.caption.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(di.hDC, old);
}

}  // namespace

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
    const MenuEntry* e = mi.CtlType == ODT_MENU ? EntryOf(mi.itemData) : nullptr;
    if (!e) return false;
    Measure(mi, *e);
    *result = TRUE;
    return true;
  }
  if (msg == WM_DRAWITEM) {
    const auto& di = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const MenuEntry* e = di.CtlType == ODT_MENU ? EntryOf(di.itemData) : nullptr;
    if (!e) return false;
    Draw(di, *e);
    *result = TRUE;
    return true;
  }
  return false;
}

int TrackMenu(const std::vector<MenuEntry>& entries, Point at, HWND hwnd) {
  Tracking t;
  t.owner = hwnd;
  Tracking* outer = std::exchange(tracking, &t);
  HMENU menu = BuildMenu(entries, t);
  // The owner must be in the foreground, or the menu would not close when
  // the user clicks elsewhere.
  SetForegroundWindow(hwnd);
  // Where a right click shows the shell's menu of an entry, it does not choose.
  const UINT button = t.shellPaths ? 0 : TPM_RIGHTBUTTON;
  int chosen = int(::TrackPopupMenu(menu, TPM_RETURNCMD | button, at.x, at.y, 0, hwnd, nullptr));
  PostMessageA(hwnd, WM_NULL, 0, 0);
  DestroyMenu(menu);  // destroys the sub-menus too
  tracking = outer;
  return chosen;
}

}  // namespace tov::win32
