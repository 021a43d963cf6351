// Monitor enumeration, as the two USER32 functions looked up at run time.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Geometry.h"

namespace tov {

using MonitorHandle = uintptr_t;

struct RawMonitorInfo {
  Rect monitor;
  Rect work;
  uint32_t flags = 0;  // 1 = primary
  std::string deviceName;
  int dpi = 0;  // the monitor's scale (0: the system cannot tell it)
};

class IMonitorApi {
 public:
  virtual ~IMonitorApi() = default;
  virtual bool LoadLibrary() = 0;  // "USER32.DLL"
  virtual void FreeLibrary() = 0;
  virtual bool HasFunction(const std::string& name) = 0;
  // EnumDisplayMonitors over the whole virtual screen.
  virtual void EnumMonitors(const std::function<void(MonitorHandle)>& each) = 0;
  virtual bool GetMonitorInfo(MonitorHandle handle, RawMonitorInfo* out) = 0;
};

}  // namespace tov
