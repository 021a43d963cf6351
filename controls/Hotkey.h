// A key combination as the button table keeps it, in its "Hotkey" column: the
// modifiers as capital letters in the order C (Ctrl), S (Shift), A (Alt),
// W (the Windows key), then "+", then the key's name: a letter or digit,
// F1 to F24, or the English name of the key ("Home", "PageUp", "NumPad5" ...).
// "CA+N", "CSAW+F12" and "W+1" are combinations; empty means none.
#pragma once
#include <cstdint>
#include <string>

namespace tov {

// Windows' numbering, as RegisterHotKey takes them.
enum HotkeyModifier : uint32_t { kModAlt = 0x1, kModControl = 0x2, kModShift = 0x4, kModWin = 0x8 };

struct Hotkey {
  uint32_t modifiers = 0;  // HotkeyModifier bits
  uint32_t key = 0;        // a virtual-key code; 0 for none
  bool Empty() const { return key == 0; }
  bool operator==(const Hotkey&) const = default;
};

// Reads a stored combination (blanks around it ignored; "Esc", "Del",
// "PgUp" ... read as "Escape", "Delete", "PageUp"). Empty or blank text gives
// an empty hotkey and true;
// text that names no combination gives false and *why says what is wrong
// (an unknown modifier or key, a letter without a modifier ...). Modifier
// letters may come in any order and key names in any case; FormatHotkey gives
// the one stored form.
bool ParseHotkey(const std::string& text, Hotkey* out, std::string* why = nullptr);
std::string FormatHotkey(const Hotkey& hotkey);

// The key's name as stored ("N", "F12", "PageUp"); empty for a key without one.
std::string HotkeyKeyName(uint32_t key);
// The combination as the user reads it: "Ctrl+Alt+N"; empty for none.
std::string HotkeyDisplayText(const Hotkey& hotkey);

}  // namespace tov
