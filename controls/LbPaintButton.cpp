#include "controls/LbPaintButton.h"

#include <algorithm>
#include <cmath>

#include "controls/Colors.h"

namespace tov {

namespace {

uint32_t AlignmentFormat(TAlignment a) {
  switch (a) {
    case taRightJustify:
      return kDtRight;
    case taCenter:
      return kDtCenter;
    default:
      return kDtLeft;
  }
}

// (1 - t) * a + t * b per channel with t = step / 8, truncated.
Color Mix(Color a, Color b, int step) {
  step = std::clamp(step, 0, 8);
  auto ch = [&](uint8_t x, uint8_t y) { return uint8_t((x * (8 - step) + y * step) / 8); };
  return RGB(ch(RedOf(a), RedOf(b)), ch(GreenOf(a), GreenOf(b)), ch(BlueOf(a), BlueOf(b)));
}

}  // namespace

const Bitmap& DropDownArrow() {
  static const Bitmap arrow = [] {
    const char* rows[] = {"#######", ".#####.", "..###..", "...#...", "......."};
    Bitmap b(7, 5, clFuchsia);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x)
        if (rows[y][x] == '#') b.At(x, y) = clBlack;
    return b;
  }();
  return arrow;
}

void GradientBands(ICanvas& canvas, int left, int right, int top, int bottom, Color a, Color b) {
  int span = bottom - top;
  double r = RedOf(a), g = GreenOf(a), bl = BlueOf(a);
  double dr = (double(RedOf(b)) - RedOf(a)) / 31.0;
  double dg = (double(GreenOf(b)) - GreenOf(a)) / 31.0;
  double db = (double(BlueOf(b)) - BlueOf(a)) / 31.0;
  auto channel = [](double v) { return uint8_t(std::clamp(std::trunc(v), 0.0, 255.0)); };
  for (int i = 0; i < 32; ++i) {
    int y0 = top + i * span / 31;
    int y1 = std::min(y0 + span / 31 + 1, bottom);
    if (y1 > y0) canvas.FillRect({left, y0, right, y1}, RGB(channel(r), channel(g), channel(bl)));
    r += dr;
    g += dg;
    bl += db;
  }
}

ButtonPlacement PlaceButtonContent(ICanvas& canvas, int width, int height, int d, int gw, int gh, bool wordWrap,
                                   TLbSpeedButtonLayout layout, const std::string& caption, TAlignment alignment) {
  ButtonPlacement p;
  p.caption = caption;
  p.glyphWidth = gw;
  p.glyphHeight = gh;
  const uint32_t format = kDtWordBreak | AlignmentFormat(alignment);
  const bool sideways = layout == blGlyphLeft || layout == blGlyphRight;
  int avail = width - 8;
  if (sideways && gw > 0) avail -= gw + 4;
  avail = std::max(avail, 0);
  if (!wordWrap) {
    while (!p.caption.empty() && canvas.TextExtent(p.caption).cx > avail)
      p.caption.pop_back();
  }
  Rect m{0, 0, avail, 0};
  canvas.DrawTextIn(p.caption, m, format | kDtCalcRect);
  const int th = m.Height();
  const int tw = m.Width();
  if (sideways) {
    const int textW = p.caption.empty() ? 0 : tw + 4;
    int tx = d + 4;
    if (layout == blGlyphLeft && gw > 0) tx += gw + 4;
    p.textBox = BoundsRect(tx, (height - th) / 2 + d, avail, th);
    p.icon.y = (height - gh) / 2 + d;
    if (layout == blGlyphLeft) {
      p.icon.x = d + 4;
      if (!wordWrap) {
        if (alignment == taRightJustify) {
          p.icon.x = width - 4 - gw - textW + d;
        } else if (alignment == taCenter) {
          p.icon.x = (width - gw) / 2 + d - textW / 2;
        }
      }
    } else {
      p.icon.x = tx + textW;
      if (!wordWrap) {
        if (alignment == taRightJustify) {
          p.icon.x = width - 4 - gw + d;
        } else if (alignment == taCenter) {
          p.icon.x = (width - gw) / 2 + d + textW / 2;
        }
      }
    }
  } else {
    const int bh = th + (gh > 0 ? gh + 4 : 0);
    const int top = (height - bh) / 2;
    if (layout == blGlyphTop) {
      p.textBox = BoundsRect(d + 4, top + gh + d, avail, th);
      p.icon.y = top + d;
    } else {
      p.textBox = BoundsRect(d + 4, top + d, avail, th);
      p.icon.y = top + th + d;
    }
    if (alignment == taRightJustify) {
      p.icon.x = width - gw - 4 + d;
    } else if (alignment == taCenter) {
      p.icon.x = (width - gw) / 2 + d;
    } else {
      p.icon.x = d + 4;
    }
  }
  return p;
}

void LbPaintButton(ICanvas& canvas, int W, int H, int hotStep, int numGlyphs, const Bitmap& glyph, bool down,
                   bool mouseInside, bool transparent, bool enabled, bool flat, bool wordWrap, bool dropDown,
                   TLbSpeedButtonStyle style, Color color, Color colorWhenDown, Color hotTrackColor, Color lightColor,
                   Color shadowColor, const FontSpec& font, TLbSpeedButtonLayout layout, const std::string& caption,
                   TAlignment alignment) {
  if (!enabled) down = false;
  const int d = (down && style != bsEncarta) ? 1 : 0;

  Color bg = ColorToRGB(color);
  if (enabled && hotTrackColor != clNone) bg = Mix(bg, ColorToRGB(hotTrackColor), hotStep);
  if (down && colorWhenDown != clNone) bg = ColorToRGB(colorWhenDown);

  // Background.
  if (!transparent) {
    if (style == bsShape) {
      canvas.FillRect({0, 0, W, H}, clFuchsia);
    } else if (style == bsModern) {
      Color light = ColorToRGB(lightColor);
      GradientBands(canvas, 2, W - 2, 2, H / 4 + d, light, bg);
      GradientBands(canvas, 2, W - 2, H / 4 + d, H - 1, bg, light);
    } else if (style != bsQuicken) {
      canvas.FillRect({0, 0, W, H}, bg);
    }
  }

  // Border, outlines only.
  switch (style) {
    case bsNormal:
    case bsEncarta:
      if ((enabled && (!flat || mouseInside || down)) || (!enabled && !flat)) {
        Color first = down ? shadowColor : lightColor;
        Color second = down ? lightColor : shadowColor;
        canvas.Line({0, H - 1}, {0, 0}, first);
        canvas.Line({0, 0}, {W - 1, 0}, first);
        canvas.Line({W - 1, 0}, {W - 1, H - 1}, second);
        canvas.Line({W - 1, H - 1}, {0, H - 1}, second);
      }
      break;
    case bsModern:
      canvas.FrameRect({1, 1, W - 1, H - 1}, down ? shadowColor : bg);
      canvas.RoundRect({0, 0, W, H}, 6, 6, shadowColor);
      break;
    case bsOld:
      // A double bevel: the outer edge in the edge colours, the inner one a
      // step inside, swapped while pressed.
      if (!flat || mouseInside || down) {
        Color first = down ? shadowColor : lightColor;
        Color second = down ? lightColor : shadowColor;
        canvas.FrameRect({0, 0, W, H}, clBlack);
        canvas.Line({1, H - 2}, {1, 1}, first);
        canvas.Line({1, 1}, {W - 2, 1}, first);
        canvas.Line({W - 2, 1}, {W - 2, H - 2}, second);
        canvas.Line({W - 2, H - 2}, {1, H - 2}, second);
      }
      break;
    case bsQuicken:
      // A rounded tab in the background colour with a shadow outline.
      if (!transparent) {
        canvas.FillRect({1, 1, W - 1, H - 1}, bg);
        canvas.RoundRect({0, 0, W, H}, 6, 6, shadowColor);
      }
      break;
    case bsShape:
      canvas.RoundRect({0, 0, W, H}, W / 2, H / 2, down ? lightColor : shadowColor);
      break;
  }

  // Font.
  FontSpec f = font;
  if (style == bsEncarta && down) f.style |= kFontBold;
  if (!enabled) f.color = clGray;
  canvas.SetFont(f);

  // Glyph.
  const int gh = glyph.height;
  const int gw = numGlyphs > 0 ? glyph.width / numGlyphs : 0;
  int image = 0;
  if (!enabled) image = 1;
  if (enabled && mouseInside && numGlyphs > 3) image = 3;
  if (down && numGlyphs > 2) image = 2;

  ButtonPlacement p = PlaceButtonContent(canvas, W, H, d, gw, gh, wordWrap, layout, caption, alignment);
  canvas.DrawTextIn(p.caption, p.textBox, kDtWordBreak | AlignmentFormat(alignment));

  if (gw > 0 && gh > 0 && image < numGlyphs) {
    Bitmap part(gw, gh);
    for (int y = 0; y < gh; ++y)
      for (int x = 0; x < gw; ++x)
        part.At(x, y) = glyph.At(image * gw + x, y);
    canvas.DrawBitmap(part, p.icon.x, p.icon.y, part.At(0, gh - 1));
  }

  if (dropDown) {
    const Bitmap& arrow = DropDownArrow();
    canvas.DrawBitmap(arrow, W - 11, H / 2 - 1, arrow.At(0, arrow.height - 1));
  }
}

}  // namespace tov
