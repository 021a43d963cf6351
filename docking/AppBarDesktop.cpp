// The application bar when the desktop changes under it: the shell starting
// again, displays and work areas changing, the session ending.
#include <algorithm>
#include <exception>

#include "docking/AppBar.h"
#include "platform/Platform.h"

namespace tov {

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
  if (proposedEdge_ != abeUnknown) {
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
  const int count = std::clamp(screenCount_, 1, kScreenTableSize);
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
  taskEntryAdded_ = false;  // the new shell knows only the windows' own styles
  const TAppBarEdge e = TAppBarEdge(abs_.Edge);
  if (e == abeUnknown) return;
  if (e == abeFloat) {
    // A floating bar reserves nothing and stays where it is, with its entry.
    Rect empty;
    AppBarMessage(ABM_SETPOS, abeFloat, 0, true, &empty);
    ApplyTaskEntry(e);
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
  if (!AutoHide() && proposedEdge_ == abeUnknown && shellReturnSteps_ < kShellReturnSteps) {
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

}  // namespace tov
