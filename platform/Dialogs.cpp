#include "platform/Dialogs.h"

namespace tov {

std::vector<FilterPair> SplitFileFilter(const std::string& filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= filter.size()) {
    const size_t bar = filter.find('|', start);
    const size_t end = bar == std::string::npos ? filter.size() : bar;
    parts.push_back(filter.substr(start, end - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  std::vector<FilterPair> pairs;
  for (size_t i = 0; i < parts.size(); i += 2) {
    FilterPair pair{parts[i], i + 1 < parts.size() ? parts[i + 1] : std::string("*.*")};
    if (pair.description.empty() && i + 1 >= parts.size()) break;  // a trailing '|'
    if (pair.patterns.empty()) continue;
    pairs.push_back(std::move(pair));
  }
  return pairs;
}

}  // namespace tov
