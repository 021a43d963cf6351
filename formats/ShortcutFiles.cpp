#include "formats/ShortcutFiles.h"

#include "files/FileHelpers.h"
#include "platform/Platform.h"
#include "text/MessageBoxes.h"

namespace tov {

TOleForThread::TOleForThread() : result_(E_FAIL_RESULT) {
  if (!Sys().links) return;
  links_ = Sys().links;
  result_ = links_->OleInitialize();
}

TOleForThread::~TOleForThread() {
  if (links_ && OleInitSucceeded(result_)) links_->OleUninitialize();
}

void CreateShortcut(const std::string& target, const std::string& linkName, const std::string& folder) {
  const std::string fileName = FileNamePart(target);
  if (fileName.empty()) return;

  // Every success is ours to undo, "already initialised" too, or the
  // thread's OLE would never close; an incompatible OLE library means no
  // shortcuts at all, silently.
  const int32_t init = ShellLinks().OleInitialize();
  if (init == OLE_E_WRONGCOMPOBJ_RESULT) return;

  std::string dir = folder;
  bool ok = true;
  if (dir.empty()) ok = System().SpecialFolderPath(CSIDL_DESKTOPDIRECTORY, &dir) && !dir.empty();
  if (ok) {
    ok = ShellLinks().SaveLink(JoinPath(dir, linkName + ".lnk"), target, fileName) == S_OK_RESULT;
  }
  if (!ok) ErrorMessageByKey("MsgErr.CantCreateShortcut", "Could not create shortcut");

  if (OleInitSucceeded(init)) ShellLinks().OleUninitialize();
}

std::string ReadShortcutTarget(WindowId owner, const std::string& path) {
  std::string target, description;
  if (ShellLinks().LoadLink(owner, path, &target, &description) != S_OK_RESULT) return std::string();
  return target;
}

}  // namespace tov
