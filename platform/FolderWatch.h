// A folder watched for changes to its entries: the system tells of them, and
// the watch posts a message to a window; the logic then lists the folder
// again on its own thread.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tov {

// Posted with this wParam when watching ended by itself (the folder went
// away or became unreachable); 0 for an ordinary change.
constexpr uintptr_t kFolderWatchEnded = 1;

// An entry renamed in the watched folder, as the system reported it (names
// only, no folder part).
struct FolderRename {
  std::string from;
  std::string to;
};

class IFolderWatch {
 public:
  // Stops watching; once it returns, nothing more is posted.
  virtual ~IFolderWatch() = default;
  // The renames reported since the last call, oldest first.
  virtual std::vector<FolderRename> TakeRenames() = 0;
};

}  // namespace tov
