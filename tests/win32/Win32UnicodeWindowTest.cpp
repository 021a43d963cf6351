// The program's windows are Unicode ones: a character typed in any script
// reaches the window's handler as UTF-16 units (a pair beyond the first
// plane), not as bytes of the process's code page; a caption in another
// script is the window's title whole. The high-contrast question is the
// system's own answer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/win32/Win32Platform.h"
#include "tests/win32/Display.h"

namespace tov {
namespace {

struct Recording : IWindowHandler {
  void Attach(IWindow* w) override { window = w; }
  intptr_t HandleMessage(Message& m) override {
    if (m.msg == WM_CHAR) {
      units.push_back(m.wParam);
      return 0;
    }
    return window->DefaultHandling(m);
  }
  void Paint(ICanvas&) override {}
  IWindow* window = nullptr;
  std::vector<uintptr_t> units;
};

TEST(Win32UnicodeWindow, TypedCharactersArriveAsUtf16UnitsAndTheCaptionStaysWhole) {
  TOVIRA_SKIP_WITHOUT_DISPLAY();
  win32::Win32Platform wp;
  Recording handler;
  WindowParams params;
  params.caption = "\xE6\x97\xA5\xE6\x9C\xAC";  // Japanese, in UTF-8
  params.style = WS_OVERLAPPED | WS_CAPTION;
  params.bounds = Rect{50, 50, 250, 150};
  std::unique_ptr<IWindow> window = Windows().CreateTopLevel(params, &handler);
  ASSERT_NE(window, nullptr);
  HWND hwnd = HWND(window->Id());
  EXPECT_TRUE(IsWindowUnicode(hwnd));
  wchar_t title[16] = {};
  GetWindowTextW(hwnd, title, 16);
  EXPECT_EQ(std::wstring(title), std::wstring(L"\x65E5\x672C"));

  for (wchar_t unit : {wchar_t(0x65E5), wchar_t(0xD83C), wchar_t(0xDFB5), wchar_t('a')})
    PostMessageW(hwnd, WM_CHAR, WPARAM(unit), 1);
  // The program's loop is a wide one.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  EXPECT_EQ(handler.units, (std::vector<uintptr_t>{0x65E5, 0xD83C, 0xDFB5, 'a'}));
  window->Destroy();
}

TEST(Win32UnicodeWindow, HighContrastIsTheSystemsAnswer) {
  win32::Win32Platform wp;
  HIGHCONTRASTW hc{};
  hc.cbSize = sizeof hc;
  const bool on = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
  EXPECT_EQ(System().HighContrast(), on);
}

}  // namespace
}  // namespace tov
