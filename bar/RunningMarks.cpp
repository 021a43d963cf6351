#include "bar/RunningMarks.h"

#include <algorithm>

#include "bar/LaunchSwitch.h"

namespace tov {

const std::string& TRunningMarks::ProgramOf(const std::string& path,
                                            const std::function<std::string(const std::string&)>& resolve) {
  auto it = programs_.find(path);
  if (it != programs_.end()) return it->second;
  std::string program = IsProgramPath(path) ? path : (path.empty() ? std::string() : resolve(path));
  if (!IsProgramPath(program)) program.clear();
  return programs_.emplace(path, std::move(program)).first->second;
}

bool TRunningMarks::Update(const std::vector<std::string>& programs, const std::vector<TopLevelWindow>& windows) {
  std::vector<bool> now(programs.size(), false);
  for (size_t i = 0; i < programs.size(); ++i) {
    if (programs[i].empty()) continue;
    now[i] = std::any_of(windows.begin(), windows.end(),
                         [&](const TopLevelWindow& w) { return WindowRunsProgram(w, programs[i]); });
  }
  if (now == running_) return false;
  running_ = std::move(now);
  return true;
}

bool TRunningMarks::Clear() {
  programs_.clear();
  const bool shown = std::find(running_.begin(), running_.end(), true) != running_.end();
  running_.clear();
  return shown;
}

Rect RunningMarkRect(const Rect& button, int thickness) {
  const int w = std::max(button.Width() / 3, 4);
  const int left = button.left + (button.Width() - w) / 2;
  const int bottom = button.bottom - 1;
  return Rect{left, bottom - thickness, left + w, bottom};
}

}  // namespace tov
