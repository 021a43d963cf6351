// Helpers for the functions that build a form's components as designed.
#pragma once
#include "forms/Component.h"

namespace tov {

// Adds a component of that kind, name and caption at bounds (in the
// parent's client coordinates).
inline Component& AddDesigned(Component& parent, ComponentKind kind, const char* name, Rect bounds,
                              const char* caption = "") {
  Component& c = parent.Add(MakeComponent(kind, name, caption));
  c.bounds = bounds;
  return c;
}

}  // namespace tov
