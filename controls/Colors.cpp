#include "controls/Colors.h"

#include "platform/Platform.h"

namespace tov {

Color ColorToRGB(Color c) {
  if (IsSystemColor(c)) return Canvases().SysColor(int(c & 0xFF)) & 0x00FFFFFF;
  return c & 0x00FFFFFF;
}

}  // namespace tov
