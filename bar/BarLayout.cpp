// The bar's layout: buttons and separators in rows for a horizontal bar or
// one under the other for a vertical one, the dock sizes that follow from
// them, the grip line, the background and the etched separator lines. Every
// size kept in the files is in 96-DPI units; the layout turns each into
// pixels at the bar's scale (BarDpi) once and then adds pixels only, so a
// rounding never opens a gap or an overlap between two buttons.
#include <algorithm>

#include "bar/BarWindow.h"
#include "controls/Appearance.h"
#include "controls/ButtonTable.h"
#include "controls/Colors.h"
#include "controls/HighContrast.h"
#include "docking/MonitorList.h"
#include "tables/DataModule.h"
#include "text/Texts.h"

namespace tov {

Size TBarWindow::BarMargins() const {
  const TBarSettings& s = settings_;
  const Dpi dpi = BarDpi();
  if (s.CustomMargins) return Size{dpi.Scale(s.MarginWidth), dpi.Scale(s.MarginHeight)};
  const int m = dpi.Scale(s.Borderless ? 2 : 1);
  return Size{m, m};
}

Size TBarWindow::FrameSize() const {
  const TBarSettings& s = settings_;
  if (s.Borderless) return Size{0, 0};
  const int dpi = BarDpi().Value();
  if (s.FixedBorder)
    return Size{System().GetSystemMetricsForDpi(SM_CXDLGFRAME, dpi),
                System().GetSystemMetricsForDpi(SM_CYDLGFRAME, dpi)};
  return Size{System().GetSystemMetricsForDpi(SM_CXFRAME, dpi), System().GetSystemMetricsForDpi(SM_CYFRAME, dpi)};
}

void TBarWindow::ComputeDockSizes(Size button, int rows) {
  const Size f = FrameSize(), m = BarMargins();
  TAppBarSettings& s = Settings();
  s.HorzDockSize = s.MinHorzDockSize = 2 * f.cx + button.cx + 2 * m.cx;
  s.VertDockSize = s.MinVertDockSize = rows * (2 * m.cy + button.cy) + 2 * f.cy;
  if (const TMonitorInfo* mon = screens_.Current()) {
    s.MaxHorzDockSize = mon->MonitorRect.Width();
    s.MaxVertDockSize = mon->MonitorRect.Height();
  }
  const TAppBarEdge e = GetEdge();
  if (e == abeFloat) {
    const int w = BarDpi().Scale(320), h = BarDpi().Scale(240);
    if (s.FloatRight - s.FloatLeft < w / 4 || s.FloatBottom - s.FloatTop < h / 4) {
      s.FloatLeft = Left();
      s.FloatTop = Top();
      s.FloatRight = s.FloatLeft + w;
      s.FloatBottom = s.FloatTop + h;
    }
    SetBounds(Left(), Top(), w, h);
  } else if (e == abeTop || e == abeBottom) {
    SetBounds(Left(), Top(), Width(), s.VertDockSize);
  } else {
    SetBounds(Left(), Top(), s.HorzDockSize, Height());
  }
}

// The etched lines are two pixels thick at every scale (a dark and a light
// one); the room around them grows with the scale.
void TBarWindow::AddBevelRect() {
  const Size m = BarMargins();
  const Dpi dpi = BarDpi();
  const TAppBarEdge e = GetEdge();
  if (e == abeLeft || e == abeRight || e == abeFloat)
    separatorRects_.push_back(Rect{m.cx + dpi.Scale(2), dpi.Scale(4), 0, 0});
  else
    separatorRects_.push_back(Rect{dpi.Scale(4), m.cy + dpi.Scale(2), 0, 0});
}

void TBarWindow::StretchSeparators(int widest, int tallest) {
  const Size m = BarMargins();
  const int inset = BarDpi().Scale(2);
  const TAppBarEdge e = GetEdge();
  for (Rect& r : separatorRects_) {
    if (e == abeLeft || e == abeRight || e == abeFloat) {
      r.left = m.cx + inset;
      r.right = r.left + widest - 2 * inset;
      r.bottom = r.top + 2;
    } else {
      r.top = m.cy + inset;
      r.right = r.left + 2;
      r.bottom = r.top + tallest - 2 * inset;
    }
  }
  UpdatePaintHandler();
}

void TBarWindow::UpdatePaintHandler() { paintHandler_ = !brushBitmap_.Empty() || !separatorRects_.empty(); }

void TBarWindow::DropBackgroundBitmap() { brushBitmap_ = Bitmap(); }

void TBarWindow::SetBackgroundColor(int32_t color) {
  color_ = Color(color);
  Invalidate();
}

void TBarWindow::Paint(ICanvas& canvas) {
  canvas.FillRect(Rect{0, 0, canvas.Width(), canvas.Height()},
                  ColorToRGB(highContrast_ ? kHighContrastBarFace : color_));
  MarkButtonsForContrast();
  TAppBar::Paint(canvas);  // the paint handler (and the glass that hooks it)
  PaintButtons(canvas, Rect{0, 0, canvas.Width(), canvas.Height()});
  PaintRunningMarks(canvas);
  drag_.PaintMark(canvas);
  PaintFocusMark(canvas);
  if (ButtonCount() == 0) PaintEmptyHint(canvas);
}

void TBarWindow::PaintEmptyHint(ICanvas& canvas) {
  // Until the bar has a button, it says how to get one.
  const std::string hint =
      LangText("Messages.EmptyBar", "Trascina qui file o programmi, o clic destro per scegliere una cartella");
  FontSpec font;
  font.color = ColorToRGB(clBtnText);
  font.dpi = BarDpi().Value();
  canvas.SetFont(font);
  const int dx = BarDpi().Scale(6), dy = BarDpi().Scale(2);
  Rect r{dx, dy, canvas.Width() - dx, canvas.Height() - dy};
  if (r.Width() <= 0 || r.Height() <= 0) return;
  const bool across = canvas.Width() >= canvas.Height();
  canvas.DrawTextIn(hint, r, kDtNoPrefix | (across ? kDtSingleLine | kDtVCenter : kDtWordBreak));
}

void TBarWindow::FormPaint(ICanvas& canvas) {
  if (!paintHandler_) return;
  if (!brushBitmap_.Empty() && !highContrast_) {
    // The brush repeats the bitmap as a pattern over the client area.
    for (int y = 0; y < canvas.Height(); y += brushBitmap_.height)
      for (int x = 0; x < canvas.Width(); x += brushBitmap_.width)
        canvas.DrawBitmap(brushBitmap_, x, y);
  }
  for (const Rect& r : separatorRects_)
    PaintSeparator(canvas, r);
}

void TBarWindow::PaintSeparator(ICanvas& canvas, const Rect& r) {
  if (r.Width() == 2) {
    for (int y = r.top; y < r.bottom; ++y) {
      canvas.SetPixel(r.left, y, Darker(canvas.GetPixel(r.left, y), 50));
      canvas.SetPixel(r.left + 1, y, Lighter(canvas.GetPixel(r.left + 1, y), 50));
    }
    canvas.SetPixel(r.left, r.bottom - 1, canvas.GetPixel(r.left + 1, r.bottom - 1));
  } else if (r.Height() == 2) {
    for (int x = r.left; x < r.right; ++x) {
      canvas.SetPixel(x, r.top, Darker(canvas.GetPixel(x, r.top), 50));
      canvas.SetPixel(x, r.top + 1, Lighter(canvas.GetPixel(x, r.top + 1), 50));
    }
    canvas.SetPixel(r.right - 1, r.top, canvas.GetPixel(r.right - 1, r.top + 1));
  }
}

}  // namespace tov

namespace tov {

void TBarWindow::ClearBar() {
  icons_.Clear();
  ClearButtons();
  separatorRects_.clear();
}

void TBarWindow::ApplyBackground() {
  const TBarSettings& s = settings_;
  if (!s.DrawBackground || s.GlassPanel) return;
  color_ = Color(s.BackgroundColor);
  brushBitmap_ = Bitmap();
  if (Files().FileExists(s.BackgroundImage)) {
    // The brush's pattern: a Windows bitmap file. One that cannot be read
    // leaves a plain coloured background.
    std::string bytes, error;
    Picture picture;
    IImageCodec* codec = Canvases().ImageCodec();
    if (codec && Files().ReadFile(s.BackgroundImage, &bytes) && codec->Decode(bytes, &picture, &error))
      brushBitmap_ = std::move(picture.rgb);
  }
}

void TBarWindow::RebuildBar() {
  struct Rebuilding {
    int& depth;
    ~Rebuilding() { --depth; }
  } rebuilding{++rebuilding_};
  ClearBar();
  laidOutSinceRead_ = true;
  TRecordTable& links = data_.TblLinks;
  const Size m = BarMargins();
  const Dpi dpi = BarDpi();
  const TAppBarEdge edge = GetEdge();
  const bool vertical = edge == abeLeft || edge == abeRight;
  const bool grip = settings_.ShowBevel && edge != abeFloat;
  const int gx = grip ? 2 * m.cx + dpi.Scale(6) : 0, gy = grip ? 2 * m.cy + dpi.Scale(6) : 0;
  // A separator's room across the bar, and the space on each side of it.
  const int sepRoom = dpi.Scale(2), sepSpace = dpi.Scale(3);
  int x = vertical ? m.cx : gx, y = vertical ? gy : m.cy;
  if (grip) AddBevelRect();
  int widest = 0, tallest = 0, rowTallest = 0, rows = 1, i = 0;
  ApplyBackground();
  const int clientWidth = ClientSize().cx;
  std::vector<TBookmark> order;
  for (links.First(); !links.Eof(); links.Next())
    order.push_back(links.GetBookmark());
  for (TBookmark b : order) {
    if (!links.GotoBookmark(b)) continue;
    links.Edit();
    links.FieldByName("Ordine").SetAsInteger(i);
    links.Post();
    int dx = 0, dy = 0;
    auto wrap = [&](int w) {
      if (i > 0 && (clientWidth < x + w || vertical)) {
        y += rowTallest + 2 * m.cy + 2 * dy;
        x = vertical ? m.cx : gx;
        ++rows;
        rowTallest = 0;
      }
    };
    if (IsButtonRow(links)) {
      TLbSpeedButton& button = AddBarButton(links, i, dpi);
      const int w = button.Width(), h = button.Height();
      wrap(w);
      widest = std::max(widest, w);
      tallest = std::max(tallest, h);
      rowTallest = std::max(rowTallest, h);
      button.SetBounds(x + dx, y - dy, w, h);
      x += w + 2 * m.cx + 2 * dx;
    } else {
      if (vertical)
        dy = sepSpace;
      else
        dx = sepSpace;
      wrap(sepRoom);
      separatorRects_.push_back(Rect{x + dx, y - dy, x + dx + 2, y - dy + 2});
      x += sepRoom + 2 * m.cx + 2 * dx;
    }
    ++i;
  }
  if (widest == 0) widest = dpi.Scale(21);
  if (tallest == 0) tallest = dpi.Scale(21);
  ComputeDockSizes(Size{widest, tallest}, rows);
  StretchSeparators(widest, tallest);
  SaveButtonList(links, source_.Path(), data_.SaveFormat);
  Invalidate();
  icons_.LaidOut();
  BuildFolderMenus();
  UpdateKeyTargets();
  RegisterHotkeys();
  UpdateRunningTimer();
}

}  // namespace tov
