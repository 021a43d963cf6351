// tovira-tool ini: reads and writes INI files with the rules the bar itself
// uses for its settings (those of the Windows profile functions).
#include <cstdio>

#include "platform/Platform.h"
#include "settings/IniFile.h"
#include "tools/Tool.h"

namespace tov::tool {

namespace {

constexpr char kUsage[] =
    "ini get FILE SECTION KEY [DEFAULT] | ini set FILE SECTION KEY VALUE | ini sections FILE | ini keys FILE SECTION";

void PrintLine(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
}

int Ini(const std::vector<std::string>& args) {
  if (args.empty()) return Fail("usage: " + std::string(kUsage));
  const std::string& verb = args[0];
  const size_t n = args.size();
  bool shapeOk = (verb == "get" && (n == 4 || n == 5)) || (verb == "set" && n == 5) || (verb == "sections" && n == 2) ||
                 (verb == "keys" && n == 3);
  if (!shapeOk) return Fail("usage: " + std::string(kUsage));
  const std::string& file = args[1];
  TIniFile ini(file);
  if (verb == "set") {
    if (Files().DirExists(file)) return Fail("not a file: " + file);
    if (!ini.WriteString(args[2], args[3], args[4])) return Fail("cannot write " + file);
    return 0;
  }
  // Reading a file that is not there would only echo the default back.
  if (!Files().FileExists(file)) return Fail("no such file: " + file);
  if (verb == "get") {
    PrintLine(ini.ReadString(args[2], args[3], n == 5 ? args[4] : std::string()));
  } else if (verb == "sections") {
    for (const std::string& name : ini.ReadSections())
      PrintLine(name);
  } else {
    if (!ini.SectionExists(args[2])) return Fail("no section [" + args[2] + "] in " + file);
    for (const std::string& name : ini.ReadSectionKeys(args[2]))
      PrintLine(name);
  }
  return 0;
}

}  // namespace

TOVIRA_TOOL_COMMAND("ini", kUsage, Ini);

}  // namespace tov::tool
