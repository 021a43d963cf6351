// The source folder: its entries become the bar's buttons, in two modes:
// clean (start again from the folder) and keep (start again, but keep what
// the user set for entries that are still there).
#pragma once
#include <string>

#include "tables/BinaryTableFormat.h"
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
// A previous button list is read in the given format.
bool RefreshFromFolder(TRecordTable& links, const std::string& folder, bool keep, TBinaryTableFormat& format);

// The bar's source folder: where its buttons come from and where their list
// is saved, over the bar's button table.
class TSourceFolder {
 public:
  TSourceFolder(TRecordTable& links, TBinaryTableFormat& format) : links_(links), format_(format) {}

  const std::string& Path() const { return path_; }
  // The folder exists now.
  bool Exists() const;
  // The bar's buttons come from the button list found in the folder.
  void Take(const std::string& folder) { path_ = folder; }
  // The folder becomes the source and refills the button table from its
  // entries (keep: keeping what was set for entries still there); false,
  // with nothing changed, when the folder is missing, and false with the
  // table as it was when the previous button list cannot be read.
  bool Refresh(const std::string& folder, bool keep);

 private:
  TRecordTable& links_;
  TBinaryTableFormat& format_;
  std::string path_;
};

}  // namespace tov
