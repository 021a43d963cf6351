// The window base of the bar: an application bar of the shell. Docked to an
// edge of a monitor the shell reserves its strip; floating it is an ordinary
// window; a docked bar may hide itself at the edge and slide back. Dragging
// proposes edges live and commits on release. The docking state is one
// 88-byte record in the registry.
//
// All geometry is arithmetic on the screen table and the window rectangle;
// everything the bar asks of the system goes through the platform seam, and
// its messages arrive through Dispatch from whichever window layer is below.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Dpi.h"
#include "docking/AppBarSettings.h"
#include "forms/WindowForm.h"

namespace tov {

// The shell's callback message for the bar.
constexpr uint32_t AppBarCallbackMessage = WM_USER + 100;
constexpr uint32_t kAutoHideTimerId = 1;
// The desktop changed (displays, work area, resume, session): the check runs
// once the notices of one change (several arrive for each) have stopped
// coming for this long.
constexpr uint32_t kScreenCheckTimerId = 2;
constexpr uint32_t kScreenCheckDelay = 300;
// The shell started again: a docked bar waits, at most this many steps of
// this many milliseconds, for the bars that lay between it and its edge.
constexpr uint32_t kShellReturnTimerId = 3;
constexpr uint32_t kShellReturnStep = 100;
constexpr int kShellReturnSteps = 20;
// The message the shell broadcasts to every window when it starts.
constexpr const char* kTaskbarCreatedName = "TaskbarCreated";
constexpr uintptr_t HKEY_CURRENT_USER_ROOT = 0x80000001;

struct TScreenInfo {
  Rect rcMonitor;
  Rect rcWork;
  Size szMonitor;
  Size szWork;
  int32_t MonitorFlags = 0;  // non-zero for the primary monitor
};

constexpr int kScreenTableSize = 10;

class TAppBar : public TForm {
 public:
  TAppBar();
  ~TAppBar() override;

  // --- Published properties: each reads and writes its settings field; a new
  // value takes effect at the next SetEdge or UpdateBar.
  TAppBarSettings& Settings() { return abs_; }
  const TAppBarSettings& Settings() const { return abs_; }
  TAppBarFlags Flags() const { return abs_.Flags; }
  void SetFlags(TAppBarFlags f) { abs_.Flags = f; }
  bool AutoHide() const { return abs_.AutoHide != 0; }
  void SetAutoHide(bool v) { abs_.AutoHide = v ? 1 : 0; }
  bool AlwaysOnTop() const { return abs_.AlwaysOnTop != 0; }
  void SetAlwaysOnTop(bool v) { abs_.AlwaysOnTop = v ? 1 : 0; }
  bool SlideEffect() const { return abs_.SlideEffect != 0; }
  void SetSlideEffect(bool v) { abs_.SlideEffect = v ? 1 : 0; }
  int SlideTime() const { return abs_.SlideTime; }
  void SetSlideTime(int ms);
  TAppBarTaskEntry TaskEntry() const { return TAppBarTaskEntry(abs_.TaskEntry); }
  void SetTaskEntry(TAppBarTaskEntry t) { abs_.TaskEntry = t; }
  int ScreenIndex() const { return abs_.ScreenIndex; }
  void SetScreenIndex(int i) { abs_.ScreenIndex = i; }
  const std::string& KeyName() const { return keyName_; }
  void SetKeyName(const std::string& k) { keyName_ = k; }
  uintptr_t RootKey() const { return rootKey_; }

  // The scale the bar is laid out and docked at: the DPI of the monitor it
  // is on. The settings' dock sizes are pixels at this scale; the stored
  // record keeps them in 96-DPI units. A new scale converts them.
  Dpi BarDpi() const { return dpi_; }
  void SetBarDpi(Dpi dpi);

  TAppBarEdge GetEdge() const;
  void SetEdge(TAppBarEdge edge);
  virtual void UpdateBar();
  virtual bool LoadSettings();
  virtual bool SaveSettings();

  // --- The screen table: filled by whoever knows the monitors (the bar
  // window's screen refresh), read by the geometry. GetScreenInfo measures
  // the primary monitor afresh; Screen answers the entry as it was filled.
  static void InitScreenCoord(Rect& rect, Size& size, int left, int top, int right, int bottom);
  TScreenInfo GetScreenInfo(int index);
  int ScreenCount() const { return screenCount_; }
  const TScreenInfo& Screen(int index) const;
  // The table from the monitors, the first kScreenTableSize of them in
  // their order; with none it holds one entry that stands for the primary
  // (MonitorFlags -1).
  void RefreshScreens(const std::vector<TScreenInfo>& screens);

  // --- Geometry.
  TAppBarEdge GetEdgeFromPoint(TAppBarFlags flags, Point p);
  TAppBarEdge CalcProposedState(Point p);
  void GetRect(TAppBarEdge edge, Rect& r);
  bool AdjustLocationForAutohide(bool show, Rect& r);
  void ShowHiddenAppBar(bool show);
  void SlideWindow(const Rect& target);
  TAppBarEdge GetAutohideEdge();
  uintptr_t AppBarMessage(uint32_t message, TAppBarEdge edge = abeFloat, intptr_t lParam = 0, bool useRect = false,
                          Rect* rect = nullptr);
  bool ModifyStyle(int index, uint32_t remove, uint32_t add, uint32_t extraFlags);

  static bool IsEdgeLeftOrRight(TAppBarEdge e) { return e == abeLeft || e == abeRight; }
  static bool IsEdgeTopOrBottom(TAppBarEdge e) { return e == abeTop || e == abeBottom; }
  static bool IsFloating(TAppBarEdge e) { return e == abeFloat; }
  static bool IsDockable(TAppBarFlags f) { return (f & 0x0F) != 0; }
  static bool IsDockableVertically(TAppBarFlags f) {
    return (f & (FlagBit(abfAllowLeft) | FlagBit(abfAllowRight))) != 0;
  }
  static bool IsDockableHorizontally(TAppBarFlags f) {
    return (f & (FlagBit(abfAllowTop) | FlagBit(abfAllowBottom))) != 0;
  }

  // --- The desktop changing under the bar.
  // A notice that the displays, the work area, the power state or the
  // session changed: one check follows the last notice of a burst.
  // workAreaOnly: the notice is a new work area and nothing else.
  void ScheduleScreenCheck(bool workAreaOnly = false);
  // The shell started again (its "TaskbarCreated"): it forgot the bar. The
  // bar registers again and, once the bars outside it on its edge are back,
  // takes its place again with its autohide; a floating bar stays.
  void OnShellRestarted();
  // The session ends (WM_ENDSESSION): the docking record and whatever else
  // is pending are written, the bar leaves the shell; nothing runs after.
  void EndSession();
  bool SessionEnded() const { return sessionEnded_; }
  // The registered number of "TaskbarCreated"; 0 when the system gave none.
  uint32_t TaskbarCreatedMessage() const { return taskbarCreated_; }
  // A floating rectangle that lies on no screen of the table is moved onto
  // the nearest one, inside its work area, keeping its size where it fits;
  // answers whether it moved.
  bool BringOntoScreen(Rect& r);

  // --- Run-time state.
  // The edge a drag proposes; abeUnknown when no drag is under way.
  TAppBarEdge ProposedEdge() const { return proposedEdge_; }
  // A full-screen window is open on the bar's monitor.
  bool FullScreenAppOpen() const { return fullScreenAppOpen_; }
  // An autohide bar is slid out (a bar without autohide counts as shown).
  bool AutoHideIsVisible() const { return autoHideIsVisible_; }

 protected:
  // Hooks, with the base behaviour.
  virtual void OnBeforeTimer() {}
  virtual void OnAppBarStateChange(bool proposed, TAppBarEdge edge);
  virtual void OnAppBarForcedToDocked();
  virtual void OnABNFullScreenApp(bool open);
  virtual void OnABNPosChanged();
  virtual void OnABNWindowArrange(bool beginning) { (void)beginning; }
  // The coalesced check after the desktop changed. The base docks the bar
  // again with the screen table as it is, and brings a floating bar that
  // lies on no screen back onto the nearest one; the bar window refreshes
  // the table first.
  virtual void OnScreensChanged();
  // Called by EndSession after the docking record was written: whatever
  // else the window keeps is written here.
  virtual void OnSessionEnding() {}
  // A visible, enabled control drawn on the bar lies under this screen point;
  // dragging there must not move the bar.
  virtual bool ControlAtPoint(Point screen) {
    (void)screen;
    return false;
  }

  void CreateParams(WindowParams& params) override;
  intptr_t Dispatch(Message& m) override;

 private:
  void OnCreate();
  void OnDestroy();
  void OnAppBarTimer();
  intptr_t OnNcHitTest(Message& m);
  void OnMoving(Rect* r);
  void OnSizing(int side, Rect* r);
  void OnGetMinMaxInfo(MinMaxInfo* info);
  void OnEnterSizeMove();
  void OnExitSizeMove();
  void OnAppBarCallbackMsg(const Message& m);
  void ApplyTaskEntry(TAppBarEdge edge);
  void RunScreenCheck();
  // A docked bar is still offered the rectangle it holds.
  bool PlaceHolds();
  // step: a tick of the waiting time (rather than a notice from the shell).
  void ReturnToShell(bool step);

  TAppBarSettings abs_;
  Dpi dpi_;
  std::array<TScreenInfo, kScreenTableSize> screens_;
  int screenCount_ = 1;
  TAppBarEdge proposedEdge_ = abeUnknown;
  bool fullScreenAppOpen_ = false;
  bool autoHideIsVisible_ = false;
  std::string keyName_ = "Software\\Brenvoll\\AppBar";
  uintptr_t rootKey_ = HKEY_CURRENT_USER_ROOT;
  bool timerRunning_ = false;
  uint32_t taskbarCreated_ = 0;
  bool sessionEnded_ = false;
  // Whether the bar asked the shell for a task-bar entry (and did not take it
  // away since); the shell forgets it when it restarts.
  bool taskEntryAdded_ = false;
  // Where the bar stood when the shell restarted, and how long it waited.
  Rect shellReturnPlace_;
  int shellReturnSteps_ = 0;
  bool returning_ = false;
  bool onlyWorkArea_ = true;  // every notice since the last check was a new work area
};

}  // namespace tov
