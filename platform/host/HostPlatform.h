// The headless platform: everything the program asks of Windows, simulated
// faithfully enough to run the whole program in tests. Constructing a
// HostPlatform installs it; destroying it restores the previous platform.
#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/host/HostShell.h"

namespace tov {
class FileShellLinks;
}  // namespace tov

namespace tov::host {

class HostFileSystem;
class HostRegistry;
class HostSystem;
class HostMonitorApi;
class HostWindowSystem;
class HostDialogs;
class HostCanvasFactory;
class HostCompositor;
class HostInstances;
class HostDiagnostics;

class HostPlatform {
 public:
  // root: host folder that holds the drives and the registry file; a fresh
  // temporary folder when empty. The primary monitor is 1024 x 768 with a
  // 30-pixel task bar at the bottom unless SetMonitors says otherwise.
  explicit HostPlatform(std::filesystem::path root = {});
  ~HostPlatform();
  HostPlatform(const HostPlatform&) = delete;
  HostPlatform& operator=(const HostPlatform&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  // Host folder that stands for a drive letter ("C").
  std::filesystem::path DriveFolder(char drive) const;
  // Host path of a Windows path.
  std::filesystem::path HostPath(const std::string& windowsPath) const;

  // Replaces the monitor layout; the first primary entry is the primary monitor.
  void SetMonitors(const std::vector<MonitorSpec>& monitors);
  // The displays change while windows run: the new layout, then
  // WM_DISPLAYCHANGE posted to every window with the primary's new size.
  void ChangeDisplays(const std::vector<MonitorSpec>& monitors);
  // The shell ends and starts again: it forgets every application bar, then
  // posts its registered "TaskbarCreated" to every window.
  void RestartShell();

  HostFileSystem& Files() { return *files_; }
  HostRegistry& Registry() { return *registry_; }
  HostSystem& System() { return *system_; }
  HostShell& Shell() { return *shell_; }
  HostMonitorApi& Monitors() { return *monitors_; }
  HostWindowSystem& Windows() { return *windows_; }
  HostDialogs& Dialogs() { return *dialogs_; }
  HostCanvasFactory& Canvases() { return *canvases_; }
  HostCompositor& Compositor() { return *compositor_; }
  FileShellLinks& Links() { return *links_; }
  HostInstances& Instances() { return *instances_; }
  HostDiagnostics& Diagnostics() { return *diagnostics_; }

 private:
  std::filesystem::path root_;
  bool ownsRoot_ = false;
  std::unique_ptr<HostFileSystem> files_;
  std::unique_ptr<HostRegistry> registry_;
  std::unique_ptr<HostSystem> system_;
  std::unique_ptr<HostShell> shell_;
  std::unique_ptr<HostMonitorApi> monitors_;
  std::unique_ptr<HostWindowSystem> windows_;
  std::unique_ptr<HostDialogs> dialogs_;
  std::unique_ptr<HostCanvasFactory> canvases_;
  std::unique_ptr<HostCompositor> compositor_;
  std::unique_ptr<FileShellLinks> links_;
  std::unique_ptr<HostInstances> instances_;
  std::unique_ptr<HostDiagnostics> diagnostics_;
  Platform platform_;
  Platform* previous_ = nullptr;
};

}  // namespace tov::host
