#include "platform/win32/Win32ShellLinks.h"

#include "platform/win32/WinApi.h"

#include <ole2.h>

namespace tov::win32 {

int32_t Win32ShellLinks::OleInitialize() { return int32_t(::OleInitialize(nullptr)); }

void Win32ShellLinks::OleUninitialize() { ::OleUninitialize(); }

int32_t Win32ShellLinks::SaveLink(const std::string&, const std::string&, const std::string&) { return E_FAIL_RESULT; }

int32_t Win32ShellLinks::LoadLink(WindowId, const std::string&, std::string*, std::string*) { return E_FAIL_RESULT; }

}  // namespace tov::win32
