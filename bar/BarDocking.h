// The bar's docking glue: what the bar window does when its application bar
// docks, floats or moves, when the desktop under it changes (displays, the
// monitors' scales), and when the session ends. The application bar (the
// window's base, docking/AppBar.h) keeps the edge, the shell's strip and
// the screen table; the bar window lays its buttons out. This part stands
// between them and remembers the edge the bar was last laid out for:
//
//   docked or floated  -> laid out at the monitor's scale, then placed
//   displays changed   -> list, table, "Schermo" menu, scale, layout
//   WM_DPICHANGED      -> the new scale taken, laid out and placed again
//   session ends       -> what the bar holds written, then the claim freed
#pragma once
#include <functional>

#include "bar/BarScreens.h"
#include "base/Dpi.h"
#include "docking/AppBar.h"

namespace tov {

// What the docking glue asks of the bar window.
struct TBarDockingHooks {
  // The bar has read its settings and may be laid out (false while it is
  // being made and after it was destroyed).
  std::function<bool()> ready;
  // The buttons laid out again for the bar's edge and scale.
  std::function<void()> rebuild;
  // The "Schermo" menu made again from the monitor list.
  std::function<void()> monitorsMenu;
  // Whatever the bar keeps that a failed save left unwritten, written now.
  std::function<void()> writePending;
};

class TBarDocking {
 public:
  // The application bar and the bar's screens outlive the glue.
  TBarDocking(TAppBar& appBar, TBarScreens& screens, TBarDockingHooks hooks);

  // The edge the bar was last laid out for.
  TAppBarEdge LastEdge() const { return lastEdge_; }

  // The edge menu ("Alto", "Basso" ..., and the unlock button): the bar
  // docks there, or floats.
  void DockClick(TAppBarEdge edge);
  // The application bar settled on an edge (proposed: a drag only proposes
  // it). A bar that is ready is laid out for a new edge at the scale of
  // the monitor it lands on, and placed again.
  void StateChanged(bool proposed, TAppBarEdge edge);
  // The displays changed: the monitor list, the screen table, the monitor
  // the bar lives on and the "Schermo" menu made again, then the bar laid
  // out. The application bar docks it again after this.
  void ScreensChanged();
  // WM_DPICHANGED: the new scale in the low word of wParam, the place the
  // system suggests at that scale behind lParam. Answers the message's result.
  intptr_t DpiChanged(uintptr_t wParam, intptr_t lParam);
  // The session ends: the application bar has written its docking record;
  // the rest is written, then the program is told.
  void SessionEnding();
  void SetOnSessionEnded(std::function<void()> then) { onSessionEnded_ = std::move(then); }

  // The scale of the monitor the bar is laid out for (a floating bar: the
  // one under the middle of its place), and the bar taking it.
  Dpi MonitorLayoutDpi() const { return screens_.LayoutDpi(); }
  void AdoptMonitorDpi() { appBar_.SetBarDpi(MonitorLayoutDpi()); }

 private:
  bool Ready() const { return hooks_.ready && hooks_.ready(); }

  TAppBar& appBar_;
  TBarScreens& screens_;
  TBarDockingHooks hooks_;
  TAppBarEdge lastEdge_ = abeUnknown;
  std::function<void()> onSessionEnded_;
};

}  // namespace tov
