// Running copies on Windows: named mutexes of the session, registered window
// messages, broadcasts, and the right to come to the foreground.
#pragma once
#include <map>
#include <string>

#include "platform/Instances.h"
#include "platform/win32/Win32Scoped.h"

namespace tov::win32 {

class Win32Instances : public IInstances {
 public:
  Win32Instances() = default;
  ~Win32Instances() override;
  Win32Instances(const Win32Instances&) = delete;
  Win32Instances& operator=(const Win32Instances&) = delete;

  ClaimResult ClaimName(const std::string& name) override;
  void ReleaseName(const std::string& name) override;
  uint32_t RegisterMessage(const std::string& name) override;
  void PostToAll(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
  void AllowOthersForeground() override;

 private:
  std::map<std::string, ScopedHandle> mutexes_;  // the handles of the names claimed
};

}  // namespace tov::win32
