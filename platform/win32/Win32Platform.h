// The real platform: the Win32 API behind every interface of the seam.
#pragma once
#include <memory>

#include "platform/Platform.h"

namespace tov::win32 {

class Win32Platform {
 public:
  Win32Platform();
  ~Win32Platform();
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;
  Platform& Get();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tov::win32
