// libFuzzer target for the table file reader: any bytes must give a table or
// a TableError, never a crash, a hang or a huge allocation; and whatever
// loads must save and load again to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tables/BinaryTableFormat.h"
#include "tables/RecordTable.h"
#include "tables/TableError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tov;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  TRecordTable table("T");
  table.AddFieldDef("Ordine", ftInteger);
  table.AddFieldDef("Caption", ftString, 256);
  table.AddFieldDef("ShowText", ftBoolean);
  table.CreateTable();
  TBinaryTableFormat format("SaveFormat");
  // Files without definitions are read into the table's own columns.
  if (size > 0 && (data[size - 1] & 1)) format.Options &= ~sfLoadDef;
  try {
    format.Load(table, bytes);
  } catch (const TableError&) {
    return 0;
  }
  std::string saved, again;
  format.Options = kSaveFormatOptions;
  format.Save(table, saved);
  TRecordTable back("B");
  format.Load(back, saved);  // must not throw
  format.Save(back, again);
  if (again != saved) std::abort();
  return 0;
}
