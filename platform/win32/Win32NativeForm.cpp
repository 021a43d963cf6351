#include "platform/win32/Win32NativeForm.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/EventGuard.h"
#include "platform/win32/Win32Canvas.h"
#include "platform/win32/Win32FormWindow.h"
#include "platform/win32/Win32Windows.h"

namespace tov::win32::form {

std::string WindowText(HWND h) {
  int n = GetWindowTextLengthA(h);
  std::string s(size_t(n > 0 ? n : 0) + 1, '\0');
  n = GetWindowTextA(h, s.data(), int(s.size()));
  s.resize(size_t(n > 0 ? n : 0));
  return s;
}

namespace {

void RegisterDialogClass() {
  static bool done = false;
  if (done) return;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DefWindowProcA;  // replaced per window once it is created
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.hbrBackground = nullptr;                                  // the logic paints the background
  wc.lpszClassName = kDialogClass;
  RegisterClassExA(&wc);
  done = true;
}

}  // namespace

COLORREF ToColorRef(Color c) { return IsSystemColor(c) ? GetSysColor(int(c & 0xFF)) : COLORREF(c & 0xFFFFFF); }

DialogFonts::~DialogFonts() {
  for (auto& [key, font] : fonts_)
    DeleteObject(font);
}

HFONT DialogFonts::Get(const FontSpec& wanted) {
  const std::string key = wanted.name + "|" + std::to_string(wanted.size) + "|" + std::to_string(wanted.style);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  const LOGFONTA lf = FontFor(wanted, nullptr);
  HFONT font = CreateFontIndirectA(&lf);
  if (!font) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));  // a stock font is never deleted
  fonts_[key] = font;
  return font;
}

NativeForm::NativeForm(const FrameDesc& frame, HWND owner, IFormEvents& events) : events_(events), owner_(owner) {
  RegisterDialogClass();
  static const bool controlsReady = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES |
                                             ICC_UPDOWN_CLASS | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)controlsReady;
  DWORD style = WS_POPUP | WS_CLIPCHILDREN, ex = WS_EX_CONTROLPARENT;
  switch (frame.border) {
    case FrameBorder::Dialog:
      style |= WS_CAPTION | WS_SYSMENU;
      ex |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case FrameBorder::Single:
      style |= WS_CAPTION | WS_SYSMENU | WS_BORDER;
      break;
    case FrameBorder::ToolWindow:
      style |= WS_CAPTION | WS_SYSMENU;
      ex |= WS_EX_TOOLWINDOW;
      break;
    case FrameBorder::SizeToolWindow:
      style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
      ex |= WS_EX_TOOLWINDOW;
      break;
    case FrameBorder::None:
      break;
    case FrameBorder::Sizeable:
      // The controls keep their places, nothing is aligned again.
      style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
      break;
  }
  // The frame's bounds give the client area.
  RECT r{0, 0, frame.bounds.Width(), frame.bounds.Height()};
  AdjustWindowRectEx(&r, style, FALSE, ex);
  const int w = r.right - r.left, h = r.bottom - r.top;
  int x = frame.bounds.left, y = frame.bounds.top;
  RECT ownerRect{};
  if (frame.place == FramePlace::ScreenCentre) {
    x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  } else if (frame.place == FramePlace::OwnerCentre && owner_ && GetWindowRect(owner_, &ownerRect)) {
    x = std::max(0L, ownerRect.left + (ownerRect.right - ownerRect.left - w) / 2);
    y = std::max(0L, ownerRect.top + (ownerRect.bottom - ownerRect.top - h) / 2);
  }
  hwnd_ = CreateWindowExA(ex, kDialogClass, frame.caption.c_str(), style, x, y, w, h, owner_, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
  if (!hwnd_) {
    throw std::runtime_error("The window of " + frame.name + " could not be created (error " +
                             std::to_string(GetLastError()) + ").");
  }
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NativeForm::WndProc));
}

NativeForm::~NativeForm() { Destroy(); }

void NativeForm::Release(Control& ctl) {
  if (ctl.brush) DeleteObject(ctl.brush);
  ctl.brush = nullptr;
}

void NativeForm::Destroy() {
  if (!hwnd_) return;
  HWND h = hwnd_;
  SetWindowLongPtrA(h, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  for (Control& ctl : controls_)
    Release(ctl);
  controls_.clear();
  DestroyWindow(h);  // with every control on it, and the tooltip it owns
}

LRESULT CALLBACK NativeForm::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<NativeForm*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  // An exception must not cross the system's frames: it is shown as the
  // application shows one that no handler caught, and the dialog goes on.
  return GuardEvent(LRESULT(0), [&] { return self->Handle(msg, wParam, lParam); });
}

NativeForm::Control* NativeForm::Find(ControlId id) {
  for (Control& ctl : controls_)
    if (ctl.id == id) return &ctl;
  return nullptr;
}

NativeForm::Control* NativeForm::FindWindow(HWND h) {
  if (!h) return nullptr;
  for (Control& ctl : controls_)
    if (ctl.hwnd == h) return &ctl;
  return nullptr;
}

// The window a control lies on: its scroll box's, or the dialog's.
HWND NativeForm::ParentOf(const ControlDesc& desc) {
  if (desc.parent)
    if (Control* box = Find(desc.parent); box && box->desc.type == ControlType::ScrollBox) return box->hwnd;
  return hwnd_;
}

void NativeForm::SetCaption(const std::string& caption) {
  if (hwnd_ && WindowText(hwnd_) != caption) SetWindowTextA(hwnd_, caption.c_str());
}

void NativeForm::Repaint() {
  if (!hwnd_) return;
  InvalidateRect(hwnd_, nullptr, FALSE);
  for (Control& ctl : controls_)
    if (ctl.desc.type == ControlType::PushButton || ctl.desc.type == ControlType::Painted)
      InvalidateRect(ctl.hwnd, nullptr, FALSE);
}

void NativeForm::SetTimer(int timerId, const std::string&, uint32_t ms) {
  if (!hwnd_) return;
  if (ms > 0)
    ::SetTimer(hwnd_, UINT_PTR(timerId), ms, nullptr);
  else
    KillTimer(hwnd_, UINT_PTR(timerId));
}

void NativeForm::Focus(ControlId id, bool selectAll) {
  Control* ctl = Find(id);
  if (!ctl) return;
  SetFocus(ctl->hwnd);
  ShowFocused(ctl->hwnd);
  if (selectAll && (ctl->desc.type == ControlType::Edit || ctl->desc.type == ControlType::Memo))
    SendMessageA(ctl->hwnd, EM_SETSEL, 0, -1);
}

// A control that takes the focus inside a scroll box scrolls into view.
void NativeForm::ShowFocused(HWND focus) {
  for (HWND h = focus; h && h != hwnd_; h = GetParent(h)) {
    HWND parent = GetParent(h);
    if (!parent || parent == hwnd_) return;
    if (Control* box = FindWindow(parent); box && box->desc.type == ControlType::ScrollBox) {
      RECT r{};
      GetWindowRect(h, &r);
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
      ScrollIntoView(parent, r);
    }
  }
}

ControlId NativeForm::FocusedControl() {
  HWND f = GetFocus();
  // The edit inside an editable combo box counts as the combo box.
  while (f && f != hwnd_) {
    if (Control* ctl = FindWindow(f)) return ctl->id;
    f = GetParent(f);
  }
  return 0;
}

Point NativeForm::ClientOrigin() {
  POINT p{0, 0};
  if (hwnd_) ClientToScreen(hwnd_, &p);
  return Point{p.x, p.y};
}

// The frame as FrameDesc.bounds gives it: where the window is on the screen,
// and the size of its client area.
void NativeForm::ReportFrame() {
  if (!shown_ || !hwnd_ || IsIconic(hwnd_)) return;
  RECT w{}, c{};
  GetWindowRect(hwnd_, &w);
  GetClientRect(hwnd_, &c);
  const Rect now{w.left, w.top, w.left + c.right, w.top + c.bottom};
  if (now == lastFrame_) return;  // a move and a resize at once are one change
  lastFrame_ = now;
  events_.FrameChanged(now);
}

void NativeForm::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client{};
  GetClientRect(hwnd_, &client);
  {
    std::unique_ptr<ICanvas> canvas = MakeDcCanvas(dc, client.right, client.bottom);
    // A handler's exception is shown and the paint still ends.
    GuardEvent(0, [&] {
      events_.PaintBackground(0, *canvas);
      return 0;
    });
  }
  EndPaint(hwnd_, &ps);
}

LRESULT NativeForm::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      Command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_NOTIFY:
      return Notify(*reinterpret_cast<const NMHDR*>(lParam));
    case kMsgRowsSelected:
      ReportRows(ControlId(wParam));
      return 0;
    case kMsgDragged:
      if (Find(ControlId(wParam)) && !applying_)
        events_.Dragged(ControlId(wParam), short(LOWORD(lParam)), short(HIWORD(lParam)));
      return 0;
    case WM_MOVE:
    case WM_SIZE:
      ReportFrame();
      break;
    case DM_GETDEFID: {
      const ControlId id = events_.DefaultButton();
      return id ? MAKELRESULT(id, DC_HASDEFID) : 0;
    }
    case DM_SETDEFID:
      return TRUE;  // the default button is the logic's to say
    case WM_NEXTDLGCTL: {
      HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(hwnd_, GetFocus(), wParam != 0);
      if (next) {
        if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(next, EM_SETSEL, 0, -1);
        SetFocus(next);
        ShowFocused(next);
      }
      return 0;
    }
    case WM_CHANGEUISTATE:
    case WM_UPDATEUISTATE:
      if (LOWORD(wParam) == UIS_CLEAR && (HIWORD(wParam) & UISF_HIDEFOCUS)) keyboardCues_ = true;
      break;
    case WM_TIMER:
      events_.TimerFired(int(wParam));
      return 0;
    case WM_SETCURSOR:
      if (Control* ctl = FindWindow(reinterpret_cast<HWND>(wParam)); ctl && ctl->desc.handCursor) {
        SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));  // IDC_HAND
        return TRUE;
      }
      break;
    case WM_DRAWITEM: {
      const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      Control* ctl = Find(int(dis->CtlID));
      if (!ctl || (ctl->desc.type != ControlType::PushButton && ctl->desc.type != ControlType::Painted)) return FALSE;
      PaintState state;
      state.pressed = (dis->itemState & ODS_SELECTED) != 0;
      state.focused = (dis->itemState & ODS_FOCUS) != 0;
      state.enabled = (dis->itemState & ODS_DISABLED) == 0;
      state.showFocus = (dis->itemState & ODS_NOFOCUSRECT) == 0;
      state.isDefault = events_.DefaultButton() == ctl->id;
      const RECT& r = dis->rcItem;
      const int saved = SaveDC(dis->hDC);
      SetViewportOrgEx(dis->hDC, r.left, r.top, nullptr);
      {
        std::unique_ptr<ICanvas> canvas = MakeDcCanvas(dis->hDC, r.right - r.left, r.bottom - r.top);
        events_.PaintControl(ctl->id, *canvas, state);
      }
      RestoreDC(dis->hDC, saved);
      return TRUE;
    }
    case WM_CTLCOLOREDIT:
      if (Control* ctl = FindWindow(reinterpret_cast<HWND>(lParam)); ctl && ctl->brush)
        return EditColors(*ctl, reinterpret_cast<HDC>(wParam));
      break;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      // A read-only or disabled edit asks here too: its field keeps its colour.
      if (Control* ctl = FindWindow(reinterpret_cast<HWND>(lParam)); ctl && ctl->brush) return EditColors(*ctl, dc);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      COLORREF text = GetSysColor(COLOR_BTNTEXT);
      if (Control* ctl = FindWindow(reinterpret_cast<HWND>(lParam))) {
        const Color c = ctl->desc.font.color;
        text = IsSystemColor(c) ? GetSysColor(int(c & 0xFF)) : COLORREF(c & 0xFFFFFF);
      }
      SetTextColor(dc, text);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT paints all of it
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ACTIVATE:
      // As dialogs do: the focus comes back to the control that had it.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f && IsChild(hwnd_, f)) lastFocus_ = f;
      } else if (lastFocus_ && IsWindow(lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_CLOSE:
      events_.CloseRequested();
      return 0;
    case WM_NCDESTROY: {
      // Destroyed from outside: the loop ends as with the close box.
      HWND h = hwnd_;
      SetWindowLongPtrA(h, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      for (Control& ctl : controls_)
        Release(ctl);
      controls_.clear();
      events_.CloseRequested();
      return DefWindowProcA(h, msg, wParam, lParam);
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

void NativeForm::RunModal() {
  // The owner is disabled while the dialog runs, and enabled again before it
  // goes, so that Windows gives the activation back to the owner.
  const bool disableOwner = owner_ && IsWindowEnabled(owner_);
  struct OwnerBack {
    NativeForm* dialog;
    HWND owner;
    bool enable;
    ~OwnerBack() {
      if (enable) EnableWindow(owner, TRUE);
      if (dialog->hwnd_) ShowWindow(dialog->hwnd_, SW_HIDE);
      if (owner && IsWindow(owner)) SetActiveWindow(owner);
    }
  } back{this, owner_, disableOwner};
  if (disableOwner) EnableWindow(owner_, FALSE);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
  shown_ = true;
  RECT w{}, c{};
  GetWindowRect(hwnd_, &w);
  GetClientRect(hwnd_, &c);
  // Where it appeared (centred, or kept from a former opening) is the
  // logic's to know.
  lastFrame_ = Rect{w.left, w.top, w.left + c.right, w.top + c.bottom};
  events_.FrameChanged(lastFrame_);
  events_.Shown();
  MSG msg;
  while (!events_.Ended() && hwnd_) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      // The application is ending: the dialog closes and the quit goes on
      // to the loop outside.
      PostQuitMessage(int(msg.wParam));
      break;
    }
    if (got < 0) break;
    if (msg.message == WM_MOUSEWHEEL && hwnd_ && WheelToScrollBox(msg)) continue;
    const HWND focus = GetFocus();
    if (!hwnd_ || !IsDialogMessageA(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } else if (hwnd_ && GetFocus() != focus) {
      ShowFocused(GetFocus());  // Tab or an accelerator moved it; the system's dialog code does not tell us
    }
  }
}

}  // namespace tov::win32::form

namespace tov::win32 {

std::unique_ptr<INativeForm> CreateNativeForm(const FrameDesc& frame, HWND owner, IFormEvents& events) {
  return std::make_unique<form::NativeForm>(frame, owner, events);
}

std::unique_ptr<INativeForm> Win32WindowSystem::CreateForm(const FrameDesc& frame, WindowId owner,
                                                           IFormEvents& events) {
  return CreateNativeForm(frame, HWND(owner), events);
}

}  // namespace tov::win32
