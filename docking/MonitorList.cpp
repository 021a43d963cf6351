#include "docking/MonitorList.h"

#include <stdexcept>

#include "platform/Platform.h"

namespace tov {

namespace {

[[noreturn]] void MissingExport(const char* name) {
  throw std::runtime_error(std::string("Impossibile trovare la funzione di esportazione.\nFunzione '") + name +
                           "' non trovata");
}

}  // namespace

void TMonitorList::Load() {
  Free();
  IMonitorApi& api = MonitorApi();
  if (!api.LoadLibrary()) throw std::runtime_error("Impossibile caricare la libreria di sistema USER32.DLL");
  libraryLoaded_ = true;
  auto list = std::make_unique<List>();
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
  list_ = std::move(list);
}

void TMonitorList::Free() {
  if (list_) {
    while (!list_->empty())
      list_->pop_back();
    list_.reset();
  }
  if (libraryLoaded_) {
    MonitorApi().FreeLibrary();
    libraryLoaded_ = false;
  }
}

const TMonitorInfo* TMonitorList::At(int index) const {
  if (!list_ || index < 0 || index >= Count()) return nullptr;
  return (*list_)[size_t(index)].get();
}

std::string MonitorLabel(const TMonitorInfo& monitor) {
  return monitor.DeviceName + " (" + std::to_string(monitor.MonitorRect.Width()) + "x" +
         std::to_string(monitor.MonitorRect.Height()) + ") " + (monitor.Primary ? "*" : "");
}

bool TMonitorList::Refresh() {
  auto previous = std::move(list_);
  try {
    Load();
    if (Count() > 0) return true;
  } catch (const std::exception&) {
  }
  Free();
  list_ = std::move(previous);
  return false;
}

int TMonitorList::Find(const std::string& deviceName) const {
  if (deviceName.empty()) return -1;
  for (int i = 0; i < Count(); ++i) {
    if (At(i)->DeviceName == deviceName) return i;
  }
  return -1;
}

int TMonitorList::For(const std::string& deviceName) const {
  const int wanted = Find(deviceName);
  if (wanted >= 0) return wanted;
  for (int i = 0; i < Count(); ++i) {
    if (At(i)->Primary) return i;
  }
  return Count() > 0 ? 0 : -1;
}

}  // namespace tov
