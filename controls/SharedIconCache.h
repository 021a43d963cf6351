// The icon cache the buttons and the folder menus share for as long as the
// bar runs (TIconCache behind a lock): its file is read once, at the first
// use, and written when a user of it says (a batch of the buttons done, a
// menu closed) and at its end. Any thread may use it. A call holds the lock
// only for a look-up or a change in memory, or to copy the icons for a
// write: never while the shell is asked or the file written, so the
// user-interface thread never waits long for the buttons' or the menus'
// thread.
#pragma once
#include <cstdint>
#include <mutex>
#include <string>

#include "controls/IconCache.h"

namespace tov {

class TSharedIconCache {
 public:
  // file: the cache's file (empty: the icons are kept in memory only).
  explicit TSharedIconCache(std::string file);
  // Writes what changed.
  ~TSharedIconCache();
  TSharedIconCache(const TSharedIconCache&) = delete;
  TSharedIconCache& operator=(const TSharedIconCache&) = delete;

  // The icon kept for the target at that stamp and size, copied into
  // *picture; false when none is.
  bool Find(const std::string& path, uint64_t stamp, int pixels, Picture* picture);
  void Put(const std::string& path, uint64_t stamp, int pixels, const Picture& picture);
  // Writes the file when something changed since it was read or written;
  // false when the write failed (tried again at the next save).
  bool Save();

  size_t Count();

 private:
  // With mutex_ held.
  void ReadOnce();

  const std::string file_;
  std::mutex mutex_;
  TIconCache cache_;
  bool read_ = false;
  bool unsaved_ = false;
  // One write at a time: the buttons' thread and the user-interface thread
  // may both save.
  std::mutex writing_;
};

}  // namespace tov
