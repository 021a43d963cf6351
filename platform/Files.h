// Files and folders, always named by Windows paths ("C:\Dir\File.ext").
// Every read and write of the program goes through this interface, which is
// also the one place where tests inject faults.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tov {

// File attribute bits with the values Windows gives them.
enum : uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrNormal = 0x80,
};

// A broken-down local time.
struct DateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

struct FindEntry {
  std::string name;  // name only, no folder part
  uint32_t attributes = 0;
  uint64_t size = 0;
  bool IsDirectory() const { return (attributes & kAttrDirectory) != 0; }
};

// A folder's listing read in steps: each entry is read from the file system
// when it is asked for, in the order FindFiles gives them. The listing is
// held open until this is destroyed. A folder that changes meanwhile gives
// entries as the system sees them then; one that goes ends the listing.
class IFileFind {
 public:
  virtual ~IFileFind() = default;
  // The next entry; false at the end.
  virtual bool Next(FindEntry* out) = 0;
};

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;
  virtual bool FileExists(const std::string& path) = 0;  // a file, not a folder
  virtual bool DirExists(const std::string& path) = 0;
  // Creates one folder whose parent exists; true when it exists afterwards.
  virtual bool CreateDir(const std::string& path) = 0;
  virtual bool RemoveDir(const std::string& path) = 0;  // empty folders only
  virtual bool ReadFile(const std::string& path, std::string* bytes) = 0;
  // Creates or truncates the file and writes all bytes; false on any failure.
  virtual bool WriteFile(const std::string& path, const std::string& bytes) = 0;
  // Adds the bytes at the end of the file, creating it when missing; others
  // may append to the same file between two calls. False on any failure.
  virtual bool AppendFile(const std::string& path, const std::string& bytes) = 0;
  virtual bool DeleteFile(const std::string& path) = 0;
  // Renames a file; with replace, an existing target is replaced atomically.
  virtual bool MoveFile(const std::string& from, const std::string& to, bool replace) = 0;
  virtual bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) = 0;
  // Wildcard search ("*" and "?") in the folder part of the pattern, in the
  // order the file system returns entries; "." and ".." included when they match.
  virtual std::vector<FindEntry> FindFiles(const std::string& pattern) = 0;
  // A file's last-write time in local time; false for a folder or no file.
  virtual bool LastWriteTime(const std::string& path, DateTime* out) = 0;
  // The full path of the running executable.
  virtual std::string ExePath() = 0;
  // Where a file or folder really is once every junction and symbolic link
  // on its way is followed; empty when it cannot be opened.
  virtual std::string FinalPath(const std::string& path) {
    return DirExists(path) || FileExists(path) ? path : std::string();
  }
  // FindFiles in steps (IFileFind); never null. This default reads the whole
  // listing at once.
  virtual std::unique_ptr<IFileFind> StartFind(const std::string& pattern);
  // The attributes (kAttr*) of the one entry path names, a file or a folder
  // without wildcards; false when there is none. This default lists it.
  virtual bool EntryAttributes(const std::string& path, uint32_t* attributes);
  // Whether the path is on a disk of this machine, which answers at once (not
  // a network share, which may keep a caller waiting, nor a disc). This
  // default: every path but a UNC one.
  virtual bool OnLocalDisk(const std::string& path) { return path.rfind("\\\\", 0) != 0; }
};

// Creates a folder with every missing parent; true when it exists afterwards.
bool ForceDirectories(IFileSystem& fs, const std::string& path);

// Writes a file so that a failure never leaves a truncated file behind: the
// bytes go to a temporary file beside the target, which replaces the target
// only once it is complete.
bool WriteFileSafely(IFileSystem& fs, const std::string& path, const std::string& bytes);

}  // namespace tov
