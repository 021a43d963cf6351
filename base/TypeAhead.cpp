#include "base/TypeAhead.h"

#include "base/Casefold.h"

namespace tov {

int FindByPrefix(const std::vector<std::string>& captions, const std::string& prefix, int start) {
  const int n = int(captions.size());
  if (n == 0 || prefix.empty()) return -1;
  const std::string wanted = UpperCaseText(prefix);
  if (start < 0 || start >= n) start = 0;
  for (int k = 0; k < n; ++k) {
    const int i = (start + k) % n;
    if (captions[size_t(i)].size() >= prefix.size() && UpperCaseText(captions[size_t(i)]).rfind(wanted, 0) == 0)
      return i;
  }
  return -1;
}

int TTypeAhead::Type(const std::vector<std::string>& captions, int current, const std::string& typed, uint32_t nowMs) {
  if (typed.empty()) return -1;
  if (!typed_.empty() && nowMs - lastMs_ > kPauseMs) typed_.clear();
  lastMs_ = nowMs;
  const bool fresh = typed_.empty();
  typed_ += typed;
  int found = FindByPrefix(captions, typed_, fresh ? current + 1 : (current < 0 ? 0 : current));
  if (found < 0 && !fresh && typed_.find_first_not_of(typed) == std::string::npos && typed_.size() % typed.size() == 0)
    found = FindByPrefix(captions, typed, current + 1);
  return found;
}

}  // namespace tov
