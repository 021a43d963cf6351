// Shortcut files (".lnk"): the ones the bar writes for dropped items and the
// targets it reads back for folder menus, through the platform's shell links.
#pragma once
#include <string>

#include "platform/Shell.h"

namespace tov {

// Writes folder\linkName.lnk pointing at target, described by the target's
// file name; an existing file is replaced. An empty folder stands for the
// user's desktop. A target without a file name (ending in "\" or ":") does
// nothing; a failure shows the "could not create shortcut" error box.
void CreateShortcut(const std::string& target, const std::string& linkName, const std::string& folder);

// The target stored in the shortcut at path (in its short form where the
// platform has one), or "" when it cannot be read or resolved. owner owns any
// window the shell shows while it looks for a target that has moved. Relies
// on OLE having been initialised on the calling thread at start-up.
std::string ReadShortcutTarget(WindowId owner, const std::string& path);

}  // namespace tov
