#include "platform/host/HostPlatform.h"

#include "platform/FileShellLinks.h"

#include <atomic>
#include <cstdlib>
#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

#include "base/Casefold.h"
#include "platform/host/HostCanvas.h"
#include "platform/host/HostCompositor.h"
#include "platform/host/HostDiagnostics.h"
#include "platform/host/HostDialogs.h"
#include "platform/host/HostFileSystem.h"
#include "platform/host/HostInstances.h"
#include "platform/host/HostMonitorApi.h"
#include "platform/host/HostRegistry.h"
#include "platform/host/HostShell.h"
#include "platform/host/HostSystem.h"
#include "platform/host/HostWindowSystem.h"

namespace fs = std::filesystem;

namespace tov::host {

namespace {

fs::path FreshRoot() {
  static std::atomic<int> counter{0};
  fs::path base = fs::temp_directory_path();
  for (;;) {
    fs::path p = base / ("tovira-host-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    std::error_code ec;
    if (fs::create_directory(p, ec)) return p;
  }
}

}  // namespace

HostPlatform::HostPlatform(fs::path root) {
  if (root.empty()) {
    root_ = FreshRoot();
    ownsRoot_ = true;
  } else {
    root_ = std::move(root);
    fs::create_directories(root_);
  }
  fs::create_directories(root_ / "C");
  files_ = std::make_unique<HostFileSystem>(root_);
  registry_ = std::make_unique<HostRegistry>(root_ / "registry.txt");
  system_ = std::make_unique<HostSystem>();
  windows_ = std::make_unique<HostWindowSystem>(system_.get());
  shell_ = std::make_unique<HostShell>(windows_.get());
  shell_->SetMonitors({});
  system_->SetShell(shell_.get());
  monitors_ = std::make_unique<HostMonitorApi>(shell_.get());
  dialogs_ = std::make_unique<HostDialogs>();
  canvases_ = std::make_unique<HostCanvasFactory>();
  compositor_ = std::make_unique<HostCompositor>();
  links_ = std::make_unique<FileShellLinks>();
  instances_ = std::make_unique<HostInstances>(windows_.get());
  platform_ = Platform{registry_.get(), files_.get(),   system_.get(),   shell_.get(),      monitors_.get(),
                       windows_.get(),  dialogs_.get(), canvases_.get(), compositor_.get(), links_.get()};
  platform_.instances = instances_.get();
  diagnostics_ = std::make_unique<HostDiagnostics>();
  platform_.diagnostics = diagnostics_.get();
  previous_ = InstallPlatform(&platform_);
}

HostPlatform::~HostPlatform() {
  InstallPlatform(previous_);
  windows_.reset();
  if (ownsRoot_ && !std::getenv("TOVIRA_KEEP_HOST_ROOT")) {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
}

fs::path HostPlatform::DriveFolder(char drive) const {
  fs::path p = root_ / std::string(1, AsciiUpper(drive));
  fs::create_directories(p);
  return p;
}

fs::path HostPlatform::HostPath(const std::string& windowsPath) const { return files_->Map(windowsPath); }

void HostPlatform::SetMonitors(const std::vector<MonitorSpec>& monitors) { shell_->SetMonitors(monitors); }

void HostPlatform::ChangeDisplays(const std::vector<MonitorSpec>& monitors) {
  shell_->SetMonitors(monitors);
  shell_->ReassignBars();
  const Rect& primary = shell_->Primary().monitor;
  windows_->PostToAll(WM_DISPLAYCHANGE, 32,
                      intptr_t(uint16_t(primary.Width())) | (intptr_t(uint16_t(primary.Height())) << 16));
}

void HostPlatform::RestartShell() {
  shell_->ForgetBars();
  windows_->ForgetTaskbarEntries();
  windows_->PostToAll(instances_->RegisterMessage("TaskbarCreated"), 0, 0);
}

}  // namespace tov::host
