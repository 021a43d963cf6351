#include "tables/ColumnValues.h"

namespace tov {

std::vector<std::string> ColumnValues(TRecordTable& table, const std::string& fieldName) {
  TField& field = table.FieldByName(fieldName);
  std::vector<std::string> values;
  const TBookmark mark = table.GetBookmark();
  for (table.First(); !table.Eof(); table.Next())
    values.push_back(field.AsString());
  table.GotoBookmark(mark);
  return values;
}

void FillWithColumnValues(std::vector<std::string>& list, TRecordTable& table, const std::string& fieldName) {
  list = ColumnValues(table, fieldName);
}

}  // namespace tov
