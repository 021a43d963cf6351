// Windows paths on host folders: "X:\a\b" lives at <root>/X/a/b. Names are
// matched without regard to letter case over all of Unicode
// (SameNameIgnoringCase: "Документы" is found as "ДОКУМЕНТЫ"), as the system's file
// names are; tests/win32/NameCaseTest.cpp checks the rule against the system. Writes pass through
// one choke point where tests make the Nth write fail.
#pragma once
#include <cctype>
#include <filesystem>
#include <ios>
#include <set>
#include <string>

#include "base/Casefold.h"
#include "platform/Files.h"

namespace tov::host {

class HostFileSystem : public IFileSystem {
 public:
  explicit HostFileSystem(std::filesystem::path root);

  // Host path for a Windows path, matching existing names case-insensitively.
  std::filesystem::path Map(const std::string& windowsPath) const;

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
  std::string ExePath() override { return exePath_; }
  // Host symbolic links stand for junctions: followed, and the host path
  // named again as a Windows path.
  std::string FinalPath(const std::string& path) override;
  // The names are listed and put in order at once, each entry read when asked for.
  std::unique_ptr<IFileFind> StartFind(const std::string& pattern) override;

  void SetExePath(const std::string& path) { exePath_ = path; }

  // Fault injection: the nth write from now (1 = the next) fails after
  // writing only `keepBytes` bytes of its data; 0 switches it off.
  void FailWriteAfter(int nth, size_t keepBytes = 0) {
    failAt_ = nth;
    failKeep_ = keepBytes;
  }
  // Folders (Windows paths) in which nothing can be created or written.
  void SetReadOnlyFolder(const std::string& windowsPath) { readOnly_.insert(LowerCaseText(windowsPath)); }
  // Files held open by another program without sharing: they exist and are
  // listed, but cannot be read, written, replaced, moved or deleted.
  void LockFile(const std::string& windowsPath) { locked_.insert(LowerCaseText(windowsPath)); }
  void UnlockFile(const std::string& windowsPath) { locked_.erase(LowerCaseText(windowsPath)); }
  int WriteCount() const { return writes_; }
  // Moves from one drive to another fail, as the system's rename does
  // across volumes: the caller has to copy and delete.
  void FailMovesAcrossDrives(bool on) { failAcrossDrives_ = on; }
  // Drives that stand for network shares (their letters, upper case): paths
  // on them are not on a local disk.
  std::string remoteDrives;
  bool OnLocalDisk(const std::string& path) override {
    const bool lettered = path.size() >= 2 && path[1] == ':';
    if (lettered && remoteDrives.find(char(std::toupper(static_cast<unsigned char>(path[0])))) != std::string::npos)
      return false;
    return IFileSystem::OnLocalDisk(path);
  }

 private:
  bool Writable(const std::string& path) const;
  bool Locked(const std::string& path) const { return locked_.count(LowerCaseText(path)) != 0; }
  bool CountWrite();  // false when this write must fail
  // Both writes: replacing the file (trunc) or adding to its end (app).
  bool Write(const std::string& path, const std::string& bytes, std::ios::openmode mode);

  std::filesystem::path root_;
  std::string exePath_ = "C:\\Programmi\\Tovira\\tovira.exe";
  std::set<std::string> readOnly_;
  std::set<std::string> locked_;
  int failAt_ = 0;
  size_t failKeep_ = 0;
  int writes_ = 0;
  bool failAcrossDrives_ = false;
};

// Windows wildcard match ("*", "?"), without regard to case; "*.*" matches
// every name, with or without a dot.
bool WildcardMatch(const std::string& pattern, const std::string& name);

}  // namespace tov::host
