// An abstract drawing surface with GDI's semantics: rectangles exclude their
// right and bottom edges, lines exclude their end point, text is drawn with a
// transparent background. GDI stands behind it on Windows, a software raster
// on the host.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace tov {

using Color = uint32_t;  // 0x00BBGGRR; 0x800000nn is system colour nn
constexpr Color kNoColor = 0x1FFFFFFF;

inline constexpr Color RGB(uint8_t r, uint8_t g, uint8_t b) {
  return Color(r) | (Color(g) << 8) | (Color(b) << 16);
}
inline constexpr uint8_t RedOf(Color c) {
  return uint8_t(c & 0xFF);
}
inline constexpr uint8_t GreenOf(Color c) {
  return uint8_t((c >> 8) & 0xFF);
}
inline constexpr uint8_t BlueOf(Color c) {
  return uint8_t((c >> 16) & 0xFF);
}

enum FontStyle : uint32_t { kFontBold = 1, kFontItalic = 2, kFontUnderline = 4, kFontStrikeOut = 8 };

struct FontSpec {
  std::string name = "Tahoma";
  int size = 8;  // points
  uint32_t style = 0;
  Color color = 0;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// A 32-bit top-down bitmap; pixels are 0x00BBGGRR like colours.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<Color> pixels;
  Color At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  Color& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  bool Empty() const { return width <= 0 || height <= 0; }
};

class ICanvas {
 public:
  virtual ~ICanvas() = default;
  virtual int Width() = 0;
  virtual int Height() = 0;
  virtual Color GetPixel(int x, int y) = 0;
  virtual void SetPixel(int x, int y, Color c) = 0;
  virtual void FillRect(const Rect& r, Color c) = 0;
  virtual void FrameRect(const Rect& r, Color c) = 0;
  virtual void Line(Point from, Point to, Color c) = 0;
  virtual void SetFont(const FontSpec& font) = 0;
  virtual Size TextExtent(const std::string& text) = 0;
  virtual void TextOut(int x, int y, const std::string& text) = 0;  // in the font's colour
  // Draws image `index` of an image list (the shell's system lists included).
  virtual void DrawImage(uintptr_t imageList, int index, int x, int y, bool enabled) = 0;
  // Draws a bitmap; with a transparent colour, pixels of that colour are skipped.
  virtual void DrawBitmap(const Bitmap& bmp, int x, int y, Color transparent = kNoColor) = 0;
  // Copies a rectangle of another canvas here (BitBlt).
  virtual void CopyFrom(ICanvas& source, const Rect& sourceRect, Point to) = 0;
};

class ICanvasFactory {
 public:
  virtual ~ICanvasFactory() = default;
  virtual std::unique_ptr<ICanvas> CreateBitmapCanvas(int width, int height) = 0;
  // Current RGB value of a system colour index (COLOR_BTNFACE is 15).
  virtual Color SysColor(int index) = 0;
  virtual Size ImageListSize(uintptr_t imageList) = 0;
};

}  // namespace tov
