#include "docking/AppBar.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "platform/Instances.h"
#include "platform/Platform.h"

namespace tov {

namespace {

Point PointFromLParam(intptr_t lParam) {
  return Point{int16_t(lParam & 0xFFFF), int16_t((uintptr_t(lParam) >> 16) & 0xFFFF)};
}

// Products of 32-bit integers wrap as the machine's own do.
int32_t Mul32(int64_t a, int64_t b) { return int32_t(uint32_t(uint64_t(a * b))); }

}  // namespace

TAppBar::TAppBar() {
  abs_ = DefaultAppBarSettings(System().GetSystemMetrics(SM_CXSCREEN), System().GetSystemMetrics(SM_CYSCREEN));
  Screens[0].MonitorFlags = -1;
}

TAppBar::~TAppBar() { DestroyHandle(); }

void TAppBar::CreateParams(WindowParams& params) {
  TForm::CreateParams(params);
  params.style &= ~uint32_t(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  params.exStyle &= ~uint32_t(WS_EX_APPWINDOW);
  params.exStyle |= WS_EX_TOOLWINDOW;
}

void TAppBar::SetSlideTime(int ms) {
  abs_.SlideTime = ms;
  if (HandleAllocated() && timerRunning_) Window().SetTimer(kAutoHideTimerId, uint32_t(ms > 0 ? ms : 0));
}

// ---------------------------------------------------------------- shell calls

uintptr_t TAppBar::AppBarMessage(uint32_t message, TAppBarEdge edge, intptr_t lParam, bool useRect, Rect* rect) {
  AppBarData data;
  data.window = Handle();
  data.callbackMessage = AppBarCallbackMessage;
  data.edge = edge;
  data.rect = (useRect && rect) ? *rect : Rect{0, 0, 0, 0};
  data.lParam = lParam;
  uintptr_t result = Shell().AppBarMessage(message, data);
  if (useRect && rect) *rect = data.rect;
  return result;
}

TAppBarEdge TAppBar::GetAutohideEdge() {
  for (TAppBarEdge e : {abeLeft, abeTop, abeRight, abeBottom}) {
    if (AppBarMessage(ABM_GETAUTOHIDEBAR, e) == Handle()) return e;
  }
  return abeUnknown;
}

bool TAppBar::ModifyStyle(int index, uint32_t remove, uint32_t add, uint32_t extraFlags) {
  IWindow& w = Window();
  uint32_t style = uint32_t(w.GetLong(index));
  uint32_t changed = (style & ~remove) | add;
  if (changed == style) return false;
  w.SetLong(index, int32_t(changed));
  if (extraFlags != 0) w.SetWindowPos(0, Rect{}, extraFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

// ------------------------------------------------------------------- the edge

TAppBarEdge TAppBar::GetEdge() const { return ProposedEdge != abeUnknown ? ProposedEdge : TAppBarEdge(abs_.Edge); }

void TAppBar::SetEdge(TAppBarEdge edge) {
  TAppBarEdge held = GetAutohideEdge();
  if (held != abeUnknown) AppBarMessage(ABM_SETAUTOHIDEBAR, held, 0);
  abs_.Edge = edge;
  if (edge == abeUnknown) {
    AppBarMessage(ABM_REMOVE);
  } else if (edge == abeFloat) {
    Rect empty;
    AppBarMessage(ABM_SETPOS, abeFloat, 0, true, &empty);
    SetBounds(abs_.FloatLeft, abs_.FloatTop, abs_.FloatRight - abs_.FloatLeft, abs_.FloatBottom - abs_.FloatTop);
  } else {
    if (AutoHide() && AppBarMessage(ABM_SETAUTOHIDEBAR, GetEdge(), 1) == 0) {
      SetAutoHide(false);
      OnAppBarForcedToDocked();
    }
    Rect r;
    GetRect(GetEdge(), r);
    if (AutoHide()) {
      Rect empty;
      AppBarMessage(ABM_SETPOS, abeLeft, 0, true, &empty);
    } else {
      AppBarMessage(ABM_SETPOS, edge, 0, true, &r);
    }
    AdjustLocationForAutohide(AutoHideIsVisible, r);
    SlideWindow(r);
  }
  intptr_t z = HWND_NOTOPMOST;
  if (AlwaysOnTop()) z = FullScreenAppOpen ? HWND_BOTTOM : HWND_TOPMOST;
  Window().SetWindowPos(z, Rect{}, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  AppBarMessage(ABM_ACTIVATE);
  OnAppBarStateChange(false, edge);
  ApplyTaskEntry(edge);
}

void TAppBar::ApplyTaskEntry(TAppBarEdge edge) {
  switch (TaskEntry()) {
    case abtShow:
      Window().ShowTaskbarEntry(true);
      break;
    case abtHide:
      Window().ShowTaskbarEntry(false);
      break;
    case abtFloatDependent:
      if (edge <= abeBottom)
        Window().ShowTaskbarEntry(false);
      else if (edge == abeFloat)
        Window().ShowTaskbarEntry(true);
      break;
  }
}

void TAppBar::UpdateBar() { SetEdge(GetEdge()); }

// --------------------------------------------------------------- the screens

void TAppBar::InitScreenCoord(Rect& rect, Size& size, int left, int top, int right, int bottom) {
  rect = Rect{left, top, right, bottom};
  size = Size{right - left, bottom - top};
}

TScreenInfo TAppBar::GetScreenInfo(int index) {
  if (index < 0 || index >= ScreenCount || index >= kScreenTableSize || Screens[size_t(index)].MonitorFlags != 0) {
    // The primary monitor is always measured afresh.
    TScreenInfo s;
    ISystem& sys = System();
    InitScreenCoord(s.rcMonitor, s.szMonitor, 0, 0, sys.GetSystemMetrics(SM_CXSCREEN),
                    sys.GetSystemMetrics(SM_CYSCREEN));
    Rect w = sys.WorkArea();
    InitScreenCoord(s.rcWork, s.szWork, w.left, w.top, w.right, w.bottom);
    s.MonitorFlags = index >= 0 && index < kScreenTableSize ? Screens[size_t(index)].MonitorFlags : 1;
    return s;
  }
  return Screens[size_t(index)];
}

// ------------------------------------------------------------------ geometry

TAppBarEdge TAppBar::GetEdgeFromPoint(TAppBarFlags flags, Point p) {
  TScreenInfo s = GetScreenInfo(ScreenIndex());
  if (flags & FlagBit(abfAllowFloat)) {
    ISystem& sys = System();
    int vx = sys.GetSystemMetrics(SM_CXVSCROLL), vy = sys.GetSystemMetrics(SM_CYHSCROLL);
    Rect inner{s.rcWork.left + vx, s.rcWork.top + vy, s.rcWork.right - vx, s.rcWork.bottom - vy};
    if (inner.Contains(p) || !IsDockable(flags)) return abeFloat;
  }
  // The centre and the offsets are 16-bit quantities, as the message
  // coordinates they come from.
  int16_t cx = int16_t(s.rcMonitor.left + s.szMonitor.cx / 2);
  int16_t cy = int16_t(s.rcMonitor.top + s.szMonitor.cy / 2);
  int16_t dx = int16_t(p.x - cx);
  int16_t dy = int16_t(p.y - cy);
  TAppBarEdge edge;
  if (Mul32(std::abs(int(dy)), s.szMonitor.cx) <= Mul32(std::abs(int(dx)), s.szMonitor.cy))
    edge = dx < 0 ? abeLeft : abeRight;
  else
    edge = dy < 0 ? abeTop : abeBottom;
  if (!(flags & FlagBit(TAppBarFlag(edge))))
    edge = (flags & FlagBit(abfAllowFloat)) ? abeFloat : TAppBarEdge(abs_.Edge);
  return edge;
}

TAppBarEdge TAppBar::CalcProposedState(Point p) {
  if (System().KeyDown(VK_CONTROL) && (Flags() & FlagBit(abfAllowFloat))) return abeFloat;
  return GetEdgeFromPoint(Flags(), p);
}

void TAppBar::GetRect(TAppBarEdge edge, Rect& r) {
  if (edge == abeFloat) return;
  r = GetScreenInfo(ScreenIndex()).rcMonitor;
  if (!AutoHide()) AppBarMessage(ABM_QUERYPOS, edge, 0, true, &r);
  switch (edge) {
    case abeLeft:
      r.right = r.left + abs_.HorzDockSize;
      break;
    case abeTop:
      r.bottom = r.top + abs_.VertDockSize;
      break;
    case abeRight:
      r.left = r.right - abs_.HorzDockSize;
      break;
    case abeBottom:
      r.top = r.bottom - abs_.VertDockSize;
      break;
    default:
      break;
  }
}

bool TAppBar::AdjustLocationForAutohide(bool show, Rect& r) {
  TAppBarEdge e = GetEdge();
  if (e == abeUnknown || e == abeFloat || !AutoHide()) return false;
  ISystem& sys = System();
  int w = r.Width(), h = r.Height();
  int sw = sys.GetSystemMetrics(SM_CXSCREEN), sh = sys.GetSystemMetrics(SM_CYSCREEN);
  int x = 0, y = 0;
  if (show) {
    if (e == abeRight) x = sw - w;
    if (e == abeBottom) y = sh - h;
  } else {
    int bx = 2 * sys.GetSystemMetrics(SM_CXBORDER), by = 2 * sys.GetSystemMetrics(SM_CYBORDER);
    switch (e) {
      case abeLeft:
        x = bx - w;
        break;
      case abeTop:
        y = by - h;
        break;
      case abeRight:
        x = sw - bx;
        break;
      case abeBottom:
        y = sh - by;
        break;
      default:
        break;
    }
  }
  r = tov::BoundsRect(x, y, w, h);
  return true;
}

void TAppBar::ShowHiddenAppBar(bool show) {
  Rect r = Window().WindowRect();
  AutoHideIsVisible = true;
  if (AdjustLocationForAutohide(show, r)) {
    AutoHideIsVisible = show;
    SlideWindow(r);
  }
}

void TAppBar::SlideWindow(const Rect& target) {
  IWindow& w = Window();
  Rect cur = w.WindowRect();
  const int slide = abs_.SlideTime;
  if (SlideEffect() && System().DragFullWindows() && !(cur == target)) {
    const int64_t l0 = cur.left, t0 = cur.top, w0 = cur.Width(), h0 = cur.Height();
    const int64_t l1 = target.left, t1 = target.top, w1 = target.Width(), h1 = target.Height();
    const uint32_t start = System().TickCount();
    int64_t t = 0;
    while (t < slide) {
      Rect step = tov::BoundsRect(int32_t(l0 - (l0 - l1) * t / slide), int32_t(t0 - (t0 - t1) * t / slide),
                                  int32_t(w0 - (w0 - w1) * t / slide), int32_t(h0 - (h0 - h1) * t / slide));
      w.SetWindowPos(0, step, SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
      w.UpdateNow();
      t = int64_t(uint32_t(System().TickCount() - start));
    }
  }
  SetBounds(target.left, target.top, target.Width(), target.Height());
}

// ------------------------------------------------------------------- hooks

void TAppBar::OnAppBarStateChange(bool proposed, TAppBarEdge edge) {
  if (proposed && !System().DragFullWindows()) return;
  if (edge == abeFloat)
    ModifyStyle(GWL_STYLE, 0, WS_CAPTION | WS_SYSMENU, SWP_FRAMECHANGED);
  else
    ModifyStyle(GWL_STYLE, WS_CAPTION | WS_SYSMENU, 0, SWP_FRAMECHANGED);
}

void TAppBar::OnAppBarForcedToDocked() {
  Dialogs().MessageBox(
      "There is already an auto hidden window on this edge.\n\rOnly one auto hidden window is allowed on each edge.",
      Caption(), MB_OK | MB_ICONINFORMATION);
}

void TAppBar::OnABNFullScreenApp(bool open) {
  // The shell tells every bar; only the bar on the monitor of the full-screen
  // window leaves the top. When the system cannot tell where it is, all do.
  bool mine = open;
  if (open && Shell().FullScreenWindowOn(GetScreenInfo(ScreenIndex()).rcMonitor) == 0) mine = false;
  FullScreenAppOpen = mine;
  UpdateBar();
}

void TAppBar::OnABNPosChanged() {
  // A bar waiting for its place after the shell restarted looks again: it
  // must not take the place of a bar that is not back yet.
  if (returning_) {
    ReturnToShell(false);
    return;
  }
  if (GetEdge() != abeFloat && !AutoHide()) UpdateBar();
}

// --------------------------------------------------------------- persistence

bool TAppBar::LoadSettings() {
  RegValue v;
  if (!Registry().ReadValue(keyName_, "", &v)) return false;
  if (v.type != RegType::Binary || v.data.size() > kAppBarSettingsSize)
    throw std::runtime_error("Invalid data type for ''");
  if (v.data.size() < kAppBarSettingsSize) return false;
  abs_ = UnpackAppBarSettings(v.data.data());
  RepairAppBarSettings(abs_, kScreenTableSize);
  return true;
}

bool TAppBar::SaveSettings() {
  if (!Registry().CreateKey(keyName_)) return false;
  if (!Registry().WriteBinary(keyName_, "", PackAppBarSettings(abs_)))
    throw std::runtime_error("Failed to set data for ''");
  return true;
}

// ------------------------------------------------------------------ messages

intptr_t TAppBar::Dispatch(Message& m) {
  switch (m.msg) {
    case WM_CREATE: {
      intptr_t r = TForm::Dispatch(m);
      OnCreate();
      return r;
    }
    case WM_DESTROY:
      OnDestroy();
      return TForm::Dispatch(m);
    case WM_WINDOWPOSCHANGED: {
      intptr_t r = TForm::Dispatch(m);
      AppBarMessage(ABM_WINDOWPOSCHANGED);
      return r;
    }
    case WM_ACTIVATE: {
      intptr_t r = TForm::Dispatch(m);
      if ((m.wParam & 0xFFFF) == WA_INACTIVE) ShowHiddenAppBar(false);
      AppBarMessage(ABM_ACTIVATE);
      return r;
    }
    case WM_NCMOUSEMOVE:
      ShowHiddenAppBar(true);
      return TForm::Dispatch(m);
    case WM_NCHITTEST:
      return OnNcHitTest(m);
    case WM_ENTERSIZEMOVE:
      OnEnterSizeMove();
      return TForm::Dispatch(m);
    case WM_EXITSIZEMOVE:
      OnExitSizeMove();
      return TForm::Dispatch(m);
    case WM_MOVING:
      OnMoving(reinterpret_cast<Rect*>(m.lParam));
      return 1;
    case WM_SIZING:
      OnSizing(int(m.wParam), reinterpret_cast<Rect*>(m.lParam));
      return 1;
    case WM_GETMINMAXINFO:
      TForm::Dispatch(m);
      OnGetMinMaxInfo(reinterpret_cast<MinMaxInfo*>(m.lParam));
      return 0;
    case WM_TIMER:
      if (m.wParam == kAutoHideTimerId) {
        OnAppBarTimer();
        return 0;
      }
      if (m.wParam == kScreenCheckTimerId) {
        RunScreenCheck();
        return 0;
      }
      if (m.wParam == kShellReturnTimerId) {
        ReturnToShell(true);
        return 0;
      }
      return TForm::Dispatch(m);
    case AppBarCallbackMessage:
      OnAppBarCallbackMsg(m);
      return 0;
    case WM_DISPLAYCHANGE:
      ScheduleScreenCheck();
      return TForm::Dispatch(m);
    case WM_SETTINGCHANGE:
      if (m.wParam == SPI_SETWORKAREA) ScheduleScreenCheck(true);
      return TForm::Dispatch(m);
    case WM_DEVICECHANGE:
      if (m.wParam == DBT_DEVNODES_CHANGED) ScheduleScreenCheck();
      return TForm::Dispatch(m);
    case WM_POWERBROADCAST:
      if (m.wParam == PBT_APMRESUMEAUTOMATIC || m.wParam == PBT_APMRESUMESUSPEND) ScheduleScreenCheck();
      return TForm::Dispatch(m);
    case WM_WTSSESSION_CHANGE:
      if (m.wParam == WTS_CONSOLE_CONNECT || m.wParam == WTS_REMOTE_CONNECT || m.wParam == WTS_SESSION_UNLOCK)
        ScheduleScreenCheck();
      return TForm::Dispatch(m);
    case WM_QUERYENDSESSION:
      // The bar never holds the session up and never asks the user.
      m.result = 1;
      return 1;
    case WM_ENDSESSION:
      if (m.wParam != 0) EndSession();
      return 0;
    default:
      if (taskbarCreated_ != 0 && m.msg == taskbarCreated_) {
        OnShellRestarted();
        return 0;
      }
      return TForm::Dispatch(m);
  }
}

void TAppBar::OnCreate() {
  IWindow& w = Window();
  w.SetTimer(kAutoHideTimerId, uint32_t(abs_.SlideTime > 0 ? abs_.SlideTime : 0));
  timerRunning_ = true;
  Rect r = w.WindowRect();
  abs_.FloatLeft = r.left;
  abs_.FloatTop = r.top;
  // A shell that starts again tells every window with this message; an
  // elevated bar must let it through, as it comes from a lesser process.
  if (Sys().instances) taskbarCreated_ = Instances().RegisterMessage(kTaskbarCreatedName);
  if (taskbarCreated_ != 0) w.AllowMessageFromOthers(taskbarCreated_);
  w.ListenForSessionChanges();
  AppBarMessage(ABM_NEW);
  UpdateBar();
  w.Post(WM_ENTERSIZEMOVE, 0, 0);
  w.Post(WM_EXITSIZEMOVE, 0, 0);
  for (uint32_t cmd : {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE})
    w.DeleteSystemMenuCommand(cmd);
}

void TAppBar::OnDestroy() {
  if (timerRunning_) {
    Window().KillTimer(kAutoHideTimerId);
    timerRunning_ = false;
  }
  Window().KillTimer(kScreenCheckTimerId);
  Window().KillTimer(kShellReturnTimerId);
  SetEdge(abeUnknown);
}

// ------------------------------------------------- the desktop changing

void TAppBar::ScheduleScreenCheck(bool workAreaOnly) {
  if (!HandleAllocated() || sessionEnded_) return;
  onlyWorkArea_ = onlyWorkArea_ && workAreaOnly;
  // Setting the timer again starts its time again: a burst of notices ends
  // in one check.
  Window().SetTimer(kScreenCheckTimerId, kScreenCheckDelay);
}

void TAppBar::RunScreenCheck() {
  Window().KillTimer(kScreenCheckTimerId);
  if (sessionEnded_) return;
  // Not while the user drags the bar: the check waits for the release.
  if (ProposedEdge != abeUnknown) {
    ScheduleScreenCheck(onlyWorkArea_);
    return;
  }
  // The shell tells of a new work area whenever a bar reserves its strip,
  // this bar's own docking included: such a notice alone changes nothing
  // while the shell still offers the bar the place it holds.
  const bool workAreaOnly = onlyWorkArea_;
  onlyWorkArea_ = true;
  if (workAreaOnly && PlaceHolds()) return;
  OnScreensChanged();
}

bool TAppBar::PlaceHolds() {
  const TAppBarEdge e = TAppBarEdge(abs_.Edge);
  if (e > abeBottom || AutoHide()) return true;
  Rect r;
  GetRect(e, r);
  return r == Window().WindowRect();
}

void TAppBar::OnScreensChanged() {
  const TAppBarEdge e = TAppBarEdge(abs_.Edge);
  if (e == abeUnknown) return;
  if (e == abeFloat) {
    Rect r{abs_.FloatLeft, abs_.FloatTop, abs_.FloatRight, abs_.FloatBottom};
    if (BringOntoScreen(r)) {
      abs_.FloatLeft = r.left;
      abs_.FloatTop = r.top;
      abs_.FloatRight = r.right;
      abs_.FloatBottom = r.bottom;
    }
  }
  UpdateBar();
}

bool TAppBar::BringOntoScreen(Rect& r) {
  auto overlaps = [](const Rect& a, const Rect& b) {
    return std::min(a.right, b.right) > std::max(a.left, b.left) &&
           std::min(a.bottom, b.bottom) > std::max(a.top, b.top);
  };
  // How far a rectangle lies from a screen: the gaps on both axes, squared.
  auto distance = [](const Rect& a, const Rect& b) {
    const int64_t dx = std::max<int64_t>({0, int64_t(b.left) - a.right, int64_t(a.left) - b.right});
    const int64_t dy = std::max<int64_t>({0, int64_t(b.top) - a.bottom, int64_t(a.top) - b.bottom});
    return dx * dx + dy * dy;
  };
  const int count = std::clamp(ScreenCount, 1, kScreenTableSize);
  int nearest = 0;
  int64_t best = -1;
  for (int i = 0; i < count; ++i) {
    const TScreenInfo s = GetScreenInfo(i);
    if (overlaps(r, s.rcMonitor)) return false;
    const int64_t d = distance(r, s.rcMonitor);
    if (best < 0 || d < best) {
      best = d;
      nearest = i;
    }
  }
  const Rect work = GetScreenInfo(nearest).rcWork;
  const int w = std::min(r.Width(), work.Width()), h = std::min(r.Height(), work.Height());
  const int x = std::clamp(r.left, work.left, work.right - w);
  const int y = std::clamp(r.top, work.top, work.bottom - h);
  r = Rect{x, y, x + w, y + h};
  return true;
}

void TAppBar::OnShellRestarted() {
  if (!HandleAllocated() || sessionEnded_) return;
  // Answers 0 when the shell still knew the bar; either way it knows it now.
  AppBarMessage(ABM_NEW);
  const TAppBarEdge e = TAppBarEdge(abs_.Edge);
  if (e == abeUnknown) return;
  if (e == abeFloat) {
    // A floating bar reserves nothing and stays where it is.
    Rect empty;
    AppBarMessage(ABM_SETPOS, abeFloat, 0, true, &empty);
    return;
  }
  shellReturnPlace_ = Window().WindowRect();
  shellReturnSteps_ = 0;
  ReturnToShell(true);
}

void TAppBar::ReturnToShell(bool step) {
  Window().KillTimer(kShellReturnTimerId);
  returning_ = false;
  if (sessionEnded_) return;
  const TAppBarEdge e = TAppBarEdge(abs_.Edge);
  if (e > abeBottom) return;
  // Bars come back in the order the shell hears from them, and a bar is laid
  // out beside those that are back. So a bar takes its place only once the
  // shell offers it the place it had, that is once the bars between it and
  // its edge are back; after a while it takes what is offered. An autohide
  // bar reserves nothing and comes back at once.
  if (step) ++shellReturnSteps_;
  if (!AutoHide() && ProposedEdge == abeUnknown && shellReturnSteps_ < kShellReturnSteps) {
    Rect offered;
    GetRect(e, offered);
    if (!(offered == shellReturnPlace_)) {
      returning_ = true;
      Window().SetTimer(kShellReturnTimerId, kShellReturnStep);
      return;
    }
  }
  UpdateBar();
  Window().Invalidate();
}

void TAppBar::EndSession() {
  if (sessionEnded_) return;
  sessionEnded_ = true;
  if (HandleAllocated()) {
    Window().KillTimer(kScreenCheckTimerId);
    Window().KillTimer(kShellReturnTimerId);
  }
  // Nothing runs after this message and nobody is left to read a message
  // box: a write that fails leaves the previous record, and the rest is
  // still written.
  try {
    SaveSettings();
  } catch (const std::exception&) {
  }
  try {
    OnSessionEnding();
  } catch (const std::exception&) {
  }
  if (HandleAllocated()) {
    const TAppBarEdge held = GetAutohideEdge();
    if (held != abeUnknown) AppBarMessage(ABM_SETAUTOHIDEBAR, held, 0);
    AppBarMessage(ABM_REMOVE);
  }
}

void TAppBar::OnAppBarTimer() {
  OnBeforeTimer();
  if (Window().IsActive()) return;
  ISystem& sys = System();
  Point p = sys.CursorPos();
  Rect r = Window().WindowRect();
  int gx = 2 * sys.GetSystemMetrics(SM_CXDOUBLECLK), gy = 2 * sys.GetSystemMetrics(SM_CYDOUBLECLK);
  Rect grown{r.left - gx, r.top - gy, r.right + gx, r.bottom + gy};
  if (!grown.Contains(p)) ShowHiddenAppBar(false);
}

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

void TAppBar::OnEnterSizeMove() { ProposedEdge = GetEdge(); }

void TAppBar::OnMoving(Rect* r) {
  Point p = System().MessagePos();
  TAppBarEdge e = CalcProposedState(p);
  ProposedEdge = e;
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
  TAppBarEdge e = ProposedEdge;
  ProposedEdge = abeUnknown;
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

void TAppBar::OnAppBarCallbackMsg(const Message& m) {
  switch (m.wParam) {
    case ABN_POSCHANGED:
      OnABNPosChanged();
      break;
    case ABN_FULLSCREENAPP:
      OnABNFullScreenApp(m.lParam != 0);
      break;
    case ABN_WINDOWARRANGE:
      OnABNWindowArrange(m.lParam != 0);
      break;
    default:
      break;
  }
}

}  // namespace tov
