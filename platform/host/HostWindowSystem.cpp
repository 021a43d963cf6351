#include "platform/host/HostWindowSystem.h"

#include <cstdlib>
#include <stdexcept>

#include "platform/EventGuard.h"
#include "platform/Platform.h"
#include "platform/host/HostSystem.h"

namespace tov::host {

namespace {

// Every message reaches the program as the Win32 window procedure hands it
// over: an exception goes to the exception display, never to the sender.
intptr_t Deliver(IWindowHandler* handler, Message& m) {
  return GuardEvent(intptr_t(0), [&] { return handler->HandleMessage(m); });
}

}  // namespace

HostWindow::HostWindow(HostWindowSystem* owner, WindowId id, IWindowHandler* handler, const WindowParams& params)
    : owner_(owner),
      id_(id),
      handler_(handler),
      rect_(params.bounds),
      style_(params.style),
      exStyle_(params.exStyle),
      caption_(params.caption),
      visible_((params.style & WS_VISIBLE) != 0) {
  taskbarEntry = EntryByStyle();
}

HostWindow::~HostWindow() {
  if (!destroyed_) {
    destroyed_ = true;
    owner_->Forget(id_);
  }
}

Rect HostWindow::ClientRectOnScreen() {
  HostSystem& sys = owner_->System();
  int fx = 0, fy = 0;
  if (style_ & WS_THICKFRAME) {
    fx = sys.GetSystemMetrics(SM_CXFRAME);
    fy = sys.GetSystemMetrics(SM_CYFRAME);
  } else if (style_ & WS_DLGFRAME) {
    fx = sys.GetSystemMetrics(SM_CXDLGFRAME);
    fy = sys.GetSystemMetrics(SM_CYDLGFRAME);
  } else if (style_ & WS_BORDER) {
    fx = sys.GetSystemMetrics(SM_CXBORDER);
    fy = sys.GetSystemMetrics(SM_CYBORDER);
  }
  Rect c{rect_.left + fx, rect_.top + fy, rect_.right - fx, rect_.bottom - fy};
  if ((style_ & WS_CAPTION) == WS_CAPTION) c.top += sys.GetSystemMetrics(SM_CYCAPTION);
  if (c.right < c.left) c.right = c.left;
  if (c.bottom < c.top) c.bottom = c.top;
  return c;
}

void HostWindow::SetWindowPos(intptr_t insertAfter, const Rect& bounds, uint32_t flags) {
  Rect r = rect_;
  if (!(flags & SWP_NOMOVE)) {
    int w = r.Width(), h = r.Height();
    r.left = bounds.left;
    r.top = bounds.top;
    r.right = r.left + w;
    r.bottom = r.top + h;
  }
  if (!(flags & SWP_NOSIZE)) {
    r.right = r.left + bounds.Width();
    r.bottom = r.top + bounds.Height();
  }
  if (!(flags & SWP_NOZORDER)) {
    zOrder = insertAfter;
    if (insertAfter == HWND_TOPMOST) exStyle_ |= WS_EX_TOPMOST;
    if (insertAfter == HWND_NOTOPMOST || insertAfter == HWND_BOTTOM) exStyle_ &= ~uint32_t(WS_EX_TOPMOST);
  }
  if (flags & SWP_FRAMECHANGED) ++frameChanges;
  if (!(flags & SWP_NOACTIVATE)) Activate();
  if (!(r == rect_)) {
    rect_ = r;
    history.push_back(r);
    Message m{WM_WINDOWPOSCHANGED, 0, 0, 0};
    Deliver(handler_, m);
  }
}

void HostWindow::SetLong(int index, int32_t value) {
  if (index == GWL_EXSTYLE)
    exStyle_ = uint32_t(value);
  else
    style_ = uint32_t(value);
}

void HostWindow::Post(uint32_t msg, uintptr_t wParam, intptr_t lParam) { owner_->PostTo(id_, msg, wParam, lParam); }

intptr_t HostWindow::DefaultHandling(const Message& m) {
  switch (m.msg) {
    case WM_NCHITTEST: {
      Point p{int16_t(m.lParam & 0xFFFF), int16_t((m.lParam >> 16) & 0xFFFF)};
      if (!rect_.Contains(p)) return 0;
      Rect c = ClientRectOnScreen();
      if (c.Contains(p)) return HTCLIENT;
      if (!(style_ & WS_THICKFRAME)) return (style_ & WS_CAPTION) == WS_CAPTION && p.y < c.top ? HTCAPTION : HTBORDER;
      bool l = p.x < c.left, r = p.x >= c.right, t = p.y < c.top, b = p.y >= c.bottom;
      if (t && l) return HTTOPLEFT;
      if (t && r) return HTTOPRIGHT;
      if (b && l) return HTBOTTOMLEFT;
      if (b && r) return HTBOTTOMRIGHT;
      if (l) return HTLEFT;
      if (r) return HTRIGHT;
      if (b) return HTBOTTOM;
      if ((style_ & WS_CAPTION) == WS_CAPTION && p.y >= rect_.top + owner_->System().GetSystemMetrics(SM_CYFRAME))
        return HTCAPTION;
      return HTTOP;
    }
    case WM_CLOSE:
      Destroy();
      return 0;
    default:
      return 0;
  }
}

bool HostWindow::IsActive() { return owner_->active_ == id_; }

void HostWindow::Activate() {
  WindowId prev = owner_->active_;
  if (prev == id_) return;
  owner_->active_ = id_;
  if (HostWindow* old = owner_->Find(prev)) old->Send(WM_ACTIVATE, WA_INACTIVE, intptr_t(id_));
  Send(WM_ACTIVATE, WA_ACTIVE, intptr_t(prev));
}

void HostWindow::Show(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Send(WM_SHOWWINDOW, visible ? 1 : 0, 0);
}

void HostWindow::SetTimer(uint32_t id, uint32_t ms) { timers[id] = Timer{ms, owner_->System().ticks + ms}; }

void HostWindow::KillTimer(uint32_t id) { timers.erase(id); }

intptr_t HostWindow::Send(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  if (destroyed_) return 0;
  Message m{msg, wParam, lParam, 0};
  return Deliver(handler_, m);
}

void HostWindow::Destroy() {
  if (destroyed_) return;
  Send(WM_DESTROY);
  destroyed_ = true;
  visible_ = false;
  timers.clear();
  if (owner_->active_ == id_) owner_->active_ = 0;
  owner_->Forget(id_);
}

std::unique_ptr<IWindow> HostWindowSystem::CreateTopLevel(const WindowParams& params, IWindowHandler* handler) {
  WindowId id = nextId_;
  nextId_ += 0x10;
  auto w = std::make_unique<HostWindow>(this, id, handler, params);
  windows_[id] = w.get();
  w->history.push_back(w->rect_);
  handler->Attach(w.get());
  Message m{WM_CREATE, 0, 0, 0};
  Deliver(handler, m);
  return w;
}

void HostWindowSystem::Forget(WindowId id) {
  windows_.erase(id);
  // The system drops a window's hotkeys with it.
  for (auto it = hotkeys.begin(); it != hotkeys.end();)
    it = it->second.window == id ? hotkeys.erase(it) : std::next(it);
  std::deque<Posted> kept;
  for (const Posted& p : queue_) {
    if (p.window != id) kept.push_back(p);
  }
  queue_.swap(kept);
}

HostWindow* HostWindowSystem::Find(WindowId id) const {
  auto it = windows_.find(id);
  return it == windows_.end() ? nullptr : it->second;
}

void HostWindowSystem::PostTo(WindowId id, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  if (!Find(id)) return;
  queue_.push_back(Posted{id, Message{msg, wParam, lParam, 0}});
}

void HostWindowSystem::PostToAll(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  for (const auto& [id, window] : windows_)
    if (!window->destroyed_) queue_.push_back(Posted{id, Message{msg, wParam, lParam, 0}});
}

void HostWindowSystem::ForgetTaskbarEntries() {
  for (const auto& [id, window] : windows_)
    window->taskbarEntry = window->EntryByStyle();
}

int HostWindowSystem::Pump() {
  int n = 0;
  while (!queue_.empty()) {
    Posted p = queue_.front();
    queue_.pop_front();
    if (HostWindow* w = Find(p.window)) {
      Message m = p.m;
      Deliver(w->handler_, m);
      ++n;
    }
  }
  if (quitPending_) quit_ = true;
  return n;
}

int HostWindowSystem::RunMessageLoop() {
  quit_ = quitPending_ = false;
  Pump();
  return quitCode_;
}

void HostWindowSystem::QuitMessageLoop(int code) {
  quitPending_ = true;
  quitCode_ = code;
}

namespace {

// A sub-menu made when first opened: its first entries, then the batches
// the system's idle steps would add while it shows, all of them.
void MakeSubMenu(MenuEntry& e, std::vector<HostWindowSystem::ShownMenu>& shown) {
  e.children = e.expand();
  HostWindowSystem::ShownMenu menu{{}, shown.back().at, shown.back().owner, 0, {}};
  menu.madeAtOnce = e.children.size();
  if (e.more) {
    for (std::vector<MenuEntry> batch = e.more(); !batch.empty(); batch = e.more()) {
      menu.batches.push_back(batch.size());
      for (MenuEntry& b : batch)
        e.children.push_back(std::move(b));
    }
  }
  menu.entries = e.children;
  shown.push_back(std::move(menu));
}

// A sub-menu made when first opened is made as the path opens it, and kept
// among the menus shown.
int FindByPath(std::vector<MenuEntry>& entries, const std::string& path,
               std::vector<HostWindowSystem::ShownMenu>& shown) {
  size_t slash = path.find('/');
  std::string head = path.substr(0, slash);
  for (MenuEntry& e : entries) {
    if (e.separator || e.caption != head) continue;
    if (slash == std::string::npos) return e.enabled && e.children.empty() && !e.expand ? e.id : 0;
    if (e.children.empty() && e.expand) MakeSubMenu(e, shown);
    return FindByPath(e.children, path.substr(slash + 1), shown);
  }
  return 0;
}

// The entry a path names, sub-menus made as it opens them; null for none.
const MenuEntry* FindEntryByPath(std::vector<MenuEntry>& entries, const std::string& path,
                                 std::vector<HostWindowSystem::ShownMenu>& shown) {
  size_t slash = path.find('/');
  std::string head = path.substr(0, slash);
  for (MenuEntry& e : entries) {
    if (e.separator || e.caption != head) continue;
    if (slash == std::string::npos) return &e;
    if (e.children.empty() && e.expand) MakeSubMenu(e, shown);
    return FindEntryByPath(e.children, path.substr(slash + 1), shown);
  }
  return nullptr;
}

}  // namespace

int HostWindowSystem::TrackPopupMenu(const std::vector<MenuEntry>& entries, Point at, WindowId owner) {
  shownMenus.push_back(ShownMenu{entries, at, owner, 0, {}});
  if (menuChoices.empty()) return 0;
  std::string choice = menuChoices.front();
  menuChoices.pop_front();
  // "right:" and a path: a right click on that entry (one with a shell
  // path): the shell's menu for it, and the menu closes.
  if (choice.rfind("right:", 0) == 0) {
    std::vector<MenuEntry> opened = entries;
    const MenuEntry* e = FindEntryByPath(opened, choice.substr(6), shownMenus);
    if (e && !e->shellPath.empty()) tov::Shell().ShowContextMenu(owner, e->shellPath, at, false);
    return 0;
  }
  std::vector<MenuEntry> opened = entries;
  return choice.empty() ? 0 : FindByPath(opened, choice, shownMenus);
}

std::unique_ptr<INativeForm> HostWindowSystem::CreateForm(const FrameDesc& frame, WindowId owner, IFormEvents& events) {
  if (failForms > 0) {
    --failForms;
    throw std::runtime_error("The window of " + frame.name + " could not be created.");
  }
  return std::make_unique<HostForm>(this, frame, owner, events);
}

void HostWindowSystem::AdvanceTime(uint32_t ms) {
  uint32_t end = system_->ticks + ms;
  for (;;) {
    // The earliest due timer of any window, if it falls inside the span.
    HostWindow* next = nullptr;
    uint32_t nextId = 0, nextDue = end;
    for (auto& [id, w] : windows_) {
      for (auto& [tid, t] : w->timers) {
        if (t.interval > 0 && int32_t(t.due - nextDue) <= 0) {
          next = w;
          nextId = tid;
          nextDue = t.due;
        }
      }
    }
    if (!next) break;
    system_->ticks = nextDue;
    next->timers[nextId].due = nextDue + next->timers[nextId].interval;
    next->Send(WM_TIMER, nextId, 0);
    Pump();
  }
  system_->ticks = end;
  Pump();
}

bool HostWindow::RegisterHotkey(int id, uint32_t modifiers, uint32_t key) {
  ++owner_->hotkeyAttempts;
  const std::pair<uint32_t, uint32_t> combo{modifiers & 0xF, key};
  if (owner_->takenHotkeys.count(combo) || owner_->hotkeys.count(combo)) return false;
  UnregisterHotkey(id);
  owner_->hotkeys[combo] = HostWindowSystem::HotkeyOwner{id_, id};
  return true;
}

void HostWindow::UnregisterHotkey(int id) {
  for (auto it = owner_->hotkeys.begin(); it != owner_->hotkeys.end();)
    it = it->second.window == id_ && it->second.id == id ? owner_->hotkeys.erase(it) : std::next(it);
}

bool HostWindowSystem::PressHotkey(uint32_t modifiers, uint32_t key) {
  auto it = hotkeys.find({modifiers & 0xF, key});
  if (it == hotkeys.end()) return false;
  PostTo(it->second.window, WM_HOTKEY, uintptr_t(it->second.id), intptr_t((key << 16) | (modifiers & 0xF)));
  Pump();
  return true;
}

bool HostWindowSystem::BringWindowForward(WindowId id) {
  for (size_t i = 0; i < otherWindows.size(); ++i) {
    if (otherWindows[i].id != id) continue;
    TopLevelWindow w = otherWindows[i];
    w.minimized = false;
    otherWindows.erase(otherWindows.begin() + long(i));
    otherWindows.insert(otherWindows.begin(), w);
    broughtForward.push_back(id);
    foreground = id;
    return true;
  }
  return false;
}

}  // namespace tov::host
