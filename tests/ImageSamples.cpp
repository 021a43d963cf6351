#include "tests/ImageSamples.h"

#include <zlib.h>

namespace tov::testing {

namespace {

void Put16(std::string& s, uint32_t v) {
  s += char(v & 0xFF);
  s += char((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}
void Put32Be(std::string& s, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8)
    s += char((v >> shift) & 0xFF);
}

}  // namespace

std::string BmpFile(const BmpLayout& layout) {
  const bool core = layout.headerSize == 12;
  std::string pixels;
  if (layout.compression == 1 || layout.compression == 2) {
    pixels = layout.rle;
  } else {
    const size_t stride = ((size_t(layout.width) * size_t(layout.bpp) + 31) / 32) * 4;
    for (int fr = 0; fr < layout.height; ++fr) {
      int y = layout.topDown ? fr : layout.height - 1 - fr;
      std::string row(stride, '\0');
      for (int x = 0; x < layout.width; ++x) {
        uint32_t v = layout.values[size_t(y) * size_t(layout.width) + size_t(x)];
        switch (layout.bpp) {
          case 1:
            row[size_t(x) / 8] = char(uint8_t(row[size_t(x) / 8]) | ((v & 1) << (7 - x % 8)));
            break;
          case 4:
            row[size_t(x) / 2] = char(uint8_t(row[size_t(x) / 2]) | ((v & 0xF) << (x % 2 ? 0 : 4)));
            break;
          case 8:
            row[size_t(x)] = char(v);
            break;
          case 16:
            row[size_t(x) * 2] = char(v & 0xFF);
            row[size_t(x) * 2 + 1] = char((v >> 8) & 0xFF);
            break;
          case 24:
            row[size_t(x) * 3] = char(BlueOf(v));
            row[size_t(x) * 3 + 1] = char(GreenOf(v));
            row[size_t(x) * 3 + 2] = char(RedOf(v));
            break;
          case 32:
            for (int i = 0; i < 4; ++i)
              row[size_t(x) * 4 + size_t(i)] = char((v >> (8 * i)) & 0xFF);
            break;
        }
      }
      pixels += row;
    }
  }
  std::string header;
  if (core) {
    Put32(header, 12);
    Put16(header, uint32_t(layout.width));
    Put16(header, uint32_t(layout.height));
    Put16(header, 1);
    Put16(header, uint32_t(layout.bpp));
  } else {
    Put32(header, layout.headerSize);
    Put32(header, uint32_t(layout.width));
    Put32(header, uint32_t(layout.topDown ? -layout.height : layout.height));
    Put16(header, 1);
    Put16(header, uint32_t(layout.bpp));
    Put32(header, layout.compression);
    Put32(header, uint32_t(pixels.size()));
    Put32(header, 2835);
    Put32(header, 2835);
    Put32(header, layout.colorsUsed);
    Put32(header, 0);
    if (layout.headerSize > 40)
      for (uint32_t m : layout.masks)
        Put32(header, m);
    header.resize(layout.headerSize, '\0');
  }
  std::string extra;
  if (!core && layout.headerSize == 40 && layout.compression == 3)
    for (int i = 0; i < 3; ++i)
      Put32(extra, layout.masks[i]);
  for (Color c : layout.palette) {
    extra += char(BlueOf(c));
    extra += char(GreenOf(c));
    extra += char(RedOf(c));
    if (!core) extra += '\0';
  }
  std::string file = "BM";
  uint32_t offBits = uint32_t(14 + header.size() + extra.size());
  Put32(file, uint32_t(offBits + pixels.size()));
  Put32(file, 0);
  Put32(file, offBits);
  return file + header + extra + pixels;
}

std::string PngChunk(const std::string& type, const std::string& data) {
  std::string s;
  Put32Be(s, uint32_t(data.size()));
  std::string body = type + data;
  uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()));
  s += body;
  Put32Be(s, uint32_t(crc));
  return s;
}

std::string PngFile(const PngLayout& layout) {
  int channels = layout.colorType == 2 ? 3 : layout.colorType == 4 ? 2 : layout.colorType == 6 ? 4 : 1;
  size_t rowBytes = (size_t(layout.width) * size_t(channels) * size_t(layout.depth) + 7) / 8;
  std::string raw;
  for (int y = 0; y < layout.height; ++y) {
    raw += '\0';  // no filter
    raw.append(reinterpret_cast<const char*>(layout.samples.data()) + size_t(y) * rowBytes, rowBytes);
  }
  uLongf packedSize = compressBound(uLong(raw.size()));
  std::string packed(packedSize, '\0');
  compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
           uLong(raw.size()));
  packed.resize(packedSize);

  std::string ihdr;
  Put32Be(ihdr, uint32_t(layout.width));
  Put32Be(ihdr, uint32_t(layout.height));
  ihdr += char(layout.depth);
  ihdr += char(layout.colorType);
  ihdr += std::string(3, '\0');  // deflate, adaptive filters, not interlaced
  std::string file = "\x89PNG\r\n\x1a\n";
  file += PngChunk("IHDR", ihdr);
  if (!layout.palette.empty()) {
    std::string plte;
    for (Color c : layout.palette)
      plte += {char(RedOf(c)), char(GreenOf(c)), char(BlueOf(c))};
    file += PngChunk("PLTE", plte);
  }
  if (!layout.trns.empty()) file += PngChunk("tRNS", layout.trns);
  file += PngChunk("IDAT", packed);
  file += PngChunk("IEND", "");
  return file;
}

Color SamplePixel(int x, int y) {
  return RGB(uint8_t(40 * x + 10), uint8_t(70 * y + 5), uint8_t(200 - 30 * x - 20 * y));
}
uint8_t SampleAlpha(int x, int y) { return uint8_t(255 - 20 * x - 60 * y); }

}  // namespace tov::testing
