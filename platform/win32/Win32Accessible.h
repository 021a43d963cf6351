// The accessible object of a window of painted controls: the window's client
// object answered to WM_GETOBJECT from the logic's IAccessibleSource, with a
// child element per control. The object may outlive the window in a reader's
// hands: once the window lets go of its source, every call answers that the
// object is gone.
#pragma once
#include "platform/win32/WinApi.h"

#include <memory>

#include "platform/Accessible.h"

namespace tov::win32 {

// What a window and its accessible objects share: the source while it lives.
struct AccessibleLink {
  IAccessibleSource* source = nullptr;
};

// The answer to WM_GETOBJECT for OBJID_CLIENT (a new object each time, as
// LresultFromObject takes it over); 0 when the object cannot be made.
LRESULT AnswerGetObject(HWND hwnd, WPARAM wParam, const std::shared_ptr<AccessibleLink>& link);

}  // namespace tov::win32
