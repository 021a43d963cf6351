// The buttons' icons kept between starts, in one file of the user's data
// folder, so that a start needs the shell for no icon whose target did not
// change. An icon is found by its target's path, the target's time stamp and
// its size in pixels; a target written since, or an icon of another size, is
// not found. The file is only ever a copy: one that cannot be read (missing,
// cut short, damaged, of another version) is ignored and written anew.
//
// The file: "TVIC", a 32-bit version (1) and a 32-bit count, then per icon a
// 16-bit length and the path's bytes, the 64-bit time stamp, the 16-bit size
// and size x size pixels of 32 bits (red, green, blue, alpha), all numbers
// little-endian.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace tov {

// The time stamp of a target (its last write, as one number); 0 when it has
// none (a folder, or a file that cannot be opened).
uint64_t TargetStamp(const std::string& path);

class TIconCache {
 public:
  // Bounds: the icons least recently used go first when either is passed.
  static constexpr size_t kMaxIcons = 512;
  static constexpr size_t kMaxBytes = 4u << 20;
  static constexpr uint32_t kVersion = 1;

  // Reads the file; false, with the cache left empty, when it is missing or
  // cannot be read as a whole.
  bool Load(const std::string& file);
  // The same from bytes.
  bool Parse(const std::string& bytes);
  std::string Serialize() const;
  // Writes the file (a complete new one replaces the old), only when
  // something changed since it was read or written, keeping the icons the
  // file holds that this cache does not: copies of the program in other
  // folders may share the user's data folder (by default the user's
  // application data, named after the executable) and write the file too.
  // False when the write failed (the cache stays as it is).
  bool Save(const std::string& file);

  // The icon, or null; a found icon counts as used now.
  const Picture* Find(const std::string& path, uint64_t stamp, int pixels);
  // Keeps an icon (a square picture of pixels x pixels), replacing the one
  // of that path and size.
  void Put(const std::string& path, uint64_t stamp, int pixels, const Picture& picture);

  size_t Count() const { return entries_.size(); }
  size_t Bytes() const;
  bool Changed() const { return changed_; }

 private:
  struct Entry {
    std::string path;
    uint64_t stamp = 0;
    int pixels = 0;
    Picture picture;
    uint64_t used = 0;
  };
  void Trim();

  std::vector<Entry> entries_;
  uint64_t clock_ = 0;
  bool changed_ = false;
};

}  // namespace tov
