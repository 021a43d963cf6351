// A window described as data: a tree of named components. Each component
// holds the state its control shows (caption, hint, lines, items, columns,
// checks, geometry ...) and binds its events to handler names. The Win32 layer
// realises the tree as real controls and menus; the host keeps it as a model
// that tests drive.
//
// Two relations hold the tree together, as in a form designer:
// - the parent holds its children (and frees them, last to first);
// - the owner is the component that a child belongs to by name, normally the
//   form; owned components are listed in the order they were added. Language
//   files translate the components a form owns.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/ComponentKind.h"
#include "platform/Canvas.h"
#include "platform/Geometry.h"

namespace tov {

class Component;

using EventFn = std::function<void(Component& sender)>;

struct ListColumn {
  std::string caption;
  int width = 64;
};

// Told about changes of a tree; installed on its root (the realised window).
class ComponentListener {
 public:
  virtual ~ComponentListener() = default;
  virtual void Added(Component& c) = 0;
  virtual void Removing(Component& c) = 0;  // still in the tree, about to go with all below it
  virtual void Changed(Component& c) = 0;   // its properties changed
};

class Component {
 public:
  explicit Component(ComponentKind kind, std::string name = {});
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  ComponentKind kind;
  std::string name;
  Rect bounds;          // in the parent's client coordinates
  std::string caption;  // a control's text; an edit's text
  std::string hint;
  std::vector<std::string> lines;
  std::vector<std::string> items;
  int itemIndex = -1;  // selected item, -1 for none
  std::vector<ListColumn> columns;
  std::vector<std::vector<std::string>> rows;  // list views: caption, then sub-items
  std::vector<int> rowImages;                  // list views: each row's small system image, -1 for none
  // List views: the file or folder whose icon each row shows, taken at the
  // list's own size; empty for a row that shows its rowImages picture.
  std::vector<std::string> rowIconPaths;
  std::vector<int> selected;  // list views: the selected rows, ascending
  bool checked = false;
  bool enabled = true;
  bool visible = true;
  intptr_t tag = 0;
  int imageIndex = -1;
  // A control that paints itself (a logo, scrolling text, a hint box): on a
  // dialog it is drawn by this, on a canvas of its size.
  std::function<void(ICanvas& canvas, const Component& self)> painter;
  // Further properties by name ("Font.Name", "Color", "Default" ...).
  std::map<std::string, std::string> properties;

  const char* ClassName() const { return KindInfo(kind).className; }
  // The class is className or derives from it.
  bool IsKind(const std::string& className) const;
  bool IsControl() const { return KindInfo(kind).control; }
  bool IsContainer() const { return KindInfo(kind).container; }
  bool IsSeparator() const { return kind == ComponentKind::MenuItem && caption == "-"; }
  std::string Property(const std::string& key, const std::string& def = {}) const;

  // --- The tree.
  Component* Parent() const { return parent_; }
  Component* Owner() const { return owner_; }
  size_t ChildCount() const { return children_.size(); }
  Component& Child(size_t i) const { return *children_.at(i); }
  int IndexInParent() const;
  // The components this one owns, in the order they were added.
  const std::vector<Component*>& Owned() const { return owned_; }
  // The nearest form among this component and its parents, or null.
  Component* Form();
  Component& Root();

  // Appends the child (at position, or at the end when negative or past the
  // end). A child without an owner becomes owned by the nearest form (or by
  // this component when there is none). Answers the child.
  Component& Add(std::unique_ptr<Component> child, int position = -1);
  Component& Add(ComponentKind kind, const std::string& name, int position = -1);
  // Takes a child out of the tree without freeing it.
  std::unique_ptr<Component> Release(Component& child);
  // Frees a child (with everything under it).
  void Remove(Component& child);
  void RemoveChildren();  // last to first
  void SetOwner(Component* owner);

  // This component or one under it with that name (letter case ignored), or null.
  Component* Find(const std::string& name);
  // One of the components this one owns, by name, or null.
  Component* FindOwned(const std::string& name) const;
  // This component or one under it with that name; throws std::runtime_error
  // ("<this name>: the component <name> is missing") when there is none.
  Component& Need(const std::string& name);

  // --- Events. An event is bound to a handler name ("OnClick" ->
  // "PopDockTopClick") and, optionally, straight to a function.
  void Bind(const std::string& event, const std::string& handler, EventFn fn = nullptr);
  void Unbind(const std::string& event);
  std::string HandlerName(const std::string& event) const;
  // Offers a handler under its name to the components below and owned.
  void SetHandler(const std::string& handler, EventFn fn);
  // Runs the event's function, or the handler of its name offered by an
  // owner or parent. False when nothing ran; an event bound to a handler
  // name that nobody offers is a fault of the program's wiring and is
  // reported to the exception display (DisplayCurrentException).
  bool Fire(const std::string& event);
  // Every event of this component and of those below or owned that names a
  // handler nobody offers: "Component.OnClick -> Handler". Empty when the
  // wiring is whole.
  std::vector<std::string> UnwiredHandlers();

  // --- Realisation.
  void SetListener(ComponentListener* l) { listener_ = l; }
  // Tells the listener of the tree that this component's properties changed.
  void Changed();

 private:
  struct Binding {
    std::string handler;
    EventFn fn;
  };
  ComponentListener* TreeListener();
  const EventFn* FindHandler(const std::string& handler);

  Component* parent_ = nullptr;
  Component* owner_ = nullptr;
  std::vector<std::unique_ptr<Component>> children_;
  std::vector<Component*> owned_;
  std::map<std::string, Binding> events_;
  std::map<std::string, EventFn> handlers_;
  ComponentListener* listener_ = nullptr;
};

// A new component of that kind; shorthand for forms built in code.
std::unique_ptr<Component> MakeComponent(ComponentKind kind, const std::string& name = {},
                                         const std::string& caption = {});

}  // namespace tov
