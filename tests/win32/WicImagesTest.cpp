// The imaging component decodes the same bitmap files as the host's reader,
// pixel for pixel; the expected pixels are those the files were made from.
#include <gtest/gtest.h>

#include "formats/ImageFiles.h"
#include "platform/win32/Win32Images.h"
#include "tests/ImageSamples.h"

namespace tov {
namespace {

using testing::BmpFile;
using testing::BmpLayout;
using testing::SamplePixel;

Picture Wic(const std::string& bytes) {
  Picture p;
  std::string why;
  EXPECT_TRUE(win32::WicCodec().Decode(bytes, &p, &why)) << why;
  return p;
}

TEST(WicImages, BitmapsDecodeAsTheHostReaderDecodesThem) {
  for (bool topDown : {false, true}) {
    BmpLayout s;
    s.width = 4, s.height = 3, s.bpp = 24, s.topDown = topDown;
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x)
        s.values.push_back(SamplePixel(x, y));
    Picture p = Wic(BmpFile(s));
    ASSERT_EQ(p.rgb.width, 4);
    ASSERT_EQ(p.rgb.height, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x)
        EXPECT_EQ(p.rgb.At(x, y), SamplePixel(x, y)) << topDown << x << y;
    EXPECT_TRUE(p.alpha.empty());
  }
  for (auto [bpp, size] : {std::pair{1, 2}, {4, 16}, {8, 256}}) {
    BmpLayout s;
    s.width = 5, s.height = 2, s.bpp = bpp;
    for (int i = 0; i < size; ++i)
      s.palette.push_back(RGB(uint8_t(i * 7), uint8_t(255 - i), uint8_t(i * 3)));
    for (int i = 0; i < 10; ++i)
      s.values.push_back(uint32_t((i * 5 + 1) % size));
    Picture p = Wic(BmpFile(s));
    ASSERT_EQ(p.rgb.width, 5);
    for (int i = 0; i < 10; ++i)
      EXPECT_EQ(p.rgb.At(i % 5, i / 5), s.palette[s.values[size_t(i)]]) << bpp << " " << i;
  }
  BmpLayout s32;  // BGRX: the fourth byte is not alpha
  s32.width = 1, s32.height = 2, s32.bpp = 32;
  s32.values = {0x7F102030, 0x00405060};
  Picture c = Wic(BmpFile(s32));
  ASSERT_EQ(c.rgb.height, 2);
  EXPECT_EQ(c.rgb.At(0, 0), RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(c.rgb.At(0, 1), RGB(0x40, 0x50, 0x60));
  Picture bad;
  std::string why;
  EXPECT_FALSE(win32::WicCodec().Decode(BmpFile(s32).substr(0, 30), &bad, &why));
}

// The program's own PNG writer, read by the system's decoder: every level,
// every filter the rows call for, the same pixels.
TEST(WicImages, ThePngsTheProgramWritesDecodeExactly) {
  Bitmap b(83, 29);
  uint32_t seed = 99;
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) {
      seed = seed * 1103515245u + 12345u;
      b.At(x, y) = y % 2 ? RGB(uint8_t(x * 3), uint8_t(y * 8), 77) : Color(seed >> 8) & 0xFFFFFF;
    }
  for (int level : {0, 1, 6, 9}) {
    Picture p = Wic(EncodePng(b, level));
    EXPECT_EQ(p.rgb, b) << "level " << level;
  }
}

}  // namespace
}  // namespace tov
