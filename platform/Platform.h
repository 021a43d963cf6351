// The one seam between the program's logic and the operating system. The
// entry point (or a test) installs a Platform; logic reaches the services
// through the accessors below and never includes a system header.
#pragma once
#include "platform/Canvas.h"
#include "platform/Compositor.h"
#include "platform/Diagnostics.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Instances.h"
#include "platform/Monitors.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/ShellLinks.h"
#include "platform/System.h"
#include "platform/Window.h"

namespace tov {

struct Platform {
  IRegistry* registry = nullptr;
  IFileSystem* files = nullptr;
  ISystem* system = nullptr;
  IShell* shell = nullptr;
  IMonitorApi* monitors = nullptr;
  IWindowSystem* windows = nullptr;
  IDialogs* dialogs = nullptr;
  ICanvasFactory* canvases = nullptr;
  ICompositor* compositor = nullptr;
  IShellLinks* links = nullptr;
  IInstances* instances = nullptr;
  IDiagnostics* diagnostics = nullptr;
};

// Installs p (not owned) and answers the one installed before.
Platform* InstallPlatform(Platform* p);
Platform& Sys();

inline IRegistry& Registry() { return *Sys().registry; }
inline IFileSystem& Files() { return *Sys().files; }
inline ISystem& System() { return *Sys().system; }
inline IShell& Shell() { return *Sys().shell; }
inline IMonitorApi& MonitorApi() { return *Sys().monitors; }
inline IWindowSystem& Windows() { return *Sys().windows; }
inline IDialogs& Dialogs() { return *Sys().dialogs; }
inline ICanvasFactory& Canvases() { return *Sys().canvases; }
inline ICompositor& Compositor() { return *Sys().compositor; }
inline IShellLinks& ShellLinks() { return *Sys().links; }
inline IInstances& Instances() { return *Sys().instances; }
inline IDiagnostics& Diagnostics() { return *Sys().diagnostics; }

}  // namespace tov
