// Top-level windows on the Win32 API. The window procedure only translates:
// every message goes to the logic's handler as a neutral Message, WM_PAINT
// becomes a Paint call on a GDI canvas, and DefaultHandling is DefWindowProc.
#pragma once
#include "platform/win32/WinApi.h"

#include <memory>

#include "platform/Window.h"
#include "platform/win32/Win32Accessible.h"

namespace tov::win32 {

class Win32Window : public IWindow {
 public:
  explicit Win32Window(IWindowHandler* handler) : handler_(handler) {}
  ~Win32Window() override;

  WindowId Id() const override { return WindowId(hwnd_); }
  Rect WindowRect() override;
  Rect ClientRectOnScreen() override;
  void SetWindowPos(intptr_t insertAfter, const Rect& bounds, uint32_t flags) override;
  int32_t GetLong(int index) override;
  void SetLong(int index, int32_t value) override;
  void Post(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
  intptr_t DefaultHandling(const Message& m) override;
  void UpdateNow() override;
  void Invalidate() override;
  bool IsActive() override;
  void Activate() override;
  void BringToForeground() override;
  bool IsVisible() override;
  void Show(bool visible) override;
  void SetTimer(uint32_t id, uint32_t ms) override;
  void KillTimer(uint32_t id) override;
  void DeleteSystemMenuCommand(uint32_t command) override;
  void ShowTaskbarEntry(bool show) override;
  void SetCaption(const std::string& caption) override;
  void StartSystemMove() override;
  void Destroy() override;
  void AllowMessageFromOthers(uint32_t msg) override;
  void ListenForSessionChanges() override;
  bool RegisterHotkey(int id, uint32_t modifiers, uint32_t key) override;
  void UnregisterHotkey(int id) override;
  void SetAccessibleSource(IAccessibleSource* source) override { accessible_->source = source; }
  void NotifyAccessibleFocus(int child) override;

  HWND hwnd() const { return hwnd_; }
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  void PaintNow();
  HWND hwnd_ = nullptr;
  IWindowHandler* handler_;
  bool destroyed_ = false;
  bool sessionNotices_ = false;
  std::shared_ptr<AccessibleLink> accessible_ = std::make_shared<AccessibleLink>();
};

class Win32WindowSystem : public IWindowSystem {
 public:
  std::unique_ptr<IWindow> CreateTopLevel(const WindowParams& params, IWindowHandler* handler) override;
  int RunMessageLoop() override;
  void QuitMessageLoop(int code) override;
  WindowId ActiveWindow() override { return WindowId(GetActiveWindow()); }
  int TrackPopupMenu(const std::vector<MenuEntry>& entries, Point at, WindowId owner) override;
  std::unique_ptr<INativeForm> CreateForm(const FrameDesc& frame, WindowId owner, IFormEvents& events) override;
  bool PostsFromThreads() override { return true; }
  // Handles the messages waiting now, without blocking; answers false once WM_QUIT came.
  bool PumpWaiting();
  std::vector<TopLevelWindow> TopLevelWindows() override;
  bool BringWindowForward(WindowId id) override;
  WindowId ForegroundWindow() override { return WindowId(GetForegroundWindow()); }
};

}  // namespace tov::win32
