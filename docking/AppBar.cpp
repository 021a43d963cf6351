#include "docking/AppBar.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "platform/Instances.h"
#include "platform/Platform.h"

namespace tov {

namespace {

// Products of 32-bit integers wrap as the machine's own do.
int32_t Mul32(int64_t a, int64_t b) { return int32_t(uint32_t(uint64_t(a * b))); }

}  // namespace

TAppBar::TAppBar() {
  abs_ = DefaultAppBarSettings(System().GetSystemMetrics(SM_CXSCREEN), System().GetSystemMetrics(SM_CYSCREEN));
  screens_[0].MonitorFlags = -1;
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

void TAppBar::SetBarDpi(Dpi dpi) {
  if (dpi == dpi_) return;
  ConvertDockSizes(abs_, dpi_, dpi);
  dpi_ = dpi;
}

TAppBarEdge TAppBar::GetEdge() const { return proposedEdge_ != abeUnknown ? proposedEdge_ : TAppBarEdge(abs_.Edge); }

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
    AdjustLocationForAutohide(autoHideIsVisible_, r);
    SlideWindow(r);
  }
  intptr_t z = HWND_NOTOPMOST;
  if (AlwaysOnTop()) z = fullScreenAppOpen_ ? HWND_BOTTOM : HWND_TOPMOST;
  Window().SetWindowPos(z, Rect{}, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  AppBarMessage(ABM_ACTIVATE);
  OnAppBarStateChange(false, edge);
  ApplyTaskEntry(edge);
}

void TAppBar::ApplyTaskEntry(TAppBarEdge edge) {
  bool show;
  switch (TaskEntry()) {
    case abtShow:
      show = true;
      break;
    case abtHide:
      show = false;
      break;
    case abtFloatDependent:
      if (edge <= abeBottom)
        show = false;
      else if (edge == abeFloat)
        show = true;
      else
        return;
      break;
    default:
      return;
  }
  // The window is made as a tool window, which has no entry until one is
  // added: an entry never added is not taken away. That spares every start
  // of a docked bar the shell's task-bar object (and under Wine the 1.2 MB of
  // libraries it loads). An entry is added at each asking, as the shell may
  // have dropped it meanwhile (the window hidden and shown again).
  if (!show && !taskEntryAdded_) return;
  Window().ShowTaskbarEntry(show);
  taskEntryAdded_ = show;
}

void TAppBar::UpdateBar() { SetEdge(GetEdge()); }

// --------------------------------------------------------------- the screens

void TAppBar::InitScreenCoord(Rect& rect, Size& size, int left, int top, int right, int bottom) {
  rect = Rect{left, top, right, bottom};
  size = Size{right - left, bottom - top};
}

TScreenInfo TAppBar::GetScreenInfo(int index) {
  if (index < 0 || index >= screenCount_ || index >= kScreenTableSize || screens_[size_t(index)].MonitorFlags != 0) {
    // The primary monitor is always measured afresh.
    TScreenInfo s;
    ISystem& sys = System();
    InitScreenCoord(s.rcMonitor, s.szMonitor, 0, 0, sys.GetSystemMetrics(SM_CXSCREEN),
                    sys.GetSystemMetrics(SM_CYSCREEN));
    Rect w = sys.WorkArea();
    InitScreenCoord(s.rcWork, s.szWork, w.left, w.top, w.right, w.bottom);
    s.MonitorFlags = index >= 0 && index < kScreenTableSize ? screens_[size_t(index)].MonitorFlags : 1;
    return s;
  }
  return screens_[size_t(index)];
}

const TScreenInfo& TAppBar::Screen(int index) const {
  return screens_[size_t(std::clamp(index, 0, kScreenTableSize - 1))];
}

void TAppBar::RefreshScreens(const std::vector<TScreenInfo>& screens) {
  const int n = int(std::min(screens.size(), size_t(kScreenTableSize)));
  screenCount_ = std::max(n, 1);
  if (n == 0) screens_[0] = TScreenInfo{{}, {}, {}, {}, -1};
  for (int i = 0; i < n; ++i)
    screens_[size_t(i)] = screens[size_t(i)];
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
  autoHideIsVisible_ = true;
  if (AdjustLocationForAutohide(show, r)) {
    autoHideIsVisible_ = show;
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
  fullScreenAppOpen_ = mine;
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
  ConvertDockSizes(abs_, Dpi(), dpi_);
  return true;
}

bool TAppBar::SaveSettings() {
  if (!Registry().CreateKey(keyName_)) return false;
  TAppBarSettings stored = abs_;
  ConvertDockSizes(stored, dpi_, Dpi());
  if (!Registry().WriteBinary(keyName_, "", PackAppBarSettings(stored)))
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
