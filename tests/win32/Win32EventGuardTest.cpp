// An exception thrown by the program's code while the real window system is
// calling it never unwinds through the system's frames: it reaches the
// exception display, the message ends, and the window goes on working.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/EventGuard.h"
#include "platform/win32/Win32Platform.h"
#include "tests/win32/Display.h"

namespace tov {
namespace {

std::vector<std::string> g_shown;
void Record(const std::string& message) { g_shown.push_back(message); }

struct Throwing : IWindowHandler {
  void Attach(IWindow* w) override { window = w; }
  intptr_t HandleMessage(Message& m) override {
    if (m.msg == WM_USER + 1) throw std::runtime_error("posted");
    if (m.msg == WM_TIMER) {
      window->KillTimer(7);
      throw std::runtime_error("timer");
    }
    if (m.msg == WM_USER + 2) return 42;
    return window->DefaultHandling(m);
  }
  void Paint(ICanvas&) override {
    ++paints;
    throw std::runtime_error("paint");
  }
  IWindow* window = nullptr;
  int paints = 0;
};

void PumpFor(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  MSG msg;
  while (int32_t(end - GetTickCount()) > 0) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

TEST(Win32EventGuard, ExceptionsFromPostedMessagesTimersAndPaintAreShownAndTheWindowGoesOn) {
  TOVIRA_SKIP_WITHOUT_DISPLAY();
  win32::Win32Platform wp;
  const ExceptionDisplay previous = SetExceptionDisplay(&Record);
  g_shown.clear();
  Throwing handler;
  WindowParams params;
  params.caption = "Guardia";
  params.style = WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE;
  params.bounds = Rect{50, 50, 250, 150};
  std::unique_ptr<IWindow> window = Windows().CreateTopLevel(params, &handler);
  ASSERT_NE(window, nullptr);
  HWND hwnd = HWND(window->Id());
  window->Show(true);

  window->Post(WM_USER + 1, 0, 0);
  window->SetTimer(7, 20);
  PumpFor(300);
  // The paint failed once, and the window is no longer waiting to be painted.
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
  EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE));
  const int paints = handler.paints;
  PumpFor(100);
  EXPECT_EQ(handler.paints, paints);  // no endless repainting

  EXPECT_NE(std::find(g_shown.begin(), g_shown.end(), "posted"), g_shown.end());
  EXPECT_NE(std::find(g_shown.begin(), g_shown.end(), "timer"), g_shown.end());
  EXPECT_NE(std::find(g_shown.begin(), g_shown.end(), "paint"), g_shown.end());
  // The window still answers its messages.
  EXPECT_EQ(SendMessageA(hwnd, WM_USER + 2, 0, 0), 42);
  window->Destroy();
  SetExceptionDisplay(previous);
}

}  // namespace
}  // namespace tov
