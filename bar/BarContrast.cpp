// The bar in the system's high-contrast mode: its background and every
// button in the system's colours (controls/HighContrast), the button with
// the keyboard focus in the selection's colours, followed as the user turns
// the mode on or off.
#include "bar/BarWindow.h"
#include "controls/HighContrast.h"
#include "platform/Platform.h"

namespace tov {

void TBarWindow::FollowSystemColours() {
  highContrast_ = System().HighContrast();
  // The system's colours themselves may have changed: painted again either way.
  if (HandleAllocated()) Invalidate();
}

void TBarWindow::MarkButtonsForContrast() {
  const int focus = keyboard_.Active() ? keyboard_.Focus() : -1;
  for (size_t i = 0; i < ButtonCount(); ++i)
    Button(i).SetHighContrast(highContrast_, int(i) == focus);
}

}  // namespace tov
