#include "controls/IconLoader.h"

#include <map>
#include <optional>
#include <utility>

#include "files/FileHelpers.h"
#include "platform/Platform.h"

namespace tov {

bool PathShowsIcon(const std::string& path) {
  // Wildcards would name other entries, not this one.
  const std::string p = WithoutClosingBackslash(path);
  if (p.empty() || p.find_first_of("*?") != std::string::npos) return false;
  uint32_t attributes = 0;
  return Files().EntryAttributes(p, &attributes) && !(attributes & (kAttrHidden | kAttrSystem));
}

bool KnownLocalIcon(TSharedIconCache& cache, const std::string& path, int pixels, Picture* picture) {
  return Files().OnLocalDisk(path) && PathShowsIcon(path) && cache.Find(path, TargetStamp(path), pixels, picture);
}

TIconLoader::TIconLoader(TSharedIconCache& cache, std::function<void()> notify)
    : cache_(cache), notify_(std::move(notify)) {}

TIconLoader::~TIconLoader() { Stop(); }

void TIconLoader::Stop() {
  stop_ = true;
  if (worker_.joinable()) worker_.join();
  stop_ = false;
  running_ = false;
}

void TIconLoader::Start(std::vector<IconRequest> requests) { Fetch(Begin(std::move(requests))); }

std::vector<IconRequest> TIconLoader::Begin(std::vector<IconRequest> requests) {
  Stop();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    arrived_.clear();
  }
  fromCache_ = fromShell_ = atOnce_ = 0;
  return TakeKnown(std::move(requests));
}

void TIconLoader::Fetch(std::vector<IconRequest> requests) {
  if (requests.empty()) return;
  running_ = true;
  if (Windows().PostsFromThreads()) {
    worker_ = std::thread([this, r = std::move(requests)]() mutable {
      // Nothing thrown on this thread may end the program: the icons that
      // did not come leave their placeholders.
      try {
        Run(std::move(r));
      } catch (...) {
        running_ = false;
      }
    });
  } else {
    Run(std::move(requests));
  }
}

std::vector<IconRequest> TIconLoader::TakeKnown(std::vector<IconRequest> requests) {
  std::vector<IconRequest> rest;
  std::map<std::pair<std::string, int>, std::optional<Picture>> known;
  std::vector<IconArrival> now;
  for (IconRequest& request : requests) {
    const auto key = std::make_pair(request.path, request.pixels);
    auto it = known.find(key);
    if (it == known.end()) {
      std::optional<Picture> found;
      Picture picture;
      if (KnownLocalIcon(cache_, request.path, request.pixels, &picture)) {
        found = std::move(picture);
        ++atOnce_;
      }
      it = known.emplace(key, std::move(found)).first;
    }
    if (it->second)
      now.push_back(IconArrival{request.id, request.pixels, *it->second});
    else
      rest.push_back(std::move(request));
  }
  if (now.empty()) return rest;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    arrived_ = std::move(now);
  }
  if (notify_) notify_();
  return rest;
}

std::vector<IconArrival> TIconLoader::Take() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(arrived_, {});
}

void TIconLoader::Run(std::vector<IconRequest> requests) {
  // One look at each target and size, however many buttons show it.
  std::map<std::pair<std::string, int>, Picture> done;
  for (const IconRequest& request : requests) {
    if (stop_) break;
    const auto key = std::make_pair(request.path, request.pixels);
    auto known = done.find(key);
    if (known == done.end()) {
      Picture picture;
      if (PathShowsIcon(request.path)) {
        const uint64_t stamp = TargetStamp(request.path);
        if (cache_.Find(request.path, stamp, request.pixels, &picture)) {
          ++fromCache_;
        } else if (Shell().IconPicture(request.path, request.pixels, &picture) && picture.rgb.width == request.pixels &&
                   picture.rgb.height == request.pixels) {
          ++fromShell_;
          cache_.Put(request.path, stamp, request.pixels, picture);
        } else {
          picture = Picture();
        }
      }
      known = done.emplace(key, std::move(picture)).first;
    }
    // An empty picture arrives too: the button drops its placeholder.
    bool first;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      first = arrived_.empty();
      arrived_.push_back(IconArrival{request.id, request.pixels, known->second});
    }
    // One message for the icons waiting: the next comes once they are taken.
    if (first && notify_) notify_();
  }
  cache_.Save();
  running_ = false;
}

}  // namespace tov
