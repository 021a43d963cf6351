#include "bar/FolderDrop.h"

#include <memory>

#include "base/Casefold.h"
#include "base/Strings.h"
#include "controls/ButtonTable.h"
#include "files/FileHelpers.h"
#include "files/FileTransfer.h"
#include "formats/ShortcutFiles.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"
#include "toolkit/PopupMenu.h"

namespace tov {

namespace {

bool HasLinkExt(const std::string& name) {
  return name.size() >= 4 && UpperCaseText(name.substr(name.size() - 4)) == ".LNK";
}

}  // namespace

std::string TargetFolderOf(WindowId owner, const std::string& path) {
  if (path.empty()) return std::string();
  if (Files().DirExists(path)) return path;
  if (!HasLinkExt(path) || !Files().FileExists(path)) return std::string();
  const std::string target = ReadShortcutTarget(owner, path);
  return !target.empty() && Files().DirExists(target) ? target : std::string();
}

std::vector<std::string> TFolderDrop::Folders() {
  std::vector<std::string> out;
  TRecordTable& links = links_;
  const WindowId owner = window_.Handle();
  for (links.First(); !links.Eof(); links.Next()) {
    const int order = links.FieldByName("Ordine").AsInteger();
    if (order < 0 || !IsButtonRow(links)) continue;
    const std::string folder = TargetFolderOf(owner, links.FieldByName("Path").AsString());
    if (folder.empty()) continue;
    if (size_t(order) >= out.size()) out.resize(size_t(order) + 1);
    out[size_t(order)] = folder;
  }
  return out;
}

TFolderDropChoice TFolderDrop::Ask(Point screen) {
  auto menu = MakeComponent(ComponentKind::PopupMenu, "PopFolderDrop");
  menu->Add(MakeComponent(ComponentKind::MenuItem, "PopDropMove", LangText("Messages.DropMoveHere", "Sposta qui")));
  menu->Add(MakeComponent(ComponentKind::MenuItem, "PopDropCopy", LangText("Messages.DropCopyHere", "Copia qui")));
  menu->Add(MakeComponent(ComponentKind::MenuItem, "PopDropSep", "-"));
  menu->Add(MakeComponent(ComponentKind::MenuItem, "PopDropCancel", LangText("Messages.DropCancel", "Annulla")));
  const Component* chosen = PopupComponentMenu(*menu, screen, window_.Handle(), nullptr);
  if (!chosen) return TFolderDropChoice::Cancel;
  if (chosen->name == "PopDropMove") return TFolderDropChoice::Move;
  if (chosen->name == "PopDropCopy") return TFolderDropChoice::Copy;
  return TFolderDropChoice::Cancel;
}

void TFolderDrop::Drop(int from, const std::string& folder, Point at) {
  const TFolderDropChoice choice = Ask(buttons_.ClientToScreen(at));
  if (choice == TFolderDropChoice::Cancel) return;
  Transfer(from, folder, choice == TFolderDropChoice::Move);
}

void TFolderDrop::Transfer(int from, const std::string& folder, bool move) {
  TRecordTable& links = links_;
  if (!links.Locate("Ordine", std::to_string(from))) return;
  const std::string file = links.FieldByName("Path").AsString();
  if (Files().DirExists(file)) {
    // A folder's own button: the folder is not moved from the bar.
    ErrorMessage(FormatText(
        LangText("MsgErr.DropNotAFile", "\"%s\" \u00E8 una cartella: si spostano e copiano solo file."), {file}));
    return;
  }
  const TTransfer done = TransferFileInto(file, folder, move);
  switch (done.result) {
    case TTransferResult::Done:
      break;
    case TTransferResult::SameFolder:
      return;
    case TTransferResult::SourceMissing:
      ErrorMessage(FormatText(
          LangText("MsgErr.DropSourceMissing", "\"%s\" non esiste pi\u00F9: nulla \u00E8 stato spostato o copiato."),
          {file}));
      return;
    case TTransferResult::FolderMissing:
      ErrorMessage(
          FormatText(LangText("MsgErr.DropFolderMissing",
                              "La cartella \"%s\" non esiste pi\u00F9: nulla \u00E8 stato spostato o copiato."),
                     {folder}));
      return;
    case TTransferResult::Refused:
      ErrorMessage(FormatText(
          move
              ? LangText("MsgErr.DropNotMoved",
                         "\"%s\" non si pu\u00F2 spostare in \"%s\" (\u00E8 in uso o la cartella non si pu\u00F2 "
                         "scrivere): il file \u00E8 rimasto dov'era.")
              : LangText(
                    "MsgErr.DropNotCopied",
                    "\"%s\" non si pu\u00F2 copiare in \"%s\" (\u00E8 in uso o la cartella non si pu\u00F2 scrivere)."),
          {file, folder}));
      return;
  }
  if (!move) return;  // a copy leaves the bar as it is
  if (IsFileInFolder(file, sourceFolder_())) {
    // Out of the source folder: off the bar, as the folder's own change would take it.
    DeleteButtonRow(links, from, false);
  } else if (links.Locate("Ordine", std::to_string(from))) {
    // A button of a file kept elsewhere follows its file.
    links.Edit();
    links.FieldByName("Path").SetAsString(done.destination);
    links.Post();
  }
  rebuild_();
}

}  // namespace tov
