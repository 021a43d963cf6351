#include "forms/Component.h"

#include <algorithm>
#include <set>
#include <stdexcept>

#include "base/Casefold.h"
#include "base/Strings.h"
#include "platform/EventGuard.h"

namespace tov {

Component::Component(ComponentKind k, std::string n) : kind(k), name(std::move(n)) {}

Component::~Component() {
  // A tree that goes as a whole tells nobody: its window goes with it.
  listener_ = nullptr;
  RemoveChildren();
  // Components owned from elsewhere in the tree outlive their owner.
  for (Component* c : owned_)
    c->owner_ = nullptr;
  owned_.clear();
  SetOwner(nullptr);
}

bool Component::IsKind(const std::string& className) const {
  for (const char* c = KindInfo(kind).className; c && *c;) {
    if (SameTextAscii(c, className)) return true;
    const char* base = KindInfo(KindFromClassName(c)).baseClass;
    c = base;
  }
  return false;
}

std::string Component::Property(const std::string& key, const std::string& def) const {
  auto it = properties.find(key);
  return it == properties.end() ? def : it->second;
}

int Component::IndexInParent() const {
  if (!parent_) return -1;
  for (size_t i = 0; i < parent_->children_.size(); ++i)
    if (parent_->children_[i].get() == this) return int(i);
  return -1;
}

Component* Component::Form() {
  for (Component* c = this; c; c = c->parent_)
    if (c->kind == ComponentKind::Form) return c;
  return nullptr;
}

Component& Component::Root() {
  Component* c = this;
  while (c->parent_)
    c = c->parent_;
  return *c;
}

Component& Component::Add(std::unique_ptr<Component> child, int position) {
  Component& c = *child;
  size_t at = position < 0 || size_t(position) > children_.size() ? children_.size() : size_t(position);
  c.parent_ = this;
  children_.insert(children_.begin() + std::ptrdiff_t(at), std::move(child));
  if (!c.owner_) {
    Component* f = Form();
    c.SetOwner(f ? f : this);
  }
  if (ComponentListener* l = TreeListener()) l->Added(c);
  return c;
}

Component& Component::Add(ComponentKind k, const std::string& n, int position) {
  return Add(std::make_unique<Component>(k, n), position);
}

std::unique_ptr<Component> Component::Release(Component& child) {
  for (auto it = children_.begin(); it != children_.end(); ++it) {
    if (it->get() != &child) continue;
    if (ComponentListener* l = TreeListener()) l->Removing(child);
    std::unique_ptr<Component> out = std::move(*it);
    children_.erase(it);
    out->parent_ = nullptr;
    return out;
  }
  return nullptr;
}

void Component::Remove(Component& child) { Release(child).reset(); }

void Component::RemoveChildren() {
  while (!children_.empty())
    Remove(*children_.back());
}

void Component::SetOwner(Component* owner) {
  if (owner_ == owner) return;
  if (owner_) {
    auto& list = owner_->owned_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  owner_ = owner;
  if (owner_) owner_->owned_.push_back(this);
}

Component* Component::Find(const std::string& n) {
  if (SameTextAscii(name, n)) return this;
  for (auto& c : children_)
    if (Component* f = c->Find(n)) return f;
  return nullptr;
}

Component* Component::FindOwned(const std::string& n) const {
  for (Component* c : owned_)
    if (SameTextAscii(c->name, n)) return c;
  return nullptr;
}

Component& Component::Need(const std::string& wanted) {
  Component* c = Find(wanted);
  if (!c) throw std::runtime_error(name + ": the component " + wanted + " is missing");
  return *c;
}

void Component::Bind(const std::string& event, const std::string& handler, EventFn fn) {
  events_[event] = Binding{handler, std::move(fn)};
}

void Component::Unbind(const std::string& event) { events_.erase(event); }

std::string Component::HandlerName(const std::string& event) const {
  auto it = events_.find(event);
  return it == events_.end() ? std::string() : it->second.handler;
}

void Component::SetHandler(const std::string& handler, EventFn fn) {
  if (fn)
    handlers_[handler] = std::move(fn);
  else
    handlers_.erase(handler);
}

const EventFn* Component::FindHandler(const std::string& handler) {
  // The owners first (the form that declares the handler), then the parents.
  for (Component* c = this; c; c = c->owner_) {
    auto it = c->handlers_.find(handler);
    if (it != c->handlers_.end()) return &it->second;
  }
  for (Component* c = parent_; c; c = c->parent_) {
    auto it = c->handlers_.find(handler);
    if (it != c->handlers_.end()) return &it->second;
  }
  return nullptr;
}

bool Component::Fire(const std::string& event) {
  auto it = events_.find(event);
  if (it == events_.end()) return false;
  EventFn fn = it->second.fn;  // a copy: the handler may rebind or free things
  if (!fn) {
    if (it->second.handler.empty()) return false;
    const EventFn* h = FindHandler(it->second.handler);
    if (!h) {
      try {
        throw std::logic_error(name + "." + event + ": no handler " + it->second.handler);
      } catch (const std::logic_error&) {
        DisplayCurrentException();
      }
      return false;
    }
    fn = *h;
  }
  fn(*this);
  return true;
}

std::vector<std::string> Component::UnwiredHandlers() {
  std::vector<std::string> missing;
  std::set<Component*> seen;
  std::vector<Component*> todo{this};
  while (!todo.empty()) {
    Component* c = todo.back();
    todo.pop_back();
    if (!seen.insert(c).second) continue;
    for (const auto& [event, binding] : c->events_)
      if (!binding.fn && !binding.handler.empty() && !c->FindHandler(binding.handler))
        missing.push_back(c->name + "." + event + " -> " + binding.handler);
    for (const auto& child : c->children_)
      todo.push_back(child.get());
    for (Component* owned : c->owned_)
      todo.push_back(owned);
  }
  return missing;
}

ComponentListener* Component::TreeListener() {
  for (Component* c = this; c; c = c->parent_)
    if (c->listener_) return c->listener_;
  return nullptr;
}

void Component::Changed() {
  if (ComponentListener* l = TreeListener()) l->Changed(*this);
}

std::unique_ptr<Component> MakeComponent(ComponentKind kind, const std::string& name, const std::string& caption) {
  auto c = std::make_unique<Component>(kind, name);
  c->caption = caption;
  return c;
}

}  // namespace tov
