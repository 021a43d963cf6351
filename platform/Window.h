// Top-level windows. The logic owns an IWindowHandler; the layer underneath
// (Win32 or the headless host) owns the real window, turns whatever happens to
// it into Messages with Windows' own numbers and hands them to the handler.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Accessible.h"
#include "platform/Geometry.h"
#include "platform/NativeForm.h"
#include "platform/Shell.h"

namespace tov {

class ICanvas;

// Window messages, with the values Windows gives them.
enum WindowMessage : uint32_t {
  WM_CREATE = 0x0001,
  WM_DESTROY = 0x0002,
  WM_MOVE = 0x0003,
  WM_SIZE = 0x0005,
  WM_ACTIVATE = 0x0006,
  WM_SETFOCUS = 0x0007,
  WM_PAINT = 0x000F,
  WM_CLOSE = 0x0010,
  WM_QUERYENDSESSION = 0x0011,
  WM_QUIT = 0x0012,
  WM_ENDSESSION = 0x0016,
  WM_SHOWWINDOW = 0x0018,
  WM_SETTINGCHANGE = 0x001A,
  WM_GETMINMAXINFO = 0x0024,
  WM_WINDOWPOSCHANGED = 0x0047,
  WM_DISPLAYCHANGE = 0x007E,
  WM_NCHITTEST = 0x0084,
  WM_NCMOUSEMOVE = 0x00A0,
  WM_KEYDOWN = 0x0100,
  WM_SYSKEYDOWN = 0x0104,
  WM_COMMAND = 0x0111,
  WM_SYSCOMMAND = 0x0112,
  WM_TIMER = 0x0113,
  WM_MOUSEMOVE = 0x0200,
  WM_LBUTTONDOWN = 0x0201,
  WM_LBUTTONUP = 0x0202,
  WM_LBUTTONDBLCLK = 0x0203,
  WM_RBUTTONDOWN = 0x0204,
  WM_RBUTTONUP = 0x0205,
  WM_SIZING = 0x0214,
  WM_MOVING = 0x0216,
  WM_POWERBROADCAST = 0x0218,
  WM_DEVICECHANGE = 0x0219,
  WM_ENTERSIZEMOVE = 0x0231,
  WM_EXITSIZEMOVE = 0x0232,
  WM_DROPFILES = 0x0233,
  WM_MOUSELEAVE = 0x02A3,
  WM_DPICHANGED = 0x02E0,
  WM_WTSSESSION_CHANGE = 0x02B1,
  WM_THEMECHANGED = 0x031A,
  WM_DWMCOMPOSITIONCHANGED = 0x031E,
  WM_DWMNCRENDERINGCHANGED = 0x031F,
  WM_KILLFOCUS = 0x0008,
  WM_GETOBJECT = 0x003D,
  WM_CONTEXTMENU = 0x007B,
  WM_CHAR = 0x0102,
  WM_HOTKEY = 0x0312,
  WM_USER = 0x0400,
};

enum : int { WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2 };

// What the desktop tells its windows when it changes under them: the work
// area (WM_SETTINGCHANGE), devices (WM_DEVICECHANGE), power
// (WM_POWERBROADCAST) and the session (WM_WTSSESSION_CHANGE).
enum : uint32_t {
  SPI_SETWORKAREA = 0x002F,
  DBT_DEVNODES_CHANGED = 0x0007,
  PBT_APMRESUMESUSPEND = 0x0007,
  PBT_APMRESUMEAUTOMATIC = 0x0012,
  WTS_CONSOLE_CONNECT = 0x1,
  WTS_REMOTE_CONNECT = 0x3,
  WTS_SESSION_UNLOCK = 0x8,
};

// WM_NCHITTEST answers.
enum HitTest : int {
  HTCLIENT = 1,
  HTCAPTION = 2,
  HTLEFT = 10,
  HTRIGHT = 11,
  HTTOP = 12,
  HTTOPLEFT = 13,
  HTTOPRIGHT = 14,
  HTBOTTOM = 15,
  HTBOTTOMLEFT = 16,
  HTBOTTOMRIGHT = 17,
  HTBORDER = 18,
};

// WM_SIZING sides.
enum : int {
  WMSZ_LEFT = 1,
  WMSZ_RIGHT = 2,
  WMSZ_TOP = 3,
  WMSZ_TOPLEFT = 4,
  WMSZ_TOPRIGHT = 5,
  WMSZ_BOTTOM = 6,
  WMSZ_BOTTOMLEFT = 7,
  WMSZ_BOTTOMRIGHT = 8,
};

// Window styles and style indexes.
enum : int { GWL_EXSTYLE = -20, GWL_STYLE = -16 };
enum : uint32_t {
  WS_OVERLAPPED = 0x00000000,
  WS_MAXIMIZEBOX = 0x00010000,
  WS_MINIMIZEBOX = 0x00020000,
  WS_THICKFRAME = 0x00040000,
  WS_SYSMENU = 0x00080000,
  WS_DLGFRAME = 0x00400000,
  WS_BORDER = 0x00800000,
  WS_CAPTION = 0x00C00000,
  WS_VISIBLE = 0x10000000,
  WS_POPUP = 0x80000000,
  WS_EX_DLGMODALFRAME = 0x00000001,
  WS_EX_TOPMOST = 0x00000008,
  WS_EX_TOOLWINDOW = 0x00000080,
  WS_EX_WINDOWEDGE = 0x00000100,
  WS_EX_APPWINDOW = 0x00040000,
  WS_EX_LAYERED = 0x00080000,
};

// SetWindowPos flags and z-order targets.
enum : uint32_t {
  SWP_NOSIZE = 0x0001,
  SWP_NOMOVE = 0x0002,
  SWP_NOZORDER = 0x0004,
  SWP_NOACTIVATE = 0x0010,
  SWP_FRAMECHANGED = 0x0020,
};
enum ZOrder : intptr_t { HWND_TOP = 0, HWND_BOTTOM = 1, HWND_TOPMOST = -1, HWND_NOTOPMOST = -2 };

// System menu commands.
enum : uint32_t { SC_MOVE = 0xF010, SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030, SC_RESTORE = 0xF120 };

// MINMAXINFO, with the layout Windows gives it.
struct MinMaxInfo {
  Point reserved;
  Point maxSize;
  Point maxPosition;
  Point minTrackSize;
  Point maxTrackSize;
};

struct Message {
  uint32_t msg = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
  intptr_t result = 0;
};

class IWindow {
 public:
  virtual ~IWindow() = default;
  virtual WindowId Id() const = 0;
  virtual Rect WindowRect() = 0;
  virtual Rect ClientRectOnScreen() = 0;  // the client area in screen coordinates
  virtual void SetWindowPos(intptr_t insertAfter, const Rect& bounds, uint32_t flags) = 0;
  virtual int32_t GetLong(int index) = 0;
  virtual void SetLong(int index, int32_t value) = 0;
  virtual void Post(uint32_t msg, uintptr_t wParam, intptr_t lParam) = 0;
  // The framework's own handling of a message.
  virtual intptr_t DefaultHandling(const Message& m) = 0;
  virtual void UpdateNow() = 0;  // paint pending invalid parts at once
  virtual void Invalidate() = 0;
  virtual bool IsActive() = 0;
  virtual void Activate() = 0;
  // Brings the window to the foreground and activates it, as a window of
  // another program may once that program allowed it (SetForegroundWindow).
  virtual void BringToForeground() { Activate(); }
  virtual bool IsVisible() = 0;
  virtual void Show(bool visible) = 0;
  virtual void SetTimer(uint32_t id, uint32_t ms) = 0;
  virtual void KillTimer(uint32_t id) = 0;
  virtual void DeleteSystemMenuCommand(uint32_t command) = 0;
  // Shows or hides the program's entry on the task bar.
  virtual void ShowTaskbarEntry(bool show) = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // Releases the mouse capture and starts moving the window with the mouse,
  // as a press on its caption does.
  virtual void StartSystemMove() = 0;
  virtual void Destroy() = 0;
  // Lets a registered message from processes of lower rights reach the
  // window (the message filter of an elevated program would drop it).
  virtual void AllowMessageFromOthers(uint32_t msg) { (void)msg; }
  // Asks for WM_WTSSESSION_CHANGE: the session locked, unlocked, connected
  // to another console or to a remote desktop.
  virtual void ListenForSessionChanges() {}
  // A global hotkey for this window: pressed anywhere, it posts WM_HOTKEY
  // with id in wParam. False when the system or another program holds the
  // combination (modifiers: MOD_ bits; key: a virtual-key code).
  virtual bool RegisterHotkey(int id, uint32_t modifiers, uint32_t key) {
    (void)id, (void)modifiers, (void)key;
    return false;
  }
  virtual void UnregisterHotkey(int id) { (void)id; }
  // What the window tells assistive technology (WM_GETOBJECT is answered
  // from it; null: the system's standard object alone).
  virtual void SetAccessibleSource(IAccessibleSource* source) { (void)source; }
  // The keyboard focus moved to a child (1-based; 0: the window itself).
  virtual void NotifyAccessibleFocus(int child) { (void)child; }
};

class IWindowHandler {
 public:
  virtual ~IWindowHandler() = default;
  // The window this handler serves, told before its first message arrives.
  virtual void Attach(IWindow* window) { (void)window; }
  // Every message of the window; answers the message's result. Handlers that
  // want the framework's handling call IWindow::DefaultHandling themselves.
  virtual intptr_t HandleMessage(Message& m) = 0;
  virtual void Paint(ICanvas& canvas) = 0;
};

// One entry of a pop-up menu as the window system shows it.
struct MenuEntry {
  int id = 0;  // answered when chosen; 0 for entries that are not commands
  std::string caption;
  bool separator = false;
  bool enabled = true;
  bool checked = false;
  bool radio = false;  // checked entries drawn with a bullet
  bool isDefault = false;
  uintptr_t imageList = 0;  // an image list and an index for the entry's icon
  int imageIndex = -1;
  int extraHeight = 0;              // pixels added to the entry's standard height
  std::vector<MenuEntry> children;  // a sub-menu
  // A sub-menu made when it is first opened (children empty until then):
  // answers its entries, whose ids are unique within the whole menu.
  std::function<std::vector<MenuEntry>()> expand;
  // A file or folder: a right click on the entry shows the shell's own
  // context menu for it (IShell::ShowContextMenu) over the menu.
  std::string shellPath;
  // A sub-menu made in steps (a folder of thousands of entries): expand
  // answers the first screenful, and each call of more the next batch to
  // add at the end, empty once all are there. The Win32 menus take every
  // batch before the sub-menu shows (a shown menu does not grow).
  std::function<std::vector<MenuEntry>()> more;
};

// A top-level window of any program, as launch-or-switch sees it.
struct TopLevelWindow {
  WindowId id = 0;
  std::string imagePath;       // the full path of the process's executable
  std::string shortImagePath;  // the same in short (8.3) form, where there is one
  bool minimized = false;
};

struct WindowParams {
  std::string caption;
  uint32_t style = WS_OVERLAPPED;
  uint32_t exStyle = 0;
  Rect bounds;
};

class IWindowSystem {
 public:
  virtual ~IWindowSystem() = default;
  // Creates the window; WM_CREATE reaches the handler before this returns.
  virtual std::unique_ptr<IWindow> CreateTopLevel(const WindowParams& params, IWindowHandler* handler) = 0;
  virtual int RunMessageLoop() = 0;  // until QuitMessageLoop
  virtual void QuitMessageLoop(int code) = 0;
  virtual WindowId ActiveWindow() = 0;
  // Shows a pop-up menu at a screen point and waits for the choice; answers
  // the chosen entry's id, or 0 when the menu was dismissed.
  virtual int TrackPopupMenu(const std::vector<MenuEntry>& entries, Point at, WindowId owner) = 0;
  // Makes the window of a dialog owned by owner (hidden until it runs),
  // which reports to events; throws std::runtime_error when the system
  // cannot make it.
  virtual std::unique_ptr<INativeForm> CreateForm(const FrameDesc& frame, WindowId owner, IFormEvents& events) = 0;
  // Whether work may run on a thread of its own and post its results to a
  // window from there (IWindow::Post is then safe from any thread, and so
  // are the shell's IconPicture and the file calls). Where not, such work
  // runs at once on the calling thread.
  virtual bool PostsFromThreads() { return false; }
  // The top-level windows of every program that have a place on the task
  // bar (visible, not tool windows, owned by none), topmost first, each with
  // the path of its process's image.
  virtual std::vector<TopLevelWindow> TopLevelWindows() { return {}; }
  // Brings a window (of any program) to the front, restoring it first when
  // minimised; false when the system refused.
  virtual bool BringWindowForward(WindowId id) {
    (void)id;
    return false;
  }
  // The window that has the foreground now (of any program; 0: none).
  virtual WindowId ForegroundWindow() { return 0; }
};

}  // namespace tov
