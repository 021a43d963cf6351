// Forms shown as modal dialogs: a component tree realised as real controls.
#include "platform/win32/Win32Windows.h"

#include "forms/Component.h"

namespace tov::win32 {

int Win32WindowSystem::ShowModal(Component&, WindowId) { return 2; }

}  // namespace tov::win32
