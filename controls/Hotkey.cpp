#include "controls/Hotkey.h"

#include <array>
#include <cctype>

namespace tov {

namespace {

struct NamedKey {
  const char* name;
  uint32_t key;
};

// The keys with names of their own, as Windows numbers them.
constexpr std::array<NamedKey, 38> kNamedKeys = {{
    {"Backspace", 0x08}, {"Tab", 0x09},     {"Enter", 0x0D},    {"Pause", 0x13},      {"Escape", 0x1B},
    {"Space", 0x20},     {"PageUp", 0x21},  {"PageDown", 0x22}, {"End", 0x23},        {"Home", 0x24},
    {"Left", 0x25},      {"Up", 0x26},      {"Right", 0x27},    {"Down", 0x28},       {"PrintScreen", 0x2C},
    {"Insert", 0x2D},    {"Delete", 0x2E},  {"NumPad0", 0x60},  {"NumPad1", 0x61},    {"NumPad2", 0x62},
    {"NumPad3", 0x63},   {"NumPad4", 0x64}, {"NumPad5", 0x65},  {"NumPad6", 0x66},    {"NumPad7", 0x67},
    {"NumPad8", 0x68},   {"NumPad9", 0x69}, {"Multiply", 0x6A}, {"Add", 0x6B},        {"Subtract", 0x6D},
    {"Decimal", 0x6E},   {"Divide", 0x6F},  {"NumLock", 0x90},  {"ScrollLock", 0x91}, {"Plus", 0xBB},
    {"Comma", 0xBC},     {"Minus", 0xBD},   {"Period", 0xBE},
}};

// Shorter names people write for some of them; read, never written.
constexpr std::array<NamedKey, 8> kKeyAliases = {{
    {"Esc", 0x1B},
    {"Return", 0x0D},
    {"PgUp", 0x21},
    {"PgDn", 0x22},
    {"Ins", 0x2D},
    {"Del", 0x2E},
    {"Break", 0x13},
    {"Apps", 0x5D},
}};

constexpr uint32_t kF1 = 0x70, kF24 = 0x87;

bool SameAscii(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return i == a.size() && !b[i];
}

uint32_t KeyByName(const std::string& name) {
  if (name.size() == 1) {
    unsigned char c = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(name[0])));
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
    return 0;
  }
  if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3) {
    int n = 0;
    for (size_t i = 1; i < name.size(); ++i) {
      if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
      n = n * 10 + (name[i] - '0');
    }
    if (name[1] != '0' && n >= 1 && n <= 24) return kF1 + uint32_t(n - 1);
    return 0;
  }
  for (const NamedKey& k : kNamedKeys)
    if (SameAscii(name, k.name)) return k.key;
  for (const NamedKey& k : kKeyAliases)
    if (SameAscii(name, k.name)) return k.key;
  return 0;
}

// Keys but the function keys type, edit or move: taken by the whole system
// without a modifier, they would stop the user using them anywhere else.
bool NeedsModifier(uint32_t key) { return key < kF1 || key > kF24; }

}  // namespace

std::string HotkeyKeyName(uint32_t key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, char(key));
  if (key >= kF1 && key <= kF24) return "F" + std::to_string(key - kF1 + 1);
  for (const NamedKey& k : kNamedKeys)
    if (k.key == key) return k.name;
  if (key == 0x5D) return "Apps";
  return "";
}

std::string HotkeyDisplayText(const Hotkey& hk) {
  if (hk.Empty()) return "";
  std::string s;
  if (hk.modifiers & kModControl) s += "Ctrl+";
  if (hk.modifiers & kModShift) s += "Shift+";
  if (hk.modifiers & kModAlt) s += "Alt+";
  if (hk.modifiers & kModWin) s += "Win+";
  return s + HotkeyKeyName(hk.key);
}

bool ParseHotkey(const std::string& stored, Hotkey* out, std::string* why) {
  std::string scratch;
  if (!why) why = &scratch;
  *out = Hotkey();
  // Blanks around a value typed by hand are not part of it.
  const size_t first = stored.find_first_not_of(" \t");
  if (first == std::string::npos) return true;
  const std::string text = stored.substr(first, stored.find_last_not_of(" \t") - first + 1);
  auto fail = [&](std::string reason) {
    *out = Hotkey();
    *why = std::move(reason);
    return false;
  };
  // The key's name may itself be "+"-free, so the last "+" parts the two.
  const size_t plus = text.rfind('+');
  if (plus == std::string::npos) return fail("\"" + text + "\" has no \"+\" before the key");
  Hotkey hk;
  for (size_t i = 0; i < plus; ++i) {
    uint32_t bit = 0;
    switch (text[i]) {
      case 'C':
        bit = kModControl;
        break;
      case 'S':
        bit = kModShift;
        break;
      case 'A':
        bit = kModAlt;
        break;
      case 'W':
        bit = kModWin;
        break;
      default:
        return fail("\"" + std::string(1, text[i]) + "\" is not a modifier (C, S, A or W)");
    }
    if (hk.modifiers & bit) return fail("the modifier \"" + std::string(1, text[i]) + "\" is given twice");
    hk.modifiers |= bit;
  }
  const std::string name = text.substr(plus + 1);
  if (name.empty()) return fail("no key after \"+\"");
  hk.key = KeyByName(name);
  if (!hk.key) return fail("\"" + name + "\" is not the name of a key");
  if (!hk.modifiers && NeedsModifier(hk.key)) return fail("\"" + name + "\" needs Ctrl, Shift, Alt or the Windows key");
  *out = hk;
  return true;
}

std::string FormatHotkey(const Hotkey& hk) {
  if (hk.Empty()) return "";
  std::string s;
  if (hk.modifiers & kModControl) s += 'C';
  if (hk.modifiers & kModShift) s += 'S';
  if (hk.modifiers & kModAlt) s += 'A';
  if (hk.modifiers & kModWin) s += 'W';
  return s + "+" + HotkeyKeyName(hk.key);
}

}  // namespace tov
