// Windows bitmap files. Every size, offset and count in the headers is
// checked against the file's length before anything is allocated, so a
// damaged file is refused with a message and never read past its end.
#include "platform/BmpDecoder.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include "base/Bytes.h"

namespace tov {

namespace {

// The largest bitmap taken: bigger sizes in a header are damage, not allocated.
constexpr int64_t kMaxImageSide = 32768;
constexpr uint64_t kMaxImagePixels = uint64_t(1) << 26;

enum : uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6 };

// Reads that would pass the end give 0: the decoder checks every offset it
// takes from a header first; these are the second line.
uint32_t U16(const std::string& b, size_t at) { return ByteReader(b).Le16Or0(at); }
uint32_t U32(const std::string& b, size_t at) { return ByteReader(b).Le32Or0(at); }

// One colour channel described by a mask, scaled to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  explicit Channel(uint32_t m = 0) : mask(m) {
    if (!m) return;
    shift = std::countr_zero(m);
    bits = int(std::bit_width(m >> shift));
  }
  uint8_t Of(uint32_t pixel) const {
    if (!mask) return 0;
    uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return uint8_t(v >> (bits - 8));
    // Repeats the bits from the top down: 5 bits abcde give abcdeabc.
    uint32_t r = 0;
    for (int filled = 0; filled < 8; filled += bits)
      r = (r << bits) | v;
    int total = ((8 + bits - 1) / bits) * bits;
    return uint8_t(r >> (total - 8));
  }
};

}  // namespace

bool IsBmpFile(const std::string& bytes) { return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M'; }

bool IsPngFile(const std::string& bytes) { return bytes.size() >= 8 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0; }

bool DecodeBmp(const std::string& b, Picture* out, std::string* error) {
  std::string scratch;
  if (!error) error = &scratch;
  auto fail = [&](const char* why) {
    *out = Picture();
    *error = why;
    return false;
  };
  *out = Picture();
  const uint64_t fileSize = b.size();
  if (fileSize < 14 + 12 || b[0] != 'B' || b[1] != 'M') return fail("not a Windows bitmap");
  const uint64_t offBits = U32(b, 10);
  const uint64_t headerSize = U32(b, 14);
  if (headerSize < 12 || 14 + headerSize > fileSize) return fail("the bitmap header is damaged");

  int64_t width = 0, height = 0;
  uint32_t bpp = 0, compression = kBiRgb, colorsUsed = 0;
  uint32_t masks[4] = {0, 0, 0, 0};
  uint64_t paletteAt = 14 + headerSize;
  size_t paletteEntry = 4;
  if (headerSize == 12) {  // the OS/2 core header: 16-bit sizes, 3-byte palette entries
    width = U16(b, 18);
    height = U16(b, 20);
    bpp = U16(b, 24);
    paletteEntry = 3;
  } else {
    if (headerSize < 40) return fail("the bitmap header is damaged");
    width = int32_t(U32(b, 18));
    height = int32_t(U32(b, 22));
    bpp = U16(b, 28);
    compression = U32(b, 30);
    colorsUsed = U32(b, 46);
    if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
      uint64_t count = compression == kBiAlphaBitfields ? 4 : 3;
      const uint64_t masksAt = 54;
      // A header of 40 bytes holds no masks, one of 52 holds three, one of 56 or
      // more all four; masks the header does not hold follow it.
      if (headerSize != 40 && headerSize < 52) return fail("the bitmap header is damaged");
      const uint64_t inHeader = std::min<uint64_t>(4, (headerSize - 40) / 4);
      if (inHeader >= 4) count = 4;  // the header holds an alpha mask too
      if (count > inHeader) paletteAt += 4 * (count - inHeader);
      if (masksAt + 4 * count > fileSize) return fail("the bitmap's colour masks are missing");
      for (size_t i = 0; i < count; ++i)
        masks[i] = U32(b, size_t(masksAt + 4 * i));
    }
  }

  bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0) return fail("the bitmap has no pixels");
  if (width > kMaxImageSide || height > kMaxImageSide || uint64_t(width) * uint64_t(height) > kMaxImagePixels)
    return fail("the bitmap is too large");

  switch (compression) {
    case kBiRgb:
      if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return fail("unsupported number of bits per pixel");
      if (bpp == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F, masks[3] = 0;
      if (bpp == 32) masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF, masks[3] = 0;
      break;
    case kBiRle8:
    case kBiRle4:
      if (bpp != (compression == kBiRle8 ? 8u : 4u)) return fail("the bitmap's compression does not fit its depth");
      if (topDown) return fail("a compressed bitmap must be stored bottom-up");
      break;
    case kBiBitfields:
    case kBiAlphaBitfields:
      if (bpp != 16 && bpp != 32) return fail("the bitmap's compression does not fit its depth");
      if (!masks[0] && !masks[1] && !masks[2]) return fail("the bitmap's colour masks are empty");
      break;
    default:
      return fail("unsupported bitmap compression");
  }

  // The palette.
  std::vector<Color> palette;
  if (bpp <= 8) {
    uint64_t count = colorsUsed ? colorsUsed : (uint64_t(1) << bpp);
    if (count > (uint64_t(1) << bpp)) count = uint64_t(1) << bpp;
    if (paletteAt + count * paletteEntry > fileSize) return fail("the bitmap's palette is damaged");
    palette.resize(size_t(count));
    for (size_t i = 0; i < palette.size(); ++i) {
      size_t at = size_t(paletteAt + i * paletteEntry);
      palette[i] = RGB(uint8_t(b[at + 2]), uint8_t(b[at + 1]), uint8_t(b[at]));
    }
  }
  if (offBits == 0 || offBits >= fileSize) return fail("the bitmap's pixel data is missing");

  const uint64_t stride = ((uint64_t(width) * bpp + 31) / 32) * 4;
  const bool compressed = compression == kBiRle8 || compression == kBiRle4;
  if (!compressed && offBits + stride * uint64_t(height) > fileSize)
    return fail("the bitmap's pixel data is cut short");

  const int w = int(width), h = int(height);
  Picture img;
  img.rgb = Bitmap(w, h, 0);
  const bool alpha = masks[3] != 0 && (compression == kBiBitfields || compression == kBiAlphaBitfields);
  if (alpha) img.alpha.assign(size_t(w) * size_t(h), 0);
  auto index = [&](uint32_t i) { return i < palette.size() ? palette[i] : Color(0); };
  auto rowOf = [&](int64_t fileRow) { return topDown ? int(fileRow) : h - 1 - int(fileRow); };

  if (!compressed) {
    Channel r(masks[0]), g(masks[1]), bl(masks[2]), a(masks[3]);
    for (int fr = 0; fr < h; ++fr) {
      const size_t rowAt = size_t(offBits + stride * uint64_t(fr));
      const int y = rowOf(fr);
      for (int x = 0; x < w; ++x) {
        Color c = 0;
        switch (bpp) {
          case 1:
            c = index((uint8_t(b[rowAt + size_t(x) / 8]) >> (7 - x % 8)) & 1);
            break;
          case 4:
            c = index((uint8_t(b[rowAt + size_t(x) / 2]) >> (x % 2 ? 0 : 4)) & 0x0F);
            break;
          case 8:
            c = index(uint8_t(b[rowAt + size_t(x)]));
            break;
          case 24: {
            size_t at = rowAt + size_t(x) * 3;
            c = RGB(uint8_t(b[at + 2]), uint8_t(b[at + 1]), uint8_t(b[at]));
            break;
          }
          case 16:
          case 32: {
            uint32_t px = bpp == 16 ? U16(b, rowAt + size_t(x) * 2) : U32(b, rowAt + size_t(x) * 4);
            c = RGB(r.Of(px), g.Of(px), bl.Of(px));
            if (alpha) img.alpha[size_t(y) * size_t(w) + size_t(x)] = a.Of(px);
            break;
          }
        }
        img.rgb.At(x, y) = c;
      }
    }
  } else {
    // Run-length encoded: pairs of (count, index) and escapes; pixels a
    // delta skips stay black. The data may end without its end marker.
    const bool four = compression == kBiRle4;
    size_t at = size_t(offBits);
    int64_t x = 0, fr = 0;
    auto put = [&](uint32_t idx) {
      if (x < w && fr < h) img.rgb.At(int(x), rowOf(fr)) = index(idx);
      ++x;
    };
    while (at + 2 <= fileSize && fr < h) {
      uint8_t n = uint8_t(b[at]), v = uint8_t(b[at + 1]);
      at += 2;
      if (n > 0) {
        for (int i = 0; i < n; ++i)
          put(four ? ((i % 2) ? (v & 0x0F) : (v >> 4)) : v);
      } else if (v == 0) {
        x = 0, ++fr;
      } else if (v == 1) {
        break;
      } else if (v == 2) {
        if (at + 2 > fileSize) break;
        x += uint8_t(b[at]);
        fr += uint8_t(b[at + 1]);
        at += 2;
      } else {
        size_t bytes = four ? (size_t(v) + 1) / 2 : size_t(v);
        if (at + bytes > fileSize) return fail("the bitmap's pixel data is cut short");
        for (int i = 0; i < v; ++i) {
          uint8_t byte = uint8_t(b[at + (four ? size_t(i) / 2 : size_t(i))]);
          put(four ? ((i % 2) ? (byte & 0x0F) : (byte >> 4)) : byte);
        }
        at += (bytes + 1) & ~size_t(1);  // absolute runs are padded to a word
      }
    }
  }
  // An alpha mask whose pixels are all opaque says nothing: no alpha.
  if (alpha && std::all_of(img.alpha.begin(), img.alpha.end(), [](uint8_t v) { return v == 255; })) img.alpha.clear();
  *out = std::move(img);
  return true;
}

}  // namespace tov
