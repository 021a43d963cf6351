#include "bar/ToviraMain.h"

#include "docking/Multimonitor.h"
#include "ui/Popupmenu.h"
#include "ui/Product.h"
#include "ui/Supportlanguage.h"
#include "ui/Supportmsg.h"

namespace tov {

const char* const kInstanceRootKey = "Software\\Brenvoll\\ToviraRoot";
const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string InstanceValueName(int slot) { return "Brenvoll.Tovira_" + std::to_string(slot); }
std::string BarKeyName(int slot) { return "Software\\Brenvoll\\Tovira_" + std::to_string(slot); }

namespace {
std::string QuotedExePath() { return "\"" + Files().ExePath() + "\""; }
}  // namespace

TFormToviraMain::TFormToviraMain() {
  SetCaption(kProductName);
  OnShow = [this] { FormShow(); };
  OnCloseForm = [this] { FormClose(); };
  OnDestroyForm = [this] { FormDestroy(); };
  BuildComponents();
  FillScreenTable();
  SetTaskEntry(abtHide);
  BarInstanceIndex = ClaimInstanceSlot();
  SetKeyName(BarKeyName(BarInstanceIndex));
  if (Registry().KeyExists(KeyName())) {
    LoadSettings();
    FixScreenIndex();
    if (GetEdge() == abeFloat) PlaceFloatingWindow();
  } else {
    firstStart_ = true;
    SetEdge(abeTop);
    MessageBoxInfo(LangText("Messages.FirstRun",
                            "Tovira ha creato la cartella dei collegamenti. E' necessario riavviare il programma"),
                   LangText("Messages.TtlFirstRun", "Prima esecuzione"));
    PostMessage(WM_CLOSE);
  }
}

TFormToviraMain::~TFormToviraMain() { DestroyHandle(); }

void TFormToviraMain::BuildComponents() {
  form_ = MakeComponent(ComponentKind::Form, "FormToviraMain", kProductName);
  popupMenu_ = &form_->Add(MakeComponent(ComponentKind::PopupMenu, "PopupMenu"));
  popupMenu_->Add(MakeComponent(ComponentKind::MenuItem, "PopClose", "Chiudi"));
  form_->SetHandler("PopCloseClick", [this](Component&) { PopCloseClick(); });
  popupMenu_->Child(0).Bind("OnClick", "PopCloseClick");
}

void TFormToviraMain::FillScreenTable() {
  // The table has room for ten monitors; any beyond are left out.
  ScreenCount = std::min(MonitorCount(), kScreenTableSize);
  if (ScreenCount == 0) ScreenCount = 1;
  for (int i = 0; i < std::min(MonitorCount(), kScreenTableSize); ++i) {
    const TMonitorInfo* m = MonitorAt(i);
    TScreenInfo& s = Screens[size_t(i)];
    s.MonitorFlags = m->Primary ? 1 : 0;
    const Rect& r = m->MonitorRect;
    const Rect& w = m->WorkRect;
    InitScreenCoord(s.rcMonitor, s.szMonitor, r.left, r.top, r.right, r.bottom);
    InitScreenCoord(s.rcWork, s.szWork, w.left, w.top, w.right, w.bottom);
  }
}

void TFormToviraMain::PlaceFloatingWindow() {
  const TMonitorInfo* m = MonitorAt(ScreenIndex());
  const Point corner{Settings().FloatLeft, Settings().FloatTop};
  if (m && m->MonitorRect.Contains(corner)) {
    SetBounds(corner.x, corner.y, Width(), Height());
    return;
  }
  // A position on a monitor that is gone: the middle of the screen.
  const int sw = System().GetSystemMetrics(SM_CXSCREEN), sh = System().GetSystemMetrics(SM_CYSCREEN);
  SetBounds((sw - Width()) / 2, (sh - Height()) / 2, Width(), Height());
}

int TFormToviraMain::ClaimInstanceSlot() {
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

void TFormToviraMain::SetAutoStart(bool on) {
  if (!Registry().KeyExists(kRunKey)) return;
  const std::string q = QuotedExePath();
  const int n = ClaimInstanceSlot();
  if (n < 0) return;
  if (on)
    Registry().WriteString(kRunKey, InstanceValueName(n), q);
  else
    Registry().DeleteValue(kRunKey, InstanceValueName(n));
}

bool TFormToviraMain::FixScreenIndex() {
  if (ScreenIndex() < MonitorCount()) return false;
  for (int i = 0; i < MonitorCount(); ++i) {
    if (MonitorAt(i)->Primary) {
      SetScreenIndex(i);
      return true;
    }
  }
  return false;
}

void TFormToviraMain::FormShow() { PostMessage(kAfterShowMessage); }

void TFormToviraMain::OnAfterShow() { UpdateBar(); }

void TFormToviraMain::FormClose() { SaveSettings(); }

void TFormToviraMain::FormDestroy() { SeparatorRects.clear(); }

void TFormToviraMain::OnAppBarStateChange(bool proposed, TAppBarEdge edge) {
  TAppBar::OnAppBarStateChange(proposed, edge);
  if (proposed || edge == LastEdge) return;
  LastEdge = edge;
  UpdateBar();
}

intptr_t TFormToviraMain::Dispatch(Message& m) {
  switch (m.msg) {
    case kAfterShowMessage:
      OnAfterShow();
      return 0;
    case kDelayedUpdateMessage:
      return 0;
    default:
      return TAppBar::Dispatch(m);
  }
}

}  // namespace tov
