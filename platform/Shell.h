// The shell: its application-bar protocol, opening documents and its system
// image lists.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Canvas.h"
#include "platform/FolderWatch.h"
#include "platform/Geometry.h"

namespace tov {

using WindowId = uintptr_t;  // a top-level window as the shell knows it; 0 is none

enum AppBarMsg : uint32_t {
  ABM_NEW = 0,
  ABM_REMOVE = 1,
  ABM_QUERYPOS = 2,
  ABM_SETPOS = 3,
  ABM_GETSTATE = 4,
  ABM_GETTASKBARPOS = 5,
  ABM_ACTIVATE = 6,
  ABM_GETAUTOHIDEBAR = 7,
  ABM_SETAUTOHIDEBAR = 8,
  ABM_WINDOWPOSCHANGED = 9,
};

enum AppBarNotify : uint32_t { ABN_STATECHANGE = 0, ABN_POSCHANGED = 1, ABN_FULLSCREENAPP = 2, ABN_WINDOWARRANGE = 3 };

// The fields of APPBARDATA the protocol uses.
struct AppBarData {
  WindowId window = 0;
  uint32_t callbackMessage = 0;
  uint32_t edge = 0;
  Rect rect;
  intptr_t lParam = 0;
};

// Flags of a shell icon lookup.
enum : uint32_t { kIconLarge = 0, kIconSmall = 1, kIconOpen = 2 };

class IShell {
 public:
  virtual ~IShell() = default;
  // One SHAppBarMessage call; rect is in/out.
  virtual uintptr_t AppBarMessage(uint32_t message, AppBarData& data) = 0;
  // ShellExecute with the verb "open", owned by owner, shown with SW_SHOW;
  // true when the shell accepted it.
  virtual bool Open(WindowId owner, const std::string& path, const std::string& params, const std::string& dir) = 0;
  // Why the last Open that answered false failed, in the system's words
  // ("The system cannot find the file specified."); empty when it gave none.
  virtual std::string LastOpenError() = 0;
  // Index of a file's icon in the shared system image list, or -1.
  virtual int IconIndex(const std::string& path, uint32_t flags) = 0;
  // Handle of the system image list (large or small); 0 when the shell has none.
  virtual uintptr_t SystemImageList(bool small) = 0;

  // --- Files dropped from the shell (a drop handle comes with WM_DROPFILES).
  // DragAcceptFiles.
  virtual void AcceptDroppedFiles(WindowId window, bool accept) = 0;
  // DragQueryFile in UTF-8: with index kDropCount, the number of dropped
  // items; with no buffer, the length in bytes of item index's path (without
  // the terminating zero); else copies at most size - 1 bytes, never part of
  // a character, and a zero into buffer and answers how many it copied. 0 for
  // a bad handle or index.
  virtual uint32_t QueryDroppedFile(uintptr_t drop, uint32_t index, char* buffer, uint32_t size) = 0;
  // DragFinish: the handle is freed.
  virtual void DragFinish(uintptr_t drop) = 0;

  // Whether a full-screen window covers that monitor rectangle now: 1 yes,
  // 0 no, -1 when the system cannot tell.
  virtual int FullScreenWindowOn(const Rect& monitor) {
    (void)monitor;
    return -1;
  }

  // The icon the shell shows for a file or folder, drawn at exactly pixels
  // x pixels with its alpha (colours not premultiplied); false when the
  // shell has none for it. May be called from a thread of its own, while
  // the user-interface thread goes on.
  virtual bool IconPicture(const std::string& path, int pixels, Picture* out) {
    (void)path;
    (void)pixels;
    (void)out;
    return false;
  }

  // Watches the entries of a folder (not of its sub-folders): each change
  // posts message to window (several changes may give one post); wParam is
  // kFolderWatchEnded when watching ended by itself. Null when the folder
  // cannot be watched (missing, or a system that cannot tell).
  virtual std::unique_ptr<IFolderWatch> WatchFolder(const std::string& folder, WindowId window, uint32_t message) {
    (void)folder;
    (void)window;
    (void)message;
    return nullptr;
  }

  // What the user chose to see of hidden files in the file manager: 0
  // none, 1 hidden files, 2 also the protected files of the system (hidden
  // and system).
  virtual int HiddenFilesShown() { return 0; }

  // The shell's own context menu for a file or folder (the items the shell
  // and the programs add, their sub-menus included) at a screen point,
  // owned by owner; the chosen command is carried out by the shell.
  // extended: the items the shell shows with Shift held. False when the
  // shell has no menu for the path.
  virtual bool ShowContextMenu(WindowId owner, const std::string& path, Point at, bool extended) {
    (void)owner;
    (void)path;
    (void)at;
    (void)extended;
    return false;
  }

  // ShellExecute with another verb ("runas": as administrator); as Open.
  virtual bool OpenWithVerb(WindowId owner, const std::string& verb, const std::string& path) {
    (void)verb;
    return Open(owner, path, "", "");
  }
};

constexpr uint32_t kDropCount = 0xFFFFFFFF;

}  // namespace tov
