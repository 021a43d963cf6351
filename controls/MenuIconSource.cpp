#include "controls/MenuIconSource.h"

#include "controls/IconLoader.h"
#include "files/FileHelpers.h"
#include "platform/Platform.h"

namespace tov {

TMenuIconSource::TMenuIconSource(TSharedIconCache& cache, bool threaded) : cache_(cache), threaded_(threaded) {}

TMenuIconSource::~TMenuIconSource() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    waiting_.clear();
  }
  // The thread ends after the fetch under way, if any.
  if (worker_.joinable()) worker_.join();
}

bool TMenuIconSource::Fetching() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return fetching_;
}

IMenuPictures::State TMenuIconSource::Find(const std::string& asked, int kind, int pixels, const Picture** picture) {
  *picture = nullptr;
  const std::string path = WithoutClosingBackslash(asked);
  if (path.empty() || pixels <= 0) return State::None;
  Collect();
  const Key key{kind >= 0 ? "*" + std::to_string(kind) : path, pixels};
  auto it = known_.find(key);
  if (it == known_.end()) {
    if (known_.size() >= kMaxIcons) known_.clear();
    Known fresh;
    if (KnownLocalIcon(cache_, path, pixels, &fresh.picture)) fresh.state = State::Ready;
    it = known_.emplace(key, std::move(fresh)).first;
    if (it->second.state == State::NotYet) {
      bool start;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        waiting_.push_back(Request{key, path, pixels});
        start = threaded_ && !fetching_;
        if (start) fetching_ = true;
      }
      if (start) StartFetching();
    }
  }
  if (it->second.state == State::Ready) *picture = &it->second.picture;
  return it->second.state;
}

void TMenuIconSource::DropWaiting() {
  std::deque<Request> dropped;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    dropped.swap(waiting_);
  }
  // Not fetched: asked again when next drawn.
  for (const Request& r : dropped) {
    auto it = known_.find(r.key);
    if (it != known_.end() && it->second.state == State::NotYet) known_.erase(it);
  }
}

void TMenuIconSource::MenuClosed() {
  DropWaiting();
  Collect();
  cache_.Save();
}

void TMenuIconSource::FetchWaiting() {
  for (;;) {
    Request r;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (waiting_.empty()) return;
      r = std::move(waiting_.front());
      waiting_.pop_front();
    }
    Arrival a = Fetch(r);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      arrived_.push_back(std::move(a));
    }
    ++arrivals_;
  }
}

void TMenuIconSource::StartFetching() {
  // The thread before said it ended, under the lock, as the last thing it
  // did: it is gone or about to be.
  if (worker_.joinable()) worker_.join();
  try {
    worker_ = std::thread([this] { Run(); });
  } catch (...) {
    // No thread to be had: the icons stay placeholders until they are
    // drawn again, and asked again then.
    {
      std::lock_guard<std::mutex> lock(mutex_);
      fetching_ = false;
    }
    DropWaiting();
  }
}

void TMenuIconSource::Run() {
  for (;;) {
    Request r;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (waiting_.empty()) {
        fetching_ = false;
        return;
      }
      r = std::move(waiting_.front());
      waiting_.pop_front();
    }
    // Nothing thrown here may end the program: the icon stays a placeholder.
    try {
      Arrival a = Fetch(r);
      std::lock_guard<std::mutex> lock(mutex_);
      arrived_.push_back(std::move(a));
    } catch (...) {
    }
    ++arrivals_;
  }
}

TMenuIconSource::Arrival TMenuIconSource::Fetch(const Request& request) {
  Arrival a;
  a.request = request;
  if (!PathShowsIcon(request.path)) return a;
  const uint64_t stamp = TargetStamp(request.path);
  if (cache_.Find(request.path, stamp, request.pixels, &a.picture)) {
    ++fromCache_;
    a.shown = true;
    return a;
  }
  ++fromShell_;
  Picture p;
  // Only an icon of exactly the size asked is shown: never a stretched one.
  a.shown = Shell().IconPicture(request.path, request.pixels, &p) && p.rgb.width == request.pixels &&
            p.rgb.height == request.pixels && (p.alpha.empty() || p.alpha.size() == p.rgb.pixels.size());
  if (!a.shown) return a;
  cache_.Put(request.path, stamp, request.pixels, p);
  a.picture = std::move(p);
  return a;
}

void TMenuIconSource::Collect() {
  std::vector<Arrival> arrived;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    arrived.swap(arrived_);
  }
  for (Arrival& a : arrived) {
    Known& k = known_[a.request.key];
    k.state = a.shown ? State::Ready : State::None;
    k.picture = std::move(a.picture);
  }
}

}  // namespace tov
