// The smaller kinds of a dialog: the extras of edits (a password character,
// a colour, a "..." button), up-downs that only report their steps, date
// pickers, splitters, and the tooltips of all controls.
#include <algorithm>
#include <string>

#include "platform/win32/Win32FormWindow.h"

namespace tov::win32::form {

namespace {

constexpr const char* kSplitterClass = "TToviraSplitter";

struct SplitterState {
  bool vertical = true;
  bool dragging = false;
  POINT start{};  // where the drag began, on the screen
};

SplitterState* SplitterOf(HWND h) { return reinterpret_cast<SplitterState*>(GetWindowLongPtrA(h, GWLP_USERDATA)); }

POINT ScreenPoint(HWND h, LPARAM lParam) {
  POINT pt{short(LOWORD(lParam)), short(HIWORD(lParam))};
  ClientToScreen(h, &pt);
  return pt;
}

LRESULT CALLBACK SplitterProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  SplitterState* s = SplitterOf(h);
  if (!s) return DefWindowProcA(h, msg, wParam, lParam);
  switch (msg) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorA(nullptr, s->vertical ? IDC_SIZEWE : IDC_SIZENS));
      return TRUE;
    case WM_LBUTTONDOWN:
      s->dragging = true;
      s->start = ScreenPoint(h, lParam);
      SetCapture(h);
      return 0;
    case WM_LBUTTONUP: {
      if (!s->dragging) return 0;
      s->dragging = false;  // before the capture goes, which would cancel it
      ReleaseCapture();
      const POINT end = ScreenPoint(h, lParam);
      const int dx = s->vertical ? end.x - s->start.x : 0, dy = s->vertical ? 0 : end.y - s->start.y;
      if (dx || dy) SendMessageA(GetParent(h), kMsgDragged, WPARAM(GetDlgCtrlID(h)), MAKELPARAM(dx, dy));
      return 0;
    }
    case WM_CAPTURECHANGED:
      s->dragging = false;  // taken away: the drag is dropped
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrA(h, GWLP_USERDATA, 0);
      delete s;
      break;
    default:
      break;
  }
  return DefWindowProcA(h, msg, wParam, lParam);
}

}  // namespace

int EditButtonWidth(const Rect& edit, Dpi dpi) { return std::clamp(edit.Height(), dpi.Scale(16), dpi.Scale(22)); }

HWND CreateSplitter(HWND parent, ControlId id, const Rect& r, bool vertical) {
  static const bool registered = [] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = SplitterProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kSplitterClass;
    return RegisterClassExA(&wc) != 0;
  }();
  (void)registered;
  HWND h = CreateWindowExA(0, kSplitterClass, "", WS_CHILD | WS_CLIPSIBLINGS, r.left, r.top - ScrollOffset(parent),
                           r.Width(), r.Height(), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
  if (!h) return nullptr;
  auto* s = new SplitterState;
  s->vertical = vertical;
  SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
  return h;
}

void SetSplitterVertical(HWND splitter, bool vertical) {
  if (SplitterState* s = SplitterOf(splitter)) s->vertical = vertical;
}

void NativeForm::ApplyEdit(Control& ctl, const ControlDesc& old, bool created) {
  HWND h = ctl.hwnd;
  const ControlDesc& d = ctl.desc;
  if (created ? d.passwordChar != 0 : old.passwordChar != d.passwordChar) {
    SendMessageA(h, EM_SETPASSWORDCHAR, WPARAM(static_cast<unsigned char>(d.passwordChar)), 0);
    InvalidateRect(h, nullptr, TRUE);
  }
  if (created || old.background != d.background) {
    Release(ctl);
    if (d.background != kNoColor) ctl.brush = CreateSolidBrush(ToColorRef(d.background));
    InvalidateRect(h, nullptr, TRUE);
  }
  if (d.hasButton && !ctl.button) {
    // Inside the edit's bounds, at its right; the edit gives up the room.
    ctl.button =
        CreateWindowExA(0, "BUTTON", "...", WS_CHILD | WS_CLIPSIBLINGS | BS_PUSHBUTTON, 0, 0, 0, 0, GetParent(h),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctl.id)), GetModuleHandleA(nullptr), nullptr);
    if (!ctl.button) throw std::runtime_error("The button of " + d.name + " could not be created.");
    SetWindowPos(ctl.button, h, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);  // after it for Tab
  } else if (!d.hasButton && ctl.button) {
    DestroyWindow(ctl.button);
    ctl.button = nullptr;
    ctl.narrowed = 0;
  }
  if (ctl.button) {
    ctl.narrowed = EditButtonWidth(Pixels(d.bounds), dpi_);
    if (created || !(old.font == d.font))
      SendMessageA(ctl.button, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(d.font)), TRUE);
  }
}

LRESULT NativeForm::EditColors(Control& ctl, HDC dc) {
  SetBkColor(dc, ToColorRef(ctl.desc.background));
  SetTextColor(dc, ToColorRef(ctl.desc.font.color));
  return reinterpret_cast<LRESULT>(ctl.brush);
}

void NativeForm::ApplyUpDown(Control& ctl, const ControlDesc& old, bool created) {
  if (created) {
    // Up counts up; the position never moves, every step is refused.
    SendMessageA(ctl.hwnd, UDM_SETRANGE32, 0, 100);
    SendMessageA(ctl.hwnd, UDM_SETPOS32, 0, 50);
  }
  if (created || old.buddy != ctl.desc.buddy) {
    if (Control* before = Find(old.buddy); before && !created && before->desc.type == ControlType::Edit) {
      before->narrowed = before->button ? EditButtonWidth(Pixels(before->desc.bounds), dpi_) : 0;
      Place(*before);
    }
    AttachUpDown(ctl);
  }
}

// Sets the up-down on the right edge of its edit, which gives up the room.
void NativeForm::AttachUpDown(Control& updown) {
  Control* edit = Find(updown.desc.buddy);
  if (!edit || edit->desc.type != ControlType::Edit) {
    SendMessageA(updown.hwnd, UDM_SETBUDDY, 0, 0);
    return;
  }
  HWND parent = GetParent(edit->hwnd);
  const Rect b = Pixels(edit->desc.bounds);
  const int top = b.top - (parent == hwnd_ ? 0 : ScrollOffset(parent));
  SetWindowPos(edit->hwnd, nullptr, b.left, top, b.Width(), b.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(updown.hwnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit->hwnd), 0);
  RECT now{};
  GetWindowRect(edit->hwnd, &now);
  edit->narrowed = std::max(0, b.Width() - int(now.right - now.left));
}

void NativeForm::ApplyDate(Control& ctl) {
  const ControlDesc& d = ctl.desc;
  SYSTEMTIME st{};
  const bool shows = SendMessageA(ctl.hwnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) == GDT_VALID;
  const bool same =
      shows == d.hasDate && (!shows || (st.wYear == d.date.year && st.wMonth == d.date.month && st.wDay == d.date.day));
  if (same) return;
  SYSTEMTIME t{};
  if (!d.hasDate) {
    SendMessageA(ctl.hwnd, DTM_SETSYSTEMTIME, GDT_NONE, reinterpret_cast<LPARAM>(&t));  // Wine wants one
    return;
  }
  t.wYear = WORD(d.date.year);
  t.wMonth = WORD(d.date.month);
  t.wDay = WORD(d.date.day);
  t.wHour = WORD(d.date.hour);
  t.wMinute = WORD(d.date.minute);
  t.wSecond = WORD(d.date.second);
  SendMessageA(ctl.hwnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
}

LRESULT NativeForm::NotifyInput(Control& ctl, const NMHDR& hdr) {
  switch (hdr.code) {
    case UDN_DELTAPOS: {
      const int delta = reinterpret_cast<const NMUPDOWN&>(hdr).iDelta;
      if (!applying_ && delta) events_.Spun(ctl.id, delta > 0 ? 1 : -1);
      return TRUE;  // the logic writes the edit's text
    }
    case DTN_DATETIMECHANGE: {
      if (applying_) return 0;
      const auto& change = reinterpret_cast<const NMDATETIMECHANGE&>(hdr);
      const bool hasDate = change.dwFlags == GDT_VALID;
      DateTime date = ctl.desc.date;  // the time of day stays as the logic gave it
      if (hasDate) {
        date.year = change.st.wYear;
        date.month = change.st.wMonth;
        date.day = change.st.wDay;
      }
      if (hasDate == ctl.desc.hasDate && (!hasDate || date == ctl.desc.date)) return 0;  // told twice
      ctl.desc.hasDate = hasDate;
      ctl.desc.date = date;
      events_.DateChanged(ctl.id, hasDate, date);
      return 0;
    }
    default:
      return 0;
  }
}

void NativeForm::ApplyTooltip(Control& ctl, const ControlDesc& old) {
  const std::string& tip = ctl.desc.tooltip;
  HWND owner = GetParent(ctl.hwnd);
  if (tip.empty() || (ctl.tipOwner && ctl.tipOwner != owner)) RemoveTooltip(ctl);
  if (tip.empty()) return;
  if (!tooltip_) {
    // One for the dialog, owned by it and destroyed with it.
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    if (!tooltip_) return;  // the controls work without their tips
    SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
  }
  TOOLINFOA ti{};
  ti.cbSize = TTTOOLINFOA_V2_SIZE;
  ti.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
  ti.hwnd = owner;
  ti.uId = reinterpret_cast<UINT_PTR>(ctl.hwnd);
  ti.lpszText = const_cast<char*>(tip.c_str());
  if (!ctl.tipOwner) {
    if (SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti))) ctl.tipOwner = owner;
  } else if (old.tooltip != tip) {
    SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

void NativeForm::RemoveTooltip(Control& ctl) {
  if (!tooltip_ || !ctl.tipOwner) return;
  TOOLINFOA ti{};
  ti.cbSize = TTTOOLINFOA_V2_SIZE;
  ti.hwnd = ctl.tipOwner;
  ti.uId = reinterpret_cast<UINT_PTR>(ctl.hwnd);
  SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  ctl.tipOwner = nullptr;
}

}  // namespace tov::win32::form
