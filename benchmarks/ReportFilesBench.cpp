// What the error report's files cost: a 1920 x 1080 screenshot (a desktop of
// flat areas, gradients and text-like noise) written as PNG at the levels
// 1, 6 and 9, and the report's archive of that PNG and the text. The sizes
// are reported as counters.
#include <benchmark/benchmark.h>

#include "formats/ImageFiles.h"
#include "formats/ZipArchive.h"
#include "platform/host/HostPlatform.h"

namespace tov {
namespace {

Bitmap Desktop() {
  Bitmap b(1920, 1080, RGB(58, 110, 165));
  uint32_t seed = 1;
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) {
      if (y < 40) b.At(x, y) = RGB(240, 240, 240);  // a bar
      if (x > 300 && x < 1300 && y > 200 && y < 900) {
        seed = seed * 1103515245u + 12345u;
        // A window: white, with dark "text" in every other band of rows.
        b.At(x, y) = (y / 12) % 2 && (seed >> 28) < 5 ? RGB(20, 20, 20) : RGB(255, 255, 255);
      }
      if (y > 1040) b.At(x, y) = RGB(uint8_t(x * 255 / 1920), 40, 90);  // a gradient task bar
    }
  return b;
}

void BM_ScreenshotPng(benchmark::State& state) {
  host::HostPlatform hp;
  const Bitmap shot = Desktop();
  size_t bytes = 0;
  for (auto _ : state) {
    std::string png = EncodePng(shot, int(state.range(0)));
    bytes = png.size();
    benchmark::DoNotOptimize(png);
  }
  state.counters["png_kB"] = double(bytes) / 1024;
  state.counters["bmp_kB"] = double(EncodeBmp24(shot).size()) / 1024;
}
BENCHMARK(BM_ScreenshotPng)->Arg(1)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);

void BM_ReportArchive(benchmark::State& state) {
  host::HostPlatform hp;
  const std::string png = EncodePng(Desktop(), 9);
  std::string text;
  for (int i = 0; i < 12; ++i)
    text += "Catch: Modulo Supportdb, riga 42, funzione CaricaTabella.\r\n";
  size_t bytes = 0;
  for (auto _ : state) {
    TZipArchive zip;
    zip.AddBytes("ExcpScreen.png", png, DateTime{2026, 12, 10, 11, 0, 0, 0});
    zip.AddBytes("ExcpText.txt", text, DateTime{2026, 12, 10, 11, 0, 0, 0});
    std::string archive = zip.Bytes();
    bytes = archive.size();
    benchmark::DoNotOptimize(archive);
  }
  state.counters["zip_kB"] = double(bytes) / 1024;
}
BENCHMARK(BM_ReportArchive)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tov
