// Texts by key. The message table holds the message entries of the current
// language file ("key=text"); every text the code builds is looked up here
// with its Italian default, so a language file only needs what it changes.
#pragma once
#include <string>
#include <vector>

namespace tov {

// The table's text for the key (letter case ignored) when the table exists and
// the text is not empty; otherwise def.
std::string LangText(const std::string& key, const std::string& def);

// The value of the first line named name ("name=value", letter case ignored);
// "" when there is none.
std::string LinesValue(const std::vector<std::string>& lines, const std::string& name);

// The message table: replaced by each load, released with the bar window.
bool HasMessageTable();
const std::vector<std::string>& MessageTable();  // empty when there is none
void SetMessageTable(std::vector<std::string> entries);
void FreeMessageTable();

}  // namespace tov
