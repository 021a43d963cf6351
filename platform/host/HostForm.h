// A dialog of the headless host: the controls the logic asked for, kept as
// descriptions with the text each shows, and the user's side of them for the
// scripts that play the user. Every action goes through the dialog's events
// exactly as the Win32 layer reports the same action.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/NativeForm.h"
#include "platform/Window.h"

namespace tov::host {

class HostWindowSystem;

class HostForm final : public INativeForm {
 public:
  HostForm(HostWindowSystem* system, const FrameDesc& frame, WindowId owner, IFormEvents& events);

  ControlId AddControl(const ControlDesc& desc) override;
  void UpdateControl(ControlId id, const ControlDesc& desc) override;
  void RemoveControl(ControlId id) override;
  std::string ControlText(ControlId id) override;
  void SetCaption(const std::string& caption) override { frame_.caption = caption; }
  void Repaint() override { ++repaints; }
  void Focus(ControlId id, bool selectAll) override;
  void EditCaption(ControlId id, int row) override;
  ControlId FocusedControl() override { return focused_; }
  // A number of its own for as long as it lives, told apart from the
  // windows' ids.
  uintptr_t WindowHandle() override { return handle_; }
  // The frame's place plus its border and title bar, as the system's
  // metrics give them.
  Point ClientOrigin() override;
  static constexpr uintptr_t kHandleBase = 0xD1A0000;
  // Records the dialog, tells the logic it is shown, and hands it to the
  // first script waiting in the window system; when the script leaves it
  // open (or there is none), the user closes it with its close box.
  void RunModal() override;
  void SetTimer(int timerId, const std::string& name, uint32_t ms) override;

  // --- The user's side. Each answers false when the control is missing or
  // cannot take the action (hidden, disabled, read only, of another type).
  // A click: a button is pressed, a check box toggles, a radio button is
  // checked and its group's others unchecked.
  bool Click(const std::string& name);
  // Typing into an edit, a memo or an editable combo box: its text becomes
  // text.
  bool Type(const std::string& name, const std::string& text);
  // Choosing an item of a list or combo box.
  bool Choose(const std::string& name, int index);
  // A press of the button at an edit's right edge.
  bool PressEditButton(const std::string& name);
  // The arrows of an up-down: +1 up, -1 down.
  bool Spin(const std::string& name, int delta);
  // Dragging a splitter by dx, dy and letting it go.
  bool Drag(const std::string& name, int dx, int dy);
  // Selecting rows of a list view (ascending).
  bool SelectRows(const std::string& name, const std::vector<int>& rows);
  // A double click on a list view, or on an edit that reports one.
  bool DoubleClick(const std::string& name);
  // Editing a row's caption in place and ending with Enter: answers whether
  // the dialog took the text (false also when the control cannot).
  bool EditRowCaption(const std::string& name, int row, const std::string& text);
  // The row whose caption the dialog asked to edit in place, -1 for none.
  int EditingRow(const std::string& name) const;
  // Picking a date in a date picker, or clearing it (hasDate off).
  bool PickDate(const std::string& name, bool hasDate, const DateTime& date = {});
  // Moving or resizing the dialog: its place and client size.
  void MoveFrame(const Rect& bounds);
  // Moving the focus (as Tab or a click does).
  bool FocusOn(const std::string& name);
  // Enter: presses the button the dialog names as its default.
  bool PressEnter();
  // Escape: presses the button the dialog names for it; false when none.
  bool PressEscape();
  // The close box.
  void Close() { events_.CloseRequested(); }
  bool Ended() { return events_.Ended(); }
  // A running timer of the dialog fires once; false when it is not running.
  bool Tick(const std::string& timerName);
  uint32_t TimerInterval(const std::string& timerName) const;  // 0: not running

  // --- What the dialog shows.
  const FrameDesc& Frame() const { return frame_; }
  WindowId Owner() const { return owner_; }
  const ControlDesc* Control(const std::string& name) const;
  std::string Text(const std::string& name) const;
  std::string FocusedName() const;
  std::string DefaultButtonName();
  // A painted control as the logic draws it now, on a canvas of its size.
  Bitmap PaintControl(const std::string& name, const PaintState& state);
  // The same on a canvas of the control's pixels at a scale (the logic
  // paints in units, as on a dialog shown at that scale).
  Bitmap PaintControlAt(const std::string& name, const PaintState& state, int dpi);
  Bitmap PaintBackground();
  // The content of a scroll box, its whole height.
  Bitmap PaintBackground(const std::string& scrollBoxName);
  std::vector<std::string> ControlNames() const;
  int repaints = 0;

 private:
  struct Item {
    ControlId id;
    ControlDesc desc;
    std::string text;
    int editingRow = -1;
  };
  Item* Find(ControlId id);
  Item* Find(const std::string& name);
  const Item* Find(const std::string& name) const;
  bool Usable(const Item& item) const { return item.desc.enabled && item.desc.visible; }

  HostWindowSystem* system_;
  FrameDesc frame_;
  WindowId owner_;
  IFormEvents& events_;
  std::vector<Item> items_;
  struct Timer {
    int id;
    std::string name;
    uint32_t ms;
  };
  std::vector<Timer> timers_;
  ControlId nextId_ = 100;
  uintptr_t handle_;
  ControlId focused_ = 0;
};

}  // namespace tov::host
