// The live source folder: the bar watches the folder its buttons come from
// and follows what is added, removed or renamed there, without any menu
// action. A burst of changes gives one update once the folder has been quiet
// for a moment; each update keeps the user's order and the looks of every
// button still there, adds new entries at the end and lets a renamed entry
// keep its place, look and hotkey under its new caption.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/WindowForm.h"
#include "platform/Files.h"
#include "platform/FolderWatch.h"
#include "settings/Settings.h"
#include "tables/RecordTable.h"

namespace tov {

// Posted by the folder watch to the bar; the timers of the live folder.
constexpr uint32_t kFolderChangedMessage = 1826;
constexpr uint32_t kFolderQuietTimerId = 26;
constexpr uint32_t kFolderBackTimerId = 27;

// Changes seen close together make one update: it is due once no change
// came for kQuietMs (so at most that long after the last of a burst).
class TChangeCoalescer {
 public:
  static constexpr uint32_t kQuietMs = 500;

  // A change was told at now (milliseconds of a wrapping clock).
  void Changed(uint32_t now);
  bool Pending() const { return pending_; }
  // How long from now until the update is due: 0 when it is due now.
  uint32_t WaitMs(uint32_t now) const;
  bool Due(uint32_t now) const { return pending_ && WaitMs(now) == 0; }
  // The update was made: nothing is pending.
  void Done() { pending_ = false; }

 private:
  bool pending_ = false;
  uint32_t last_ = 0;
};

// What an update changed on the button table.
struct TFolderChanges {
  std::vector<std::string> added;    // entries' names, in the order they went on the bar
  std::vector<std::string> removed;  // the paths of rows that went
  std::vector<FolderRename> renamed;
  bool Any() const { return !added.empty() || !removed.empty() || !renamed.empty(); }
};

// Brings the button table (sorted on "Ordine") to the folder's entries as
// they are now (entries: the folder's listing; renames: what the system
// reported; before: the listing of the previous update, if any). Rows of entries still there and rows that are not of
// this folder (separators, buttons on other paths) keep their order and every value; a row whose entry went is removed
// (with before: only when before listed it);
// a renamed entry's row takes the new path and caption and keeps the rest; new entries are added at the end, in the
// order the folder lists them. Where the system reported no rename, one entry gone and one new in the same update with
// the same extension and the same size as before are taken as a rename. An entry listed before that has no row stays
// off the bar (its button was taken off while its file was kept). The rows are numbered again when anything changed.
TFolderChanges FollowFolderEntries(TRecordTable& links, const std::string& folder,
                                   const std::vector<FindEntry>& entries, const std::vector<FolderRename>& renames,
                                   const std::vector<FindEntry>* before = nullptr);

// The folder's entries as the bar last saw them, kept beside the button list
// (a side file of it, never a button) so that a start catches up with what
// changed while the bar was closed. The list's own side files are left out.
// Read: false when there is no such file (the bar never kept one there).
bool ReadSeenEntries(const std::string& folder, std::vector<FindEntry>* entries);
bool WriteSeenEntries(const std::string& folder, const std::vector<FindEntry>& entries);
std::string SeenEntriesPath(const std::string& folder);

// The bar's side of the watch: it starts and stops watching, coalesces what
// the watch posts and runs the update. A folder that becomes unreachable is
// told once and leaves the bar as it is; it is looked for every
// kBackPollMs, and when it is back the bar catches up.
class TLiveFolder {
 public:
  static constexpr uint32_t kBackPollMs = 3000;

  // The window the watch posts to, the button table and the bar's settings;
  // updated: called after an update changed the table (the bar is rebuilt
  // and saved then).
  TLiveFolder(TForm& window, TRecordTable& links, const TBarSettings& settings, std::function<void()> updated);
  ~TLiveFolder();

  // Watches folder (when the setting allows it), after the bar loaded its
  // buttons from there; any earlier watch ends. What changed in the folder
  // since the bar last saw it (while it was closed) is followed first, as an
  // update would have; with nothing seen before there, nothing is.
  void Start(const std::string& folder);
  void Stop();
  // The watch's message and the two timers; false for any other message.
  bool HandleMessage(Message& m);
  // Lists the folder now and follows it (what the quiet timer runs).
  void Update();

  bool Watching() const { return watch_ != nullptr; }
  bool Gone() const { return gone_; }

 private:
  void Watch();
  // Keeps the listing, beside the button list when it differs from there.
  void Keep(std::vector<FindEntry> entries);

  TForm& window_;
  TRecordTable& links_;
  const TBarSettings& settings_;
  std::function<void()> updated_;
  std::string folder_;
  std::unique_ptr<IFolderWatch> watch_;
  std::vector<FolderRename> renames_;
  std::vector<FindEntry> listing_;  // the folder as the last update found it
  TChangeCoalescer coalescer_;
  bool gone_ = false;  // the folder was unreachable and the user was told
};

}  // namespace tov
