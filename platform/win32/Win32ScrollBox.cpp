// Scroll boxes on dialogs: a child window with a vertical scroll bar. The
// controls in it are its child windows; scrolling moves them with the
// content, and the logic paints the content's background through the events
// with the box's id.
#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/DpiCanvas.h"
#include "platform/EventGuard.h"
#include "platform/win32/Win32Canvas.h"
#include "platform/win32/Win32FormWindow.h"

namespace tov::win32::form {

namespace {

constexpr const char* kScrollBoxClass = "TToviraScrollBox";
constexpr int kLine = 16;  // pixels an arrow of the bar scrolls

struct BoxState {
  ControlId id = 0;
  IFormEvents* events = nullptr;
  int content = 0;  // the content's height
  int offset = 0;   // how far it is scrolled down
  int wheel = 0;    // wheel turns not yet a whole notch
};

BoxState* StateOf(HWND box) { return reinterpret_cast<BoxState*>(GetWindowLongPtrA(box, GWLP_USERDATA)); }

int ClientHeight(HWND box) {
  RECT r{};
  GetClientRect(box, &r);
  return r.bottom;
}

// The bar as the content and the box's height make it: hidden while all of
// the content shows.
void UpdateBar(HWND box, const BoxState& s) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = std::max(0, s.content - 1);
  si.nPage = UINT(std::max(0, ClientHeight(box)));
  si.nPos = s.offset;
  SetScrollInfo(box, SB_VERT, &si, TRUE);
}

void Paint(HWND box, BoxState& s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(box, &ps);
  RECT client{};
  GetClientRect(box, &client);
  const int saved = SaveDC(dc);
  // The canvas is the whole content; the window shows it from the offset down.
  SetViewportOrgEx(dc, 0, -s.offset, nullptr);
  {
    std::unique_ptr<ICanvas> canvas = MakeDcCanvas(dc, client.right, std::max<int>(client.bottom, s.content));
    DpiCanvas units(*canvas, DialogDpi(box));
    GuardEvent(0, [&] {
      s.events->PaintBackground(s.id, units);
      return 0;
    });
  }
  RestoreDC(dc, saved);
  EndPaint(box, &ps);
}

LRESULT CALLBACK BoxProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
  BoxState* s = StateOf(box);
  if (!s) return DefWindowProcA(box, msg, wParam, lParam);
  switch (msg) {
    case WM_VSCROLL: {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_ALL;
      GetScrollInfo(box, SB_VERT, &si);
      int to = s->offset;
      switch (LOWORD(wParam)) {
        case SB_LINEUP:
          to -= kLine;
          break;
        case SB_LINEDOWN:
          to += kLine;
          break;
        case SB_PAGEUP:
          to -= int(si.nPage);
          break;
        case SB_PAGEDOWN:
          to += int(si.nPage);
          break;
        case SB_TOP:
          to = 0;
          break;
        case SB_BOTTOM:
          to = s->content;
          break;
        case SB_THUMBTRACK:  // the content follows the thumb while it is dragged
        case SB_THUMBPOSITION:
          to = si.nTrackPos;
          break;
        default:
          break;
      }
      ScrollTo(box, to);
      return 0;
    }
    case WM_MOUSEWHEEL: {
      s->wheel += GET_WHEEL_DELTA_WPARAM(wParam);
      const int notches = s->wheel / WHEEL_DELTA;
      s->wheel -= notches * WHEEL_DELTA;
      UINT lines = 3;
      SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
      if (notches) ScrollTo(box, s->offset - notches * int(std::min(lines, 20u)) * kLine);
      return 0;
    }
    case WM_SIZE:
      UpdateBar(box, *s);
      ScrollTo(box, s->offset);  // a taller box may show the end of the content
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT paints all of it
    case WM_PAINT:
      Paint(box, *s);
      return 0;
    // What the controls in the box tell their parent is the dialog's to handle.
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case kMsgRowsSelected:
    case kMsgDragged:
      return SendMessageA(GetParent(box), msg, wParam, lParam);
    case WM_NCDESTROY:
      SetWindowLongPtrA(box, GWLP_USERDATA, 0);
      delete s;
      break;
    default:
      break;
  }
  return DefWindowProcA(box, msg, wParam, lParam);
}

void RegisterBoxClass() {
  static const bool done = [] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = BoxProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.lpszClassName = kScrollBoxClass;
    return RegisterClassExA(&wc) != 0;
  }();
  (void)done;
}

bool IsClass(HWND h, const char* cls) {
  char name[64] = {};
  GetClassNameA(h, name, sizeof name);
  return _stricmp(name, cls) == 0;
}

}  // namespace

HWND CreateScrollBox(HWND parent, ControlId id, const Rect& r, IFormEvents& events) {
  RegisterBoxClass();
  const int top = IsClass(parent, kScrollBoxClass) ? r.top - ScrollOffset(parent) : r.top;
  // A control parent: Tab goes through the controls in it.
  HWND box =
      CreateWindowExA(WS_EX_CONTROLPARENT, kScrollBoxClass, "",
                      WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VSCROLL, r.left, top, r.Width(), r.Height(),
                      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  if (!box) return nullptr;
  auto* s = new BoxState;
  s->id = id;
  s->events = &events;
  SetWindowLongPtrA(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
  UpdateBar(box, *s);
  return box;
}

int ScrollOffset(HWND box) {
  const BoxState* s = box && IsClass(box, kScrollBoxClass) ? StateOf(box) : nullptr;
  return s ? s->offset : 0;
}

void SetContentHeight(HWND box, int height) {
  BoxState* s = StateOf(box);
  if (!s) return;
  s->content = std::max(0, height);
  if (height <= 0) ScrollTo(box, 0);
  UpdateBar(box, *s);
  ScrollTo(box, s->offset);
  InvalidateRect(box, nullptr, FALSE);
}

void ScrollTo(HWND box, int offset) {
  BoxState* s = StateOf(box);
  if (!s) return;
  offset = std::clamp(offset, 0, std::max(0, s->content - ClientHeight(box)));
  if (offset == s->offset) return;
  const int dy = s->offset - offset;
  s->offset = offset;
  SetScrollPos(box, SB_VERT, offset, TRUE);
  ScrollWindowEx(box, 0, dy, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
  UpdateWindow(box);
}

void ScrollIntoView(HWND box, const RECT& r) {
  BoxState* s = StateOf(box);
  if (!s) return;
  const int height = ClientHeight(box);
  if (r.top < 0)
    ScrollTo(box, s->offset + r.top);
  else if (r.bottom > height)
    ScrollTo(box, s->offset + std::min<int>(r.top, r.bottom - height));
}

bool WheelToScrollBox(const MSG& msg) {
  const POINT pt{short(LOWORD(msg.lParam)), short(HIWORD(msg.lParam))};
  for (HWND h = WindowFromPoint(pt); h && (GetWindowLongA(h, GWL_STYLE) & WS_CHILD); h = GetParent(h)) {
    if (IsClass(h, kScrollBoxClass)) {
      SendMessageA(h, WM_MOUSEWHEEL, msg.wParam, msg.lParam);
      return true;
    }
    // A control that scrolls itself keeps the wheel.
    if ((GetWindowLongA(h, GWL_STYLE) & WS_VSCROLL) || IsClass(h, WC_TREEVIEWA) || IsClass(h, WC_LISTVIEWA) ||
        IsClass(h, "ComboBox"))
      return false;
  }
  return false;
}

}  // namespace tov::win32::form
