#include "platform/win32/Win32Platform.h"

namespace tov::win32 {

struct Win32Platform::Impl {
  Platform platform;
  Platform* previous = nullptr;
};

Win32Platform::Win32Platform() : impl_(std::make_unique<Impl>()) { impl_->previous = InstallPlatform(&impl_->platform); }

Win32Platform::~Win32Platform() { InstallPlatform(impl_->previous); }

}  // namespace tov::win32
