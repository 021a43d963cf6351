// The Win32 half of the keyboard and accessibility seam: a window's client
// object answered from the logic's source (a child per control, with its
// role, name, description, shortcut and place), and global hotkeys that a
// second window cannot take while the first holds them.
#include <gtest/gtest.h>

#include "platform/win32/WinApi.h"

#include <ole2.h>
#include <oleacc.h>

#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Scoped.h"
#include "platform/win32/Win32Text.h"
#include "tests/win32/Display.h"

namespace tov {
namespace {

struct Plain : IWindowHandler {
  void Attach(IWindow* w) override { window = w; }
  intptr_t HandleMessage(Message& m) override { return window->DefaultHandling(m); }
  void Paint(ICanvas&) override {}
  IWindow* window = nullptr;
};

struct Source : IAccessibleSource {
  AccessibleItem Root() override { return AccessibleItem{kRoleToolbar, "Barra", "", "", Rect{10, 10, 210, 40}, ""}; }
  std::vector<AccessibleItem> Children() override {
    return {AccessibleItem{kRolePushButton, "Posta", "C:\\Posta.exe", "Ctrl+Alt+P", Rect{12, 12, 60, 38}, "Premi"},
            AccessibleItem{kRoleButtonMenu, "Documenti", "C:\\Documenti", "", Rect{62, 12, 110, 38}, "Apri"}};
  }
  int FocusedChild() override { return 0; }
  void DoDefaultAction(int child) override { pressed = child; }
  int pressed = 0;
};

std::string Bstr(BSTR b) {
  std::string s = b ? win32::Utf8Text(b, int(SysStringLen(b))) : std::string();
  SysFreeString(b);
  return s;
}

TEST(Win32Accessible, TheClientObjectHasAChildPerControlWithItsRoleNameAndPlace) {
  TOVIRA_SKIP_WITHOUT_DISPLAY();
  win32::Win32Platform wp;
  OleInitialize(nullptr);
  Plain handler;
  WindowParams params;
  params.caption = "Barra";
  params.style = WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE;
  params.bounds = Rect{50, 50, 250, 150};
  std::unique_ptr<IWindow> window = Windows().CreateTopLevel(params, &handler);
  ASSERT_NE(window, nullptr);
  Source source;
  window->SetAccessibleSource(&source);
  {
    win32::ComPtr<IAccessible> acc;
    ASSERT_EQ(AccessibleObjectFromWindow(HWND(window->Id()), DWORD(OBJID_CLIENT), IID_IAccessible, acc.PutVoid()),
              S_OK);
    long count = 0;
    EXPECT_EQ(acc->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 2);
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role;
    EXPECT_EQ(acc->get_accRole(self, &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_TOOLBAR);
    BSTR name = nullptr;
    EXPECT_EQ(acc->get_accName(self, &name), S_OK);
    EXPECT_EQ(Bstr(name), "Barra");
    VARIANT child = self;
    child.lVal = 1;
    EXPECT_EQ(acc->get_accName(child, &name), S_OK);
    EXPECT_EQ(Bstr(name), "Posta");
    EXPECT_EQ(acc->get_accDescription(child, &name), S_OK);
    EXPECT_EQ(Bstr(name), "C:\\Posta.exe");
    EXPECT_EQ(acc->get_accKeyboardShortcut(child, &name), S_OK);
    EXPECT_EQ(Bstr(name), "Ctrl+Alt+P");
    EXPECT_EQ(acc->get_accRole(child, &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_PUSHBUTTON);
    long l = 0, t = 0, w = 0, h = 0;
    EXPECT_EQ(acc->accLocation(&l, &t, &w, &h, child), S_OK);
    EXPECT_EQ((std::vector<long>{l, t, w, h}), (std::vector<long>{12, 12, 48, 26}));
    child.lVal = 2;
    EXPECT_EQ(acc->get_accRole(child, &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_BUTTONMENU);
    EXPECT_EQ(acc->accDoDefaultAction(child), S_OK);
    EXPECT_EQ(source.pressed, 2);
    child.lVal = 3;
    EXPECT_EQ(acc->get_accName(child, &name), E_INVALIDARG);
    // Once the window lets go of its source, the object answers that it is gone.
    window->SetAccessibleSource(nullptr);
    EXPECT_NE(acc->get_accChildCount(&count), S_OK);
  }
  window->Destroy();
  OleUninitialize();
}

TEST(Win32Accessible, AHotkeyHeldByOneWindowIsRefusedToAnother) {
  TOVIRA_SKIP_WITHOUT_DISPLAY();
  win32::Win32Platform wp;
  Plain a, b;
  WindowParams params;
  params.caption = "Tasti";
  params.bounds = Rect{50, 50, 250, 150};
  std::unique_ptr<IWindow> first = Windows().CreateTopLevel(params, &a);
  std::unique_ptr<IWindow> second = Windows().CreateTopLevel(params, &b);
  ASSERT_TRUE(first && second);
  EXPECT_TRUE(first->RegisterHotkey(0x100, MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'K'));
  EXPECT_FALSE(second->RegisterHotkey(0x100, MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'K'));
  first->UnregisterHotkey(0x100);
  EXPECT_TRUE(second->RegisterHotkey(0x100, MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'K'));
  second->UnregisterHotkey(0x100);
  // This program's own windows are never among those to switch to.
  for (const TopLevelWindow& w : Windows().TopLevelWindows())
    EXPECT_NE(w.id, first->Id());
  first->Destroy();
  second->Destroy();
}

}  // namespace
}  // namespace tov
