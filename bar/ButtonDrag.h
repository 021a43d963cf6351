// Dragging a button along the bar to another place: past the system's drag
// threshold the bar shows where the button will land, a release drops it
// there and Esc cancels. The places are worked out from the rectangles of
// the bar's positions (buttons and separators) alone.
#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "controls/ButtonHost.h"
#include "platform/Canvas.h"
#include "platform/Geometry.h"
#include "platform/Window.h"

namespace tov {

// Where a dragged button would land: before position slot (slot == the
// number of positions: after the last), with the landing mark to draw.
struct TDropPlace {
  size_t slot = 0;
  Rect mark;
};

// The landing place for the mouse at p. positions: the bar's positions in
// their order; vertical: they run top to bottom (a bar docked on the left or
// right), else left to right, in lines. The line is the one p lies across
// (the nearest one when p lies across none), and within it the slot is
// before the first position whose middle lies past p. Nothing for no
// positions.
std::optional<TDropPlace> DropPlaceAt(const std::vector<Rect>& positions, Point p, bool vertical);

// Where a dragged button is let go: onto a folder target, or between
// positions (place).
struct TDragTarget {
  std::optional<size_t> onto;  // the position of the folder target
  std::optional<TDropPlace> place;
};

// folders: for each position, the folder its target is (empty for none;
// shorter than positions: the rest have none). p falls onto a folder position
// other than from when it lies inside its rectangle and a quarter of its
// length or more from both of its ends along the line; near those ends, and
// anywhere else, it falls between positions (DropPlaceAt), so a button can
// still be put beside a folder button.
TDragTarget DragTargetAt(const std::vector<Rect>& positions, const std::vector<std::string>& folders, int from, Point p,
                         bool vertical);

// The order the dragged position takes when dropped before slot; -1 when
// that leaves it where it is.
int DroppedOrder(int from, size_t slot);

// The drag's course: pressed on a position, then dragging once the mouse
// moved past the threshold from where it was pressed (dx or dy more than
// half of it either way, as the system counts), until dropped or cancelled.
class TButtonDrag {
 public:
  void Press(int from, Point at);
  // The mouse moved (button still down): true while dragging.
  bool Move(Point at, Size threshold);
  bool Pressed() const { return from_ >= 0; }
  bool Dragging() const { return dragging_; }
  int From() const { return from_; }
  // Ends the drag (release or Esc): true when it was dragging.
  bool End();

 private:
  int from_ = -1;
  Point down_;
  bool dragging_ = false;
};

// What a drag along the bar needs of the bar.
struct TBarDragHooks {
  std::function<std::vector<Rect>()> positions;  // the positions' rectangles, in their order
  std::function<bool()> vertical;                // laid out top to bottom
  std::function<void(int from, int to)> move;    // moves a position and rebuilds (and saves) the bar
  std::function<void()> invalidate;
};

// The bar's drag: fed the window's mouse and keys before its buttons see
// them. A press on a button is noted and passed on; past the threshold the
// drag takes the mouse (the button pressed is let go without a click) and
// shows the landing mark, or a frame around a folder target it is over; the
// release moves the button there, or hands it to the folder target; Esc, or the
// button found up when the mouse comes back from outside the window, ends it
// with nothing moved.
class TBarDrag {
 public:
  TBarDrag(TButtonHost& buttons, TBarDragHooks hooks) : buttons_(buttons), hooks_(std::move(hooks)) {}
  // True when the drag took the message.
  bool HandleMessage(const Message& m);
  // The landing mark, while dragging.
  void PaintMark(ICanvas& canvas) const;
  bool Dragging() const { return drag_.Dragging(); }
  // Folder targets: folders gives, for each position, the folder its target
  // is (read as a drag starts); dropOnto takes the button from let go onto
  // one, at a point of the window. Without them there are none.
  void SetFolderTargets(std::function<std::vector<std::string>()> folders,
                        std::function<void(int from, const std::string& folder, Point at)> dropOnto) {
    foldersOf_ = std::move(folders);
    dropOnto_ = std::move(dropOnto);
  }
  // The folder target the mouse is over while dragging, if any.
  const std::optional<Rect>& OntoFolder() const { return ontoRect_; }

 private:
  void Finish();
  TDragTarget TargetAt(Point p) const;

  TButtonHost& buttons_;
  TBarDragHooks hooks_;
  TButtonDrag drag_;
  std::optional<TDropPlace> place_;
  std::function<std::vector<std::string>()> foldersOf_;
  std::function<void(int from, const std::string& folder, Point at)> dropOnto_;
  std::vector<std::string> folders_;  // of the drag under way
  std::optional<Rect> ontoRect_;      // the folder target the mouse is over
};

}  // namespace tov
