// The levels of a folder menu: a folder's entries as a menu lists them, and
// which of them open as cascading sub-menus of their own.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Files.h"

namespace tov {

struct TMenuLevelEntry {
  std::string name;     // the entry's name in its folder
  std::string caption;  // as the menu shows it
  std::string path;     // the entry itself (what a click opens)
  // The folder its sub-menu lists (a sub-folder, or the folder a shortcut
  // leads to); empty for an entry without one.
  std::string folder;
};

// What a level's listing follows.
struct TMenuLevelRules {
  bool hideLinkExt = true;
  int hiddenShown = 0;  // as IShell::HiddenFilesShown
  // The target of a shortcut file, empty when it cannot be read.
  std::function<std::string(const std::string& path)> linkTarget;
};

// The entry is shown under the system's setting for hidden files: hidden
// ones when it shows them, the system's protected ones (hidden and system)
// only when it shows those too.
bool ShownUnderHiddenSetting(const FindEntry& e, int hiddenShown);

// The entries of folder in the file system's order: "." and ".." left out,
// and entries whose caption would be empty; sub-folders and shortcuts to
// folders open sub-menus, except one that leads back into chain (the real
// paths, Files().FinalPath, of the folders above and of this one): a
// junction or shortcut looping back opens as a plain entry.
std::vector<TMenuLevelEntry> ListMenuLevel(const std::string& folder, const std::vector<std::string>& chain,
                                           const TMenuLevelRules& rules);

// ListMenuLevel read in steps: the folder's listing stays open (IFileFind)
// and each Next reads only as far as the entries it gives. A folder that goes
// meanwhile ends the level; closing (or destroying) the listing lets go of
// the folder.
class TMenuLevelListing {
 public:
  TMenuLevelListing(const std::string& folder, std::vector<std::string> chain, TMenuLevelRules rules);
  // Adds up to count entries to out; false once there are no more.
  bool Next(size_t count, std::vector<TMenuLevelEntry>* out);
  bool Done() const { return !find_; }
  void Close() { find_.reset(); }

 private:
  std::string folder_;
  std::vector<std::string> chain_;
  TMenuLevelRules rules_;
  std::unique_ptr<IFileFind> find_;
};

// chain with the folder's real path added (the folder itself when it has none).
std::vector<std::string> ChainWith(std::vector<std::string> chain, const std::string& folder);

}  // namespace tov
