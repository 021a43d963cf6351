// The program on the headless platform, started and stopped as the entry
// point does: the data module, the bar window, an idle message loop.
#pragma once
#include <memory>

#include "bar/ToviraMain.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostWindowSystem.h"
#include "settings/Sharedmodule.h"
#include "tables/Datamodule.h"
#include "ui/Supportmsg.h"

namespace tov::testing {

struct HeadlessBar {
  explicit HeadlessBar(host::HostPlatform& platform) : hp(platform) {}
  ~HeadlessBar() {
    bar.reset();
    FreeSettings();
    dc.reset();
  }
  HeadlessBar(const HeadlessBar&) = delete;
  HeadlessBar& operator=(const HeadlessBar&) = delete;

  TFormToviraMain& Start() {
    InstallExceptionDisplay();
    if (!dc) dc = std::make_unique<TDC>();
    bar = std::make_unique<TFormToviraMain>();
    bar->SetMainForm(true);
    bar->Show();
    hp.Windows().Pump();
    return *bar;
  }
  void Stop() {
    if (bar && bar->HandleAllocated()) bar->Close();
    hp.Windows().Pump();
    bar.reset();
    FreeSettings();
    dc.reset();
    hp.Windows().RunMessageLoop();  // clears the quit request
  }

  host::HostPlatform& hp;
  std::unique_ptr<TDC> dc;
  std::unique_ptr<TFormToviraMain> bar;
};

}  // namespace tov::testing
