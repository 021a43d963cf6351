// Opening a cascading folder menu on the headless platform: listing one
// level of a folder of 5,000 entries, and the whole sub-menu made from it as
// the bar shows it (its items and the entries handed to the window system).
// The level is read and made in steps: its first batch at once (the folder's
// listing read only that far), the rest in batches while it shows.
// BM_ListFirstBatch against BM_ListMenuLevel is the reading alone,
// BM_FirstScreenful against BM_WholeLevel the bar's own menu items; the first
// batch should come within one 60 Hz frame (16.7 ms). The host's file system
// has to list and sort a folder's names before it gives the first (NTFS
// gives them sorted), so its first batch still pays for that listing; the
// shell's icon lookups on Windows are not in these numbers.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "bar/BarWindow.h"
#include "bar/FolderMenuLevels.h"
#include "bar/FolderMenus.h"
#include "controls/ButtonTable.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostWindowSystem.h"
#include "settings/UserData.h"
#include "tables/DataModule.h"
#include "tests/HeadlessBar.h"
#include "tests/ShippedFiles.h"

namespace tov {
namespace {

void Fill(const std::string& folder, int entries) {
  ForceDirectories(Files(), folder);
  char name[48];
  for (int i = 0; i < entries; ++i) {
    std::snprintf(name, sizeof name, "\\Documento %05d.txt", i);
    Files().WriteFile(folder + name, "");
  }
}

void BM_ListMenuLevel(benchmark::State& state) {
  host::HostPlatform hp;
  Fill("C:\\Molti", int(state.range(0)));
  const std::vector<std::string> chain = ChainWith({}, "C:\\Molti");
  TMenuLevelRules rules;
  for (auto _ : state)
    benchmark::DoNotOptimize(ListMenuLevel("C:\\Molti", chain, rules));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ListMenuLevel)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

// The first batch of the same level read in steps, the listing then let go.
void BM_ListFirstBatch(benchmark::State& state) {
  host::HostPlatform hp;
  Fill("C:\\Molti", int(state.range(0)));
  const std::vector<std::string> chain = ChainWith({}, "C:\\Molti");
  TMenuLevelRules rules;
  for (auto _ : state) {
    TMenuLevelListing listing("C:\\Molti", chain, rules);
    std::vector<TMenuLevelEntry> batch;
    listing.Next(TFolderMenus::kFirstScreenful, &batch);
    benchmark::DoNotOptimize(batch);
  }
}
BENCHMARK(BM_ListFirstBatch)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

// The bar's folder menu on C:\Menu, whose sub-folder "Molti" is opened.
void BM_OpenSubMenu(benchmark::State& state) {
  host::HostPlatform hp;
  testing::InstallShippedFiles(hp, "C:\\Programmi\\Tovira\\");
  Fill("C:\\Menu\\Molti", int(state.range(0)));
  testing::HeadlessBar program{hp};
  program.Start();  // the first start makes the links folder
  program.Stop();
  {
    TDataModule scratch;
    AddButtonRow(scratch.TblLinks, 0, "Menu", "C:\\Menu");
    scratch.TblLinks.Edit();
    scratch.TblLinks.FieldByName("FolderMenu").SetAsBoolean(true);
    scratch.TblLinks.Post();
    SaveButtonList(scratch.TblLinks, UserSubDir("ToolbarLinks"), scratch.SaveFormat);
  }
  program.Start();
  for (auto _ : state) {
    state.PauseTiming();
    program.bar->BuildFolderMenus();  // a fresh menu: nothing made below the first level
    state.ResumeTiming();
    hp.Windows().menuChoices = {"Molti/Documento 00000.txt"};
    program.bar->Button(0).Click();
    hp.Windows().shownMenus.clear();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_OpenSubMenu)->Arg(5000)->Unit(benchmark::kMillisecond);

// The level made in steps, on the bar's own menu items: what the click waits
// for (the listing and the first screenful) against the whole level made at
// once (every batch in turn).
void LevelInSteps(benchmark::State& state, bool whole) {
  host::HostPlatform hp;
  testing::InstallShippedFiles(hp, "C:\\Programmi\\Tovira\\");
  Fill("C:\\Menu\\Molti", int(state.range(0)));
  testing::HeadlessBar program{hp};
  program.Start();
  program.Stop();
  {
    TDataModule scratch;
    AddButtonRow(scratch.TblLinks, 0, "Menu", "C:\\Menu");
    scratch.TblLinks.Edit();
    scratch.TblLinks.FieldByName("FolderMenu").SetAsBoolean(true);
    scratch.TblLinks.Post();
    SaveButtonList(scratch.TblLinks, UserSubDir("ToolbarLinks"), scratch.SaveFormat);
  }
  program.Start();
  size_t made = 0;
  for (auto _ : state) {
    state.PauseTiming();
    program.bar->BuildFolderMenus();
    Component& level = program.bar->FolderMenus().At(0)->Child(0);
    state.ResumeTiming();
    level.Fire("OnExpand");
    if (whole) {
      for (size_t before = 0; before != level.ChildCount();) {
        before = level.ChildCount();
        level.Fire("OnExpandMore");
      }
    }
    made = level.ChildCount();
  }
  state.counters["entries"] = double(made);
}
void BM_FirstScreenful(benchmark::State& state) { LevelInSteps(state, false); }
void BM_WholeLevel(benchmark::State& state) { LevelInSteps(state, true); }
BENCHMARK(BM_FirstScreenful)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeLevel)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tov
