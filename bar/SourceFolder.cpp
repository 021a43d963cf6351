#include "bar/SourceFolder.h"

#include <vector>

#include "bar/ButtonTable.h"
#include "platform/Platform.h"
#include "settings/Supportfiles.h"
#include "tables/Datamodule.h"
#include "tables/Supportdb.h"

namespace tov {

std::string EntryCaption(const std::string& name) {
  if (name == "." || name == ".." || name == "ButtonList.lob") return std::string();
  return FileNameWithoutExt(name);
}

bool RefreshFromFolder(TRecordTable& links, const std::string& folder, bool keep) {
  if (!Files().DirExists(folder)) return false;
  const std::string dir = (!folder.empty() && folder.back() == '\\') ? folder : folder + "\\";
  const std::vector<FindEntry> entries = Files().FindFiles(dir + "*");
  // The previous state of the bar, for keep mode.
  std::unique_ptr<TRecordTable> previous;
  if (keep) {
    previous = std::make_unique<TRecordTable>("TblPrevious");
    DefineLinkColumns(*previous);
    previous->CreateTable();
    LoadTableFile(*previous, dir, kButtonListName, "Ordine", kButtonListExt, DC->SaveFormat);
  }
  links.EmptyTable();
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

}  // namespace tov
