#include "platform/BmpDecoder.h"

#include <cstdint>
#include <cstdlib>

namespace tov {

namespace {

uint32_t U32(const std::string& b, size_t at) {
  return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
         uint32_t(uint8_t(b[at + 3])) << 24;
}
uint16_t U16(const std::string& b, size_t at) { return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8); }

bool Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return false;
}

}  // namespace

bool IsBmpFile(const std::string& bytes) { return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M'; }

bool IsPngFile(const std::string& bytes) { return bytes.size() >= 8 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0; }

bool DecodeBmp(const std::string& b, Picture* out, std::string* error) {
  if (!IsBmpFile(b) || b.size() < 14 + 40) return Fail(error, "not a bitmap file");
  const uint32_t dataAt = U32(b, 10);
  const uint32_t headerSize = U32(b, 14);
  if (headerSize < 40 || 14 + size_t(headerSize) > b.size()) return Fail(error, "unsupported bitmap header");
  const int32_t w = int32_t(U32(b, 18));
  const int32_t rawH = int32_t(U32(b, 22));
  const uint16_t bpp = U16(b, 28);
  const uint32_t compression = U32(b, 30);
  uint32_t colors = U32(b, 46);
  if (w <= 0 || rawH == 0 || rawH == INT32_MIN || w > 32768 || std::abs(rawH) > 32768)
    return Fail(error, "bad bitmap size");
  const bool topDown = rawH < 0;
  const int h = std::abs(rawH);
  if (!(bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24 || bpp == 32)) return Fail(error, "unsupported bit depth");
  if (!(compression == 0 || (compression == 3 && bpp == 32)))
    return Fail(error, "compressed bitmaps are not supported");
  const size_t stride = ((size_t(w) * bpp + 31) / 32) * 4;
  if (dataAt > b.size() || stride * size_t(h) > b.size() - dataAt) return Fail(error, "bitmap data cut short");
  std::vector<Color> palette;
  if (bpp <= 8) {
    if (colors == 0 || colors > (1u << bpp)) colors = 1u << bpp;
    size_t at = 14 + headerSize;
    if (at + size_t(colors) * 4 > b.size()) return Fail(error, "bitmap palette cut short");
    for (uint32_t i = 0; i < colors; ++i, at += 4)
      palette.push_back(RGB(uint8_t(b[at + 2]), uint8_t(b[at + 1]), uint8_t(b[at])));
  }
  uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
  if (compression == 3) {
    size_t at = headerSize >= 52 ? 14 + 40 : 14 + headerSize;
    if (at + 12 > b.size()) return Fail(error, "bitmap masks cut short");
    for (int i = 0; i < 3; ++i)
      masks[i] = U32(b, at + size_t(i) * 4);
  }
  auto channel = [](uint32_t v, uint32_t mask) -> uint8_t {
    if (!mask) return 0;
    int shift = 0;
    while (!(mask & 1)) {
      mask >>= 1;
      ++shift;
    }
    uint32_t x = (v >> shift) & mask;
    return uint8_t(mask >= 255 ? x * 255 / mask : (x * 255 + mask / 2) / mask);
  };
  Picture p;
  p.rgb = Bitmap(w, h);
  for (int row = 0; row < h; ++row) {
    const size_t line = dataAt + stride * size_t(topDown ? row : h - 1 - row);
    for (int x = 0; x < w; ++x) {
      Color c = 0;
      if (bpp == 24 || bpp == 32) {
        size_t at = line + size_t(x) * (bpp / 8);
        if (compression == 3) {
          uint32_t v = U32(b, at);
          c = RGB(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
        } else {
          c = RGB(uint8_t(b[at + 2]), uint8_t(b[at + 1]), uint8_t(b[at]));
        }
      } else {
        size_t bit = size_t(x) * bpp;
        uint8_t byte = uint8_t(b[line + bit / 8]);
        uint32_t index = (byte >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
        c = index < palette.size() ? palette[index] : 0;
      }
      p.rgb.At(x, row) = c;
    }
  }
  *out = std::move(p);
  return true;
}

}  // namespace tov
