// The bar window: the program's main form, an application bar that docks to
// a screen edge or floats, claims one of ten instance slots by the path of its
// executable and keeps its docking state under that slot's registry key. Its
// buttons are windowless speed buttons laid out from the button table of the
// data module it is given; the source folder of those buttons, their folder
// menus, the themes and the docking glue are parts it owns (SourceFolder.h,
// FolderMenus.h, BarThemes.h, BarDocking.h).
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bar/BarDocking.h"
#include "bar/BarHotkeys.h"
#include "bar/BarIcons.h"
#include "bar/BarKeyboard.h"
#include "bar/BarScreens.h"
#include "bar/BarThemes.h"
#include "bar/ButtonDrag.h"
#include "bar/FolderDrop.h"
#include "bar/FolderMenus.h"
#include "bar/LaunchSwitch.h"
#include "bar/LiveFolder.h"
#include "bar/RunningMarks.h"
#include "bar/SourceFolder.h"
#include "controls/ButtonHost.h"
#include "controls/ButtonStyle.h"
#include "docking/AeroGlass.h"
#include "docking/AppBar.h"
#include "forms/Component.h"
#include "settings/Settings.h"
#include "tables/RecordTable.h"

namespace tov {

// Posted to itself when first shown: the buttons are loaded then.
constexpr uint32_t kAfterShowMessage = 1805;
constexpr uint32_t kDelayedUpdateMessage = 1807;
// Posted to itself after a layout whose hotkeys had problems to tell.
constexpr uint32_t kHotkeyReportMessage = 1833;

extern const char* const kInstanceRootKey;  // "Software\Brenvoll\ToviraRoot"
extern const char* const kRunKey;           // "Software\Microsoft\Windows\CurrentVersion\Run"
std::string InstanceValueName(int slot);    // "Brenvoll.Tovira_" + slot
std::string BarKeyName(int slot);           // "Software\Brenvoll\Tovira_" + slot

class TDataModule;
class TSettingsStore;

class TBarWindow : public TAppBar, public TButtonHost, public IBarBackground, public IAccessibleSource {
 public:
  // The data module, the bar's settings, the user store they are read from
  // and the monitor list outlive the bar: the program's start-up makes them
  // first (TProgramRun) and hands them over.
  TBarWindow(TDataModule& data, TBarSettings& settings, TSettingsStore& store, TMonitorList& monitors);
  ~TBarWindow() override;

  // --- Start-up and instance.
  int ClaimInstanceSlot();
  void SetAutoStart(bool on);
  void ApplyBorderStyle();
  bool FixScreenIndex();
  void ApplyPanelFlags();
  bool FirstStart() const { return firstStart_; }
  // A second start of this copy of the program (RunningCopy.h) posts the
  // wake message; the bar then comes forward: shown, slid out, activated.
  void ComeForward();
  uint32_t WakeMessage() const { return wakeMessage_; }

  // --- Handlers bound by the form resource.
  void FormShow();
  void OnAfterShow();
  void FormClose();
  void FormDestroy();
  void FormMouseMove();
  void PopupMenuPopup();
  void PopCloseClick() { Close(); }
  void PopDockClick(TAppBarEdge edge) { docking_.DockClick(edge); }
  void PopSelectMonitorClick(Component& item);
  void PopLinguaClick(Component& item);
  void PopFolderClick();
  void PopOpenFolderClick();
  void PopRefreshFolderClick(bool keep);
  // The settings dialog on the user's settings; once confirmed, the bar
  // takes them up.
  void PopSettingsClick();
  void BuildLanguageMenu();
  void BuildMonitorsMenu();

  // --- Themes.
  TBarThemes& Themes() { return themes_; }

  // --- The source folder. Refills the button table from the folder's
  // entries (keep: keeping what was set for entries still there) and
  // rebuilds the bar; false, with nothing changed, when the folder is missing
  // or the previous button list cannot be read.
  bool RefreshFromFolder(const std::string& folder, bool keep);

  // --- Launching and folder menus.
  // Opens the button's target (a folder-menu button pops its menu up).
  void ButtonClick(TLbSpeedButton& button);
  // The folder menus made again for the buttons as they stand.
  void BuildFolderMenus();
  const TFolderMenus& FolderMenus() const { return folderMenus_; }
  // The buttons' icons, fetched after each layout.
  const TBarIcons& Icons() const { return icons_; }
  // The source folder watched: what is added, removed or renamed there
  // reaches the bar by itself.
  TLiveFolder& LiveFolder() { return live_; }
  // A button dragged along the bar to another place (ButtonDrag.h).
  const TBarDrag& Drag() const { return drag_; }
  // The rectangles of the bar's positions (buttons and separators) in their order.
  std::vector<Rect> PositionRects();

  // --- Dropped files: one shortcut and one button for each item.
  void WmDropFiles(uintptr_t drop);

  // --- Layout.
  void RebuildBar();
  void ClearBar();
  void ComputeDockSizes(Size button, int rows);
  void AddBevelRect();
  void StretchSeparators(int widest, int tallest);
  void UpdatePaintHandler();
  void ApplyBackground();
  void FormPaint(ICanvas& canvas);
  static void PaintSeparator(ICanvas& canvas, const Rect& r);
  void PaintEmptyHint(ICanvas& canvas);
  Size BarMargins() const;  // in pixels at the bar's scale
  Size FrameSize() const;
  // The scale of the monitor the bar is laid out for (a floating bar: the
  // one under the middle of its place), and the bar taking it (BarDpi).
  Dpi MonitorLayoutDpi() const;
  void AdoptMonitorDpi();

  // IBarBackground: what reloading the settings resets.
  void DropBackgroundBitmap() override;
  void SetBackgroundColor(int32_t color) override;
  Color BackgroundColor() const { return color_; }
  const Bitmap& BackgroundBitmap() const { return brushBitmap_; }
  bool PaintHandlerSet() const { return paintHandler_; }
  TAeroGlass* Glass() const { return glass_.get(); }

  // The form's components: its menus and the rest of its resource.
  Component& FormComponent() { return *form_; }
  Component& Menu(const std::string& name) { return *form_->Find(name); }

  // The folder the buttons come from and whose button list they are saved in.
  const std::string& SourceFolder() const { return source_.Path(); }
  // The etched lines: the grip line first, then one per separator row.
  const std::vector<Rect>& SeparatorRects() const { return separatorRects_; }
  // The edge the bar was last laid out for.
  TAppBarEdge LastEdge() const { return docking_.LastEdge(); }
  // The instance slot claimed at start (-1: none could be).
  int BarInstanceIndex() const { return instanceSlot_; }
  // The device name of the monitor the bar is meant to live on (BarScreens.h).
  const std::string& ScreenDevice() const { return screens_.Device(); }
  // Run when the session ends, after everything was written: the program
  // gives back this copy's claim.
  void SetOnSessionEnded(std::function<void()> then) { docking_.SetOnSessionEnded(std::move(then)); }

  // The docking record, and beside it the name of the monitor meant.
  bool LoadSettings() override;
  bool SaveSettings() override;

  void Paint(ICanvas& canvas) override;
  // The button a button-menu command acts on (the one the menu opened on).
  TLbSpeedButton* MenuButton() const { return menuButton_; }
  void PopBtnSpostaClick(bool after);
  void PopBtnRinominaClick();
  void PopBtnEliminaClick();
  // The shell's own context menu for the button's target (ShellMenus.cpp):
  // "Menu di sistema" on the button menu, and Shift with a right click.
  void PopBtnMenuSistemaClick();
  bool ShellMenuClick(const Message& m);

  // --- The keyboard (BarKeys.cpp). The hotkeys registered again for the
  // buttons as they stand; a hotkey pressed (false: none of the bar's).
  void RegisterHotkeys();
  bool HotkeyPressed(int id);
  const TBarHotkeys& Hotkeys() const { return hotkeys_; }
  // The bar's hotkey: the bar comes out with the keyboard focus; Esc gives
  // it back to the window that had it.
  void TakeKeyboardFocus();
  void GiveKeyboardFocusBack();
  const TBarKeyboard& Keyboard() const { return keyboard_; }
  // A click on a button: its program's window brought forward when one
  // runs, else its target opened (Shift: a new copy; Ctrl+Shift: as
  // administrator).
  void LaunchOrSwitch(TLbSpeedButton& button);
  TLbSpeedButton* ButtonByTag(int tag) const;
  // IAccessibleSource: the bar as a toolbar with a child per button.
  AccessibleItem Root() override;
  std::vector<AccessibleItem> Children() override;
  int FocusedChild() override;
  void DoDefaultAction(int child) override;

  // IButtonParent.
  void InvalidateArea(const Rect& area, bool now) override;
  bool Showing() override { return Visible(); }
  Point ClientToScreen(Point p) override;
  void PopupAt(Component& menu, Point screen) override;

 protected:
  intptr_t Dispatch(Message& m) override;
  void OnAppBarStateChange(bool proposed, TAppBarEdge edge) override;
  bool ControlAtPoint(Point screen) override;
  // The displays changed: the monitor list, the screen table, the monitor
  // the bar lives on and the "Schermo" menu are made again, then the bar is
  // laid out and docked again.
  void OnScreensChanged() override;
  void OnSessionEnding() override;

 private:
  TLbSpeedButton& AddBarButton(TRecordTable& links, int order, Dpi dpi);
  intptr_t MouseMessage(Message& m);
  void BindHandlers();
  // The list read before the window is made; then what the first showing adds.
  void ReadButtonList();
  std::string SourceFolderSetting();
  void LoadButtons();
  void ListenForSecondStarts();
  // The form's texts in that language, from the built-in ones.
  void ApplyBarLanguage(const std::string& language);
  intptr_t KeyMessage(Message& m);
  void UpdateKeyTargets();
  void PressButton(TLbSpeedButton& button);
  void FocusMoved();
  void OpenFocusedMenu();
  void ApplyKeyAction(BarKeyAction action);
  void PaintFocusMark(ICanvas& canvas);
  // High contrast (BarContrast.cpp): whether the system's mode is on, asked
  // again when its colours or settings change; the buttons marked for it.
  void FollowSystemColours();
  void MarkButtonsForContrast();
  // The running mark (BarRunning.cpp): its timer started or stopped as the
  // setting says, the marks looked at again, and painted.
  void UpdateRunningTimer();
  void RefreshRunningMarks();
  void PaintRunningMarks(ICanvas& canvas);
  bool BarShowing();

  TDataModule& data_;
  TBarSettings& settings_;
  TSettingsStore& store_;
  std::unique_ptr<Component> form_;
  TSourceFolder source_;
  TFolderMenus folderMenus_;
  TBarThemes themes_;
  TBarIcons icons_{*this, *this};
  TLiveFolder live_;
  TBarDrag drag_;
  TFolderDrop folderDrop_;
  TBarScreens screens_;
  std::vector<Rect> separatorRects_;
  int instanceSlot_ = -1;
  std::unique_ptr<TAeroGlass> glass_;
  bool firstStart_ = false;
  bool settingsReady_ = false;
  bool paintHandler_ = false;
  Color color_ = 0x8000000F;
  Bitmap brushBitmap_;
  TLbSpeedButton* menuButton_ = nullptr;
  uint32_t wakeMessage_ = 0;
  // How deep RebuildBar runs: meanwhile the buttons' immediate repaints only
  // invalidate the window.
  int rebuilding_ = 0;
  // What came of reading the button list before the window was shown, and
  // whether the bar has been laid out since.
  enum class EarlyList { NotRead, Read, Failed } earlyList_ = EarlyList::NotRead;
  bool laidOutSinceRead_ = false;
  TBarHotkeys hotkeys_;
  TBarKeyboard keyboard_;
  WindowId previousForeground_ = 0;
  std::vector<std::string> hotkeyProblems_;
  char16_t pendingHighSurrogate_ = 0;  // the first half of a typed character
  bool highContrast_ = false;
  TRunningMarks running_;
  // Docking, the desktop changing and the session's end (BarDocking.h).
  TBarDocking docking_;
};

}  // namespace tov
