// The shell as the headless host simulates it: the monitors with their work
// areas, and the application-bar protocol behaving like Explorer's: bars are
// registered per monitor, ABM_QUERYPOS shrinks a proposal past the strips
// other bars reserved, ABM_SETPOS reserves a strip and shrinks the work area,
// each edge has at most one autohide bar, and the other bars hear of every
// change of reservation through ABN_POSCHANGED.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Shell.h"

namespace tov::host {

class HostWindowSystem;

// A monitor of the simulated desktop.
struct MonitorSpec {
  Rect monitor;
  Rect work;  // the work area before any application bar reserves space
  bool primary = false;
  std::string deviceName;
  int dpi = 96;
};

class HostShell : public IShell {
 public:
  explicit HostShell(HostWindowSystem* windows) : windows_(windows) {}

  uintptr_t AppBarMessage(uint32_t message, AppBarData& data) override;
  bool Open(WindowId owner, const std::string& path, const std::string& params, const std::string& dir) override;
  std::string LastOpenError() override { return openError; }
  // Recorded in opened as "<verb>: path".
  bool OpenWithVerb(WindowId owner, const std::string& verb, const std::string& path) override;
  int IconIndex(const std::string& path, uint32_t flags) override;
  uintptr_t SystemImageList(bool small) override { return small ? kSmallList : kLargeList; }
  void AcceptDroppedFiles(WindowId window, bool accept) override;
  uint32_t QueryDroppedFile(uintptr_t drop, uint32_t index, char* buffer, uint32_t size) override;
  void DragFinish(uintptr_t drop) override;
  // The icon of IconIndex(path) as the host's lists draw it (HostCanvas.h's
  // IconImage) at any size: the cut corners clear, the border half opaque.
  bool IconPicture(const std::string& path, int pixels, Picture* out) override;

  // A drop of these paths, as the shell hands one to WM_DROPFILES.
  uintptr_t MakeDrop(const std::vector<std::string>& paths);
  bool DropFinished(uintptr_t drop) const { return drops_.count(drop) == 0 && drop != 0 && drop < nextDrop_; }
  bool AcceptsDrops(WindowId window) const { return dropTargets_.count(window) > 0; }
  size_t OpenDrops() const { return drops_.size(); }

  void SetMonitors(const std::vector<MonitorSpec>& monitors);
  const std::vector<MonitorSpec>& Monitors() const { return monitors_; }
  const MonitorSpec& Primary() const;
  // The current work area of monitor i: its base work area less every reservation.
  Rect WorkArea(size_t i) const;
  Rect PrimaryWorkArea() const;
  // Index of the monitor a rectangle lies on (largest overlap, else the primary).
  size_t MonitorOf(const Rect& r) const;

  // Tells every registered bar that a full-screen application opened or
  // closed, as the shell does; with a monitor index the window is on that
  // monitor, and FullScreenWindowOn tells so, else it cannot tell.
  void NotifyFullScreen(bool open, int monitor = -1);
  int FullScreenWindowOn(const Rect& monitor) override;

  // Folders watched for changes (HostShellFolders.cpp): a watch of a folder
  // that exists; the tests say when the system would tell of a change.
  std::unique_ptr<IFolderWatch> WatchFolder(const std::string& folder, WindowId window, uint32_t message) override;
  // The system tells every watch of the folder of a change (with the
  // renames it reports); ended: watching ends by itself (the folder went).
  void FolderChanged(const std::string& folder, const std::vector<FolderRename>& renames = {}, bool ended = false);
  // How many watches the folder has now.
  int Watching(const std::string& folder) const;
  int HiddenFilesShown() override { return hiddenShown; }
  int hiddenShown = 0;
  // The shell's context menus asked for: recorded; shown for a path that exists.
  bool ShowContextMenu(WindowId owner, const std::string& path, Point at, bool extended) override;
  struct ContextMenu {
    WindowId owner = 0;
    std::string path;
    Point at;
    bool extended = false;
  };
  std::vector<ContextMenu> contextMenus;

  // The shell ends and starts again: it forgets every bar and autohide slot.
  void ForgetBars();
  // The displays changed: bars keep their strips on the monitor they lie on;
  // a strip on no monitor any more is given up.
  void ReassignBars();

  struct Bar {
    uint32_t callback = 0;
    bool reserved = false;
    uint32_t edge = 0;
    Rect rect;
    size_t monitor = 0;
    // When the strip was reserved: bars on one edge stack in that order.
    uint64_t since = UINT64_MAX;
  };
  const std::map<WindowId, Bar>& Bars() const { return bars_; }
  WindowId AutoHideBar(uint32_t edge) const;

  // Documents opened through Open, in order.
  std::vector<std::string> opened;
  std::vector<WindowId> openOwners;  // the owner of each
  // Paths the shell cannot open, and the reason it then gives.
  std::set<std::string> unopenable;
  std::string openError;
  // Every IconPicture asked, as "path@pixels", and the paths that have none.
  std::vector<std::string> iconPictures;
  std::set<std::string> iconless;
  static constexpr uintptr_t kLargeList = 0x1001;
  static constexpr uintptr_t kSmallList = 0x1002;

 private:
  // The work area less the strips of the other bars; for a bar asking on
  // edge, only the bars on that edge that reserved before it count.
  Rect WorkAreaWithout(size_t monitor, WindowId self, uint32_t edge = 99) const;
  void NotifyOthers(WindowId self);

  HostWindowSystem* windows_;
  std::vector<MonitorSpec> monitors_;
  std::map<WindowId, Bar> bars_;
  std::map<uintptr_t, std::vector<std::string>> drops_;
  uintptr_t nextDrop_ = 0xD000;
  std::map<WindowId, bool> dropTargets_;
  WindowId autoHide_[4] = {0, 0, 0, 0};
  uint64_t reservations_ = 0;
  int fullScreenMonitor_ = -1;  // -1: none known
  bool fullScreenKnown_ = false;
  struct FolderWatch;
  std::vector<FolderWatch*> watches_;
};

}  // namespace tov::host
