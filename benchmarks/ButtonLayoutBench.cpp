// What the button layout dialog costs on the headless platform on a bar of
// 200 buttons: opening it (the list filled from the button table, a row and
// its icon each), and "Applica" with every row selected (each row's
// appearance written, the list refreshed and the bar rebuilt once).
#include <benchmark/benchmark.h>

#include <memory>

#include "controls/ButtonTable.h"
#include "dialogs/ButtonLayout.h"
#include "platform/host/HostForm.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostWindowSystem.h"
#include "settings/UserData.h"
#include "tables/DataModule.h"
#include "tests/HeadlessBar.h"
#include "tests/ShippedFiles.h"

namespace tov {
namespace {

constexpr int kButtons = 200;

struct BarOf200 {
  BarOf200() {
    testing::InstallShippedFiles(hp, "C:\\Programmi\\Tovira\\");
    program.Start();  // the first start makes the links folder and closes
    program.Stop();
    {
      TDataModule scratch;
      for (int i = 0; i < kButtons; ++i)
        AddButtonRow(scratch.TblLinks, i, "Pulsante " + std::to_string(i),
                     UserSubDir("ToolbarLinks") + "Pulsante " + std::to_string(i) + ".lnk");
      SaveButtonList(scratch.TblLinks, UserSubDir("ToolbarLinks"), scratch.SaveFormat);
    }
    program.Start();
  }
  host::HostPlatform hp;
  testing::HeadlessBar program{hp};
};

void BM_OpenButtonLayout(benchmark::State& state) {
  BarOf200 b;
  for (auto _ : state) {
    b.hp.Windows().modalScripts.push_back([](host::HostForm& f) { f.Close(); });
    ShowButtonLayout(
        *b.program.dc, b.program.UserStore(), b.program.Settings().Lingua, [&b] { b.program.bar->RebuildBar(); }, 0);
  }
  state.SetItemsProcessed(state.iterations() * kButtons);
}
BENCHMARK(BM_OpenButtonLayout)->Unit(benchmark::kMillisecond);

void BM_ApplyToEveryButton(benchmark::State& state) {
  BarOf200 b;
  TFormButtonLayout dialog(*b.program.dc, b.program.UserStore(), b.program.Settings().Lingua,
                           [&b] { b.program.bar->RebuildBar(); });
  b.hp.Windows().modalScripts.push_back([&](host::HostForm& f) {
    int style = 0;
    for (auto _ : state) {
      f.Click("BtnSelezionaTutto");  // apply leaves the first row selected
      f.Choose("EditS_Style", style = (style + 1) % 4);
      f.Click("BtnApplica");
    }
    f.Close();
  });
  dialog.ShowModal();
  state.SetItemsProcessed(state.iterations() * kButtons);
}
BENCHMARK(BM_ApplyToEveryButton)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tov
