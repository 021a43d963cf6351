// libFuzzer target for PNG files as the headless platform reads them (libpng
// behind the image codec): any bytes give a picture or a reason, never a
// crash, a leak or a huge allocation; a picture has pixels for every point
// and, when it has alpha, one alpha per pixel.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/host/HostImages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tov;
  // The signature is always there: the codec hands other files to the bitmap
  // reader, which has its own target.
  const std::string bytes =
      std::string("\x89PNG\r\n\x1a\n", 8) + std::string(reinterpret_cast<const char*>(data), size);
  host::HostImageCodec codec;
  Picture picture;
  std::string error;
  if (!codec.Decode(bytes, &picture, &error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  const Bitmap& rgb = picture.rgb;
  if (rgb.width <= 0 || rgb.height <= 0) std::abort();
  if (rgb.pixels.size() != size_t(rgb.width) * size_t(rgb.height)) std::abort();
  if (!picture.alpha.empty() && picture.alpha.size() != rgb.pixels.size()) std::abort();
  return 0;
}
