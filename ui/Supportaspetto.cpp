#include "ui/Supportaspetto.h"

#include <algorithm>

#include "controls/Colors.h"

namespace tov {

Color Lighter(Color color, int amount) {
  auto up = [amount](uint8_t c) { return uint8_t(std::clamp(int(c) + amount, 0, 255)); };
  return RGB(up(RedOf(color)), up(GreenOf(color)), up(BlueOf(color)));
}

Color Darker(Color color, int amount) {
  Color c = ColorToRGB(color);
  auto down = [amount](uint8_t v) { return uint8_t(std::clamp(int(v) - amount, 0, 255)); };
  return RGB(down(RedOf(c)), down(GreenOf(c)), down(BlueOf(c)));
}

}  // namespace tov
