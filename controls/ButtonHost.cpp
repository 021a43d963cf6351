#include "controls/ButtonHost.h"

#include <algorithm>

namespace tov {

namespace {

bool Meets(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

TButtonHost::~TButtonHost() {
  hot_ = captured_ = nullptr;
  buttons_.clear();
  released_.clear();
}

TButtonHost::Dispatch::~Dispatch() {
  if (--host->depth_ == 0) host->released_.clear();
}

TLbSpeedButton& TButtonHost::AddButton() {
  buttons_.push_back(std::make_unique<TLbSpeedButton>(this));
  return *buttons_.back();
}

void TButtonHost::ClearButtons() {
  hot_ = captured_ = nullptr;
  for (auto& b : buttons_) {
    b->SetParent(nullptr);
    if (depth_ > 0) released_.push_back(std::move(b));
  }
  buttons_.clear();
}

bool TButtonHost::Holds(const TLbSpeedButton* b) const {
  return b && std::any_of(buttons_.begin(), buttons_.end(), [b](const auto& p) { return p.get() == b; });
}

TLbSpeedButton* TButtonHost::ButtonAtPoint(Point p) const {
  for (auto it = buttons_.rbegin(); it != buttons_.rend(); ++it) {
    TLbSpeedButton& b = **it;
    if (b.Visible() && b.Enabled() && b.BoundsRect().Contains(p)) return &b;
  }
  return nullptr;
}

std::vector<TLbSpeedButton*> TButtonHost::SpeedButtons() {
  std::vector<TLbSpeedButton*> all;
  for (auto& b : buttons_)
    all.push_back(b.get());
  return all;
}

void TButtonHost::SetHot(TLbSpeedButton* b) {
  if (b == hot_) return;
  TLbSpeedButton* old = hot_;
  hot_ = b;
  if (old && Holds(old)) old->MouseLeave();
  if (b && Holds(b) && hot_ == b) b->MouseEnter();
}

void TButtonHost::HostMouseMove(Point p, uint32_t shift) {
  Dispatch d(this);
  SetHot(ButtonAtPoint(p));
  TLbSpeedButton* to = captured_ ? captured_ : hot_;
  if (to && Holds(to)) to->MouseMove(shift, p.x - to->Left(), p.y - to->Top());
}

void TButtonHost::HostMouseDown(TMouseButton button, Point p, uint32_t shift, bool doubleClick) {
  Dispatch d(this);
  SetHot(ButtonAtPoint(p));
  TLbSpeedButton* to = ButtonAtPoint(p);
  if (!to) return;
  if (button == mbLeft) captured_ = to;
  if (doubleClick) {
    to->DoubleClick(button, shift, p.x - to->Left(), p.y - to->Top());
  } else {
    to->MouseDown(button, shift, p.x - to->Left(), p.y - to->Top());
  }
}

void TButtonHost::HostMouseUp(TMouseButton button, Point p, uint32_t shift) {
  Dispatch d(this);
  TLbSpeedButton* to = (button == mbLeft && captured_) ? captured_ : ButtonAtPoint(p);
  if (button == mbLeft) captured_ = nullptr;
  if (to && Holds(to)) to->MouseUp(button, shift, p.x - to->Left(), p.y - to->Top());
}

void TButtonHost::HostMouseLeave() {
  Dispatch d(this);
  SetHot(nullptr);
}

bool TButtonHost::HostDialogChar(uint32_t key) {
  Dispatch d(this);
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (buttons_[i]->DialogChar(key)) return true;
  }
  return false;
}

void TButtonHost::PaintButtons(ICanvas& canvas, const Rect& area) {
  Dispatch d(this);
  for (auto& b : buttons_) {
    if (b->Visible() && Meets(b->BoundsRect(), area)) b->PaintTo(canvas);
  }
}

}  // namespace tov
