// Type-to-select over a list of captions, as the bar's buttons and its
// folder menus answer typed letters: letters typed in quick succession make
// a prefix, and the selection jumps to the next caption that starts with
// the whole of it, without regard to case.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tov {

// The first caption at or after start (wrapping) that starts with prefix;
// -1 when none does or the prefix is empty.
int FindByPrefix(const std::vector<std::string>& captions, const std::string& prefix, int start);

class TTypeAhead {
 public:
  // Letters typed further apart than this start a new search.
  static constexpr uint32_t kPauseMs = 1000;
  // A character typed (UTF-8) at nowMs with current selected (-1: none):
  // the caption to select, or -1 to stay. A fresh search starts after the
  // current one; a longer prefix may stay on it; one letter typed again
  // ("aa") steps on through the captions with that letter when none starts
  // with the repeated letters.
  int Type(const std::vector<std::string>& captions, int current, const std::string& typed, uint32_t nowMs);
  void Reset() { typed_.clear(); }
  bool Typing() const { return !typed_.empty(); }

 private:
  std::string typed_;
  uint32_t lastMs_ = 0;
};

}  // namespace tov
