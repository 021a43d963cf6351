#include "platform/win32/Win32Platform.h"

#include "platform/win32/Win32Diagnostics.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Instances.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32ShellLinks.h"
#include "platform/win32/Win32Windows.h"
#if __has_include("platform/win32/Win32Canvas.h")
#include "platform/win32/Win32Canvas.h"
#define TOVIRA_HAVE_GDI_CANVAS 1
#endif

namespace tov::win32 {

struct Win32Platform::Impl {
  Win32FileSystem files;
  Win32Registry registry;
  Win32System system;
  Win32Shell shell;
  Win32MonitorApi monitors;
  Win32WindowSystem windows;
  Win32Dialogs dialogs;
  Win32Compositor compositor;
  Win32ShellLinks links;
  Win32Instances instances;
  Win32Diagnostics diagnostics;
#ifdef TOVIRA_HAVE_GDI_CANVAS
  Win32CanvasFactory canvases;
#endif
  Platform platform;
  Platform* previous = nullptr;
};

Win32Platform::Win32Platform() : impl_(std::make_unique<Impl>()) {
  Impl& i = *impl_;
  i.platform.registry = &i.registry;
  i.platform.files = &i.files;
  i.platform.system = &i.system;
  i.platform.shell = &i.shell;
  i.platform.monitors = &i.monitors;
  i.platform.windows = &i.windows;
  i.platform.dialogs = &i.dialogs;
  i.platform.compositor = &i.compositor;
  i.platform.links = &i.links;
  i.platform.instances = &i.instances;
  i.platform.diagnostics = &i.diagnostics;
#ifdef TOVIRA_HAVE_GDI_CANVAS
  i.platform.canvases = &i.canvases;
#endif
  i.previous = InstallPlatform(&i.platform);
}

Win32Platform::~Win32Platform() { InstallPlatform(impl_->previous); }

Platform& Win32Platform::Get() { return impl_->platform; }

}  // namespace tov::win32
