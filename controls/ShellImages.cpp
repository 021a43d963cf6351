#include "controls/ShellImages.h"

#include "platform/Platform.h"

namespace tov {

namespace {

std::unique_ptr<TImageList>& Slot(bool small) {
  static std::unique_ptr<TImageList> large, smallList;
  return small ? smallList : large;
}

}  // namespace

const TImageList* SharedImageList(bool small) {
  std::unique_ptr<TImageList>& slot = Slot(small);
  // The shell may only now be there (or, in tests, be another one).
  if (!slot || slot->handle != Shell().SystemImageList(small)) slot = SystemImageList(small ? "SMALL" : "LARGE");
  return slot.get();
}

void SetSharedImageLists(std::unique_ptr<TImageList> large, std::unique_ptr<TImageList> small) {
  Slot(false) = std::move(large);
  Slot(true) = std::move(small);
}

}  // namespace tov
