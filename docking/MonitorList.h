// The monitor list: one record per monitor attached.
#pragma once
#include <memory>
#include <string>
#include <vector>

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

// The monitors attached, in the platform's enumeration order: made by the
// program's start-up (before the data module) and handed to the bar, which
// builds it again whenever the displays change. Empty until loaded.
class TMonitorList {
 public:
  TMonitorList() = default;
  // Frees the list, and the system library when it was loaded.
  ~TMonitorList() { Free(); }
  TMonitorList(const TMonitorList&) = delete;
  TMonitorList& operator=(const TMonitorList&) = delete;

  // Builds the list; throws std::runtime_error when the system library or
  // one of its two functions is missing (no list is built then).
  void Load();
  // Frees every record, last to first, then the list, and releases the library.
  void Free();
  int Count() const { return list_ ? int(list_->size()) : 0; }
  // The record at a 0-based index, or nullptr when the index is out of range.
  const TMonitorInfo* At(int index) const;

  // Builds the list again from the monitors attached now. When the system
  // cannot answer, or answers with no monitor at all (as it may for a moment
  // while displays switch), the list stays as it was: false.
  bool Refresh();
  // Index of the monitor with that device name, or -1 when none is attached.
  int Find(const std::string& deviceName) const;
  // Where a bar that wants the monitor deviceName lives: that monitor while
  // it is attached, else the primary one, else the first; -1 only with no list.
  int For(const std::string& deviceName) const;

 private:
  using List = std::vector<std::unique_ptr<TMonitorInfo>>;
  std::unique_ptr<List> list_;
  bool libraryLoaded_ = false;
};

// "<device> (<width>x<height>) " followed by "*" for the primary monitor.
std::string MonitorLabel(const TMonitorInfo& monitor);

}  // namespace tov
