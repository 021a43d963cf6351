// Pop-up menus on the Win32 API. Entries with a picture or extra height are
// drawn by the menu's owner window, whose procedure passes the drawing
// messages here.
#pragma once
#include <vector>

#include "platform/Window.h"
#include "platform/win32/WinApi.h"

namespace tov::win32 {

// WM_MEASUREITEM and WM_DRAWITEM of menu entries this layer draws; true (and
// the result) when the message was one of them.
bool HandleMenuDrawing(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

// While the shell's context menu shows (Win32ShellMenu.cpp), the owner's
// menu messages (WM_INITMENUPOPUP, WM_DRAWITEM, WM_MEASUREITEM, WM_MENUCHAR)
// go to the menu's handlers, which fill and draw the sub-menus they add; true
// when one took the message.
bool HandleShellMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

// Measures one entry as a menu shown at that DPI does and draws it into the
// rectangle of a device context as the menu draws it (for tests): answers
// the size the menu gives the entry.
SIZE DrawMenuEntry(HDC dc, const RECT& r, const MenuEntry& e, int dpi, bool selected);

// Shows the entries as a pop-up menu at a screen point, owned by the window,
// until the user chooses or dismisses it: the chosen command, or 0.
int TrackMenu(const std::vector<MenuEntry>& entries, Point at, HWND owner);

}  // namespace tov::win32
