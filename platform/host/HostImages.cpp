#include "platform/host/HostImages.h"

#include "platform/BmpDecoder.h"

#if defined(TOVIRA_HOST)
#include <png.h>

#include <cstring>
#include <vector>
#endif

namespace tov::host {

namespace {

IImageCodec* pngDelegate = nullptr;

#if defined(TOVIRA_HOST)
// libpng reports errors by a long jump; the jump lands in ReadPng, whose
// locals are all plain values, and every buffer that outlives it belongs to
// the caller. No gamma or colour-space conversion: the samples come out as
// the file holds them, as the imaging component of Windows gives them.
struct Source {
  const unsigned char* data;
  size_t size;
  size_t at;
  char message[160];
};

void ReadBytes(png_structp png, png_bytep out, size_t count) {
  auto* s = static_cast<Source*>(png_get_io_ptr(png));
  if (count > s->size - s->at) png_error(png, "the image data is cut short");
  std::memcpy(out, s->data + s->at, count);
  s->at += count;
}

void OnError(png_structp png, png_const_charp message) {
  auto* s = static_cast<Source*>(png_get_error_ptr(png));
  std::strncpy(s->message, message ? message : "damaged image", sizeof s->message - 1);
  s->message[sizeof s->message - 1] = 0;
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

struct Decoded {
  std::vector<png_byte> rgba;
  std::vector<png_bytep> rows;
  png_uint_32 width = 0, height = 0;
};

// Fills d with 8-bit RGBA rows; false with s->message set on any failure.
bool ReadPng(Source* s, Decoded* d) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, s, OnError, OnWarning);
  if (!png) {
    std::strcpy(s->message, "out of memory");
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    std::strcpy(s->message, "out of memory");
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, s, ReadBytes);
  png_set_user_limits(png, 32768, 32768);
  // The pictures' texts, colour profiles and unknown chunks are of no use
  // here and are skipped unread; any chunk libpng keeps may take at most
  // 1 MB (compressed text included), and only a few of them: a file of many
  // large text chunks must not take gigabytes.
  static const png_byte kSkipped[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf\0";
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkipped, 6);
  png_set_chunk_malloc_max(png, 1 << 20);
  png_set_chunk_cache_max(png, 64);
  png_read_info(png, info);
  png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
  int depth = png_get_bit_depth(png, info), type = png_get_color_type(png, info);
  int channels = png_get_channels(png, info);
  if (uint64_t(w) * h > (uint64_t(1) << 26)) png_error(png, "the image is too large");
  // Deflate packs at most about 1032 bytes into one: a header that claims more
  // rows than the file could hold is damage, found before allocating.
  uint64_t raw = uint64_t(h) * (1 + (uint64_t(w) * uint64_t(channels) * uint64_t(depth) + 7) / 8);
  if (raw > uint64_t(s->size) * 1040 + 4096) png_error(png, "the image is larger than its data");

  const bool alpha = (type & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  png_set_expand(png);  // palettes, small grey depths and tRNS become 8-bit channels
  if (depth == 16) png_set_strip_16(png);
  if ((type & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
  if (!alpha) png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != size_t(w) * 4) png_error(png, "unexpected row layout");

  d->width = w;
  d->height = h;
  d->rgba.resize(size_t(w) * size_t(h) * 4);
  d->rows.resize(h);
  for (png_uint_32 y = 0; y < h; ++y)
    d->rows[y] = d->rgba.data() + size_t(y) * size_t(w) * 4;
  png_read_image(png, d->rows.data());
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

bool DecodePng(const std::string& bytes, Picture* out, std::string* error) {
  *out = Picture();
  Source s{reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), 0, {0}};
  Decoded d;
  if (!ReadPng(&s, &d)) {
    if (error) *error = std::string("damaged PNG image: ") + s.message;
    return false;
  }
  Picture img;
  img.rgb = Bitmap(int(d.width), int(d.height));
  img.alpha.resize(img.rgb.pixels.size());
  bool anyClear = false;
  for (size_t i = 0; i < img.rgb.pixels.size(); ++i) {
    const png_byte* p = &d.rgba[i * 4];
    img.rgb.pixels[i] = RGB(p[0], p[1], p[2]);
    img.alpha[i] = p[3];
    anyClear |= p[3] != 255;
  }
  if (!anyClear) img.alpha.clear();
  *out = std::move(img);
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
