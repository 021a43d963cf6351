// The system's answers about scale. The functions of per-monitor scaling
// came with Windows 8.1 and 10; each is looked up once at run time, and where
// one is missing the answer is the system's single DPI, so the program still
// starts on a system without them.
#pragma once
#include "platform/win32/WinApi.h"

namespace tov::win32 {

// The DPI of the screen as a whole (the primary monitor's at log-on).
int SystemDpi();
// The DPI of a monitor (its effective DPI), else the system's.
int MonitorDpi(HMONITOR monitor);
// The DPI a window is drawn at, else the system's.
int WindowDpi(HWND window);
// A system metric at a DPI (GetSystemMetricsForDpi), else the metric at the
// system's DPI scaled to it.
int MetricForDpi(int index, int dpi);
// The frame a client rectangle needs at a DPI (AdjustWindowRectExForDpi,
// else AdjustWindowRectEx at the system's DPI).
void AdjustRectForDpi(RECT* rect, DWORD style, DWORD exStyle, int dpi);
// Asks the system to scale the window's frame with its monitor, where it
// does not do so by itself (per-monitor awareness of the first version);
// called on WM_NCCREATE.
void EnableFrameScaling(HWND window);

}  // namespace tov::win32
