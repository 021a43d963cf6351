#include "bar/BarScreens.h"

#include <algorithm>
#include <vector>

#include "platform/Platform.h"

namespace tov {

const char* const kScreenDeviceValue = "ScreenDevice";

void TBarScreens::FillScreenTable() {
  const int n = std::min(monitors_.Count(), kScreenTableSize);
  std::vector<TScreenInfo> screens(size_t(std::max(n, 0)));
  for (int i = 0; i < n; ++i) {
    const TMonitorInfo* m = monitors_.At(i);
    TScreenInfo& s = screens[size_t(i)];
    s.MonitorFlags = m->Primary ? 1 : 0;
    const Rect& r = m->MonitorRect;
    const Rect& w = m->WorkRect;
    TAppBar::InitScreenCoord(s.rcMonitor, s.szMonitor, r.left, r.top, r.right, r.bottom);
    TAppBar::InitScreenCoord(s.rcWork, s.szWork, w.left, w.top, w.right, w.bottom);
  }
  bar_.RefreshScreens(screens);
}

void TBarScreens::FollowDevice() {
  if (device_.empty()) {
    if (const TMonitorInfo* m = Current()) device_ = m->DeviceName;
    return;
  }
  const int i = monitors_.For(device_);
  if (i >= 0) bar_.SetScreenIndex(i);
}

bool TBarScreens::FixScreenIndex() {
  if (bar_.ScreenIndex() < monitors_.Count()) return false;
  for (int i = 0; i < monitors_.Count(); ++i) {
    if (monitors_.At(i)->Primary) {
      bar_.SetScreenIndex(i);
      return true;
    }
  }
  return false;
}

void TBarScreens::PlaceFloatingWindow() {
  TAppBarSettings& s = bar_.Settings();
  const TMonitorInfo* m = Current();
  const Point corner{s.FloatLeft, s.FloatTop};
  if (m && m->MonitorRect.Contains(corner)) {
    bar_.SetBounds(corner.x, corner.y, bar_.Width(), bar_.Height());
    return;
  }
  // The floating rectangle moves with the window, keeping its size, so the
  // bar does not stretch back to the old corner when its state is applied.
  const int w = s.FloatRight > s.FloatLeft ? s.FloatRight - s.FloatLeft : bar_.Width();
  const int h = s.FloatBottom > s.FloatTop ? s.FloatBottom - s.FloatTop : bar_.Height();
  const int sw = System().GetSystemMetrics(SM_CXSCREEN), sh = System().GetSystemMetrics(SM_CYSCREEN);
  s.FloatLeft = (sw - w) / 2;
  s.FloatTop = (sh - h) / 2;
  s.FloatRight = s.FloatLeft + w;
  s.FloatBottom = s.FloatTop + h;
  bar_.SetBounds(s.FloatLeft, s.FloatTop, w, h);
}

void TBarScreens::Choose(int index) {
  bar_.SetScreenIndex(index);
  if (const TMonitorInfo* m = Current()) device_ = m->DeviceName;
}

void TBarScreens::DisplaysChanged() {
  monitors_.Refresh();
  FillScreenTable();
  if (!device_.empty()) {
    const int i = monitors_.For(device_);
    if (i >= 0) bar_.SetScreenIndex(i);
  } else {
    FixScreenIndex();
  }
}

void TBarScreens::LoadDevice(const std::string& key) {
  RegValue v;
  device_ = Registry().ReadValue(key, kScreenDeviceValue, &v) && v.type == RegType::String ? v.AsString() : "";
}

void TBarScreens::SaveDevice(const std::string& key) const {
  if (!device_.empty()) Registry().WriteString(key, kScreenDeviceValue, device_);
}

Dpi TBarScreens::LayoutDpi() const {
  const TAppBarSettings& s = bar_.Settings();
  if (bar_.GetEdge() == abeFloat) {
    const Point middle{s.FloatLeft + (s.FloatRight - s.FloatLeft) / 2, s.FloatTop + (s.FloatBottom - s.FloatTop) / 2};
    for (int i = 0; i < monitors_.Count(); ++i)
      if (monitors_.At(i)->MonitorRect.Contains(middle)) return monitors_.At(i)->MonitorDpi;
  }
  if (const TMonitorInfo* m = Current()) return m->MonitorDpi;
  return bar_.BarDpi();
}

void TBarScreens::FillMenu(Component& screens) const {
  screens.RemoveChildren();
  for (int i = 0; i < monitors_.Count(); ++i) {
    const int k = int(screens.ChildCount());
    Component& item =
        screens.Add(MakeComponent(ComponentKind::MenuItem, "PopMonitor_" + std::to_string(k + 1),
                                  "Display " + std::to_string(k + 1) + " - " + MonitorLabel(*monitors_.At(i))));
    item.tag = i;
    item.checked = i == bar_.ScreenIndex();
    item.Bind("OnClick", "PopSelectMonitorClick");
  }
}

}  // namespace tov
