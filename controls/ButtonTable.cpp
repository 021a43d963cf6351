#include "controls/ButtonTable.h"

#include "controls/ButtonStyle.h"
#include "files/FileHelpers.h"
#include "platform/Platform.h"
#include "tables/BinaryTableFormat.h"
#include "tables/DamagedTableFile.h"
#include "tables/TableFiles.h"

namespace tov {

const char* const kButtonListName = "ButtonList";
const char* const kButtonListExt = "lob";

namespace {

std::string FolderPart(const std::string& path) {
  size_t cut = path.find_last_of("\\:");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

bool LocateOrder(TRecordTable& links, int order) { return links.Locate("Ordine", std::to_string(order)); }

// Visits every row once, in table order, even when the visit moves the row.
template <typename Fn>
void ForEachRowOnce(TRecordTable& links, Fn fn) {
  std::vector<TBookmark> rows;
  for (links.First(); !links.Eof(); links.Next())
    rows.push_back(links.GetBookmark());
  int i = 0;
  for (TBookmark b : rows) {
    if (links.GotoBookmark(b)) fn(i);
    ++i;
  }
}

}  // namespace

std::string ButtonListPath(const std::string& folder) {
  std::string f = folder;
  if (!f.empty() && f.back() != '\\') f += '\\';
  return f + kButtonListName + "." + kButtonListExt;
}

bool LoadButtonList(TRecordTable& links, const std::string& path, TBinaryTableFormat& format) {
  UpgradeTableFiles(path, links, format);
  // A file the upgrade could not open has been reported already.
  if (IsGuardedTableFile(path)) {
    links.SortOn("Ordine");
    return false;
  }
  return LoadTableFile(links, FolderPart(path), kButtonListName, "Ordine", kButtonListExt, format);
}

void SaveButtonList(TRecordTable& links, const std::string& sourceFolder, TBinaryTableFormat& format) {
  if (sourceFolder.empty()) return;
  SaveTableFile(links, FolderPart(ButtonListPath(sourceFolder)), kButtonListName, kButtonListExt, true, format);
}

namespace {

// A new row: appended with its order, then filled from a fresh style.
void AddStyledRow(TRecordTable& links, TCustomButtonStyle& style, int order, const std::string& caption,
                  const std::string& path) {
  style.Ordine = order;
  style.Caption = caption;
  style.Path = path;
  links.Append();
  links.FieldByName("Ordine").SetAsInteger(order);
  links.Post();
  LocateOrder(links, order);
  style.SaveToRow(links);
}

}  // namespace

void AddButtonRow(TRecordTable& links, int order, const std::string& caption, const std::string& path) {
  TCustomButtonStyle style;
  AddStyledRow(links, style, order, caption, path);
}

void AddSeparatorRow(TRecordTable& links, int order, const std::string& caption) {
  TCustomPanelStyle style;
  AddStyledRow(links, style, order, caption, "");
}

void DeleteButtonRow(TRecordTable& links, int order, bool deleteFile) {
  if (!LocateOrder(links, order)) return;
  const std::string path = links.FieldByName("Path").AsString();
  links.Delete();
  // A path naming a folder deletes nothing.
  if (deleteFile && !path.empty() && Files().FileExists(path)) Files().DeleteFile(path);
}

int RenameButtonRow(TRecordTable& links, int order, const std::string& caption) {
  if (ForbiddenCharPos(caption) != 0) return 0;
  if (!LocateOrder(links, order)) return 0;
  const std::string path = links.FieldByName("Path").AsString();
  // A shortcut takes the new caption with ".lnk"; any other file keeps its
  // own extension (a plain file renamed ".lnk" would stop being what it is),
  // and a folder, whose name may hold dots of its own, takes the caption alone.
  const std::string name = path.substr(FolderPart(path).size());
  const size_t dot = name.rfind('.');
  const std::string ext = (dot == std::string::npos || Files().DirExists(path)) ? "" : name.substr(dot);
  const std::string renamed = FolderPart(path) + caption + ext;
  if (Files().MoveFile(path, renamed, false)) {
    links.Edit();
    links.FieldByName("Caption").SetAsString(caption);
    links.FieldByName("Path").SetAsString(renamed);
    links.Post();
  }
  return 1;
}

int MoveButtonAfter(TRecordTable& links, int order) {
  if (!LocateOrder(links, order)) return order;
  links.Edit();
  links.FieldByName("Ordine").SetAsInteger(order + 1);
  links.Post();
  links.Next();
  links.Edit();
  links.FieldByName("Ordine").SetAsInteger(order);
  links.Post();
  return order + 1;
}

int MoveButtonBefore(TRecordTable& links, int order) {
  if (!LocateOrder(links, order)) return order;
  if (links.RecNo() == 1) return order - 1;
  links.Prior();
  links.Edit();
  links.FieldByName("Ordine").SetAsInteger(links.FieldByName("Ordine").AsInteger() + 1);
  links.Post();
  links.Next();
  links.Edit();
  links.FieldByName("Ordine").SetAsInteger(links.FieldByName("Ordine").AsInteger() - 1);
  links.Post();
  return order - 1;
}

void RenumberRows(TRecordTable& links) {
  ForEachRowOnce(links, [&](int i) {
    links.Edit();
    links.FieldByName("Ordine").SetAsInteger(i);
    links.Post();
  });
}

bool IsButtonRow(TRecordTable& links) { return links.FieldByName("Type").AsString() == "Button"; }

}  // namespace tov
