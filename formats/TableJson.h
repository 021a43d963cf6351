// The JSON form of a table file, as `tovira-tool table dump` prints it and
// `tovira-tool table load` reads it:
//
//   {"version": 251,
//    "fields": [{"name": "Ordine", "type": "Integer", "size": 0, "required": false}, ...],
//    "indexes": [{"name": ..., "fields": ..., "descending": false, "caseInsensitive": false, "unique": false}],
//    "records": [[1, "abc", true], [300, null, false]]}
//
// Strings are the table's UTF-8 text (a string of an earlier release, in
// Windows-1252, is dumped converted); control characters are escaped.
#pragma once
#include <string>

#include "tables/RecordTable.h"

namespace tov {

std::string TableToJson(const TRecordTable& table, int version);
// Rebuilds the table (columns, index definitions and rows) from the JSON;
// raises TableError naming what is wrong and where. Answers the version.
int TableFromJson(const std::string& json, TRecordTable& table);

}  // namespace tov
