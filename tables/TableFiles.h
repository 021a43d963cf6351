// Table utilities: saving a table to a named file and loading it back, the
// same in the user data folder, bringing an older table file up to a live
// table's columns, and copying rows between tables by column name.
//
//   LoadTableFile(dc.TblLinks, folder, "ButtonList", "Ordine", "lob", dc.SaveFormat);
//   SaveTableFile(dc.TblLinks, folder, "ButtonList", "lob", true, dc.SaveFormat);
//
// A missing file is not an error. A file whose bytes do not parse is moved
// aside (name + ".damaged"); one that exists but cannot be opened stays where
// it is and is not saved over until it has been read. Either way the user is
// told and the table stays as it was. A failing save raises TableError
// ("Cannot create file ...").
#pragma once
#include <string>

#include "tables/BinaryTableFormat.h"
#include "tables/RecordTable.h"

namespace tov {

// folder (trimmed, with a backslash at its end) + name + "." + extension.
std::string TableFileName(const std::string& folder, const std::string& name, const std::string& extension);

// Loads the file when it exists, then sets the sort column (when not blank)
// whether or not a file was loaded. True when the file was loaded.
bool LoadTableFile(TRecordTable& table, const std::string& folder, const std::string& name,
                   const std::string& sortColumn, const std::string& extension, TBinaryTableFormat& format);
// Creates the folder when missing and saves the whole table over the file;
// nothing when the file is one that could not be read (see above).
void SaveTableFile(TRecordTable& table, const std::string& folder, const std::string& name,
                   const std::string& extension, bool enabled, TBinaryTableFormat& format);

// The same in UserSubDir(subFolder) with the extension "DAT" and no sort column.
bool LoadUserTable(TRecordTable& table, const std::string& subFolder, const std::string& name,
                   TBinaryTableFormat& format);
void SaveUserTable(TRecordTable& table, const std::string& subFolder, const std::string& name, bool enabled,
                   TBinaryTableFormat& format);

// UpgradeTableFile on every file matching the pattern.
void UpgradeTableFiles(const std::string& pattern, TRecordTable& table, TBinaryTableFormat& format);
// Gives the live table every column of the file it lacks and, when the file
// lacks one of the live columns (or has it with another type or size),
// rewrites the file with the union of both. 1 when the file was rewritten.
// The live table is left empty or holding the file's rows.
int UpgradeTableFile(TRecordTable& table, const std::string& fileName, TBinaryTableFormat& format);

// Copies the source's current row into the destination's row being edited or
// appended, column by column where the names match.
bool CopyRecordByFieldName(TRecordTable& source, TRecordTable& destination);
// Replaces the destination's rows by copies of all the source's rows; an
// empty source leaves one row, all null.
bool CopyAllRecords(TRecordTable& source, TRecordTable& destination);
// Adds to the destination's definitions every column of the source it lacks;
// answers how many were added (CreateTable makes them real).
int AddMissingColumns(TRecordTable& source, TRecordTable& destination);

bool HasFieldDef(const TRecordTable& table, const std::string& fieldName);
bool LocateRow(TRecordTable& table, const std::string& fieldName, const std::string& value);

}  // namespace tov
