#include "controls/IconCache.h"

#include <algorithm>

#include "base/Bytes.h"
#include "files/FileHelpers.h"
#include "platform/Platform.h"

namespace tov {

namespace {

constexpr char kMagic[] = "TVIC";
constexpr size_t kHeader = 12;
constexpr size_t kMaxPath = 2048;
constexpr int kMaxPixels = 256;

size_t EntryBytes(size_t pathSize, int pixels) { return 2 + pathSize + 8 + 2 + size_t(pixels) * size_t(pixels) * 4; }

}  // namespace

uint64_t TargetStamp(const std::string& path) {
  DateTime t;
  if (!Files().LastWriteTime(path, &t)) return 0;
  uint64_t v = uint64_t(std::max(t.year, 0));
  for (const auto& [value, range] :
       {std::pair{t.month, 13}, {t.day, 32}, {t.hour, 24}, {t.minute, 60}, {t.second, 62}, {t.millisecond, 1000}})
    v = v * uint64_t(range) + uint64_t(std::clamp(value, 0, range - 1));
  return v == 0 ? 1 : v;
}

bool TIconCache::Load(const std::string& file) {
  std::string bytes;
  if (!Files().ReadFile(file, &bytes)) {
    entries_.clear();
    changed_ = false;
    return false;
  }
  if (Parse(bytes)) return true;
  // A damaged file is replaced at the next save even if nothing is added.
  changed_ = true;
  return false;
}

bool TIconCache::Parse(const std::string& bytes) {
  entries_.clear();
  changed_ = false;
  ByteReader r(bytes);
  uint32_t version = 0, count = 0;
  if (!r.Has(0, kHeader) || bytes.compare(0, 4, kMagic) != 0 || !r.Le32(4, &version) || version != kVersion ||
      !r.Le32(8, &count) || count > kMaxIcons)
    return false;
  std::vector<Entry> read;
  size_t at = kHeader, total = 0;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t length = 0, pixels = 0;
    uint64_t stamp = 0;
    if (!r.Le16(at, &length) || length == 0 || length > kMaxPath || !r.Has(at + 2, length)) return false;
    Entry e;
    e.path.assign(bytes, at + 2, length);
    at += 2 + length;
    if (!r.Le(at, 8, &stamp) || !r.Le16(at + 8, &pixels) || pixels == 0 || pixels > kMaxPixels) return false;
    at += 10;
    const size_t n = size_t(pixels) * pixels;
    if (!r.Has(at, n * 4)) return false;
    e.stamp = stamp;
    e.pixels = int(pixels);
    e.picture.rgb = Bitmap(int(pixels), int(pixels));
    e.picture.alpha.resize(n);
    for (size_t p = 0; p < n; ++p, at += 4) {
      const uint32_t v = r.Le32Or0(at);
      e.picture.rgb.pixels[p] = v & 0x00FFFFFF;
      e.picture.alpha[p] = uint8_t(v >> 24);
    }
    total += EntryBytes(e.path.size(), e.pixels);
    read.push_back(std::move(e));
  }
  if (at != bytes.size() || total > kMaxBytes) return false;
  entries_ = std::move(read);
  return true;
}

std::string TIconCache::Serialize() const {
  std::string out(kMagic, 4);
  PutLe(out, kVersion, 4);
  PutLe(out, entries_.size(), 4);
  for (const Entry& e : entries_) {
    PutLe(out, e.path.size(), 2);
    out += e.path;
    PutLe(out, e.stamp, 8);
    PutLe(out, uint64_t(e.pixels), 2);
    const std::vector<Color>& rgb = e.picture.rgb.pixels;
    for (size_t p = 0; p < rgb.size(); ++p)
      PutLe(out, (rgb[p] & 0x00FFFFFF) | (uint32_t(p < e.picture.alpha.size() ? e.picture.alpha[p] : 255) << 24), 4);
  }
  return out;
}

bool TIconCache::Save(const std::string& file) {
  if (!changed_) return true;
  // Another running copy of the program may have written the file since:
  // what it keeps is kept too (as the least recently used), unless this
  // cache holds that icon itself.
  TIconCache written;
  std::string bytes;
  if (Files().ReadFile(file, &bytes) && written.Parse(bytes)) {
    for (Entry& e : written.entries_) {
      const bool held = std::any_of(entries_.begin(), entries_.end(),
                                    [&](const Entry& mine) { return mine.pixels == e.pixels && mine.path == e.path; });
      if (held) continue;
      e.used = 0;
      entries_.push_back(std::move(e));
    }
    Trim();
  }
  if (!WriteFileSafely(Files(), file, Serialize())) return false;
  changed_ = false;
  return true;
}

const Picture* TIconCache::Find(const std::string& path, uint64_t stamp, int pixels) {
  for (Entry& e : entries_) {
    if (e.pixels != pixels || e.path != path) continue;
    if (e.stamp != stamp) return nullptr;
    e.used = ++clock_;
    return &e.picture;
  }
  return nullptr;
}

void TIconCache::Put(const std::string& path, uint64_t stamp, int pixels, const Picture& picture) {
  // Only what the file can hold: a square of a size it takes, a path it takes.
  if (path.empty() || path.size() > kMaxPath || pixels <= 0 || pixels > kMaxPixels) return;
  if (picture.rgb.width != pixels || picture.rgb.height != pixels) return;
  Entry fresh{path, stamp, pixels, picture, ++clock_};
  if (fresh.picture.alpha.size() != fresh.picture.rgb.pixels.size())
    fresh.picture.alpha.assign(fresh.picture.rgb.pixels.size(), 255);
  auto same = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.pixels == pixels && e.path == path; });
  if (same != entries_.end())
    *same = std::move(fresh);
  else
    entries_.push_back(std::move(fresh));
  changed_ = true;
  Trim();
}

size_t TIconCache::Bytes() const {
  size_t total = 0;
  for (const Entry& e : entries_)
    total += EntryBytes(e.path.size(), e.pixels);
  return total;
}

void TIconCache::Trim() {
  size_t total = Bytes();
  while (!entries_.empty() && (entries_.size() > kMaxIcons || total > kMaxBytes)) {
    auto oldest = std::min_element(entries_.begin(), entries_.end(),
                                   [](const Entry& a, const Entry& b) { return a.used < b.used; });
    total -= EntryBytes(oldest->path.size(), oldest->pixels);
    entries_.erase(oldest);
  }
}

}  // namespace tov
