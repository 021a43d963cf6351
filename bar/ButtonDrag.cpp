#include "bar/ButtonDrag.h"

#include <cstdlib>
#include <limits>

#include "controls/Colors.h"
#include "platform/Platform.h"

namespace tov {

namespace {

// Along the line (main) and across it (cross), by the bar's direction.
int MainLow(const Rect& r, bool vertical) { return vertical ? r.top : r.left; }
int MainHigh(const Rect& r, bool vertical) { return vertical ? r.bottom : r.right; }
int CrossLow(const Rect& r, bool vertical) { return vertical ? r.left : r.top; }
int CrossHigh(const Rect& r, bool vertical) { return vertical ? r.right : r.bottom; }

// How far c lies outside [low, high): 0 inside it.
int64_t Outside(int c, int low, int high) {
  if (c < low) return int64_t(low) - c;
  if (c >= high) return int64_t(c) - high + 1;
  return 0;
}

// A mark two pixels thick across the line at main coordinate at.
Rect MarkAt(int at, int crossLow, int crossHigh, bool vertical) {
  return vertical ? Rect{crossLow, at - 1, crossHigh, at + 1} : Rect{at - 1, crossLow, at + 1, crossHigh};
}

}  // namespace

std::optional<TDropPlace> DropPlaceAt(const std::vector<Rect>& positions, Point p, bool vertical) {
  if (positions.empty()) return std::nullopt;
  const int main = vertical ? p.y : p.x;
  const int cross = vertical ? p.x : p.y;
  // The line p lies across, else the nearest: the positions whose band
  // across the line holds that position's cross coordinate.
  int64_t best = std::numeric_limits<int64_t>::max();
  size_t nearest = 0;
  for (size_t i = 0; i < positions.size(); ++i) {
    const int64_t d = Outside(cross, CrossLow(positions[i], vertical), CrossHigh(positions[i], vertical));
    if (d < best) {
      best = d;
      nearest = i;
    }
  }
  const int bandLow = CrossLow(positions[nearest], vertical), bandHigh = CrossHigh(positions[nearest], vertical);
  const int at = best == 0 ? cross : (cross < bandLow ? bandLow : bandHigh - 1);
  std::vector<size_t> line;
  for (size_t i = 0; i < positions.size(); ++i)
    if (Outside(at, CrossLow(positions[i], vertical), CrossHigh(positions[i], vertical)) == 0) line.push_back(i);
  for (size_t i : line) {
    const Rect& r = positions[i];
    const int middle = MainLow(r, vertical) + (MainHigh(r, vertical) - MainLow(r, vertical)) / 2;
    if (main < middle)
      return TDropPlace{i, MarkAt(MainLow(r, vertical), CrossLow(r, vertical), CrossHigh(r, vertical), vertical)};
  }
  const Rect& last = positions[line.back()];
  return TDropPlace{line.back() + 1,
                    MarkAt(MainHigh(last, vertical), CrossLow(last, vertical), CrossHigh(last, vertical), vertical)};
}

TDragTarget DragTargetAt(const std::vector<Rect>& positions, const std::vector<std::string>& folders, int from, Point p,
                         bool vertical) {
  TDragTarget out;
  for (size_t i = 0; i < positions.size() && i < folders.size(); ++i) {
    if (folders[i].empty() || int(i) == from) continue;
    const Rect& r = positions[i];
    const int main = vertical ? p.y : p.x, cross = vertical ? p.x : p.y;
    if (Outside(cross, CrossLow(r, vertical), CrossHigh(r, vertical)) != 0) continue;
    const int low = MainLow(r, vertical), high = MainHigh(r, vertical), edge = (high - low) / 4;
    if (main >= low + edge && main < high - edge) {
      out.onto = i;
      return out;
    }
  }
  out.place = DropPlaceAt(positions, p, vertical);
  return out;
}

int DroppedOrder(int from, size_t slot) {
  if (from < 0) return -1;
  // Dropped before itself or before the one after it: no move.
  if (slot == size_t(from) || slot == size_t(from) + 1) return -1;
  return slot > size_t(from) ? int(slot) - 1 : int(slot);
}

void TButtonDrag::Press(int from, Point at) {
  from_ = from;
  down_ = at;
  dragging_ = false;
}

bool TButtonDrag::Move(Point at, Size threshold) {
  if (from_ < 0) return false;
  if (!dragging_)
    dragging_ = std::abs(at.x - down_.x) > threshold.cx / 2 || std::abs(at.y - down_.y) > threshold.cy / 2;
  return dragging_;
}

bool TButtonDrag::End() {
  const bool was = dragging_;
  from_ = -1;
  dragging_ = false;
  return was;
}

// ------------------------------------------------------------ the bar's drag

namespace {

enum : uintptr_t { kMkLeftButton = 1 };
constexpr Color kSelectionColor = 0x8000000D;  // the system's colour of selected items
enum : int { kVkEscape = 0x1B, kSmCxDrag = 68, kSmCyDrag = 69 };
// A point no button covers: the button pressed is let go there, unclicked.
constexpr Point kNowhere{-30000, -30000};

Point PointOf(intptr_t lParam) { return Point{int16_t(lParam & 0xFFFF), int16_t((uintptr_t(lParam) >> 16) & 0xFFFF)}; }

}  // namespace

bool TBarDrag::HandleMessage(const Message& m) {
  switch (m.msg) {
    case WM_LBUTTONDOWN: {
      const TLbSpeedButton* b = buttons_.ButtonAtPoint(PointOf(m.lParam));
      if (b && b->tag >= 0)
        drag_.Press(int(b->tag), PointOf(m.lParam));
      else
        drag_.End();
      return false;
    }
    case WM_MOUSEMOVE: {
      if (!drag_.Pressed()) return false;
      if ((m.wParam & kMkLeftButton) == 0) {
        // Released outside the window: nothing moves.
        const bool was = drag_.Dragging();
        Finish();
        return was;
      }
      // The system's threshold; Windows' own default where it gives none.
      Size threshold{System().GetSystemMetrics(kSmCxDrag), System().GetSystemMetrics(kSmCyDrag)};
      if (threshold.cx <= 0) threshold.cx = 4;
      if (threshold.cy <= 0) threshold.cy = 4;
      const bool started = !drag_.Dragging();
      if (!drag_.Move(PointOf(m.lParam), threshold)) return false;
      if (started) {
        buttons_.HostMouseUp(mbLeft, kNowhere, 0);
        folders_ = foldersOf_ ? foldersOf_() : std::vector<std::string>();
      }
      const TDragTarget target = TargetAt(PointOf(m.lParam));
      place_ = target.place;
      ontoRect_.reset();
      if (target.onto) ontoRect_ = hooks_.positions().at(*target.onto);
      hooks_.invalidate();
      return true;
    }
    case WM_LBUTTONUP: {
      if (!drag_.Dragging()) {
        drag_.End();
        return false;
      }
      const int from = drag_.From();
      // Where the button is let go, not where the last move was seen: the
      // system may tell the release without a move to its point first.
      const TDragTarget target = TargetAt(PointOf(m.lParam));
      const std::string folder = target.onto ? folders_.at(*target.onto) : std::string();
      Finish();
      if (!folder.empty()) {
        if (dropOnto_) dropOnto_(from, folder, PointOf(m.lParam));
        return true;
      }
      const int to = target.place ? DroppedOrder(from, target.place->slot) : -1;
      if (to >= 0) hooks_.move(from, to);
      return true;
    }
    case WM_KEYDOWN:
      if (m.wParam != kVkEscape || !drag_.Dragging()) return false;
      Finish();
      return true;
    default:
      return false;
  }
}

TDragTarget TBarDrag::TargetAt(Point p) const {
  return DragTargetAt(hooks_.positions(), folders_, drag_.From(), p, hooks_.vertical());
}

void TBarDrag::Finish() {
  const bool was = drag_.End();
  place_.reset();
  ontoRect_.reset();
  folders_.clear();
  if (was) hooks_.invalidate();
}

void TBarDrag::PaintMark(ICanvas& canvas) const {
  if (!drag_.Dragging()) return;
  if (ontoRect_) {
    // The folder target itself is marked, two pixels inside its edge.
    const Rect& r = *ontoRect_;
    canvas.FrameRect(r, ColorToRGB(kSelectionColor));
    canvas.FrameRect(Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, ColorToRGB(kSelectionColor));
  } else if (place_) {
    canvas.FillRect(place_->mark, ColorToRGB(clWindowText));
  }
}

}  // namespace tov
