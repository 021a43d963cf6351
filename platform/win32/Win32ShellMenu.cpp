// The shell's context menu for a file or folder: the item's IContextMenu
// from its parent folder, filled, shown with the owner's menu messages passed
// to IContextMenu2/3 (which fill and draw the sub-menus the shell and the
// programs add), and the chosen command invoked.
#include "platform/win32/WinApi.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/Win32Menus.h"
#include "platform/win32/Win32Scoped.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Text.h"

namespace tov::win32 {

namespace {

// The menu showing now on this thread, if any.
thread_local IContextMenu2* shownMenu2 = nullptr;
thread_local IContextMenu3* shownMenu3 = nullptr;

constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 0x7FFF;

struct ComForMenu {
  HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ~ComForMenu() {
    if (SUCCEEDED(init)) CoUninitialize();
  }
};

struct ItemList {
  PIDLIST_ABSOLUTE pidl = nullptr;
  ~ItemList() {
    if (pidl) CoTaskMemFree(pidl);
  }
};

}  // namespace

bool HandleShellMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (msg != WM_INITMENUPOPUP && msg != WM_DRAWITEM && msg != WM_MEASUREITEM && msg != WM_MENUCHAR) return false;
  if (shownMenu3) {
    LRESULT r = 0;
    if (SUCCEEDED(shownMenu3->HandleMenuMsg2(msg, wParam, lParam, &r))) {
      *result = r;
      return true;
    }
    return false;
  }
  if (shownMenu2 && msg != WM_MENUCHAR && SUCCEEDED(shownMenu2->HandleMenuMsg(msg, wParam, lParam))) {
    *result = msg == WM_INITMENUPOPUP ? 0 : TRUE;
    return true;
  }
  return false;
}

bool Win32Shell::ShowContextMenu(WindowId owner, const std::string& path, Point at, bool extended) {
  ComForMenu com;
  const HWND hwnd = reinterpret_cast<HWND>(owner);
  ItemList item;
  if (FAILED(SHParseDisplayName(WideText(path).c_str(), nullptr, &item.pidl, 0, nullptr)) || !item.pidl) return false;
  ComPtr<IShellFolder> parent;
  PCUITEMID_CHILD child = nullptr;
  if (FAILED(SHBindToParent(item.pidl, IID_IShellFolder, parent.PutVoid(), &child)) || !parent) return false;
  ComPtr<IContextMenu> menu;
  if (FAILED(parent->GetUIObjectOf(hwnd, 1, &child, IID_IContextMenu, nullptr, menu.PutVoid())) || !menu) return false;
  HMENU popup = CreatePopupMenu();
  if (!popup) return false;
  const UINT flags = CMF_NORMAL | (extended ? CMF_EXTENDEDVERBS : 0);
  if (FAILED(menu->QueryContextMenu(popup, 0, kFirstCommand, kLastCommand, flags))) {
    DestroyMenu(popup);
    return false;
  }
  ComPtr<IContextMenu2> menu2;
  ComPtr<IContextMenu3> menu3;
  menu->QueryInterface(IID_IContextMenu3, menu3.PutVoid());
  if (!menu3) menu->QueryInterface(IID_IContextMenu2, menu2.PutVoid());
  shownMenu2 = menu2.Get();
  shownMenu3 = menu3.Get();
  // The owner in the foreground, or the menu would not close on a click elsewhere.
  SetForegroundWindow(hwnd);
  const UINT chosen =
      UINT(TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_RECURSE, at.x, at.y, hwnd, nullptr));
  PostMessageA(hwnd, WM_NULL, 0, 0);
  shownMenu2 = nullptr;
  shownMenu3 = nullptr;
  if (chosen >= kFirstCommand) {
    CMINVOKECOMMANDINFOEX invoke{};
    invoke.cbSize = sizeof invoke;
    invoke.fMask = CMIC_MASK_UNICODE | CMIC_MASK_PTINVOKE;
    invoke.hwnd = hwnd;
    invoke.lpVerb = MAKEINTRESOURCEA(chosen - kFirstCommand);
    invoke.lpVerbW = MAKEINTRESOURCEW(chosen - kFirstCommand);
    invoke.nShow = SW_SHOWNORMAL;
    invoke.ptInvoke = POINT{at.x, at.y};
    menu->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&invoke));
  }
  DestroyMenu(popup);
  return true;
}

}  // namespace tov::win32
