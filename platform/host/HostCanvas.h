// The software canvas of the headless host: a 32-bit raster that follows
// GDI's rules for rectangles, lines and round rectangles, with a
// deterministic text model and a deterministic model of the shell's system
// image lists, so that every pixel a control paints can be tested.
//
// Text model. A font of s points has an em of e = MulDiv(s, 96, 72) pixels
// (s <= 0 counts as 8 points; 8 points give 11), a line height of e + 2 and
// these advances, plus 1 for bold (the face name and italic do not matter):
//   space                      (e + 2) / 4 + 1      8 points: 4
//   narrow  i I j l t f . , ; : ' ! | ( ) [ ]   (e + 2) / 4    8 points: 3
//   wide    m w M W @ %        e * 8 / 11           8 points: 8
//   any other character        (e * 5 + 5) / 11     8 points: 5
// A character other than a space is drawn as a solid box in the font colour,
// its advance less one pixel wide, from row 2 to row e - 1 of its line;
// underline fills row e of the line over the whole advance, strike-out row
// e / 2 + 1.
//
// Image-list model. The large list (HostShell::kLargeList) holds 32 x 32
// icons, the small list (kSmallList) 16 x 16 ones, both with kIconCount
// entries under one shared index. Icon i of size s is a square in
// IconColor(i) with a one-pixel border in IconBorderColor(i); the pixels
// whose distance to the nearest corner along both axes, x' + y', is below
// s / 8 are transparent. A disabled icon is drawn in grey (0x808080).
#pragma once
#include <array>

#include "platform/Canvas.h"

namespace tov::host {

class HostCanvasFactory : public ICanvasFactory {
 public:
  HostCanvasFactory();
  std::unique_ptr<ICanvas> CreateBitmapCanvas(int width, int height) override;
  Color SysColor(int index) override;
  Size ImageListSize(uintptr_t imageList) override;
  int ScreenBitsPerPixel() override { return bitsPerPixel_; }
  int ScreenDpi() override { return screenDpi_; }
  IImageCodec* ImageCodec() override;

  // Test controls.
  void SetSysColor(int index, Color rgb);
  void SetScreenBitsPerPixel(int bits) { bitsPerPixel_ = bits; }
  // The screen's scale: fonts without one of their own are drawn at it.
  void SetScreenDpi(int dpi) { screenDpi_ = dpi; }

  using SysColors = std::array<Color, 32>;

 private:
  SysColors sysColors_;
  int bitsPerPixel_ = 32;
  int screenDpi_ = 96;
  std::unique_ptr<IImageCodec> codec_;
};

// The text model's metrics.
int FontEm(const FontSpec& font);
int FontLineHeight(const FontSpec& font);
int CharAdvance(const FontSpec& font, char c);

// The image-list model.
constexpr int kIconCount = 512;
Color IconColor(int index);
Color IconBorderColor(int index);
// The icon as it is drawn with a background colour (kNoColor leaves the
// transparent pixels at `clear`).
Bitmap IconImage(int index, int size, bool enabled, Color background, Color clear);

}  // namespace tov::host
