// The source folder: its entries become the bar's buttons, in two modes:
// clean (start again from the folder) and keep (start again, but keep what
// the user set for entries that are still there).
#pragma once
#include <string>

#include "tables/RecordTable.h"

namespace tov {

// The caption an entry of the source folder gets (its name without its
// extension); empty when the entry never becomes a button (".", "..", names
// whose only dot comes first, and the button list with the files the program
// writes beside it).
std::string EntryCaption(const std::string& name);
// The button list and its side files: the temporary file of a save and the
// copies of a damaged list set aside ("ButtonList.lob.damaged").
bool IsButtonListSideFile(const std::string& name);

// Refills the table from the folder's entries, the last listed first; false
// (and nothing changed) when the folder does not exist. The caller rebuilds
// the bar, which numbers the rows and saves them into the folder.
bool RefreshFromFolder(TRecordTable& links, const std::string& folder, bool keep);

}  // namespace tov
