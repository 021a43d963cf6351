#include "controls/ShellImages.h"

#include "platform/Platform.h"

namespace tov {

namespace {

// A shared list and the shell it came from.
struct SharedList {
  std::unique_ptr<TImageList> list;
  const IShell* shell = nullptr;
};

SharedList& Slot(bool small) {
  static SharedList large, smallList;
  return small ? smallList : large;
}

}  // namespace

const TImageList* SharedImageList(bool small) {
  SharedList& slot = Slot(small);
  // Asked again while the shell has none (it may only now be there) and for
  // another shell (a test's); otherwise the list stays: the system's list
  // is the process's, and asking for it means walking to the desktop folder
  // each time, two times for every button of a rebuild.
  if (!slot.list || slot.shell != &Shell()) {
    slot.list = SystemImageList(small ? "SMALL" : "LARGE");
    slot.shell = &Shell();
  }
  return slot.list.get();
}

void SetSharedImageLists(std::unique_ptr<TImageList> large, std::unique_ptr<TImageList> small) {
  const IShell* shell = Sys().shell;
  Slot(false) = SharedList{std::move(large), shell};
  Slot(true) = SharedList{std::move(small), shell};
}

}  // namespace tov
