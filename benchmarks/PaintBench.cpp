// Painting a bar of 40 buttons on the host canvas, in the flat normal style
// and in the modern (gradient) style, each button with a caption and a
// 16 x 16 icon, as the bar's full repaint does.
#include <benchmark/benchmark.h>

#include "controls/ButtonHost.h"
#include "controls/ButtonStyle.h"
#include "platform/host/HostPlatform.h"

namespace tov {
namespace {

class BenchBar : public TButtonHost {
 public:
  void InvalidateArea(const Rect&, bool) override {}
  bool Showing() override { return true; }
  Point ClientToScreen(Point p) override { return p; }
};

void PaintBar(benchmark::State& state, uint8_t buttonStyle) {
  host::HostPlatform hp;
  Files().CreateDir("C:\\Link");
  BenchBar bar;
  int x = 0;
  for (int i = 0; i < 40; ++i) {
    std::string path = "C:\\Link\\Programma " + std::to_string(i) + ".lnk";
    Files().WriteFile(path, "x");
    TCustomButtonStyle s;
    s.Caption = "Programma " + std::to_string(i);
    s.Path = path;
    s.ButtonStyle = buttonStyle;
    TLbSpeedButton& b = bar.AddButton();
    s.ApplyToButton(b);
    b.SetBounds(x, 2, b.Width(), b.Height());
    x += b.Width() + 2;
  }
  auto surface = Canvases().CreateBitmapCanvas(x, 30);
  const Rect all{0, 0, x, 30};
  for (auto _ : state) {
    bar.PaintButtons(*surface, all);
    benchmark::ClobberMemory();
  }
  // Seconds per button painted.
  state.counters["per_button"] =
      benchmark::Counter(double(state.iterations()) * 40, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_PaintBarNormal(benchmark::State& state) { PaintBar(state, cbsDefault); }
void BM_PaintBarModern(benchmark::State& state) { PaintBar(state, cbsShine); }
BENCHMARK(BM_PaintBarNormal)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintBarModern)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tov
