#include "platform/DpiCanvas.h"

#include <cstdint>

namespace tov {

Rect ScaleRect(Dpi dpi, const Rect& u) {
  return Rect{dpi.Scale(u.left), dpi.Scale(u.top), dpi.Scale(u.right), dpi.Scale(u.bottom)};
}

Rect UnscaleRect(Dpi dpi, const Rect& p) {
  return Rect{dpi.Unscale(p.left), dpi.Unscale(p.top), dpi.Unscale(p.right), dpi.Unscale(p.bottom)};
}

int UnscaleUp(Dpi dpi, int pixels) {
  // From below (the quotient rounded down), up to the first that holds them.
  const int64_t scaled = int64_t(pixels) * Dpi::kBase;
  int units = int(scaled / dpi.Value() - (scaled % dpi.Value() < 0 ? 1 : 0));
  while (dpi.Scale(units) < pixels)
    ++units;
  return units;
}

FontSpec ScaleFont(Dpi dpi, FontSpec font) {
  font.dpi = dpi.From(font.dpi > 0 ? font.dpi : Dpi::kBase, Dpi());
  return font;
}

int DpiCanvas::Width() { return dpi_.Unscale(target_.Width()); }
int DpiCanvas::Height() { return dpi_.Unscale(target_.Height()); }

Color DpiCanvas::GetPixel(int x, int y) { return target_.GetPixel(dpi_.Scale(x), dpi_.Scale(y)); }

// A unit's pixel is every pixel it covers: a dotted line stays dotted.
void DpiCanvas::SetPixel(int x, int y, Color c) {
  if (dpi_.IsBase()) return target_.SetPixel(x, y, c);
  const Rect cell = ScaleRect(dpi_, Rect{x, y, x + 1, y + 1});
  for (int py = cell.top; py < cell.bottom; ++py)
    for (int px = cell.left; px < cell.right; ++px)
      target_.SetPixel(px, py, c);
}

void DpiCanvas::FillRect(const Rect& r, Color c) { target_.FillRect(ScaleRect(dpi_, r), c); }
void DpiCanvas::FrameRect(const Rect& r, Color c) { target_.FrameRect(ScaleRect(dpi_, r), c); }

void DpiCanvas::Line(Point from, Point to, Color c) {
  target_.Line(Point{dpi_.Scale(from.x), dpi_.Scale(from.y)}, Point{dpi_.Scale(to.x), dpi_.Scale(to.y)}, c);
}

void DpiCanvas::RoundRect(const Rect& r, int ellipseW, int ellipseH, Color c) {
  target_.RoundRect(ScaleRect(dpi_, r), dpi_.Scale(ellipseW), dpi_.Scale(ellipseH), c);
}

void DpiCanvas::SetFont(const FontSpec& font) { target_.SetFont(ScaleFont(dpi_, font)); }

Size DpiCanvas::TextExtent(const std::string& text) {
  const Size s = target_.TextExtent(text);
  return Size{UnscaleUp(dpi_, s.cx), UnscaleUp(dpi_, s.cy)};
}

void DpiCanvas::TextAt(int x, int y, const std::string& text) { target_.TextAt(dpi_.Scale(x), dpi_.Scale(y), text); }

int DpiCanvas::DrawTextIn(const std::string& text, Rect& r, uint32_t format) {
  Rect px = ScaleRect(dpi_, r);
  const int height = target_.DrawTextIn(text, px, format);
  if (format & kDtCalcRect) {
    // The extent in units that holds the pixels' extent.
    r.right = r.left + UnscaleUp(dpi_, px.right - dpi_.Scale(r.left));
    r.bottom = r.top + UnscaleUp(dpi_, px.bottom - dpi_.Scale(r.top));
  }
  return UnscaleUp(dpi_, height);
}

void DpiCanvas::DrawImage(uintptr_t imageList, int index, int x, int y, bool enabled, Color background) {
  target_.DrawImage(imageList, index, dpi_.Scale(x), dpi_.Scale(y), enabled, background);
}

void DpiCanvas::DrawBitmap(const Bitmap& bmp, int x, int y, Color transparent) {
  target_.DrawBitmap(bmp, dpi_.Scale(x), dpi_.Scale(y), transparent);
}

void DpiCanvas::CopyFrom(ICanvas& source, const Rect& sourceRect, Point to, Color transparent) {
  // A canvas of units copies its pixels; any other is pixels already.
  if (auto* units = dynamic_cast<DpiCanvas*>(&source))
    return target_.CopyFrom(units->Target(), ScaleRect(units->Scale(), sourceRect),
                            Point{dpi_.Scale(to.x), dpi_.Scale(to.y)}, transparent);
  target_.CopyFrom(source, sourceRect, Point{dpi_.Scale(to.x), dpi_.Scale(to.y)}, transparent);
}

Bitmap DpiCanvas::ToBitmap() { return target_.ToBitmap(); }

}  // namespace tov
