// The bar's layout at the scales of today's screens: 200 buttons (with a
// separator every tenth) laid out again at 100, 150 and 200 %. The aim is
// one 60 Hz frame (16.7 ms) for 200 buttons at 150 %.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bar/BarWindow.h"
#include "controls/ButtonTable.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostShell.h"
#include "settings/UserData.h"
#include "tables/DataModule.h"
#include "tests/HeadlessBar.h"
#include "tests/ShippedFiles.h"

namespace tov {
namespace {

struct ScaledBar {
  ScaledBar(int buttons, int dpi) {
    testing::InstallShippedFiles(hp, "C:\\Programmi\\Tovira\\");
    hp.SetMonitors({{{0, 0, 3840, 2160}, {0, 0, 3840, 2100}, true, "\\\\.\\DISPLAY1", dpi}});
    program.Start();  // the first start makes the links folder and closes
    program.Stop();
    {
      TDataModule scratch;
      int order = 0;
      for (int i = 0; i < buttons; ++i) {
        if (i % 10 == 9) AddSeparatorRow(scratch.TblLinks, order++, "*Separator*");
        AddButtonRow(scratch.TblLinks, order++, "Pulsante " + std::to_string(i), "C:\\P" + std::to_string(i) + ".lnk");
      }
      SaveButtonList(scratch.TblLinks, UserSubDir("ToolbarLinks"), scratch.SaveFormat);
    }
    program.Start();
  }
  host::HostPlatform hp;
  testing::HeadlessBar program{hp};
  std::unique_ptr<TBarWindow>& bar = program.bar;
};

void BM_RebuildBarAtScale(benchmark::State& state) {
  ScaledBar b(200, int(state.range(0)));
  for (auto _ : state)
    b.bar->RebuildBar();
  state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_RebuildBarAtScale)->Arg(96)->Arg(144)->Arg(192)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tov
