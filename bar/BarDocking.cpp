// The bar's scale is the DPI of the monitor it is laid out for. It is taken
// from the monitor before the bar is laid out and placed there (at start, when
// another monitor is chosen, when the displays change, when the bar is
// docked or floated), and from WM_DPICHANGED when the system moves the bar to
// another scale (a floating bar dragged to another monitor, the user's scale
// changed).
#include "bar/BarDocking.h"

#include <exception>
#include <utility>

namespace tov {

TBarDocking::TBarDocking(TAppBar& appBar, TBarScreens& screens, TBarDockingHooks hooks)
    : appBar_(appBar), screens_(screens), hooks_(std::move(hooks)) {}

void TBarDocking::DockClick(TAppBarEdge edge) { appBar_.SetEdge(edge); }

void TBarDocking::StateChanged(bool proposed, TAppBarEdge edge) {
  if (proposed) return;
  if (!Ready() || edge == lastEdge_) return;
  AdoptMonitorDpi();
  hooks_.rebuild();
  lastEdge_ = edge;
  appBar_.UpdateBar();
}

void TBarDocking::ScreensChanged() {
  // A list the system could not give keeps the previous one.
  screens_.DisplaysChanged();
  if (hooks_.monitorsMenu) hooks_.monitorsMenu();
  AdoptMonitorDpi();
  // The layout follows the monitor's size (the dock sizes' limits).
  if (Ready()) hooks_.rebuild();
}

intptr_t TBarDocking::DpiChanged(uintptr_t wParam, intptr_t lParam) {
  // The new scale in the low word (the same across and down), the window's
  // place at that scale behind lParam.
  const int value = int(wParam & 0xFFFF);
  if (!Dpi::Valid(value)) return 0;
  const Dpi dpi(value);
  // The monitors' scales as they are now (the user may have changed one).
  screens_.RefreshList();
  // A bar laid out for that scale before it was placed (docking itself on a
  // monitor, its first placement) has nothing to do.
  if (dpi == appBar_.BarDpi()) return 0;
  appBar_.SetBarDpi(dpi);
  if (!Ready()) return 0;
  if (appBar_.GetEdge() == abeFloat) {
    // A floating bar takes the place the system suggests at the new scale.
    if (const Rect* suggested = reinterpret_cast<const Rect*>(lParam); suggested && !suggested->IsEmpty()) {
      TAppBarSettings& s = appBar_.Settings();
      s.FloatLeft = suggested->left;
      s.FloatTop = suggested->top;
      s.FloatRight = suggested->right;
      s.FloatBottom = suggested->bottom;
      appBar_.SetBounds(suggested->left, suggested->top, suggested->Width(), suggested->Height());
    }
    // Laid out at the new scale, then placed where its settings say: the
    // suggested place.
    hooks_.rebuild();
    appBar_.UpdateBar();
  } else {
    // A docked bar takes its new thickness and docks again with it.
    hooks_.rebuild();
    appBar_.UpdateBar();
  }
  return 0;
}

void TBarDocking::SessionEnding() {
  // A file is replaced whole or not at all; a save that fails now is not
  // the end's concern.
  if (hooks_.writePending) {
    try {
      hooks_.writePending();
    } catch (const std::exception&) {
    }
  }
  if (onSessionEnded_) onSessionEnded_();
}

}  // namespace tov
