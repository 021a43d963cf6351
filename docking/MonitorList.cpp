#include "docking/MonitorList.h"

#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/Platform.h"

namespace tov {

namespace {

std::unique_ptr<std::vector<std::unique_ptr<TMonitorInfo>>> g_monitors;
bool g_libraryLoaded = false;

[[noreturn]] void MissingExport(const char* name) {
  throw std::runtime_error(std::string("Impossibile trovare la funzione di esportazione.\nFunzione '") + name +
                           "' non trovata");
}

}  // namespace

void LoadMonitors() {
  FreeMonitors();
  IMonitorApi& api = MonitorApi();
  if (!api.LoadLibrary()) throw std::runtime_error("Impossibile caricare la libreria di sistema USER32.DLL");
  g_libraryLoaded = true;
  auto list = std::make_unique<std::vector<std::unique_ptr<TMonitorInfo>>>();
  if (!api.HasFunction("EnumDisplayMonitors")) MissingExport("EnumDisplayMonitors");
  bool infoMissing = false;
  api.EnumMonitors([&](MonitorHandle handle) {
    if (infoMissing) return;
    if (!api.HasFunction("GetMonitorInfoA")) {
      infoMissing = true;
      return;
    }
    RawMonitorInfo raw;
    api.GetMonitorInfo(handle, &raw);
    auto m = std::make_unique<TMonitorInfo>();
    m->Handle = handle;
    m->Number = int(list->size()) + 1;
    m->DeviceName = raw.deviceName;
    m->MonitorRect = raw.monitor;
    m->WorkRect = raw.work;
    m->Primary = raw.flags == 1;
    m->MonitorDpi = Dpi(raw.dpi);
    list->push_back(std::move(m));
  });
  // The message names the function without its final "A".
  if (infoMissing) MissingExport("GetMonitorInfo");
  g_monitors = std::move(list);
}

void FreeMonitors() {
  if (g_monitors) {
    while (!g_monitors->empty())
      g_monitors->pop_back();
    g_monitors.reset();
  }
  if (g_libraryLoaded) {
    MonitorApi().FreeLibrary();
    g_libraryLoaded = false;
  }
}

int MonitorCount() { return g_monitors ? int(g_monitors->size()) : 0; }

const TMonitorInfo* MonitorAt(int index) {
  if (!g_monitors || index < 0 || index >= MonitorCount()) return nullptr;
  return (*g_monitors)[size_t(index)].get();
}

std::string MonitorLabel(const TMonitorInfo& monitor) {
  return monitor.DeviceName + " (" + std::to_string(monitor.MonitorRect.Width()) + "x" +
         std::to_string(monitor.MonitorRect.Height()) + ") " + (monitor.Primary ? "*" : "");
}

bool RefreshMonitors() {
  auto previous = std::move(g_monitors);
  try {
    LoadMonitors();
    if (MonitorCount() > 0) return true;
  } catch (const std::exception&) {
  }
  FreeMonitors();
  g_monitors = std::move(previous);
  return false;
}

int FindMonitor(const std::string& deviceName) {
  if (deviceName.empty()) return -1;
  for (int i = 0; i < MonitorCount(); ++i) {
    if (MonitorAt(i)->DeviceName == deviceName) return i;
  }
  return -1;
}

int MonitorFor(const std::string& deviceName) {
  const int wanted = FindMonitor(deviceName);
  if (wanted >= 0) return wanted;
  for (int i = 0; i < MonitorCount(); ++i) {
    if (MonitorAt(i)->Primary) return i;
  }
  return MonitorCount() > 0 ? 0 : -1;
}

}  // namespace tov
