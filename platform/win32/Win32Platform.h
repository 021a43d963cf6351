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

// Whether the process speaks UTF-8: the manifest's code page took effect,
// which Windows does from Windows 10 version 1903 on (GetACP() answers 65001).
// When not, the user is told in one message (a message box, or the error
// stream of a console program) and the answer is false: the caller ends.
bool RequireUtf8CodePage(bool console);

}  // namespace tov::win32
