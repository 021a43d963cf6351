#include "toolkit/FormRuntime.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "forms/Component.h"
#include "platform/Platform.h"
#include "settings/SettingsStore.h"
#include "toolkit/FormAlign.h"
#include "toolkit/FormControls.h"
#include "toolkit/FormPaint.h"

namespace tov {

namespace {

class ModalRun;
// The forms shown now, innermost last.
std::vector<std::pair<const Component*, ModalRun*>>& Running() {
  static std::vector<std::pair<const Component*, ModalRun*>> running;
  return running;
}

class ModalRun final : public ComponentListener, public IFormEvents {
 public:
  ModalRun(Component& form, WindowId owner) : form_(form), owner_(owner) {}
  ~ModalRun() override { form_.SetListener(nullptr); }
  ModalRun(const ModalRun&) = delete;
  ModalRun& operator=(const ModalRun&) = delete;

  int Run();

  // ComponentListener
  void Added(Component& c) override;
  void Removing(Component& c) override;
  void Changed(Component& c) override;

  // IFormEvents
  void Clicked(ControlId id) override;
  void TextChanged(ControlId id, const std::string& text) override;
  void SelectionChanged(ControlId id, int index) override;
  void CheckChanged(ControlId id, bool checked) override;
  void FocusChanged(ControlId id) override;
  void CloseRequested() override { End(kModalCloseResult); }
  ControlId DefaultButton() override;
  ControlId CancelButton() override;
  void PaintControl(ControlId id, ICanvas& canvas, const PaintState& state) override;
  void PaintBackground(ControlId container, ICanvas& canvas) override;
  void Spun(ControlId id, int delta) override;
  void DateChanged(ControlId id, bool hasDate, const DateTime& date) override;
  void Dragged(ControlId id, int dx, int dy) override;
  void RowsSelected(ControlId id, const std::vector<int>& rows) override;
  bool CaptionEdited(ControlId id, int row, const std::string& text) override;
  void DoubleClicked(ControlId id) override;
  void FrameChanged(const Rect& bounds) override;
  void Shown() override;
  void TimerFired(int timerId) override;
  bool Ended() override { return ended_; }
  uintptr_t WindowHandle() const { return native_ ? native_->WindowHandle() : 0; }
  Point ScreenPoint(Point client) const {
    if (native_) return native_->ScreenPoint(client);
    return Point{form_.bounds.left + client.x, form_.bounds.top + client.y};
  }

 private:
  struct Entry {
    Component* component;
    ControlId id;
    ControlDesc desc;  // as last given to the window system
  };

  bool Reachable(const Component& c) const;  // only containers between it and the form
  static bool IsUnder(const Component& c, const Component& top);
  void Realise(Component& c);  // c and everything under it
  ControlDesc Describe(const Component& c);
  ControlId IdOf(const Component* c) const;
  void Sync(Entry& e);
  Entry* Find(ControlId id);
  ControlId ButtonMarked(const char* property);  // the first shown, enabled push button with it "True"
  void End(int result);
  void CheckFormResult();
  void PaintUnder(ICanvas& canvas, const Component& c);
  bool Realign();
  void FireResized(const std::vector<Component*>& resized);
  int resizing_ = 0;

  Component& form_;
  WindowId owner_;
  std::unique_ptr<INativeForm> native_;
  std::vector<Entry> entries_;
  struct Timer {
    Component* component;
    int id;
  };
  std::vector<Timer> timers_;
  int nextTimer_ = 1;
  void SyncTimer(const Timer& t);
  ControlId focused_ = 0;
  int syncing_ = 0;
  bool ended_ = false;
  int result_ = kModalCloseResult;
};

bool ModalRun::IsUnder(const Component& c, const Component& top) {
  for (const Component* p = &c; p; p = p->Parent())
    if (p == &top) return true;
  return false;
}

bool ModalRun::Reachable(const Component& c) const {
  if (&c == &form_ || !IsUnder(c, form_)) return false;
  for (const Component* p = c.Parent(); p && p != &form_; p = p->Parent())
    if (RealisationOf(*p) != Realisation::Container && p->kind != ComponentKind::ScrollBox) return false;
  return true;
}

ControlId ModalRun::IdOf(const Component* c) const {
  for (const Entry& e : entries_)
    if (e.component == c) return e.id;
  return 0;
}

ControlDesc ModalRun::Describe(const Component& c) {
  ControlDesc desc = DescribeControl(c, form_);
  desc.parent = IdOf(ScrollBoxOf(c, form_));
  if (c.kind == ComponentKind::UpDown) {
    const std::string associate = c.Property("Associate");
    desc.buddy = associate.empty() ? 0 : IdOf(form_.Find(associate));
  }
  return desc;
}

ModalRun::Entry* ModalRun::Find(ControlId id) {
  for (Entry& e : entries_)
    if (e.id == id) return &e;
  return nullptr;
}

void ModalRun::SyncTimer(const Timer& t) {
  const Component& c = *t.component;
  const int interval = IntProperty(c, "Interval", 1000);
  native_->SetTimer(t.id, c.name, c.enabled && interval > 0 ? uint32_t(interval) : 0);
}

void ModalRun::TimerFired(int timerId) {
  for (const Timer& t : timers_) {
    if (t.id != timerId) continue;
    t.component->Fire("OnTimer");
    CheckFormResult();
    return;
  }
}

void ModalRun::Realise(Component& c) {
  const Realisation how = RealisationOf(c);
  if (how == Realisation::None) return;
  if (how == Realisation::Timer) {
    for (const Timer& t : timers_)
      if (t.component == &c) return;
    timers_.push_back(Timer{&c, nextTimer_++});
    SyncTimer(timers_.back());
    return;
  }
  if (how == Realisation::Control) {
    bool known = false;
    for (const Entry& e : entries_)
      known = known || e.component == &c;
    if (!known) {
      ControlDesc desc = Describe(c);
      const ControlId id = native_->AddControl(desc);
      entries_.push_back(Entry{&c, id, std::move(desc)});
    }
  }
  for (size_t i = 0; i < c.ChildCount(); ++i)
    Realise(c.Child(i));
}

void ModalRun::Sync(Entry& e) {
  ControlDesc desc = Describe(*e.component);
  ++syncing_;
  native_->UpdateControl(e.id, desc);
  --syncing_;
  e.desc = std::move(desc);
  // A list view asked to edit a row's caption in place.
  Component& c = *e.component;
  const std::string row = c.Property(kEditRowProperty);
  if (e.desc.type == ControlType::ListView && !row.empty()) {
    c.properties.erase(kEditRowProperty);
    native_->EditCaption(e.id, std::atoi(row.c_str()));
  }
}

void ModalRun::RowsSelected(ControlId id, const std::vector<int>& rows) {
  Entry* e = Find(id);
  if (!e || syncing_ || e->desc.type != ControlType::ListView) return;
  Component& c = *e->component;
  c.selected = rows;
  c.itemIndex = rows.empty() ? -1 : rows.front();
  e->desc.selectedRows = rows;
  c.Fire("OnChange");
  CheckFormResult();
}

bool ModalRun::CaptionEdited(ControlId id, int row, const std::string& text) {
  Entry* e = Find(id);
  if (!e || e->desc.type != ControlType::ListView) return false;
  Component* c = e->component;
  if (row < 0 || size_t(row) >= c->rows.size()) return false;
  // The handler reads the row and the text, and may refuse it.
  const std::string before = c->rows[size_t(row)].empty() ? std::string() : c->rows[size_t(row)][0];
  c->properties[kEditedRowProperty] = std::to_string(row);
  c->properties[kEditedTextProperty] = text;
  c->properties.erase(kEditRefusedProperty);
  c->Fire("OnEdited");
  CheckFormResult();
  e = Find(id);  // the handler may have refilled the list or removed it
  if (!e) return false;
  c = e->component;
  const bool refused = c->Property(kEditRefusedProperty) == "True";
  c->properties.erase(kEditedRowProperty);
  c->properties.erase(kEditedTextProperty);
  c->properties.erase(kEditRefusedProperty);
  if (refused || size_t(row) >= c->rows.size()) return false;
  std::vector<std::string>& cells = c->rows[size_t(row)];
  if (!cells.empty() && cells[0] != before && cells[0] != text) {
    // The handler wrote a caption of its own: the list shows that.
    Sync(*e);
    return false;
  }
  if (cells.empty()) cells.emplace_back();
  cells[0] = text;
  if (size_t(row) < e->desc.rows.size() && !e->desc.rows[size_t(row)].empty()) e->desc.rows[size_t(row)][0] = text;
  return true;
}

void ModalRun::DoubleClicked(ControlId id) {
  Entry* e = Find(id);
  if (!e || !UsableOnForm(*e->component, form_)) return;
  e->component->Fire("OnDblClick");
  CheckFormResult();
}

// Lays the aligned controls out again; when anything moved, every control
// is brought to its place.
bool ModalRun::Realign() {
  std::vector<Component*> resized;
  if (!AlignControls(form_, &resized)) return false;
  for (Entry& e : entries_)
    Sync(e);
  native_->Repaint();
  FireResized(resized);
  return true;
}

// "OnResize" of the containers the layout resized (the form's own comes
// from the window system's report).
void ModalRun::FireResized(const std::vector<Component*>& resized) {
  if (resizing_) return;
  ++resizing_;
  for (Component* c : resized)
    if (c != &form_ && IsUnder(*c, form_)) c->Fire("OnResize");
  --resizing_;
}

void ModalRun::Added(Component& c) {
  if (!native_ || !Reachable(c)) return;
  std::vector<Component*> resized;
  const bool moved = AlignControls(form_, &resized);
  Realise(c);
  if (moved)
    for (Entry& e : entries_)
      if (!IsUnder(*e.component, c)) Sync(e);
  native_->Repaint();
  FireResized(resized);
}

void ModalRun::Removing(Component& c) {
  if (!native_) return;
  for (size_t i = entries_.size(); i-- > 0;) {
    if (!IsUnder(*entries_[i].component, c)) continue;
    if (focused_ == entries_[i].id) focused_ = 0;
    native_->RemoveControl(entries_[i].id);
    entries_.erase(entries_.begin() + std::ptrdiff_t(i));
  }
  for (size_t i = timers_.size(); i-- > 0;) {
    if (!IsUnder(*timers_[i].component, c)) continue;
    native_->SetTimer(timers_[i].id, timers_[i].component->name, 0);
    timers_.erase(timers_.begin() + std::ptrdiff_t(i));
  }
  native_->Repaint();
}

void ModalRun::Changed(Component& c) {
  if (!native_) return;
  if (&c == &form_) native_->SetCaption(form_.caption);
  if (Realign()) {
    for (const Timer& t : timers_)
      if (IsUnder(*t.component, c)) SyncTimer(t);
    return;
  }
  for (Entry& e : entries_)
    if (IsUnder(*e.component, c)) Sync(e);
  // A scroll box's content reaches as far as what lies in it.
  if (const Component* box = ScrollBoxOf(c, form_))
    for (Entry& e : entries_)
      if (e.component == box) Sync(e);
  for (const Timer& t : timers_)
    if (IsUnder(*t.component, c)) SyncTimer(t);
  // The controls repaint themselves; the background only when what it
  // shows may have changed.
  if (&c == &form_ || RealisationOf(c) == Realisation::Container) native_->Repaint();
}

void ModalRun::End(int result) {
  if (ended_) return;
  ended_ = true;
  result_ = result;
}

void ModalRun::CheckFormResult() {
  if (int result = ModalResultOf(form_)) End(result);
}

void ModalRun::Clicked(ControlId id) {
  Entry* e = Find(id);
  if (!e) return;
  Component& c = *e->component;
  if (!UsableOnForm(c, form_) || !ShownOnForm(c, form_)) return;
  if (e->desc.type == ControlType::Edit) {
    if (e->desc.hasButton) c.Fire("OnButtonClick");
  } else if (e->desc.type == ControlType::PushButton) {
    const int result = ModalResultOf(c);  // read first: the handler may free the button
    c.Fire("OnClick");
    if (result) End(result);
  } else {
    c.Fire("OnClick");
  }
  CheckFormResult();
}

void ModalRun::TextChanged(ControlId id, const std::string& text) {
  Entry* e = Find(id);
  if (!e || syncing_) return;
  Component& c = *e->component;
  e->desc.text = text;
  switch (e->desc.type) {
    case ControlType::Edit:
      c.caption = text;
      break;
    case ControlType::Memo:
      c.lines = SplitLines(text);
      break;
    case ControlType::ComboBox:
      c.caption = text;
      c.itemIndex = -1;
      e->desc.itemIndex = -1;
      break;
    default:
      return;
  }
  c.Fire("OnChange");
  CheckFormResult();
}

void ModalRun::SelectionChanged(ControlId id, int index) {
  Entry* e = Find(id);
  if (!e || syncing_) return;
  Component& c = *e->component;
  c.itemIndex = index >= 0 && size_t(index) < c.items.size() ? index : -1;
  e->desc.itemIndex = c.itemIndex;
  if (e->desc.type == ControlType::ComboBox) {
    if (c.itemIndex >= 0) c.caption = c.items[size_t(c.itemIndex)];
    c.Fire("OnChange");
  } else if (e->desc.type == ControlType::TreeView) {
    c.Fire("OnChange");
  } else {
    c.Fire("OnClick");
  }
  CheckFormResult();
}

void ModalRun::Spun(ControlId id, int delta) {
  Entry* e = Find(id);
  if (!e || e->desc.type != ControlType::UpDown) return;
  Component& updown = *e->component;
  if (!UsableOnForm(updown, form_)) return;
  const double lo = IntProperty(updown, "Min", 0), hi = IntProperty(updown, "Max", 100);
  const double step = IntProperty(updown, "Increment", 1);
  const std::string associate = updown.Property("Associate");
  Component* edit = associate.empty() ? nullptr : form_.Find(associate);
  // The number the edit shows (a whole number, or one with the locale's
  // decimal separator), else the last position.
  double value = IntProperty(updown, "Position", int(lo));
  bool whole = true;
  if (edit) {
    char* end = nullptr;
    const long long n = std::strtoll(edit->caption.c_str(), &end, 10);
    double d = 0;
    if (!edit->caption.empty() && end && *end == '\0') {
      value = double(n);
    } else if (ParseSettingFloat(edit->caption, &d)) {
      value = d;
      whole = false;
    }
  }
  // A step within the range stops at its ends; a value beyond it is kept,
  // and only a step back towards the range moves it.
  double next = value + delta * step;
  if (value >= lo && value <= hi)
    next = std::clamp(next, lo, hi);
  else if ((value > hi && delta > 0) || (value < lo && delta < 0))
    next = value;
  updown.properties["Position"] = std::to_string(static_cast<long long>(std::clamp(next, lo, hi)));
  if (edit) {
    edit->caption = whole ? std::to_string(static_cast<long long>(next)) : FormatSettingFloat(next);
    edit->Changed();
    edit->Fire("OnChange");
  }
  updown.Fire("OnClick");
  CheckFormResult();
}

void ModalRun::DateChanged(ControlId id, bool hasDate, const DateTime& date) {
  Entry* e = Find(id);
  if (!e || e->desc.type != ControlType::DatePicker) return;
  e->component->caption = hasDate ? IsoDateText(date) : std::string();
  e->desc.hasDate = hasDate;
  if (hasDate) e->desc.date = date;
  e->component->Fire("OnChange");
  CheckFormResult();
}

void ModalRun::FrameChanged(const Rect& bounds) {
  if (form_.bounds == bounds) return;
  const bool resized = form_.bounds.Width() != bounds.Width() || form_.bounds.Height() != bounds.Height();
  form_.bounds = bounds;
  if (resized) Realign();
  form_.Fire("OnResize");
  CheckFormResult();
}

void ModalRun::Dragged(ControlId id, int dx, int dy) {
  Entry* e = Find(id);
  if (!e || e->desc.type != ControlType::Splitter || !UsableOnForm(*e->component, form_)) return;
  Component& splitter = *e->component;
  std::vector<Component*> resized;
  if (!DragSplitter(splitter, e->desc.vertical ? dx : dy, &resized)) return;
  for (Entry& each : entries_)
    Sync(each);
  native_->Repaint();
  FireResized(resized);
  splitter.Fire("OnMoved");
  CheckFormResult();
}

void ModalRun::CheckChanged(ControlId id, bool checked) {
  if (Entry* e = Find(id)) {
    e->component->checked = checked;
    e->desc.checked = checked;
  }
}

void ModalRun::FocusChanged(ControlId id) {
  focused_ = id;
  // The button Enter presses follows the focus.
  native_->Repaint();
}

ControlId ModalRun::DefaultButton() {
  // A focused button is the one Enter presses; otherwise the form's default.
  if (Entry* f = Find(focused_))
    if (f->desc.type == ControlType::PushButton) return f->id;
  return ButtonMarked("Default");
}

ControlId ModalRun::CancelButton() { return ButtonMarked("Cancel"); }

ControlId ModalRun::ButtonMarked(const char* property) {
  for (const Entry& e : entries_) {
    const Component& c = *e.component;
    if (e.desc.type == ControlType::PushButton && c.Property(property) == "True" && ShownOnForm(c, form_) &&
        UsableOnForm(c, form_))
      return e.id;
  }
  return 0;
}

void ModalRun::PaintControl(ControlId id, ICanvas& canvas, const PaintState& state) {
  Entry* e = Find(id);
  if (!e) return;
  if (e->desc.type == ControlType::PushButton)
    PaintPictureButton(canvas, *e->component, state);
  else if (e->desc.type == ControlType::Painted && e->component->painter)
    e->component->painter(canvas, *e->component);
}

void ModalRun::PaintUnder(ICanvas& canvas, const Component& c) {
  for (size_t i = 0; i < c.ChildCount(); ++i) {
    const Component& child = c.Child(i);
    if (RealisationOf(child) != Realisation::Container || !child.visible) continue;
    PaintContainer(canvas, child, RectOnForm(child, form_));
    PaintUnder(canvas, child);
  }
}

void ModalRun::PaintBackground(ControlId container, ICanvas& canvas) {
  const Component* top = &form_;
  if (container) {
    Entry* e = Find(container);
    if (!e || e->desc.type != ControlType::ScrollBox) return;
    top = e->component;
  }
  canvas.FillRect(Rect{0, 0, canvas.Width(), canvas.Height()}, ComponentColor(*top, 0x8000000F));  // COLOR_BTNFACE
  PaintUnder(canvas, *top);
}

void ModalRun::Shown() {
  // The first edit, with its text selected; else the first control that takes focus.
  auto ready = [](const Entry& e) { return e.desc.visible && e.desc.enabled; };
  for (const Entry& e : entries_) {
    if (e.desc.type == ControlType::Edit && ready(e)) {
      native_->Focus(e.id, true);
      return;
    }
  }
  for (const Entry& e : entries_) {
    if (e.desc.takesFocus && e.desc.type != ControlType::Label && ready(e)) {
      native_->Focus(e.id, false);
      return;
    }
  }
}

int ModalRun::Run() {
  form_.properties.erase("ModalResult");
  std::vector<Component*> resized;
  AlignControls(form_, &resized);
  FireResized(resized);
  native_ = Windows().CreateForm(DescribeFrame(form_), owner_, *this);
  for (size_t i = 0; i < form_.ChildCount(); ++i)
    Realise(form_.Child(i));
  form_.SetListener(this);
  form_.Fire("OnShow");
  // What OnShow changed without telling.
  Changed(form_);
  CheckFormResult();
  if (!ended_) native_->RunModal();
  form_.SetListener(nullptr);
  for (const Timer& t : timers_)
    native_->SetTimer(t.id, t.component->name, 0);
  // The texts as the dialog leaves them.
  for (const Entry& e : entries_) {
    if (e.desc.type == ControlType::Edit) e.component->caption = native_->ControlText(e.id);
    if (e.desc.type == ControlType::Memo) e.component->lines = SplitLines(native_->ControlText(e.id));
  }
  // "OnClose" learns how the dialog ended from the form's "ModalResult".
  form_.properties["ModalResult"] = std::to_string(result_);
  native_.reset();
  entries_.clear();
  form_.Fire("OnClose");
  return result_;
}

}  // namespace

int ShowModalForm(Component& form, WindowId owner) {
  ModalRun run(form, owner);
  Running().emplace_back(&form, &run);
  struct Leave {
    ~Leave() { Running().pop_back(); }
  } leave;
  return run.Run();
}

uintptr_t DialogWindowOf(const Component& form) {
  for (auto it = Running().rbegin(); it != Running().rend(); ++it)
    if (it->first == &form) return it->second->WindowHandle();
  return 0;
}

Point DialogScreenPoint(const Component& form, Point client) {
  for (auto it = Running().rbegin(); it != Running().rend(); ++it)
    if (it->first == &form) return it->second->ScreenPoint(client);
  return Point{form.bounds.left + client.x, form.bounds.top + client.y};
}

}  // namespace tov
