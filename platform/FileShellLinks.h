// Shell links kept in the files of the platform's file system, in the
// shell's published link format: what the headless platform and the
// companion tool use where no shell link object exists.
#pragma once
#include "platform/ShellLinks.h"

namespace tov {

class FileShellLinks : public IShellLinks {
 public:
  int32_t OleInitialize() override { return S_OK_RESULT; }
  void OleUninitialize() override {}
  int32_t SaveLink(const std::string& linkPath, const std::string& target, const std::string& description) override;
  int32_t LoadLink(WindowId owner, const std::string& linkPath, std::string* target, std::string* description) override;
};

}  // namespace tov
