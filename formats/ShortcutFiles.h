// Shortcut files (".lnk"): the ones the bar writes for dropped items and the
// targets it reads back for folder menus, through the platform's shell links.
#pragma once
#include <cstdint>
#include <string>

#include "platform/Shell.h"

namespace tov {

class IShellLinks;

// Whether an answer of OleInitialize is a success that must be balanced by
// OleUninitialize: S_OK, and S_FALSE (OLE was initialised on this thread
// already), as every non-negative result.
inline bool OleInitSucceeded(int32_t result) { return result >= 0; }

// OLE for the calling thread while it lives: the program's entry and the
// tool hold one for their whole run, and everything else relies on it.
class TOleForThread {
 public:
  TOleForThread();
  ~TOleForThread();
  TOleForThread(const TOleForThread&) = delete;
  TOleForThread& operator=(const TOleForThread&) = delete;
  int32_t Result() const { return result_; }

 private:
  IShellLinks* links_ = nullptr;  // the one that initialised, undone by the same
  int32_t result_;
};

// Writes folder\linkName.lnk pointing at target, described by the target's
// file name; an existing file is replaced. An empty folder stands for the
// user's desktop. A target without a file name (ending in "\" or ":") does
// nothing; a failure shows the "could not create shortcut" error box. It
// initialises OLE around its own work, undoing every initialisation that
// succeeded, so it is sound on a thread with or without OLE.
void CreateShortcut(const std::string& target, const std::string& linkName, const std::string& folder);

// The target stored in the shortcut at path (in its short form where the
// platform has one), or "" when it cannot be read or resolved. owner owns any
// window the shell shows while it looks for a target that has moved. Relies
// on OLE having been initialised on the calling thread at start-up.
std::string ReadShortcutTarget(WindowId owner, const std::string& path);

}  // namespace tov
