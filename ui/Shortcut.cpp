#include "ui/Shortcut.h"

#include "platform/Platform.h"
#include "ui/Supportmsg.h"

namespace tov {

void CreateShortcut(const std::string& target, const std::string& linkName, const std::string& folder) {
  const size_t cut = target.find_last_of("\\:");
  const std::string fileName = cut == std::string::npos ? target : target.substr(cut + 1);
  if (fileName.empty()) return;

  // Only a plain success is ours to undo; an incompatible OLE library means
  // no shortcuts at all, silently.
  const int32_t init = ShellLinks().OleInitialize();
  if (init == OLE_E_WRONGCOMPOBJ_RESULT) return;

  std::string dir = folder;
  bool ok = true;
  if (dir.empty()) ok = System().SpecialFolderPath(CSIDL_DESKTOPDIRECTORY, &dir) && !dir.empty();
  if (ok) {
    std::string linkPath = dir;
    if (linkPath.back() != '\\') linkPath += '\\';
    linkPath += linkName + ".lnk";
    ok = ShellLinks().SaveLink(linkPath, target, fileName) == S_OK_RESULT;
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
