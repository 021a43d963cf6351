#include "platform/host/HostImages.h"

#include "platform/BmpDecoder.h"

#if defined(TOVIRA_HOST)
#include <png.h>
#endif

namespace tov::host {

namespace {

IImageCodec* pngDelegate = nullptr;

#if defined(TOVIRA_HOST)
bool DecodePng(const std::string& bytes, Picture* out, std::string* error) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    if (error) *error = image.message;
    return false;
  }
  // A damaged header must not make us allocate gigabytes.
  if (image.width == 0 || image.height == 0 || image.width > 32768 || image.height > 32768 ||
      uint64_t(image.width) * image.height > (uint64_t(1) << 26)) {
    png_image_free(&image);
    if (error) *error = "bad PNG size";
    return false;
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
    if (error) *error = image.message;
    png_image_free(&image);
    return false;
  }
  Picture p;
  p.rgb = Bitmap(int(image.width), int(image.height));
  p.alpha.resize(p.rgb.pixels.size());
  bool anyClear = false;
  for (size_t i = 0; i < p.rgb.pixels.size(); ++i) {
    p.rgb.pixels[i] = RGB(rgba[i * 4], rgba[i * 4 + 1], rgba[i * 4 + 2]);
    p.alpha[i] = rgba[i * 4 + 3];
    anyClear |= p.alpha[i] != 255;
  }
  if (!anyClear) p.alpha.clear();
  *out = std::move(p);
  return true;
}
#endif

}  // namespace

void SetHostPngCodec(IImageCodec* codec) { pngDelegate = codec; }

bool HostImageCodec::Decode(const std::string& bytes, Picture* out, std::string* error) {
  if (IsBmpFile(bytes)) return DecodeBmp(bytes, out, error);
  if (IsPngFile(bytes)) {
#if defined(TOVIRA_HOST)
    return DecodePng(bytes, out, error);
#else
    if (pngDelegate) return pngDelegate->Decode(bytes, out, error);
    if (error) *error = "no PNG decoder in this build";
    return false;
#endif
  }
  if (error) *error = "not a PNG or bitmap file";
  return false;
}

}  // namespace tov::host
