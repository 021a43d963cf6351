#include "toolkit/FormPaint.h"

#include <algorithm>
#include <string>

#include "controls/Appearance.h"
#include "forms/Component.h"
#include "platform/Platform.h"
#include "toolkit/FormControls.h"

namespace tov {

namespace {

constexpr Color kBtnFace = 0x8000000F;
constexpr Color kBtnShadow = 0x80000010;
constexpr Color kBtnText = 0x80000012;
constexpr Color kBtnHighlight = 0x80000014;
constexpr Color k3dDkShadow = 0x80000015;
constexpr Color k3dLight = 0x80000016;

Color Resolved(Color c) { return IsSystemColor(c) ? Canvases().SysColor(int(c & 0xFF)) : c; }

Color Mix(Color a, Color b, int alpha) {  // alpha of a, 0..255
  auto ch = [&](int shift) {
    const int x = int((a >> shift) & 0xFF), y = int((b >> shift) & 0xFF);
    return Color((x * alpha + y * (255 - alpha)) / 255) << shift;
  };
  return ch(0) | ch(8) | ch(16);
}

// One step of a 3D frame: top and left in one colour, bottom and right in
// the other; r shrinks by a pixel.
void Frame3D(ICanvas& canvas, Rect& r, Color topLeft, Color bottomRight) {
  if (r.Width() < 2 || r.Height() < 2) return;
  canvas.FillRect(Rect{r.left, r.top, r.right - 1, r.top + 1}, topLeft);
  canvas.FillRect(Rect{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
  canvas.FillRect(Rect{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  canvas.FillRect(Rect{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
  r = Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
}

void Bevel(ICanvas& canvas, Rect& r, const std::string& kind, int width) {
  if (kind != "bvRaised" && kind != "bvLowered") return;  // bvNone, bvSpace
  for (int i = 0; i < width; ++i) {
    if (kind == "bvRaised")
      Frame3D(canvas, r, kBtnHighlight, kBtnShadow);
    else
      Frame3D(canvas, r, kBtnShadow, kBtnHighlight);
  }
}

Rect Shrunk(const Rect& r, int by) { return Rect{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

// A caption in r; greyed with a highlight below it when disabled.
void CaptionText(ICanvas& canvas, FontSpec font, const std::string& text, Rect r, uint32_t format, bool enabled) {
  if (!enabled) {
    Rect shadow{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
    font.color = kBtnHighlight;
    canvas.SetFont(font);
    canvas.DrawTextIn(text, shadow, format);
    font.color = kBtnShadow;
  } else {
    font.color = kBtnText;
  }
  canvas.SetFont(font);
  canvas.DrawTextIn(text, r, format);
}

// One glyph of a picture, blended onto the button face: a picture with
// alpha by its alpha, any other one with its bottom-left pixel's colour as
// the transparent colour.
void DrawGlyph(ICanvas& canvas, const Picture& pic, int index, int cellWidth, int x, int y, bool greyed) {
  const int h = pic.rgb.height;
  if (cellWidth <= 0 || h <= 0 || (index + 1) * cellWidth > pic.rgb.width) return;
  const Color face = Resolved(kBtnFace);
  const Color transparent = pic.rgb.At(0, h - 1);
  const bool hasAlpha = pic.alpha.size() == pic.rgb.pixels.size();
  Bitmap cell(cellWidth, h);
  for (int row = 0; row < h; ++row) {
    for (int col = 0; col < cellWidth; ++col) {
      const size_t si = size_t(row) * size_t(pic.rgb.width) + size_t(index * cellWidth + col);
      Color c = pic.rgb.pixels[si] & 0xFFFFFF;
      const int alpha = hasAlpha ? pic.alpha[si] : (pic.rgb.pixels[si] == transparent ? 0 : 255);
      if (greyed && alpha > 0) {
        const int lum = (RedOf(c) * 30 + GreenOf(c) * 59 + BlueOf(c) * 11) / 100;
        c = Mix(RGB(uint8_t(lum), uint8_t(lum), uint8_t(lum)), face, 128);
      }
      cell.At(col, row) = Mix(c, face, alpha);
    }
  }
  canvas.DrawBitmap(cell, x, y);
}

// The picture a button shows, and how many glyphs it holds side by side.
const Picture* ButtonPicture(const Component& c, bool pressed, int* glyphs) {
  *glyphs = 1;
  if (c.kind == ComponentKind::PngButton) {
    std::string key = c.Property(pressed ? kPngImageDownProperty : kPngImageProperty);
    if (key.empty() && pressed) key = c.Property(kPngImageProperty);
    return key.empty() ? nullptr : CachedPicture(key);
  }
  const std::string name = c.Property(kGlyphProperty);
  if (name.empty()) return nullptr;
  *glyphs = std::max(1, IntProperty(c, kNumGlyphsProperty, 1));
  return LoadPicture(name, false);
}

}  // namespace

void PaintFocusRect(ICanvas& canvas, const Rect& r) {
  const Color c = Resolved(kBtnText);
  for (int x = r.left; x < r.right; x += 2) {
    canvas.SetPixel(x, r.top, c);
    canvas.SetPixel(x, r.bottom - 1, c);
  }
  for (int y = r.top; y < r.bottom; y += 2) {
    canvas.SetPixel(r.left, y, c);
    canvas.SetPixel(r.right - 1, y, c);
  }
}

void PaintContainer(ICanvas& canvas, const Component& c, const Rect& bounds) {
  Rect r = bounds;
  const Color back = ComponentColor(c, kBtnFace);
  canvas.FillRect(r, back);
  const FontSpec font = FormFontOf(c);
  switch (c.kind) {
    case ComponentKind::GroupBox: {
      canvas.SetFont(font);
      const int textHeight = canvas.TextExtent("Wg").cy;
      // An etched frame: sunken outside, raised inside.
      Rect frame{r.left, r.top + textHeight / 2, r.right, r.bottom};
      Frame3D(canvas, frame, kBtnShadow, kBtnHighlight);
      Frame3D(canvas, frame, kBtnHighlight, kBtnShadow);
      if (!c.caption.empty()) {
        const std::string padded = " " + c.caption + " ";
        Rect text{r.left + 8, r.top, r.right - 8, r.top + textHeight};
        text.right = std::min(text.right, text.left + canvas.TextExtent(padded).cx);
        canvas.FillRect(text, back);
        CaptionText(canvas, font, padded, text, kDtLeft | kDtSingleLine | kDtVCenter, c.enabled);
      }
      break;
    }
    case ComponentKind::FlatPanel: {
      Component probe(ComponentKind::Other);
      probe.properties["Color"] = c.Property("ColorHighLight");
      const Color light = ComponentColor(probe, kBtnHighlight);
      probe.properties["Color"] = c.Property("ColorShadow");
      const Color dark = ComponentColor(probe, kBtnShadow);
      Frame3D(canvas, r, light, dark);
      break;
    }
    default: {
      // A panel: outer bevel, border, inner bevel, then its caption centred.
      const int width = std::max(1, IntProperty(c, "BevelWidth", 1));
      Bevel(canvas, r, c.Property("BevelOuter", "bvRaised"), width);
      r = Shrunk(r, std::max(0, IntProperty(c, "BorderWidth", 0)));
      Bevel(canvas, r, c.Property("BevelInner", "bvNone"), width);
      if (!c.caption.empty())
        CaptionText(canvas, font, c.caption, r, kDtCenter | kDtVCenter | kDtSingleLine, c.enabled);
      break;
    }
  }
}

void PaintPictureButton(ICanvas& canvas, const Component& c, const PaintState& state) {
  Rect r{0, 0, canvas.Width(), canvas.Height()};
  canvas.FillRect(r, kBtnFace);
  if (state.isDefault) {
    canvas.FrameRect(r, 0);
    r = Shrunk(r, 1);
  }
  if (state.pressed) {
    canvas.FrameRect(r, kBtnShadow);
  } else {
    // The raised push-button frame of two steps.
    Frame3D(canvas, r, kBtnHighlight, k3dDkShadow);
    Frame3D(canvas, r, k3dLight, kBtnShadow);
    r = Rect{r.left - 2, r.top - 2, r.right + 2, r.bottom + 2};
  }
  const FontSpec font = FormFontOf(c);
  canvas.SetFont(font);
  int glyphs = 1;
  const Picture* pic = ButtonPicture(c, state.pressed, &glyphs);
  const int cell = pic ? pic->rgb.width / glyphs : 0;
  const int gh = pic ? pic->rgb.height : 0;
  const int textWidth = c.caption.empty() ? 0 : canvas.TextExtent(c.caption).cx;
  // Picture and caption side by side, centred together, 4 pixels apart.
  const int spacing = cell > 0 && textWidth > 0 ? 4 : 0;
  const int total = cell + spacing + textWidth;
  const int shift = state.pressed ? 1 : 0;
  int x = r.left + (r.Width() - total) / 2 + shift;
  if (cell > 0) {
    // A disabled button shows the second glyph when there is one, else a greyed first one.
    const int index = !state.enabled && glyphs >= 2 ? 1 : 0;
    DrawGlyph(canvas, *pic, index, cell, x, r.top + (r.Height() - gh) / 2 + shift, !state.enabled && glyphs < 2);
    x += cell + spacing;
  }
  if (!c.caption.empty()) {
    Rect text{x, r.top + shift, x + textWidth + 1, r.bottom + shift};
    CaptionText(canvas, font, c.caption, text, kDtLeft | kDtSingleLine | kDtVCenter, state.enabled);
  }
  if (state.focused && state.showFocus) PaintFocusRect(canvas, Shrunk(r, 3));
}

}  // namespace tov
