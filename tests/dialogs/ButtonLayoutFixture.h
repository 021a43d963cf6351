// The whole headless bar on a button list of its own, with the button layout
// dialog opened from the bar's menu.
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/HostDialogs.h"
#include "platform/host/HostForm.h"
#include "tests/BarFixture.h"
#include "text/Texts.h"

namespace tov::testing {

struct ButtonLayoutFixture : BarFixture {
  // rows as PrepareButtons takes them; the bar's first start is done and its
  // message boxes forgotten.
  explicit ButtonLayoutFixture(const std::vector<std::pair<std::string, std::string>>& rows) {
    StartOn(rows);
    hp.Dialogs().shown.clear();
  }
  ~ButtonLayoutFixture() override { FreeMessageTable(); }
  // Opens the dialog from the bar's menu with a script playing the user.
  void Open(std::function<void(host::HostForm&)> script) {
    hp.Windows().modalScripts.push_back(std::move(script));
    hp.Windows().menuChoices = {"Layout pulsanti"};
    Win().Send(WM_RBUTTONUP, 0, intptr_t(1000) | (intptr_t(5) << 16));
  }
};

}  // namespace tov::testing
