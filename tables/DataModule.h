// The data module: the bar's button table, the table of saved appearance
// combinations and the one format object through which every table file is
// written and read. The program's start-up creates one before the bar window,
// hands it to the bar and destroys it after; the first one created is also
// DC, the accessor the code below the bar (the button layout dialog, the
// button list's helpers) still uses, until it is destroyed:
//
//   auto dc = std::make_unique<TDataModule>();   // DC == dc.get()
//   DC->TblLinks.Locate("Ordine", "3");
//   DC->TblLinks.SaveToFileViaFormat(path, DC->SaveFormat);
//   dc.reset();                          // DC == nullptr
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

 private:
  void DCCreate();
  void DCDestroy();
};

extern TDataModule* DC;

// The columns each table has when the data module is created.
void DefineLinkColumns(TRecordTable& table);
void DefineThemeColumns(TRecordTable& table);

}  // namespace tov
