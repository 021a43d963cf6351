// Helpers over a form's controls.
#pragma once
#include <vector>

#include "forms/Component.h"

namespace tov {

// Frees the container's child controls from the last to the first; a child
// that holds controls loses its own children first. With destroySelf the
// container goes too (a container without a parent belongs to its caller and
// is only emptied). Components that are not controls (menus, timers) stay
// unless their parent goes.
void DestroyChildControls(Component& container, bool destroySelf);

// Appends every control inside the container to list, from the last child to
// the first, each after its own descendants.
void CollectChildControls(Component& container, std::vector<Component*>& list);

}  // namespace tov
