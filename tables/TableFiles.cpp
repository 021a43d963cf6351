#include "tables/TableFiles.h"

#include "base/Strings.h"
#include "files/FileHelpers.h"
#include "platform/Platform.h"
#include "tables/DamagedTableFile.h"
#include "tables/TableError.h"
#include "text/ErrorReports.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"

namespace tov {

namespace {

std::string Fill(std::string text, const std::string& a, const std::string& b, const std::string& c) {
  for (const std::string* arg : {&a, &b, &c}) {
    size_t at = text.find("%s");
    if (at == std::string::npos) break;
    text.replace(at, 2, *arg);
  }
  return text;
}

// A table file that could not be read: it is kept, and the user is told
// where, so that a later save of the bar cannot cost the buttons it holds.
void KeepDamagedTableFile(const std::string& fileName, const std::string& error) {
  const std::string aside = SetDamagedTableFileAside(fileName);
  if (!aside.empty()) {
    ErrorMessage(Fill(LangText("MsgErr.TableFileDamaged",
                               "Il file \"%s\" \u00E8 danneggiato e non pu\u00F2 essere letto (%s).\n"
                               "\u00C8 stato conservato come \"%s\"."),
                      fileName, error, aside));
  } else {
    ErrorMessage(
        Fill(LangText("MsgErr.TableFileDamagedKept",
                      "Il file \"%s\" \u00E8 danneggiato e non pu\u00F2 essere letto (%s).\n"
                      "Non \u00E8 stato possibile rinominarlo: resta com'\u00E8 e non verr\u00E0 sovrascritto."),
             fileName, error, std::string()));
  }
}

// A table file that exists but cannot be opened: it stays where it is, and
// is not saved over until it has been read.
void KeepUnopenedTableFile(const std::string& fileName, const std::string& error) {
  GuardUnreadTableFile(fileName);
  ErrorMessage(error + "\n\n" +
               Fill(LangText("MsgErr.TableFileLocked",
                             "Il file \"%s\" esiste ma non pu\u00F2 essere aperto: forse \u00E8 in uso da un altro "
                             "programma.\nResta com'\u00E8 e non verr\u00E0 sovrascritto finch\u00E9 non sar\u00E0 "
                             "stato letto (\"Aggiorna e mantieni\" lo rilegge)."),
                    fileName, std::string(), std::string()));
}

// Loads the file into the table; a failure keeps the file, reports it and
// leaves the table untouched. False when the table was not loaded.
bool LoadGuarded(TRecordTable& table, const std::string& fileName, TBinaryTableFormat& format) {
  try {
    table.LoadFromFileViaFormat(fileName, format);
    ReleaseTableFileGuard(fileName);
    return true;
  } catch (const TableOpenError& e) {
    KeepUnopenedTableFile(fileName, e.what());
    return false;
  } catch (const TableError& e) {
    KeepDamagedTableFile(fileName, e.what());
    return false;
  }
}

}  // namespace

std::string TableFileName(const std::string& folder, const std::string& name, const std::string& extension) {
  return WithTrailingBackslash(folder) + name + "." + extension;
}

bool LoadTableFile(TRecordTable& table, const std::string& folder, const std::string& name,
                   const std::string& sortColumn, const std::string& extension, TBinaryTableFormat& format) {
  const std::string fileName = TableFileName(folder, name, extension);
  bool loaded = false, damaged = false;
  if (Files().FileExists(fileName)) {
    loaded = LoadGuarded(table, fileName, format);
    damaged = !loaded;
  }
  const std::string sort = Trim(sortColumn);
  // A fresh table whose file proved damaged has no columns to sort on.
  if (!sort.empty() && !(damaged && !table.FindField(sort))) table.SortOn(sort, "");
  return loaded;
}

void SaveTableFile(TRecordTable& table, const std::string& folder, const std::string& name,
                   const std::string& extension, bool enabled, TBinaryTableFormat& format) {
  if (!enabled) return;
  const std::string dir = Trim(folder);
  const std::string fileName = TableFileName(folder, name, extension);
  // A file still unread (the user was told when it could not be read) is
  // not written over.
  if (IsGuardedTableFile(fileName)) return;
  if (!dir.empty() && !Files().DirExists(dir)) ForceDirectories(Files(), dir);
  table.SaveToFileViaFormat(fileName, format);
}

void UpgradeTableFiles(const std::string& pattern, TRecordTable& table, TBinaryTableFormat& format) {
  for (const std::string& file : ListFiles(pattern))
    UpgradeTableFile(table, file, format);
}

int UpgradeTableFile(TRecordTable& table, const std::string& fileName, TBinaryTableFormat& format) {
  if (!Files().FileExists(fileName)) return 0;
  TRecordTable old;
  if (!LoadGuarded(old, fileName, format)) return 0;
  table.Close();
  const int added = AddMissingColumns(old, table);
  table.CreateTable();
  bool rewrite = added > 0;
  for (size_t i = 0; !rewrite && i < table.FieldDefs().size(); ++i) {
    const TFieldDef& live = table.FieldDefs()[i];
    const int at = old.IndexOfFieldDef(live.Name);
    if (at < 0) {
      rewrite = true;
    } else {
      const TFieldDef& file = old.FieldDefs()[size_t(at)];
      rewrite = file.DataType != live.DataType || file.Size != live.Size;
    }
  }
  if (!rewrite) return 0;
  CopyAllRecords(old, table);
  table.SaveToFileViaFormat(fileName, format);
  return 1;
}

bool CopyRecordByFieldName(TRecordTable& source, TRecordTable& destination) {
  for (int i = 0; i < destination.FieldCount(); ++i) {
    TField& to = destination.Field(i);
    if (source.IndexOfFieldDef(to.FieldName()) < 0) continue;
    const TField& from = source.FieldByName(to.FieldName());
    if (IsDateTimeType(to.DataType()) && IsDateTimeType(from.DataType()) && !from.IsNull())
      to.SetAsFloat(from.AsFloat());
    else
      to.SetAsString(from.AsString());
  }
  return true;
}

bool CopyAllRecords(TRecordTable& source, TRecordTable& destination) {
  const TBookmark mark = source.GetBookmark();
  destination.EmptyTable();
  destination.First();
  for (source.First(); !source.Eof(); source.Next()) {
    destination.Append();
    for (int i = 0; i < destination.FieldCount(); ++i) {
      TField& to = destination.Field(i);
      if (source.IndexOfFieldDef(to.FieldName()) >= 0) to.SetAsString(source.FieldByName(to.FieldName()).AsString());
    }
    destination.Post();
  }
  if (destination.IsEmpty()) {
    destination.Append();
    destination.Post();
  }
  source.GotoBookmark(mark);
  return true;
}

int AddMissingColumns(TRecordTable& source, TRecordTable& destination) {
  int added = 0;
  for (const TFieldDef& def : source.FieldDefs()) {
    // A definition already waiting for CreateTable counts as present too.
    if (destination.FindField(def.Name) || destination.IndexOfFieldDef(def.Name) >= 0) continue;
    try {
      destination.AddFieldDef(def.Name, def.DataType, def.Size, def.Required);
      ++added;
    } catch (const std::exception& e) {
      // One column that cannot be added must not stop the others. Filed at
      // the level of a plain message, without one: nothing is shown.
      ErrorInfo error;
      error.exceptionMessage = e.what();
      error.catchFunction = "AddMissingColumns";
      error.catchLine = __LINE__;
      error.catchModule = "TableFiles";
      error.exception = &e;
      error.level = MessageLevel;
      FileErrorReport(error);
    }
  }
  return added;
}

bool HasFieldDef(const TRecordTable& table, const std::string& fieldName) {
  return table.IndexOfFieldDef(fieldName) >= 0;
}

bool LocateRow(TRecordTable& table, const std::string& fieldName, const std::string& value) {
  return table.Locate(fieldName, value);
}

}  // namespace tov
