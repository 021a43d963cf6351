// The bar's layout: buttons and separators in rows for a horizontal bar or
// one under the other for a vertical one, the dock sizes that follow from
// them, the grip line, the background and the etched separator lines.
#include <algorithm>

#include "bar/BarWindow.h"
#include "controls/Appearance.h"
#include "controls/ButtonTable.h"
#include "controls/Colors.h"
#include "docking/MonitorList.h"
#include "tables/DataModule.h"
#include "text/Texts.h"

namespace tov {

Size TBarWindow::BarMargins() const {
  const TBarSettings& s = settings_;
  if (s.CustomMargins) return Size{s.MarginWidth, s.MarginHeight};
  return s.Borderless ? Size{2, 2} : Size{1, 1};
}

Size TBarWindow::FrameSize() const {
  const TBarSettings& s = settings_;
  if (s.Borderless) return Size{0, 0};
  if (s.FixedBorder) return Size{System().GetSystemMetrics(SM_CXDLGFRAME), System().GetSystemMetrics(SM_CYDLGFRAME)};
  return Size{System().GetSystemMetrics(SM_CXFRAME), System().GetSystemMetrics(SM_CYFRAME)};
}

void TBarWindow::ComputeDockSizes(Size button, int rows) {
  const Size f = FrameSize(), m = BarMargins();
  TAppBarSettings& s = Settings();
  s.HorzDockSize = s.MinHorzDockSize = 2 * f.cx + button.cx + 2 * m.cx;
  s.VertDockSize = s.MinVertDockSize = rows * (2 * m.cy + button.cy) + 2 * f.cy;
  if (const TMonitorInfo* mon = MonitorAt(ScreenIndex())) {
    s.MaxHorzDockSize = mon->MonitorRect.Width();
    s.MaxVertDockSize = mon->MonitorRect.Height();
  }
  const TAppBarEdge e = GetEdge();
  if (e == abeFloat) {
    if (s.FloatRight - s.FloatLeft < 320 / 4 || s.FloatBottom - s.FloatTop < 240 / 4) {
      s.FloatLeft = Left();
      s.FloatTop = Top();
      s.FloatRight = s.FloatLeft + 320;
      s.FloatBottom = s.FloatTop + 240;
    }
    SetBounds(Left(), Top(), 320, 240);
  } else if (e == abeTop || e == abeBottom) {
    SetBounds(Left(), Top(), Width(), s.VertDockSize);
  } else {
    SetBounds(Left(), Top(), s.HorzDockSize, Height());
  }
}

void TBarWindow::AddBevelRect() {
  const Size m = BarMargins();
  const TAppBarEdge e = GetEdge();
  if (e == abeLeft || e == abeRight || e == abeFloat)
    separatorRects_.push_back(Rect{m.cx + 2, 4, 0, 0});
  else
    separatorRects_.push_back(Rect{4, m.cy + 2, 0, 0});
}

void TBarWindow::StretchSeparators(int widest, int tallest) {
  const Size m = BarMargins();
  const TAppBarEdge e = GetEdge();
  for (Rect& r : separatorRects_) {
    if (e == abeLeft || e == abeRight || e == abeFloat) {
      r.left = m.cx + 2;
      r.right = r.left + widest - 4;
      r.bottom = r.top + 2;
    } else {
      r.top = m.cy + 2;
      r.right = r.left + 2;
      r.bottom = r.top + tallest - 4;
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
  canvas.FillRect(Rect{0, 0, canvas.Width(), canvas.Height()}, ColorToRGB(color_));
  TAppBar::Paint(canvas);  // the paint handler (and the glass that hooks it)
  PaintButtons(canvas, Rect{0, 0, canvas.Width(), canvas.Height()});
  PaintFocusMark(canvas);
  if (ButtonCount() == 0) PaintEmptyHint(canvas);
}

void TBarWindow::PaintEmptyHint(ICanvas& canvas) {
  // Until the bar has a button, it says how to get one.
  const std::string hint =
      LangText("Messages.EmptyBar", "Trascina qui file o programmi, o clic destro per scegliere una cartella");
  FontSpec font;
  font.color = ColorToRGB(clBtnText);
  canvas.SetFont(font);
  Rect r{6, 2, canvas.Width() - 6, canvas.Height() - 2};
  if (r.Width() <= 0 || r.Height() <= 0) return;
  const bool across = canvas.Width() >= canvas.Height();
  canvas.DrawTextIn(hint, r, kDtNoPrefix | (across ? kDtSingleLine | kDtVCenter : kDtWordBreak));
}

void TBarWindow::FormPaint(ICanvas& canvas) {
  if (!paintHandler_) return;
  if (!brushBitmap_.Empty()) {
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
  TRecordTable& links = data_.TblLinks;
  const Size m = BarMargins();
  const TAppBarEdge edge = GetEdge();
  const bool vertical = edge == abeLeft || edge == abeRight;
  const bool grip = settings_.ShowBevel && edge != abeFloat;
  const int gx = grip ? 2 * m.cx + 6 : 0, gy = grip ? 2 * m.cy + 6 : 0;
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
      TLbSpeedButton& button = AddBarButton(links, i);
      const int w = button.Width(), h = button.Height();
      wrap(w);
      widest = std::max(widest, w);
      tallest = std::max(tallest, h);
      rowTallest = std::max(rowTallest, h);
      button.SetBounds(x + dx, y - dy, w, h);
      x += w + 2 * m.cx + 2 * dx;
    } else {
      if (vertical)
        dy = 3;
      else
        dx = 3;
      wrap(2);
      separatorRects_.push_back(Rect{x + dx, y - dy, x + dx + 2, y - dy + 2});
      x += 2 + 2 * m.cx + 2 * dx;
    }
    ++i;
  }
  if (widest == 0) widest = 21;
  if (tallest == 0) tallest = 21;
  ComputeDockSizes(Size{widest, tallest}, rows);
  StretchSeparators(widest, tallest);
  SaveButtonList(links, source_.Path());
  Invalidate();
  BuildFolderMenus();
  UpdateKeyTargets();
  RegisterHotkeys();
}

}  // namespace tov
