#include "platform/FileShellLinks.h"

#include "base/Casefold.h"
#include "platform/Platform.h"
#include "platform/ShellLinkFile.h"

namespace tov {

namespace {

// The shell takes link paths as wide strings of at most 260 characters, the
// terminating zero included; a longer one is refused rather than cut.
constexpr size_t kMaxLinkPath = 259;

// Attributes, size and time of the target, found through its folder.
ShellLinkTargetInfo TargetInfo(const std::string& target) {
  ShellLinkTargetInfo info;
  std::string path = target;
  if (!path.empty() && path.back() == '\\') info.directory = true;
  while (path.size() > 3 && path.back() == '\\')
    path.pop_back();
  if (Files().DirExists(path)) {
    info.exists = info.directory = true;
    info.attributes = kAttrDirectory;
  } else if (Files().FileExists(path)) {
    info.exists = true;
    info.attributes = kAttrArchive;
  } else {
    return info;
  }
  const size_t cut = path.find_last_of("\\:");
  const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
  if (!name.empty() && name.find_first_of("*?") == std::string::npos) {
    for (const FindEntry& e : Files().FindFiles(path)) {
      if (!SameNameIgnoringCase(e.name, name)) continue;  // the file system's rule
      info.attributes = e.attributes;
      info.size = e.size;
      break;
    }
  }
  // The link format keeps UTC; the file layer gives local time and no time
  // zone, so the time is stored as it comes (off by the zone's offset).
  Files().LastWriteTime(path, &info.writeTime);
  return info;
}

}  // namespace

int32_t FileShellLinks::SaveLink(const std::string& linkPath, const std::string& target,
                                 const std::string& description) {
  if (linkPath.empty() || linkPath.size() > kMaxLinkPath) return E_INVALIDARG_RESULT;
  std::string bytes, error;
  if (!BuildShellLink(target, description, TargetInfo(target), &bytes, &error)) return E_INVALIDARG_RESULT;
  return WriteFileSafely(Files(), linkPath, bytes) ? S_OK_RESULT : E_FAIL_RESULT;
}

int32_t FileShellLinks::LoadLink(WindowId, const std::string& linkPath, std::string* target, std::string* description) {
  if (linkPath.empty() || linkPath.size() > kMaxLinkPath) return E_INVALIDARG_RESULT;
  std::string bytes;
  if (!Files().FileExists(linkPath) || !Files().ReadFile(linkPath, &bytes)) return STG_E_FILENOTFOUND_RESULT;
  ShellLinkContents contents;
  std::string error;
  if (!ParseShellLink(bytes, &contents, &error)) return E_FAIL_RESULT;
  *target = contents.target;
  *description = contents.description;
  return S_OK_RESULT;
}

}  // namespace tov
