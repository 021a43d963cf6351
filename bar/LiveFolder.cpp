#include "bar/LiveFolder.h"

#include <algorithm>
#include <map>
#include <set>

#include "bar/SourceFolder.h"
#include "base/Casefold.h"
#include "base/Strings.h"
#include "controls/ButtonTable.h"
#include "files/FileHelpers.h"
#include "platform/Platform.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"

namespace tov {

// ------------------------------------------------------------- coalescing

void TChangeCoalescer::Changed(uint32_t now) {
  pending_ = true;
  last_ = now;
}

uint32_t TChangeCoalescer::WaitMs(uint32_t now) const {
  if (!pending_) return 0;
  // The clock wraps: the difference of two readings is still right.
  const uint32_t since = now - last_;
  return since >= kQuietMs ? 0 : kQuietMs - since;
}

// ------------------------------------------------------ following the folder

namespace {

std::string Key(const std::string& name) { return UpperCaseText(name); }

std::string Extension(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : Key(name.substr(dot));
}

// The entry's name when the path names one of the folder's entries; empty
// for any other path.
std::string NameInFolder(const std::string& path, const std::string& folder) {
  const std::string name = FileNamePart(path);
  if (name.empty() || path.size() <= name.size()) return std::string();
  std::string dir = path.substr(0, path.size() - name.size());
  std::string want = folder;
  if (want.empty() || want.back() != '\\') want += '\\';
  return SameNameIgnoringCase(dir, want) ? name : std::string();
}

}  // namespace

TFolderChanges FollowFolderEntries(TRecordTable& links, const std::string& folder,
                                   const std::vector<FindEntry>& entries, const std::vector<FolderRename>& renames,
                                   const std::vector<FindEntry>* before) {
  TFolderChanges changes;
  // The entries that become buttons, by their names without case.
  std::map<std::string, const FindEntry*> listed;
  std::vector<const FindEntry*> order;
  for (const FindEntry& e : entries) {
    if (EntryCaption(e.name).empty()) continue;
    if (listed.emplace(Key(e.name), &e).second) order.push_back(&e);
  }
  // An entry listed before without a row is one whose button the user took
  // off the bar while keeping its file: it stays off.
  std::set<std::string> listedBefore;
  if (before)
    for (const FindEntry& e : *before)
      listedBefore.insert(Key(e.name));
  // The rows of this folder's entries: which are still there. A row whose
  // entry was not there before either did not lose it now (a list written
  // elsewhere, an entry never seen): it stays.
  std::set<std::string> shown;
  std::vector<TBookmark> goneRows;
  std::vector<std::string> goneNames;
  for (links.First(); !links.Eof(); links.Next()) {
    const std::string name = NameInFolder(links.FieldByName("Path").AsString(), folder);
    if (name.empty()) continue;
    if (listed.count(Key(name))) {
      shown.insert(Key(name));
    } else if (!before || listedBefore.count(Key(name))) {
      goneRows.push_back(links.GetBookmark());
      goneNames.push_back(name);
    }
  }
  std::vector<const FindEntry*> fresh;
  for (const FindEntry* e : order)
    if (!shown.count(Key(e->name)) && !listedBefore.count(Key(e->name))) fresh.push_back(e);

  // Renames: first those the system reported (followed through a chain of
  // them), then the one gone / one new of the same kind.
  auto renameRow = [&](size_t gone, const FindEntry* to) {
    if (!links.GotoBookmark(goneRows[gone])) return;
    links.Edit();
    links.FieldByName("Caption").SetAsString(EntryCaption(to->name));
    links.FieldByName("Path").SetAsString(JoinPath(folder, to->name));
    links.Post();
    changes.renamed.push_back(FolderRename{goneNames[gone], to->name});
    goneNames[gone].clear();
    fresh.erase(std::find(fresh.begin(), fresh.end(), to));
  };
  for (size_t g = 0; g < goneNames.size(); ++g) {
    std::string name = goneNames[g];
    for (size_t hop = 0; hop <= renames.size(); ++hop) {
      const auto r = std::find_if(renames.begin(), renames.end(),
                                  [&](const FolderRename& x) { return SameNameIgnoringCase(x.from, name); });
      if (r == renames.end()) break;
      name = r->to;
    }
    if (SameNameIgnoringCase(name, goneNames[g])) continue;
    const auto to = std::find_if(fresh.begin(), fresh.end(),
                                 [&](const FindEntry* e) { return SameNameIgnoringCase(e->name, name); });
    if (to != fresh.end()) renameRow(g, *to);
  }
  std::vector<size_t> stillGone;
  for (size_t g = 0; g < goneNames.size(); ++g)
    if (!goneNames[g].empty()) stillGone.push_back(g);
  if (before && stillGone.size() == 1 && fresh.size() == 1) {
    const std::string& name = goneNames[stillGone[0]];
    const auto was = std::find_if(before->begin(), before->end(),
                                  [&](const FindEntry& e) { return SameNameIgnoringCase(e.name, name); });
    if (was != before->end() && was->size == fresh[0]->size && Extension(name) == Extension(fresh[0]->name))
      renameRow(stillGone[0], fresh[0]);
  }

  // Rows whose entry went, then the new entries at the end.
  for (size_t g = 0; g < goneRows.size(); ++g) {
    if (goneNames[g].empty() || !links.GotoBookmark(goneRows[g])) continue;
    changes.removed.push_back(links.FieldByName("Path").AsString());
    links.Delete();
  }
  int next = 0;
  if (links.GetRecordCount() > 0) {
    links.Last();
    next = links.FieldByName("Ordine").AsInteger() + 1;
  }
  for (const FindEntry* e : fresh) {
    AddButtonRow(links, next++, EntryCaption(e->name), JoinPath(folder, e->name));
    changes.added.push_back(e->name);
  }
  if (changes.Any()) RenumberRows(links);
  return changes;
}

// ------------------------------------------------------ what the bar last saw

namespace {

// The entries that can be buttons, sorted by name: what is kept.
std::vector<FindEntry> SeenOf(const std::vector<FindEntry>& entries) {
  std::vector<FindEntry> out;
  for (const FindEntry& e : entries)
    if (!EntryCaption(e.name).empty()) out.push_back(FindEntry{e.name, 0, e.size});
  std::sort(out.begin(), out.end(), [](const FindEntry& a, const FindEntry& b) { return a.name < b.name; });
  return out;
}

bool SameSeen(const std::vector<FindEntry>& a, const std::vector<FindEntry>& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const FindEntry& x, const FindEntry& y) {
           return x.name == y.name && x.size == y.size;
         });
}

}  // namespace

std::string SeenEntriesPath(const std::string& folder) {
  return JoinPath(folder, std::string(kButtonListName) + "." + kButtonListExt + ".seen");
}

// One line an entry: its size, a tab, its name (UTF-8); a name holds no tab
// or line end, as the file system allows none.
bool ReadSeenEntries(const std::string& folder, std::vector<FindEntry>* entries) {
  std::string bytes;
  if (!Files().ReadFile(SeenEntriesPath(folder), &bytes)) return false;
  entries->clear();
  size_t at = 0;
  while (at < bytes.size()) {
    size_t end = bytes.find('\n', at);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t tab = line.find('\t');
    if (tab == std::string::npos || tab == 0 || tab + 1 >= line.size()) continue;  // a damaged line is skipped
    FindEntry e;
    e.name = line.substr(tab + 1);
    e.size = 0;
    bool digits = true;
    for (size_t i = 0; i < tab; ++i) {
      if (line[i] < '0' || line[i] > '9')
        digits = false;
      else
        e.size = e.size * 10 + uint64_t(line[i] - '0');
    }
    if (digits) entries->push_back(std::move(e));
  }
  return true;
}

bool WriteSeenEntries(const std::string& folder, const std::vector<FindEntry>& entries) {
  std::string bytes;
  for (const FindEntry& e : SeenOf(entries))
    bytes += std::to_string(e.size) + "\t" + e.name + "\r\n";
  return Files().WriteFile(SeenEntriesPath(folder), bytes);
}

// ------------------------------------------------------------- the bar's side

TLiveFolder::TLiveFolder(TForm& window, TRecordTable& links, const TBarSettings& settings,
                         std::function<void()> updated)
    : window_(window), links_(links), settings_(settings), updated_(std::move(updated)) {}

TLiveFolder::~TLiveFolder() { watch_.reset(); }

void TLiveFolder::Start(const std::string& folder) {
  Stop();
  if (folder.empty() || !settings_.WatchFolder || !window_.HandleAllocated()) return;
  folder_ = folder;
  std::vector<FindEntry> entries = Files().FindFiles(JoinPath(folder_, "*"));
  std::vector<FindEntry> seen;
  if (Files().DirExists(folder_) && ReadSeenEntries(folder_, &seen)) {
    // Closed, the bar missed what happened there: it catches up as an
    // update would, the buttons taken off the bar staying off.
    const TFolderChanges changes = FollowFolderEntries(links_, folder_, entries, {}, &seen);
    if (changes.Any() && updated_) updated_();
  }
  Keep(std::move(entries));
  Watch();
}

void TLiveFolder::Keep(std::vector<FindEntry> entries) {
  std::vector<FindEntry> kept;
  if (Files().DirExists(folder_) && (!ReadSeenEntries(folder_, &kept) || !SameSeen(SeenOf(kept), SeenOf(entries))))
    WriteSeenEntries(folder_, entries);
  listing_ = std::move(entries);
}

void TLiveFolder::Watch() {
  watch_ = Shell().WatchFolder(folder_, window_.Handle(), kFolderChangedMessage);
  // A folder not there yet is looked for until it is.
  if (!watch_ && !Files().DirExists(folder_)) window_.Window().SetTimer(kFolderBackTimerId, kBackPollMs);
}

void TLiveFolder::Stop() {
  watch_.reset();
  if (window_.HandleAllocated()) {
    window_.Window().KillTimer(kFolderQuietTimerId);
    window_.Window().KillTimer(kFolderBackTimerId);
  }
  coalescer_.Done();
  renames_.clear();
  listing_.clear();
  folder_.clear();
  gone_ = false;
}

bool TLiveFolder::HandleMessage(Message& m) {
  if (m.msg == kFolderChangedMessage) {
    m.result = 0;
    if (folder_.empty()) return true;
    if (watch_) {
      std::vector<FolderRename> more = watch_->TakeRenames();
      renames_.insert(renames_.end(), more.begin(), more.end());
    }
    if (m.wParam == kFolderWatchEnded) watch_.reset();
    const uint32_t now = System().TickCount();
    coalescer_.Changed(now);
    window_.Window().SetTimer(kFolderQuietTimerId, coalescer_.WaitMs(now));
    return true;
  }
  if (m.msg != WM_TIMER) return false;
  if (m.wParam == kFolderQuietTimerId) {
    m.result = 0;
    const uint32_t wait = coalescer_.WaitMs(System().TickCount());
    if (coalescer_.Pending() && wait > 0) {
      window_.Window().SetTimer(kFolderQuietTimerId, wait);
      return true;
    }
    window_.Window().KillTimer(kFolderQuietTimerId);
    if (!coalescer_.Pending()) return true;
    coalescer_.Done();
    Update();
    return true;
  }
  if (m.wParam == kFolderBackTimerId) {
    m.result = 0;
    if (folder_.empty() || Files().DirExists(folder_)) {
      window_.Window().KillTimer(kFolderBackTimerId);
      Update();
    }
    return true;
  }
  return false;
}

void TLiveFolder::Update() {
  if (folder_.empty()) return;
  if (!Files().DirExists(folder_)) {
    // Unreachable (a network drive, a stick pulled out): the bar stays as
    // it is, the user hears of it once, and the folder is looked for.
    watch_.reset();
    window_.Window().SetTimer(kFolderBackTimerId, kBackPollMs);
    if (!gone_) {
      gone_ = true;
      ErrorMessage(
          FormatText(LangText("MsgErr.SourceFolderGone",
                              "La cartella origine \"%s\" non \u00E8 raggiungibile: la barra resta com'\u00E8 e "
                              "si aggiorner\u00E0 quando la cartella torner\u00E0."),
                     {folder_}));
    }
    return;
  }
  if (gone_) {
    gone_ = false;
    window_.Window().KillTimer(kFolderBackTimerId);
  }
  if (!watch_) Watch();
  std::vector<FindEntry> entries = Files().FindFiles(JoinPath(folder_, "*"));
  std::vector<FolderRename> renames;
  renames.swap(renames_);
  const TFolderChanges changes = FollowFolderEntries(links_, folder_, entries, renames, &listing_);
  Keep(std::move(entries));
  if (changes.Any() && updated_) updated_();
}

}  // namespace tov
