// The bar's scale: the DPI of the monitor it is laid out for. It is taken
// from the monitor before the bar is laid out and placed there (at start, when
// another monitor is chosen, when the displays change, when the bar is
// docked or floated), and from WM_DPICHANGED when the system moves the bar to
// another scale (a floating bar dragged to another monitor, the user's scale
// changed).
#include "bar/BarWindow.h"

namespace tov {

Dpi TBarWindow::MonitorLayoutDpi() const { return screens_.LayoutDpi(); }

void TBarWindow::AdoptMonitorDpi() { SetBarDpi(MonitorLayoutDpi()); }

intptr_t TBarWindow::OnDpiChanged(Message& m) {
  // The new scale in the low word (the same across and down), the window's
  // place at that scale behind lParam.
  const int value = int(m.wParam & 0xFFFF);
  if (!Dpi::Valid(value)) return 0;
  const Dpi dpi(value);
  // The monitors' scales as they are now (the user may have changed one).
  screens_.RefreshList();
  // A bar laid out for that scale before it was placed (docking itself on a
  // monitor, its first placement) has nothing to do.
  if (dpi == BarDpi()) return 0;
  SetBarDpi(dpi);
  if (!settingsReady_) return 0;
  if (GetEdge() == abeFloat) {
    // A floating bar takes the place the system suggests at the new scale.
    if (const Rect* suggested = reinterpret_cast<const Rect*>(m.lParam); suggested && !suggested->IsEmpty()) {
      TAppBarSettings& s = Settings();
      s.FloatLeft = suggested->left;
      s.FloatTop = suggested->top;
      s.FloatRight = suggested->right;
      s.FloatBottom = suggested->bottom;
      SetBounds(suggested->left, suggested->top, suggested->Width(), suggested->Height());
    }
    // Laid out at the new scale, then placed where its settings say: the
    // suggested place.
    RebuildBar();
    UpdateBar();
  } else {
    // A docked bar takes its new thickness and docks again with it.
    RebuildBar();
    UpdateBar();
  }
  return 0;
}

}  // namespace tov
