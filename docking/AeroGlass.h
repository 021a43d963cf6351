// Glass behind a form: the compositor extends its frame into the client
// area, the glass part is painted in a colour key, and the window is made
// layered with that colour transparent, so those pixels show the blurred
// desktop while everything else drawn on the form stays opaque. Where the
// system has no compositor the component stays inactive and the form looks
// as usual.
#pragma once
#include <cstdint>
#include <functional>

#include "forms/WindowForm.h"

namespace tov {

enum TDragGlassMode { dgNone, dgGlass, dgForm };

// Posted to the form to activate the glass once construction is over.
constexpr uint32_t kGlassActivateMessage = WM_USER + 301;

class TAeroGlass {
 public:
  explicit TAeroGlass(TForm& form);
  ~TAeroGlass();
  TAeroGlass(const TAeroGlass&) = delete;
  TAeroGlass& operator=(const TAeroGlass&) = delete;

  Color BlurColorKey() const { return blurColorKey_; }
  void SetBlurColorKey(Color c);
  int MarginLeft() const { return margins_[0]; }
  int MarginTop() const { return margins_[1]; }
  int MarginRight() const { return margins_[2]; }
  int MarginBottom() const { return margins_[3]; }
  void SetMarginLeft(int v) { SetMargin(0, v); }
  void SetMarginTop(int v) { SetMargin(1, v); }
  void SetMarginRight(int v) { SetMargin(2, v); }
  void SetMarginBottom(int v) { SetMargin(3, v); }
  bool SheetOfGlass() const { return sheetOfGlass_; }
  void SetSheetOfGlass(bool on);
  TDragGlassMode DragGlass() const { return dragGlass_; }
  void SetDragGlass(TDragGlassMode m) { dragGlass_ = m; }

  bool Active() const { return active_; }
  // The activation was scheduled: the platform offers a compositor.
  bool Scheduled() const { return scheduled_; }

 private:
  void SetMargin(int which, int value);
  void Activate();
  bool CompositionEnabled();
  void ExtendFrame();
  void ApplyColorKey();
  void PaintStep(ICanvas& canvas);
  void MessageStep(Message& m, intptr_t& result);
  bool CursorOnGlass();
  void Redraw() { form_.Invalidate(); }

  TForm& form_;
  uint32_t savedExStyle_ = 0;
  Color blurColorKey_ = RGB(218, 219, 220);
  int margins_[4] = {0, 32, 0, 0};  // left, top, right, bottom
  bool sheetOfGlass_ = false;
  TDragGlassMode dragGlass_ = dgNone;
  bool active_ = false;
  bool scheduled_ = false;
  bool libraryLoaded_ = false;
  int hook_ = 0;
  std::function<void(ICanvas&)> previousPaint_;
};

}  // namespace tov
