// Running copies of the program: a named claim that one process holds until
// it releases it or ends (a named mutex of the session), and window messages
// registered by name that reach every top-level window of the desktop.
#pragma once
#include <cstdint>
#include <string>

namespace tov {

enum class ClaimResult {
  Claimed,        // this process holds the name now
  HeldElsewhere,  // another holder has it (on Windows: the mutex exists)
  Failed,         // the system could not answer; nobody is known to hold it
};

class IInstances {
 public:
  virtual ~IInstances() = default;
  // Claims name (no backslash except a "Local\" prefix) until ReleaseName.
  virtual ClaimResult ClaimName(const std::string& name) = 0;
  virtual void ReleaseName(const std::string& name) = 0;
  // The message number every process gets for name (RegisterWindowMessage,
  // 0xC000..0xFFFF), or 0 when the system refuses.
  virtual uint32_t RegisterMessage(const std::string& name) = 0;
  // Posts msg to every top-level window, hidden ones included (HWND_BROADCAST).
  virtual void PostToAll(uint32_t msg, uintptr_t wParam, intptr_t lParam) = 0;
  // Lets any other process bring its window to the foreground, as the
  // process the user just started may (AllowSetForegroundWindow(ASFW_ANY)).
  virtual void AllowOthersForeground() = 0;
};

}  // namespace tov
