// The data module: the bar's button table, the table of saved appearance
// combinations and the one format object through which every table file is
// written and read. The program's start-up creates one before the bar window
// and hands it to the bar, which hands it (or the table and format it needs)
// on to the button layout dialog and the button list's helpers; start-up
// destroys it after the bar:
//
//   auto dc = std::make_unique<TDataModule>();
//   dc->TblLinks.Locate("Ordine", "3");
//   LoadButtonList(dc->TblLinks, path, dc->SaveFormat);
//
// While one is alive it holds the session of table files: the first one
// created begins it (no table file has been found unreadable yet) and ends
// it when destroyed; one made meanwhile (a scratch copy) leaves it alone.
#pragma once
#include "tables/BinaryTableFormat.h"
#include "tables/RecordTable.h"

namespace tov {

class TDataModule {
 public:
  TDataModule();
  ~TDataModule();
  TDataModule(const TDataModule&) = delete;
  TDataModule& operator=(const TDataModule&) = delete;

  TRecordTable TblLinks{"TblLinks"};
  TRecordTable TblThemes{"TblThemes"};
  TBinaryTableFormat SaveFormat{"SaveFormat"};

  // True for the one that began the session of table files.
  bool BeganSession() const;

 private:
  void CreateTables();
};

// The columns each table has when the data module is created.
void DefineLinkColumns(TRecordTable& table);
void DefineThemeColumns(TRecordTable& table);

}  // namespace tov
