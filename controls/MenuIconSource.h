// The folder menus' icons (IMenuPictures): each asked for when an entry is
// first drawn, answered at once when it is known (fetched before in this
// process, or kept in the icon cache shared with the buttons), else fetched
// from the shell on a thread of its own at the exact size asked, while the
// menu shows a placeholder. What the shell gave goes into the icon cache,
// written when a menu closes and when the source goes, so that a later start
// shows the same icons without the shell.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "controls/IconCache.h"
#include "platform/MenuIcons.h"

namespace tov {

class TMenuIconSource : public IMenuPictures {
 public:
  // Icons kept in memory at most: past that, the memory is emptied whole.
  static constexpr size_t kMaxIcons = 1024;

  // cacheFile: the icon cache (empty: none). threaded: fetch on a thread of
  // its own; where not, the icons asked wait for FetchWaiting().
  explicit TMenuIconSource(std::string cacheFile, bool threaded);
  // Gives up the fetches not begun, waits for the one under way (one call of
  // the shell at most) and writes the cache.
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
    uint64_t stamp = 0;
    bool shown = false;
    Picture picture;
  };

  void Run();
  Arrival Fetch(const Request& request);
  // Takes the arrived icons into memory and the cache (user-interface thread).
  void Collect();
  void SaveCache();

  std::string cacheFile_;
  bool threaded_;
  // The user-interface thread's alone.
  std::map<Key, Known> known_;
  TIconCache cache_;
  bool cacheRead_ = false;
  // Shared with the thread.
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Request> waiting_;
  std::vector<Arrival> arrived_;
  bool stop_ = false;
  std::atomic<uint64_t> arrivals_{0};
  std::atomic<int> fromShell_{0};
  std::thread worker_;
};

}  // namespace tov
