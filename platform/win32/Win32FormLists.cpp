// Tree views and list views on dialogs: the common controls filled from the
// description, and what the user selects or renames reported as events.
#include "platform/win32/Win32FormWindow.h"

#include <shellapi.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "base/IconSize.h"

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

// The shell's list of small or large icons, which the list views share and
// never free.
HIMAGELIST SystemImages(bool small) {
  SHFILEINFOA info{};
  return reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | (small ? SHGFI_SMALLICON : SHGFI_LARGEICON)));
}

// The rows' pictures (indices of the shell's images) at a dialog's scale, in
// a list of the small icon's size for it: the shell's own small list where
// that is its size, else a list of ours per size, kept for the process, that
// takes each image a row shows from the shell's large list (the same
// indices) drawn down to the size, never one drawn larger than it is.
class RowImages {
 public:
  explicit RowImages(int side) : side_(side) {
    HIMAGELIST small = SystemImages(true);
    int cx = 0, cy = 0;
    if (small && ImageList_GetIconSize(small, &cx, &cy) && cx == side_) {
      list_ = small;
      shared_ = true;
    } else {
      list_ = ImageList_Create(side_, side_, ILC_COLOR32 | ILC_MASK, 16, 16);
    }
  }
  HIMAGELIST List() const { return list_; }
  // The index in List() of the shell's image, -1 where there is none.
  int Of(int image) {
    if (image < 0 || !list_) return -1;
    if (shared_) return image;
    if (auto it = of_.find(image); it != of_.end()) return it->second;
    int at = -1;
    HIMAGELIST large = SystemImages(false);
    if (HICON icon = large ? ImageList_GetIcon(large, image, ILD_NORMAL) : nullptr) {
      at = ImageList_ReplaceIcon(list_, -1, icon);
      DestroyIcon(icon);
    }
    of_[image] = at;
    return at;
  }

 private:
  int side_;
  HIMAGELIST list_ = nullptr;
  bool shared_ = false;
  std::map<int, int> of_;
};

RowImages& RowImagesAt(Dpi dpi) {
  // The large list is 32 pixels: a scale whose small icon is larger takes 32.
  const int side = std::min(IconSideAt(false, dpi), 32);
  static std::map<int, RowImages> lists;
  return lists.try_emplace(side, side).first->second;
}

}  // namespace

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
    SendMessageA(h, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(RowImagesAt(dpi_).List()));
  }
  RowImages& images = RowImagesAt(dpi_);
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
      SetRow(h, int(r), d.rows[r], images.Of(ImageOf(d, r)), true);
    SendMessageA(h, WM_SETREDRAW, TRUE, 0);
  } else {
    // As many rows as before: only those that changed are written, the list
    // keeps its scroll position.
    for (size_t r = 0; r < d.rows.size(); ++r)
      if (old.rows[r] != d.rows[r] || ImageOf(old, r) != ImageOf(d, r))
        SetRow(h, int(r), d.rows[r], images.Of(ImageOf(d, r)), false);
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

void RescaleListImages(HWND list, const ControlDesc& d, Dpi dpi) {
  RowImages& images = RowImagesAt(dpi);
  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images.List()));
  for (size_t r = 0; r < d.rows.size(); ++r) {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = int(r);
    const int image = images.Of(ImageOf(d, r));
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
