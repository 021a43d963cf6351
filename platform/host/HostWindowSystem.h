// Headless windows: each keeps its rectangle, styles, z-order, timers and the
// history of its positions; posted messages wait in one queue until a test
// (or the headless message loop) pumps them; timers fire as the host clock
// advances.
#pragma once
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Window.h"
#include "platform/host/HostForm.h"

namespace tov::host {

class HostSystem;
class HostWindowSystem;

class HostWindow : public IWindow {
 public:
  HostWindow(HostWindowSystem* owner, WindowId id, IWindowHandler* handler, const WindowParams& params);
  ~HostWindow() override;

  WindowId Id() const override { return id_; }
  Rect WindowRect() override { return rect_; }
  Rect ClientRectOnScreen() override;
  void SetWindowPos(intptr_t insertAfter, const Rect& bounds, uint32_t flags) override;
  int32_t GetLong(int index) override { return index == GWL_EXSTYLE ? int32_t(exStyle_) : int32_t(style_); }
  void SetLong(int index, int32_t value) override;
  void Post(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
  intptr_t DefaultHandling(const Message& m) override;
  void UpdateNow() override { ++updates; }
  void Invalidate() override { ++invalidations; }
  bool IsActive() override;
  void Activate() override;
  void BringToForeground() override {
    ++foregroundRequests;
    Activate();
  }
  bool IsVisible() override { return visible_; }
  void Show(bool visible) override;
  void SetTimer(uint32_t id, uint32_t ms) override;
  void KillTimer(uint32_t id) override;
  void DeleteSystemMenuCommand(uint32_t command) override { systemMenu.erase(command); }
  void ShowTaskbarEntry(bool show) override {
    taskbarEntry = show;
    ++taskbarAsks;
  }
  void SetCaption(const std::string& caption) override { caption_ = caption; }
  void StartSystemMove() override { ++systemMoves; }
  void Destroy() override;
  bool RegisterHotkey(int id, uint32_t modifiers, uint32_t key) override;
  void UnregisterHotkey(int id) override;
  void SetAccessibleSource(IAccessibleSource* source) override { accessible = source; }
  void NotifyAccessibleFocus(int child) override { focusEvents.push_back(child); }

  // Sends a message straight to the handler, as SendMessage does.
  intptr_t Send(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0);
  bool Destroyed() const { return destroyed_; }
  IWindowHandler* Handler() const { return handler_; }
  const std::string& Caption() const { return caption_; }
  uint32_t Style() const { return style_; }
  uint32_t ExStyle() const { return exStyle_; }

  // Observable state for tests.
  intptr_t zOrder = HWND_NOTOPMOST;  // last z-order placement
  // Whether the task bar shows the window: as its styles say (a tool window
  // has no entry unless one is added) until the task-bar object is asked.
  bool taskbarEntry = true;
  int taskbarAsks = 0;  // calls to the task-bar object
  bool EntryByStyle() const { return !(exStyle_ & WS_EX_TOOLWINDOW) || (exStyle_ & WS_EX_APPWINDOW); }
  int updates = 0;
  int invalidations = 0;
  int frameChanges = 0;
  int systemMoves = 0;
  int foregroundRequests = 0;
  std::vector<Rect> history;  // every rectangle the window took, in order
  IAccessibleSource* accessible = nullptr;
  std::vector<int> focusEvents;  // every NotifyAccessibleFocus, in order
  std::map<uint32_t, bool> systemMenu{{SC_RESTORE, true}, {SC_MOVE, true}, {SC_MINIMIZE, true}, {SC_MAXIMIZE, true}};

  struct Timer {
    uint32_t interval = 0;
    uint32_t due = 0;
  };
  std::map<uint32_t, Timer> timers;

 private:
  friend class HostWindowSystem;
  HostWindowSystem* owner_;
  WindowId id_;
  IWindowHandler* handler_;
  Rect rect_;
  uint32_t style_;
  uint32_t exStyle_;
  std::string caption_;
  bool visible_ = false;
  bool destroyed_ = false;
};

class HostWindowSystem : public IWindowSystem {
 public:
  explicit HostWindowSystem(HostSystem* system) : system_(system) {}

  std::unique_ptr<IWindow> CreateTopLevel(const WindowParams& params, IWindowHandler* handler) override;
  // Pumps posted messages until the queue is empty. A request to quit takes
  // effect once the messages already posted are handled, as WM_QUIT does.
  int RunMessageLoop() override;
  void QuitMessageLoop(int code) override;
  WindowId ActiveWindow() override { return active_; }
  // Answers from menuChoices (captions, with "/" between the levels of a
  // sub-menu; an empty text dismisses the menu), else dismisses it. Every
  // menu shown is kept in shownMenus.
  int TrackPopupMenu(const std::vector<MenuEntry>& entries, Point at, WindowId owner) override;
  std::deque<std::string> menuChoices;
  struct ShownMenu {
    std::vector<MenuEntry> entries;
    Point at;
    WindowId owner = 0;
    // A sub-menu made in steps: how many entries it showed at once, and the
    // sizes of the batches added after (the system's idle steps, all run).
    size_t madeAtOnce = 0;
    std::vector<size_t> batches;
  };
  std::vector<ShownMenu> shownMenus;
  // Dialogs: each is a HostForm. When one runs, the first of modalScripts
  // plays the user on it (types into its edits, presses its buttons); with
  // no script the dialog is closed with its close box. Every dialog shown is
  // kept in shownForms by name, its owner in modalOwners. failForms and
  // failControls make the next dialogs or controls fail to be made.
  std::unique_ptr<INativeForm> CreateForm(const FrameDesc& frame, WindowId owner, IFormEvents& events) override;
  std::deque<std::function<void(HostForm& form)>> modalScripts;
  int failForms = 0;
  int failControls = 0;
  std::vector<std::string> shownForms;
  std::vector<WindowId> modalOwners;

  void PostTo(WindowId id, uint32_t msg, uintptr_t wParam, intptr_t lParam);
  // Posts to every window there is (as a broadcast does), in creation order.
  void PostToAll(uint32_t msg, uintptr_t wParam, intptr_t lParam);
  // A shell started anew shows each window's entry as its styles say.
  void ForgetTaskbarEntries();
  // Delivers posted messages until none is left; answers how many were handled.
  int Pump();
  // Moves the host clock on by ms, firing due timers (and pumping after each).
  void AdvanceTime(uint32_t ms);
  HostWindow* Find(WindowId id) const;
  size_t WindowCount() const { return windows_.size(); }
  void SetActive(WindowId id) { active_ = id; }
  bool QuitRequested() const { return quit_; }
  HostSystem& System() { return *system_; }

  // Global hotkeys: the combinations held by other programs (registering
  // them fails), and those windows registered, each with its window and id.
  struct HotkeyOwner {
    WindowId window = 0;
    int id = 0;
  };
  std::set<std::pair<uint32_t, uint32_t>> takenHotkeys;
  std::map<std::pair<uint32_t, uint32_t>, HotkeyOwner> hotkeys;
  int hotkeyAttempts = 0;
  // The user presses a combination: its window gets WM_HOTKEY (posted, then
  // pumped); false when no window holds it.
  bool PressHotkey(uint32_t modifiers, uint32_t key);

  // Other programs' windows, topmost first, as tests script them;
  // BringWindowForward puts one on top (restored) and in the foreground.
  std::vector<TopLevelWindow> TopLevelWindows() override { return otherWindows; }
  bool BringWindowForward(WindowId id) override;
  WindowId ForegroundWindow() override { return foreground; }
  std::vector<TopLevelWindow> otherWindows;
  std::vector<WindowId> broughtForward;
  WindowId foreground = 0;

 private:
  friend class HostWindow;
  void Forget(WindowId id);

  struct Posted {
    WindowId window;
    Message m;
  };
  HostSystem* system_;
  std::map<WindowId, HostWindow*> windows_;
  std::deque<Posted> queue_;
  WindowId nextId_ = 0x10010;
  WindowId active_ = 0;
  bool quit_ = false;
  bool quitPending_ = false;
  int quitCode_ = 0;
};

}  // namespace tov::host
