#include "platform/Files.h"

namespace tov {

namespace {

class ListedFind : public IFileFind {
 public:
  explicit ListedFind(std::vector<FindEntry> entries) : entries_(std::move(entries)) {}
  bool Next(FindEntry* out) override {
    if (next_ >= entries_.size()) return false;
    *out = std::move(entries_[next_++]);
    return true;
  }

 private:
  std::vector<FindEntry> entries_;
  size_t next_ = 0;
};

}  // namespace

std::unique_ptr<IFileFind> IFileSystem::StartFind(const std::string& pattern) {
  return std::make_unique<ListedFind>(FindFiles(pattern));
}

bool IFileSystem::EntryAttributes(const std::string& path, uint32_t* attributes) {
  if (path.find_first_of("*?") != std::string::npos) return false;
  for (const FindEntry& e : FindFiles(path)) {
    if (e.name == "." || e.name == "..") continue;
    *attributes = e.attributes;
    return true;
  }
  return false;
}

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
    // A drive's root is its own parent: a missing drive ends here.
    if (parent == p) return false;
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
