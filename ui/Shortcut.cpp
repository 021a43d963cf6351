#include "ui/Shortcut.h"

#include "platform/Platform.h"
#include "settings/Supportfiles.h"
#include "ui/Supportmsg.h"

namespace tov {

void CreateShortcut(const std::string& target, const std::string& linkName, const std::string& folder) {
  const std::string fileName = FileNamePart(target);
  if (fileName.empty()) return;

  // Only a plain success is ours to undo; an incompatible OLE library means
  // no shortcuts at all, silently.
  const int32_t init = ShellLinks().OleInitialize();
  if (init == OLE_E_WRONGCOMPOBJ_RESULT) return;

  std::string dir = folder;
  bool ok = true;
  if (dir.empty()) ok = System().SpecialFolderPath(CSIDL_DESKTOPDIRECTORY, &dir) && !dir.empty();
  if (ok) {
    ok = ShellLinks().SaveLink(JoinPath(dir, linkName + ".lnk"), target, fileName) == S_OK_RESULT;
  }
  if (!ok) ErrorMessageByKey("MsgErr.CantCreateShortcut", "Could not create shortcut");

  if (init == S_OK_RESULT) ShellLinks().OleUninitialize();
}

std::string ReadShortcutTarget(WindowId owner, const std::string& path) {
  std::string target, description;
  if (ShellLinks().LoadLink(owner, path, &target, &description) != S_OK_RESULT) return std::string();
  return target;
}

}  // namespace tov
