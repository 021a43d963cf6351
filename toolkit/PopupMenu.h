// Pop-up menus described as component trees: shown through the window
// system, the chosen item's "OnClick" fired.
#pragma once
#include <functional>

#include "forms/Component.h"
#include "platform/Platform.h"

namespace tov {

// What a menu that draws its own items asks of its owner: the image list its
// items take their pictures from, an item's image index (in/out, -1 for no
// picture) and its height (in/out, pixels added to the standard height).
struct MenuItemDrawing {
  uintptr_t images = 0;
  std::function<void(Component& item, int& imageIndex)> getImageIndex;
  std::function<void(Component& item, int& height)> measureItem;
};

// An item whose "FileIcon" property is "True" shows the icon of its
// "ShellPath" at the menu's scale; the items of one "IconKind" (a kind of
// file) share one icon (platform/MenuIcons.h).
//
// Fires the menu's "OnPopup", shows its visible items (sub-menus included)
// at a screen point and fires "OnClick" of the chosen item. Answers the
// chosen item, or null when the menu was dismissed.
Component* PopupComponentMenu(Component& menu, Point at, WindowId owner, const MenuItemDrawing* drawing = nullptr);

}  // namespace tov
