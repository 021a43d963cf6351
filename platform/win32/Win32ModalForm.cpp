#include "platform/win32/Win32ModalForm.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "forms/Component.h"
#include "platform/EventGuard.h"
#include "platform/win32/Win32FormPaint.h"

namespace tov::win32 {

namespace {

// Control ids start above IDOK and IDCANCEL, which the dialog manager sends
// for Enter and Escape when nothing else claims them: Escape finds nothing.
constexpr int kFirstControlId = 100;
constexpr int kCloseResult = 2;

// How a component appears on the dialog.
enum class Realised {
  None,     // not shown: menus, timers and image lists, and the kinds below not built yet
  Painted,  // a container the dialog paints itself: panels, group boxes, scroll boxes
  Label,
  Edit,
  Memo,
  Button,  // owner-drawn: the picture beside the caption
  CheckBox,
  RadioButton,
  ComboBox,
  ListBox,
};

Realised HowRealised(const Component& c) {
  switch (c.kind) {
    case ComponentKind::Panel:
    case ComponentKind::FlatPanel:
    case ComponentKind::GroupBox:
    case ComponentKind::ScrollBox:
      return Realised::Painted;
    case ComponentKind::Label:
      return Realised::Label;
    case ComponentKind::Edit:
      return Realised::Edit;
    case ComponentKind::Memo:
      return Realised::Memo;
    case ComponentKind::Button:
    case ComponentKind::SpeedButton:
    case ComponentKind::PngButton:
      return Realised::Button;
    case ComponentKind::CheckBox:
      return Realised::CheckBox;
    case ComponentKind::RadioButton:
      return Realised::RadioButton;
    case ComponentKind::ComboBox:
      return Realised::ComboBox;
    case ComponentKind::ListBox:
      return Realised::ListBox;
    default:
      // List and tree views, pages, track bars, spin edits, images, shapes
      // and bevels have no realisation on dialogs yet; a page control's
      // pages are left out with everything on them.
      return Realised::None;
  }
}

std::string WindowText(HWND h) {
  int n = GetWindowTextLengthA(h);
  std::string s(size_t(n > 0 ? n : 0) + 1, '\0');
  n = GetWindowTextA(h, s.data(), int(s.size()));
  s.resize(size_t(n > 0 ? n : 0));
  return s;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string s;
  for (size_t i = 0; i < lines.size(); ++i)
    s += (i ? "\r\n" : "") + lines[i];
  return s;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      if (start < text.size()) lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

int ModalResultOf(const Component& c) { return std::atoi(c.Property("ModalResult", "0").c_str()); }

void RegisterDialogClass() {
  static bool done = false;
  if (done) return;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DefWindowProcA;  // replaced per window once it is created
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kModalFormClass;
  RegisterClassExA(&wc);
  done = true;
}

class ModalForm final : public ComponentListener {
 public:
  ModalForm(Component& form, HWND owner) : form_(form), owner_(owner) {}
  ~ModalForm() override;
  ModalForm(const ModalForm&) = delete;
  ModalForm& operator=(const ModalForm&) = delete;

  int Run();

  void Added(Component& c) override;
  void Removing(Component& c) override;
  void Changed(Component& c) override;

  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  struct Control {
    Component* component = nullptr;
    Realised how = Realised::None;
    int id = 0;
    HWND hwnd = nullptr;
    HFONT font = nullptr;
    std::vector<std::string> items;  // what a list shows now
  };

  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  void CreateFrame();
  void DestroyFrame();
  void Realise(Component& c);  // c and everything under it
  void CreateControl(Control& ctl);
  void Sync(Control& ctl);
  void SyncUnder(Component& c);  // every control of c and below
  void Place(Control& ctl);
  Control* Find(const Component& c);
  Control* FindId(int id);
  Control* FindWindow(HWND h);
  bool IsUnder(const Component& c, const Component& top) const;
  bool Reachable(const Component& c) const;  // realised: only painted containers between it and the form
  RECT ClientRectOf(const Component& c) const;
  bool Shown(const Component& c) const;
  bool Usable(const Component& c) const;
  Control* DefaultButton();
  void Command(int id, int code);
  void Click(Component& c);
  void End(int result);
  void CheckFormResult();
  void FocusFirst();
  void Paint();
  void PaintUnder(HDC dc, const Component& c);
  void InvalidateButtons();
  HFONT FontFor(const Component& c) { return fonts_.Get(FontStyleOf(c)); }

  Component& form_;
  HWND owner_;
  HWND hwnd_ = nullptr;
  HWND lastFocus_ = nullptr;
  FormFonts fonts_;
  std::vector<std::unique_ptr<Control>> controls_;
  int nextId_ = kFirstControlId;
  int syncing_ = 0;
  bool ended_ = false;
  int result_ = kCloseResult;
};

ModalForm::~ModalForm() { DestroyFrame(); }

void ModalForm::DestroyFrame() {
  form_.SetListener(nullptr);
  if (!hwnd_) return;
  HWND h = hwnd_;
  SetWindowLongPtrA(h, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  controls_.clear();
  DestroyWindow(h);  // with every control on it
}

LRESULT CALLBACK ModalForm::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ModalForm*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  // An exception must not cross the system's frames: it is shown as the
  // application shows one that no handler caught, and the dialog goes on.
  return GuardEvent(LRESULT(0), [&] { return self->Handle(msg, wParam, lParam); });
}

void ModalForm::CreateFrame() {
  RegisterDialogClass();
  const std::string border = form_.Property("BorderStyle", "bsSizeable");
  DWORD style = WS_POPUP | WS_CLIPCHILDREN, ex = WS_EX_CONTROLPARENT;
  if (border == "bsDialog") {
    style |= WS_CAPTION | WS_SYSMENU;
    ex |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
  } else if (border == "bsSingle") {
    style |= WS_CAPTION | WS_SYSMENU | WS_BORDER;
  } else if (border == "bsToolWindow") {
    style |= WS_CAPTION | WS_SYSMENU;
    ex |= WS_EX_TOOLWINDOW;
  } else if (border == "bsSizeToolWin") {
    style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    ex |= WS_EX_TOOLWINDOW;
  } else if (border != "bsNone") {
    // Sizeable; the controls keep their places, nothing is aligned again.
    style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
  }
  // The form's bounds give its client area.
  RECT r{0, 0, form_.bounds.Width(), form_.bounds.Height()};
  AdjustWindowRectEx(&r, style, FALSE, ex);
  const int w = r.right - r.left, h = r.bottom - r.top;
  int x = form_.bounds.left, y = form_.bounds.top;
  const std::string position = form_.Property("Position", "poDesigned");
  RECT owner{};
  if (position == "poScreenCenter" || position == "poDesktopCenter") {
    x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  } else if ((position == "poOwnerFormCenter" || position == "poMainFormCenter") && owner_ &&
             GetWindowRect(owner_, &owner)) {
    x = std::max(0L, owner.left + (owner.right - owner.left - w) / 2);
    y = std::max(0L, owner.top + (owner.bottom - owner.top - h) / 2);
  }
  hwnd_ = CreateWindowExA(ex, kModalFormClass, form_.caption.c_str(), style, x, y, w, h, owner_, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
  if (!hwnd_) {
    throw std::runtime_error("The window of " + form_.name + " could not be created (error " +
                             std::to_string(GetLastError()) + ").");
  }
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ModalForm::WndProc));
}

bool ModalForm::IsUnder(const Component& c, const Component& top) const {
  for (const Component* p = &c; p; p = p->Parent())
    if (p == &top) return true;
  return false;
}

bool ModalForm::Reachable(const Component& c) const {
  for (const Component* p = c.Parent(); p && p != &form_; p = p->Parent())
    if (HowRealised(*p) != Realised::Painted) return false;
  return IsUnder(c, form_) && &c != &form_;
}

RECT ModalForm::ClientRectOf(const Component& c) const {
  RECT r{c.bounds.left, c.bounds.top, c.bounds.right, c.bounds.bottom};
  for (const Component* p = c.Parent(); p && p != &form_; p = p->Parent())
    OffsetRect(&r, p->bounds.left, p->bounds.top);
  return r;
}

bool ModalForm::Shown(const Component& c) const {
  for (const Component* p = &c; p && p != &form_; p = p->Parent())
    if (!p->visible) return false;
  return true;
}

bool ModalForm::Usable(const Component& c) const {
  for (const Component* p = &c; p; p = p->Parent()) {
    if (!p->enabled) return false;
    if (p == &form_) break;
  }
  return true;
}

ModalForm::Control* ModalForm::Find(const Component& c) {
  for (auto& ctl : controls_)
    if (ctl->component == &c) return ctl.get();
  return nullptr;
}

ModalForm::Control* ModalForm::FindId(int id) {
  for (auto& ctl : controls_)
    if (ctl->id == id) return ctl.get();
  return nullptr;
}

ModalForm::Control* ModalForm::FindWindow(HWND h) {
  if (!h) return nullptr;
  for (auto& ctl : controls_)
    if (ctl->hwnd == h) return ctl.get();
  return nullptr;
}

void ModalForm::Realise(Component& c) {
  const Realised how = HowRealised(c);
  if (how == Realised::None) return;
  if (how != Realised::Painted && !Find(c)) {
    auto ctl = std::make_unique<Control>();
    ctl->component = &c;
    ctl->how = how;
    ctl->id = nextId_++;
    controls_.push_back(std::move(ctl));
    try {
      CreateControl(*controls_.back());
    } catch (...) {
      controls_.pop_back();  // no entry without its window
      throw;
    }
  }
  for (size_t i = 0; i < c.ChildCount(); ++i)
    Realise(c.Child(i));
}

void ModalForm::CreateControl(Control& ctl) {
  const Component& c = *ctl.component;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS, ex = 0;
  const char* cls = "STATIC";
  std::string text = c.caption;
  switch (ctl.how) {
    case Realised::Label:
      style |= SS_LEFT;
      if (c.Property("ShowAccelChar") == "False") style |= SS_NOPREFIX;
      break;
    case Realised::Edit:
      cls = "EDIT";
      style |= WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
      if (c.Property("ReadOnly") == "True") style |= ES_READONLY;
      ex = WS_EX_CLIENTEDGE;
      break;
    case Realised::Memo:
      cls = "EDIT";
      style |= WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
      if (c.Property("ReadOnly") == "True") style |= ES_READONLY;
      ex = WS_EX_CLIENTEDGE;
      text = JoinLines(c.lines);
      break;
    case Realised::Button:
      cls = "BUTTON";
      style |= BS_OWNERDRAW | BS_NOTIFY;
      if (c.kind != ComponentKind::SpeedButton) style |= WS_TABSTOP;  // speed buttons take no focus
      break;
    case Realised::CheckBox:
      cls = "BUTTON";
      style |= BS_AUTOCHECKBOX | WS_TABSTOP;
      break;
    case Realised::RadioButton:
      cls = "BUTTON";
      style |= BS_AUTORADIOBUTTON | WS_TABSTOP;
      break;
    case Realised::ComboBox:
      cls = "COMBOBOX";
      style |=
          WS_TABSTOP | WS_VSCROLL |
          (c.Property("Style") == "csDropDownList" ? DWORD(CBS_DROPDOWNLIST) : DWORD(CBS_DROPDOWN | CBS_AUTOHSCROLL));
      text.clear();
      break;
    case Realised::ListBox:
      cls = "LISTBOX";
      style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
      ex = WS_EX_CLIENTEDGE;
      text.clear();
      break;
    default:
      return;
  }
  RECT r = ClientRectOf(c);
  ctl.hwnd = CreateWindowExA(ex, cls, text.c_str(), style, r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(ctl.id)), GetModuleHandleA(nullptr), nullptr);
  if (!ctl.hwnd) throw std::runtime_error("The control " + c.name + " of " + form_.name + " could not be created.");
  Sync(ctl);
}

void ModalForm::Place(Control& ctl) {
  const Component& c = *ctl.component;
  RECT r = ClientRectOf(c);
  if (ctl.how == Realised::Label && c.Property("AutoSize") != "False") {
    // A label takes the size of its text.
    HDC dc = GetDC(ctl.hwnd);
    HGDIOBJ old = SelectObject(dc, ctl.font);
    RECT calc{0, 0, c.Property("WordWrap") == "True" ? r.right - r.left : 0, 0};
    UINT format = DT_CALCRECT | DT_LEFT | DT_EXPANDTABS | (c.Property("WordWrap") == "True" ? DT_WORDBREAK : 0);
    if (c.Property("ShowAccelChar") == "False") format |= DT_NOPREFIX;
    DrawTextA(dc, c.caption.empty() ? " " : c.caption.c_str(), -1, &calc, format);
    SelectObject(dc, old);
    ReleaseDC(ctl.hwnd, dc);
    r.right = r.left + calc.right;
    r.bottom = r.top + calc.bottom;
  } else if (ctl.how == Realised::ComboBox) {
    r.bottom = r.top + std::max<LONG>(r.bottom - r.top, 21) + 8 * 16;  // room for the drop-down list
  }
  RECT now{};
  GetWindowRect(ctl.hwnd, &now);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&now), 2);
  if (!EqualRect(&now, &r))
    SetWindowPos(ctl.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ModalForm::Sync(Control& ctl) {
  ++syncing_;
  struct Done {
    int& n;
    ~Done() { --n; }
  } done{syncing_};
  const Component& c = *ctl.component;
  HWND h = ctl.hwnd;
  HFONT font = FontFor(c);
  if (font != ctl.font) {
    ctl.font = font;
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  switch (ctl.how) {
    case Realised::Memo:
      // Compared as lines: a line break just typed at the end stays.
      if (SplitLines(WindowText(h)) != c.lines) SetWindowTextA(h, JoinLines(c.lines).c_str());
      break;
    case Realised::ComboBox:
    case Realised::ListBox: {
      const bool combo = ctl.how == Realised::ComboBox;
      if (ctl.items != c.items) {
        SendMessageA(h, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
        for (const std::string& item : c.items)
          SendMessageA(h, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        ctl.items = c.items;
      }
      const int index = c.itemIndex >= 0 && size_t(c.itemIndex) < c.items.size() ? c.itemIndex : -1;
      if (int(SendMessageA(h, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0)) != index)
        SendMessageA(h, combo ? CB_SETCURSEL : LB_SETCURSEL, WPARAM(index), 0);
      if (combo && index < 0 && (GetWindowLongA(h, GWL_STYLE) & 3) != CBS_DROPDOWNLIST && WindowText(h) != c.caption)
        SetWindowTextA(h, c.caption.c_str());
      break;
    }
    default:
      if (WindowText(h) != c.caption) SetWindowTextA(h, c.caption.c_str());
      break;
  }
  if (ctl.how == Realised::CheckBox || ctl.how == Realised::RadioButton)
    SendMessageA(h, BM_SETCHECK, c.checked ? BST_CHECKED : BST_UNCHECKED, 0);
  Place(ctl);
  const bool usable = Usable(c);
  if ((IsWindowEnabled(h) != 0) != usable) EnableWindow(h, usable);
  const bool shown = Shown(c);
  if (((GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0) != shown) ShowWindow(h, shown ? SW_SHOWNA : SW_HIDE);
  if (ctl.how == Realised::Button || ctl.how == Realised::Label) InvalidateRect(h, nullptr, TRUE);
}

void ModalForm::SyncUnder(Component& c) {
  for (size_t i = 0; i < controls_.size(); ++i)
    if (IsUnder(*controls_[i]->component, c)) Sync(*controls_[i]);
}

void ModalForm::Added(Component& c) {
  if (!hwnd_ || !Reachable(c)) return;
  Realise(c);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ModalForm::Removing(Component& c) {
  if (!hwnd_) return;
  for (size_t i = controls_.size(); i-- > 0;) {
    if (!IsUnder(*controls_[i]->component, c)) continue;
    if (lastFocus_ == controls_[i]->hwnd) lastFocus_ = nullptr;
    DestroyWindow(controls_[i]->hwnd);
    controls_.erase(controls_.begin() + std::ptrdiff_t(i));
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ModalForm::Changed(Component& c) {
  if (!hwnd_) return;
  if (&c == &form_ && WindowText(hwnd_) != form_.caption) SetWindowTextA(hwnd_, form_.caption.c_str());
  SyncUnder(c);
  if (HowRealised(c) == Realised::Painted || &c == &form_) InvalidateRect(hwnd_, nullptr, TRUE);
}

ModalForm::Control* ModalForm::DefaultButton() {
  // A focused button is the one Enter presses; otherwise the form's default.
  Control* focused = FindWindow(GetFocus());
  if (focused && focused->how == Realised::Button) return focused;
  for (auto& ctl : controls_) {
    const Component& c = *ctl->component;
    if (ctl->how == Realised::Button && c.Property("Default") == "True" && Shown(c) && Usable(c)) return ctl.get();
  }
  return nullptr;
}

void ModalForm::InvalidateButtons() {
  for (auto& ctl : controls_)
    if (ctl->how == Realised::Button) InvalidateRect(ctl->hwnd, nullptr, FALSE);
}

void ModalForm::End(int result) {
  if (ended_) return;
  ended_ = true;
  result_ = result;
}

void ModalForm::CheckFormResult() {
  if (int result = ModalResultOf(form_)) End(result);
}

void ModalForm::Click(Component& c) {
  if (!Usable(c) || !Shown(c)) return;
  const int result = ModalResultOf(c);  // read first: the handler may free the button
  c.Fire("OnClick");
  if (result) End(result);
}

void ModalForm::Command(int id, int code) {
  Control* ctl = FindId(id);
  if (!ctl) return;
  Component& c = *ctl->component;
  switch (ctl->how) {
    case Realised::Button:
      if (code == BN_CLICKED || code == BN_DOUBLECLICKED) {
        Click(c);
      } else if (code == BN_SETFOCUS || code == BN_KILLFOCUS) {
        InvalidateButtons();  // the button Enter presses follows the focus
      }
      break;
    case Realised::CheckBox:
    case Realised::RadioButton:
      if (code == BN_CLICKED) {
        // Automatic radio buttons uncheck their neighbours themselves.
        for (auto& other : controls_)
          if (other->how == ctl->how && other->component->Parent() == c.Parent())
            other->component->checked = SendMessageA(other->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
        c.Fire("OnClick");
      }
      break;
    case Realised::Edit:
    case Realised::Memo:
      if (code == EN_CHANGE && !syncing_) {
        const std::string text = WindowText(ctl->hwnd);
        if (ctl->how == Realised::Edit)
          c.caption = text;
        else
          c.lines = SplitLines(text);
        c.Fire("OnChange");
      }
      break;
    case Realised::ComboBox:
      if (syncing_) break;
      if (code == CBN_SELCHANGE) {
        c.itemIndex = int(SendMessageA(ctl->hwnd, CB_GETCURSEL, 0, 0));
        if (c.itemIndex >= 0 && size_t(c.itemIndex) < c.items.size()) c.caption = c.items[size_t(c.itemIndex)];
        c.Fire("OnChange");
      } else if (code == CBN_EDITCHANGE) {
        c.caption = WindowText(ctl->hwnd);
        c.itemIndex = -1;
        c.Fire("OnChange");
      }
      break;
    case Realised::ListBox:
      if (code == LBN_SELCHANGE && !syncing_) {
        c.itemIndex = int(SendMessageA(ctl->hwnd, LB_GETCURSEL, 0, 0));
        c.Fire("OnClick");
      }
      break;
    default:
      break;
  }
}

void ModalForm::PaintUnder(HDC dc, const Component& c) {
  for (size_t i = 0; i < c.ChildCount(); ++i) {
    const Component& child = c.Child(i);
    if (HowRealised(child) != Realised::Painted || !child.visible) continue;
    PaintContainer(dc, child, ClientRectOf(child), FontFor(child));
    PaintUnder(dc, child);
  }
}

void ModalForm::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  PaintUnder(dc, form_);
  EndPaint(hwnd_, &ps);
}

void ModalForm::FocusFirst() {
  // The first edit, with its text selected; else the first control that takes focus.
  for (auto& ctl : controls_) {
    if (ctl->how == Realised::Edit && IsWindowVisible(ctl->hwnd) && IsWindowEnabled(ctl->hwnd)) {
      SetFocus(ctl->hwnd);
      SendMessageA(ctl->hwnd, EM_SETSEL, 0, -1);
      return;
    }
  }
  for (auto& ctl : controls_) {
    if ((GetWindowLongA(ctl->hwnd, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(ctl->hwnd) &&
        IsWindowEnabled(ctl->hwnd)) {
      SetFocus(ctl->hwnd);
      return;
    }
  }
  SetFocus(hwnd_);
}

LRESULT ModalForm::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      Command(LOWORD(wParam), HIWORD(wParam));
      CheckFormResult();
      return 0;
    case DM_GETDEFID:
      if (Control* d = DefaultButton()) return MAKELRESULT(d->id, DC_HASDEFID);
      return 0;
    case DM_SETDEFID:
      return TRUE;  // the default button is the form's to say
    case WM_NEXTDLGCTL: {
      HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(hwnd_, GetFocus(), wParam != 0);
      if (next) {
        if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(next, EM_SETSEL, 0, -1);
        SetFocus(next);
      }
      return 0;
    }
    case WM_DRAWITEM: {
      const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      Control* ctl = FindId(int(dis->CtlID));
      if (!ctl || ctl->how != Realised::Button) return FALSE;
      DrawPictureButton(*dis, *ctl->component, DefaultButton() == ctl, ctl->font);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
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
      End(kCloseResult);
      return 0;
    case WM_NCDESTROY:
      // Destroyed from outside: the loop ends as with the close box.
      {
        HWND h = hwnd_;
        SetWindowLongPtrA(h, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        controls_.clear();
        End(kCloseResult);
        return DefWindowProcA(h, msg, wParam, lParam);
      }
    default:
      break;
  }
  return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

int ModalForm::Run() {
  form_.properties.erase("ModalResult");
  CreateFrame();
  for (size_t i = 0; i < form_.ChildCount(); ++i)
    Realise(form_.Child(i));
  form_.SetListener(this);
  form_.Fire("OnShow");
  // What OnShow changed without telling.
  Changed(form_);
  CheckFormResult();

  // The owner is disabled while the dialog runs, and enabled again before it
  // goes, so that Windows gives the activation back to the owner.
  const bool disableOwner = owner_ && IsWindowEnabled(owner_);
  struct OwnerBack {
    ModalForm* dialog;
    HWND owner;
    bool enable;
    ~OwnerBack() {
      if (enable) EnableWindow(owner, TRUE);
      dialog->DestroyFrame();
      if (owner && IsWindow(owner)) SetActiveWindow(owner);
    }
  } back{this, owner_, disableOwner};
  if (disableOwner) EnableWindow(owner_, FALSE);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
  FocusFirst();
  MSG msg;
  while (!ended_ && hwnd_) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      // The application is ending: the dialog closes and the quit goes on
      // to the loop outside.
      PostQuitMessage(int(msg.wParam));
      End(kCloseResult);
      break;
    }
    if (got < 0) {
      End(kCloseResult);
      break;
    }
    if (!hwnd_ || !IsDialogMessageA(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  form_.SetListener(nullptr);
  // The texts as the dialog leaves them: a multi-line edit given its text
  // from outside says nothing of it.
  if (hwnd_) {
    for (auto& ctl : controls_) {
      if (ctl->how == Realised::Edit) ctl->component->caption = WindowText(ctl->hwnd);
      if (ctl->how == Realised::Memo) ctl->component->lines = SplitLines(WindowText(ctl->hwnd));
    }
  }
  return result_;
}

}  // namespace

int RunModalForm(Component& form, HWND owner) {
  ModalForm dialog(form, owner);
  return dialog.Run();
}

}  // namespace tov::win32
