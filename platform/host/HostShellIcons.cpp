// The host shell's icons at any size: drawn as the host's image lists draw
// them (its own file: the canvas includes the shell for the lists' handles).
#include "platform/host/HostCanvas.h"
#include "platform/host/HostShell.h"

namespace tov::host {

bool HostShell::IconPicture(const std::string& path, int pixels, Picture* out) {
  iconPictures.push_back(path + "@" + std::to_string(pixels));
  const int index = IconIndex(path, kIconSmall);
  if (index < 0 || index >= kIconCount || pixels <= 0 || pixels > 256 || iconless.count(path)) return false;
  const Color kClear = 0xFF000000;
  out->rgb = IconImage(index, pixels, true, kNoColor, kClear);
  out->alpha.assign(out->rgb.pixels.size(), 255);
  for (int y = 0; y < pixels; ++y) {
    for (int x = 0; x < pixels; ++x) {
      Color& c = out->rgb.At(x, y);
      uint8_t& a = out->alpha[size_t(y) * size_t(pixels) + size_t(x)];
      if (c == kClear) {
        c = 0;
        a = 0;
      } else if (x == 0 || y == 0 || x == pixels - 1 || y == pixels - 1) {
        a = 128;
      }
    }
  }
  return true;
}

}  // namespace tov::host
