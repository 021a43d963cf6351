// The icons of the bar's buttons: a layout leaves each button with a
// placeholder and notes the icon it wants. At the start message it posts
// itself, the icons the cache knows for targets on this machine's disks go
// into their buttons at once; once the bar is painted the icon loader
// fetches the others away from the user-interface thread, and each arrives
// through the arrival message, in the button it was meant for. The buttons
// and the folder menus keep their icons in one icon cache, read once and
// written by both.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/ButtonHost.h"
#include "controls/IconLoader.h"
#include "controls/MenuIconSource.h"
#include "controls/SharedIconCache.h"
#include "forms/WindowForm.h"

namespace tov {

// Posted by the bar to itself: fetch the icons the layout wants; icons arrived.
constexpr uint32_t kIconsStartMessage = 1831;
constexpr uint32_t kIconsArrivedMessage = 1832;

// The file of the icon cache in the user's data folder.
extern const char* const kIconCacheName;  // "IconCache.bin"

class TBarIcons {
 public:
  // The buttons and the window they lie on, which takes the messages above
  // (posted from any thread).
  TBarIcons(TButtonHost& buttons, TForm& window);
  // Waits for the fetches under way (one call of the shell each at most)
  // and writes the icon cache.
  ~TBarIcons();

  // A new layout begins: a fetch still running is given up.
  void Clear();
  // The button with this tag wants the icon of path at that size.
  void Want(intptr_t tag, const std::string& path, int pixels);
  // The layout is done: the start message is posted when icons are wanted.
  void LaidOut();
  // The start message: the icons the cache knows go into their buttons at
  // once (drawn with the bar's first painting), then FetchRest fetches the
  // others.
  void Start();
  void FetchRest();
  // The arrival message: each icon arrived goes into its button.
  void Deliver();

  bool Fetching() const { return loader_ && loader_->Busy(); }
  const TIconLoader* Loader() const { return loader_.get(); }

 private:
  void Post(uint32_t msg);
  // The icon cache, made at the first layout (the user's data folder is
  // known by then).
  TSharedIconCache& Cache();

  TButtonHost& buttons_;
  TForm& window_;
  std::vector<IconRequest> wanted_;
  std::vector<IconRequest> rest_;  // not known to the cache, fetched next
  // Outlives its two users below.
  std::unique_ptr<TSharedIconCache> cache_;
  std::unique_ptr<TIconLoader> loader_;
  // The folder menus' icons, handed to the menus at the first layout.
  std::unique_ptr<TMenuIconSource> menuIcons_;
};

}  // namespace tov
