#include "forms/WindowForm.h"

#include <stdexcept>

namespace tov {

TForm::TForm() = default;

TForm::~TForm() { DestroyHandle(); }

void TForm::DestroyHandle() {
  if (!window_) return;
  IWindow* w = window_;
  w->Destroy();
  window_ = nullptr;
  owned_.reset();
}

void TForm::StyleBits(TBorderStyle style, uint32_t* styleBits, uint32_t* exBits) {
  *exBits = 0;
  *styleBits = 0;
  switch (style) {
    case TBorderStyle::bsNone:
      *styleBits = WS_POPUP;
      break;
    case TBorderStyle::bsSingle:
      *styleBits = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
      break;
    case TBorderStyle::bsSizeable:
      *styleBits = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
      break;
    case TBorderStyle::bsDialog:
      *styleBits = WS_POPUP | WS_CAPTION | WS_SYSMENU;
      *exBits = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case TBorderStyle::bsToolWindow:
      *styleBits = WS_CAPTION | WS_SYSMENU;
      *exBits = WS_EX_TOOLWINDOW;
      break;
    case TBorderStyle::bsSizeToolWin:
      *styleBits = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
      *exBits = WS_EX_TOOLWINDOW;
      break;
  }
}

void TForm::CreateParams(WindowParams& params) {
  params.caption = caption_;
  params.bounds = initialBounds_;
  StyleBits(borderStyle_, &params.style, &params.exStyle);
  params.exStyle |= WS_EX_APPWINDOW;
}

IWindow& TForm::Window() {
  if (!window_) {
    WindowParams params;
    CreateParams(params);
    // The window system tells us the window (Attach) before WM_CREATE.
    owned_ = Windows().CreateTopLevel(params, this);
    if (!owned_) {
      window_ = nullptr;  // a window that failed on its way up may have been told to us
      throw std::runtime_error("Impossibile creare la finestra \"" + params.caption + "\"");
    }
    window_ = owned_.get();
  }
  return *window_;
}

Rect TForm::BoundsRect() { return window_ ? window_->WindowRect() : initialBounds_; }

void TForm::SetBounds(int left, int top, int width, int height) {
  Rect r = tov::BoundsRect(left, top, width, height);
  if (!window_) {
    initialBounds_ = r;
    return;
  }
  window_->SetWindowPos(HWND_TOP, r, SWP_NOZORDER | SWP_NOACTIVATE);
}

Size TForm::ClientSize() {
  Rect c = Window().ClientRectOnScreen();
  return Size{c.Width(), c.Height()};
}

void TForm::SetBorderStyle(TBorderStyle style) {
  borderStyle_ = style;
  if (!window_) return;
  uint32_t all = 0, allEx = 0;
  for (TBorderStyle s : {TBorderStyle::bsNone, TBorderStyle::bsSingle, TBorderStyle::bsSizeable, TBorderStyle::bsDialog,
                         TBorderStyle::bsToolWindow, TBorderStyle::bsSizeToolWin}) {
    uint32_t b = 0, e = 0;
    StyleBits(s, &b, &e);
    all |= b;
    allEx |= e;
  }
  uint32_t bits = 0, ex = 0;
  StyleBits(style, &bits, &ex);
  window_->SetLong(GWL_STYLE, int32_t((uint32_t(window_->GetLong(GWL_STYLE)) & ~all) | bits));
  window_->SetLong(GWL_EXSTYLE, int32_t((uint32_t(window_->GetLong(GWL_EXSTYLE)) & ~allEx) | ex));
  window_->SetWindowPos(0, Rect{}, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (window_) window_->SetCaption(caption);
}

void TForm::Show() { Window().Show(true); }

void TForm::Hide() {
  if (window_) window_->Show(false);
}

void TForm::Close() {
  Message m{WM_CLOSE, 0, 0, 0};
  Dispatch(m);
}

void TForm::PostMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) { Window().Post(msg, wParam, lParam); }

void TForm::Invalidate() {
  if (window_) window_->Invalidate();
}

void TForm::SetFocus() {
  if (window_) window_->Activate();
}

void TForm::Paint(ICanvas& canvas) {
  if (OnPaint) OnPaint(canvas);
}

intptr_t TForm::HandleMessage(Message& m) {
  intptr_t result = Dispatch(m);
  if (!hooks_.empty()) {
    auto hooks = hooks_;  // a hook may remove itself
    for (auto& [id, hook] : hooks)
      hook(m, result);
  }
  return result;
}

int TForm::AddMessageHook(MessageHook hook) {
  hooks_.emplace_back(nextHook_, std::move(hook));
  return nextHook_++;
}

void TForm::RemoveMessageHook(int id) {
  for (auto it = hooks_.begin(); it != hooks_.end(); ++it) {
    if (it->first == id) {
      hooks_.erase(it);
      return;
    }
  }
}

intptr_t TForm::Dispatch(Message& m) { return DefaultHandler(m); }

intptr_t TForm::DefaultHandler(Message& m) {
  switch (m.msg) {
    case WM_SHOWWINDOW:
      if (m.wParam && OnShow) OnShow();
      return 0;
    case WM_CLOSE:
      // The main form hides and ends the loop; its owner frees it afterwards.
      if (closing_) return 0;
      closing_ = true;
      if (OnCloseForm) OnCloseForm();
      if (mainForm_) {
        Windows().QuitMessageLoop(0);
        if (window_) window_->Show(false);
      } else {
        Hide();
      }
      closing_ = false;
      return 0;
    case WM_DESTROY:
      if (OnDestroyForm) OnDestroyForm();
      break;
    default:
      break;
  }
  return window_ ? window_->DefaultHandling(m) : 0;
}

}  // namespace tov
