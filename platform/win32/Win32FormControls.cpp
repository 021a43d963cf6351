// The controls of a Win32 dialog: made from their descriptions, brought up
// to date when a description changes, taken away, and what the plain ones
// report (clicks, checks, typing, choices) passed on as neutral events.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/EventGuard.h"
#include "platform/win32/Win32FormWindow.h"
#include "platform/win32/Win32NativeForm.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32Windows.h"

namespace tov::win32::form {

namespace {

// A memo's text as lines: a line break just typed at the end is no line yet.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// Whether the control shows the description's text as its window text.
bool ShowsText(ControlType type) {
  switch (type) {
    case ControlType::Label:
    case ControlType::Edit:
    case ControlType::PushButton:
    case ControlType::CheckBox:
    case ControlType::RadioButton:
    case ControlType::Painted:
      return true;
    case ControlType::Memo:
    case ControlType::ComboBox:
    case ControlType::ListBox:
    case ControlType::ScrollBox:
    case ControlType::TreeView:
    case ControlType::ListView:
    case ControlType::UpDown:
    case ControlType::DatePicker:
    case ControlType::Splitter:
      return false;
  }
  return false;
}

}  // namespace

HWND NativeForm::Create(const ControlDesc& desc, ControlId id) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS, ex = 0;
  const char* cls = "STATIC";
  HWND parent = ParentOf(desc);
  switch (desc.type) {
    case ControlType::Label:
      style |= SS_LEFT | (desc.noPrefix ? DWORD(SS_NOPREFIX) : 0) | (desc.reportsClicks ? DWORD(SS_NOTIFY) : 0);
      break;
    case ControlType::Painted:
      style |= SS_OWNERDRAW | SS_NOTIFY;
      break;
    case ControlType::Edit:
      cls = "EDIT";
      style |= ES_AUTOHSCROLL | ES_LEFT | (desc.passwordChar ? DWORD(ES_PASSWORD) : 0);
      ex = WS_EX_CLIENTEDGE;
      break;
    case ControlType::Memo:
      cls = "EDIT";
      style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
      if (!desc.wrapLines) style |= ES_AUTOHSCROLL | WS_HSCROLL;
      ex = WS_EX_CLIENTEDGE;
      break;
    case ControlType::PushButton:
      cls = "BUTTON";
      style |= BS_OWNERDRAW | BS_NOTIFY;
      break;
    case ControlType::CheckBox:
      cls = "BUTTON";
      style |= BS_CHECKBOX;
      break;
    case ControlType::RadioButton:
      cls = "BUTTON";
      style |= BS_RADIOBUTTON;
      break;
    case ControlType::ComboBox:
      cls = "COMBOBOX";
      style |= WS_VSCROLL | (desc.listOnly ? DWORD(CBS_DROPDOWNLIST) : DWORD(CBS_DROPDOWN | CBS_AUTOHSCROLL));
      break;
    case ControlType::ListBox:
      cls = "LISTBOX";
      style |= WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
      ex = WS_EX_CLIENTEDGE;
      break;
    case ControlType::ScrollBox:
      return CreateScrollBox(parent, id, Pixels(desc.bounds), events_);
    case ControlType::Splitter:
      return CreateSplitter(parent, id, Pixels(desc.bounds), desc.vertical);
    case ControlType::TreeView:
      cls = WC_TREEVIEWA;
      style |= TVS_SHOWSELALWAYS | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT;
      ex = WS_EX_CLIENTEDGE;
      break;
    case ControlType::ListView:
      cls = WC_LISTVIEWA;
      style |= LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS;
      ex = WS_EX_CLIENTEDGE;
      break;
    case ControlType::UpDown:
      // The steps are the logic's to take: the up-down neither counts nor
      // writes into its edit.
      cls = UPDOWN_CLASSA;
      style |= UDS_ALIGNRIGHT | UDS_ARROWKEYS;
      break;
    case ControlType::DatePicker:
      cls = DATETIMEPICK_CLASSA;
      style |= DTS_SHORTDATEFORMAT | DTS_SHOWNONE;
      break;
  }
  if (desc.takesFocus && desc.type != ControlType::Label && desc.type != ControlType::Painted) style |= WS_TABSTOP;
  if ((desc.type == ControlType::Edit || desc.type == ControlType::Memo) && desc.readOnly) style |= ES_READONLY;
  const Rect r = Pixels(desc.bounds);
  const int top = r.top - (parent == hwnd_ ? 0 : ScrollOffset(parent));
  // Unicode windows, so that typed text in any script reaches them whole; the
  // narrow messages the form sends them are converted from UTF-8 by the
  // system (the process's code page).
  return CreateWindowExW(ex, WideText(cls).c_str(), L"", style, r.left, top, r.Width(), r.Height(), parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

ControlId NativeForm::AddControl(const ControlDesc& desc) {
  Control ctl;
  ctl.id = nextId_++;
  ctl.hwnd = Create(desc, ctl.id);
  if (!ctl.hwnd) throw std::runtime_error("The control " + desc.name + " could not be created.");
  ctl.desc.type = desc.type;
  ctl.desc.parent = desc.parent;
  controls_.push_back(ctl);
  Apply(controls_.back(), desc, true);
  if (desc.type == ControlType::Edit && desc.reportsDoubleClicks)
    SetWindowSubclass(ctl.hwnd, &NativeForm::EditProc, UINT_PTR(ctl.id), reinterpret_cast<DWORD_PTR>(this));
  return ctl.id;
}

LRESULT CALLBACK NativeForm::EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self) {
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &NativeForm::EditProc, id);
  const LRESULT r = DefSubclassProc(hwnd, msg, wParam, lParam);
  if (msg == WM_LBUTTONDBLCLK) {
    NativeForm* form = reinterpret_cast<NativeForm*>(self);
    GuardEvent([&] { form->events_.DoubleClicked(ControlId(id)); });
  }
  return r;
}

void NativeForm::Apply(Control& ctl, const ControlDesc& desc, bool created) {
  ++applying_;
  struct Done {
    int& n;
    ~Done() { --n; }
  } done{applying_};
  HWND h = ctl.hwnd;
  const ControlDesc old = ctl.desc;
  ctl.desc = desc;
  if (created || !(old.font == desc.font))
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(desc.font)), TRUE);
  if (!created && old.parent != desc.parent) SetParent(h, ParentOf(desc));
  switch (desc.type) {
    case ControlType::ComboBox:
    case ControlType::ListBox: {
      const bool combo = desc.type == ControlType::ComboBox;
      if (created || old.items != desc.items) {
        SendMessageA(h, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
        for (const std::string& item : desc.items)
          SendMessageA(h, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
      }
      if (int(SendMessageA(h, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0)) != desc.itemIndex)
        SendMessageA(h, combo ? CB_SETCURSEL : LB_SETCURSEL, WPARAM(desc.itemIndex), 0);
      if (combo && desc.itemIndex < 0 && !desc.listOnly && WindowText(h) != desc.text)
        SetWindowTextA(h, desc.text.c_str());
      break;
    }
    case ControlType::Memo:
      // Compared as lines: a line break just typed at the end stays.
      if (Lines(WindowText(h)) != Lines(desc.text)) SetWindowTextA(h, desc.text.c_str());
      break;
    case ControlType::ScrollBox:
      if (created || old.contentHeight != desc.contentHeight) SetContentHeight(h, dpi_.Scale(desc.contentHeight));
      break;
    case ControlType::TreeView:
      ApplyTree(ctl, old, created);
      break;
    case ControlType::ListView:
      ApplyList(ctl, old, created);
      break;
    case ControlType::UpDown:
      ApplyUpDown(ctl, old, created);
      break;
    case ControlType::DatePicker:
      ApplyDate(ctl);
      break;
    case ControlType::Splitter:
      if (!created && old.vertical != desc.vertical) SetSplitterVertical(h, desc.vertical);
      break;
    case ControlType::Edit:
      ApplyEdit(ctl, old, created);
      break;
    case ControlType::Label:
    case ControlType::PushButton:
    case ControlType::CheckBox:
    case ControlType::RadioButton:
    case ControlType::Painted:
      break;
  }
  // Compared with what it shows: a text the user is typing stays as it is.
  if (ShowsText(desc.type) && WindowText(h) != desc.text) SetWindowTextA(h, desc.text.c_str());
  if (desc.type == ControlType::CheckBox || desc.type == ControlType::RadioButton)
    SendMessageA(h, BM_SETCHECK, desc.checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if ((desc.type == ControlType::Edit || desc.type == ControlType::Memo) && (created || old.readOnly != desc.readOnly))
    SendMessageA(h, EM_SETREADONLY, desc.readOnly ? TRUE : FALSE, 0);
  Place(ctl);
  for (HWND w : {h, ctl.button}) {
    if (!w) continue;
    if ((IsWindowEnabled(w) != 0) != desc.enabled) EnableWindow(w, desc.enabled);
    if (((GetWindowLongA(w, GWL_STYLE) & WS_VISIBLE) != 0) != desc.visible)
      ShowWindow(w, desc.visible ? SW_SHOWNA : SW_HIDE);
  }
  ApplyTooltip(ctl, old);
  if (desc.type == ControlType::PushButton || desc.type == ControlType::Label || desc.type == ControlType::Painted)
    InvalidateRect(h, nullptr, TRUE);
}

// Moves the control to its bounds when it is elsewhere: in a scroll box, as
// far up as the content is scrolled; an edit leaves room at its right for its
// button or up-down, and takes them along.
void NativeForm::Place(Control& ctl) {
  HWND h = ctl.hwnd;
  HWND parent = GetParent(h);
  const int scrolled = parent == hwnd_ ? 0 : ScrollOffset(parent);
  const Rect b = Pixels(ctl.desc.bounds);
  const RECT want{b.left, b.top - scrolled, b.right - ctl.narrowed, b.bottom - scrolled};
  RECT now{};
  GetWindowRect(h, &now);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&now), 2);
  if (EqualRect(&now, &want)) return;
  if (ctl.desc.type == ControlType::UpDown && ctl.desc.buddy && Find(ctl.desc.buddy)) return;  // follows its edit
  SetWindowPos(h, nullptr, want.left, want.top, want.right - want.left, want.bottom - want.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (ctl.button)
    SetWindowPos(ctl.button, nullptr, want.right, want.top, ctl.narrowed, want.bottom - want.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  if (ctl.desc.type == ControlType::Edit)
    for (Control& other : controls_)
      if (other.desc.type == ControlType::UpDown && other.desc.buddy == ctl.id) AttachUpDown(other);
}

void NativeForm::UpdateControl(ControlId id, const ControlDesc& desc) {
  if (Control* ctl = Find(id)) Apply(*ctl, desc, false);
}

void NativeForm::RemoveControl(ControlId id) {
  Control* ctl = Find(id);
  if (!ctl) return;
  const ControlDesc desc = ctl->desc;
  RemoveTooltip(*ctl);
  if (lastFocus_ && (lastFocus_ == ctl->hwnd || IsChild(ctl->hwnd, lastFocus_))) lastFocus_ = nullptr;
  if (ctl->button) DestroyWindow(ctl->button);
  DestroyWindow(ctl->hwnd);  // a scroll box with the controls in it
  Release(*ctl);
  controls_.erase(controls_.begin() + (ctl - controls_.data()));
  // What lay in a scroll box went with it; an edit gives its up-down's room back.
  std::vector<ControlId> inside;
  for (Control& other : controls_)
    if (other.desc.parent == id) inside.push_back(other.id);
  for (ControlId child : inside)
    if (Control* c = Find(child)) {
      RemoveTooltip(*c);
      c->hwnd = nullptr;  // destroyed with the box
      c->button = nullptr;
      RemoveControl(child);
    }
  if (desc.type == ControlType::UpDown)
    if (Control* edit = Find(desc.buddy); edit && edit->hwnd) {
      edit->narrowed = edit->button ? edit->narrowed : 0;
      Place(*edit);
    }
}

std::string NativeForm::ControlText(ControlId id) {
  Control* ctl = Find(id);
  return ctl ? WindowText(ctl->hwnd) : std::string();
}

void NativeForm::ReportChecks() {
  for (Control& ctl : controls_) {
    if (ctl.desc.type != ControlType::CheckBox && ctl.desc.type != ControlType::RadioButton) continue;
    const bool now = SendMessageA(ctl.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (now != ctl.desc.checked) {
      ctl.desc.checked = now;
      events_.CheckChanged(ctl.id, now);
    }
  }
}

void NativeForm::Command(int id, int code, HWND from) {
  Control* ctl = Find(id);
  // Escape, as the system's dialog code reports it: a click of the button
  // the logic names for it, if any.
  if (!ctl && id == IDCANCEL && !from && !applying_) {
    if (const ControlId cancel = events_.CancelButton()) events_.Clicked(cancel);
    return;
  }
  if (!ctl || applying_) return;
  const ControlId cid = ctl->id;
  if (from && from == ctl->button) {
    // The button of an edit: a press is a click of the edit.
    if (code == BN_CLICKED) events_.Clicked(cid);
    return;
  }
  switch (ctl->desc.type) {
    case ControlType::PushButton:
      if (code == BN_CLICKED || code == BN_DOUBLECLICKED) {
        events_.Clicked(cid);
      } else if (code == BN_SETFOCUS || code == BN_KILLFOCUS) {
        events_.FocusChanged(FocusedControl());
      }
      break;
    case ControlType::CheckBox:
    case ControlType::RadioButton:
      if (code == BN_CLICKED) {
        // A check box toggles; a radio button is checked and the others of
        // its group unchecked.
        if (ctl->desc.type == ControlType::CheckBox) {
          SendMessageA(ctl->hwnd, BM_SETCHECK, ctl->desc.checked ? BST_UNCHECKED : BST_CHECKED, 0);
        } else {
          for (Control& other : controls_)
            if (other.desc.type == ControlType::RadioButton && other.desc.group == ctl->desc.group)
              SendMessageA(other.hwnd, BM_SETCHECK, other.id == cid ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ReportChecks();
        events_.Clicked(cid);
      }
      break;
    case ControlType::Edit:
    case ControlType::Memo:
      if (code == EN_CHANGE) {
        ctl->desc.text = WindowText(ctl->hwnd);
        events_.TextChanged(cid, ctl->desc.text);
      }
      break;
    case ControlType::ComboBox:
      if (code == CBN_SELCHANGE) {
        ctl->desc.itemIndex = int(SendMessageA(ctl->hwnd, CB_GETCURSEL, 0, 0));
        events_.SelectionChanged(cid, ctl->desc.itemIndex);
      } else if (code == CBN_EDITCHANGE) {
        ctl->desc.text = WindowText(ctl->hwnd);
        ctl->desc.itemIndex = -1;
        events_.TextChanged(cid, ctl->desc.text);
      }
      break;
    case ControlType::ListBox:
      if (code == LBN_SELCHANGE) {
        ctl->desc.itemIndex = int(SendMessageA(ctl->hwnd, LB_GETCURSEL, 0, 0));
        events_.SelectionChanged(cid, ctl->desc.itemIndex);
      }
      break;
    case ControlType::Label:
    case ControlType::Painted:
      if (code == STN_CLICKED) events_.Clicked(cid);
      break;
    case ControlType::ScrollBox:
    case ControlType::TreeView:
    case ControlType::ListView:
    case ControlType::UpDown:
    case ControlType::DatePicker:
    case ControlType::Splitter:
      break;  // these speak through WM_NOTIFY or messages of their own
  }
}

LRESULT NativeForm::Notify(const NMHDR& hdr) {
  Control* ctl = FindWindow(hdr.hwndFrom);
  if (!ctl) return 0;
  switch (ctl->desc.type) {
    case ControlType::TreeView:
      return NotifyTree(*ctl, hdr);
    case ControlType::ListView:
      return NotifyList(*ctl, hdr);
    case ControlType::UpDown:
    case ControlType::DatePicker:
      return NotifyInput(*ctl, hdr);
    case ControlType::Label:
    case ControlType::Edit:
    case ControlType::Memo:
    case ControlType::PushButton:
    case ControlType::CheckBox:
    case ControlType::RadioButton:
    case ControlType::ComboBox:
    case ControlType::ListBox:
    case ControlType::Painted:
    case ControlType::ScrollBox:
    case ControlType::Splitter:
      break;
  }
  return 0;
}
}  // namespace tov::win32::form
