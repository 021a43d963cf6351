#include "toolkit/FormAlign.h"

#include <algorithm>
#include <vector>

#include "forms/Component.h"
#include "toolkit/FormControls.h"

namespace tov {

namespace {

enum class Side { None, Top, Bottom, Left, Right, Client };

Side SideOf(const Component& c) {
  const std::string a = c.Property("Align");
  if (a == "alTop") return Side::Top;
  if (a == "alBottom") return Side::Bottom;
  if (a == "alLeft") return Side::Left;
  if (a == "alRight") return Side::Right;
  if (a == "alClient") return Side::Client;
  return Side::None;
}

// How near the control stands to its side: smaller comes first.
int Nearness(const Component& c, Side side) {
  switch (side) {
    case Side::Top:
      return c.bounds.top;
    case Side::Bottom:
      return -c.bounds.bottom;
    case Side::Left:
      return c.bounds.left;
    case Side::Right:
      return -c.bounds.right;
    case Side::Client:
    case Side::None:
      break;
  }
  return 0;
}

// The aligned, visible children of c on one side, nearest first.
std::vector<Component*> OnSide(Component& c, Side side) {
  std::vector<Component*> list;
  for (size_t i = 0; i < c.ChildCount(); ++i)
    if (c.Child(i).visible && SideOf(c.Child(i)) == side) list.push_back(&c.Child(i));
  std::stable_sort(list.begin(), list.end(),
                   [side](const Component* a, const Component* b) { return Nearness(*a, side) < Nearness(*b, side); });
  return list;
}

bool Place(Component& c, const Rect& r, std::vector<Component*>* resized) {
  const Rect placed{r.left, r.top, std::max(r.left, r.right), std::max(r.top, r.bottom)};
  if (c.bounds == placed) return false;
  if (resized && (c.bounds.Width() != placed.Width() || c.bounds.Height() != placed.Height())) resized->push_back(&c);
  c.bounds = placed;
  return true;
}

bool AlignChildren(Component& c, std::vector<Component*>* resized) {
  Rect area = ClientAreaOf(c);
  bool moved = false;
  for (Component* child : OnSide(c, Side::Top)) {
    const int h = child->bounds.Height();
    moved |= Place(*child, Rect{area.left, area.top, area.right, area.top + h}, resized);
    area.top += h;
  }
  for (Component* child : OnSide(c, Side::Bottom)) {
    const int h = child->bounds.Height();
    moved |= Place(*child, Rect{area.left, area.bottom - h, area.right, area.bottom}, resized);
    area.bottom -= h;
  }
  for (Component* child : OnSide(c, Side::Left)) {
    const int w = child->bounds.Width();
    moved |= Place(*child, Rect{area.left, area.top, area.left + w, area.bottom}, resized);
    area.left += w;
  }
  for (Component* child : OnSide(c, Side::Right)) {
    const int w = child->bounds.Width();
    moved |= Place(*child, Rect{area.right - w, area.top, area.right, area.bottom}, resized);
    area.right -= w;
  }
  for (Component* child : OnSide(c, Side::Client))
    moved |= Place(*child, area, resized);
  return moved;
}

int BevelInset(const std::string& bevel, int width) { return bevel == "bvNone" ? 0 : width; }

}  // namespace

Rect ClientAreaOf(const Component& c) {
  Rect r{0, 0, c.bounds.Width(), c.bounds.Height()};
  int inset = 0;
  switch (c.kind) {
    case ComponentKind::Panel: {
      const int width = std::max(1, IntProperty(c, "BevelWidth", 1));
      inset = BevelInset(c.Property("BevelOuter", "bvRaised"), width) + std::max(0, IntProperty(c, "BorderWidth", 0)) +
              BevelInset(c.Property("BevelInner", "bvNone"), width);
      break;
    }
    case ComponentKind::FlatPanel:
      inset = 1;
      break;
    default:
      break;
  }
  return Rect{r.left + inset, r.top + inset, std::max(r.left + inset, r.right - inset),
              std::max(r.top + inset, r.bottom - inset)};
}

bool AlignControls(Component& c, std::vector<Component*>* resized) {
  bool moved = AlignChildren(c, resized);
  for (size_t i = 0; i < c.ChildCount(); ++i)
    moved |= AlignControls(c.Child(i), resized);
  return moved;
}

bool DragSplitter(Component& splitter, int delta, std::vector<Component*>* resized) {
  Component* parent = splitter.Parent();
  const Side side = SideOf(splitter);
  if (!parent || delta == 0 || side == Side::None || side == Side::Client) return false;
  // The neighbour: the nearest control of the same side that comes before the splitter.
  const std::vector<Component*> list = OnSide(*parent, side);
  const auto at = std::find(list.begin(), list.end(), &splitter);
  if (at == list.begin() || at == list.end()) return false;
  Component& near = **(at - 1);
  const bool across = side == Side::Left || side == Side::Right;
  const int size = across ? near.bounds.Width() : near.bounds.Height();
  // Dragging towards the side shrinks the neighbour.
  const int grow = side == Side::Left || side == Side::Top ? delta : -delta;
  const int minSize = std::max(0, IntProperty(splitter, "MinSize", 30));
  // What the client control keeps: its width now, less what the neighbour takes.
  int room = size + grow;
  for (Component* client : OnSide(*parent, Side::Client)) {
    const int clientSize = across ? client->bounds.Width() : client->bounds.Height();
    room = std::min(room, size + clientSize - minSize);
  }
  const int wanted = std::max(minSize, room);
  if (wanted == size) return false;
  if (across) {
    if (side == Side::Left)
      near.bounds.right = near.bounds.left + wanted;
    else
      near.bounds.left = near.bounds.right - wanted;
  } else {
    if (side == Side::Top)
      near.bounds.bottom = near.bounds.top + wanted;
    else
      near.bounds.top = near.bounds.bottom - wanted;
  }
  if (resized) resized->push_back(&near);
  AlignControls(*parent, resized);
  return true;
}

}  // namespace tov
