// tovira-tool png and zip: the bar's own PNG and ZIP writers on files, so
// that other programs can check what they write.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "formats/ImageFiles.h"
#include "formats/ZipArchive.h"
#include "tools/Tool.h"

namespace tov::tool {

namespace {

int Png(const std::vector<std::string>& args) {
  if (args.size() != 2 && args.size() != 3) return Fail("usage: png BITMAP PNGFILE [LEVEL]");
  int level = 100;
  if (args.size() == 3) {
    const char* text = args[2].c_str();
    char* end = nullptr;
    level = int(std::clamp(std::strtol(text, &end, 10), -1L, 100L));  // clamped again to 0..9
    if (*text == '\0' || *end != '\0') return Fail("not a level: " + args[2]);
  }
  return BitmapFileToPngLevel(args[0], args[1], level) ? 0 : Fail("cannot convert " + args[0]);
}

int Zip(const std::vector<std::string>& args) {
  if (args.size() < 2) return Fail("usage: zip ARCHIVE FILE...");
  TZipArchive zip;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& path = args[i];
    std::string name = path.substr(path.find_last_of("/\\:") + 1);
    if (!zip.AddFile(path, name)) return Fail("cannot read " + path);
  }
  return zip.WriteTo(args[0]) ? 0 : Fail("cannot write " + args[0]);
}

}  // namespace

TOVIRA_TOOL_COMMAND("png", "png BITMAP PNGFILE [LEVEL]", Png);
TOVIRA_TOOL_COMMAND("zip", "zip ARCHIVE FILE...", Zip);

}  // namespace tov::tool
