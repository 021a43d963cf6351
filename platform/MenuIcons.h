// Menu entries that show the icon of a file or folder at the menu's own
// scale. An entry whose imageList is kFileIcons shows the icon of its
// shellPath at the small icon's exact size for the DPI of the monitor the
// menu shows on, asked for when the entry is first drawn (a menu of
// thousands of entries asks only for the icons it shows) and fetched away
// from the user-interface thread (IMenuPictures). Its imageIndex is
// -1 for an icon of its own, or a kind of file (FileIconKind): the entries of
// one kind share the first such icon taken.
#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "platform/Canvas.h"

namespace tov {

constexpr uintptr_t kFileIcons = ~uintptr_t(0);

// The number of a kind of file (its extension, say), the same for the whole
// process; -1 for none.
inline int FileIconKind(const std::string& kind) {
  if (kind.empty()) return -1;
  static std::map<std::string, int> kinds;
  return kinds.emplace(kind, int(kinds.size())).first->second;
}

// Where entries that show a file's icon (kFileIcons) take it: the menus
// ask for the icons they draw and never wait for the shell. Made above the
// platform and handed down once (SetMenuPictures); with none, such entries
// show no icon.
class IMenuPictures {
 public:
  enum class State { NotYet, None, Ready };
  virtual ~IMenuPictures() = default;
  // The icon of path at pixels x pixels, shared by every file of the kind
  // (FileIconKind; -1 for the path's own): Ready with the picture when it is
  // known (fetched before in this process, or kept in the icon cache), None
  // when the file shows no icon, NotYet while it is fetched (asked once,
  // whatever the number of calls). The picture stays valid until the next
  // call. Called on the user-interface thread only.
  virtual State Find(const std::string& path, int kind, int pixels, const Picture** picture) = 0;
  // Grows whenever icons have arrived: an open menu that sees it change
  // draws its entries again.
  virtual uint64_t Arrivals() const = 0;
  // The menu closed: icons asked and not fetched yet are no longer wanted.
  virtual void MenuClosed() = 0;
};

inline IMenuPictures*& MenuPicturesSlot() {
  static IMenuPictures* pictures = nullptr;
  return pictures;
}
inline IMenuPictures* MenuPictures() { return MenuPicturesSlot(); }
inline void SetMenuPictures(IMenuPictures* pictures) { MenuPicturesSlot() = pictures; }

}  // namespace tov
