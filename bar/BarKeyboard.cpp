#include "bar/BarKeyboard.h"

#include "base/Casefold.h"

namespace tov {

int FindByPrefix(const std::vector<std::string>& captions, const std::string& prefix, int start) {
  const int n = int(captions.size());
  if (n == 0 || prefix.empty()) return -1;
  const std::string wanted = UpperCaseText(prefix);
  if (start < 0 || start >= n) start = 0;
  for (int k = 0; k < n; ++k) {
    const int i = (start + k) % n;
    if (captions[size_t(i)].size() >= prefix.size() && UpperCaseText(captions[size_t(i)]).rfind(wanted, 0) == 0)
      return i;
  }
  return -1;
}

void TBarKeyboard::SetTargets(std::vector<KeyTarget> targets, bool vertical) {
  targets_ = std::move(targets);
  vertical_ = vertical;
  typed_.clear();
  if (focus_ >= int(targets_.size()) || (focus_ >= 0 && !targets_[size_t(focus_)].focusable))
    focus_ = active_ ? Step(-1, 1) : -1;
}

void TBarKeyboard::Enter() {
  active_ = true;
  typed_.clear();
  if (focus_ < 0 || focus_ >= int(targets_.size()) || !targets_[size_t(focus_)].focusable) focus_ = Step(-1, 1);
}

void TBarKeyboard::Leave() {
  active_ = false;
  focus_ = -1;
  typed_.clear();
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

int TBarKeyboard::FindPrefix(const std::string& prefix, int start) const {
  std::vector<std::string> captions;
  captions.reserve(targets_.size());
  for (const KeyTarget& t : targets_)
    captions.push_back(t.focusable ? t.caption : std::string());
  return FindByPrefix(captions, prefix, start);
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
      typed_.clear();
      break;
    }
    case kVkHome:
      focus_ = Step(-1, 1);
      typed_.clear();
      break;
    case kVkEnd:
      focus_ = targets_.empty() ? -1 : Step(0, -1);
      typed_.clear();
      break;
    case kVkReturn:
      return focus_ >= 0 ? BarKeyAction::Launch : BarKeyAction::None;
    case kVkSpace:
      // A space while letters are being typed belongs to the caption sought.
      if (!typed_.empty()) return BarKeyAction::None;
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
  if (typed == " " && typed_.empty()) return BarKeyAction::None;  // Space launches (Key)
  if (!typed_.empty() && nowMs - lastTypedMs_ > kTypeAheadMs) typed_.clear();
  lastTypedMs_ = nowMs;
  const bool fresh = typed_.empty();
  typed_ += typed;
  const int before = focus_;
  // A fresh search starts after the focused button; a longer prefix may stay
  // on the button already found.
  int found = FindPrefix(typed_, fresh ? focus_ + 1 : std::max(focus_, 0));
  if (found < 0 && !fresh && typed_.find_first_not_of(typed) == std::string::npos && typed_.size() % typed.size() == 0)
    found = FindPrefix(typed, focus_ + 1);
  if (found >= 0) focus_ = found;
  return focus_ != before ? BarKeyAction::Moved : BarKeyAction::None;
}

}  // namespace tov
