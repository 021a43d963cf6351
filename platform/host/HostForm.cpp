#include "platform/host/HostForm.h"

#include <algorithm>
#include <stdexcept>

#include "base/Casefold.h"
#include "platform/DpiCanvas.h"
#include "platform/Platform.h"
#include "platform/host/HostSystem.h"
#include "platform/host/HostWindowSystem.h"

namespace tov::host {

HostForm::HostForm(HostWindowSystem* system, const FrameDesc& frame, WindowId owner, IFormEvents& events)
    : system_(system), frame_(frame), owner_(owner), events_(events) {
  static uintptr_t made = 0;
  handle_ = kHandleBase + ++made;
}

Point HostForm::ClientOrigin() {
  HostSystem& sys = system_->System();
  int edge = 0, title = 0;
  switch (frame_.border) {
    case FrameBorder::Sizeable:
    case FrameBorder::SizeToolWindow:
      edge = sys.GetSystemMetrics(SM_CXFRAME);
      break;
    case FrameBorder::Dialog:
      edge = sys.GetSystemMetrics(SM_CXDLGFRAME);
      break;
    case FrameBorder::Single:
    case FrameBorder::ToolWindow:
      edge = sys.GetSystemMetrics(SM_CXBORDER);
      break;
    case FrameBorder::None:
      break;
  }
  if (frame_.border != FrameBorder::None) title = sys.GetSystemMetrics(SM_CYCAPTION);
  return Point{frame_.bounds.left + edge, frame_.bounds.top + edge + title};
}

HostForm::Item* HostForm::Find(ControlId id) {
  for (Item& item : items_)
    if (item.id == id) return &item;
  return nullptr;
}

HostForm::Item* HostForm::Find(const std::string& name) {
  for (Item& item : items_)
    if (SameTextAscii(item.desc.name, name)) return &item;
  return nullptr;
}

const HostForm::Item* HostForm::Find(const std::string& name) const { return const_cast<HostForm*>(this)->Find(name); }

ControlId HostForm::AddControl(const ControlDesc& desc) {
  if (system_->failControls > 0) {
    --system_->failControls;
    throw std::runtime_error("The control " + desc.name + " of " + frame_.name + " could not be created.");
  }
  items_.push_back(Item{nextId_++, desc, desc.text});
  return items_.back().id;
}

void HostForm::UpdateControl(ControlId id, const ControlDesc& desc) {
  if (Item* item = Find(id)) {
    item->desc = desc;
    item->text = desc.text;
  }
}

void HostForm::RemoveControl(ControlId id) {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].id != id) continue;
    if (focused_ == id) focused_ = 0;
    items_.erase(items_.begin() + std::ptrdiff_t(i));
    return;
  }
}

std::string HostForm::ControlText(ControlId id) {
  Item* item = Find(id);
  return item ? item->text : std::string();
}

void HostForm::Focus(ControlId id, bool) {
  if (focused_ == id) return;
  focused_ = id;
  events_.FocusChanged(id);
}

void HostForm::RunModal() {
  system_->shownForms.push_back(frame_.name);
  system_->modalOwners.push_back(owner_);
  events_.Shown();
  if (!events_.Ended() && !system_->modalScripts.empty()) {
    auto script = std::move(system_->modalScripts.front());
    system_->modalScripts.pop_front();
    script(*this);
  }
  if (!events_.Ended()) Close();
}

void HostForm::SetTimer(int timerId, const std::string& name, uint32_t ms) {
  for (size_t i = 0; i < timers_.size(); ++i)
    if (timers_[i].id == timerId) timers_.erase(timers_.begin() + std::ptrdiff_t(i));
  if (ms > 0) timers_.push_back(Timer{timerId, name, ms});
}

bool HostForm::Tick(const std::string& timerName) {
  for (const Timer& t : timers_) {
    if (!SameTextAscii(t.name, timerName)) continue;
    events_.TimerFired(t.id);
    return true;
  }
  return false;
}

uint32_t HostForm::TimerInterval(const std::string& timerName) const {
  for (const Timer& t : timers_)
    if (SameTextAscii(t.name, timerName)) return t.ms;
  return 0;
}

bool HostForm::Click(const std::string& name) {
  Item* item = Find(name);
  if (!item || !Usable(*item)) return false;
  const ControlId id = item->id;
  switch (item->desc.type) {
    case ControlType::PushButton:
    case ControlType::Painted:
      break;
    case ControlType::Label:
      if (!item->desc.reportsClicks) return false;
      break;
    case ControlType::CheckBox:
      item->desc.checked = !item->desc.checked;
      events_.CheckChanged(id, item->desc.checked);
      break;
    case ControlType::RadioButton: {
      const int group = item->desc.group;
      for (Item& other : items_) {
        const bool now = other.id == id;
        if (other.desc.type != ControlType::RadioButton || other.desc.group != group || other.desc.checked == now)
          continue;
        other.desc.checked = now;
        events_.CheckChanged(other.id, now);
      }
      break;
    }
    default:
      return false;
  }
  events_.Clicked(id);
  return true;
}

bool HostForm::Type(const std::string& name, const std::string& text) {
  Item* item = Find(name);
  if (!item || !Usable(*item) || item->desc.readOnly) return false;
  const ControlType t = item->desc.type;
  if (t != ControlType::Edit && t != ControlType::Memo && !(t == ControlType::ComboBox && !item->desc.listOnly))
    return false;
  item->text = text;
  events_.TextChanged(item->id, text);
  return true;
}

bool HostForm::Choose(const std::string& name, int index) {
  Item* item = Find(name);
  if (!item || !Usable(*item)) return false;
  const ControlType t = item->desc.type;
  if (t != ControlType::ComboBox && t != ControlType::ListBox && t != ControlType::TreeView) return false;
  if (index < -1 || index >= int(item->desc.items.size())) return false;
  item->desc.itemIndex = index;
  if (item->desc.type == ControlType::ComboBox && index >= 0) item->text = item->desc.items[size_t(index)];
  events_.SelectionChanged(item->id, index);
  return true;
}

void HostForm::EditCaption(ControlId id, int row) {
  if (Item* item = Find(id))
    if (item->desc.type == ControlType::ListView && item->desc.editCaptions && row >= 0 &&
        size_t(row) < item->desc.rows.size())
      item->editingRow = row;
}

bool HostForm::SelectRows(const std::string& name, const std::vector<int>& rows) {
  Item* item = Find(name);
  if (!item || !Usable(*item) || item->desc.type != ControlType::ListView) return false;
  if (rows.size() > 1 && !item->desc.multiSelect) return false;
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i] < 0 || size_t(rows[i]) >= item->desc.rows.size() || (i && rows[i] <= rows[i - 1])) return false;
  item->desc.selectedRows = rows;
  events_.RowsSelected(item->id, rows);
  return true;
}

bool HostForm::DoubleClick(const std::string& name) {
  Item* item = Find(name);
  if (!item || !Usable(*item)) return false;
  const bool edit = item->desc.type == ControlType::Edit && item->desc.reportsDoubleClicks;
  if (item->desc.type != ControlType::ListView && !edit) return false;
  events_.DoubleClicked(item->id);
  return true;
}

bool HostForm::EditRowCaption(const std::string& name, int row, const std::string& text) {
  Item* item = Find(name);
  if (!item || !Usable(*item) || item->desc.type != ControlType::ListView || !item->desc.editCaptions) return false;
  if (row < 0 || size_t(row) >= item->desc.rows.size()) return false;
  item->editingRow = -1;
  const ControlId id = item->id;
  if (!events_.CaptionEdited(id, row, text)) return false;
  // The list shows the text it took (the item may have moved meanwhile).
  if (Item* now = Find(id))
    if (size_t(row) < now->desc.rows.size() && !now->desc.rows[size_t(row)].empty())
      now->desc.rows[size_t(row)][0] = text;
  return true;
}

int HostForm::EditingRow(const std::string& name) const {
  const Item* item = Find(name);
  return item ? item->editingRow : -1;
}

bool HostForm::PressEscape() {
  const ControlId id = events_.CancelButton();
  if (!id) return false;
  events_.Clicked(id);
  return true;
}

bool HostForm::PressEditButton(const std::string& name) {
  Item* item = Find(name);
  if (!item || !Usable(*item) || item->desc.type != ControlType::Edit || !item->desc.hasButton) return false;
  events_.Clicked(item->id);
  return true;
}

bool HostForm::Spin(const std::string& name, int delta) {
  Item* item = Find(name);
  if (!item || !Usable(*item) || item->desc.type != ControlType::UpDown) return false;
  events_.Spun(item->id, delta);
  return true;
}

bool HostForm::Drag(const std::string& name, int dx, int dy) {
  Item* item = Find(name);
  if (!item || !Usable(*item) || item->desc.type != ControlType::Splitter) return false;
  events_.Dragged(item->id, dx, dy);
  return true;
}

bool HostForm::PickDate(const std::string& name, bool hasDate, const DateTime& date) {
  Item* item = Find(name);
  if (!item || !Usable(*item) || item->desc.type != ControlType::DatePicker) return false;
  events_.DateChanged(item->id, hasDate, date);
  return true;
}

void HostForm::MoveFrame(const Rect& bounds) {
  frame_.bounds = bounds;
  events_.FrameChanged(bounds);
}

bool HostForm::FocusOn(const std::string& name) {
  Item* item = Find(name);
  if (!item || !Usable(*item)) return false;
  Focus(item->id, false);
  return true;
}

bool HostForm::PressEnter() {
  const ControlId id = events_.DefaultButton();
  Item* item = Find(id);
  if (!item) return false;
  events_.Clicked(id);
  return true;
}

const ControlDesc* HostForm::Control(const std::string& name) const {
  const Item* item = Find(name);
  return item ? &item->desc : nullptr;
}

std::string HostForm::Text(const std::string& name) const {
  const Item* item = Find(name);
  return item ? item->text : std::string();
}

std::string HostForm::FocusedName() const {
  for (const Item& item : items_)
    if (item.id == focused_) return item.desc.name;
  return std::string();
}

std::string HostForm::DefaultButtonName() {
  Item* item = Find(events_.DefaultButton());
  return item ? item->desc.name : std::string();
}

Bitmap HostForm::PaintControl(const std::string& name, const PaintState& state) {
  Item* item = Find(name);
  if (!item) return Bitmap();
  auto canvas = Canvases().CreateBitmapCanvas(item->desc.bounds.Width(), item->desc.bounds.Height());
  events_.PaintControl(item->id, *canvas, state);
  return canvas->ToBitmap();
}

Bitmap HostForm::PaintControlAt(const std::string& name, const PaintState& state, int dpi) {
  Item* item = Find(name);
  if (!item) return Bitmap();
  const Rect px = ScaleRect(Dpi(dpi), item->desc.bounds);
  auto canvas = Canvases().CreateBitmapCanvas(px.Width(), px.Height());
  DpiCanvas units(*canvas, Dpi(dpi));
  events_.PaintControl(item->id, units, state);
  return canvas->ToBitmap();
}

Bitmap HostForm::PaintBackground() {
  auto canvas = Canvases().CreateBitmapCanvas(frame_.bounds.Width(), frame_.bounds.Height());
  events_.PaintBackground(0, *canvas);
  return canvas->ToBitmap();
}

Bitmap HostForm::PaintBackground(const std::string& scrollBoxName) {
  Item* item = Find(scrollBoxName);
  if (!item || item->desc.type != ControlType::ScrollBox) return Bitmap();
  const Rect& b = item->desc.bounds;
  auto canvas = Canvases().CreateBitmapCanvas(b.Width(), std::max(b.Height(), item->desc.contentHeight));
  events_.PaintBackground(item->id, *canvas);
  return canvas->ToBitmap();
}

std::vector<std::string> HostForm::ControlNames() const {
  std::vector<std::string> names;
  for (const Item& item : items_)
    names.push_back(item.desc.name);
  return names;
}

}  // namespace tov::host
