// The bar's content: one row of TblLinks per button or separator, in the
// order they stand on the bar ("Ordine" 0..n-1), kept in ButtonList.lob in
// the source folder. These operations change the table only; the caller
// rebuilds the bar, and the rebuild saves the file.
#pragma once
#include <string>

#include "tables/RecordTable.h"

namespace tov {

class TBinaryTableFormat;

extern const char* const kButtonListName;  // "ButtonList"
extern const char* const kButtonListExt;   // "lob"

// folder + "ButtonList.lob", with one separator between them.
std::string ButtonListPath(const std::string& folder);
// Brings the file to the current columns, then loads it sorted on "Ordine",
// reading through the data module's format. False, the user told, when the
// file could not be read: a damaged one is set aside, one that cannot be
// opened stays unread where it is.
bool LoadButtonList(TRecordTable& links, const std::string& path, TBinaryTableFormat& format);
// Saves the table into the source folder (created when missing) through the
// format; nothing when the source folder is empty.
void SaveButtonList(TRecordTable& links, const std::string& sourceFolder, TBinaryTableFormat& format);

// A row with a new button style's defaults; "Type" "Button" (or "Panel").
void AddButtonRow(TRecordTable& links, int order, const std::string& caption, const std::string& path);
void AddSeparatorRow(TRecordTable& links, int order, const std::string& caption);
// Deletes the row; with deleteFile, also the file its path names (never a folder).
void DeleteButtonRow(TRecordTable& links, int order, bool deleteFile);
// 1 when a row was addressed (whether or not its file could be renamed);
// 0 for a caption with a forbidden character or no row of that order.
int RenameButtonRow(TRecordTable& links, int order, const std::string& caption);
// Exchange a row with its neighbour; answer the row's new order.
int MoveButtonAfter(TRecordTable& links, int order);
int MoveButtonBefore(TRecordTable& links, int order);
// "Ordine" := 0, 1, 2 ... in table order.
void RenumberRows(TRecordTable& links);
// A row is a button only when its "Type" is exactly "Button".
bool IsButtonRow(TRecordTable& links);

}  // namespace tov
