// The part of a window that holds speed buttons: it owns them, paints the
// ones an update touches, tracks which one the mouse is over (enter and
// leave), captures the mouse for the one pressed and routes the window's
// mouse events to it in the button's own coordinates. A window derives from
// it and supplies the repainting, its visibility and its screen position.
#pragma once
#include <memory>
#include <vector>

#include "controls/LbSpeedButton.h"

namespace tov {

class TButtonHost : public IButtonParent {
 public:
  TButtonHost() = default;
  ~TButtonHost() override;
  TButtonHost(const TButtonHost&) = delete;
  TButtonHost& operator=(const TButtonHost&) = delete;

  // A new button on this parent, painted above the earlier ones.
  TLbSpeedButton& AddButton();
  // Frees every button. During an event of one of them the buttons are taken
  // off at once and freed when the event is over.
  void ClearButtons();
  size_t ButtonCount() const { return buttons_.size(); }
  TLbSpeedButton& Button(size_t i) const { return *buttons_.at(i); }
  // The topmost visible and enabled button under a client point, or null.
  TLbSpeedButton* ButtonAtPoint(Point p) const;
  TLbSpeedButton* HotButton() const { return hot_; }

  // The window's mouse, in client coordinates.
  void HostMouseMove(Point p, uint32_t shift);
  void HostMouseDown(TMouseButton button, Point p, uint32_t shift, bool doubleClick = false);
  void HostMouseUp(TMouseButton button, Point p, uint32_t shift);
  // The mouse left the window.
  void HostMouseLeave();
  // An accelerator key; true when a button took it.
  bool HostDialogChar(uint32_t key);
  // Paints the buttons that meet the area, lowest first.
  void PaintButtons(ICanvas& canvas, const Rect& area);

  std::vector<TLbSpeedButton*> SpeedButtons() override;

 private:
  // Keeps the buttons alive while an event runs.
  struct Dispatch {
    explicit Dispatch(TButtonHost* h) : host(h) { ++host->depth_; }
    ~Dispatch();
    TButtonHost* host;
  };
  void SetHot(TLbSpeedButton* b);
  bool Holds(const TLbSpeedButton* b) const;

  std::vector<std::unique_ptr<TLbSpeedButton>> buttons_;
  std::vector<std::unique_ptr<TLbSpeedButton>> released_;
  TLbSpeedButton* hot_ = nullptr;
  TLbSpeedButton* captured_ = nullptr;
  int depth_ = 0;
};

}  // namespace tov
