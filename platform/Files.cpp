#include "platform/Files.h"

namespace tov {

bool ForceDirectories(IFileSystem& fs, const std::string& path) {
  std::string p = path;
  while (p.size() > 3 && (p.back() == '\\' || p.back() == '/'))
    p.pop_back();
  if (p.empty()) return false;
  if (fs.DirExists(p)) return true;
  size_t cut = p.find_last_of("\\/");
  if (cut != std::string::npos && cut >= 2) {
    std::string parent = p.substr(0, cut);
    if (parent.size() == 2 && parent[1] == ':') parent += '\\';
    if (!ForceDirectories(fs, parent)) return false;
  }
  return fs.CreateDir(p);
}

bool WriteFileSafely(IFileSystem& fs, const std::string& path, const std::string& bytes) {
  const std::string temp = path + ".tmp";
  if (!fs.WriteFile(temp, bytes)) {
    fs.DeleteFile(temp);
    return false;
  }
  if (!fs.MoveFile(temp, path, true)) {
    fs.DeleteFile(temp);
    return false;
  }
  return true;
}

}  // namespace tov
