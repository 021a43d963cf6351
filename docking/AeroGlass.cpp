#include "docking/AeroGlass.h"

namespace tov {

TAeroGlass::TAeroGlass(TForm& form) : form_(form) {
  savedExStyle_ = uint32_t(form_.Window().GetLong(GWL_EXSTYLE));
  OsVersion v = System().Version();
  if (!v.Nt() || v.major <= 4 || !Sys().compositor) return;
  if (!Compositor().LoadLibrary()) return;
  libraryLoaded_ = true;
  // The activation runs once, after construction, on the UI thread: a posted
  // message cannot race with the form's own use of its style, paint handler
  // and messages.
  scheduled_ = true;
  hook_ = form_.AddMessageHook([this](Message& m, intptr_t& result) { MessageStep(m, result); });
  form_.PostMessage(kGlassActivateMessage);
}

TAeroGlass::~TAeroGlass() {
  if (hook_) form_.RemoveMessageHook(hook_);
  if (active_) form_.OnPaint = previousPaint_;
  if (libraryLoaded_) Compositor().FreeLibrary();
}

bool TAeroGlass::CompositionEnabled() { return libraryLoaded_ && Compositor().IsCompositionEnabled(); }

void TAeroGlass::Activate() {
  ExtendFrame();
  ApplyColorKey();
  previousPaint_ = form_.OnPaint;
  form_.OnPaint = [this](ICanvas& canvas) {
    if (previousPaint_) previousPaint_(canvas);
    PaintStep(canvas);
  };
  active_ = true;
  Redraw();
}

void TAeroGlass::ExtendFrame() {
  if (!CompositionEnabled()) return;
  if (sheetOfGlass_)
    Compositor().ExtendFrameIntoClientArea(form_.Handle(), -1, -1, -1, -1);
  else
    Compositor().ExtendFrameIntoClientArea(form_.Handle(), margins_[0], margins_[2], margins_[1], margins_[3]);
}

void TAeroGlass::ApplyColorKey() {
  IWindow& w = form_.Window();
  if (CompositionEnabled()) {
    w.SetLong(GWL_EXSTYLE, int32_t(savedExStyle_ | WS_EX_LAYERED));
    Compositor().SetLayeredColorKey(form_.Handle(), blurColorKey_);
  } else {
    w.SetLong(GWL_EXSTYLE, int32_t(savedExStyle_));
  }
}

void TAeroGlass::SetMargin(int which, int value) {
  margins_[which] = value < 0 ? 0 : value;
  if (active_ && !sheetOfGlass_) {
    ExtendFrame();
    Redraw();
  }
}

void TAeroGlass::SetSheetOfGlass(bool on) {
  sheetOfGlass_ = on;
  if (!active_) return;
  ExtendFrame();
  Redraw();
}

void TAeroGlass::SetBlurColorKey(Color c) {
  blurColorKey_ = c;
  if (!active_) return;
  ApplyColorKey();
  Redraw();
}

void TAeroGlass::PaintStep(ICanvas& canvas) {
  if (!active_ || !CompositionEnabled()) return;
  const int l = margins_[0], t = margins_[1], r = margins_[2], b = margins_[3];
  if (!sheetOfGlass_ && l <= 0 && t <= 0 && r <= 0 && b <= 0) return;
  Size c = form_.ClientSize();
  if (sheetOfGlass_) {
    canvas.FillRect(Rect{0, 0, c.cx, c.cy}, blurColorKey_);
    return;
  }
  if (l > 0) canvas.FillRect(Rect{0, 0, l, c.cy}, blurColorKey_);
  if (t > 0) canvas.FillRect(Rect{0, 0, c.cx, t}, blurColorKey_);
  if (r > 0) canvas.FillRect(Rect{c.cx - r, 0, c.cx, c.cy}, blurColorKey_);
  if (b > 0) canvas.FillRect(Rect{0, c.cy - b, c.cx, c.cy}, blurColorKey_);
}

bool TAeroGlass::CursorOnGlass() {
  if (dragGlass_ == dgForm || sheetOfGlass_) return true;
  Rect client = form_.Window().ClientRectOnScreen();
  Point s = System().CursorPos();
  Point p{s.x - client.left, s.y - client.top};
  Size c{client.Width(), client.Height()};
  const int l = margins_[0], t = margins_[1], r = margins_[2], b = margins_[3];
  return (l > 0 && Rect{0, 0, l, c.cy}.Contains(p)) || (t > 0 && Rect{0, 0, c.cx, t}.Contains(p)) ||
         (r > 0 && Rect{c.cx - r, 0, c.cx, c.cy}.Contains(p)) || (b > 0 && Rect{0, c.cy - b, c.cx, c.cy}.Contains(p));
}

void TAeroGlass::MessageStep(Message& m, intptr_t& result) {
  if (m.msg == kGlassActivateMessage) {
    if (!active_) Activate();
    return;
  }
  if (!active_) return;
  switch (m.msg) {
    case WM_NCHITTEST:
      if (dragGlass_ != dgNone && CompositionEnabled() && result == HTCLIENT && form_.Visible() && CursorOnGlass())
        form_.Window().StartSystemMove();
      break;
    case WM_THEMECHANGED:
    case WM_DWMCOMPOSITIONCHANGED:
    case WM_DWMNCRENDERINGCHANGED:
      form_.Window().SetLong(GWL_EXSTYLE, int32_t(savedExStyle_));
      ApplyColorKey();
      if (CompositionEnabled()) Compositor().ExtendFrameIntoClientArea(form_.Handle(), 0, 0, 0, 0);
      ExtendFrame();
      Redraw();
      break;
    case WM_SIZE:
      Redraw();
      break;
    default:
      break;
  }
}

}  // namespace tov
