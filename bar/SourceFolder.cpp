#include "bar/SourceFolder.h"

#include <vector>

#include "base/Casefold.h"
#include "base/Strings.h"
#include "controls/ButtonTable.h"
#include "files/FileHelpers.h"
#include "platform/Platform.h"
#include "settings/UserData.h"
#include "tables/DataModule.h"
#include "tables/TableFiles.h"

namespace tov {

bool IsButtonListSideFile(const std::string& name) {
  // The list itself, the temporary file of a save and the copies of a
  // damaged list: "ButtonList.lob", "ButtonList.lob.tmp",
  // "ButtonList.lob.damaged2" ... in any letter case, as Windows names them.
  const std::string list = std::string(kButtonListName) + "." + kButtonListExt;
  if (name.size() < list.size() || !SameNameIgnoringCase(name.substr(0, list.size()), list)) return false;
  return name.size() == list.size() || name[list.size()] == '.';
}

std::string EntryCaption(const std::string& name) {
  if (name == "." || name == ".." || IsButtonListSideFile(name)) return std::string();
  return FileNameWithoutExt(name);
}

bool RefreshFromFolder(TRecordTable& links, const std::string& folder, bool keep, TBinaryTableFormat& format) {
  if (!Files().DirExists(folder)) return false;
  const std::string dir = (!folder.empty() && folder.back() == '\\') ? folder : folder + "\\";
  const std::vector<FindEntry> entries = Files().FindFiles(dir + "*");
  // The previous state of the bar, for keep mode.
  std::unique_ptr<TRecordTable> previous;
  if (keep) {
    previous = std::make_unique<TRecordTable>("TblPrevious");
    DefineLinkColumns(*previous);
    previous->CreateTable();
    // A button list that is there but cannot be read (the user has been told
    // why) leaves the bar as it was.
    const bool listed = Files().FileExists(TableFileName(dir, kButtonListName, kButtonListExt));
    if (!LoadTableFile(*previous, dir, kButtonListName, "Ordine", kButtonListExt, format) && listed) return false;
  }
  links.EmptyTable();
  // The rows stand in "Ordine" order from the moment they are made, as when
  // they come from the button list: moves and the keep merge rely on it.
  links.SortOn("Ordine");
  int n = 0;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    const std::string caption = EntryCaption(it->name);
    if (caption.empty()) continue;
    AddButtonRow(links, n, caption, dir + it->name);
    ++n;
  }
  if (keep) {
    std::vector<TBookmark> rows;
    for (links.First(); !links.Eof(); links.Next())
      rows.push_back(links.GetBookmark());
    for (TBookmark b : rows) {
      if (!links.GotoBookmark(b)) continue;
      if (!LocateRow(*previous, "Path", links.FieldByName("Path").AsString())) continue;
      links.Edit();
      CopyRecordByFieldName(*previous, links);
      links.Post();
    }
    RenumberRows(links);
  }
  return true;
}

bool TSourceFolder::Exists() const { return Files().DirExists(path_); }

bool TSourceFolder::Refresh(const std::string& folder, bool keep) {
  if (!Files().DirExists(folder)) return false;
  path_ = folder;
  return RefreshFromFolder(links_, folder, keep, format_);
}

}  // namespace tov
