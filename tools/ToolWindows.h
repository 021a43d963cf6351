// What the tool's Windows commands share to reach a running program's window.
#pragma once
#ifdef TOVIRA_WINDOWS
#include <string>

#include "platform/win32/WinApi.h"

namespace tov::tool {

// The visible top-level window with exactly this title; null for none.
HWND FindVisibleWindow(const std::string& title);

}  // namespace tov::tool
#endif
