// Monitor enumeration from the shell's configured layout; tests may take the
// library or either function away.
#pragma once
#include <set>
#include <string>

#include "platform/Monitors.h"

namespace tov::host {

class HostShell;

class HostMonitorApi : public IMonitorApi {
 public:
  explicit HostMonitorApi(HostShell* shell) : shell_(shell) {}
  bool LoadLibrary() override {
    loaded = libraryPresent;
    return loaded;
  }
  void FreeLibrary() override { loaded = false; }
  bool HasFunction(const std::string& name) override { return loaded && !missing.count(name); }
  void EnumMonitors(const std::function<void(MonitorHandle)>& each) override;
  bool GetMonitorInfo(MonitorHandle handle, RawMonitorInfo* out) override;

  bool libraryPresent = true;
  int enumerations = 0;  // how often the monitors were enumerated
  bool loaded = false;
  std::set<std::string> missing;  // functions to pretend are not exported

 private:
  HostShell* shell_;
};

}  // namespace tov::host
