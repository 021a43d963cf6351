// The program on the headless platform, started and stopped as the entry
// point does (TProgramRun): this copy's claim, the data module, the bar
// window, an idle message loop.
#pragma once
#include <memory>
#include <stdexcept>

#include "bar/BarWindow.h"
#include "bar/Program.h"
#include "bar/RunningCopy.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostWindowSystem.h"
#include "settings/UserData.h"
#include "tables/DataModule.h"

namespace tov::testing {

struct HeadlessBar : TProgramRun {
  explicit HeadlessBar(host::HostPlatform& platform) : hp(platform) {}

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

  host::HostPlatform& hp;
};

}  // namespace tov::testing
