// Picture files with known pixels, made by the tests themselves: Windows
// bitmaps in every layout the readers take, and PNG images written with zlib.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace tov::testing {

struct BmpLayout {
  int width = 0;
  int height = 0;  // rows in top-down order below; written bottom-up unless topDown
  int bpp = 24;
  bool topDown = false;
  uint32_t headerSize = 40;  // 12 (OS/2 core), 40, 108 or 124
  uint32_t compression = 0;  // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
  uint32_t colorsUsed = 0;   // the header's count; the palette is written whole
  std::vector<Color> palette;
  // One value per pixel, top-down: a palette index up to 8 bits, the raw
  // pixel up to 32 bits for 16 and 32 bits, a colour (0x00BBGGRR) for 24.
  std::vector<uint32_t> values;
  uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha (bit fields)
  std::string rle;                   // the compressed data, for RLE
};
std::string BmpFile(const BmpLayout& layout);

struct PngLayout {
  int width = 0;
  int height = 0;
  int colorType = 2;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
  int depth = 8;
  std::vector<uint8_t> samples;  // unfiltered packed rows, top-down, without filter bytes
  std::vector<Color> palette;    // PLTE, for colour type 3
  std::string trns;              // tRNS chunk data, when not empty
};
std::string PngFile(const PngLayout& layout);

// A PNG chunk with its length and CRC.
std::string PngChunk(const std::string& type, const std::string& data);

// A 4 x 3 picture with distinct colours and, for RGBA, alpha values that the
// tests compare decoders on.
Color SamplePixel(int x, int y);
uint8_t SampleAlpha(int x, int y);

}  // namespace tov::testing
