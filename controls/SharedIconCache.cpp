#include "controls/SharedIconCache.h"

#include <utility>

namespace tov {

TSharedIconCache::TSharedIconCache(std::string file) : file_(std::move(file)) {}

TSharedIconCache::~TSharedIconCache() { Save(); }

void TSharedIconCache::ReadOnce() {
  if (read_) return;
  read_ = true;
  if (file_.empty()) return;
  cache_.Load(file_);
  // A damaged file is written whole again even when nothing is added.
  unsaved_ = cache_.Changed();
}

bool TSharedIconCache::Find(const std::string& path, uint64_t stamp, int pixels, Picture* picture) {
  std::lock_guard<std::mutex> lock(mutex_);
  ReadOnce();
  const Picture* kept = cache_.Find(path, stamp, pixels);
  if (!kept) return false;
  *picture = *kept;
  return true;
}

void TSharedIconCache::Put(const std::string& path, uint64_t stamp, int pixels, const Picture& picture) {
  std::lock_guard<std::mutex> lock(mutex_);
  ReadOnce();
  cache_.Put(path, stamp, pixels, picture);
  unsaved_ = true;
}

bool TSharedIconCache::Save() {
  if (file_.empty()) return true;
  std::lock_guard<std::mutex> writing(writing_);
  // The file is written from a copy, so that the others go on meanwhile.
  TIconCache copy;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!unsaved_) return true;
    copy = cache_;
    unsaved_ = false;
  }
  if (copy.Save(file_)) return true;
  std::lock_guard<std::mutex> lock(mutex_);
  unsaved_ = true;
  return false;
}

size_t TSharedIconCache::Count() {
  std::lock_guard<std::mutex> lock(mutex_);
  ReadOnce();
  return cache_.Count();
}

}  // namespace tov
