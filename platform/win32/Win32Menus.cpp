#include "platform/win32/Win32Menus.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "base/Dpi.h"
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

// The side of an entry's picture: its image list's own, else the box's.
int IconSide(const MenuEntry& e, const Dpi& dpi) {
  int cx = 0, cy = 0;
  if (e.imageList && ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(e.imageList), &cx, &cy))
    return std::max(cx, cy);
  return dpi.Scale(kIconSize);
}

bool Drawn(const MenuEntry& e) { return e.imageList != 0 || e.extraHeight != 0; }

HMENU BuildMenu(const std::vector<MenuEntry>& entries, std::vector<DrawnEntry>& drawn, int dpi) {
  HMENU menu = CreatePopupMenu();
  for (const MenuEntry& e : entries) {
    if (e.separator) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (e.enabled ? MF_ENABLED : MF_GRAYED) | (e.checked ? MF_CHECKED : MF_UNCHECKED);
    if (!e.children.empty()) {
      AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(BuildMenu(e.children, drawn, dpi)),
                  e.caption.c_str());
      continue;
    }
    if (Drawn(e)) {
      drawn.push_back(DrawnEntry{kEntryTag, &e, dpi});
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

const DrawnEntry* EntryOf(ULONG_PTR data) {
  const auto* d = reinterpret_cast<const DrawnEntry*>(data);
  return d && d->tag == kEntryTag && d->entry ? d : nullptr;
}

void Measure(MEASUREITEMSTRUCT& mi, const MenuEntry& e, Dpi dpi) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, MenuFont(dpi.Value()));
  SIZE text{};
  const std::wstring caption = WideText(e.caption);
  GetTextExtentPoint32W(dc, caption.c_str(), int(caption.size()), &text);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const int icon = IconSide(e, dpi), gap = dpi.Scale(kGap);
  const int standard = std::max<int>(text.cy + dpi.Scale(4), icon + dpi.Scale(2));
  mi.itemWidth = UINT(gap + icon + 2 * gap + text.cx + 2 * gap);
  mi.itemHeight = UINT(std::max(standard + dpi.Scale(e.extraHeight), 1));
}

void Draw(const DRAWITEMSTRUCT& di, const MenuEntry& e, Dpi dpi) {
  const int icon = IconSide(e, dpi), gap = dpi.Scale(kGap);
  const bool selected = (di.itemState & ODS_SELECTED) != 0;
  const bool grayed = (di.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0 || !e.enabled;
  RECT r = di.rcItem;
  FillRect(di.hDC, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (e.imageList && e.imageIndex >= 0) {
    const int y = r.top + (r.bottom - r.top - icon) / 2;
    ImageList_Draw(reinterpret_cast<HIMAGELIST>(e.imageList), e.imageIndex, di.hDC, r.left + gap, y,
                   ILD_TRANSPARENT | (selected ? ILD_SELECTED : 0));
  }
  RECT text = r;
  text.left += gap + icon + 2 * gap;
  HGDIOBJ old = SelectObject(di.hDC, MenuFont(dpi.Value()));
  SetBkMode(di.hDC, TRANSPARENT);
  SetTextColor(di.hDC, GetSysColor(grayed ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  const std::wstring caption = WideText(e.caption);
  DrawTextW(di.hDC, caption.c_str(), int(caption.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(di.hDC, old);
}

}  // namespace

bool HandleMenuDrawing(UINT msg, WPARAM, LPARAM lParam, LRESULT* result) {
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
  return false;
}

int TrackMenu(const std::vector<MenuEntry>& entries, Point at, HWND hwnd) {
  std::vector<DrawnEntry> drawn;
  drawn.reserve(CountEntries(entries));
  // Measured at the scale of the monitor it opens on.
  const int dpi = MonitorDpi(MonitorFromPoint(POINT{at.x, at.y}, MONITOR_DEFAULTTONEAREST));
  HMENU menu = BuildMenu(entries, drawn, dpi);
  // The owner must be in the foreground, or the menu would not close when
  // the user clicks elsewhere.
  SetForegroundWindow(hwnd);
  int chosen = int(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd, nullptr));
  PostMessageA(hwnd, WM_NULL, 0, 0);
  DestroyMenu(menu);  // destroys the sub-menus too
  return chosen;
}

}  // namespace tov::win32
