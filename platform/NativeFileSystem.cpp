#include "platform/NativeFileSystem.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace tov {

bool NativeFileSystem::FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool NativeFileSystem::DirExists(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool NativeFileSystem::CreateDir(const std::string& path) {
  std::error_code ec;
  return fs::create_directory(path, ec) || fs::is_directory(path, ec);
}

bool NativeFileSystem::RemoveDir(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec) && fs::remove(path, ec);
}

bool NativeFileSystem::ReadFile(const std::string& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  *bytes = ss.str();
  return true;
}

bool NativeFileSystem::WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out.flush());
}

bool NativeFileSystem::AppendFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (!out) return false;
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out.flush());
}

bool NativeFileSystem::DeleteFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec) && fs::remove(path, ec);
}

bool NativeFileSystem::MoveFile(const std::string& from, const std::string& to, bool replace) {
  std::error_code ec;
  if (!replace && fs::exists(to, ec)) return false;
  fs::rename(from, to, ec);
  return !ec;
}

bool NativeFileSystem::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
  std::error_code ec;
  return fs::copy_file(from, to, failIfExists ? fs::copy_options::none : fs::copy_options::overwrite_existing, ec);
}

std::vector<FindEntry> NativeFileSystem::FindFiles(const std::string&) {
  // The tool never lists folders.
  return {};
}

bool NativeFileSystem::LastWriteTime(const std::string&, DateTime*) { return false; }

}  // namespace tov
