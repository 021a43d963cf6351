#include "platform/win32/Win32Platform.h"

#include <cstdio>

#include "platform/win32/Win32Diagnostics.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Instances.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32ShellLinks.h"
#include "platform/win32/Win32Windows.h"
#include "platform/win32/WinApi.h"
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

bool RequireUtf8CodePage(bool console) {
  if (GetACP() == CP_UTF8) return true;
  // Written in UTF-16 and shown through the W call: the narrow calls would
  // take the system's own code page here.
  const wchar_t* text =
      L"Tovira needs Windows 10 version 1903 or later, or Windows 11.\n"
      L"Tovira richiede Windows 10 versione 1903 o successiva, oppure Windows 11.";
  if (console) {
    std::fputs("tovira-tool: needs Windows 10 version 1903 or later, or Windows 11\n", stderr);
  } else {
    MessageBoxW(nullptr, text, L"Tovira", MB_OK | MB_ICONERROR);
  }
  return false;
}

}  // namespace tov::win32
