#include "toolkit/FormHelpers.h"

namespace tov {

void DestroyChildControls(Component& container, bool destroySelf) {
  for (size_t i = container.ChildCount(); i-- > 0;) {
    if (i >= container.ChildCount()) continue;
    Component& child = container.Child(i);
    if (!child.IsControl()) continue;
    if (child.IsContainer())
      DestroyChildControls(child, true);
    else
      container.Remove(child);
  }
  if (destroySelf && container.Parent()) container.Parent()->Remove(container);
}

void CollectChildControls(Component& container, std::vector<Component*>& list) {
  for (size_t i = container.ChildCount(); i-- > 0;) {
    Component& child = container.Child(i);
    if (!child.IsControl()) continue;
    if (child.IsContainer()) CollectChildControls(child, list);
    list.push_back(&child);
  }
}

}  // namespace tov
