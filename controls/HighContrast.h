// The look of the bar's painted controls while the system's high-contrast
// mode is on: the buttons leave their own colours, fonts' colours and styles for
// the system's colours, so a user who chose them for legibility reads the
// bar as the rest of the desktop. Which system colour paints what lives
// here; the bar asks the system whether the mode is on (and again when the
// system's colours or settings change).
#pragma once
#include <cstdint>

#include "controls/Colors.h"

namespace tov {

// Messages that tell a window of the system's colours and settings.
constexpr uint32_t kWmSysColorChange = 0x0015;
constexpr uintptr_t kSpiSetHighContrast = 0x0043;

enum class LookState { Normal, Hot, Down, Focused, Disabled };

struct SystemLook {
  Color face;    // the button's background
  Color text;    // its caption
  Color light;   // the raised edge
  Color shadow;  // the lowered edge
};

// The system colours (clBtnFace ...) a control in that state is painted with.
// The keyboard focus and the mouse show the selection's colours, as the
// system's own lists and menus do; a disabled control's caption is gray.
SystemLook HighContrastLook(LookState state);

// The bar's own background in high contrast.
constexpr Color kHighContrastBarFace = clBtnFace;

// The dialogs' controls in high contrast: a link takes the system's colour
// for links (COLOR_HOTLIGHT) instead of its own blue; a control's own
// background and text colours give way to the system's (kNoColor: the
// control's default).
struct ControlColours {
  Color text;
  Color background;
};
ControlColours HighContrastControl(bool link);

}  // namespace tov
