#include "text/Texts.h"

#include <memory>

#include "base/Casefold.h"
#include "base/Strings.h"

namespace tov {

namespace {

std::unique_ptr<std::vector<std::string>>& Table() {
  static std::unique_ptr<std::vector<std::string>> table;
  return table;
}

}  // namespace

std::string LinesValue(const std::vector<std::string>& lines, const std::string& name) {
  for (const std::string& line : lines) {
    size_t eq = line.find('=');
    if (eq == std::string::npos || eq != name.size()) continue;
    if (SameNameIgnoringCase(line.substr(0, eq), name)) return line.substr(eq + 1);
  }
  return std::string();
}

std::string LangText(const std::string& key, const std::string& def) {
  if (!Table()) return def;
  std::string v = LinesValue(*Table(), key);
  return v.empty() ? def : v;
}

bool HasMessageTable() { return Table() != nullptr; }

const std::vector<std::string>& MessageTable() {
  static const std::vector<std::string> none;
  return Table() ? *Table() : none;
}

void SetMessageTable(std::vector<std::string> entries) {
  Table() = std::make_unique<std::vector<std::string>>(std::move(entries));
}

void FreeMessageTable() { Table().reset(); }

}  // namespace tov
