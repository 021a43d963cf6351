// The bar's scale: the DPI of the monitor it is laid out for, kept by the
// docking glue (BarDocking.h).
#include "bar/BarWindow.h"

namespace tov {

Dpi TBarWindow::MonitorLayoutDpi() const { return docking_.MonitorLayoutDpi(); }

void TBarWindow::AdoptMonitorDpi() { docking_.AdoptMonitorDpi(); }

}  // namespace tov
