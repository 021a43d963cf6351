// The bar and the keyboard: its hotkeys (the bar's own and one per button),
// the keyboard focus moving over the buttons, launch-or-switch on a click,
// and what the bar tells assistive technology.
#include "bar/BarWindow.h"
#include "base/Strings.h"
#include "base/Utf8Text.h"
#include "controls/Colors.h"
#include "formats/ShortcutFiles.h"
#include "tables/DataModule.h"
#include "text/MessageBoxes.h"
#include "text/Texts.h"
#include "toolkit/FormPaint.h"
#include "toolkit/PopupMenu.h"

namespace tov {

// ------------------------------------------------------------------ hotkeys

void TBarWindow::RegisterHotkeys() {
  if (!HandleAllocated()) return;
  std::vector<HotkeyRequest> requests;
  if (!settings_.BarHotkey.empty()) requests.push_back(HotkeyRequest{kBarHotkeyId, settings_.BarHotkey, ""});
  TRecordTable& links = data_.TblLinks;
  for (size_t i = 0; i < ButtonCount(); ++i) {
    const TLbSpeedButton& b = Button(i);
    if (b.tag < 0 || !links.Locate("Ordine", std::to_string(b.tag))) continue;
    const TField& f = links.FieldByName("Hotkey");
    if (f.IsNull() || f.AsString().empty()) continue;
    requests.push_back(
        HotkeyRequest{kButtonHotkeyBase + int(b.tag), f.AsString(), links.FieldByName("Caption").AsString()});
  }
  std::vector<std::string> problems = hotkeys_.Apply(Window(), requests);
  if (problems.empty()) return;
  // Told once the layout is over, not from inside it.
  const bool pending = !hotkeyProblems_.empty();
  hotkeyProblems_.insert(hotkeyProblems_.end(), problems.begin(), problems.end());
  if (!pending) PostMessage(kHotkeyReportMessage);
}

TLbSpeedButton* TBarWindow::ButtonByTag(int tag) const {
  for (size_t i = 0; i < ButtonCount(); ++i)
    if (Button(i).tag == tag) return &Button(i);
  return nullptr;
}

bool TBarWindow::HotkeyPressed(int id) {
  if (id == kBarHotkeyId) {
    TakeKeyboardFocus();
    return true;
  }
  TLbSpeedButton* b = ButtonByTag(id - kButtonHotkeyBase);
  if (!b) return false;
  // A folder menu opens at its button: the bar comes out first.
  if (folderMenus_.At(size_t(b->tag))) ComeForward();
  PressButton(*b);
  return true;
}

void TBarWindow::PressButton(TLbSpeedButton& button) {
  // The click may lay the bar out again and free the button: nothing of it
  // is used once its handler runs.
  const TLbSpeedButton::NotifyEvent click = button.OnClick;
  if (click) click(button);
}

// ----------------------------------------------------------------- keyboard

void TBarWindow::UpdateKeyTargets() {
  std::vector<KeyTarget> targets;
  for (size_t i = 0; i < ButtonCount(); ++i) {
    const TLbSpeedButton& b = Button(i);
    targets.push_back(KeyTarget{b.Caption().empty() ? b.hint : b.Caption(), b.Visible() && b.Enabled()});
  }
  const TAppBarEdge edge = GetEdge();
  keyboard_.SetTargets(std::move(targets), edge == abeLeft || edge == abeRight);
}

void TBarWindow::TakeKeyboardFocus() {
  if (!HandleAllocated()) return;
  const WindowId front = Windows().ForegroundWindow();
  if (front != 0 && front != Handle()) previousForeground_ = front;
  ComeForward();
  keyboard_.Enter();
  FocusMoved();
}

void TBarWindow::GiveKeyboardFocusBack() {
  keyboard_.Leave();
  Invalidate();
  const WindowId back = previousForeground_;
  previousForeground_ = 0;
  if (back != 0) Windows().BringWindowForward(back);
}

void TBarWindow::FocusMoved() {
  Invalidate();
  if (keyboard_.Focus() >= 0) Window().NotifyAccessibleFocus(keyboard_.Focus() + 1);
}

void TBarWindow::OpenFocusedMenu() {
  const int f = keyboard_.Focus();
  if (f < 0 || size_t(f) >= ButtonCount()) return;
  TLbSpeedButton& b = Button(size_t(f));
  menuButton_ = &b;
  PopupComponentMenu(b.popupMenu ? *b.popupMenu : Menu("PopupMenu"),
                     ClientToScreen(Point{b.Left(), b.Top() + b.Height()}), Handle());
}

void TBarWindow::ApplyKeyAction(BarKeyAction action) {
  switch (action) {
    case BarKeyAction::Moved:
      FocusMoved();
      break;
    case BarKeyAction::Launch:
      if (keyboard_.Focus() >= 0 && size_t(keyboard_.Focus()) < ButtonCount())
        PressButton(Button(size_t(keyboard_.Focus())));
      break;
    case BarKeyAction::Menu:
      OpenFocusedMenu();
      break;
    case BarKeyAction::Leave:
      GiveKeyboardFocusBack();
      break;
    case BarKeyAction::None:
      break;
  }
}

intptr_t TBarWindow::KeyMessage(Message& m) {
  switch (m.msg) {
    case kHotkeyReportMessage: {
      std::vector<std::string> problems;
      problems.swap(hotkeyProblems_);
      std::string text;
      for (const std::string& p : problems)
        text += (text.empty() ? "" : "\r\n") + p;
      if (!text.empty()) ErrorMessage(text);
      return 0;
    }
    case WM_HOTKEY:
      HotkeyPressed(int(m.wParam));
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      const bool shift = System().KeyDown(VK_SHIFT);
      // Alt with another key stays the system's (Alt+F4, Alt+Space).
      if (m.msg == WM_SYSKEYDOWN && m.wParam != kVkF10) return TAppBar::Dispatch(m);
      if (!keyboard_.Active()) {
        if (m.wParam == kVkF10) return TAppBar::Dispatch(m);
        // A key on the active bar gives it the keyboard focus.
        keyboard_.Enter();
        FocusMoved();
      }
      ApplyKeyAction(keyboard_.Key(uint32_t(m.wParam), shift));
      return 0;
    }
    case WM_CHAR: {
      // The bar's window is a Unicode one: a character comes as UTF-16
      // units, one beyond the first plane (an emoji, a rare ideograph) as a
      // pair, high surrogate first.
      const char16_t unit = char16_t(m.wParam & 0xFFFF);
      if (m.wParam > 0xFFFF) return 0;
      if (unit >= 0xD800 && unit < 0xDC00) {
        pendingHighSurrogate_ = unit;
        return 0;
      }
      std::u16string units;
      if (unit >= 0xDC00 && unit < 0xE000) {
        if (pendingHighSurrogate_ == 0) return 0;  // a low half alone is no character
        units = {pendingHighSurrogate_, unit};
      } else {
        units.assign(1, unit);
      }
      pendingHighSurrogate_ = 0;
      const std::string typed = Utf16ToUtf8(units);
      if (!IsValidUtf8(typed)) return 0;
      ApplyKeyAction(keyboard_.Char(typed, System().TickCount()));
      return 0;
    }
    case WM_KILLFOCUS:
      if (keyboard_.Active()) {
        keyboard_.Leave();
        Invalidate();
      }
      return TAppBar::Dispatch(m);
    default:
      return TAppBar::Dispatch(m);
  }
}

void TBarWindow::PaintFocusMark(ICanvas& canvas) {
  const int f = keyboard_.Focus();
  if (!keyboard_.Active() || f < 0 || size_t(f) >= ButtonCount()) return;
  const Rect b = Button(size_t(f)).BoundsRect();
  const Rect r{b.left + 1, b.top + 1, b.right - 1, b.bottom - 1};
  if (r.Width() < 3 || r.Height() < 3) return;
  PaintFocusRect(canvas, r);
}

// --------------------------------------------------------- launch-or-switch

void TBarWindow::LaunchOrSwitch(TLbSpeedButton& button) {
  TRecordTable& links = data_.TblLinks;
  if (!links.Locate("Ordine", std::to_string(button.tag))) return;
  const std::string path = links.FieldByName("Path").AsString();
  LaunchRequest request;
  request.shift = System().KeyDown(VK_SHIFT);
  request.ctrl = System().KeyDown(VK_CONTROL);
  request.switchOn = settings_.LaunchOrSwitch;
  if (request.switchOn && !request.shift) {
    const std::string target = IsProgramPath(path) ? path : ReadShortcutTarget(Handle(), path);
    request.program = target;
  }
  const LaunchDecision d =
      DecideLaunch(request, request.program.empty() ? std::vector<TopLevelWindow>() : Windows().TopLevelWindows(),
                   Windows().ForegroundWindow());
  switch (d.kind) {
    case LaunchKind::Switch:
      if (Windows().BringWindowForward(d.window)) return;
      break;  // refused: a new copy, as without the setting
    case LaunchKind::OpenAsAdmin:
      if (!Shell().OpenWithVerb(Handle(), "runas", path)) {
        const std::string reason = Shell().LastOpenError();
        ErrorMessage(FormatText(LangText("MsgErr.OpenFailed", "\"%s\" non si apre: \"%s\" (%s)."),
                                {button.Caption(), path, reason}));
      }
      return;
    case LaunchKind::Open:
      break;
  }
  OpenTarget(Handle(), path, links.FieldByName("Caption").AsString());
}

// ------------------------------------------------------------ accessibility

AccessibleItem TBarWindow::Root() {
  AccessibleItem root;
  root.role = kRoleToolbar;
  root.name = Caption();
  if (HandleAllocated()) root.screen = Window().ClientRectOnScreen();
  return root;
}

std::vector<AccessibleItem> TBarWindow::Children() {
  std::vector<AccessibleItem> items;
  TRecordTable& links = data_.TblLinks;
  for (size_t i = 0; i < ButtonCount(); ++i) {
    const TLbSpeedButton& b = Button(i);
    AccessibleItem item;
    item.role = folderMenus_.At(size_t(std::max<intptr_t>(b.tag, 0))) ? kRoleButtonMenu : kRolePushButton;
    item.name = b.Caption().empty() ? b.hint : b.Caption();
    if (b.tag >= 0 && links.Locate("Ordine", std::to_string(b.tag))) {
      item.name = links.FieldByName("Caption").AsString();
      item.description = links.FieldByName("Path").AsString();
      Hotkey hk;
      const TField& f = links.FieldByName("Hotkey");
      if (!f.IsNull() && ParseHotkey(f.AsString(), &hk)) item.shortcut = HotkeyDisplayText(hk);
    }
    const Rect r = b.BoundsRect();
    const Point tl = ClientToScreen(Point{r.left, r.top});
    item.screen = Rect{tl.x, tl.y, tl.x + r.Width(), tl.y + r.Height()};
    item.defaultAction = item.role == kRoleButtonMenu ? LangText("Messages.ActionOpenMenu", "Apri")
                                                      : LangText("Messages.ActionPress", "Premi");
    items.push_back(std::move(item));
  }
  return items;
}

int TBarWindow::FocusedChild() { return keyboard_.Active() && keyboard_.Focus() >= 0 ? keyboard_.Focus() + 1 : 0; }

void TBarWindow::DoDefaultAction(int child) {
  if (child >= 1 && size_t(child) <= ButtonCount()) PressButton(Button(size_t(child - 1)));
}

}  // namespace tov
