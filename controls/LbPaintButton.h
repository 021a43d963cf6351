// The painting of a speed button: one stateless routine that draws the whole
// button image (background, border, icon and caption) from the button's
// properties, so the button itself only keeps state.
#pragma once
#include <string>

#include "platform/Canvas.h"

namespace tov {

enum TAlignment : uint8_t { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };
enum TLbSpeedButtonLayout : uint8_t { blGlyphLeft = 0, blGlyphRight = 1, blGlyphTop = 2, blGlyphBottom = 3 };
enum TLbSpeedButtonStyle : uint8_t { bsNormal = 0, bsEncarta = 1, bsModern = 2, bsOld = 3, bsShape = 4, bsQuicken = 5 };

// Paints one button image of width x height onto the canvas at (0, 0).
// hotStep 0..8 mixes hotTrackColor into the background; the glyph is a strip
// of numGlyphs images side by side.
void LbPaintButton(ICanvas& canvas, int width, int height, int hotStep, int numGlyphs, const Bitmap& glyph, bool down,
                   bool mouseInside, bool transparent, bool enabled, bool flat, bool wordWrap, bool dropDown,
                   TLbSpeedButtonStyle style, Color color, Color colorWhenDown, Color hotTrackColor, Color lightColor,
                   Color shadowColor, const FontSpec& font, TLbSpeedButtonLayout layout, const std::string& caption,
                   TAlignment alignment);

// Where LbPaintButton puts the caption and the icon.
struct ButtonPlacement {
  std::string caption;  // after cutting to fit
  Rect textBox;
  Point icon;
  int glyphWidth = 0;
  int glyphHeight = 0;
};
ButtonPlacement PlaceButtonContent(ICanvas& canvas, int width, int height, int pressOffset, int glyphWidth,
                                   int glyphHeight, bool wordWrap, TLbSpeedButtonLayout layout,
                                   const std::string& caption, TAlignment alignment);

// Fills rows top..bottom (exclusive) between x = left and x = right with the
// 32-band gradient from a to b (RGB values).
void GradientBands(ICanvas& canvas, int left, int right, int top, int bottom, Color a, Color b);

// The arrow drawn on drop-down buttons; its bottom-left pixel is transparent.
const Bitmap& DropDownArrow();

}  // namespace tov
