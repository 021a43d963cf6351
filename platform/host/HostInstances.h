// Running copies on the headless platform: the names claimed on this
// platform (every claimant stands for a process of its own), messages
// registered by name and numbered from 0xC000 as Windows numbers them, and
// posts to all windows of the headless window system.
#pragma once
#include <map>
#include <set>
#include <string>

#include "platform/Instances.h"

namespace tov::host {

class HostWindowSystem;

class HostInstances : public IInstances {
 public:
  explicit HostInstances(HostWindowSystem* windows) : windows_(windows) {}

  ClaimResult ClaimName(const std::string& name) override;
  void ReleaseName(const std::string& name) override { claimed.erase(name); }
  uint32_t RegisterMessage(const std::string& name) override;
  void PostToAll(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
  void AllowOthersForeground() override { ++foregroundAllowances; }

  // Names held now; names whose claim the system refuses (fault injection).
  std::set<std::string> claimed;
  std::set<std::string> failing;
  int foregroundAllowances = 0;
  int broadcasts = 0;

 private:
  HostWindowSystem* windows_;
  std::map<std::string, uint32_t> messages_;  // by name without letter case
};

}  // namespace tov::host
