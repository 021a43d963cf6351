// The bar's positions as rectangles, in their order: the buttons by their
// bounds, the separators by the strip between their neighbours.
#include <algorithm>
#include <map>

#include "bar/BarWindow.h"

namespace tov {

std::vector<Rect> TBarWindow::PositionRects() {
  const TAppBarEdge edge = GetEdge();
  const bool vertical = edge == abeLeft || edge == abeRight;
  const bool grip = settings_.ShowBevel && edge != abeFloat;
  std::map<int, Rect> buttons;
  for (size_t i = 0; i < ButtonCount(); ++i)
    if (Button(i).tag >= 0) buttons[int(Button(i).tag)] = Button(i).BoundsRect();
  // The etched lines after the grip's, in order, fill the orders no button takes.
  const size_t first = grip && !separatorRects_.empty() ? 1 : 0;
  const size_t separators = separatorRects_.size() - first;
  const int count = int(buttons.size() + separators);
  std::vector<Rect> out;
  size_t next = first;
  const Size m = BarMargins();
  for (int order = 0; order < count; ++order) {
    if (auto b = buttons.find(order); b != buttons.end()) {
      out.push_back(b->second);
    } else if (next < separatorRects_.size()) {
      // The line and the gap on each side of it.
      Rect r = separatorRects_[next++];
      const int gap = 3 + m.cx;
      if (vertical) {
        r.top -= gap;
        r.bottom += gap;
      } else {
        r.left -= gap;
        r.right += gap;
      }
      out.push_back(r);
    }
  }
  return out;
}

}  // namespace tov
