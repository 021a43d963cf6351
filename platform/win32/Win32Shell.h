// The shell, the monitor functions of USER32 and the desktop compositor, on
// the Win32 API; the optional ones are looked up at run time.
#pragma once
#include "platform/Compositor.h"
#include "platform/Monitors.h"
#include "platform/Shell.h"

namespace tov::win32 {

class Win32Shell : public IShell {
 public:
  uintptr_t AppBarMessage(uint32_t message, AppBarData& data) override;
  bool Open(WindowId owner, const std::string& path, const std::string& params, const std::string& dir) override;
  std::string LastOpenError() override;
  bool OpenWithVerb(WindowId owner, const std::string& verb, const std::string& path) override;
  int IconIndex(const std::string& path, uint32_t flags) override;
  uintptr_t SystemImageList(bool small) override;
  void AcceptDroppedFiles(WindowId window, bool accept) override;
  uint32_t QueryDroppedFile(uintptr_t drop, uint32_t index, char* buffer, uint32_t size) override;
  void DragFinish(uintptr_t drop) override;
  int FullScreenWindowOn(const Rect& monitor) override;
  // Win32ShellIcons.cpp: the shell item's image factory, else the icon's
  // file and index extracted at the size, else the shell's own icon.
  bool IconPicture(const std::string& path, int pixels, Picture* out) override;
  // Win32FolderWatch.cpp.
  std::unique_ptr<IFolderWatch> WatchFolder(const std::string& folder, WindowId window, uint32_t message) override;
  // Win32Folders.cpp.
  int HiddenFilesShown() override;
  // Win32ShellMenu.cpp.
  bool ShowContextMenu(WindowId owner, const std::string& path, Point at, bool extended) override;

 private:
  unsigned long openError_ = 0;
};

class Win32MonitorApi : public IMonitorApi {
 public:
  ~Win32MonitorApi() override { FreeLibrary(); }
  bool LoadLibrary() override;
  void FreeLibrary() override;
  bool HasFunction(const std::string& name) override;
  void EnumMonitors(const std::function<void(MonitorHandle)>& each) override;
  bool GetMonitorInfo(MonitorHandle handle, RawMonitorInfo* out) override;

 private:
  void* library_ = nullptr;
};

class Win32Compositor : public ICompositor {
 public:
  ~Win32Compositor() override { FreeLibrary(); }
  bool LoadLibrary() override;
  void FreeLibrary() override;
  bool IsCompositionEnabled() override;
  bool ExtendFrameIntoClientArea(WindowId window, int left, int right, int top, int bottom) override;
  bool SetLayeredColorKey(WindowId window, Color key) override;

 private:
  void* library_ = nullptr;
  void* isEnabled_ = nullptr;
  void* extend_ = nullptr;
};

}  // namespace tov::win32
