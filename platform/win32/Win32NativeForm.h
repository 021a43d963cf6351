// Dialogs on Win32: a top-level window of its own class with a real child
// control for each control the logic describes, run in its own message loop.
// It reports what the user does to the logic and asks it which button Enter
// presses and how painted controls look; it decides nothing itself.
#pragma once
#include <memory>

#include "platform/NativeForm.h"
#include "platform/win32/WinApi.h"

namespace tov::win32 {

// The window class of the dialogs.
inline constexpr const char* kDialogClass = "TToviraDialog";

// Makes the dialog's window (hidden); throws std::runtime_error when it
// cannot be made.
std::unique_ptr<INativeForm> CreateNativeForm(const FrameDesc& frame, HWND owner, IFormEvents& events);

}  // namespace tov::win32
