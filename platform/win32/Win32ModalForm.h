// A form (a component tree) shown as a modal dialog on Win32: a top-level
// window of its own class with a real child control for each control of the
// tree, run in its own message loop until a button or the close box ends it.
#pragma once
#include "platform/win32/WinApi.h"

namespace tov {
class Component;
}  // namespace tov

namespace tov::win32 {

// The window class of the dialogs.
inline constexpr const char* kModalFormClass = "TToviraDialog";

// Shows the form owned by owner (which is disabled meanwhile) and answers its
// modal result: the "ModalResult" of the button that ended it (or the one a
// handler put on the form), 2 for the close box. Throws std::runtime_error
// when the window cannot be created.
int RunModalForm(Component& form, HWND owner);

}  // namespace tov::win32
