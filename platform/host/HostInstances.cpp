#include "platform/host/HostInstances.h"

#include <cctype>

#include "platform/host/HostWindowSystem.h"

namespace tov::host {

ClaimResult HostInstances::ClaimName(const std::string& name) {
  if (failing.count(name)) return ClaimResult::Failed;
  return claimed.insert(name).second ? ClaimResult::Claimed : ClaimResult::HeldElsewhere;
}

uint32_t HostInstances::RegisterMessage(const std::string& name) {
  if (name.empty()) return 0;
  std::string key = name;
  for (char& c : key)
    c = char(std::toupper(static_cast<unsigned char>(c)));
  auto it = messages_.find(key);
  if (it != messages_.end()) return it->second;
  const uint32_t msg = 0xC000 + uint32_t(messages_.size());
  messages_.emplace(key, msg);
  return msg;
}

void HostInstances::PostToAll(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  ++broadcasts;
  windows_->PostToAll(msg, wParam, lParam);
}

}  // namespace tov::host
