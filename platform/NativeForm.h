// Dialogs below the seam. The logic describes a dialog's frame and controls
// in neutral terms; the window system realises them (real controls on Win32,
// a model on the host) and reports what the user does as neutral events. The
// rules of a dialog (which button Enter presses, when it ends and with which
// result, what an event changes) are the logic's: the layer underneath only
// asks and reports.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Files.h"
#include "platform/Geometry.h"

namespace tov {

using ControlId = int;

// The kinds of native control. Painted controls are drawn by the logic
// through a canvas; the others are the system's own.
enum class ControlType {
  Label,       // static text
  Edit,        // one line of text
  Memo,        // several lines
  PushButton,  // painted: the logic draws it, the system makes it a button
  CheckBox,
  RadioButton,  // automatic: neighbours of one parent uncheck each other
  ComboBox,     // editable, or list-only with `listOnly`
  ListBox,
  Painted,  // drawn by the logic; takes no focus; reports clicks
  // A container of native controls: what is placed in it (`parent`) scrolls
  // vertically within it; the containers the logic paints inside it are
  // painted through PaintBackground with its id.
  ScrollBox,
  TreeView,    // an outline of items (`items` at `levels`); labels are never edited
  ListView,    // report mode: `columns` and `rows`, small system icons
  UpDown,      // spin arrows for the edit `buddy`; reports each step
  DatePicker,  // a date (`date`), or none (`hasDate` off)
  Splitter,    // a bar the user drags; reports how far
};

// A column of a list view.
struct ColumnDesc {
  std::string caption;
  int width = 64;
  friend bool operator==(const ColumnDesc&, const ColumnDesc&) = default;
};

// A control as the logic wants it now. Bounds are in the dialog's client
// coordinates.
struct ControlDesc {
  ControlType type = ControlType::Label;
  std::string name;  // for messages and for the host model's scripts
  // The scroll box the control lies in, 0 for the dialog itself. Bounds are
  // in the client coordinates of the dialog, or of the scroll box's content
  // (not moved by scrolling) when it lies in one.
  ControlId parent = 0;
  Rect bounds;
  std::string text;                // caption; an edit's or a memo's text (lines joined by CR LF)
  std::vector<std::string> items;  // lists
  int itemIndex = -1;              // the selected item, -1 for none
  bool checked = false;
  bool enabled = true;  // usable: it and all its parents are enabled
  bool visible = true;  // shown: it and all its parents are visible
  bool readOnly = false;
  bool listOnly = false;       // combo boxes: choose from the list only
  bool takesFocus = true;      // reached with Tab
  bool noPrefix = false;       // "&" is a character, not an accelerator mark
  int group = 0;               // radio buttons of one group uncheck each other
  bool reportsClicks = false;  // labels: a click is reported (link labels)
  bool handCursor = false;     // the pointer is a hand over it
  FontSpec font;               // an empty name is the system's message font
  std::string tooltip;         // shown when the pointer rests on it; empty for none
  // Edits.
  char passwordChar = 0;   // shown for every character, 0 to show the text
  bool hasButton = false;  // a small button at the right edge ("..."); a press is a click of the edit
  bool reportsDoubleClicks = false;
  Color background = kNoColor;  // the field's colour, kNoColor for the system's
  // Memos: long lines wrap at the right edge; else they scroll sideways.
  bool wrapLines = true;
  // Scroll boxes: the height of the content; 0 returns to the top.
  int contentHeight = 0;
  // Tree views: the depth of each item, 0 at the top; missing entries are 0.
  std::vector<int> levels;
  // List views.
  std::vector<ColumnDesc> columns;
  std::vector<std::vector<std::string>> rows;  // caption, then the sub-items
  std::vector<int> rowImages;                  // index in the small system image list, -1 for none
  // The file or folder whose icon a row shows, taken from the shell at the
  // list's exact icon size; empty: the row shows its rowImages picture.
  std::vector<std::string> rowIconPaths;
  std::vector<int> selectedRows;  // ascending
  bool multiSelect = false;
  bool editCaptions = false;  // a slow second click edits a row's caption in place
  // Up-downs: the edit they step.
  ControlId buddy = 0;
  // Date pickers.
  DateTime date;
  bool hasDate = true;
  // Splitters: a bar between left and right neighbours (dragged sideways),
  // else between upper and lower ones.
  bool vertical = true;
};

enum class FrameBorder { Sizeable, Dialog, Single, ToolWindow, SizeToolWindow, None };
enum class FramePlace { AsDesigned, ScreenCentre, OwnerCentre };

struct FrameDesc {
  std::string name;  // for messages and for the host model's scripts
  std::string caption;
  Rect bounds;  // position as designed, and the size of the client area
  FrameBorder border = FrameBorder::Sizeable;
  FramePlace place = FramePlace::AsDesigned;
};

// How a painted control is to be drawn.
struct PaintState {
  bool pressed = false;
  bool focused = false;
  bool isDefault = false;  // the button Enter presses
  bool enabled = true;
  bool showFocus = true;  // the focus rectangle is wanted (keyboard use)
};

// What the window system tells the logic. Every call comes from the
// dialog's own message loop.
class IFormEvents {
 public:
  virtual ~IFormEvents() = default;
  // A button pressed and released, a check box or radio button clicked, an
  // item of a list box clicked.
  virtual void Clicked(ControlId id) = 0;
  // The user changed the text of an edit, a memo or an editable combo box.
  virtual void TextChanged(ControlId id, const std::string& text) = 0;
  // The user chose an item of a list.
  virtual void SelectionChanged(ControlId id, int index) = 0;
  // A check box or radio button changed state (the neighbours of a radio
  // button report theirs too).
  virtual void CheckChanged(ControlId id, bool checked) = 0;
  // The arrows of an up-down, or Up and Down in its edit: +1 up, -1 down.
  virtual void Spun(ControlId id, int delta) = 0;
  // The user picked a date, or cleared it (hasDate off).
  virtual void DateChanged(ControlId id, bool hasDate, const DateTime& date) = 0;
  // A splitter was dragged by dx, dy pixels and let go.
  virtual void Dragged(ControlId id, int dx, int dy) = 0;
  // The rows selected in a list view changed (ascending).
  virtual void RowsSelected(ControlId id, const std::vector<int>& rows) = 0;
  // The user ended editing a row's caption in place; false refuses the text
  // (the row keeps its caption).
  virtual bool CaptionEdited(ControlId id, int row, const std::string& text) = 0;
  // A double click on a list view.
  virtual void DoubleClicked(ControlId id) = 0;
  // The user moved or resized the dialog: its position on the screen and
  // the size of its client area.
  virtual void FrameChanged(const Rect& bounds) = 0;
  // The focus moved to a control (0: to the dialog itself).
  virtual void FocusChanged(ControlId id) = 0;
  // The close box or Alt+F4.
  virtual void CloseRequested() = 0;
  // The button Enter presses now, or 0.
  virtual ControlId DefaultButton() = 0;
  // The button Escape presses now, or 0 (then Escape does nothing).
  virtual ControlId CancelButton() = 0;
  // Draws a painted control on a canvas of its size.
  virtual void PaintControl(ControlId id, ICanvas& canvas, const PaintState& state) = 0;
  // Draws the background of the dialog (container 0) or of a scroll box's
  // content (the containers the logic paints itself) on a canvas of that
  // area's size.
  virtual void PaintBackground(ControlId container, ICanvas& canvas) = 0;
  // The dialog has just appeared.
  virtual void Shown() = 0;
  // A timer of the dialog fired.
  virtual void TimerFired(int timerId) = 0;
  // Whether the dialog has ended: the loop stops once it has.
  virtual bool Ended() = 0;
};

// A dialog's window, as long as the logic holds it.
class INativeForm {
 public:
  virtual ~INativeForm() = default;
  // Makes a control; throws std::runtime_error when the system cannot.
  virtual ControlId AddControl(const ControlDesc& desc) = 0;
  // Brings a control to the description; what already matches is left alone
  // (a text the user is typing is not set again).
  virtual void UpdateControl(ControlId id, const ControlDesc& desc) = 0;
  virtual void RemoveControl(ControlId id) = 0;
  // The text a control shows now (a memo's lines joined by CR LF).
  virtual std::string ControlText(ControlId id) = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void Repaint() = 0;  // the backgrounds and every painted control
  virtual void Focus(ControlId id, bool selectAll) = 0;
  // Starts editing the caption of a list view's row in place (the user
  // ends it; CaptionEdited tells the outcome).
  virtual void EditCaption(ControlId id, int row) = 0;
  virtual ControlId FocusedControl() = 0;  // 0 when no control has it
  // The dialog's own window: the owner of the windows it opens (menus,
  // message boxes, the common dialogs).
  virtual uintptr_t WindowHandle() = 0;
  // Where the top left corner of the client area is on the screen (the
  // controls' bounds count from there).
  virtual Point ClientOrigin() = 0;
  // Starts (or restarts) a timer of the dialog firing every ms
  // milliseconds; 0 stops it. The name is for messages and the host model.
  virtual void SetTimer(int timerId, const std::string& name, uint32_t ms) = 0;
  // Shows the dialog (its owner disabled meanwhile) and runs its messages
  // until events.Ended() or the application quits; the owner is enabled and
  // activated again before this returns.
  virtual void RunModal() = 0;
  // Where a point of the client area (the controls' coordinates) is on the
  // screen.
  virtual Point ScreenPoint(Point client) {
    const Point origin = ClientOrigin();
    return Point{origin.x + client.x, origin.y + client.y};
  }
};

}  // namespace tov
