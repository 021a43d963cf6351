// Launch-or-switch: a click on a button whose program already has a window
// brings that window forward instead of starting a second copy. The windows
// are matched by their process's image path against the program the button
// starts; with several, each click brings the next (the one lowest in the
// z-order), so repeated clicks cycle through all of them. Shift always starts
// a new copy, Ctrl+Shift one as administrator.
#pragma once
#include <string>
#include <vector>

#include "platform/Window.h"

namespace tov {

enum class LaunchKind { Open, OpenAsAdmin, Switch };

struct LaunchDecision {
  LaunchKind kind = LaunchKind::Open;
  WindowId window = 0;  // for Switch: the window to bring forward
};

struct LaunchRequest {
  std::string program;  // the executable the button starts (a shortcut resolved); empty: not a program
  bool shift = false;
  bool ctrl = false;
  bool switchOn = true;  // the setting
};

// windows: the top-level windows, topmost first; foreground: the window in
// the foreground now.
LaunchDecision DecideLaunch(const LaunchRequest& request, const std::vector<TopLevelWindow>& windows,
                            WindowId foreground);

// Whether a path names a program whose windows can be matched (".exe").
bool IsProgramPath(const std::string& path);

// Whether the window's process runs the program (its image path, long or
// short, names the same file).
bool WindowRunsProgram(const TopLevelWindow& window, const std::string& program);

}  // namespace tov
