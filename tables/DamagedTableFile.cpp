#include "tables/DamagedTableFile.h"

#include <set>

#include "platform/Platform.h"

namespace tov {

namespace {

// Paths are compared as Windows compares file names.
std::string Folded(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c + 32);
  return s;
}

std::set<std::string>& Guarded() {
  static std::set<std::string> paths;
  return paths;
}

}  // namespace

std::string SetDamagedTableFileAside(const std::string& path) {
  IFileSystem& fs = Files();
  for (int n = 1; n <= 99; ++n) {
    std::string aside = path + ".damaged" + (n == 1 ? std::string() : std::to_string(n));
    if (fs.FileExists(aside) || fs.DirExists(aside)) continue;
    if (fs.MoveFile(path, aside, false)) {
      ReleaseTableFileGuard(path);
      return aside;
    }
    break;
  }
  GuardUnreadTableFile(path);
  return std::string();
}

void GuardUnreadTableFile(const std::string& path) { Guarded().insert(Folded(path)); }

void ReleaseTableFileGuard(const std::string& path) { Guarded().erase(Folded(path)); }

bool IsGuardedTableFile(const std::string& path) { return Guarded().count(Folded(path)) != 0; }

void ForgetGuardedTableFiles() { Guarded().clear(); }

}  // namespace tov
