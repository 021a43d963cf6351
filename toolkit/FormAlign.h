// Aligned controls: a component whose "Align" is alTop, alBottom, alLeft,
// alRight or alClient sticks to that side of its parent's client area and
// stretches along it, as in the form designer. The sides are taken in that
// order; among controls of one side, the one nearer that side (by its current
// position; the earlier child on a tie) comes first. Hidden controls take no
// room.
#pragma once
#include <vector>

#include "platform/Geometry.h"

namespace tov {

class Component;

// The area of a container its children are laid out in, in its own client
// coordinates: its size less the border ("BorderWidth") and the bevels of a
// panel.
Rect ClientAreaOf(const Component& c);

// Lays out the aligned children of c, then of every component under it.
// Answers whether any bounds changed; the components whose size changed are
// added to resized.
bool AlignControls(Component& c, std::vector<Component*>* resized = nullptr);

// A splitter dragged by delta pixels (across it): the aligned neighbour on
// its near side (the control just before it on the side it is aligned to)
// grows or shrinks by delta, keeping at least "MinSize" pixels (30 when
// unset) and leaving the parent's alClient control as much; then the parent
// is laid out again. Answers whether anything moved.
bool DragSplitter(Component& splitter, int delta, std::vector<Component*>* resized = nullptr);

}  // namespace tov
