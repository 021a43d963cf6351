// Menu entries that show the icon of a file or folder at the menu's own
// scale. An entry whose imageList is kFileIcons shows the icon of its
// shellPath, taken from the shell at the small icon's exact size for the
// DPI of the monitor the menu shows on, when the entry is first drawn (a menu
// of thousands of entries takes only the icons it shows). Its imageIndex is
// -1 for an icon of its own, or a kind of file (FileIconKind): the entries of
// one kind share the first such icon taken.
#pragma once
#include <cstdint>
#include <map>
#include <string>

namespace tov {

constexpr uintptr_t kFileIcons = ~uintptr_t(0);

// The number of a kind of file (its extension, say), the same for the whole
// process; -1 for none.
inline int FileIconKind(const std::string& kind) {
  if (kind.empty()) return -1;
  static std::map<std::string, int> kinds;
  return kinds.emplace(kind, int(kinds.size())).first->second;
}

}  // namespace tov
