#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Late.h"
#include "platform/win32/Win32Scoped.h"

#include "base/Dpi.h"

namespace tov::win32 {

namespace {

using DpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using DpiForWindowFn = UINT(WINAPI*)(HWND);
using MetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using NonClientScalingFn = BOOL(WINAPI*)(HWND);

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

}  // namespace

int SystemDpi() {
  static const int dpi = [] {
    const int value = ScreenDc().Caps(LOGPIXELSY, Dpi::kBase);
    return Dpi::Valid(value) ? value : Dpi::kBase;
  }();
  return dpi;
}

int MonitorDpi(HMONITOR monitor) {
  static const auto forMonitor = LateFunction<DpiForMonitorFn>("shcore.dll", "GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (monitor && forMonitor && SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &x, &y)) && Dpi::Valid(int(y)))
    return int(y);
  return SystemDpi();
}

int WindowDpi(HWND window) {
  static const auto forWindow = LateFunction<DpiForWindowFn>("user32.dll", "GetDpiForWindow");
  if (window && forWindow) {
    const int dpi = int(forWindow(window));
    if (Dpi::Valid(dpi)) return dpi;
  }
  return window ? MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)) : SystemDpi();
}

int MetricForDpi(int index, int dpi) {
  static const auto forDpi = LateFunction<MetricsForDpiFn>("user32.dll", "GetSystemMetricsForDpi");
  if (forDpi && Dpi::Valid(dpi)) return forDpi(index, UINT(dpi));
  return Dpi(dpi).From(GetSystemMetrics(index), Dpi(SystemDpi()));
}

void AdjustRectForDpi(RECT* rect, DWORD style, DWORD exStyle, int dpi) {
  static const auto forDpi = LateFunction<AdjustForDpiFn>("user32.dll", "AdjustWindowRectExForDpi");
  if (forDpi && Dpi::Valid(dpi) && forDpi(rect, style, FALSE, exStyle, UINT(dpi))) return;
  AdjustWindowRectEx(rect, style, FALSE, exStyle);
}

void EnableFrameScaling(HWND window) {
  static const auto enable = LateFunction<NonClientScalingFn>("user32.dll", "EnableNonClientDpiScaling");
  if (enable) enable(window);
}

}  // namespace tov::win32
