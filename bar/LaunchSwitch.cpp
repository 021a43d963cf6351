#include "bar/LaunchSwitch.h"

#include "base/Casefold.h"

namespace tov {

bool IsProgramPath(const std::string& path) {
  return path.size() > 4 && UpperCaseText(path.substr(path.size() - 4)) == ".EXE";
}

bool WindowRunsProgram(const TopLevelWindow& w, const std::string& program) {
  // A shortcut's target may be read in its short form.
  return (!w.imagePath.empty() && SameNameIgnoringCase(w.imagePath, program)) ||
         (!w.shortImagePath.empty() && SameNameIgnoringCase(w.shortImagePath, program));
}

LaunchDecision DecideLaunch(const LaunchRequest& request, const std::vector<TopLevelWindow>& windows,
                            WindowId foreground) {
  LaunchDecision d;
  if (request.shift) {
    d.kind = request.ctrl ? LaunchKind::OpenAsAdmin : LaunchKind::Open;
    return d;
  }
  if (!request.switchOn || !IsProgramPath(request.program)) return d;
  std::vector<const TopLevelWindow*> matches;
  for (const TopLevelWindow& w : windows)
    if (WindowRunsProgram(w, request.program)) matches.push_back(&w);
  if (matches.empty()) return d;
  d.kind = LaunchKind::Switch;
  // One of them in front already: the lowest goes on top, so the next click
  // brings the one that was second, and each window comes in turn.
  bool frontIsMatch = false;
  for (const TopLevelWindow* w : matches)
    if (w->id == foreground) frontIsMatch = true;
  if (frontIsMatch && matches.size() > 1)
    d.window = matches.back()->id;
  else
    d.window = matches.front()->id;
  return d;
}

}  // namespace tov
