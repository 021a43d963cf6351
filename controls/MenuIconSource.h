// The folder menus' icons (IMenuPictures): each asked for when an entry is
// first drawn, answered at once when it is known (fetched before in this
// process, or kept in the icon cache shared with the buttons for a target on
// a local disk), else fetched on a thread of its own (from the cache for a
// target on a network share, else from the shell at the exact size asked),
// while the menu shows a placeholder. The thread runs while icons wait: it
// ends once none do (a menu closed drops those it asked for) and another
// starts with the next icon asked. What the shell gave goes into the icon
// cache, written when a menu closes, so that the buttons and a later start
// show the same icons without the shell.
#pragma once
#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "controls/SharedIconCache.h"
#include "platform/MenuIcons.h"

namespace tov {

class TMenuIconSource : public IMenuPictures {
 public:
  // Icons kept in memory at most: past that, the memory is emptied whole.
  static constexpr size_t kMaxIcons = 1024;

  // cache: outlives the source. threaded: fetch on a thread of its own;
  // where not, the icons asked wait for FetchWaiting().
  TMenuIconSource(TSharedIconCache& cache, bool threaded);
  // Gives up the fetches not begun and waits for the one under way (one
  // call of the shell at most).
  ~TMenuIconSource() override;
  TMenuIconSource(const TMenuIconSource&) = delete;
  TMenuIconSource& operator=(const TMenuIconSource&) = delete;

  State Find(const std::string& path, int kind, int pixels, const Picture** picture) override;
  uint64_t Arrivals() const override { return arrivals_; }
  void MenuClosed() override;

  // Without a thread: fetches the icons waiting, on the calling thread.
  void FetchWaiting();
  // Icons asked of the shell so far.
  int FromShell() const { return fromShell_; }
  // Icons the fetches found in the cache so far.
  int FromCache() const { return fromCache_; }
  // Whether the thread runs.
  bool Fetching() const;

 private:
  // Memory's key: "*" and the kind for a kind's icon (no path starts so),
  // else the path; and the size.
  using Key = std::pair<std::string, int>;
  struct Known {
    State state = State::NotYet;
    Picture picture;
  };
  struct Request {
    Key key;
    std::string path;
    int pixels = 0;
  };
  struct Arrival {
    Request request;
    bool shown = false;
    Picture picture;
  };

  // Starts the thread (user-interface thread).
  void StartFetching();
  // Forgets the icons asked and not fetched (user-interface thread).
  void DropWaiting();
  // The thread: fetches until no icon waits.
  void Run();
  Arrival Fetch(const Request& request);
  // Takes the arrived icons into memory (user-interface thread).
  void Collect();

  TSharedIconCache& cache_;
  bool threaded_;
  // The user-interface thread's alone.
  std::map<Key, Known> known_;
  // Shared with the thread.
  mutable std::mutex mutex_;
  std::deque<Request> waiting_;
  std::vector<Arrival> arrived_;
  bool fetching_ = false;
  std::atomic<uint64_t> arrivals_{0};
  std::atomic<int> fromShell_{0};
  std::atomic<int> fromCache_{0};
  std::thread worker_;  // the user-interface thread's alone
};

}  // namespace tov
