// An abstract drawing surface with GDI's semantics: rectangles exclude their
// right and bottom edges, lines exclude their end point, text is drawn with a
// transparent background. Colours may be RGB values or system colours
// (0x800000nn); a canvas resolves a system colour when it draws with it.
// GDI stands behind it on Windows, a software raster on the host.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace tov {

using Color = uint32_t;  // 0x00BBGGRR; 0x800000nn is system colour nn
constexpr Color kNoColor = 0x1FFFFFFF;
constexpr Color kSystemColorFlag = 0x80000000;

// The name in parentheses keeps the function safe from the RGB macro of
// <windows.h>, which gives the same value.
inline constexpr Color(RGB)(uint8_t r, uint8_t g, uint8_t b) { return Color(r) | (Color(g) << 8) | (Color(b) << 16); }
inline constexpr uint8_t RedOf(Color c) { return uint8_t(c & 0xFF); }
inline constexpr uint8_t GreenOf(Color c) { return uint8_t((c >> 8) & 0xFF); }
inline constexpr uint8_t BlueOf(Color c) { return uint8_t((c >> 16) & 0xFF); }
inline constexpr bool IsSystemColor(Color c) { return (c & 0xFF000000) == kSystemColorFlag; }

enum FontStyle : uint32_t { kFontBold = 1, kFontItalic = 2, kFontUnderline = 4, kFontStrikeOut = 8 };

struct FontSpec {
  std::string name = "Tahoma";
  int size = 8;  // points
  uint32_t style = 0;
  Color color = 0;
  // The scale the points are turned into pixels at; 0: the screen's.
  int dpi = 0;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// DrawText format flags, with the values Windows gives them.
enum TextFormat : uint32_t {
  kDtLeft = 0x0000,
  kDtCenter = 0x0001,
  kDtRight = 0x0002,
  kDtVCenter = 0x0004,
  kDtBottom = 0x0008,
  kDtWordBreak = 0x0010,
  kDtSingleLine = 0x0020,
  kDtNoClip = 0x0100,
  kDtCalcRect = 0x0400,
  kDtNoPrefix = 0x0800,
};

// A 32-bit top-down bitmap; pixels are 0x00BBGGRR like colours.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<Color> pixels;
  Bitmap() = default;
  Bitmap(int w, int h, Color fill = 0)
      : width(w > 0 ? w : 0), height(h > 0 ? h : 0), pixels(size_t(width) * size_t(height), fill) {}
  Color At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  Color& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  bool Empty() const { return width <= 0 || height <= 0; }
  friend bool operator==(const Bitmap&, const Bitmap&) = default;
};

// A decoded picture: its colours, and one alpha value per pixel (0 clear,
// 255 opaque) when the file has transparency; empty alpha means opaque.
struct Picture {
  Bitmap rgb;
  std::vector<uint8_t> alpha;
};

class IImageCodec {
 public:
  virtual ~IImageCodec() = default;
  // Decodes the bytes of a PNG or BMP file; false, with the reason, when they
  // are not a picture it can read.
  virtual bool Decode(const std::string& bytes, Picture* out, std::string* error) = 0;
};

class ICanvas {
 public:
  virtual ~ICanvas() = default;
  virtual int Width() = 0;
  virtual int Height() = 0;
  virtual Color GetPixel(int x, int y) = 0;
  virtual void SetPixel(int x, int y, Color c) = 0;
  virtual void FillRect(const Rect& r, Color c) = 0;
  // A one-pixel outline just inside r (GDI's Rectangle with a hollow brush).
  virtual void FrameRect(const Rect& r, Color c) = 0;
  virtual void Line(Point from, Point to, Color c) = 0;
  // The outline of GDI's RoundRect with a one-pixel pen and a hollow brush:
  // corners are quarters of an ellipse ellipseW x ellipseH.
  virtual void RoundRect(const Rect& r, int ellipseW, int ellipseH, Color c) = 0;
  virtual void SetFont(const FontSpec& font) = 0;
  // Extent of the text as GetTextExtentPoint32 gives it ("&" is a character).
  virtual Size TextExtent(const std::string& text) = 0;
  virtual void TextAt(int x, int y, const std::string& text) = 0;  // in the font's colour
  // DrawText with the flags above: "&" marks an accelerator unless
  // kDtNoPrefix; kDtWordBreak breaks lines between words; the text is clipped
  // to r unless kDtNoClip. With kDtCalcRect nothing is drawn and r becomes the
  // extent of the text (right = left + widest line, bottom = top + height).
  // Answers the height of the text.
  virtual int DrawTextIn(const std::string& text, Rect& r, uint32_t format) = 0;
  // Draws image `index` of an image list (the shell's system lists included).
  // With a background colour the image's transparent parts take that colour
  // (ImageList_SetBkColor); with kNoColor they are left as they were.
  virtual void DrawImage(uintptr_t imageList, int index, int x, int y, bool enabled, Color background = kNoColor) = 0;
  // Draws a bitmap; with a transparent colour, pixels of that colour are skipped.
  virtual void DrawBitmap(const Bitmap& bmp, int x, int y, Color transparent = kNoColor) = 0;
  // Copies a rectangle of another canvas here (BitBlt); with a transparent
  // colour, source pixels of that colour are left out (TransparentBlt).
  virtual void CopyFrom(ICanvas& source, const Rect& sourceRect, Point to, Color transparent = kNoColor) = 0;
  // The whole surface as a bitmap.
  virtual Bitmap ToBitmap() = 0;
};

class ICanvasFactory {
 public:
  virtual ~ICanvasFactory() = default;
  // An off-screen surface, white until drawn on.
  virtual std::unique_ptr<ICanvas> CreateBitmapCanvas(int width, int height) = 0;
  // Current RGB value of a system colour index (COLOR_BTNFACE is 15).
  virtual Color SysColor(int index) = 0;
  virtual Size ImageListSize(uintptr_t imageList) = 0;
  // Colour depth of the screen in bits per pixel.
  virtual int ScreenBitsPerPixel() { return 32; }
  // The decoder of picture files; null when the platform has none.
  virtual IImageCodec* ImageCodec() { return nullptr; }
  // The scale a font without one of its own is drawn at (the screen's
  // LOGPIXELSY).
  virtual int ScreenDpi() { return 96; }
};

}  // namespace tov
