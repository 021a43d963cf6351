#include "platform/host/HostShell.h"

#include <algorithm>

#include "base/Casefold.h"
#include "base/Utf8Text.h"
#include "platform/Window.h"
#include "platform/host/HostWindowSystem.h"

namespace tov::host {

namespace {

int64_t Overlap(const Rect& a, const Rect& b) {
  int64_t w = std::min(a.right, b.right) - std::max(a.left, b.left);
  int64_t h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return (w > 0 && h > 0) ? w * h : 0;
}

// Takes a bar's strip out of a work area, from the bar's edge inwards.
void Exclude(Rect& work, uint32_t edge, const Rect& strip) {
  switch (edge) {
    case 0:
      work.left = std::max(work.left, strip.right);
      break;
    case 1:
      work.top = std::max(work.top, strip.bottom);
      break;
    case 2:
      work.right = std::min(work.right, strip.left);
      break;
    case 3:
      work.bottom = std::min(work.bottom, strip.top);
      break;
    default:
      break;
  }
}

}  // namespace

void HostShell::SetMonitors(const std::vector<MonitorSpec>& monitors) {
  monitors_ = monitors;
  if (monitors_.empty())
    monitors_.push_back(MonitorSpec{{0, 0, 1024, 768}, {0, 0, 1024, 738}, true, "\\\\.\\DISPLAY1"});
}

const MonitorSpec& HostShell::Primary() const {
  for (const MonitorSpec& m : monitors_) {
    if (m.primary) return m;
  }
  return monitors_.front();
}

size_t HostShell::MonitorOf(const Rect& r) const {
  size_t best = 0;
  int64_t bestArea = -1;
  for (size_t i = 0; i < monitors_.size(); ++i) {
    int64_t a = Overlap(r, monitors_[i].monitor);
    if (a > bestArea) {
      best = i;
      bestArea = a;
    }
  }
  if (bestArea <= 0) {
    for (size_t i = 0; i < monitors_.size(); ++i) {
      if (monitors_[i].primary) return i;
    }
  }
  return best;
}

Rect HostShell::WorkAreaWithout(size_t monitor, WindowId self, uint32_t edge) const {
  Rect work = monitors_[monitor].work;
  auto me = bars_.find(self);
  const uint64_t mine = me != bars_.end() && me->second.reserved ? me->second.since : UINT64_MAX;
  for (const auto& [id, bar] : bars_) {
    if (id == self || !bar.reserved || bar.monitor != monitor) continue;
    if (bar.edge == edge && bar.since > mine) continue;  // stacked outside it
    Exclude(work, bar.edge, bar.rect);
  }
  return work;
}

Rect HostShell::WorkArea(size_t i) const { return WorkAreaWithout(i, 0); }

Rect HostShell::PrimaryWorkArea() const {
  for (size_t i = 0; i < monitors_.size(); ++i) {
    if (monitors_[i].primary) return WorkArea(i);
  }
  return WorkArea(0);
}

WindowId HostShell::AutoHideBar(uint32_t edge) const { return edge < 4 ? autoHide_[edge] : 0; }

void HostShell::NotifyOthers(WindowId self) {
  for (const auto& [id, bar] : bars_) {
    if (id != self) windows_->PostTo(id, bar.callback, ABN_POSCHANGED, 0);
  }
}

void HostShell::NotifyFullScreen(bool open, int monitor) {
  fullScreenKnown_ = monitor >= 0;
  fullScreenMonitor_ = open ? monitor : -1;
  for (const auto& [id, bar] : bars_)
    windows_->PostTo(id, bar.callback, ABN_FULLSCREENAPP, open ? 1 : 0);
}

int HostShell::FullScreenWindowOn(const Rect& monitor) {
  if (!fullScreenKnown_) return -1;
  if (fullScreenMonitor_ < 0 || size_t(fullScreenMonitor_) >= monitors_.size()) return 0;
  return monitors_[size_t(fullScreenMonitor_)].monitor == monitor ? 1 : 0;
}

void HostShell::ForgetBars() {
  bars_.clear();
  for (WindowId& a : autoHide_)
    a = 0;
}

void HostShell::ReassignBars() {
  for (auto& [id, bar] : bars_) {
    if (!bar.reserved) continue;
    bool onSome = false;
    for (const MonitorSpec& m : monitors_)
      onSome = onSome || Overlap(bar.rect, m.monitor) > 0;
    if (onSome)
      bar.monitor = MonitorOf(bar.rect);
    else
      bar.reserved = false;
  }
}

uintptr_t HostShell::AppBarMessage(uint32_t message, AppBarData& data) {
  auto it = bars_.find(data.window);
  const bool known = it != bars_.end();
  switch (message) {
    case ABM_NEW:
      if (known || data.window == 0) return 0;
      bars_[data.window] = Bar{data.callbackMessage, false, 0, {}, 0};
      return 1;
    case ABM_REMOVE: {
      if (!known) return 0;
      bool wasReserved = it->second.reserved;
      bars_.erase(it);
      for (WindowId& a : autoHide_) {
        if (a == data.window) a = 0;
      }
      if (wasReserved) NotifyOthers(data.window);
      return 1;
    }
    case ABM_QUERYPOS:
    case ABM_SETPOS: {
      if (!known) return 0;
      if (data.edge > 3) {
        // Not a docking edge: nothing is reserved.
        if (message == ABM_SETPOS && it->second.reserved) {
          it->second.reserved = false;
          NotifyOthers(data.window);
        }
        return 1;
      }
      size_t mon = MonitorOf(data.rect);
      Rect work = WorkAreaWithout(mon, data.window, data.edge);
      Rect& r = data.rect;
      r.left = std::max(r.left, work.left);
      r.top = std::max(r.top, work.top);
      r.right = std::min(r.right, work.right);
      r.bottom = std::min(r.bottom, work.bottom);
      if (message == ABM_SETPOS) {
        // A bar keeps only the strip along its edge; it never owns the middle.
        Bar before = it->second;
        Bar& bar = it->second;
        bar.edge = data.edge;
        bar.rect = r;
        bar.monitor = mon;
        bar.reserved = !r.IsEmpty();
        if (!bar.reserved)
          bar.since = UINT64_MAX;
        else if (!before.reserved || before.edge != bar.edge || before.monitor != bar.monitor)
          bar.since = ++reservations_;
        if (before.reserved != bar.reserved || before.edge != bar.edge || !(before.rect == bar.rect) ||
            before.monitor != bar.monitor)
          NotifyOthers(data.window);
      }
      return 1;
    }
    case ABM_GETAUTOHIDEBAR:
      return data.edge < 4 ? autoHide_[data.edge] : 0;
    case ABM_SETAUTOHIDEBAR: {
      if (data.edge > 3) return 0;
      WindowId& slot = autoHide_[data.edge];
      if (data.lParam) {
        if (slot != 0 && slot != data.window) return 0;
        slot = data.window;
        return 1;
      }
      if (slot == data.window) slot = 0;
      return 1;
    }
    case ABM_ACTIVATE:
    case ABM_WINDOWPOSCHANGED:
      return known ? 1 : 0;
    case ABM_GETSTATE:
      return 0;
    default:
      return 0;
  }
}

bool HostShell::Open(WindowId owner, const std::string& path, const std::string& params, const std::string& dir) {
  openOwners.push_back(owner);
  std::string entry = path;
  if (!params.empty()) entry += " " + params;
  if (!dir.empty()) entry += " @" + dir;
  if (path.empty() || unopenable.count(path)) return false;
  opened.push_back(entry);
  return true;
}

bool HostShell::OpenWithVerb(WindowId owner, const std::string& verb, const std::string& path) {
  openOwners.push_back(owner);
  if (path.empty() || unopenable.count(path)) return false;
  opened.push_back(verb + ": " + path);
  return true;
}

int HostShell::IconIndex(const std::string& path, uint32_t flags) {
  // One stable index per extension (folders share one), as the shell's system
  // list does for ordinary documents.
  if (path.empty()) return -1;
  std::string lower = LowerCaseText(path);
  size_t slash = lower.find_last_of("\\:");
  size_t dot = lower.find_last_of('.');
  std::string ext = (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ? lower.substr(dot) : "";
  if (ext == ".exe" || ext == ".lnk" || ext == ".ico") ext = lower;  // these carry their own icons
  uint32_t h = 2166136261u;
  for (char c : ext)
    h = (h ^ uint8_t(c)) * 16777619u;
  int index = int(h % 500) + 4;
  if (ext.empty()) index = (flags & kIconOpen) ? 2 : 3;  // folders
  return index;
}

void HostShell::AcceptDroppedFiles(WindowId window, bool accept) {
  if (accept)
    dropTargets_[window] = true;
  else
    dropTargets_.erase(window);
}

uintptr_t HostShell::MakeDrop(const std::vector<std::string>& paths) {
  const uintptr_t h = nextDrop_++;
  drops_[h] = paths;
  return h;
}

uint32_t HostShell::QueryDroppedFile(uintptr_t drop, uint32_t index, char* buffer, uint32_t size) {
  auto it = drops_.find(drop);
  if (it == drops_.end()) return 0;
  const std::vector<std::string>& paths = it->second;
  if (index == kDropCount) return uint32_t(paths.size());
  if (index >= paths.size()) return 0;
  const std::string& p = paths[index];
  if (!buffer) return uint32_t(p.size());
  if (size == 0) return 0;
  // A buffer too small gets the path cut short, before a character that does
  // not fit whole.
  const size_t n = Utf8CutToBytes(p, size - 1).size();
  std::copy_n(p.data(), n, buffer);
  buffer[n] = 0;
  return uint32_t(n);
}

void HostShell::DragFinish(uintptr_t drop) { drops_.erase(drop); }

}  // namespace tov::host
