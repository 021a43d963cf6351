#include "platform/win32/Win32Instances.h"

#include "platform/win32/Win32Scoped.h"
#include "platform/win32/WinApi.h"

#include <utility>

namespace tov::win32 {

Win32Instances::~Win32Instances() = default;

ClaimResult Win32Instances::ClaimName(const std::string& name) {
  if (mutexes_.count(name)) return ClaimResult::HeldElsewhere;  // claimed twice in one process
  SetLastError(ERROR_SUCCESS);
  ScopedHandle h{CreateMutexA(nullptr, FALSE, name.c_str())};
  const DWORD error = GetLastError();
  if (!h) {
    // A mutex made by a process with other rights (an elevated copy) cannot
    // be opened, but it is there: that copy runs.
    return error == ERROR_ACCESS_DENIED ? ClaimResult::HeldElsewhere : ClaimResult::Failed;
  }
  if (error == ERROR_ALREADY_EXISTS) return ClaimResult::HeldElsewhere;
  mutexes_.emplace(name, std::move(h));
  return ClaimResult::Claimed;
}

void Win32Instances::ReleaseName(const std::string& name) {
  auto it = mutexes_.find(name);
  if (it == mutexes_.end()) return;
  mutexes_.erase(it);  // closes the handle
}

uint32_t Win32Instances::RegisterMessage(const std::string& name) { return RegisterWindowMessageA(name.c_str()); }

void Win32Instances::PostToAll(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  PostMessageA(HWND_BROADCAST, msg, wParam, lParam);
}

void Win32Instances::AllowOthersForeground() { AllowSetForegroundWindow(ASFW_ANY); }

}  // namespace tov::win32
