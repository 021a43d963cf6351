#include "platform/host/HostFileSystem.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>
#include <sstream>
#include <system_error>

#include "base/Utf8Text.h"

namespace fs = std::filesystem;

namespace tov::host {

namespace {

// Splits a Windows path into its drive letter and components.
bool SplitWindowsPath(const std::string& path, char* drive, std::vector<std::string>* parts) {
  if (path.size() < 2 || path[1] != ':') return false;
  *drive = AsciiUpper(path[0]);
  parts->clear();
  std::string cur;
  for (size_t i = 2; i < path.size(); ++i) {
    char c = path[i];
    if (c == '\\' || c == '/') {
      if (!cur.empty()) parts->push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) parts->push_back(cur);
  return true;
}

// A name of the Windows path as a host name, and back. Under Windows the host
// names are UTF-16, converted from and to UTF-8 explicitly (the library's own
// narrow conversion need not be UTF-8); elsewhere they are the bytes as they
// are.
fs::path HostName(const std::string& name) {
#ifdef _WIN32
  const std::u16string wide = Utf8ToUtf16(name);
  return fs::path(std::wstring(wide.begin(), wide.end()));
#else
  return fs::path(name);
#endif
}

std::string NameOf(const fs::path& p) {
#ifdef _WIN32
  const std::wstring wide = p.filename().wstring();
  return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
#else
  return p.filename().string();
#endif
}

}  // namespace

bool WildcardMatch(const std::string& pattern, const std::string& name) {
  if (pattern == "*.*" || pattern == "*") return true;
  // A trailing ".*" also matches a name without a dot, as Windows does.
  if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0 && name.find('.') == std::string::npos &&
      WildcardMatch(pattern.substr(0, pattern.size() - 2), name))
    return true;
  // "?" stands for one UTF-16 unit, as the system counts.
  const std::u16string p = Utf8ToUtf16(LowerCaseText(pattern)), n = Utf8ToUtf16(LowerCaseText(name));
  size_t pi = 0, ni = 0, star = std::string::npos, mark = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == '*') {
      star = pi++;
      mark = ni;
    } else if (star != std::string::npos) {
      pi = star + 1;
      ni = ++mark;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*')
    ++pi;
  return pi == p.size();
}

HostFileSystem::HostFileSystem(fs::path root) : root_(std::move(root)) {}

fs::path HostFileSystem::Map(const std::string& windowsPath) const {
  char drive = 0;
  std::vector<std::string> parts;
  if (!SplitWindowsPath(windowsPath, &drive, &parts)) return root_ / "invalid-path";
  fs::path cur = root_ / std::string(1, drive);
  std::error_code ec;
  for (const std::string& part : parts) {
    if (part == ".") continue;
    if (part == "..") {
      if (cur != root_ / std::string(1, drive)) cur = cur.parent_path();
      continue;
    }
    fs::path exact = cur / HostName(part);
    if (!fs::exists(exact, ec) && fs::is_directory(cur, ec)) {
      for (const auto& e : fs::directory_iterator(cur, ec)) {
        if (SameNameIgnoringCase(NameOf(e.path()), part)) {
          exact = e.path();
          break;
        }
      }
    }
    cur = exact;
  }
  return cur;
}

bool HostFileSystem::Writable(const std::string& path) const {
  std::string l = LowerCaseText(path);
  for (const std::string& ro : readOnly_) {
    if (l.compare(0, ro.size(), ro) == 0) return false;
  }
  return true;
}

bool HostFileSystem::CountWrite() {
  ++writes_;
  if (failAt_ > 0 && --failAt_ == 0) return false;
  return true;
}

bool HostFileSystem::FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(Map(path), ec);
}

bool HostFileSystem::DirExists(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(Map(path), ec);
}

bool HostFileSystem::CreateDir(const std::string& path) {
  std::error_code ec;
  fs::path p = Map(path);
  if (fs::is_directory(p, ec)) return true;
  if (!Writable(path) || !fs::is_directory(p.parent_path(), ec)) return false;
  return fs::create_directory(p, ec);
}

bool HostFileSystem::RemoveDir(const std::string& path) {
  std::error_code ec;
  fs::path p = Map(path);
  if (!fs::is_directory(p, ec) || !fs::is_empty(p, ec)) return false;
  return fs::remove(p, ec);
}

bool HostFileSystem::ReadFile(const std::string& path, std::string* bytes) {
  if (Locked(path)) return false;
  std::ifstream in(Map(path), std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  *bytes = ss.str();
  return true;
}

bool HostFileSystem::Write(const std::string& path, const std::string& bytes, std::ios::openmode mode) {
  if (!Writable(path) || Locked(path)) return false;
  fs::path p = Map(path);
  std::error_code ec;
  if (fs::is_directory(p, ec) || !fs::is_directory(p.parent_path(), ec)) return false;
  bool ok = CountWrite();
  std::ofstream out(p, std::ios::binary | mode);
  if (!out) return false;
  if (!ok) {
    out.write(bytes.data(), std::streamsize(std::min(failKeep_, bytes.size())));
    return false;
  }
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out);
}

bool HostFileSystem::WriteFile(const std::string& path, const std::string& bytes) {
  return Write(path, bytes, std::ios::trunc);
}

bool HostFileSystem::AppendFile(const std::string& path, const std::string& bytes) {
  return Write(path, bytes, std::ios::app);
}

bool HostFileSystem::DeleteFile(const std::string& path) {
  if (!Writable(path) || Locked(path)) return false;
  std::error_code ec;
  fs::path p = Map(path);
  if (!fs::is_regular_file(p, ec)) return false;
  return fs::remove(p, ec);
}

bool HostFileSystem::MoveFile(const std::string& from, const std::string& to, bool replace) {
  if (!Writable(from) || !Writable(to) || Locked(from) || Locked(to)) return false;
  if (failAcrossDrives_ && !from.empty() && !to.empty() &&
      UpperCaseText(from.substr(0, 1)) != UpperCaseText(to.substr(0, 1)))
    return false;
  std::error_code ec;
  fs::path a = Map(from), b = Map(to);
  if (!fs::exists(a, ec)) return false;
  if (fs::exists(b, ec) && !(replace && fs::equivalent(a, b, ec))) {
    if (!replace || fs::is_directory(b, ec)) return false;
  }
  if (!fs::is_directory(b.parent_path(), ec)) return false;
  fs::rename(a, b, ec);
  return !ec;
}

bool HostFileSystem::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
  if (!Writable(to)) return false;
  std::string bytes;
  if (!ReadFile(from, &bytes)) return false;
  if (failIfExists && FileExists(to)) return false;
  return WriteFile(to, bytes);
}

namespace {

FindEntry EntryOf(const fs::directory_entry& e) {
  std::error_code ec;
  FindEntry fe;
  fe.name = NameOf(e.path());
  if (e.is_directory(ec)) {
    fe.attributes = kAttrDirectory;
  } else {
    fe.attributes = kAttrArchive;
    fe.size = e.file_size(ec);
  }
  if (!fe.name.empty() && fe.name[0] == '.') fe.attributes |= kAttrHidden;
  return fe;
}

// The entries of dir whose names match mask, in the order NTFS returns
// them: by their names in capitals, as UTF-16 (each name's key made once).
std::vector<fs::directory_entry> SortedListing(const fs::path& dir, const std::string& mask) {
  std::error_code ec;
  std::vector<std::pair<std::u16string, fs::directory_entry>> keyed;
  for (const auto& e : fs::directory_iterator(dir, ec)) {
    std::string name = NameOf(e.path());
    if (!WildcardMatch(mask, name)) continue;
    keyed.emplace_back(Utf8ToUtf16(UpperCaseText(name)), e);
  }
  std::sort(keyed.begin(), keyed.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
  std::vector<fs::directory_entry> out;
  out.reserve(keyed.size());
  for (auto& k : keyed)
    out.push_back(std::move(k.second));
  return out;
}

}  // namespace

std::vector<FindEntry> HostFileSystem::FindFiles(const std::string& pattern) {
  std::vector<FindEntry> out;
  size_t cut = pattern.find_last_of("\\:");
  std::string folder = cut == std::string::npos ? std::string() : pattern.substr(0, cut + 1);
  std::string mask = cut == std::string::npos ? pattern : pattern.substr(cut + 1);
  if (folder.empty() || mask.empty()) return out;
  std::error_code ec;
  fs::path dir = Map(folder);
  if (!fs::is_directory(dir, ec)) return out;
  // One name without wildcards: that entry alone, found without listing the
  // whole folder (as a lookup by name does on Windows). Only where the host's
  // own names have case: there the path found is spelt as on disk.
  constexpr bool kHostNamesHaveCase =
#ifdef _WIN32
      false;
#else
      true;
#endif
  if (kHostNamesHaveCase && mask.find_first_of("*?") == std::string::npos && mask != "." && mask != "..") {
    const fs::directory_entry e(Map(pattern), ec);
    if (!ec && e.exists(ec)) out.push_back(EntryOf(e));
    return out;
  }
  bool isRoot = folder.size() <= 3;
  if (!isRoot) {
    for (const char* dot : {".", ".."}) {
      if (WildcardMatch(mask, dot)) out.push_back(FindEntry{dot, kAttrDirectory, 0});
    }
  }
  for (const auto& e : SortedListing(dir, mask))
    out.push_back(EntryOf(e));
  return out;
}

namespace {

// The listing read in steps: the names are known at once (the host has to
// sort them to give the system's order), each entry's details are read
// when it is asked for, and an entry gone meanwhile is left out.
class HostFileFind : public IFileFind {
 public:
  HostFileFind(std::vector<FindEntry> dots, std::vector<fs::directory_entry> entries)
      : dots_(std::move(dots)), entries_(std::move(entries)) {}
  bool Next(FindEntry* out) override {
    if (nextDot_ < dots_.size()) {
      *out = dots_[nextDot_++];
      return true;
    }
    while (next_ < entries_.size()) {
      fs::directory_entry& e = entries_[next_++];
      std::error_code ec;
      e.refresh(ec);
      if (ec || !e.exists(ec)) continue;
      *out = EntryOf(e);
      return true;
    }
    return false;
  }

 private:
  std::vector<FindEntry> dots_;
  std::vector<fs::directory_entry> entries_;
  size_t nextDot_ = 0, next_ = 0;
};

}  // namespace

std::unique_ptr<IFileFind> HostFileSystem::StartFind(const std::string& pattern) {
  const size_t cut = pattern.find_last_of("\\:");
  const std::string folder = cut == std::string::npos ? std::string() : pattern.substr(0, cut + 1);
  const std::string mask = cut == std::string::npos ? pattern : pattern.substr(cut + 1);
  // A name without wildcards is one lookup: nothing to read in steps.
  if (folder.empty() || mask.find_first_of("*?") == std::string::npos) return IFileSystem::StartFind(pattern);
  std::error_code ec;
  const fs::path dir = Map(folder);
  if (!fs::is_directory(dir, ec)) return IFileSystem::StartFind(pattern);
  std::vector<FindEntry> dots;
  if (folder.size() > 3)
    for (const char* dot : {".", ".."})
      if (WildcardMatch(mask, dot)) dots.push_back(FindEntry{dot, kAttrDirectory, 0});
  return std::make_unique<HostFileFind>(std::move(dots), SortedListing(dir, mask));
}

bool HostFileSystem::LastWriteTime(const std::string& path, DateTime* out) {
  fs::path p = Map(path);
  std::ifstream probe(p, std::ios::binary);
  std::error_code ec;
  if (!probe || !fs::is_regular_file(p, ec)) return false;
  auto ft = fs::last_write_time(p, ec);
  if (ec) return false;
  auto sys = std::chrono::time_point_cast<std::chrono::seconds>(std::chrono::file_clock::to_sys(ft));
  std::time_t t = std::chrono::system_clock::to_time_t(sys);
  std::tm tm{};
#ifdef _WIN32
  gmtime_s(&tm, &t);
#else
  gmtime_r(&t, &tm);
#endif
  *out = DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, 0};
  return true;
}

}  // namespace tov::host

namespace tov::host {

std::string HostFileSystem::FinalPath(const std::string& path) {
  std::error_code ec;
  const fs::path real = fs::canonical(Map(path), ec);
  const fs::path root = fs::canonical(root_, ec);
  if (ec || real.empty()) return std::string();
  // <root>/X/a/b is X:\a\b; a link out of the drives leads nowhere here.
  const fs::path rel = real.lexically_relative(root);
  auto it = rel.begin();
  if (rel.empty() || it == rel.end() || it->string() == ".." || it->string().size() != 1) return std::string();
  std::string out = it->string() + ":";
  for (++it; it != rel.end(); ++it)
    out += "\\" + NameOf(*it);
  if (out.size() == 2) out += "\\";
  return out;
}

}  // namespace tov::host
