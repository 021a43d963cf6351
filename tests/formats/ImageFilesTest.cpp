// Pictures written as PNG and as Windows bitmaps, read back by the host's
// decoders pixel for pixel; a bitmap file converted to a PNG file.
#include <gtest/gtest.h>

#include <zlib.h>

#include "formats/ImageFiles.h"
#include "platform/BmpDecoder.h"
#include "platform/Platform.h"
#include "platform/host/HostPlatform.h"
#include "tests/ImageSamples.h"

namespace tov {
namespace {

// A picture whose rows suit different filters: a gradient, noise, flat runs.
Bitmap Sample(int w, int h) {
  Bitmap b(w, h);
  uint32_t seed = 12345;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      seed = seed * 1103515245u + 12345u;
      const int band = y % 3;
      b.At(x, y) = band == 0   ? RGB(x * 255 / w, y * 255 / h, 128)
                   : band == 1 ? Color(seed >> 8) & 0xFFFFFF
                               : RGB(10, 200, 30);
    }
  return b;
}

Picture Decode(const std::string& bytes) {
  Picture p;
  std::string error;
  EXPECT_TRUE(Canvases().ImageCodec()->Decode(bytes, &p, &error)) << error;
  return p;
}

// The zlib level the IDAT stream announces: 0 fastest .. 3 best (FLEVEL).
int Flevel(const std::string& png) {
  const size_t at = png.find("IDAT");
  return at == std::string::npos ? -1 : (static_cast<unsigned char>(png[at + 5]) >> 6);
}

struct ImageConversionTest : ::testing::Test {
  host::HostPlatform hp;
};

TEST_F(ImageConversionTest, PngAndBitmapFilesHoldThePictureExactly) {
  for (const Bitmap& b : {Sample(37, 23), Sample(1, 1), Sample(640, 3)}) {
    SCOPED_TRACE(std::to_string(b.width) + "x" + std::to_string(b.height));
    const Picture png = Decode(EncodePng(b, 6));
    EXPECT_EQ(png.rgb, b);
    EXPECT_TRUE(png.alpha.empty());
    Picture bmp;
    std::string error;
    ASSERT_TRUE(DecodeBmp(EncodeBmp24(b), &bmp, &error)) << error;
    EXPECT_EQ(bmp.rgb, b);
  }
  EXPECT_EQ(EncodePng(Bitmap(), 9), "");
}

TEST_F(ImageConversionTest, TheLevelIsKeptBetweenNoneAndBest) {
  const Bitmap b = Sample(64, 64);
  EXPECT_EQ(Flevel(EncodePng(b, 100)), 3);
  EXPECT_EQ(EncodePng(b, 100), EncodePng(b, 9));
  EXPECT_EQ(Flevel(EncodePng(b, -1)), 0);
  EXPECT_EQ(EncodePng(b, -1), EncodePng(b, 0));
  // Level 0 stores: larger than the raw rows.
  EXPECT_GT(EncodePng(b, 0).size(), size_t(64 * 64 * 3));
  EXPECT_LT(EncodePng(b, 9).size(), EncodePng(b, 0).size());
}

// A picture whose data outgrows one output buffer goes out in several IDAT
// chunks, which decoders join again.
TEST_F(ImageConversionTest, LargePicturesSpanSeveralDataChunks) {
  const Bitmap b = Sample(300, 200);
  for (int level : {0, 9}) {
    const std::string png = EncodePng(b, level);
    size_t chunks = 0;
    for (size_t at = png.find("IDAT"); at != std::string::npos; at = png.find("IDAT", at + 4))
      ++chunks;
    EXPECT_GT(chunks, 1u) << level;
    EXPECT_EQ(Decode(png).rgb, b) << level;
  }
}

TEST_F(ImageConversionTest, ABitmapFileBecomesAPngFileOrNothing) {
  const Bitmap b = Sample(50, 40);
  ASSERT_TRUE(Files().CreateDir("C:\\Img"));
  ASSERT_TRUE(Files().WriteFile("C:\\Img\\shot.bmp", EncodeBmp24(b)));
  ASSERT_TRUE(Files().WriteFile("C:\\Img\\shot.png", "old"));
  ASSERT_TRUE(BitmapFileToPng("C:\\Img\\shot.bmp", "C:\\Img\\shot.png"));
  std::string png;
  ASSERT_TRUE(Files().ReadFile("C:\\Img\\shot.png", &png));
  EXPECT_EQ(Decode(png).rgb, b);

  EXPECT_FALSE(BitmapFileToPng("C:\\Img\\none.bmp", "C:\\Img\\none.png"));
  EXPECT_FALSE(Files().FileExists("C:\\Img\\none.png"));
  ASSERT_TRUE(Files().WriteFile("C:\\Img\\cut.bmp", EncodeBmp24(b).substr(0, 100)));
  EXPECT_FALSE(BitmapFileToPngLevel("C:\\Img\\cut.bmp", "C:\\Img\\cut.png", 5));
  EXPECT_FALSE(BitmapFileToPng("C:\\Img\\shot.bmp", "C:\\NoFolder\\shot.png"));
}

}  // namespace
}  // namespace tov
