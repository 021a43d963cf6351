// Files, the registry, message boxes and the system's parameters on the Win32 API.
#pragma once
#include <cstdint>
#include <mutex>

#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/System.h"

namespace tov::win32 {

class Win32FileSystem : public IFileSystem {
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
  std::string ExePath() override;
  // Win32Folders.cpp.
  std::string FinalPath(const std::string& path) override;
  // FindFirstFile's handle held until the listing is destroyed.
  std::unique_ptr<IFileFind> StartFind(const std::string& pattern) override;
  bool EntryAttributes(const std::string& path, uint32_t* attributes) override;
  bool OnLocalDisk(const std::string& path) override;

 private:
  // Each drive letter's kind as last asked, and when (GetTickCount64).
  struct DriveKind {
    unsigned kind = 0;
    uint64_t asked = 0;
  };
  std::mutex drivesLock_;
  DriveKind drives_[26];
};

class Win32Registry : public IRegistry {
 public:
  bool KeyExists(const std::string& key) override;
  bool CreateKey(const std::string& key) override;
  bool ReadValue(const std::string& key, const std::string& name, RegValue* out) override;
  bool WriteString(const std::string& key, const std::string& name, const std::string& value) override;
  bool WriteBinary(const std::string& key, const std::string& name, const std::vector<uint8_t>& value) override;
  bool DeleteValue(const std::string& key, const std::string& name) override;
};

class Win32System : public ISystem {
 public:
  int GetSystemMetrics(int index) override;
  int GetSystemMetricsForDpi(int index, int dpi) override;
  bool DragFullWindows() override;
  Rect WorkArea() override;
  bool KeyDown(int vk) override;
  bool AsyncKeyDown(int vk) override;
  Point MessagePos() override;
  Point CursorPos() override;
  uint32_t TickCount() override;
  void Sleep(uint32_t ms) override;
  DateTime Now() override;
  bool SpecialFolderPath(int csidl, std::string* path) override;
  OsVersion Version() override;
  std::string FormatShortDate(const DateTime& t) override;
  std::string FormatTime(const DateTime& t) override;
  char DecimalSeparator() override;
  std::string UserInterfaceLanguage() override;
  bool HighContrast() override;
};

class Win32Dialogs : public IDialogs {
 public:
  int MessageBox(const std::string& text, const std::string& caption, uint32_t style) override;
  bool BrowseForFolder(uintptr_t owner, const std::string& initial, std::string* chosen) override;
  // Win32CommonDialogs.cpp
  bool ChooseColor(uintptr_t owner, Color initial, Color* chosen) override;
  bool ChooseFont(uintptr_t owner, FontSpec* font) override;
  bool OpenFileName(uintptr_t owner, const FileDialogRequest& request, std::string* chosen) override;
  bool SaveFileName(uintptr_t owner, const FileDialogRequest& request, std::string* chosen) override;
};

}  // namespace tov::win32
