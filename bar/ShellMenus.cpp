// The shell's own context menu for a button's target: the bar's own items
// stay on the plain right click; Shift with it, or "Menu di sistema" on the
// button menu, shows what the shell and the programs offer for the file.
#include "bar/BarWindow.h"
#include "tables/DataModule.h"

namespace tov {

namespace {

enum : uintptr_t { kMkShift = 4 };

Point PointOf(intptr_t lParam) { return Point{int16_t(lParam & 0xFFFF), int16_t((uintptr_t(lParam) >> 16) & 0xFFFF)}; }

}  // namespace

void TBarWindow::PopBtnMenuSistemaClick() {
  if (!menuButton_) return;
  const int order = int(menuButton_->tag);
  menuButton_ = nullptr;
  TRecordTable& links = data_.TblLinks;
  if (!links.Locate("Ordine", std::to_string(order))) return;
  const std::string path = links.FieldByName("Path").AsString();
  if (!path.empty()) Shell().ShowContextMenu(Handle(), path, System().CursorPos(), false);
}

bool TBarWindow::ShellMenuClick(const Message& m) {
  if ((m.wParam & kMkShift) == 0) return false;
  const Point p = PointOf(m.lParam);
  TLbSpeedButton* b = ButtonAtPoint(p);
  TRecordTable& links = data_.TblLinks;
  if (!b || b->tag < 0 || !links.Locate("Ordine", std::to_string(b->tag))) return false;
  const std::string path = links.FieldByName("Path").AsString();
  if (path.empty()) return false;
  // The button pressed by the right button is let go first.
  HostMouseUp(mbRight, Point{-30000, -30000}, 0);
  Shell().ShowContextMenu(Handle(), path, ClientToScreen(p), true);
  return true;
}

}  // namespace tov
