// The program on the headless platform, started and stopped as the entry
// point does (TProgramRun): this copy's claim, the data module, the bar
// window, an idle message loop.
#pragma once
#include <memory>
#include <stdexcept>

#include "bar/BarWindow.h"
#include "bar/Program.h"
#include "bar/RunningCopy.h"
#include "docking/MonitorList.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostWindowSystem.h"
#include "settings/Settings.h"
#include "settings/UserData.h"
#include "tables/DataModule.h"

namespace tov::testing {

struct HeadlessBar : TProgramRun {
  explicit HeadlessBar(host::HostPlatform& platform) : hp(platform) {}

  // What the program holds, for the tests to look at.
  using TProgramRun::bar;
  using TProgramRun::copy;
  using TProgramRun::dc;
  using TProgramRun::exceptMessage;
  using TProgramRun::monitors;
  using TProgramRun::settings;
  using TProgramRun::stores;

  // False, with the running bar asked forward, when this copy of the program
  // runs already.
  bool TryStart() {
    const bool started = TProgramRun::Start();
    hp.Windows().Pump();
    return started;
  }
  TBarWindow& Start() {
    if (!TryStart()) throw std::logic_error("this copy of the program runs already");
    return *bar;
  }
  void Stop() {
    if (bar && bar->HandleAllocated()) bar->Close();
    hp.Windows().Pump();
    TProgramRun::Stop();
    hp.Windows().RunMessageLoop();  // clears the quit request
  }

  // The user store the program opens at its start; opened now when it has
  // not been (the start takes it then), as a test prepares settings.
  TSettingsStore& UserStore() {
    if (!stores) stores = std::make_unique<TSettingsStores>();
    return stores->User();
  }
  // The bar's settings the program hands to the bar.
  TBarSettings& Settings() {
    if (!settings) settings = std::make_shared<TBarSettings>();
    return *settings;
  }
  // How many monitors the program's list holds (0: no list).
  int MonitorCount() const { return monitors ? monitors->Count() : 0; }

  host::HostPlatform& hp;
};

}  // namespace tov::testing
