#include "platform/NativeFileSystem.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/Utf8Text.h"

namespace fs = std::filesystem;

namespace tov {

namespace {

// Paths are UTF-8; under Windows they reach the system as UTF-16, whatever
// narrow encoding the C++ library would assume.
fs::path P(const std::string& utf8) {
#ifdef _WIN32
  const std::u16string wide = Utf8ToUtf16(utf8);
  return fs::path(std::wstring(wide.begin(), wide.end()));
#else
  return fs::path(utf8);
#endif
}

}  // namespace

bool NativeFileSystem::FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(P(path), ec);
}

bool NativeFileSystem::DirExists(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(P(path), ec);
}

bool NativeFileSystem::CreateDir(const std::string& path) {
  std::error_code ec;
  return fs::create_directory(P(path), ec) || fs::is_directory(P(path), ec);
}

bool NativeFileSystem::RemoveDir(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(P(path), ec) && fs::remove(P(path), ec);
}

bool NativeFileSystem::ReadFile(const std::string& path, std::string* bytes) {
  std::ifstream in(P(path), std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  *bytes = ss.str();
  return true;
}

bool NativeFileSystem::WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(P(path), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out.flush());
}

bool NativeFileSystem::AppendFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(P(path), std::ios::binary | std::ios::app);
  if (!out) return false;
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out.flush());
}

bool NativeFileSystem::DeleteFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(P(path), ec) && fs::remove(P(path), ec);
}

bool NativeFileSystem::MoveFile(const std::string& from, const std::string& to, bool replace) {
  std::error_code ec;
  if (!replace && fs::exists(P(to), ec)) return false;
  fs::rename(P(from), P(to), ec);
  return !ec;
}

bool NativeFileSystem::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
  std::error_code ec;
  return fs::copy_file(P(from), P(to), failIfExists ? fs::copy_options::none : fs::copy_options::overwrite_existing,
                       ec);
}

std::vector<FindEntry> NativeFileSystem::FindFiles(const std::string&) {
  // The tool never lists folders.
  return {};
}

bool NativeFileSystem::LastWriteTime(const std::string&, DateTime*) { return false; }

}  // namespace tov
