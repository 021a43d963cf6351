// The application bar under the user's hand: hit-testing its frame, moving
// it to another edge or to float, and sizing it.
#include "docking/AppBar.h"
#include "platform/Platform.h"

namespace tov {

namespace {

Point PointFromLParam(intptr_t lParam) {
  return Point{int16_t(lParam & 0xFFFF), int16_t((uintptr_t(lParam) >> 16) & 0xFFFF)};
}

}  // namespace

intptr_t TAppBar::OnNcHitTest(Message& m) {
  intptr_t u = TForm::Dispatch(m);
  ISystem& sys = System();
  Point p = PointFromLParam(m.lParam);
  int button = sys.GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  if (u == HTCLIENT && sys.AsyncKeyDown(button) && !ControlAtPoint(p)) u = HTCAPTION;
  const bool sizing = u >= HTLEFT && u <= HTBOTTOMRIGHT;
  TAppBarEdge e = GetEdge();
  if (e == abeFloat && sizing) {
    const bool noH = abs_.HorzSizeInc == 0, noV = abs_.VertSizeInc == 0;
    switch (u) {
      case HTLEFT:
      case HTRIGHT:
        if (noH) u = HTBORDER;
        break;
      case HTTOP:
      case HTBOTTOM:
        if (noV) u = HTBORDER;
        break;
      default: {  // a corner
        const bool top = u == HTTOPLEFT || u == HTTOPRIGHT;
        const bool left = u == HTTOPLEFT || u == HTBOTTOMLEFT;
        if (noH && noV)
          u = HTBORDER;
        else if (noH)
          u = top ? HTTOP : HTBOTTOM;
        else if (noV)
          u = left ? HTLEFT : HTRIGHT;
        break;
      }
    }
  } else if (e <= abeBottom && sizing) {
    if ((IsEdgeLeftOrRight(e) && abs_.HorzSizeInc == 0) || (IsEdgeTopOrBottom(e) && abs_.VertSizeInc == 0)) {
      u = HTBORDER;
    } else {
      // Only the inner border sizes a docked bar.
      Rect c = Window().ClientRectOnScreen();
      u = HTBORDER;
      switch (e) {
        case abeLeft:
          if (p.x > c.right) u = HTRIGHT;
          break;
        case abeTop:
          if (p.y > c.bottom) u = HTBOTTOM;
          break;
        case abeRight:
          if (p.x < c.left) u = HTLEFT;
          break;
        case abeBottom:
          if (p.y < c.top) u = HTTOP;
          break;
        default:
          break;
      }
    }
  }
  m.result = u;
  return u;
}

void TAppBar::OnEnterSizeMove() { proposedEdge_ = GetEdge(); }

void TAppBar::OnMoving(Rect* r) {
  Point p = System().MessagePos();
  TAppBarEdge e = CalcProposedState(p);
  proposedEdge_ = e;
  if (r) GetRect(e, *r);
  OnAppBarStateChange(true, e);
}

void TAppBar::OnSizing(int side, Rect* r) {
  if (!r) return;
  const bool floating = abs_.Edge == abeFloat;
  const int bw = floating ? abs_.MinWidth : abs_.MinHorzDockSize;
  const int bh = floating ? abs_.MinHeight : abs_.MinVertDockSize;
  auto snap = [](int dragged, int base, int inc) {
    if (inc == 0) return dragged;
    return ((dragged - base + inc / 2) / inc) * inc + base;
  };
  const int w = snap(r->Width(), bw, abs_.HorzSizeInc);
  const int h = snap(r->Height(), bh, abs_.VertSizeInc);
  switch (side) {
    case WMSZ_LEFT:
      r->left = r->right - w;
      break;
    case WMSZ_RIGHT:
      r->right = r->left + w;
      break;
    case WMSZ_TOP:
      r->top = r->bottom - h;
      break;
    case WMSZ_TOPLEFT:
      r->top = r->bottom - h;
      r->left = r->right - w;
      break;
    case WMSZ_TOPRIGHT:
      r->top = r->bottom - h;
      r->right = r->left + w;
      break;
    case WMSZ_BOTTOM:
      r->bottom = r->top + h;
      break;
    case WMSZ_BOTTOMLEFT:
      r->bottom = r->top + h;
      r->left = r->right - w;
      break;
    case WMSZ_BOTTOMRIGHT:
      r->bottom = r->top + h;
      r->right = r->left + w;
      break;
    default:
      break;
  }
}

void TAppBar::OnGetMinMaxInfo(MinMaxInfo* info) {
  if (!info) return;
  TAppBarEdge e = GetEdge();
  if (e == abeFloat) {
    info->minTrackSize = Point{abs_.MinWidth, abs_.MinHeight};
    info->maxTrackSize = Point{abs_.MaxWidth, abs_.MaxHeight};
  } else {
    ISystem& sys = System();
    info->minTrackSize = Point{abs_.MinHorzDockSize, abs_.MinVertDockSize};
    info->maxTrackSize.x = IsEdgeLeftOrRight(e) ? abs_.MaxHorzDockSize : sys.GetSystemMetrics(SM_CXSCREEN);
    info->maxTrackSize.y = IsEdgeTopOrBottom(e) ? abs_.MaxVertDockSize : sys.GetSystemMetrics(SM_CYSCREEN);
  }
}

void TAppBar::OnExitSizeMove() {
  TAppBarEdge e = proposedEdge_;
  proposedEdge_ = abeUnknown;
  Rect r = Window().WindowRect();
  if (abs_.Edge == e) {
    if (IsEdgeLeftOrRight(e)) abs_.HorzDockSize = r.Width();
    if (IsEdgeTopOrBottom(e)) abs_.VertDockSize = r.Height();
  }
  if (e == abeFloat) {
    if (abs_.Edge == abeFloat) {
      abs_.FloatLeft = r.left;
      abs_.FloatTop = r.top;
      abs_.FloatRight = r.right;
      abs_.FloatBottom = r.bottom;
    } else {
      int w = r.Width(), h = r.Height();
      TScreenInfo s = GetScreenInfo(ScreenIndex());
      if (w >= s.szMonitor.cx || h >= s.szMonitor.cy) {
        w = abs_.FloatRight - abs_.FloatLeft;
        h = abs_.FloatBottom - abs_.FloatTop;
      }
      abs_.FloatLeft = r.left;
      abs_.FloatTop = r.top;
      abs_.FloatRight = r.left + w;
      abs_.FloatBottom = r.top + h;
    }
  }
  SetEdge(e);
}

}  // namespace tov
