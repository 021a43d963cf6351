#include "files/FileHelpers.h"

#include "base/Casefold.h"
#include "platform/Platform.h"

namespace tov {

std::string FileNamePart(const std::string& path) {
  const size_t cut = path.find_last_of("\\:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool IsFileInFolder(const std::string& file, const std::string& folder) {
  const auto withoutTrailingSlashes = [](std::string path) {
    while (!path.empty() && path.back() == '\\')
      path.pop_back();
    return path;
  };
  const size_t cut = file.find_last_of("\\:");
  if (cut == std::string::npos) return false;
  const std::string own = withoutTrailingSlashes(file.substr(0, cut));
  return !own.empty() && SameNameIgnoringCase(own, withoutTrailingSlashes(folder));
}

std::string WithoutClosingBackslash(const std::string& path) {
  if (path.size() > 3 && path.back() == '\\') return path.substr(0, path.size() - 1);
  return path;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

std::string FileNameWithoutExt(const std::string& path) {
  const std::string name = FileNamePart(path);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

int ForbiddenCharPos(const std::string& name) {
  for (char c : std::string("\\/:*?\"<>")) {
    size_t at = name.find(c);
    if (at != std::string::npos) return int(at) + 1;
  }
  return 0;
}

bool IsUsableFileName(const std::string& name) {
  if (name.empty() || ForbiddenCharPos(name) != 0 || name.find('|') != std::string::npos) return false;
  for (char c : name)
    if (static_cast<unsigned char>(c) < 32) return false;
  // Windows drops a trailing dot or space: the file would get another name.
  if (name.back() == '.' || name.back() == ' ') return false;
  // Device names, also with an extension ("nul.txt" is the device too).
  std::string stem = UpperCaseText(name.substr(0, name.find('.')));
  while (!stem.empty() && stem.back() == ' ')
    stem.pop_back();
  for (const char* device : {"CON", "PRN", "AUX", "NUL"})
    if (stem == device) return false;
  if (stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) && stem[3] >= '1' &&
      stem[3] <= '9')
    return false;
  return true;
}

std::vector<std::string> ListFiles(const std::string& pattern) {
  size_t cut = pattern.find_last_of("\\:");
  std::string folder = cut == std::string::npos ? std::string() : pattern.substr(0, cut + 1);
  std::vector<std::string> out;
  for (const FindEntry& e : Files().FindFiles(pattern))
    out.push_back(folder + e.name);
  return out;
}

std::string FileDateTimeText(const std::string& path) {
  DateTime t;
  if (!Files().LastWriteTime(path, &t)) return std::string();
  // File-system date words keep seconds in two-second steps.
  t.second -= t.second % 2;
  t.millisecond = 0;
  return System().FormatShortDate(t) + " " + System().FormatTime(t);
}

std::string DateStampText(const DateTime& date, bool yearFirst) {
  const std::string y = std::to_string(date.year), m = std::to_string(date.month), d = std::to_string(date.day);
  return yearFirst ? y + "_" + m + "_" + d : d + "_" + m + "_" + y;
}

}  // namespace tov
