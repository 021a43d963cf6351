#include "platform/host/HostCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace tov::host {

namespace {

// A raster of 32-bit pixels with GDI's clipping rules.
class SoftCanvas : public ICanvas {
 public:
  SoftCanvas(int w, int h) {
    bmp_.width = std::max(0, w);
    bmp_.height = std::max(0, h);
    bmp_.pixels.assign(size_t(bmp_.width) * size_t(bmp_.height), RGB(255, 255, 255));
  }
  int Width() override { return bmp_.width; }
  int Height() override { return bmp_.height; }
  Color GetPixel(int x, int y) override { return In(x, y) ? bmp_.At(x, y) : 0xFFFFFFFF; }
  void SetPixel(int x, int y, Color c) override {
    if (In(x, y)) bmp_.At(x, y) = c & 0x00FFFFFF;
  }
  void FillRect(const Rect& r, Color c) override {
    for (int y = std::max(0, r.top); y < std::min(bmp_.height, r.bottom); ++y)
      for (int x = std::max(0, r.left); x < std::min(bmp_.width, r.right); ++x)
        bmp_.At(x, y) = c & 0x00FFFFFF;
  }
  void FrameRect(const Rect& r, Color c) override {
    if (r.IsEmpty()) return;
    FillRect({r.left, r.top, r.right, r.top + 1}, c);
    FillRect({r.left, r.bottom - 1, r.right, r.bottom}, c);
    FillRect({r.left, r.top, r.left + 1, r.bottom}, c);
    FillRect({r.right - 1, r.top, r.right, r.bottom}, c);
  }
  void Line(Point a, Point b, Color c) override {
    // Bresenham, end point excluded.
    int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1, err = dx + dy;
    int x = a.x, y = a.y;
    while (!(x == b.x && y == b.y)) {
      SetPixel(x, y, c);
      int e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        x += sx;
      }
      if (e2 <= dx) {
        err += dx;
        y += sy;
      }
    }
  }
  void SetFont(const FontSpec& font) override { font_ = font; }
  Size TextExtent(const std::string& text) override {
    int cw = std::max(1, (font_.size * 2 + 2) / 3);
    return Size{int32_t(text.size()) * cw, font_.size + font_.size / 2 + 1};
  }
  void TextOut(int x, int y, const std::string& text) override {
    Size s = TextExtent(text);
    int cw = text.empty() ? 0 : s.cx / int(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == ' ') continue;
      FillRect({x + int(i) * cw + 1, y + 2, x + int(i + 1) * cw - 1, y + s.cy - 2}, font_.color);
    }
  }
  void DrawImage(uintptr_t, int index, int x, int y, bool enabled) override {
    Color c = enabled ? Color((index * 2654435761u) & 0x00FFFFFF) : RGB(128, 128, 128);
    FillRect({x, y, x + 16, y + 16}, c);
  }
  void DrawBitmap(const Bitmap& bmp, int x, int y, Color transparent) override {
    for (int j = 0; j < bmp.height; ++j)
      for (int i = 0; i < bmp.width; ++i)
        if (bmp.At(i, j) != transparent) SetPixel(x + i, y + j, bmp.At(i, j));
  }
  void CopyFrom(ICanvas& source, const Rect& r, Point to) override {
    for (int j = 0; j < r.Height(); ++j)
      for (int i = 0; i < r.Width(); ++i)
        SetPixel(to.x + i, to.y + j, source.GetPixel(r.left + i, r.top + j));
  }

 private:
  bool In(int x, int y) const { return x >= 0 && y >= 0 && x < bmp_.width && y < bmp_.height; }
  Bitmap bmp_;
  FontSpec font_;
};

}  // namespace

std::unique_ptr<ICanvas> HostCanvasFactory::CreateBitmapCanvas(int width, int height) {
  return std::make_unique<SoftCanvas>(width, height);
}

// The classic Windows scheme.
Color HostCanvasFactory::SysColor(int index) {
  switch (index) {
    case 15:
      return RGB(240, 240, 240);  // COLOR_BTNFACE
    case 16:
      return RGB(160, 160, 160);  // COLOR_BTNSHADOW
    case 18:
      return RGB(0, 0, 0);  // COLOR_BTNTEXT
    case 20:
      return RGB(255, 255, 255);  // COLOR_BTNHIGHLIGHT
    case 5:
      return RGB(255, 255, 255);  // COLOR_WINDOW
    case 8:
      return RGB(0, 0, 0);  // COLOR_WINDOWTEXT
    default:
      return RGB(192, 192, 192);
  }
}

Size HostCanvasFactory::ImageListSize(uintptr_t imageList) {
  return imageList == 0x1002 ? Size{16, 16} : Size{32, 32};
}

}  // namespace tov::host
