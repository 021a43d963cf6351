// The global hotkeys of one bar: the bar's own (it takes the keyboard
// focus) and one per button that has a combination in its "Hotkey" column
// (pressing it is a click on the button). They are registered on the bar's
// window while it runs and made again after each layout. A value that does
// not parse and a combination the system or another program already holds
// are each told once, naming the button; the other hotkeys still work.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "controls/Hotkey.h"
#include "platform/Window.h"

namespace tov {

// The id of the bar's own hotkey, and of a button's: kButtonHotkeyBase + its
// position ("Ordine").
constexpr int kBarHotkeyId = 1;
constexpr int kButtonHotkeyBase = 0x100;

struct HotkeyRequest {
  int id = 0;
  std::string text;   // as stored
  std::string owner;  // the button's caption; empty for the bar's own
};

class TBarHotkeys {
 public:
  // Releases what was registered before and registers each request; answers
  // the problems not told before, one line each, for the user.
  std::vector<std::string> Apply(IWindow& window, const std::vector<HotkeyRequest>& requests);
  void ReleaseAll(IWindow& window);
  // The combinations registered now, by id.
  const std::map<int, Hotkey>& Registered() const { return registered_; }

 private:
  std::map<int, Hotkey> registered_;
  std::set<std::string> told_;
};

}  // namespace tov
