// Fetches the buttons' icons, each at the exact size it is drawn at: from the
// icon cache (shared with the folder menus) when the target did not change
// since, else from the shell (and then kept in the cache, which is written
// once the batch is done). The
// targets on this machine's own disks that the cache knows are answered at
// once, on the caller's thread (a few file look-ups): a start whose targets
// did not change needs no thread at all. The rest, and every target on a
// network share (which may keep a caller waiting), are fetched away from the
// user-interface thread: where the platform allows threads the batch runs on
// a thread of its own and tells of icons waiting through the notify function,
// called on that thread (the bar posts itself a message); elsewhere it runs
// at once when started, and notifies the same way.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "controls/SharedIconCache.h"
#include "platform/Canvas.h"

namespace tov {

struct IconRequest {
  int id = 0;  // the caller's, given back with the icon
  std::string path;
  int pixels = 16;
};

struct IconArrival {
  int id = 0;
  int pixels = 0;
  Picture picture;  // empty when the target shows no icon
};

// Whether a path names one visible file or folder (not hidden, not a
// system entry, no wildcards): only those show an icon.
bool PathShowsIcon(const std::string& path);

// The answer the user-interface thread may give at once (a few look-ups on a
// disk of this machine): the icon the cache keeps for the target at that
// size, copied into *picture, when the target is on a local disk, shows an
// icon and did not change since. False otherwise; a target on a network
// share is never looked at here (it may keep the caller waiting): the
// thread that fetches icons reads its stamp and asks the cache there.
bool KnownLocalIcon(TSharedIconCache& cache, const std::string& path, int pixels, Picture* picture);

class TIconLoader {
 public:
  // cache: outlives the loader. notify: icons wait in Take().
  TIconLoader(TSharedIconCache& cache, std::function<void()> notify);
  ~TIconLoader();
  TIconLoader(const TIconLoader&) = delete;
  TIconLoader& operator=(const TIconLoader&) = delete;

  // Fetches these, in this order; a batch still running is given up first
  // and what it fetched and was not taken is dropped. The same as Fetch(Begin()).
  void Start(std::vector<IconRequest> requests);
  // Starts a batch as Start does, answering at once what the cache knows for
  // targets on this machine's disks (in Take() on return); gives back the
  // requests still to be fetched.
  std::vector<IconRequest> Begin(std::vector<IconRequest> requests);
  // Fetches the rest of the batch Begin started, away from this thread.
  void Fetch(std::vector<IconRequest> rest);
  // Gives up the running batch and waits for its end.
  void Stop();
  // The icons arrived since the last call, in the order they came.
  std::vector<IconArrival> Take();
  // Whether the batch still runs.
  bool Busy() const { return running_; }

  // Of the last batch: icons found in the cache, and asked of the shell.
  int FromCache() const { return fromCache_; }
  int FromShell() const { return fromShell_; }
  // Of the last Start: icons answered at once from the cache, on the
  // caller's thread (counted apart from FromCache).
  int AtOnce() const { return atOnce_; }

 private:
  void Run(std::vector<IconRequest> requests);
  // Answers the requests the cache knows for targets on a local disk; gives
  // back the others.
  std::vector<IconRequest> TakeKnown(std::vector<IconRequest> requests);

  TSharedIconCache& cache_;
  std::function<void()> notify_;
  std::mutex mutex_;
  std::vector<IconArrival> arrived_;
  std::thread worker_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> running_{false};
  std::atomic<int> fromCache_{0};
  std::atomic<int> fromShell_{0};
  int atOnce_ = 0;
};

}  // namespace tov
