// A folder watched with overlapped ReadDirectoryChangesW, issued from the
// user-interface thread: the read's event is one of the handles its message
// loops wait on (Win32Signals), so no thread is needed. Each batch of changes
// posts the window's message; renames are kept for the logic to take. The
// destructor cancels the read in progress.
#include "platform/win32/WinApi.h"

#include <utility>
#include <vector>

#include "platform/win32/Win32Scoped.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Signals.h"
#include "platform/win32/Win32Text.h"

namespace tov::win32 {

namespace {

class Win32FolderWatch : public IFolderWatch {
 public:
  Win32FolderWatch(ScopedHandle folder, ScopedHandle done, HWND window, UINT message)
      : folder_(std::move(folder)), done_(std::move(done)), window_(window), message_(message) {}
  // Asks for the first changes; false when the folder cannot be watched.
  bool Start() {
    if (!Read()) return false;
    if (!AddSignal(done_.Get(), [this] { Completed(); })) {
      Cancel();
      return false;
    }
    return true;
  }
  ~Win32FolderWatch() override {
    RemoveSignal(done_.Get());
    Cancel();
  }
  std::vector<FolderRename> TakeRenames() override { return std::exchange(renames_, {}); }

 private:
  bool Read() {
    const DWORD filter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE |
                         FILE_NOTIFY_CHANGE_LAST_WRITE;
    overlapped_ = OVERLAPPED{};
    overlapped_.hEvent = done_.Get();
    ResetEvent(done_.Get());
    reading_ = ReadDirectoryChangesW(folder_.Get(), buffer_, sizeof buffer_, FALSE, filter, nullptr, &overlapped_,
                                     nullptr) != FALSE;
    return reading_;
  }

  // A read in progress is cancelled and waited for, as the buffer must
  // outlive it.
  void Cancel() {
    if (!reading_) return;
    CancelIo(folder_.Get());
    DWORD ignored = 0;
    GetOverlappedResult(folder_.Get(), &overlapped_, &ignored, TRUE);
    reading_ = false;
  }

  // The read ended: its changes are told, and the next one is asked for.
  void Completed() {
    DWORD bytes = 0;
    if (!GetOverlappedResult(folder_.Get(), &overlapped_, &bytes, FALSE)) {
      if (GetLastError() == ERROR_IO_INCOMPLETE) return;
      // The folder went away, or its drive did.
      Ended();
      return;
    }
    reading_ = false;
    KeepRenames(reinterpret_cast<const unsigned char*>(buffer_), bytes);
    PostMessageW(window_, message_, 0, 0);
    if (!Read()) Ended();
  }

  void Ended() {
    reading_ = false;
    RemoveSignal(done_.Get());
    PostMessageW(window_, message_, kFolderWatchEnded, 0);
  }

  void KeepRenames(const unsigned char* buffer, DWORD bytes) {
    std::string from;
    DWORD at = 0;
    while (bytes > 0 && at + sizeof(FILE_NOTIFY_INFORMATION) <= bytes) {
      const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + at);
      const std::string name = Utf8Text(info->FileName, int(info->FileNameLength / sizeof(WCHAR)));
      if (info->Action == FILE_ACTION_RENAMED_OLD_NAME) {
        from = name;
      } else if (info->Action == FILE_ACTION_RENAMED_NEW_NAME && !from.empty()) {
        renames_.push_back(FolderRename{from, name});
        from.clear();
      }
      if (info->NextEntryOffset == 0) break;
      at += info->NextEntryOffset;
    }
  }

  ScopedHandle folder_;
  ScopedHandle done_;
  HWND window_;
  UINT message_;
  OVERLAPPED overlapped_{};
  bool reading_ = false;
  std::vector<FolderRename> renames_;
  // DWORD-aligned, as the call requires; a batch larger than this is told
  // as an overflow (no names), which is still a change.
  DWORD buffer_[16 * 1024];
};

}  // namespace

std::unique_ptr<IFolderWatch> Win32Shell::WatchFolder(const std::string& folder, WindowId window, uint32_t message) {
  ScopedHandle dir(CreateFileW(WideText(folder).c_str(), FILE_LIST_DIRECTORY,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
  if (!dir) return nullptr;
  ScopedHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!done) return nullptr;
  auto watch = std::make_unique<Win32FolderWatch>(std::move(dir), std::move(done), reinterpret_cast<HWND>(window),
                                                  UINT(message));
  if (!watch->Start()) return nullptr;
  return watch;
}

}  // namespace tov::win32
