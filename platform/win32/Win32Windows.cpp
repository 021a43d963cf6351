#include "platform/win32/Win32Windows.h"

#include <map>
#include <vector>

#include <shobjidl.h>

#include "platform/EventGuard.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Menus.h"
#include "platform/win32/Win32Signals.h"
#include "platform/win32/Win32Text.h"
#if __has_include("platform/win32/Win32Canvas.h")
#include "platform/win32/Win32Canvas.h"
#include "platform/win32/Win32Late.h"
#define TOVIRA_HAVE_GDI_CANVAS 1
#endif

namespace tov::win32 {

namespace {

// A Unicode class: a typed character of any script reaches the window as
// UTF-16 units (WM_CHAR), not as bytes of the process's code page.
const wchar_t* kClassName = L"TToviraForm";

// The program's icon (resource 1, none in a test program) in the size the
// system shows for each kind: the small one is drawn for its own size, not
// shrunk from the large one.
HICON ProgramIcon(WPARAM kind) {
  const bool big = kind == ICON_BIG;
  static HICON icons[2] = {HICON(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON,
                                            GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED)),
                           HICON(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON,
                                            GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED))};
  return icons[big ? 0 : 1];
}

void RegisterFormClass() {
  static bool done = false;
  if (done) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = Win32Window::WndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hIcon = ProgramIcon(ICON_BIG);
  wc.hIconSm = ProgramIcon(ICON_SMALL);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
  done = true;
}

struct CreateContext {
  Win32Window* window;
  IWindowHandler* handler;
};

// The thread's COM, initialised once by the program's entry; where a thread
// has none (a test, a tool), a balanced pair of our own around the call.
struct ComForCall {
  HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ~ComForCall() {
    if (SUCCEEDED(init)) CoUninitialize();
  }
};

}  // namespace

Win32Window::~Win32Window() { Destroy(); }

Rect Win32Window::WindowRect() {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return Rect{r.left, r.top, r.right, r.bottom};
}

Rect Win32Window::ClientRectOnScreen() {
  RECT r{};
  GetClientRect(hwnd_, &r);
  POINT a{r.left, r.top}, b{r.right, r.bottom};
  ClientToScreen(hwnd_, &a);
  ClientToScreen(hwnd_, &b);
  return Rect{a.x, a.y, b.x, b.y};
}

void Win32Window::SetWindowPos(intptr_t insertAfter, const Rect& b, uint32_t flags) {
  ::SetWindowPos(hwnd_, reinterpret_cast<HWND>(insertAfter), b.left, b.top, b.Width(), b.Height(), flags);
}

int32_t Win32Window::GetLong(int index) { return int32_t(GetWindowLongA(hwnd_, index)); }
void Win32Window::SetLong(int index, int32_t value) { SetWindowLongA(hwnd_, index, LONG(value)); }

void Win32Window::Post(uint32_t msg, uintptr_t wParam, intptr_t lParam) { PostMessageW(hwnd_, msg, wParam, lParam); }

intptr_t Win32Window::DefaultHandling(const Message& m) { return DefWindowProcW(hwnd_, m.msg, m.wParam, m.lParam); }

void Win32Window::UpdateNow() { UpdateWindow(hwnd_); }
void Win32Window::Invalidate() { InvalidateRect(hwnd_, nullptr, FALSE); }
bool Win32Window::IsActive() { return GetActiveWindow() == hwnd_; }

void Win32Window::Activate() {
  SetActiveWindow(hwnd_);
  SetFocus(hwnd_);
}

void Win32Window::BringToForeground() {
  if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  SetForegroundWindow(hwnd_);
  SetFocus(hwnd_);
}

bool Win32Window::IsVisible() { return IsWindowVisible(hwnd_) != 0; }
void Win32Window::Show(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE); }
void Win32Window::SetTimer(uint32_t id, uint32_t ms) { ::SetTimer(hwnd_, id, ms, nullptr); }
void Win32Window::KillTimer(uint32_t id) { ::KillTimer(hwnd_, id); }

void Win32Window::DeleteSystemMenuCommand(uint32_t command) {
  if (HMENU m = GetSystemMenu(hwnd_, FALSE)) DeleteMenu(m, command, MF_BYCOMMAND);
}

void Win32Window::ShowTaskbarEntry(bool show) {
  // The task bar's list object is made for each change and released at once:
  // one kept beyond the thread's COM would outlive the library it lives in.
  ComForCall com;
  ITaskbarList* list = nullptr;
  if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList,
                              reinterpret_cast<void**>(&list))) ||
      !list)
    return;
  if (SUCCEEDED(list->HrInit())) {
    if (show)
      list->AddTab(hwnd_);
    else
      list->DeleteTab(hwnd_);
  }
  list->Release();
}

void Win32Window::SetCaption(const std::string& caption) { SetWindowTextW(hwnd_, WideText(caption).c_str()); }

void Win32Window::StartSystemMove() {
  ReleaseCapture();
  SendMessageA(hwnd_, WM_SYSCOMMAND, 0xF012, 0);
}

void Win32Window::AllowMessageFromOthers(uint32_t msg) {
  // ChangeWindowMessageFilterEx (Windows 7): MSGFLT_ALLOW is 1.
  using Filter = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  if (auto filter = LateFunction<Filter>("user32.dll", "ChangeWindowMessageFilterEx")) filter(hwnd_, msg, 1, nullptr);
}

void Win32Window::ListenForSessionChanges() {
  // WTSRegisterSessionNotification for this session only (NOTIFY_FOR_THIS_SESSION 0).
  using Register = BOOL(WINAPI*)(HWND, DWORD);
  if (sessionNotices_) return;
  if (auto reg = LateFunction<Register>("wtsapi32.dll", "WTSRegisterSessionNotification"))
    sessionNotices_ = reg(hwnd_, 0) != FALSE;
}

void Win32Window::Destroy() {
  if (destroyed_ || !hwnd_) return;
  destroyed_ = true;
  if (sessionNotices_) {
    using Unregister = BOOL(WINAPI*)(HWND);
    if (auto unreg = LateFunction<Unregister>("wtsapi32.dll", "WTSUnRegisterSessionNotification")) unreg(hwnd_);
    sessionNotices_ = false;
  }
  DestroyWindow(hwnd_);
}

void Win32Window::PaintNow() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client{};
  GetClientRect(hwnd_, &client);
#ifdef TOVIRA_HAVE_GDI_CANVAS
  // Painted off screen, then copied in one go: no flicker.
  if (Sys().canvases && client.right > 0 && client.bottom > 0) {
    auto canvas = Canvases().CreateBitmapCanvas(client.right, client.bottom);
    canvas->FillRect(Rect{0, 0, client.right, client.bottom}, Canvases().SysColor(COLOR_BTNFACE));
    // The paint always ends, even when the program's painting fails.
    GuardEvent([&] { handler_->Paint(*canvas); });
    if (HDC src = CanvasDc(*canvas)) BitBlt(dc, 0, 0, client.right, client.bottom, src, 0, 0, SRCCOPY);
  }
#else
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
#endif
  EndPaint(hwnd_, &ps);
}

LRESULT CALLBACK Win32Window::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    auto* ctx = static_cast<CreateContext*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self = ctx->window;
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->handler_->Attach(self);
    // Where the system scales frames only when asked (per-monitor awareness
    // of the first version), the frame follows the monitor's scale too.
    EnableFrameScaling(hwnd);
  }
  if (!self || (self->destroyed_ && msg != WM_DESTROY && msg != WM_NCDESTROY))
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  // No exception crosses the system's frames: it is shown, and the message
  // ends with the answer 0.
  return GuardEvent(LRESULT(0), [&]() -> LRESULT {
    LRESULT drawn = 0;
    if (HandleShellMenuMessage(msg, wParam, lParam, &drawn)) return drawn;
    if (HandleMenuDrawing(msg, wParam, lParam, &drawn)) return drawn;
    switch (msg) {
      case WM_PAINT:
        self->PaintNow();
        return 0;
      case WM_ERASEBKGND:
        return 1;  // the paint step covers the whole client area
      case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->destroyed_ = true;
        self->accessible_->source = nullptr;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
      case WM_GETOBJECT:
        // The client object is the logic's; the others stay the system's.
        if (LONG(lParam) == LONG(OBJID_CLIENT) && self->accessible_->source) {
          if (const LRESULT r = AnswerGetObject(hwnd, wParam, self->accessible_)) return r;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
      default:
        break;
    }
    tov::Message m{msg, wParam, lParam, 0};
    return self->handler_->HandleMessage(m);
  });
}

std::unique_ptr<IWindow> Win32WindowSystem::CreateTopLevel(const WindowParams& params, IWindowHandler* handler) {
  RegisterFormClass();
  auto window = std::make_unique<Win32Window>(handler);
  CreateContext ctx{window.get(), handler};
  const Rect& b = params.bounds;
  HWND hwnd = CreateWindowExW(params.exStyle, kClassName, WideText(params.caption).c_str(), params.style & ~WS_VISIBLE,
                              b.left, b.top, b.Width(), b.Height(), nullptr, nullptr, GetModuleHandleW(nullptr), &ctx);
  if (!hwnd) return nullptr;
  return window;
}

bool Win32Window::RegisterHotkey(int id, uint32_t modifiers, uint32_t key) {
  // Held down, the combination fires once.
  return ::RegisterHotKey(hwnd_, id, UINT(modifiers) | MOD_NOREPEAT, UINT(key)) != FALSE;
}

void Win32Window::UnregisterHotkey(int id) { ::UnregisterHotKey(hwnd_, id); }

void Win32Window::NotifyAccessibleFocus(int child) {
  NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd_, OBJID_CLIENT, child > 0 ? LONG(child) : LONG(CHILDID_SELF));
}

namespace {

std::string ProcessImagePath(DWORD pid, std::string* shortPath) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return std::string();
  std::vector<wchar_t> path(32768);
  DWORD n = DWORD(path.size());
  const BOOL ok = QueryFullProcessImageNameW(process, 0, path.data(), &n);
  CloseHandle(process);
  if (!ok || n == 0) return std::string();
  std::vector<wchar_t> shortForm(path.size());
  const DWORD s = GetShortPathNameW(path.data(), shortForm.data(), DWORD(shortForm.size()));
  if (s > 0 && s < shortForm.size()) *shortPath = Utf8Text(shortForm.data(), int(s));
  return Utf8Text(path.data(), int(n));
}

struct WindowWalk {
  std::vector<TopLevelWindow>* out;
  std::map<DWORD, std::pair<std::string, std::string>> images;  // by process
};

BOOL CALLBACK AddTopLevel(HWND hwnd, LPARAM lParam) {
  auto* walk = reinterpret_cast<WindowWalk*>(lParam);
  if (!IsWindowVisible(hwnd) || GetWindow(hwnd, GW_OWNER) != nullptr) return TRUE;
  if (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == GetCurrentProcessId()) return TRUE;
  auto it = walk->images.find(pid);
  if (it == walk->images.end()) {
    std::string shortPath;
    std::string image = ProcessImagePath(pid, &shortPath);
    it = walk->images.emplace(pid, std::make_pair(std::move(image), std::move(shortPath))).first;
  }
  if (it->second.first.empty()) return TRUE;
  walk->out->push_back(TopLevelWindow{WindowId(hwnd), it->second.first, it->second.second, IsIconic(hwnd) != FALSE});
  return TRUE;
}

}  // namespace

std::vector<TopLevelWindow> Win32WindowSystem::TopLevelWindows() {
  std::vector<TopLevelWindow> windows;
  WindowWalk walk{&windows, {}};
  EnumWindows(&AddTopLevel, reinterpret_cast<LPARAM>(&walk));  // topmost first
  return windows;
}

bool Win32WindowSystem::BringWindowForward(WindowId id) {
  HWND hwnd = HWND(id);
  if (!IsWindow(hwnd)) return false;
  if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
  return SetForegroundWindow(hwnd) != FALSE;
}

int Win32WindowSystem::RunMessageLoop() {
  MSG msg;
  // Wide messages: a typed character of any script stays one character on
  // its way to a control.
  while (NextMessage(&msg) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return int(msg.wParam);
}

bool Win32WindowSystem::PumpWaiting() {
  ServeSignals();
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) return false;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

void Win32WindowSystem::QuitMessageLoop(int code) { PostQuitMessage(code); }

int Win32WindowSystem::TrackPopupMenu(const std::vector<MenuEntry>& entries, Point at, WindowId owner) {
  return TrackMenu(entries, at, HWND(owner));
}

}  // namespace tov::win32
