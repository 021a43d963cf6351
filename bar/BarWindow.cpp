#include "bar/BarWindow.h"
#include "controls/HighContrast.h"

#include <algorithm>
#include <iterator>

#include "bar/Themes.h"
#include "base/Product.h"
#include "controls/Appearance.h"
#include "controls/ButtonTable.h"
#include "dialogs/AboutBox.h"
#include "dialogs/ButtonLayout.h"
#include "dialogs/CrashReport.h"
#include "dialogs/SettingsDialog.h"
#include "docking/MonitorList.h"
#include "forms/ToviraMainForm.h"
#include "settings/UserData.h"
#include "tables/DataModule.h"
#include "tables/TableFiles.h"
#include "text/LanguageChoice.h"
#include "text/LanguageFiles.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"
#include "text/TranslateComponents.h"
#include "toolkit/PopupMenu.h"

namespace tov {

namespace {

// The messages the bar posts to itself, each under a number of its own: two
// parts choosing the same one would take each other's messages.
constexpr uint32_t kOwnMessages[] = {kAfterShowMessage,     kDelayedUpdateMessage, kHotkeyReportMessage,
                                     kFolderChangedMessage, kIconsStartMessage,    kIconsArrivedMessage};
constexpr bool AllDifferent() {
  for (size_t i = 0; i < std::size(kOwnMessages); ++i)
    for (size_t j = i + 1; j < std::size(kOwnMessages); ++j)
      if (kOwnMessages[i] == kOwnMessages[j]) return false;
  return true;
}
static_assert(AllDifferent(), "two of the bar's own messages share a number");

}  // namespace

const char* const kInstanceRootKey = "Software\\Brenvoll\\ToviraRoot";
const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string InstanceValueName(int slot) { return "Brenvoll.Tovira_" + std::to_string(slot); }
std::string BarKeyName(int slot) { return "Software\\Brenvoll\\Tovira_" + std::to_string(slot); }

namespace {
// Built by appending: `"literal" + std::string` inserts at the front, which
// GCC 12 at -O3 reports as an overlapping copy (a false -Wrestrict).
std::string QuotedExePath() {
  std::string quoted = "\"";
  quoted += Files().ExePath();
  quoted += '"';
  return quoted;
}
}  // namespace

TBarWindow::TBarWindow(TDataModule& data, TBarSettings& settings, TSettingsStore& store, TMonitorList& monitors)
    : data_(data),
      settings_(settings),
      store_(store),
      form_(BuildToviraMainForm()),
      source_(data.TblLinks, data.SaveFormat),
      folderMenus_(*this, *this, data.TblLinks, settings),
      themes_(*this, *this, data.TblLinks, data.SaveFormat, *form_, store, settings,
              [this] {
                // As after the settings dialog: glass takes the fixed border off.
                if (settings_.GlassPanel) settings_.FixedBorder = false;
                RebuildBar();
                ApplyPanelFlags();
              }),
      live_(*this, data.TblLinks, settings, [this] { RebuildBar(); }),
      drag_(*this, TBarDragHooks{[this] { return PositionRects(); },
                                 [this] { return GetEdge() == abeLeft || GetEdge() == abeRight; },
                                 [this](int from, int to) {
                                   // One step at a time, as "Sposta" moves it, then saved.
                                   for (int at = from, next = 0; at < to; at = next)
                                     if ((next = MoveButtonAfter(data_.TblLinks, at)) == at) break;
                                   for (int at = from, next = 0; at > to; at = next)
                                     if ((next = MoveButtonBefore(data_.TblLinks, at)) == at) break;
                                   RebuildBar();
                                 },
                                 [this] { Invalidate(); }}),
      folderDrop_(
          *this, *this, data.TblLinks, [this] { return source_.Path(); }, [this] { RebuildBar(); }),
      screens_(*this, monitors),
      docking_(
          *this, screens_,
          TBarDockingHooks{[this] { return settingsReady_; }, [this] { RebuildBar(); }, [this] { BuildMonitorsMenu(); },
                           [this] {
                             // The button list is saved at every change; a save that
                             // failed is done now.
                             if (!source_.Path().empty())
                               SaveButtonList(data_.TblLinks, source_.Path(), data_.SaveFormat);
                           }}) {
  drag_.SetFolderTargets([this] { return folderDrop_.Folders(); },
                         [this](int from, const std::string& folder, Point at) { folderDrop_.Drop(from, folder, at); });
  SetCaption(form_->caption);
  BindHandlers();
  ListenForSecondStarts();
  screens_.FillScreenTable();
  ReadBarSettings(store_, settings_, this);
  settingsReady_ = true;
  ApplyBorderStyle();
  BuildLanguageMenu();
  SetTaskEntry(abtHide);
  instanceSlot_ = ClaimInstanceSlot();
  SetKeyName(BarKeyName(instanceSlot_));
  if (Registry().KeyExists(KeyName())) {
    LoadSettings();
    FixScreenIndex();
    screens_.FollowDevice();
    AdoptMonitorDpi();
    if (GetEdge() == abeFloat) screens_.PlaceFloatingWindow();
  } else {
    // The first start docks at the top and shows the bar; once shown, it
    // says where the shortcuts live (OnAfterShow).
    firstStart_ = true;
    AdoptMonitorDpi();
    ComputeDockSizes(Size{BarDpi().Scale(21), BarDpi().Scale(21)}, 1);
    SetEdge(abeTop);
    screens_.FollowDevice();
  }
  ApplyPanelFlags();
  LoadUserTable(data_.TblThemes, "Data", "Themes", data_.SaveFormat);
  BuildMonitorsMenu();
  // Read now, the buttons are laid out as the window is made and docked: it
  // appears in its place and size, drawn whole.
  ReadButtonList();
}

TBarWindow::~TBarWindow() { DestroyHandle(); }

void TBarWindow::BindHandlers() {
  OnShow = [this] { FormShow(); };
  OnCloseForm = [this] { FormClose(); };
  OnDestroyForm = [this] { FormDestroy(); };
  OnPaint = [this](ICanvas& c) { FormPaint(c); };
  Component& f = *form_;
  // The window delivers its own events straight to the functions above; the
  // description names the same handlers, offered here so that every event
  // of the form finds one (painting outside the window's paint asks for one).
  f.SetHandler("FormShow", [this](Component&) { FormShow(); });
  f.SetHandler("FormClose", [this](Component&) { FormClose(); });
  f.SetHandler("FormDestroy", [this](Component&) { FormDestroy(); });
  f.SetHandler("FormPaint", [this](Component&) { Invalidate(); });
  f.SetHandler("FormMouseMove", [this](Component&) { FormMouseMove(); });
  f.SetHandler("PopupMenuPopup", [this](Component&) { PopupMenuPopup(); });
  f.SetHandler("PopCloseClick", [this](Component&) { PopCloseClick(); });
  f.SetHandler("PopAboutClick", [this](Component&) { ShowAboutBox(Handle(), settings_.Lingua); });
  f.SetHandler("PopSettingsClick", [this](Component&) { PopSettingsClick(); });
  f.SetHandler("PopLayoutPulsantiClick", [this](Component&) {
    // The dialog rebuilds the bar after each change; once more when it closes.
    ShowButtonLayout(
        data_, store_, settings_.Lingua, [this] { RebuildBar(); }, Handle());
    RebuildBar();
  });
  f.SetHandler("PopDockTopClick", [this](Component&) { PopDockClick(abeTop); });
  f.SetHandler("PopDockBottomClick", [this](Component&) { PopDockClick(abeBottom); });
  f.SetHandler("PopDockLeftClick", [this](Component&) { PopDockClick(abeLeft); });
  f.SetHandler("PopDockRightClick", [this](Component&) { PopDockClick(abeRight); });
  f.SetHandler("BtnUnlockClick", [this](Component&) { PopDockClick(abeFloat); });
  f.SetHandler("PopSelectMonitorClick", [this](Component& c) { PopSelectMonitorClick(c); });
  f.SetHandler("PopLinguaClick", [this](Component& c) { PopLinguaClick(c); });
  f.SetHandler("PopFolderClick", [this](Component&) { PopFolderClick(); });
  f.SetHandler("PopOpenFolderClick", [this](Component&) { PopOpenFolderClick(); });
  f.SetHandler("PopRefreshFolderCleanClick", [this](Component&) { PopRefreshFolderClick(false); });
  f.SetHandler("PopRefreshFolderKeepClick", [this](Component&) { PopRefreshFolderClick(true); });
  f.SetHandler("PopBtnSpostaPrimaClick", [this](Component&) { PopBtnSpostaClick(false); });
  f.SetHandler("PopBtnSpostaDopoClick", [this](Component&) { PopBtnSpostaClick(true); });
  f.SetHandler("PopBtnRinominaClick", [this](Component&) { PopBtnRinominaClick(); });
  f.SetHandler("PopBtnEliminaClick", [this](Component&) { PopBtnEliminaClick(); });
  f.SetHandler("PopBtnMenuSistemaClick", [this](Component&) { PopBtnMenuSistemaClick(); });
  f.SetHandler("PopSalvaTemaClick", [this](Component&) { themes_.SaveAsked(); });
  // The theme items go with the sub-menu rebuilt: the name is taken first.
  f.SetHandler("PopTemiClick", [this](Component& c) {
    const std::string name = c.Property(kThemeNameProperty, c.caption);
    themes_.Apply(name);
  });
  f.SetHandler("PopEliminaTemaClick", [this](Component& c) {
    const std::string name = c.Property(kThemeNameProperty, c.caption);
    themes_.Delete(name);
  });
}

int TBarWindow::ClaimInstanceSlot() {
  if (!Registry().CreateKey(kInstanceRootKey)) return -1;
  const std::string q = QuotedExePath();
  int free = -1;
  for (int i = 0; i <= 9; ++i) {
    RegValue v;
    std::string value = Registry().ReadValue(kInstanceRootKey, InstanceValueName(i), &v) ? v.AsString() : "";
    if (value.empty()) {
      if (free < 0) free = i;
    } else if (value == q) {
      return i;
    }
  }
  if (free < 0) return -1;
  return Registry().WriteString(kInstanceRootKey, InstanceValueName(free), q) ? free : -1;
}

void TBarWindow::SetAutoStart(bool on) {
  if (!Registry().KeyExists(kRunKey)) return;
  const std::string q = QuotedExePath();
  const int n = ClaimInstanceSlot();
  if (n < 0) return;
  if (on)
    Registry().WriteString(kRunKey, InstanceValueName(n), q);
  else
    Registry().DeleteValue(kRunKey, InstanceValueName(n));
}

void TBarWindow::ApplyBorderStyle() {
  TBarSettings& s = settings_;
  if (s.Borderless) {
    SetBorderStyle(TBorderStyle::bsNone);
    return;
  }
  if (s.GlassPanel) s.FixedBorder = false;
  SetBorderStyle(s.FixedBorder ? TBorderStyle::bsDialog : TBorderStyle::bsSizeable);
  if (s.GlassPanel) {
    glass_ = std::make_unique<TAeroGlass>(*this);
    glass_->SetMarginTop(0);
    glass_->SetMarginLeft(0);
    glass_->SetMarginBottom(0);
    glass_->SetMarginRight(0);
    glass_->SetSheetOfGlass(true);
    glass_->SetDragGlass(dgNone);
  }
}

bool TBarWindow::LoadSettings() {
  const bool loaded = TAppBar::LoadSettings();
  screens_.LoadDevice(KeyName());
  return loaded;
}

bool TBarWindow::SaveSettings() {
  if (!TAppBar::SaveSettings()) return false;
  screens_.SaveDevice(KeyName());
  return true;
}

bool TBarWindow::FixScreenIndex() { return screens_.FixScreenIndex(); }

void TBarWindow::ApplyPanelFlags() {
  const TBarSettings& s = settings_;
  SetAutoHide(s.AutoHide);
  SetAlwaysOnTop(s.AlwaysOnTop);
  SetSlideEffect(s.Animate);
  SetAutoStart(s.AutoStart);
}

// ---------------------------------------------------------------- the menus

void TBarWindow::PopSettingsClick() {
  if (ShowSettingsDialog(store_, "", settings_.Lingua, Handle()) != 1) return;
  // The confirmed settings reach the bar: its language, its buttons, its
  // panel; the window's border and glass wait for the next start.
  ReadBarSettings(store_, settings_, this);
  BuildLanguageMenu();
  RebuildBar();
  ApplyPanelFlags();
  TBarSettings& s = settings_;
  if (s.GlassPanel) s.FixedBorder = false;
  live_.Start(source_.Path());
}

void TBarWindow::BuildLanguageMenu() {
  Component& languages = *form_->Find("PopLingue");
  languages.RemoveChildren();
  AddLanguageMenuItems(languages, "PopLinguaClick");
  TBarSettings& s = settings_;
  TSettingsStore& store = store_;
  if (!Files().FileExists(store.IniFileName())) {
    // The very first start: the user interface's language when a file for
    // it ships, kept as the setting the settings dialog shows.
    s.Lingua = ChooseStartLanguage(System().UserInterfaceLanguage(), LanguageNames());
    store.SetString("Interfaccia", "Lingua", s.Lingua);
  }
  if (s.Lingua.empty()) s.Lingua = store.GetString("Interfaccia", "Lingua", "Italiano");
  ApplyBarLanguage(s.Lingua);
}

void TBarWindow::ApplyBarLanguage(const std::string& language) {
  // A language file holds only what it changes: the texts of the language
  // before it would otherwise stay.
  RestoreComponentTexts(*form_, *BuildToviraMainForm());
  ApplyLanguage(*form_, language);
  SetCaption(form_->caption);
  if (Component* remove = form_->Find("PopEliminaTemi")) remove->caption = DeleteThemesCaption();
}

void TBarWindow::BuildMonitorsMenu() { screens_.FillMenu(*form_->Find("PopSchermo")); }

void TBarWindow::PopupMenuPopup() { form_->Find("PopUnlock")->enabled = GetEdge() != abeFloat; }

void TBarWindow::PopSelectMonitorClick(Component& item) {
  Component& screens = *form_->Find("PopSchermo");
  for (size_t i = 0; i < screens.ChildCount(); ++i)
    screens.Child(i).checked = false;
  item.checked = true;
  screens_.Choose(int(item.tag));
  // Laid out for the chosen monitor's scale before it goes there.
  AdoptMonitorDpi();
  RebuildBar();
  // The bar goes to the monitor chosen now, not at its next docking.
  UpdateBar();
}

void TBarWindow::OnScreensChanged() {
  docking_.ScreensChanged();
  TAppBar::OnScreensChanged();
}

void TBarWindow::OnSessionEnding() { docking_.SessionEnding(); }

void TBarWindow::PopLinguaClick(Component& item) {
  settings_.Lingua = item.caption;
  ApplyBarLanguage(settings_.Lingua);
  // A crash is told in the language the bar shows.
  InstallCrashReporting(instanceSlot_, settings_.Lingua);
}

// -------------------------------------------------------------- life cycle

void TBarWindow::FormShow() {
  ApplyBarLanguage(settings_.Lingua);
  themes_.BuildMenu();
  PostMessage(kAfterShowMessage);
}

void TBarWindow::OnAfterShow() {
  LoadButtons();
  live_.Start(source_.Path());
  UpdateBar();
  if (firstStart_) {
    std::string text = LangText("Messages.FirstRun", "Tovira ha creato la cartella dei collegamenti: %s");
    const size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, source_.Path());
    text += "\r\n\r\n" + LangText("Messages.FirstRunHint",
                                  "Trascina sulla barra file, cartelle o programmi per farne pulsanti, oppure "
                                  "scegli un'altra cartella con il tasto destro (\"Cartella origine\").");
    MessageBoxInfo(text, LangText("Messages.TtlFirstRun", "Prima esecuzione"));
  }
  TellPreviousCrash(Handle(), instanceSlot_, settings_.Lingua);
}

void TBarWindow::ReadButtonList() {
  const std::string folder = SourceFolderSetting();
  if (!Files().FileExists(ButtonListPath(folder))) return;
  source_.Take(folder);
  earlyList_ =
      LoadButtonList(data_.TblLinks, ButtonListPath(folder), data_.SaveFormat) ? EarlyList::Read : EarlyList::Failed;
  laidOutSinceRead_ = false;
}

std::string TBarWindow::SourceFolderSetting() {
  const std::string folder = store_.GetString("Generale", "FolderSource", "[Bogus]");
  return folder == "[Bogus]" ? UserSubDir("ToolbarLinks") : folder;
}

void TBarWindow::LoadButtons() {
  const std::string folder = SourceFolderSetting();
  switch (std::exchange(earlyList_, EarlyList::NotRead)) {
    case EarlyList::Read:
      // The window was made with the buttons and laid out with them as it
      // took its place.
      if (!laidOutSinceRead_) RebuildBar();
      return;
    case EarlyList::Failed:
      // The user was told why: the buttons come from the folder's entries.
      RefreshFromFolder(folder, false);
      return;
    case EarlyList::NotRead:
      break;
  }
  if (Files().FileExists(ButtonListPath(folder))) {
    source_.Take(folder);
    if (LoadButtonList(data_.TblLinks, ButtonListPath(folder), data_.SaveFormat)) {
      RebuildBar();
      return;
    }
    // A list that could not be read (the user was told why): the buttons
    // come from the folder's entries, as when there is no list.
  }
  RefreshFromFolder(folder, false);
}

void TBarWindow::FormClose() { SaveSettings(); }

void TBarWindow::FormDestroy() {
  live_.Stop();
  if (HandleAllocated()) {
    hotkeys_.ReleaseAll(Window());
    Window().SetAccessibleSource(nullptr);
  }
  ClearBar();
  folderMenus_.Clear();
  FreeMessageTable();
  FreePictureCache();
  settingsReady_ = false;
}

void TBarWindow::FormMouseMove() {
  if (!AutoHide() && !Active()) SetFocus();
}

void TBarWindow::OnAppBarStateChange(bool proposed, TAppBarEdge edge) {
  TAppBar::OnAppBarStateChange(proposed, edge);
  docking_.StateChanged(proposed, edge);
}

intptr_t TBarWindow::Dispatch(Message& m) {
  if (wakeMessage_ != 0 && m.msg == wakeMessage_) {
    ComeForward();
    return 0;
  }
  if (live_.HandleMessage(m)) return m.result;
  if (drag_.HandleMessage(m)) return 0;
  if (m.msg == WM_RBUTTONUP && ShellMenuClick(m)) return 0;
  switch (m.msg) {
    case kAfterShowMessage:
      OnAfterShow();
      return 0;
    case kDelayedUpdateMessage:
      return 0;
    case kIconsStartMessage:
      // The icons the cache knows are drawn with the bar; the bar with the
      // placeholders of the others is painted before anything is fetched.
      icons_.Start();
      if (HandleAllocated()) Window().UpdateNow();
      icons_.FetchRest();
      return 0;
    case kIconsArrivedMessage:
      icons_.Deliver();
      return 0;
    case WM_CREATE: {
      const intptr_t r = TAppBar::Dispatch(m);
      Shell().AcceptDroppedFiles(Handle(), true);
      Window().SetAccessibleSource(this);
      highContrast_ = System().HighContrast();
      return r;
    }
    case kWmSysColorChange:
      FollowSystemColours();
      return TAppBar::Dispatch(m);
    case WM_SETTINGCHANGE:
      if (m.wParam == kSpiSetHighContrast) FollowSystemColours();
      return TAppBar::Dispatch(m);
    case WM_TIMER:
      if (m.wParam != kRunningTimerId) return TAppBar::Dispatch(m);
      RefreshRunningMarks();
      return 0;
    case WM_HOTKEY:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_KILLFOCUS:
    case kHotkeyReportMessage:
      return KeyMessage(m);
    case WM_DROPFILES:
      WmDropFiles(m.wParam);
      return 0;
    case WM_DPICHANGED:
      return docking_.DpiChanged(m.wParam, m.lParam);
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSELEAVE:
      return MouseMessage(m);
    default:
      return TAppBar::Dispatch(m);
  }
}

// ------------------------------------------------- the source folder's commands

bool TBarWindow::RefreshFromFolder(const std::string& folder, bool keep) {
  if (!source_.Refresh(folder, keep)) return false;
  RebuildBar();
  return true;
}

void TBarWindow::PopFolderClick() {
  const std::string initial = source_.Exists() ? source_.Path() : std::string();
  std::string chosen;
  if (!Dialogs().BrowseForFolder(Handle(), initial, &chosen) || !Files().DirExists(chosen)) return;
  // A button list the chosen folder already holds is not read: the rebuild
  // replaces it.
  RefreshFromFolder(chosen, false);
  store_.SetString("Generale", "FolderSource", source_.Path());
  live_.Start(source_.Path());
}

void TBarWindow::PopOpenFolderClick() {
  if (source_.Exists()) Shell().Open(Handle(), source_.Path(), "", "");
}

void TBarWindow::PopRefreshFolderClick(bool keep) {
  if (source_.Exists()) RefreshFromFolder(source_.Path(), keep);
}

}  // namespace tov
