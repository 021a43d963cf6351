#include "platform/host/HostMonitorApi.h"

#include "platform/host/HostShell.h"

namespace tov::host {

namespace {
constexpr MonitorHandle kFirstHandle = 0x10001;
}

void HostMonitorApi::EnumMonitors(const std::function<void(MonitorHandle)>& each) {
  ++enumerations;
  for (size_t i = 0; i < shell_->Monitors().size(); ++i)
    each(kFirstHandle + i);
}

bool HostMonitorApi::GetMonitorInfo(MonitorHandle handle, RawMonitorInfo* out) {
  size_t i = handle - kFirstHandle;
  if (handle < kFirstHandle || i >= shell_->Monitors().size()) return false;
  const MonitorSpec& m = shell_->Monitors()[i];
  out->monitor = m.monitor;
  out->work = shell_->WorkArea(i);
  out->flags = m.primary ? 1 : 0;
  out->deviceName = m.deviceName;
  out->dpi = m.dpi;
  return true;
}

}  // namespace tov::host
