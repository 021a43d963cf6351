#include "platform/win32/Win32NativeForm.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/DpiCanvas.h"
#include "platform/EventGuard.h"
#include "platform/win32/Win32Canvas.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32FormWindow.h"
#include "platform/win32/Win32Signals.h"
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
  const std::string key = wanted.name + "|" + std::to_string(wanted.size) + "|" + std::to_string(wanted.style) + "|" +
                          std::to_string(wanted.dpi);
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
  // The dialog is laid out at the scale of the monitor it opens on: its
  // owner's, the primary one when centred on the screen, else the one its
  // place lies on.
  HMONITOR monitor = nullptr;
  if (frame.place == FramePlace::OwnerCentre && owner_)
    monitor = MonitorFromWindow(owner_, MONITOR_DEFAULTTOPRIMARY);
  else if (frame.place == FramePlace::AsDesigned)
    monitor = MonitorFromPoint(POINT{frame.bounds.left, frame.bounds.top}, MONITOR_DEFAULTTOPRIMARY);
  else
    monitor = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  dpi_ = Dpi(MonitorDpi(monitor));
  // The frame's bounds give the client area, in units.
  RECT r{0, 0, dpi_.Scale(frame.bounds.Width()), dpi_.Scale(frame.bounds.Height())};
  AdjustRectForDpi(&r, style, ex, dpi_.Value());
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
  // Where the system put it on another monitor than foreseen, it takes that
  // monitor's scale.
  if (const Dpi actual(WindowDpi(hwnd_)); actual != dpi_) {
    dpi_ = actual;
    RECT fit{0, 0, dpi_.Scale(frame.bounds.Width()), dpi_.Scale(frame.bounds.Height())};
    AdjustRectForDpi(&fit, style, ex, dpi_.Value());
    SetWindowPos(hwnd_, nullptr, 0, 0, fit.right - fit.left, fit.bottom - fit.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
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

Point NativeForm::ScreenPoint(Point client) {
  const Point origin = ClientOrigin();
  return Point{origin.x + dpi_.Scale(client.x), origin.y + dpi_.Scale(client.y)};
}

Rect NativeForm::Pixels(const Rect& units) const { return ScaleRect(dpi_, units); }

HFONT NativeForm::FontOf(const FontSpec& font) { return fonts_.Get(ScaleFont(dpi_, font)); }

Dpi DialogDpi(HWND inside) {
  HWND top = inside ? GetAncestor(inside, GA_ROOT) : nullptr;
  return Dpi(top ? int(SendMessageA(top, kMsgDialogDpi, 0, 0)) : Dpi::kBase);
}

void NativeForm::Rescale(Dpi dpi, const RECT& frame) {
  const Dpi before = dpi_;
  dpi_ = dpi;
  // A dialog of fixed size keeps its client area exactly as its units say;
  // a sizeable one takes the frame the system suggests.
  RECT fit = frame, client{};
  GetClientRect(hwnd_, &client);
  const int w = shown_ ? lastFrame_.Width() : before.Unscale(int(client.right));
  const int h = shown_ ? lastFrame_.Height() : before.Unscale(int(client.bottom));
  const DWORD style = DWORD(GetWindowLongA(hwnd_, GWL_STYLE)), ex = DWORD(GetWindowLongA(hwnd_, GWL_EXSTYLE));
  if (!(style & WS_THICKFRAME)) {
    fit = RECT{0, 0, dpi_.Scale(w), dpi_.Scale(h)};
    AdjustRectForDpi(&fit, style, ex, dpi_.Value());
    OffsetRect(&fit, frame.left - fit.left, frame.top - fit.top);
  }
  ++applying_;
  SetWindowPos(hwnd_, nullptr, fit.left, fit.top, fit.right - fit.left, fit.bottom - fit.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (!(style & WS_THICKFRAME)) {
    // Where the frame the system draws is not the one foreseen for the scale,
    // the window grows or shrinks by the difference.
    RECT window{};
    GetClientRect(hwnd_, &client);
    GetWindowRect(hwnd_, &window);
    const int dx = dpi_.Scale(w) - int(client.right), dy = dpi_.Scale(h) - int(client.bottom);
    if (dx || dy)
      SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left + dx, window.bottom - window.top + dy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // Scroll boxes first: what lies in them is placed by their offset.
  for (Control& ctl : controls_) {
    if (ctl.desc.type != ControlType::ScrollBox) continue;
    SetContentHeight(ctl.hwnd, dpi_.Scale(ctl.desc.contentHeight));
    ScrollTo(ctl.hwnd, dpi_.From(ScrollOffset(ctl.hwnd), before));
  }
  for (Control& ctl : controls_) {
    SendMessageA(ctl.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(ctl.desc.font)), TRUE);
    if (ctl.button) {
      SendMessageA(ctl.button, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(ctl.desc.font)), TRUE);
      ctl.narrowed = EditButtonWidth(Pixels(ctl.desc.bounds), dpi_);
    }
    if (ctl.desc.type == ControlType::ListView) {
      for (size_t i = 0; i < ctl.desc.columns.size(); ++i)
        SendMessageA(ctl.hwnd, LVM_SETCOLUMNWIDTH, WPARAM(i), MAKELPARAM(dpi_.Scale(ctl.desc.columns[i].width), 0));
      RescaleListImages(ctl.hwnd, ctl.desc, RowPicturesAt(dpi_));
    }
    if (ctl.desc.type == ControlType::Edit && !ctl.button) ctl.narrowed = 0;  // an up-down takes its room again
    Place(ctl);
  }
  --applying_;
  InvalidateRect(hwnd_, nullptr, TRUE);
  Repaint();
  ReportFrame();
}

// The frame as FrameDesc.bounds gives it: where the window is on the screen,
// and the size of its client area.
void NativeForm::ReportFrame() {
  // While the dialog takes another scale it is told once, at the end.
  if (!shown_ || !hwnd_ || IsIconic(hwnd_) || applying_) return;
  RECT w{}, c{};
  GetWindowRect(hwnd_, &w);
  GetClientRect(hwnd_, &c);
  // The client area in units (the window's place stays the screen's).
  const Rect now{w.left, w.top, w.left + dpi_.Unscale(c.right), w.top + dpi_.Unscale(c.bottom)};
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
    DpiCanvas units(*canvas, dpi_);
    // A handler's exception is shown and the paint still ends.
    GuardEvent(0, [&] {
      events_.PaintBackground(0, units);
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
        events_.Dragged(ControlId(wParam), dpi_.Unscale(short(LOWORD(lParam))), dpi_.Unscale(short(HIWORD(lParam))));
      return 0;
    case kMsgDialogDpi:
      return dpi_.Value();
    case WM_DPICHANGED:
      // The dialog went to a monitor of another scale (or the scale changed).
      if (const Dpi now(LOWORD(wParam)); now != dpi_ && lParam) Rescale(now, *reinterpret_cast<const RECT*>(lParam));
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
        DpiCanvas units(*canvas, dpi_);
        events_.PaintControl(ctl->id, units, state);
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
  lastFrame_ = Rect{w.left, w.top, w.left + dpi_.Unscale(c.right), w.top + dpi_.Unscale(c.bottom)};
  events_.FrameChanged(lastFrame_);
  events_.Shown();
  MSG msg;
  while (!events_.Ended() && hwnd_) {
    const BOOL got = NextMessage(&msg);  // wide, and the signals served: see RunMessageLoop
    if (got == 0) {
      // The application is ending: the dialog closes and the quit goes on
      // to the loop outside.
      PostQuitMessage(int(msg.wParam));
      break;
    }
    if (got < 0) break;
    if (msg.message == WM_MOUSEWHEEL && hwnd_ && WheelToScrollBox(msg)) continue;
    const HWND focus = GetFocus();
    if (!hwnd_ || !IsDialogMessageW(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
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
