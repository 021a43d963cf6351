// The headless shell's folders: watched folders (a watch stands for the
// system's notifications on one folder; the tests fire them, and each fired
// change is posted to the watching window as the worker thread of the real
// system does) and the shell's context menus, recorded.
#include <algorithm>

#include "base/Casefold.h"
#include "platform/Platform.h"
#include "platform/host/HostShell.h"
#include "platform/host/HostWindowSystem.h"

namespace tov::host {

namespace {
std::string WithoutTrailingSeparator(std::string folder) {
  while (folder.size() > 3 && folder.back() == '\\')
    folder.pop_back();
  return folder;
}
}  // namespace

struct HostShell::FolderWatch : IFolderWatch {
  FolderWatch(HostShell* shell, std::string folder, WindowId window, uint32_t message)
      : shell(shell), folder(std::move(folder)), window(window), message(message) {
    shell->watches_.push_back(this);
  }
  ~FolderWatch() override {
    auto& all = shell->watches_;
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
  }
  std::vector<FolderRename> TakeRenames() override {
    std::vector<FolderRename> out;
    out.swap(renames);
    return out;
  }

  HostShell* shell;
  std::string folder;
  WindowId window;
  uint32_t message;
  bool ended = false;
  std::vector<FolderRename> renames;
};

std::unique_ptr<IFolderWatch> HostShell::WatchFolder(const std::string& folder, WindowId window, uint32_t message) {
  if (!tov::Files().DirExists(folder)) return nullptr;
  return std::make_unique<FolderWatch>(this, WithoutTrailingSeparator(folder), window, message);
}

void HostShell::FolderChanged(const std::string& folder, const std::vector<FolderRename>& renames, bool ended) {
  const std::string name = WithoutTrailingSeparator(folder);
  for (FolderWatch* w : watches_) {
    if (w->ended || !SameNameIgnoringCase(w->folder, name)) continue;
    w->renames.insert(w->renames.end(), renames.begin(), renames.end());
    w->ended = ended;
    windows_->PostTo(w->window, w->message, ended ? kFolderWatchEnded : 0, 0);
  }
}

int HostShell::Watching(const std::string& folder) const {
  const std::string name = WithoutTrailingSeparator(folder);
  return int(std::count_if(watches_.begin(), watches_.end(),
                           [&](const FolderWatch* w) { return !w->ended && SameNameIgnoringCase(w->folder, name); }));
}

}  // namespace tov::host

namespace tov::host {

bool HostShell::ShowContextMenu(WindowId owner, const std::string& path, Point at, bool extended) {
  contextMenus.push_back(ContextMenu{owner, path, at, extended});
  return tov::Files().FileExists(path) || tov::Files().DirExists(path);
}

}  // namespace tov::host
