// libFuzzer target for the bitmap reader: any bytes give a picture or a
// reason, never a crash, a read out of bounds or a huge allocation; a picture
// has pixels for every point and, when it has alpha, one alpha per pixel.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/BmpDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tov;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Picture picture;
  std::string error;
  if (!DecodeBmp(bytes, &picture, &error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  const Bitmap& rgb = picture.rgb;
  if (rgb.width <= 0 || rgb.height <= 0) std::abort();
  if (rgb.pixels.size() != size_t(rgb.width) * size_t(rgb.height)) std::abort();
  if (!picture.alpha.empty() && picture.alpha.size() != rgb.pixels.size()) std::abort();
  return 0;
}
