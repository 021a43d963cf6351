// What launching costs the bar on the headless platform: reading a
// shortcut's target, and building the folder menus that every rebuild of the
// bar makes again (a folder of 50 and of 500 entries behind one button).
// The shell's own costs on Windows (icon lookups) are not in these numbers.
#include <benchmark/benchmark.h>

#include <memory>

#include "bar/BarWindow.h"
#include "controls/ButtonTable.h"
#include "formats/ShortcutFiles.h"
#include "platform/FileShellLinks.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostWindowSystem.h"
#include "settings/UserData.h"
#include "tables/DataModule.h"
#include "tests/HeadlessBar.h"
#include "tests/ShippedFiles.h"

namespace tov {
namespace {

void BM_ReadShortcutTarget(benchmark::State& state) {
  host::HostPlatform hp;
  ForceDirectories(Files(), "C:\\Collegamenti");
  FileShellLinks().SaveLink("C:\\Collegamenti\\Editor.lnk", "C:\\Programmi\\Editor di testo\\editor.exe", "editor");
  for (auto _ : state)
    benchmark::DoNotOptimize(ReadShortcutTarget(0, "C:\\Collegamenti\\Editor.lnk"));
}
BENCHMARK(BM_ReadShortcutTarget)->Unit(benchmark::kMicrosecond);

// A bar with one folder-menu button whose folder holds entries files.
struct BarWithFolderMenu {
  explicit BarWithFolderMenu(int entries) {
    testing::InstallShippedFiles(hp, "C:\\Programmi\\Tovira\\");
    ForceDirectories(Files(), "C:\\Menu");
    for (int i = 0; i < entries; ++i)
      Files().WriteFile("C:\\Menu\\Documento " + std::to_string(i) + ".txt", "x");
    program.Start();  // the first start makes the links folder and closes
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
  }
  host::HostPlatform hp;
  testing::HeadlessBar program{hp};
  std::unique_ptr<TBarWindow>& bar = program.bar;
};

void BM_BuildFolderMenus(benchmark::State& state) {
  BarWithFolderMenu b(int(state.range(0)));
  for (auto _ : state)
    b.bar->BuildFolderMenus();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BuildFolderMenus)->Arg(50)->Arg(500)->Unit(benchmark::kMicrosecond);

void BM_RebuildBarWithFolderMenu(benchmark::State& state) {
  BarWithFolderMenu b(int(state.range(0)));
  for (auto _ : state)
    b.bar->RebuildBar();
}
BENCHMARK(BM_RebuildBarWithFolderMenu)->Arg(50)->Arg(500)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tov
