// Forms shown as modal dialogs: a component tree realised as real controls.
#include "platform/win32/Win32Windows.h"

#include "forms/Component.h"
#include "platform/win32/Win32ModalForm.h"

namespace tov::win32 {

int Win32WindowSystem::ShowModal(Component& form, WindowId owner) { return RunModalForm(form, HWND(owner)); }

}  // namespace tov::win32
