#include "bar/BarKeyboard.h"

namespace tov {

void TBarKeyboard::SetTargets(std::vector<KeyTarget> targets, bool vertical) {
  targets_ = std::move(targets);
  vertical_ = vertical;
  typeAhead_.Reset();
  if (focus_ >= int(targets_.size()) || (focus_ >= 0 && !targets_[size_t(focus_)].focusable))
    focus_ = active_ ? Step(-1, 1) : -1;
}

void TBarKeyboard::Enter() {
  active_ = true;
  typeAhead_.Reset();
  if (focus_ < 0 || focus_ >= int(targets_.size()) || !targets_[size_t(focus_)].focusable) focus_ = Step(-1, 1);
}

void TBarKeyboard::Leave() {
  active_ = false;
  focus_ = -1;
  typeAhead_.Reset();
}

void TBarKeyboard::SetFocus(int index) {
  if (index >= 0 && index < int(targets_.size()) && targets_[size_t(index)].focusable) focus_ = index;
}

int TBarKeyboard::Step(int from, int direction) const {
  const int n = int(targets_.size());
  for (int k = 1; k <= n; ++k) {
    const int i = ((from + direction * k) % n + n) % n;
    if (targets_[size_t(i)].focusable) return i;
  }
  return -1;
}

BarKeyAction TBarKeyboard::Key(uint32_t vk, bool shift) {
  if (!active_) return BarKeyAction::None;
  const int before = focus_;
  switch (vk) {
    case kVkLeft:
    case kVkRight:
    case kVkUp:
    case kVkDown: {
      // Across a horizontal bar Left and Right move; down a vertical one, Up
      // and Down. The other pair moves too, as a grid of one row would.
      const int direction = (vk == kVkLeft || vk == kVkUp) ? -1 : 1;
      focus_ = Step(focus_ < 0 ? (direction > 0 ? -1 : 0) : focus_, direction);
      typeAhead_.Reset();
      break;
    }
    case kVkHome:
      focus_ = Step(-1, 1);
      typeAhead_.Reset();
      break;
    case kVkEnd:
      focus_ = targets_.empty() ? -1 : Step(0, -1);
      typeAhead_.Reset();
      break;
    case kVkReturn:
      return focus_ >= 0 ? BarKeyAction::Launch : BarKeyAction::None;
    case kVkSpace:
      // A space while letters are being typed belongs to the caption sought.
      if (typeAhead_.Typing()) return BarKeyAction::None;
      return focus_ >= 0 ? BarKeyAction::Launch : BarKeyAction::None;
    case kVkApps:
      return focus_ >= 0 ? BarKeyAction::Menu : BarKeyAction::None;
    case kVkF10:
      return shift && focus_ >= 0 ? BarKeyAction::Menu : BarKeyAction::None;
    case kVkEscape:
      Leave();
      return BarKeyAction::Leave;
    default:
      return BarKeyAction::None;
  }
  return focus_ != before ? BarKeyAction::Moved : BarKeyAction::None;
}

BarKeyAction TBarKeyboard::Char(const std::string& typed, uint32_t nowMs) {
  if (!active_ || typed.empty() || static_cast<unsigned char>(typed[0]) < 0x20) return BarKeyAction::None;
  if (typed == " " && !typeAhead_.Typing()) return BarKeyAction::None;  // Space launches (Key)
  std::vector<std::string> captions;
  captions.reserve(targets_.size());
  for (const KeyTarget& t : targets_)
    captions.push_back(t.focusable ? t.caption : std::string());
  const int found = typeAhead_.Type(captions, focus_, typed, nowMs);
  if (found < 0 || found == focus_) return BarKeyAction::None;
  focus_ = found;
  return BarKeyAction::Moved;
}

}  // namespace tov
