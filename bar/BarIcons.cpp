#include "bar/BarIcons.h"

#include <utility>

#include "controls/ButtonStyle.h"
#include "platform/Platform.h"
#include "settings/UserData.h"

namespace tov {

const char* const kIconCacheName = "IconCache.bin";

TBarIcons::TBarIcons(TButtonHost& buttons, TForm& window) : buttons_(buttons), window_(window) {}

TBarIcons::~TBarIcons() {
  loader_.reset();
  if (MenuPictures() == menuIcons_.get()) SetMenuPictures(nullptr);
  menuIcons_.reset();
  cache_.reset();
}

TSharedIconCache& TBarIcons::Cache() {
  if (!cache_) cache_ = std::make_unique<TSharedIconCache>(UserDataDir() + kIconCacheName);
  return *cache_;
}

void TBarIcons::Post(uint32_t msg) {
  // The window is there from the first layout on, and outlives the loader.
  if (window_.HandleAllocated()) window_.Window().Post(msg, 0, 0);
}

void TBarIcons::Clear() {
  wanted_.clear();
  rest_.clear();
  if (!loader_) return;
  // The tags of the old buttons name other buttons now: nothing fetched for
  // them may arrive.
  loader_->Stop();
  loader_->Take();
}

void TBarIcons::Want(intptr_t tag, const std::string& path, int pixels) {
  wanted_.push_back(IconRequest{int(tag), path, pixels});
}

void TBarIcons::LaidOut() {
  if (!menuIcons_) {
    menuIcons_ = std::make_unique<TMenuIconSource>(Cache(), Windows().PostsFromThreads());
    SetMenuPictures(menuIcons_.get());
  }
  if (!wanted_.empty()) Post(kIconsStartMessage);
}

void TBarIcons::Start() {
  if (wanted_.empty()) return;
  if (!loader_) loader_ = std::make_unique<TIconLoader>(Cache(), [this] { Post(kIconsArrivedMessage); });
  rest_ = loader_->Begin(std::exchange(wanted_, {}));
  Deliver();
}

void TBarIcons::FetchRest() {
  if (loader_) loader_->Fetch(std::exchange(rest_, {}));
}

void TBarIcons::Deliver() {
  if (!loader_) return;
  for (const IconArrival& icon : loader_->Take()) {
    for (size_t i = 0; i < buttons_.ButtonCount(); ++i) {
      TLbSpeedButton& b = buttons_.Button(i);
      if (b.tag == icon.id) ApplyArrivedIcon(b, icon.picture);
    }
  }
}

}  // namespace tov
