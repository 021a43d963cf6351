// Pop-up menus described as component trees: shown through the window
// system, the chosen item's "OnClick" fired.
#pragma once
#include "forms/Component.h"
#include "platform/Platform.h"

namespace tov {

// Fires the menu's "OnPopup", shows its visible items (sub-menus included)
// at a screen point and fires "OnClick" of the chosen item. Answers the
// chosen item, or null when the menu was dismissed.
Component* PopupComponentMenu(Component& menu, Point at, WindowId owner);

}  // namespace tov
