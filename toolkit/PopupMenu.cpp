#include "toolkit/PopupMenu.h"

#include <memory>
#include <vector>

#include "platform/MenuIcons.h"

namespace tov {

namespace {

std::vector<MenuEntry> Entries(Component& parent, std::vector<Component*>& byId, const MenuItemDrawing* drawing,
                               size_t from = 0) {
  std::vector<MenuEntry> out;
  for (size_t i = from; i < parent.ChildCount(); ++i) {
    Component& c = parent.Child(i);
    if (c.kind != ComponentKind::MenuItem || !c.visible) continue;
    MenuEntry e;
    if (c.IsSeparator()) {
      e.separator = true;
      out.push_back(e);
      continue;
    }
    e.caption = c.caption;
    e.enabled = c.enabled;
    e.checked = c.checked;
    e.radio = c.Property("RadioItem") == "True";
    e.isDefault = c.Property("Default") == "True";
    e.imageIndex = c.imageIndex;
    e.shellPath = c.Property("ShellPath");
    if (drawing) {
      e.imageList = drawing->images;
      if (drawing->getImageIndex) drawing->getImageIndex(c, e.imageIndex);
      if (drawing->measureItem) drawing->measureItem(c, e.extraHeight);
    }
    if (c.Property("FileIcon") == "True") {
      e.imageList = kFileIcons;
      e.imageIndex = FileIconKind(c.Property("IconKind"));
    }
    if (c.ChildCount() > 0) {
      e.children = Entries(c, byId, drawing);
    } else if (!c.HandlerName("OnExpand").empty()) {
      // A sub-menu filled when it is first opened: "OnExpand" adds the
      // item's children, numbered after every entry made before.
      Component* item = &c;
      // A sub-menu made in steps: "OnExpandMore" adds the next batch of
      // children, which are answered from the first not answered yet.
      auto answered = std::make_shared<size_t>(0);
      e.expand = [item, &byId, drawing, answered] {
        item->Fire("OnExpand");
        *answered = item->ChildCount();
        return Entries(*item, byId, drawing);
      };
      // (An item binds "OnExpandMore" as it expands, when it has more.)
      e.more = [item, &byId, drawing, answered] {
        if (item->HandlerName("OnExpandMore").empty()) return std::vector<MenuEntry>();
        item->Fire("OnExpandMore");
        const size_t from = *answered;
        *answered = item->ChildCount();
        return Entries(*item, byId, drawing, from);
      };
    } else {
      byId.push_back(&c);
      e.id = int(byId.size());
    }
    out.push_back(std::move(e));
  }
  return out;
}

}  // namespace

Component* PopupComponentMenu(Component& menu, Point at, WindowId owner, const MenuItemDrawing* drawing) {
  menu.Fire("OnPopup");
  std::vector<Component*> byId;
  std::vector<MenuEntry> entries = Entries(menu, byId, drawing);
  if (entries.empty()) return nullptr;
  int chosen = Windows().TrackPopupMenu(entries, at, owner);
  if (chosen <= 0 || size_t(chosen) > byId.size()) return nullptr;
  Component* item = byId[size_t(chosen) - 1];
  item->Fire("OnClick");
  return item;
}

}  // namespace tov
