// Saving and loading a button table of 500 rows (and of 10,000), in memory and through files,
// with a plain pass over the same bytes as the floor to compare with.
#include <benchmark/benchmark.h>

#include <numeric>

#include "platform/host/HostPlatform.h"
#include "tables/BinaryTableFormat.h"
#include "tables/DataModule.h"
#include "tables/RecordTable.h"

namespace tov {
namespace {

void FillButtons(TRecordTable& t, int rows) {
  DefineLinkColumns(t);
  for (int i = 0; i < rows; ++i) {
    t.Append();
    t.FieldByName("Ordine").SetAsInteger(i);
    t.FieldByName("Caption").SetAsString("Pulsante " + std::to_string(i));
    t.FieldByName("Path").SetAsString("C:\\Users\\utente\\Desktop\\Collegamenti\\Programma " + std::to_string(i) +
                                      ".lnk");
    t.FieldByName("Width").SetAsInteger(64);
    t.FieldByName("Height").SetAsInteger(64);
    t.FieldByName("Color").SetAsInteger(int32_t(0x8000000F));
    t.FieldByName("LightColor").SetAsInteger(0xFFFFFF);
    t.FieldByName("ShadowColor").SetAsInteger(0x808080);
    t.FieldByName("HotTrackColor").SetAsInteger(0x1FFFFFFF);
    t.FieldByName("FontName").SetAsString("Tahoma");
    t.FieldByName("FontColor").SetAsInteger(0);
    t.FieldByName("FontSize").SetAsInteger(8);
    t.FieldByName("SelFontName").SetAsString("Tahoma");
    t.FieldByName("SelFontSize").SetAsInteger(8);
    t.FieldByName("ShowText").SetAsBoolean(true);
    t.FieldByName("AutoSize").SetAsBoolean(false);
    t.FieldByName("ButtonStyle").SetAsInteger(2);
    t.FieldByName("TextAlignment").SetAsInteger(1);
    t.FieldByName("Type").SetAsString(i % 10 == 9 ? "Panel" : "Button");
    t.FieldByName("ShowIcon").SetAsBoolean(true);
    t.Post();
  }
  t.SortOn("Ordine");
}

void BM_SaveButtonTable(benchmark::State& state) {
  TRecordTable t("TblLinks");
  FillButtons(t, int(state.range(0)));
  TBinaryTableFormat f("SaveFormat");
  std::string bytes;
  for (auto _ : state) {
    f.Save(t, bytes);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
  state.counters["file_bytes"] = double(bytes.size());
}
BENCHMARK(BM_SaveButtonTable)->Arg(500)->Arg(10000);

void BM_LoadButtonTable(benchmark::State& state) {
  TRecordTable src("TblLinks");
  FillButtons(src, int(state.range(0)));
  TBinaryTableFormat f("SaveFormat");
  std::string bytes;
  f.Save(src, bytes);
  TRecordTable t("TblLinks");
  for (auto _ : state) {
    f.Load(t, bytes);
    benchmark::DoNotOptimize(t.GetRecordCount());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_LoadButtonTable)->Arg(500)->Arg(10000);

// What the program does after every change of the bar: save the file safely
// (temporary file, then replace), and at start-up load it with its order.
void BM_SaveButtonListFile(benchmark::State& state) {
  host::HostPlatform hp;
  Files().CreateDir("C:\\Barra");
  TRecordTable t("TblLinks");
  FillButtons(t, int(state.range(0)));
  TBinaryTableFormat f("SaveFormat");
  for (auto _ : state)
    t.SaveToFileViaFormat("C:\\Barra\\ButtonList.lob", f);
  std::string bytes;
  Files().ReadFile("C:\\Barra\\ButtonList.lob", &bytes);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_SaveButtonListFile)->Arg(500)->Arg(10000);

void BM_LoadButtonListFile(benchmark::State& state) {
  host::HostPlatform hp;
  Files().CreateDir("C:\\Barra");
  TRecordTable src("TblLinks");
  FillButtons(src, int(state.range(0)));
  TBinaryTableFormat f("SaveFormat");
  src.SaveToFileViaFormat("C:\\Barra\\ButtonList.lob", f);
  std::string bytes;
  Files().ReadFile("C:\\Barra\\ButtonList.lob", &bytes);
  TRecordTable t("TblLinks");
  for (auto _ : state) {
    t.LoadFromFileViaFormat("C:\\Barra\\ButtonList.lob", f);
    t.SortOn("Ordine");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_LoadButtonListFile)->Arg(500)->Arg(10000);

// The floor: reading the same bytes once and summing them.
void BM_SumFileBytes(benchmark::State& state) {
  TRecordTable src("TblLinks");
  FillButtons(src, int(state.range(0)));
  TBinaryTableFormat f("SaveFormat");
  std::string bytes;
  f.Save(src, bytes);
  for (auto _ : state) {
    unsigned sum = std::accumulate(bytes.begin(), bytes.end(), 0u, [](unsigned a, char c) { return a + uint8_t(c); });
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_SumFileBytes)->Arg(500)->Arg(10000);

}  // namespace
}  // namespace tov
