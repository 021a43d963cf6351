// Tree views and list views on dialogs: the common controls filled from the
// description, their rows' pictures, and what the user selects or renames
// reported as events.
#include "platform/win32/Win32FormWindow.h"

#include <shellapi.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "base/IconSize.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Dib.h"
#include "platform/win32/Win32Scoped.h"

namespace tov::win32::form {

namespace {

// The rows of a list view selected now, ascending.
std::vector<int> SelectedRows(HWND list) {
  std::vector<int> rows;
  for (int i = int(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)); i >= 0;
       i = int(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(i), LVNI_SELECTED)))
    rows.push_back(i);
  return rows;
}

void SetCell(HWND list, int row, int column, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item));
}

void SetRow(HWND list, int row, const std::vector<std::string>& cells, int image, bool insert) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = row;
  item.iImage = image >= 0 ? image : I_IMAGENONE;
  const std::string caption = cells.empty() ? std::string() : cells[0];
  item.pszText = const_cast<char*>(caption.c_str());
  SendMessageA(list, insert ? LVM_INSERTITEMA : LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  for (size_t c = 1; c < cells.size(); ++c)
    SetCell(list, row, int(c), cells[c]);
}

int ImageOf(const ControlDesc& d, size_t row) { return row < d.rowImages.size() ? d.rowImages[row] : -1; }

const std::string& IconPathOf(const ControlDesc& d, size_t row) {
  static const std::string none;
  return row < d.rowIconPaths.size() ? d.rowIconPaths[row] : none;
}

// The shell's list of small or large icons (never freed: the shell's own).
HIMAGELIST SystemImages(bool small) {
  SHFILEINFOA info{};
  return reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | (small ? SHGFI_SMALLICON : SHGFI_LARGEICON)));
}

// A picture as an icon of its size, its alpha kept (colours straight, as an
// icon's are).
HICON IconOf(const Picture& p) {
  const int w = p.rgb.width, h = p.rgb.height;
  BITMAPINFO bi = TopDownDibInfo(w, h);
  void* bits = nullptr;
  ScopedGdi<HBITMAP> color(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  ScopedGdi<HBITMAP> mask(CreateBitmap(w, h, 1, 1, nullptr));
  if (!color.Get() || !mask.Get() || !bits) return nullptr;
  auto* out = static_cast<uint32_t*>(bits);
  for (size_t i = 0; i < size_t(w) * size_t(h); ++i) {
    const Color c = p.rgb.pixels[i];
    const uint32_t a = p.alpha.empty() ? 255 : p.alpha[i];
    out[i] = (a << 24) | (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
  }
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = color.Get();
  info.hbmMask = mask.Get();
  return CreateIconIndirect(&info);
}

// The list's side at a scale: the small icon's, at most the shell's large
// list's 32 pixels, so that no row's image is drawn larger than it is.
int RowSideAt(Dpi dpi) { return std::min(IconSideAt(false, dpi), 32); }

}  // namespace

RowPictures::RowPictures(int side) : side_(side) {
  list_ = ImageList_Create(side_, side_, ILC_COLOR32 | ILC_MASK, 16, 16);
}

RowPictures::~RowPictures() {
  if (list_) ImageList_Destroy(list_);
}

int RowPictures::Of(int image, const std::string& path) {
  if (!list_) return -1;
  if (!path.empty()) {
    if (auto it = ofPath_.find(path); it != ofPath_.end()) return it->second >= 0 ? it->second : Of(image, {});
    int at = -1;
    Picture picture;
    if (Shell().IconPicture(path, side_, &picture) && picture.rgb.width == side_ && picture.rgb.height == side_) {
      if (HICON icon = IconOf(picture)) {
        at = ImageList_ReplaceIcon(list_, -1, icon);
        DestroyIcon(icon);
      }
    }
    ofPath_[path] = at;
    if (at >= 0) return at;
  }
  if (image < 0) return -1;
  if (auto it = ofImage_.find(image); it != ofImage_.end()) return it->second;
  // The shell's small list where it has the side, else its large one's
  // image drawn down.
  int at = -1, cx = 0, cy = 0;
  HIMAGELIST from = SystemImages(true);
  if (!from || !ImageList_GetIconSize(from, &cx, &cy) || cx != side_) from = SystemImages(false);
  if (HICON icon = from ? ImageList_GetIcon(from, image, ILD_NORMAL) : nullptr) {
    at = ImageList_ReplaceIcon(list_, -1, icon);
    DestroyIcon(icon);
  }
  ofImage_[image] = at;
  return at;
}

RowPictures& NativeForm::RowPicturesAt(Dpi dpi) {
  const int side = RowSideAt(dpi);
  return rowPictures_.try_emplace(side, side).first->second;
}

void NativeForm::ApplyTree(Control& ctl, const ControlDesc& old, bool created) {
  HWND h = ctl.hwnd;
  const ControlDesc& d = ctl.desc;
  if (created || old.items != d.items || old.levels != d.levels) {
    SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    SendMessageA(h, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    ctl.nodes.clear();
    // Each item hangs under the last one above it at a smaller depth.
    std::vector<std::pair<int, HTREEITEM>> open;
    for (size_t i = 0; i < d.items.size(); ++i) {
      const int level = i < d.levels.size() ? std::max(0, d.levels[i]) : 0;
      while (!open.empty() && open.back().first >= level)
        open.pop_back();
      TVINSERTSTRUCTA ins{};
      ins.hParent = open.empty() ? TVI_ROOT : open.back().second;
      ins.hInsertAfter = TVI_LAST;
      ins.item.mask = TVIF_TEXT;
      ins.item.pszText = const_cast<char*>(d.items[i].c_str());
      auto node = reinterpret_cast<HTREEITEM>(SendMessageA(h, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
      ctl.nodes.push_back(node);
      open.emplace_back(level, node);
    }
    for (HTREEITEM node : ctl.nodes)
      SendMessageA(h, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
    SendMessageA(h, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(h, nullptr, TRUE);
  }
  HTREEITEM want =
      d.itemIndex >= 0 && size_t(d.itemIndex) < ctl.nodes.size() ? ctl.nodes[size_t(d.itemIndex)] : nullptr;
  if (reinterpret_cast<HTREEITEM>(SendMessageA(h, TVM_GETNEXTITEM, TVGN_CARET, 0)) != want) {
    SendMessageA(h, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(want));
    if (want) SendMessageA(h, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(want));
  }
}

LRESULT NativeForm::NotifyTree(Control& ctl, const NMHDR& hdr) {
  switch (hdr.code) {
    case TVN_BEGINLABELEDITA:
    case TVN_BEGINLABELEDITW:
      return TRUE;  // the items' labels are never edited
    case NM_RCLICK: {
      // A right click selects the item under the pointer (before a menu shows).
      TVHITTESTINFO hit{};
      const DWORD pos = GetMessagePos();
      hit.pt = POINT{short(LOWORD(pos)), short(HIWORD(pos))};
      ScreenToClient(ctl.hwnd, &hit.pt);
      if (SendMessageA(ctl.hwnd, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) && (hit.flags & TVHT_ONITEM))
        SendMessageA(ctl.hwnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hit.hItem));
      return 0;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
      if (applying_) return 0;
      const auto selected = reinterpret_cast<HTREEITEM>(SendMessageA(ctl.hwnd, TVM_GETNEXTITEM, TVGN_CARET, 0));
      const auto it = std::find(ctl.nodes.begin(), ctl.nodes.end(), selected);
      const int index = selected && it != ctl.nodes.end() ? int(it - ctl.nodes.begin()) : -1;
      if (index == ctl.desc.itemIndex) return 0;
      ctl.desc.itemIndex = index;
      events_.SelectionChanged(ctl.id, index);
      return 0;
    }
    default:
      return 0;
  }
}

void NativeForm::ApplyList(Control& ctl, const ControlDesc& old, bool created) {
  HWND h = ctl.hwnd;
  const ControlDesc& d = ctl.desc;
  if (created) {
    SendMessageA(h, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    SendMessageA(h, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(RowPicturesAt(dpi_).List()));
  }
  RowPictures& images = RowPicturesAt(dpi_);
  const LONG style = GetWindowLongA(h, GWL_STYLE);
  const LONG want = (style & ~LONG(LVS_SINGLESEL | LVS_EDITLABELS)) | (d.multiSelect ? 0 : LVS_SINGLESEL) |
                    (d.editCaptions ? LVS_EDITLABELS : 0);
  if (want != style) SetWindowLongA(h, GWL_STYLE, want);
  if (created || old.columns != d.columns) {
    while (SendMessageA(h, LVM_DELETECOLUMN, 0, 0)) {
    }
    for (size_t i = 0; i < d.columns.size(); ++i) {
      LVCOLUMNA col{};
      col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
      col.cx = dpi_.Scale(d.columns[i].width);
      col.iSubItem = int(i);
      col.pszText = const_cast<char*>(d.columns[i].caption.c_str());
      SendMessageA(h, LVM_INSERTCOLUMNA, WPARAM(i), reinterpret_cast<LPARAM>(&col));
    }
  }
  if (created || old.rows.size() != d.rows.size()) {
    SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    SendMessageA(h, LVM_DELETEALLITEMS, 0, 0);
    for (size_t r = 0; r < d.rows.size(); ++r)
      SetRow(h, int(r), d.rows[r], images.Of(ImageOf(d, r), IconPathOf(d, r)), true);
    SendMessageA(h, WM_SETREDRAW, TRUE, 0);
  } else {
    // As many rows as before: only those that changed are written, the list
    // keeps its scroll position.
    for (size_t r = 0; r < d.rows.size(); ++r)
      if (old.rows[r] != d.rows[r] || ImageOf(old, r) != ImageOf(d, r) || IconPathOf(old, r) != IconPathOf(d, r))
        SetRow(h, int(r), d.rows[r], images.Of(ImageOf(d, r), IconPathOf(d, r)), false);
  }
  if (SelectedRows(h) != d.selectedRows) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(h, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&state));
    for (int row : d.selectedRows) {
      state.state = LVIS_SELECTED | (row == d.selectedRows.front() ? LVIS_FOCUSED : 0);
      SendMessageA(h, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&state));
    }
    if (!d.selectedRows.empty()) SendMessageA(h, LVM_ENSUREVISIBLE, WPARAM(d.selectedRows.front()), FALSE);
  }
}

void RescaleListImages(HWND list, const ControlDesc& d, RowPictures& images) {
  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images.List()));
  for (size_t r = 0; r < d.rows.size(); ++r) {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = int(r);
    const int image = images.Of(ImageOf(d, r), IconPathOf(d, r));
    item.iImage = image >= 0 ? image : I_IMAGENONE;
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
}

LRESULT NativeForm::NotifyList(Control& ctl, const NMHDR& hdr) {
  switch (hdr.code) {
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(hdr);
      if (applying_ || !(change.uChanged & LVIF_STATE) || !((change.uOldState ^ change.uNewState) & LVIS_SELECTED))
        return 0;
      // A click changes several rows, one notification each: the selection is
      // reported once they are all through.
      if (!ctl.rowsPending) {
        ctl.rowsPending = true;
        PostMessageA(hwnd_, kMsgRowsSelected, WPARAM(ctl.id), 0);
      }
      return 0;
    }
    case NM_DBLCLK:
      if (!applying_) events_.DoubleClicked(ctl.id);
      return 0;
    case LVN_BEGINLABELEDITA:
    case LVN_BEGINLABELEDITW:
      return ctl.desc.editCaptions ? FALSE : TRUE;
    case LVN_ENDLABELEDITA: {
      const auto& info = reinterpret_cast<const NMLVDISPINFOA&>(hdr);
      const int row = info.item.iItem;
      if (!info.item.pszText || row < 0 || size_t(row) >= ctl.desc.rows.size()) return FALSE;  // cancelled
      const std::string text = info.item.pszText;
      const ControlId id = ctl.id;
      const std::string before = ctl.desc.rows[size_t(row)].empty() ? std::string() : ctl.desc.rows[size_t(row)][0];
      if (!events_.CaptionEdited(id, row, text)) return FALSE;
      // The handler may have rewritten the caption meanwhile: what it set stays.
      Control* now = Find(id);
      if (!now || size_t(row) >= now->desc.rows.size() || now->desc.rows[size_t(row)].empty()) return FALSE;
      if (now->desc.rows[size_t(row)][0] != before) return FALSE;
      now->desc.rows[size_t(row)][0] = text;
      return TRUE;
    }
    default:
      return 0;
  }
}

void NativeForm::ReportRows(ControlId id) {
  Control* ctl = Find(id);
  if (!ctl || ctl->desc.type != ControlType::ListView) return;
  ctl->rowsPending = false;
  std::vector<int> rows = SelectedRows(ctl->hwnd);
  if (rows == ctl->desc.selectedRows) return;
  ctl->desc.selectedRows = rows;
  events_.RowsSelected(id, rows);
}

void NativeForm::EditCaption(ControlId id, int row) {
  Control* ctl = Find(id);
  if (!ctl || ctl->desc.type != ControlType::ListView || !ctl->desc.editCaptions) return;
  if (row < 0 || size_t(row) >= ctl->desc.rows.size()) return;
  SetFocus(ctl->hwnd);
  // Asked for by the logic: a selection the list view makes on the way is
  // not the user's, and the logic's selection stays what it said.
  ++applying_;
  SendMessageA(ctl->hwnd, LVM_EDITLABELA, WPARAM(row), 0);
  --applying_;
}

}  // namespace tov::win32::form
