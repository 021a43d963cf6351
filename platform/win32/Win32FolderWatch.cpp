// A folder watched with ReadDirectoryChangesW on a worker thread of its own:
// each batch of changes posts the window's message; renames are kept for the
// logic to take. Stopping sets an event the thread waits on with the read, so
// the destructor ends the thread without waiting on the file system.
#include "platform/win32/WinApi.h"

#include <mutex>
#include <thread>

#include "platform/win32/Win32Scoped.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Text.h"

namespace tov::win32 {

namespace {

class Win32FolderWatch : public IFolderWatch {
 public:
  Win32FolderWatch(ScopedHandle folder, ScopedHandle stop, ScopedHandle done, HWND window, UINT message)
      : folder_(std::move(folder)), stop_(std::move(stop)), done_(std::move(done)), window_(window), message_(message) {
    armed_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    thread_ = std::thread([this] { Run(); });
    // Changes before the first read would be lost: the watch is there once
    // the thread has asked for them (or has ended).
    if (armed_) WaitForSingleObject(armed_.Get(), 2000);
  }
  ~Win32FolderWatch() override {
    SetEvent(stop_.Get());
    if (thread_.joinable()) thread_.join();
  }
  std::vector<FolderRename> TakeRenames() override {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<FolderRename> out;
    out.swap(renames_);
    return out;
  }

 private:
  void Run() {
    auto* buffer = reinterpret_cast<unsigned char*>(buffer_);
    const DWORD filter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE |
                         FILE_NOTIFY_CHANGE_LAST_WRITE;
    for (;;) {
      OVERLAPPED overlapped{};
      overlapped.hEvent = done_.Get();
      ResetEvent(done_.Get());
      const BOOL reading =
          ReadDirectoryChangesW(folder_.Get(), buffer_, sizeof buffer_, FALSE, filter, nullptr, &overlapped, nullptr);
      if (armed_) SetEvent(armed_.Get());
      if (!reading) {
        PostMessageW(window_, message_, kFolderWatchEnded, 0);
        return;
      }
      HANDLE waits[2] = {stop_.Get(), done_.Get()};
      const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
      if (woke != WAIT_OBJECT_0 + 1) {
        // Stopped (or the wait failed): the read is cancelled and waited
        // for, as the buffer must outlive it.
        CancelIo(folder_.Get());
        DWORD ignored = 0;
        GetOverlappedResult(folder_.Get(), &overlapped, &ignored, TRUE);
        return;
      }
      DWORD bytes = 0;
      if (!GetOverlappedResult(folder_.Get(), &overlapped, &bytes, FALSE)) {
        // The folder went away, or its drive did.
        PostMessageW(window_, message_, kFolderWatchEnded, 0);
        return;
      }
      KeepRenames(buffer, bytes);
      PostMessageW(window_, message_, 0, 0);
    }
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
        std::lock_guard<std::mutex> lock(mutex_);
        renames_.push_back(FolderRename{from, name});
        from.clear();
      }
      if (info->NextEntryOffset == 0) break;
      at += info->NextEntryOffset;
    }
  }

  ScopedHandle folder_;
  ScopedHandle stop_;
  ScopedHandle done_;
  ScopedHandle armed_;
  HWND window_;
  UINT message_;
  std::mutex mutex_;
  std::vector<FolderRename> renames_;
  // DWORD-aligned, as the call requires; a batch larger than this is told
  // as an overflow (no names), which is still a change.
  DWORD buffer_[16 * 1024];
  std::thread thread_;
};

}  // namespace

std::unique_ptr<IFolderWatch> Win32Shell::WatchFolder(const std::string& folder, WindowId window, uint32_t message) {
  ScopedHandle dir(CreateFileW(WideText(folder).c_str(), FILE_LIST_DIRECTORY,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
  if (!dir) return nullptr;
  ScopedHandle stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ScopedHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!stop || !done) return nullptr;
  try {
    return std::make_unique<Win32FolderWatch>(std::move(dir), std::move(stop), std::move(done),
                                              reinterpret_cast<HWND>(window), UINT(message));
  } catch (const std::exception&) {
    return nullptr;  // no thread could be started
  }
}

}  // namespace tov::win32
