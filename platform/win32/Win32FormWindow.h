// The inside of a Win32 dialog, shared by the files that realise its kinds of
// control: Win32NativeForm.cpp (the frame, its messages, the message loop),
// Win32FormControls.cpp (the plain controls: made, updated, reporting),
// Win32ScrollBox.cpp, Win32FormLists.cpp (tree and list views) and
// Win32FormInputs.cpp (up-downs, date pickers, splitters, the extras of edits,
// tooltips). Not for use outside the Win32 layer.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "base/Dpi.h"
#include "platform/NativeForm.h"
#include "platform/win32/WinApi.h"

#include <commctrl.h>

namespace tov::win32::form {

// Messages a dialog posts or is sent by the windows on it.
enum : UINT {
  kMsgRowsSelected = WM_APP + 1,  // wParam: a list view's id; its selection is reported now
  kMsgDragged,                    // wParam: a splitter's id; lParam: MAKELPARAM(dx, dy)
  kMsgDialogDpi,                  // answers the scale the dialog is laid out at
};

// The scale the dialog a window lies on is laid out at (96 outside a dialog).
Dpi DialogDpi(HWND inside);

// Control ids start above IDOK and IDCANCEL, which the dialog manager sends
// for Enter and Escape when nothing else claims them: Escape finds nothing.
constexpr int kFirstControlId = 100;

// A colour of the seam as GDI takes it.
COLORREF ToColorRef(Color c);
// A window's text, however long.
std::string WindowText(HWND h);

// The fonts of a dialog, one per description, all freed with the dialog.
class DialogFonts {
 public:
  DialogFonts() = default;
  ~DialogFonts();
  DialogFonts(const DialogFonts&) = delete;
  DialogFonts& operator=(const DialogFonts&) = delete;
  HFONT Get(const FontSpec& wanted);

 private:
  std::map<std::string, HFONT> fonts_;
};

// The width of an edit's "..." button in pixels: square on a usual edit
// (`edit` in pixels).
int EditButtonWidth(const Rect& edit, Dpi dpi);

// A dialog's list-view pictures at one size (the small icon's for a scale),
// in an image list of that size freed with the dialog. A row that names a
// file or folder shows the shell's icon for it taken at exactly that size
// (the call the bar's buttons make), each kept for the dialog's life; else,
// or where the shell gives none, the shell's image by index, from its small
// list where that is the size, else from its large one drawn down.
class RowPictures {
 public:
  explicit RowPictures(int side);
  ~RowPictures();
  RowPictures(const RowPictures&) = delete;
  RowPictures& operator=(const RowPictures&) = delete;
  HIMAGELIST List() const { return list_; }
  int Side() const { return side_; }
  // The index in List() of a row's picture, -1 where it has none.
  int Of(int image, const std::string& path);

 private:
  int side_;
  HIMAGELIST list_ = nullptr;
  std::map<int, int> ofImage_;
  std::map<std::string, int> ofPath_;
};

// A list view's images at a new scale: the list of the small icon's size for
// it, every row's picture taken into it.
void RescaleListImages(HWND list, const ControlDesc& d, RowPictures& images);

// Scroll boxes: a child window with a vertical scroll bar whose content (the
// controls placed in it) moves as it scrolls. The window asks the events for
// its background and hands the notifications of its controls to its parent.
HWND CreateScrollBox(HWND parent, ControlId id, const Rect& r, IFormEvents& events);
int ScrollOffset(HWND box);                   // how far the content is scrolled down
void SetContentHeight(HWND box, int height);  // 0 returns to the top
void ScrollTo(HWND box, int offset);
// Scrolls the box so that r (in its client coordinates now) shows.
void ScrollIntoView(HWND box, const RECT& r);
// A wheel message turned over the scroll box under the pointer (or one of its
// controls that does not scroll itself); false when none is under it.
bool WheelToScrollBox(const MSG& msg);

// Splitters: a bar that captures the mouse while dragged and, once let go,
// sends kMsgDragged to the dialog.
HWND CreateSplitter(HWND parent, ControlId id, const Rect& r, bool vertical);
void SetSplitterVertical(HWND splitter, bool vertical);

class NativeForm final : public INativeForm {
 public:
  NativeForm(const FrameDesc& frame, HWND owner, IFormEvents& events);
  ~NativeForm() override;
  NativeForm(const NativeForm&) = delete;
  NativeForm& operator=(const NativeForm&) = delete;

  ControlId AddControl(const ControlDesc& desc) override;
  void UpdateControl(ControlId id, const ControlDesc& desc) override;
  void RemoveControl(ControlId id) override;
  std::string ControlText(ControlId id) override;
  void SetCaption(const std::string& caption) override;
  void Repaint() override;
  void Focus(ControlId id, bool selectAll) override;
  void EditCaption(ControlId id, int row) override;
  ControlId FocusedControl() override;
  uintptr_t WindowHandle() override { return reinterpret_cast<uintptr_t>(hwnd_); }
  Point ClientOrigin() override;
  void RunModal() override;
  void SetTimer(int timerId, const std::string& name, uint32_t ms) override;
  Point ScreenPoint(Point client) override;

 private:
  struct Control {
    ControlId id = 0;
    HWND hwnd = nullptr;
    ControlDesc desc;              // as shown now
    HWND button = nullptr;         // edits: the "..." button
    HBRUSH brush = nullptr;        // edits: the field's colour
    int narrowed = 0;              // edits: the width the button or an up-down takes at the right
    std::vector<HTREEITEM> nodes;  // tree views: the items in outline order
    bool rowsPending = false;      // list views: a selection change waits to be reported
    HWND tipOwner = nullptr;       // the window its tooltip was registered with
  };

  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // Edits that report a double click: the system's edit, subclassed.
  static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  HWND Create(const ControlDesc& desc, ControlId id);
  void Apply(Control& ctl, const ControlDesc& desc, bool created);
  void Place(Control& ctl);
  HWND ParentOf(const ControlDesc& desc);
  Control* Find(ControlId id);
  Control* FindWindow(HWND h);
  void Command(int id, int code, HWND from);
  LRESULT Notify(const NMHDR& hdr);
  void ReportChecks();
  void Paint();
  void ShowFocused(HWND focus);
  void Release(Control& ctl);
  void Destroy();
  void ReportFrame();
  // A control's bounds (units) as pixels of the window it lies on.
  Rect Pixels(const Rect& units) const;
  HFONT FontOf(const FontSpec& font);
  // Lays the dialog out again at another scale, in the frame given (screen
  // pixels of the whole window).
  void Rescale(Dpi dpi, const RECT& frame);

  // Win32FormLists.cpp
  void ApplyTree(Control& ctl, const ControlDesc& old, bool created);
  LRESULT NotifyTree(Control& ctl, const NMHDR& hdr);
  void ApplyList(Control& ctl, const ControlDesc& old, bool created);
  LRESULT NotifyList(Control& ctl, const NMHDR& hdr);
  void ReportRows(ControlId id);
  // The list views' pictures at the dialog's scale now.
  RowPictures& RowPicturesAt(Dpi dpi);

  // Win32FormInputs.cpp
  void ApplyEdit(Control& ctl, const ControlDesc& old, bool created);
  void ApplyUpDown(Control& ctl, const ControlDesc& old, bool created);
  void AttachUpDown(Control& updown);
  void ApplyDate(Control& ctl);
  LRESULT NotifyInput(Control& ctl, const NMHDR& hdr);
  void ApplyTooltip(Control& ctl, const ControlDesc& old);
  void RemoveTooltip(Control& ctl);
  LRESULT EditColors(Control& ctl, HDC dc);

  IFormEvents& events_;
  HWND owner_;
  HWND hwnd_ = nullptr;
  HWND lastFocus_ = nullptr;
  HWND tooltip_ = nullptr;
  DialogFonts fonts_;
  std::map<int, RowPictures> rowPictures_;  // by side; freed after the list views
  Dpi dpi_;                                 // the scale of the monitor the dialog is on
  std::vector<Control> controls_;
  int nextId_ = kFirstControlId;
  int applying_ = 0;
  bool keyboardCues_ = false;
  bool shown_ = false;  // the frame's moves are reported once it shows
  Rect lastFrame_;
};

}  // namespace tov::win32::form
