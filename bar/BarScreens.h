// Which monitor the bar lives on: the monitor list the start-up hands over,
// the docking base's table of screens filled from it, and the device name of
// the monitor meant (chosen in "Schermo", or where the bar started), kept
// beside the docking record. While that monitor is not attached the bar lives
// on the primary one, and it goes back when the monitor returns.
#pragma once
#include <string>

#include "base/Dpi.h"
#include "docking/AppBar.h"
#include "docking/MonitorList.h"
#include "forms/Component.h"

namespace tov {

// The string value beside the docking record that names the bar's monitor.
extern const char* const kScreenDeviceValue;  // "ScreenDevice"

class TBarScreens {
 public:
  // The bar whose screen index and table are set, and the monitor list; both
  // outlive the screens.
  TBarScreens(TAppBar& bar, TMonitorList& monitors) : bar_(bar), monitors_(monitors) {}

  // The docking base's table from the list; it has room for ten monitors
  // and any beyond are left out. No list: one entry stands for the primary
  // monitor, measured live.
  void FillScreenTable();
  // The screen index := the monitor the device name names, else the primary
  // one. A record without the name (written before it was kept) takes the
  // name of the monitor at its index.
  void FollowDevice();
  // An index beyond the list goes to the primary monitor: true when it moved.
  bool FixScreenIndex();
  // A floating bar goes where its record says; a place on a monitor that is
  // gone becomes the middle of the screen, keeping the bar's size.
  void PlaceFloatingWindow();
  // The monitor at the index chosen: the bar lives there from now on.
  void Choose(int index);
  // The displays changed: the list built again (kept when the system cannot
  // answer), the table, the index of the monitor meant.
  void DisplaysChanged();
  // The monitors' scales as they are now (the user may have changed one).
  void RefreshList() { monitors_.Refresh(); }

  // The name beside the docking record under the key: read (none: "") and
  // written (only when known).
  void LoadDevice(const std::string& key);
  void SaveDevice(const std::string& key) const;
  const std::string& Device() const { return device_; }

  // The monitor at the bar's screen index (null: none listed there).
  const TMonitorInfo* Current() const { return monitors_.At(bar_.ScreenIndex()); }
  // The scale the bar is laid out at: a floating bar's is that of the
  // monitor under the middle of its place; else the current monitor's; with
  // neither, the bar's own.
  Dpi LayoutDpi() const;
  // The "Schermo" items made again: one per monitor, the current one checked.
  void FillMenu(Component& screens) const;

 private:
  TAppBar& bar_;
  TMonitorList& monitors_;
  std::string device_;
};

}  // namespace tov
