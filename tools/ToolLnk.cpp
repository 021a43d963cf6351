// tovira-tool lnk: shortcut files, read and written by the same code as the
// bar (the shell's link object on Windows, the link format elsewhere).
#include <cstdio>

#include "formats/ShortcutFiles.h"
#include "platform/Platform.h"
#include "tools/Tool.h"

namespace tov::tool {

namespace {

const char* kUsage = "lnk read FILE | lnk write TARGET LINKFILE [DESCRIPTION]";

std::string FileNamePart(const std::string& path) {
  const size_t cut = path.find_last_of("\\:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string Hex(int32_t result) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", unsigned(result));
  return buf;
}

int Lnk(const std::vector<std::string>& args) {
  const bool read = args.size() == 2 && args[0] == "read";
  const bool write = (args.size() == 3 || args.size() == 4) && args[0] == "write";
  if (!read && !write) return Fail(std::string("usage: ") + kUsage);
  int status = 0;
  if (read) {
    // Nothing printed for a file that cannot be read: the bar then falls
    // back to the shortcut's own path.
    const std::string target = ReadShortcutTarget(0, args[1]);
    if (target.empty()) {
      status = 1;
    } else {
      std::fwrite(target.data(), 1, target.size(), stdout);
      std::fputc('\n', stdout);
    }
  } else {
    const std::string& target = args[1];
    const std::string description = args.size() == 4 ? args[3] : FileNamePart(target);
    const int32_t result = ShellLinks().SaveLink(args[2], target, description);
    if (result != S_OK_RESULT)
      status = Fail("cannot write " + args[2] + " pointing at " + target + " (" + Hex(result) + ")");
  }
  return status;
}

}  // namespace

TOVIRA_TOOL_COMMAND("lnk", kUsage, Lnk);

}  // namespace tov::tool
