// Files named by the paths of the platform the program runs on, without any
// mapping; the companion tool uses it to work on files the user names.
#pragma once
#include "platform/Files.h"

namespace tov {

class NativeFileSystem : public IFileSystem {
 public:
  bool FileExists(const std::string& path) override;
  bool DirExists(const std::string& path) override;
  bool CreateDir(const std::string& path) override;
  bool RemoveDir(const std::string& path) override;
  bool ReadFile(const std::string& path, std::string* bytes) override;
  bool WriteFile(const std::string& path, const std::string& bytes) override;
  bool AppendFile(const std::string& path, const std::string& bytes) override;
  bool DeleteFile(const std::string& path) override;
  bool MoveFile(const std::string& from, const std::string& to, bool replace) override;
  bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override;
  std::vector<FindEntry> FindFiles(const std::string& pattern) override;
  bool LastWriteTime(const std::string& path, DateTime* out) override;
  std::string ExePath() override { return std::string(); }
};

}  // namespace tov
