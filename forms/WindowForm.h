// A top-level window of the program, as the GUI framework's form: it owns
// its platform window (created on first use), keeps its geometry, border
// style and caption, and dispatches messages through a virtual chain that
// derived windows extend. Closing the main form ends the message loop once
// the messages already posted are handled.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace tov {

enum class TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

class TForm : public IWindowHandler {
 public:
  TForm();
  ~TForm() override;
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  // The platform window, created on first use.
  IWindow& Window();
  bool HandleAllocated() const { return window_ != nullptr; }
  WindowId Handle() { return Window().Id(); }

  Rect BoundsRect();
  int Left() { return BoundsRect().left; }
  int Top() { return BoundsRect().top; }
  int Width() { return BoundsRect().Width(); }
  int Height() { return BoundsRect().Height(); }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
  void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
  void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
  void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
  // The client area's size.
  Size ClientSize();

  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle style);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

  void Show();
  void Hide();
  bool Visible() { return window_ && window_->IsVisible(); }
  // Asks the form to close (as WM_CLOSE does).
  void Close();
  void PostMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0);
  void Invalidate();
  bool Active() { return window_ && window_->IsActive(); }
  void SetFocus();

  // Destroys the platform window (WM_DESTROY reaches the form's chain).
  // Derived forms call it from their destructor so their own handlers run.
  void DestroyHandle();

  // The application's main form: closing it ends the message loop.
  void SetMainForm(bool main) { mainForm_ = main; }

  // Event handlers as the form resource binds them.
  std::function<void()> OnShow;
  std::function<void()> OnCloseForm;
  std::function<void()> OnDestroyForm;
  std::function<void(ICanvas&)> OnPaint;

  // Observers of every message, called after the form's own handling with
  // the result it gave (which they may change). Answers an id for removal.
  using MessageHook = std::function<void(Message& m, intptr_t& result)>;
  int AddMessageHook(MessageHook hook);
  void RemoveMessageHook(int id);

  // IWindowHandler.
  void Attach(IWindow* window) override { window_ = window; }
  intptr_t HandleMessage(Message& m) final;
  void Paint(ICanvas& canvas) override;

 protected:
  // Window styles for the platform window; derived forms adjust them.
  virtual void CreateParams(WindowParams& params);
  // The message chain: derived forms handle what they want and pass the rest on.
  virtual intptr_t Dispatch(Message& m);
  // The framework's own handling of a message.
  intptr_t DefaultHandler(Message& m);
  static void StyleBits(TBorderStyle style, uint32_t* styleBits, uint32_t* exBits);

 private:
  std::unique_ptr<IWindow> owned_;
  IWindow* window_ = nullptr;
  TBorderStyle borderStyle_ = TBorderStyle::bsSizeable;
  std::string caption_;
  Rect initialBounds_{0, 0, 320, 240};
  bool mainForm_ = false;
  bool closing_ = false;
  std::vector<std::pair<int, MessageHook>> hooks_;
  int nextHook_ = 1;
};

}  // namespace tov
