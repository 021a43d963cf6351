// The monitors attached, in the platform's enumeration order; loaded by the
// program's start-up (TLoadedMonitors, before the data module) and built again
// whenever the displays change.
#pragma once
#include <string>

#include "base/Dpi.h"
#include "platform/Geometry.h"
#include "platform/Monitors.h"

namespace tov {

struct TMonitorInfo {
  MonitorHandle Handle = 0;
  int Number = 0;  // position in the list plus 1
  std::string DeviceName;
  bool Primary = false;  // the monitor's flags are exactly the primary flag
  Rect MonitorRect;
  Rect WorkRect;
  // The scale of the monitor: a bar on it is laid out at this DPI.
  tov::Dpi MonitorDpi;
};

// Builds the list; throws std::runtime_error when the system library or one
// of its two functions is missing (no list is built then).
void LoadMonitors();
// Frees every record, last to first, then the list, and releases the library.
void FreeMonitors();
int MonitorCount();
// The record at a 0-based index, or nullptr when the index is out of range.
const TMonitorInfo* MonitorAt(int index);
// "<device> (<width>x<height>) " followed by "*" for the primary monitor.
std::string MonitorLabel(const TMonitorInfo& monitor);

// Builds the list again from the monitors attached now. When the system
// cannot answer, or answers with no monitor at all (as it may for a moment
// while displays switch), the list stays as it was: false.
bool RefreshMonitors();
// Index of the monitor with that device name, or -1 when none is attached.
int FindMonitor(const std::string& deviceName);
// Where a bar that wants the monitor deviceName lives: that monitor while it
// is attached, else the primary one, else the first; -1 only with no list.
int MonitorFor(const std::string& deviceName);

// The monitor list for as long as it lives: loaded when made (failing as
// LoadMonitors does), freed when gone. The program's start-up holds one
// from before the data module until after it.
class TLoadedMonitors {
 public:
  TLoadedMonitors() { LoadMonitors(); }
  ~TLoadedMonitors() { FreeMonitors(); }
  TLoadedMonitors(const TLoadedMonitors&) = delete;
  TLoadedMonitors& operator=(const TLoadedMonitors&) = delete;
};

}  // namespace tov
