// Repaint costs of the 724 × 526 demo editor filled with the stock controls: a full repaint
// at draw scale 1 and 2, one dirty control's repaint, and MarkDirty → paint of one knob.
#include <benchmark/benchmark.h>

#include "GraphicsTestSupport.h"
#include "graphics/IControl.h"
#include "graphics/platform/headless/IGuiHeadless.h"

namespace {

struct Editor {
  explicit Editor(float scale) : gui(delegate, 724, 526, 60, scale) {
    delegate.SetLayoutFunction(graphicstest::DemoLayout);
    gui.OpenWindow(nullptr);
    gui.Tick();
  }
  graphicstest::TestDelegate delegate;
  graphics::IGuiHeadless gui;
};

void BM_FullRepaint(benchmark::State& state) {
  Editor editor(static_cast<float>(state.range(0)));
  const std::vector<graphics::IRect> all{{0, 0, 724, 526}};
  for (auto _ : state) editor.gui.DrawDirty(all);
}
BENCHMARK(BM_FullRepaint)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The Opacity knob's region only, as a tick would collect it.
void BM_OneControlRepaint(benchmark::State& state) {
  Editor editor(static_cast<float>(state.range(0)));
  graphics::IControl* knob = editor.gui.GetControl(6);
  const std::vector<graphics::IRect> one{knob->GetRect().Grown(0.75f)};
  for (auto _ : state) editor.gui.DrawDirty(one);
}
BENCHMARK(BM_OneControlRepaint)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// A knob's value changes and the next tick collects and paints it.
void BM_KnobMarkDirtyToPaint(benchmark::State& state) {
  Editor editor(static_cast<float>(state.range(0)));
  graphics::IControl* knob = editor.gui.GetControl(6);
  double value = 0.0;
  for (auto _ : state) {
    value = value > 0.9 ? 0.0 : value + 0.01;
    knob->SetValue(value);
    knob->MarkDirty(false);
    benchmark::DoNotOptimize(editor.gui.Tick());
  }
}
BENCHMARK(BM_KnobMarkDirtyToPaint)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
