// One editor frame as the display tick runs it: drain the rings, then draw the dirty regions
// (the graph and what overlaps it), at 48 kHz with 800 new frames per tick. The "graph only"
// cases draw into a backend that discards everything, which leaves our own computation; the
// difference to the full frame is Skia's share.
#include <benchmark/benchmark.h>

#include "tests/display/EditorHarness.h"

namespace {

class DiscardingGui final : public graphics::IGuiHeadless {
public:
  explicit DiscardingGui(framework::IGuiEditorDelegate& owner) : IGuiHeadless(owner, 724, 526, 60, 1.0f) {}
  void PathMoveTo(float, float) override {}
  void PathLineTo(float, float) override {}
  void PathClose() override {}
  void PathStroke(const graphics::IPaintPattern&, float, const graphics::IStrokeStyle&, const graphics::IBlendSpec*) override {}
  void PathFill(const graphics::IPaintPattern&, const graphics::IFillStyle&, const graphics::IBlendSpec*) override {}
};

struct Setup {
  int domain;
  int channels;
  int fftIndex;  // 4 → 4096, 6 → 16384
  float scale;
};

void Prepare(EditorHarness& h, const Setup& s) {
  for (int c = 0; c < 4; ++c) h.SetParam(static_cast<KorvelParam>(ParamIdx(KorvelParam::Input1) + c), c < s.channels);
  h.SetParam(KorvelParam::Domain, s.domain);
  h.SetParam(KorvelParam::FftSize, s.fftIndex);
  h.SetParam(KorvelParam::Opacity, 0.75);
  if (s.domain == 1) {
    h.SetParam(KorvelParam::XZoomLow, 0.0);
    h.SetParam(KorvelParam::XZoomHigh, 0.75);
  }
  h.Open();
  h.gui->ResizeEditor(Korvel::kEditorWidth, Korvel::kEditorHeight, s.scale, true);
  for (int i = 0; i < 70; ++i) {
    h.Feed(800);
    h.Tick();
  }
}

void FullFrame(benchmark::State& state, Setup s) {
  EditorHarness h;
  Prepare(h, s);
  for (auto _ : state) {
    state.PauseTiming();
    h.Feed(800);
    state.ResumeTiming();
    h.Tick();
  }
}

void GraphOnly(benchmark::State& state, Setup s) {
  EditorHarness h;
  Prepare(h, s);
  DiscardingGui g(*h.korvel);
  for (auto _ : state) {
    state.PauseTiming();
    h.Feed(800);
    state.ResumeTiming();
    h.korvel->ApplyPendingSettings();
    h.Graph()->Draw(g);
  }
}

#define KORVEL_FRAME_CASE(name, ...)                                                               \
  BENCHMARK_CAPTURE(FullFrame, name, Setup{__VA_ARGS__})->Unit(benchmark::kMicrosecond);           \
  BENCHMARK_CAPTURE(GraphOnly, name, Setup{__VA_ARGS__})->Unit(benchmark::kMicrosecond)

KORVEL_FRAME_CASE(time_1ch_scale1, 0, 1, 4, 1.0f);
KORVEL_FRAME_CASE(time_4ch_scale1, 0, 4, 4, 1.0f);
KORVEL_FRAME_CASE(time_1ch_scale2, 0, 1, 4, 2.0f);
KORVEL_FRAME_CASE(time_4ch_scale2, 0, 4, 4, 2.0f);
KORVEL_FRAME_CASE(freq_fft4096_2ch, 1, 2, 4, 1.0f);
KORVEL_FRAME_CASE(freq_fft16384_2ch, 1, 2, 6, 1.0f);
KORVEL_FRAME_CASE(phase_2ch, 2, 2, 4, 1.0f);
KORVEL_FRAME_CASE(phase_4ch, 2, 4, 4, 1.0f);

}  // namespace
