// tovira-tool table: table files (ButtonList.lob, *.theme, Themes.DAT) as
// JSON, and back, and a quick check of one file.
#include <cstdio>

#include "formats/TableJson.h"
#include "tables/BinaryTableFormat.h"
#include "tables/RecordTable.h"
#include "tables/TableError.h"
#include "tools/Tool.h"

namespace tov::tool {

namespace {

constexpr const char* kUsage = "table dump FILE | table load JSON TABLEFILE | table check FILE";

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

int Table(const std::vector<std::string>& args) {
  if (args.empty()) return Fail(std::string("usage: ") + kUsage);
  const std::string& cmd = args[0];
  TBinaryTableFormat format("SaveFormat");
  TRecordTable table;
  try {
    if (cmd == "dump" && args.size() == 2) {
      table.LoadFromFileViaFormat(args[1], format);
      Print(TableToJson(table, format.LoadedVersion()));
      return 0;
    }
    if (cmd == "load" && args.size() == 3) {
      std::string json;
      if (!ReadWholeFile(args[1], &json)) return Fail("cannot read " + args[1]);
      TableFromJson(json, table);
      table.SaveToFileViaFormat(args[2], format);
      return 0;
    }
    if (cmd == "check" && args.size() == 2) {
      try {
        table.LoadFromFileViaFormat(args[1], format);
      } catch (const TableError& e) {
        Print(std::string(e.what()) + "\n");
        return 1;
      }
      Print("ok version=" + std::to_string(format.LoadedVersion()) + " fields=" + std::to_string(table.FieldCount()) +
            " records=" + std::to_string(table.GetRecordCount()) + "\n");
      return 0;
    }
  } catch (const TableError& e) {
    return Fail(e.what());
  }
  return Fail(std::string("usage: ") + kUsage);
}

}  // namespace

TOVIRA_TOOL_COMMAND("table", kUsage, Table);

}  // namespace tov::tool
