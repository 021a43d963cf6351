// Shell links through the shell's link object (IShellLinkA, IPersistFile).
#pragma once
#include "platform/ShellLinks.h"

namespace tov::win32 {

class Win32ShellLinks : public IShellLinks {
 public:
  int32_t OleInitialize() override;
  void OleUninitialize() override;
  int32_t SaveLink(const std::string& linkPath, const std::string& target, const std::string& description) override;
  int32_t LoadLink(WindowId owner, const std::string& linkPath, std::string* target, std::string* description) override;
};

}  // namespace tov::win32
