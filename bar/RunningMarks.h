// The running mark (optional, the setting "ShowRunning"): a small bar
// under each button whose program has a window open. The bar looks once a
// second, and only while it can be seen; the windows are matched to the
// programs as launch-or-switch matches them. Off, nothing wakes the bar.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Window.h"

namespace tov {

constexpr uint32_t kRunningTimerId = 41;
constexpr uint32_t kRunningIntervalMs = 1000;

class TRunningMarks {
 public:
  // The program a button's path starts: the path itself for a program, a
  // shortcut's target (read once per path through resolve), else "".
  const std::string& ProgramOf(const std::string& path, const std::function<std::string(const std::string&)>& resolve);
  // programs: one per button ("" for none). Answers whether a mark changed.
  bool Update(const std::vector<std::string>& programs, const std::vector<TopLevelWindow>& windows);
  // No marks, and the shortcuts read again next time. Answers whether a
  // mark was shown.
  bool Clear();
  bool Running(size_t button) const { return button < running_.size() && running_[button]; }

 private:
  std::vector<bool> running_;
  std::map<std::string, std::string> programs_;
};

// The mark's rectangle under a button: a third of its width, centred, two
// pixels (at 96 DPI; thickness at the bar's scale) above its bottom edge.
Rect RunningMarkRect(const Rect& button, int thickness);

}  // namespace tov
