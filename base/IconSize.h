// The side in pixels of an icon at a screen's DPI, one rule for every icon
// the program draws (buttons, folder menus): 16, 24, 32 small and 32, 48, 64
// large at 100, 150 and 200 %; a scale in between takes the nearest of the
// sizes icons are drawn in (20 and 40 at 125 %), the smaller one on a tie, so
// an icon is never larger than its scale; a scale beyond takes the next ones.
#pragma once
#include "base/Dpi.h"

namespace tov {

inline int IconSideAt(bool large, Dpi scale) {
  const int dpi = scale.Value();
  static constexpr int kSizes[] = {16, 20, 24, 32, 40, 48, 64, 96, 128, 256};
  const long long wanted = ((large ? 32LL : 16LL) * dpi + 48) / 96;
  int best = kSizes[0];
  for (int size : kSizes) {
    const long long d = size > wanted ? size - wanted : wanted - size;
    const long long bestD = best > wanted ? best - wanted : wanted - best;
    if (d < bestD) best = size;
  }
  return best;
}

}  // namespace tov
