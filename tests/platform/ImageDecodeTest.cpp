// Decoding picture files through the platform: Windows bitmaps in their
// layouts and PNG images in their colour types, and damaged files refused
// with a message instead of read past their end.
#include <gtest/gtest.h>

#include <random>

#include "platform/Platform.h"
#include "platform/host/HostPlatform.h"
#include "tests/ImageSamples.h"

namespace tov {
namespace {

using testing::BmpFile;
using testing::BmpLayout;
using testing::PngFile;
using testing::PngLayout;
using testing::SampleAlpha;
using testing::SamplePixel;

constexpr int kW = 4, kH = 3;

bool Decode(const std::string& bytes, Picture* img, std::string* error = nullptr) {
  std::string why;
  bool ok = Canvases().ImageCodec()->Decode(bytes, img, &why);
  if (error) *error = why;
  return ok;
}

Picture Decoded(const std::string& bytes) {
  Picture img;
  std::string why;
  EXPECT_TRUE(Decode(bytes, &img, &why)) << why;
  return img;
}

Bitmap SampleBitmap() {
  Bitmap b(kW, kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      b.At(x, y) = SamplePixel(x, y);
  return b;
}

BmpLayout Sample24(bool topDown) {
  BmpLayout s;
  s.width = kW, s.height = kH, s.bpp = 24, s.topDown = topDown;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      s.values.push_back(SamplePixel(x, y));
  return s;
}

// Indexed layouts: palette entry i is a colour made from i; pixel values cycle.
BmpLayout SampleIndexed(int bpp, int paletteSize) {
  BmpLayout s;
  s.width = 5, s.height = 2, s.bpp = bpp;
  for (int i = 0; i < paletteSize; ++i)
    s.palette.push_back(RGB(uint8_t(i * 7), uint8_t(255 - i), uint8_t(i * 3)));
  for (int i = 0; i < 10; ++i)
    s.values.push_back(uint32_t((i * 5 + 1) % paletteSize));
  return s;
}

uint8_t AlphaAt(const Picture& p, int x, int y) {
  return p.alpha.empty() ? 255 : p.alpha[size_t(y) * size_t(p.rgb.width) + size_t(x)];
}

bool PngAvailable() {
  Picture img;
  std::string why;
  PngLayout s;
  s.width = 1, s.height = 1, s.colorType = 0, s.samples = {0};
  return Canvases().ImageCodec()->Decode(PngFile(s), &img, &why) || why.find("this build") == std::string::npos;
}

TEST(BitmapDecode, TwentyFourBitsBottomUpAndTopDownWithRowPadding) {
  host::HostPlatform hp;
  for (bool topDown : {false, true}) {
    Picture img = Decoded(BmpFile(Sample24(topDown)));
    EXPECT_EQ(img.rgb, SampleBitmap()) << topDown;
    EXPECT_TRUE(img.alpha.empty());
  }
}

TEST(BitmapDecode, PalettesOfOneFourAndEightBits) {
  host::HostPlatform hp;
  for (auto [bpp, size] : {std::pair{1, 2}, {4, 16}, {4, 5}, {8, 256}, {8, 9}}) {
    BmpLayout s = SampleIndexed(bpp, size);
    if (size < (1 << bpp)) s.colorsUsed = uint32_t(size);
    Picture img = Decoded(BmpFile(s));
    ASSERT_EQ(img.rgb.width, 5);
    ASSERT_EQ(img.rgb.height, 2);
    for (int i = 0; i < 10; ++i)
      EXPECT_EQ(img.rgb.At(i % 5, i / 5), s.palette[s.values[size_t(i)]]) << bpp << " " << size << " " << i;
  }
  // The OS/2 core header has three-byte palette entries.
  BmpLayout core = SampleIndexed(8, 256);
  core.headerSize = 12;
  Picture img = Decoded(BmpFile(core));
  EXPECT_EQ(img.rgb.At(1, 0), core.palette[core.values[1]]);
  EXPECT_EQ(img.rgb.At(4, 1), core.palette[core.values[9]]);
}

TEST(BitmapDecode, AnIndexPastThePaletteIsBlack) {
  host::HostPlatform hp;
  BmpLayout s = SampleIndexed(8, 4);
  s.colorsUsed = 4;
  s.values[3] = 200;
  Picture img = Decoded(BmpFile(s));
  EXPECT_EQ(img.rgb.At(3, 0), 0u);
  EXPECT_EQ(img.rgb.At(2, 0), s.palette[s.values[2]]);
}

TEST(BitmapDecode, SixteenAndThirtyTwoBitsWithAndWithoutMasks) {
  host::HostPlatform hp;
  BmpLayout s555;  // 5-5-5 by default: red 31, green 16, blue 1
  s555.width = 2, s555.height = 1, s555.bpp = 16;
  s555.values = {(31u << 10) | (16u << 5) | 1u, 0x7FFF};
  Picture a = Decoded(BmpFile(s555));
  EXPECT_EQ(a.rgb.At(0, 0), RGB(255, 132, 8));
  EXPECT_EQ(a.rgb.At(1, 0), RGB(255, 255, 255));

  BmpLayout s565 = s555;  // 5-6-5 through masks after a 40-byte header
  s565.compression = 3;
  s565.masks[0] = 0xF800, s565.masks[1] = 0x07E0, s565.masks[2] = 0x001F;
  s565.values = {(1u << 11) | (63u << 5) | 31u, 0};
  Picture b = Decoded(BmpFile(s565));
  EXPECT_EQ(b.rgb.At(0, 0), RGB(8, 255, 255));
  EXPECT_EQ(b.rgb.At(1, 0), RGB(0, 0, 0));

  BmpLayout s32;  // BGRX: the fourth byte is not alpha
  s32.width = 1, s32.height = 2, s32.bpp = 32;
  s32.values = {0x7F102030, 0x00405060};
  Picture c = Decoded(BmpFile(s32));
  EXPECT_TRUE(c.alpha.empty());
  EXPECT_EQ(c.rgb.At(0, 0), RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(c.rgb.At(0, 1), RGB(0x40, 0x50, 0x60));

  BmpLayout v5 = s32;  // a version 5 header with an alpha mask
  v5.headerSize = 124, v5.compression = 3;
  v5.masks[0] = 0x00FF0000, v5.masks[1] = 0x0000FF00, v5.masks[2] = 0x000000FF, v5.masks[3] = 0xFF000000;
  Picture d = Decoded(BmpFile(v5));
  ASSERT_FALSE(d.alpha.empty());
  EXPECT_EQ(d.rgb.At(0, 0), RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(AlphaAt(d, 0, 0), 0x7F);
  EXPECT_EQ(AlphaAt(d, 0, 1), 0);
}

TEST(BitmapDecode, RunLengthEncodedEightAndFourBits) {
  host::HostPlatform hp;
  BmpLayout s = SampleIndexed(8, 4);
  s.width = 5, s.height = 2, s.compression = 1, s.colorsUsed = 4;
  // Bottom row: 2 x index 1, an absolute run 1 2 3 (padded to a word), end
  // of line; top row: a delta one to the right, 2 x index 3, end of bitmap.
  s.rle =
      std::string("\x02\x01\x00\x03\x01\x02\x03\x00\x00\x00", 10) + std::string("\x00\x02\x01\x00\x02\x03\x00\x01", 8);
  Picture img = Decoded(BmpFile(s));
  ASSERT_EQ(img.rgb.width, 5);
  std::vector<Color> bottom, top;
  for (int x = 0; x < 5; ++x)
    bottom.push_back(img.rgb.At(x, 1)), top.push_back(img.rgb.At(x, 0));
  const auto& p = s.palette;
  EXPECT_EQ(bottom, (std::vector<Color>{p[1], p[1], p[1], p[2], p[3]}));
  EXPECT_EQ(top, (std::vector<Color>{0, p[3], p[3], 0, 0}));

  BmpLayout f = SampleIndexed(4, 16);
  f.width = 7, f.height = 1, f.compression = 2;
  // Indexes 5 A 5, an absolute run C 1 2, and a run that ends with the data.
  f.rle = std::string("\x03\x5A\x00\x03\xC1\x20\x01\x77", 8);
  Picture g = Decoded(BmpFile(f));
  ASSERT_EQ(g.rgb.width, 7);
  std::vector<Color> row;
  for (int x = 0; x < 7; ++x)
    row.push_back(g.rgb.At(x, 0));
  const auto& q = f.palette;
  EXPECT_EQ(row, (std::vector<Color>{q[5], q[10], q[5], q[12], q[1], q[2], q[7]}));
}

TEST(BitmapDecode, DamagedHeadersAreRefusedWithAMessage) {
  host::HostPlatform hp;
  const std::string good = BmpFile(Sample24(false));
  auto refused = [](std::string bytes, const std::string& expect) {
    Picture img;
    std::string why;
    EXPECT_FALSE(Decode(bytes, &img, &why)) << expect;
    EXPECT_NE(why.find(expect), std::string::npos) << why;
    EXPECT_TRUE(img.rgb.Empty());
  };
  auto patch32 = [&](size_t at, uint32_t v) {
    std::string b = good;
    for (int i = 0; i < 4; ++i)
      b[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
    return b;
  };
  refused(patch32(18, 0x7FFFFFFF), "too large");  // width
  refused(patch32(22, 0x80000000), "too large");  // height -2^31
  refused(patch32(18, 0), "no pixels");
  refused(patch32(14, 0xFFFFFFF0), "header is damaged");  // header size
  refused(patch32(10, 0x7FFFFFFF), "pixel data is missing");
  refused(patch32(30, 4), "unsupported bitmap compression");  // JPEG
  refused(good.substr(0, good.size() - 1), "cut short");
  std::string bits = good;
  bits[28] = 7;
  refused(bits, "bits per pixel");
  BmpLayout pal = SampleIndexed(8, 256);
  std::string palFile = BmpFile(pal);
  refused(palFile.substr(0, 54 + 100), "palette");
  BmpLayout topRle = SampleIndexed(8, 4);
  topRle.compression = 1, topRle.colorsUsed = 4, topRle.topDown = true, topRle.rle = std::string("\x00\x01", 2);
  refused(BmpFile(topRle), "bottom-up");
}

// A header of 52 bytes holds three masks; with alpha bit fields the fourth
// follows it. A file too short for it was once read past its end (a finding
// of the fuzzer, kept as a corpus entry too).
TEST(BitmapDecode, MasksTheHeaderDoesNotHoldFollowItOrTheFileIsRefused) {
  host::HostPlatform hp;
  const std::string finding(
      "\x42\x4d\x9a\x08\x00\x00\x00\x00\x00\x00\x8a\x00\x00\x00\x34\x00\x00\x00\x04\x00\x00\x00\x02\x00"
      "\xe5\x00\x10\x00\x01\x00\x06\x00\x00\x00\xa9\x03\x00\x18\x00\x43\x43\x43\xff\xff\xff\xff\xff\xff"
      "\xff\xff\xff\xff\x43\x43\x43\x00\x00\x04\x00\x00\x00\x02\x00\xe5\x00\x00\x00",
      67);
  Picture img;
  std::string why;
  EXPECT_FALSE(Decode(finding, &img, &why));
  EXPECT_NE(why.find("colour masks are missing"), std::string::npos) << why;
  EXPECT_TRUE(img.rgb.Empty());

  // The same layout whole: one 32-bit pixel, masks 0..2 in the header, the
  // alpha mask after it, then the pixel.
  auto u32 = [](std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i)
      s += char((v >> (8 * i)) & 0xFF);
  };
  auto v2File = [&](uint32_t compression) {
    std::string f = "BM";
    const uint32_t bits = 14 + 52 + (compression == 6 ? 4 : 0);
    u32(f, bits + 4), u32(f, 0), u32(f, bits);
    u32(f, 52), u32(f, 1), u32(f, 1);
    f += std::string("\x01\x00\x20\x00", 4);
    u32(f, compression), u32(f, 4), u32(f, 0), u32(f, 0), u32(f, 0), u32(f, 0);
    u32(f, 0x00FF0000), u32(f, 0x0000FF00), u32(f, 0x000000FF);
    if (compression == 6) u32(f, 0xFF000000);
    u32(f, 0x80102030);
    return f;
  };
  Picture withAlpha = Decoded(v2File(6));
  EXPECT_EQ(withAlpha.rgb.At(0, 0), RGB(0x10, 0x20, 0x30));
  ASSERT_FALSE(withAlpha.alpha.empty());
  EXPECT_EQ(withAlpha.alpha[0], 0x80);
  Picture noAlpha = Decoded(v2File(3));
  EXPECT_EQ(noAlpha.rgb.At(0, 0), RGB(0x10, 0x20, 0x30));
  EXPECT_TRUE(noAlpha.alpha.empty());

  // Every header size from 40 to 124 with bit fields, cut at every length:
  // refused with a message or decoded, never read past the end (the
  // sanitizer build watches).
  for (uint32_t header = 40; header <= 124; header += 4)
    for (uint32_t compression : {3u, 6u}) {
      std::string f = v2File(compression);
      for (int i = 0; i < 4; ++i)
        f[14 + size_t(i)] = char((header >> (8 * i)) & 0xFF);
      for (size_t n = 0; n <= f.size(); ++n) {
        Picture p;
        std::string w;
        if (!Decode(f.substr(0, n), &p, &w)) {
          EXPECT_FALSE(w.empty());
        }
      }
    }
}

TEST(BitmapDecode, EveryCutAndRandomDamageFailsCleanlyOrDecodes) {
  host::HostPlatform hp;
  std::vector<std::string> files = {BmpFile(Sample24(true)), BmpFile(SampleIndexed(4, 16)),
                                    BmpFile(SampleIndexed(1, 2))};
  for (const std::string& f : files)
    for (size_t n = 0; n < f.size(); ++n) {
      Picture img;
      std::string why;
      EXPECT_FALSE(Decode(f.substr(0, n), &img, &why)) << n;
      EXPECT_FALSE(why.empty());
    }
  std::mt19937 rng(1234);
  for (int round = 0; round < 3000; ++round) {
    std::string f = files[size_t(round) % files.size()];
    for (int k = 0; k < 4; ++k)
      f[rng() % f.size()] = char(rng());
    Picture img;
    std::string why;
    if (Decode(f, &img, &why))
      EXPECT_EQ(img.rgb.pixels.size(), size_t(img.rgb.width) * size_t(img.rgb.height));
    else
      EXPECT_FALSE(why.empty());
  }
}

TEST(PngDecode, ColourTypesAndDepthsAsEightBitColoursWithAlphaWhereTheFileHasIt) {
  host::HostPlatform hp;
  ASSERT_TRUE(PngAvailable()) << "no PNG decoder in this build";
  PngLayout rgb;
  rgb.width = kW, rgb.height = kH, rgb.colorType = 2;
  PngLayout rgba = rgb;
  rgba.colorType = 6;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      Color c = SamplePixel(x, y);
      rgb.samples.insert(rgb.samples.end(), {RedOf(c), GreenOf(c), BlueOf(c)});
      rgba.samples.insert(rgba.samples.end(), {RedOf(c), GreenOf(c), BlueOf(c), SampleAlpha(x, y)});
    }
  Picture a = Decoded(PngFile(rgb));
  EXPECT_EQ(a.rgb, SampleBitmap());
  EXPECT_TRUE(a.alpha.empty());
  Picture b = Decoded(PngFile(rgba));
  EXPECT_EQ(b.rgb, SampleBitmap());
  ASSERT_FALSE(b.alpha.empty());
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      EXPECT_EQ(AlphaAt(b, x, y), SampleAlpha(x, y));

  PngLayout grey;  // 1-bit grey: 1 0 1 1
  grey.width = 4, grey.height = 1, grey.colorType = 0, grey.depth = 1, grey.samples = {0xB0};
  Picture g = Decoded(PngFile(grey));
  EXPECT_EQ(g.rgb.pixels, (std::vector<Color>{0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF}));

  PngLayout deep;  // 16-bit grey + alpha keeps the high bytes
  deep.width = 1, deep.height = 1, deep.colorType = 4, deep.depth = 16, deep.samples = {0x12, 0x34, 0x80, 0x01};
  Picture d = Decoded(PngFile(deep));
  EXPECT_EQ(d.rgb.At(0, 0), RGB(0x12, 0x12, 0x12));
  EXPECT_EQ(AlphaAt(d, 0, 0), 0x80);

  PngLayout pal;  // palette with a transparent first entry
  pal.width = 3, pal.height = 1, pal.colorType = 3, pal.palette = {RGB(1, 2, 3), RGB(200, 100, 50)};
  pal.samples = {1, 0, 1};
  Picture p0 = Decoded(PngFile(pal));
  EXPECT_TRUE(p0.alpha.empty());
  EXPECT_EQ(p0.rgb.pixels, (std::vector<Color>{RGB(200, 100, 50), RGB(1, 2, 3), RGB(200, 100, 50)}));
  pal.trns = std::string(1, '\0');
  Picture p1 = Decoded(PngFile(pal));
  ASSERT_FALSE(p1.alpha.empty());
  EXPECT_EQ(p1.alpha, (std::vector<uint8_t>{255, 0, 255}));
}

TEST(PngDecode, DamagedFilesAreRefusedAndHugeHeadersAreNotAllocated) {
  host::HostPlatform hp;
  ASSERT_TRUE(PngAvailable()) << "no PNG decoder in this build";
  PngLayout s;
  s.width = 3, s.height = 2, s.colorType = 2, s.samples.assign(18, 0x55);
  const std::string good = PngFile(s);
  for (size_t n = 0; n < good.size() - 12; ++n) {  // the IEND chunk is not needed
    Picture img;
    std::string why;
    EXPECT_FALSE(Decode(good.substr(0, n), &img, &why)) << n;
    EXPECT_FALSE(why.empty());
    EXPECT_TRUE(img.rgb.Empty());
  }
  Picture img;
#if TOVIRA_HOST
  // libpng checks the CRC of the header (the imaging component of Wine does not).
  std::string badCrc = good;
  badCrc[8 + 8 + 13] ^= 1;
  EXPECT_FALSE(Decode(badCrc, &img));
#endif
  // Headers that claim 30000 x 30000 pixels (past the limit) and 8000 x 8000
  // (within it, but more than a few bytes of data can hold).
  for (const char* side : {"\x00\x00\x75\x30", "\x00\x00\x1F\x40"}) {
    std::string ihdr = std::string(side, 4) + std::string(side, 4) + std::string("\x08\x02\x00\x00\x00", 5);
    std::string huge = good.substr(0, 8) + testing::PngChunk("IHDR", ihdr) + good.substr(8 + 25);
    std::string why;
    EXPECT_FALSE(Decode(huge, &img, &why));
    EXPECT_FALSE(why.empty());
  }
}

}  // namespace
}  // namespace tov
