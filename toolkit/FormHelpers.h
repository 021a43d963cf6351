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

class TSettingsStore;

// Points a position store (a FormPlacement component) at the settings store:
// it keeps the form's position in the store's INI file, in the section named
// after the form up to its first "_".
void BindFormPlacement(const TSettingsStore& settings, Component& placement, const Component& form);

// Writes the form's bounds ("Left", "Top", "Width", "Height") where the
// position store points; false when it points nowhere or the write fails.
bool SaveFormPlacement(const Component& placement, const Component& form);
// Gives the form the stored bounds; false (form unchanged) when none are
// stored or they are not usable.
bool RestoreFormPlacement(const Component& placement, Component& form);

}  // namespace tov
