// The bar with the keyboard focus: which button has it, and what each key
// does. Left and Right (Up and Down on a vertical bar) move between the
// buttons that can take the focus, wrapping at the ends; Home and End go to
// the first and the last; Enter and Space launch; the menu key and Shift+F10
// ask for the button's menu; Esc gives the focus back; letters typed in
// quick succession jump to the next button whose caption starts with them
// (one letter typed again, "aa", steps on through the captions with that
// letter when none starts with "aa").
// Pure rules over a list of captions: the bar window feeds it its keys.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/TypeAhead.h"

namespace tov {

// Virtual-key codes the bar answers (Windows' numbering).
enum BarKey : uint32_t {
  kVkReturn = 0x0D,
  kVkEscape = 0x1B,
  kVkSpace = 0x20,
  kVkEnd = 0x23,
  kVkHome = 0x24,
  kVkLeft = 0x25,
  kVkUp = 0x26,
  kVkRight = 0x27,
  kVkDown = 0x28,
  kVkApps = 0x5D,
  kVkF10 = 0x79,
};

struct KeyTarget {
  std::string caption;
  bool focusable = true;  // separators, hidden and disabled buttons are not
};

enum class BarKeyAction { None, Moved, Launch, Menu, Leave };

class TBarKeyboard {
 public:
  // The targets in the bar's order. The focus stays on the same index when
  // it still can take it, else moves to the first one that can.
  void SetTargets(std::vector<KeyTarget> targets, bool vertical);
  // The focused index, -1 for none.
  int Focus() const { return focus_; }
  bool Active() const { return active_; }
  // The bar took the keyboard focus: the focus mark goes to the first
  // focusable target when none had it.
  void Enter();
  // The bar lost the focus: no mark, the typed letters forgotten.
  void Leave();
  void SetFocus(int index);

  // A key went down (shift: Shift is held).
  BarKeyAction Key(uint32_t vk, bool shift);
  // A character was typed (UTF-8), at the clock's time in milliseconds.
  BarKeyAction Char(const std::string& typed, uint32_t nowMs);

 private:
  int Step(int from, int direction) const;

  std::vector<KeyTarget> targets_;
  bool vertical_ = false;
  bool active_ = false;
  int focus_ = -1;
  TTypeAhead typeAhead_;
};

}  // namespace tov
