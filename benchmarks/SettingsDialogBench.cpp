// What the settings dialog costs on the headless platform, with the shipped
// template and a realised dialog: building and filling the largest page
// ("Pannello", 13 rows), and switching from page to page through the list as
// the user does (the page left is saved, the next built and filled). Each is
// to stay well within a frame at 60 Hz (16.7 ms).
#include <benchmark/benchmark.h>

#include <memory>

#include "dialogs/SettingsDialog.h"
#include "platform/host/HostForm.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostWindowSystem.h"
#include "settings/SettingsStore.h"
#include "settings/UserData.h"
#include "tests/HeadlessBar.h"
#include "tests/ShippedFiles.h"

namespace tov {
namespace {

// The bar started on the shipped files, the dialog open on its settings.
struct OpenDialog {
  OpenDialog() {
    testing::InstallShippedFiles(hp, "C:\\Programmi\\Tovira\\");
    program.Start();  // the first start makes the links folder and closes
    program.Stop();
    program.Start();
    dialog = std::make_unique<TSettingsDialog>(program.UserStore(), "Pannello", program.Settings().Lingua);
  }
  host::HostPlatform hp;
  testing::HeadlessBar program{hp};
  std::unique_ptr<TSettingsDialog> dialog;
};

void BM_BuildAndFillLargestPage(benchmark::State& state) {
  OpenDialog d;
  d.hp.Windows().modalScripts.push_back([&](host::HostForm& f) {
    for (auto _ : state)
      d.dialog->BuildPage();
    state.counters["rows"] = double(d.dialog->Page().ChildCount() - 1);
    f.Close();
  });
  d.dialog->ShowModal(0);
}
BENCHMARK(BM_BuildAndFillLargestPage)->Unit(benchmark::kMicrosecond);

void BM_SwitchPages(benchmark::State& state) {
  OpenDialog d;
  d.hp.Windows().modalScripts.push_back([&](host::HostForm& f) {
    const int pages = int(f.Control("AlberoImpostazioni")->items.size());
    int next = 0;
    for (auto _ : state) {
      next = (next + 1) % pages;
      f.Choose("AlberoImpostazioni", next);
    }
    f.Close();
  });
  d.dialog->ShowModal(0);
}
BENCHMARK(BM_SwitchPages)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tov
