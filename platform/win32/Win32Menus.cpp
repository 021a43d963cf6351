#include "platform/win32/Win32Menus.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "base/TypeAhead.h"

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

HMENU BuildMenu(const std::vector<MenuEntry>& entries, std::vector<DrawnEntry>& drawn) {
  HMENU menu = CreatePopupMenu();
  for (const MenuEntry& e : entries) {
    if (e.separator) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (e.enabled ? MF_ENABLED : MF_GRAYED) | (e.checked ? MF_CHECKED : MF_UNCHECKED);
    if (!e.children.empty()) {
      AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(BuildMenu(e.children, drawn)), e.caption.c_str());
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
      // The vector was reserved for every entry: the address stays put.
      mi.dwItemData = reinterpret_cast<ULONG_PTR>(&drawn.back());
      InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &mi);
    } else {
      AppendMenuA(menu, flags, UINT_PTR(e.id), e.caption.c_str());
    }
    if (e.radio && e.checked) CheckMenuRadioItem(menu, UINT(e.id), UINT(e.id), UINT(e.id), MF_BYCOMMAND);
    if (e.isDefault) SetMenuDefaultItem(menu, UINT(e.id), FALSE);
  }
  return menu;
}

size_t CountEntries(const std::vector<MenuEntry>& entries) {
  size_t n = entries.size();
  for (const MenuEntry& e : entries)
    n += CountEntries(e.children);
  return n;
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
  if (msg == WM_MENUCHAR) {
    // Whole-prefix type-to-select: the system alone would only match an
    // item's "&" letter.
    const unsigned ch = LOWORD(wParam);
    HMENU menu = reinterpret_cast<HMENU>(lParam);
    // The owner's window is an ANSI one: a letter beyond ASCII comes as a
    // byte of UTF-8 and is left to the system.
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
        if (const MenuEntry* e = (mi.fType & MFT_OWNERDRAW) ? EntryOf(mi.dwItemData) : nullptr) {
          caption = e->caption;
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
  std::vector<DrawnEntry> drawn;
  drawn.reserve(CountEntries(entries));
  HMENU menu = BuildMenu(entries, drawn);
  // The owner must be in the foreground, or the menu would not close when
  // the user clicks elsewhere.
  SetForegroundWindow(hwnd);
  int chosen = int(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd, nullptr));
  PostMessageA(hwnd, WM_NULL, 0, 0);
  DestroyMenu(menu);  // destroys the sub-menus too
  return chosen;
}

}  // namespace tov::win32
