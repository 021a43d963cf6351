// Skins: the pictures of the dialogs' buttons, loaded from the "pics" folder
// beside the executable and kept in a process-wide cache, and the small
// appearance helpers the windows share: lighter and darker colours, a flat
// panel's colours, and building and trimming menus.
#pragma once
#include <string>

#include "platform/Canvas.h"

namespace tov {

// Each of red, green and blue plus the amount, at most 255; the high byte is
// cleared. The value is taken as it is: a system colour is not resolved.
Color Lighter(Color color, int amount);
// The colour's RGB value (system colours resolved), each channel minus the
// amount, at least 0.
Color Darker(Color color, int amount);

}  // namespace tov
