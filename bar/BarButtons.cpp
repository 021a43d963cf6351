// The bar's buttons: windowless speed buttons on the bar window, fed with
// the window's mouse, opening their targets when clicked.
#include "bar/ButtonTable.h"
#include "bar/ToviraMain.h"
#include "controls/Buttonstyle.h"
#include "tables/Datamodule.h"
#include "ui/Popupmenu.h"

namespace tov {

namespace {

// MK_ flags of mouse messages.
enum : uintptr_t { MK_LBUTTON = 1, MK_RBUTTON = 2, MK_SHIFT = 4, MK_CONTROL = 8, MK_MBUTTON = 0x10 };

Point ClientPoint(intptr_t lParam) {
  return Point{int16_t(lParam & 0xFFFF), int16_t((uintptr_t(lParam) >> 16) & 0xFFFF)};
}

uint32_t ShiftOf(uintptr_t keys) {
  uint32_t s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (System().KeyDown(VK_MENU)) s |= ssAlt;
  return s;
}

}  // namespace

TLbSpeedButton& TFormToviraMain::AddBarButton(TRecordTable& links, int order) {
  TLbSpeedButton& b = AddButton();
  b.tag = order;
  b.SetTransparent(false);
  b.showHint = true;
  b.hint = links.FieldByName("Caption").AsString();
  b.popupMenu = &Menu("PopupButtonMenu");
  TCustomButtonStyle style;
  style.LoadFromRow(links);
  style.ApplyToButton(b);
  b.OnMouseMove = [this](TLbSpeedButton&, uint32_t, int, int) { FormMouseMove(); };
  b.OnClick = [this](TLbSpeedButton& sender) { ButtonClick(sender); };
  return b;
}

void TFormToviraMain::PopBtnSpostaClick(bool after) {
  if (!menuButton_) return;
  const int order = int(menuButton_->tag);
  menuButton_ = nullptr;
  if (after)
    MoveButtonAfter(DC->TblLinks, order);
  else
    MoveButtonBefore(DC->TblLinks, order);
  RebuildBar();
}

void TFormToviraMain::InvalidateArea(const Rect&, bool now) {
  Invalidate();
  // During a rebuild each new button is styled and moved into place: painting
  // the whole bar at each step would cost as many paints as there are buttons
  // for every button. The rebuild's invalidation paints the bar once.
  if (now && rebuilding_ == 0 && HandleAllocated()) Window().UpdateNow();
}

Point TFormToviraMain::ClientToScreen(Point p) {
  Rect c = Window().ClientRectOnScreen();
  return Point{c.left + p.x, c.top + p.y};
}

void TFormToviraMain::PopupAt(Component& menu, Point screen) { PopupComponentMenu(menu, screen, Handle()); }

bool TFormToviraMain::ControlAtPoint(Point screen) {
  Rect c = Window().ClientRectOnScreen();
  return ButtonAtPoint(Point{screen.x - c.left, screen.y - c.top}) != nullptr;
}

intptr_t TFormToviraMain::MouseMessage(Message& m) {
  const Point p = ClientPoint(m.lParam);
  const uint32_t shift = ShiftOf(m.wParam);
  switch (m.msg) {
    case WM_MOUSEMOVE:
      FormMouseMove();
      HostMouseMove(p, shift);
      break;
    case WM_LBUTTONDOWN:
      HostMouseDown(mbLeft, p, shift);
      break;
    case WM_LBUTTONUP:
      HostMouseUp(mbLeft, p, shift);
      break;
    case WM_RBUTTONDOWN:
      HostMouseDown(mbRight, p, shift);
      break;
    case WM_RBUTTONUP: {
      HostMouseUp(mbRight, p, shift);
      // A right click opens the menu of the button under the mouse, or the bar's own.
      TLbSpeedButton* b = ButtonAtPoint(p);
      menuButton_ = b;
      PopupComponentMenu(b && b->popupMenu ? *b->popupMenu : Menu("PopupMenu"), ClientToScreen(p), Handle());
      break;
    }
    case WM_MOUSELEAVE:
      HostMouseLeave();
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace tov
