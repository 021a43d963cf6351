// Saving a record table to a file and loading it back.
#include "platform/Platform.h"
#include "tables/BinaryTableFormat.h"
#include "tables/DamagedTableFile.h"
#include "tables/RecordTable.h"
#include "tables/TableError.h"

namespace tov {

void TRecordTable::SaveToStreamViaFormat(std::string& stream, TBinaryTableFormat& format) {
  format.Save(*this, stream);
}

void TRecordTable::LoadFromStreamViaFormat(const std::string& stream, TBinaryTableFormat& format) {
  format.Load(*this, stream);
}

void TRecordTable::SaveToFileViaFormat(const std::string& fileName, TBinaryTableFormat& format) {
  std::string bytes;
  format.Save(*this, bytes);
  // A complete new file replaces the old one, or nothing changes at all.
  if (IsGuardedTableFile(fileName) || !WriteFileSafely(Files(), fileName, bytes))
    throw TableError("Cannot create file " + fileName);
}

void TRecordTable::LoadFromFileViaFormat(const std::string& fileName, TBinaryTableFormat& format) {
  std::string bytes;
  if (!Files().ReadFile(fileName, &bytes)) throw TableOpenError("Cannot open file " + fileName);
  format.Load(*this, bytes);
}

}  // namespace tov
