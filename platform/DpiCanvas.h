// Forms are laid out in 96-DPI units; a dialog on a monitor of another scale
// is realised in that monitor's pixels. These are the one way a form's
// coordinates become pixels and back, and a canvas that lets the logic paint
// a control or a background in its own units on a surface of pixels.
#pragma once
#include <memory>

#include "base/Dpi.h"
#include "platform/Canvas.h"

namespace tov {

// A rectangle in units as pixels: each edge is scaled on its own, so that
// controls that touch in units touch in pixels (no gap, no overlap).
Rect ScaleRect(Dpi dpi, const Rect& units);
// Pixels back as units, the same way (a scaled rectangle comes back as it was).
Rect UnscaleRect(Dpi dpi, const Rect& pixels);
// A length in pixels as units, never shorter than the pixels: text measured
// at a scale still fits the room the logic gives it.
int UnscaleUp(Dpi dpi, int pixels);
// A font given in units (a dpi of 0 is the base scale) as the pixels' font.
FontSpec ScaleFont(Dpi dpi, FontSpec font);

// Draws on `target` (pixels at `dpi`) what is painted on it in units: shapes
// are scaled edge by edge, text is drawn with fonts made at the scale (sharp,
// not stretched), lines and frames stay one pixel wide, pictures keep their
// pixel size at the scaled place. At 96 DPI it passes everything through.
class DpiCanvas final : public ICanvas {
 public:
  DpiCanvas(ICanvas& target, Dpi dpi) : target_(target), dpi_(dpi) {}

  Dpi Scale() const { return dpi_; }
  ICanvas& Target() { return target_; }

  int Width() override;
  int Height() override;
  Color GetPixel(int x, int y) override;
  void SetPixel(int x, int y, Color c) override;
  void FillRect(const Rect& r, Color c) override;
  void FrameRect(const Rect& r, Color c) override;
  void Line(Point from, Point to, Color c) override;
  void RoundRect(const Rect& r, int ellipseW, int ellipseH, Color c) override;
  void SetFont(const FontSpec& font) override;
  Size TextExtent(const std::string& text) override;
  void TextAt(int x, int y, const std::string& text) override;
  int DrawTextIn(const std::string& text, Rect& r, uint32_t format) override;
  void DrawImage(uintptr_t imageList, int index, int x, int y, bool enabled, Color background) override;
  void DrawBitmap(const Bitmap& bmp, int x, int y, Color transparent) override;
  void CopyFrom(ICanvas& source, const Rect& sourceRect, Point to, Color transparent) override;
  Bitmap ToBitmap() override;

 private:
  ICanvas& target_;
  Dpi dpi_;
};

}  // namespace tov
