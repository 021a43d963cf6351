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

// The same, aligned to a side of its parent ("alTop", "alClient" ...); a
// panel so placed has no bevel.
inline Component& AddAligned(Component& parent, ComponentKind kind, const char* name, Rect bounds, const char* align,
                             const char* caption = "") {
  Component& c = AddDesigned(parent, kind, name, bounds, caption);
  c.properties["Align"] = align;
  if (kind == ComponentKind::Panel) c.properties["BevelOuter"] = "bvNone";
  return c;
}

}  // namespace tov
