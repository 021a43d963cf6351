// One column's values of all rows, for filling lists in dialogs.
#pragma once
#include <string>
#include <vector>

#include "tables/RecordTable.h"

namespace tov {

// The column's text of every row in table order; the current row stays.
std::vector<std::string> ColumnValues(TRecordTable& table, const std::string& fieldName);
// Replaces the list's items by ColumnValues.
void FillWithColumnValues(std::vector<std::string>& list, TRecordTable& table, const std::string& fieldName);

}  // namespace tov
