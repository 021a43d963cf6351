// Whether the Windows tests have a display to put windows on. Windows itself
// always has one; Wine has one when it was started with an X display. Tests
// skip only without one: any other failure to make a window is a failure.
#pragma once
#include <gtest/gtest.h>

#include "platform/win32/WinApi.h"

namespace tov::testing {

inline bool HaveDisplay() {
  const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  if (!wine) return true;
  char value[8];
  return GetEnvironmentVariableA("DISPLAY", value, sizeof value) > 0 ||
         GetEnvironmentVariableA("WAYLAND_DISPLAY", value, sizeof value) > 0;
}

}  // namespace tov::testing

#define TOVIRA_SKIP_WITHOUT_DISPLAY() \
  if (!::tov::testing::HaveDisplay()) GTEST_SKIP() << "no display"
