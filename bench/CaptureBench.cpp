// The audio thread's capture against a plain copy of the same input, and the display's
// drain at the sizes it meets.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "display/Korvel.h"

namespace {

constexpr int kFrames = 512;

struct Rig {
  std::unique_ptr<Korvel> korvel = std::make_unique<Korvel>(KorvelCreationInfo{});
  std::vector<std::vector<double>> in, out;
  std::vector<double*> ip, op;

  Rig(int channels, int maxFrames) : in(channels, std::vector<double>(maxFrames)), out(channels, std::vector<double>(maxFrames)) {
    korvel->ResizeBlock(maxFrames);
    korvel->MarkChannelsConnected(framework::Input, 0, channels, true);
    korvel->MarkChannelsConnected(framework::Output, 0, channels, true);
    for (int c = 0; c < channels; ++c) {
      for (int i = 0; i < maxFrames; ++i) in[c][i] = std::sin(0.01 * i + c);
      ip.push_back(in[c].data());
      op.push_back(out[c].data());
    }
  }
  void Block(int frames) {
    korvel->BindHostBuffers(framework::Input, 0, static_cast<int>(ip.size()), ip.data(), frames);
    korvel->BindHostBuffers(framework::Output, 0, static_cast<int>(op.size()), op.data(), frames);
    korvel->RunBlock(frames);
  }
};

void BM_MemcpyBaseline(benchmark::State& state) {
  const int channels = static_cast<int>(state.range(0));
  std::vector<std::vector<double>> in(channels, std::vector<double>(kFrames, 0.5)), out = in;
  for (auto _ : state) {
    for (int c = 0; c < channels; ++c) std::memcpy(out[c].data(), in[c].data(), kFrames * sizeof(double));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * channels * kFrames * static_cast<int64_t>(sizeof(double)));
}
BENCHMARK(BM_MemcpyBaseline)->Arg(2)->Arg(4);

// The rings stay full, so every block also drops the oldest samples: the costliest case.
void BM_ProcessAudioBlock(benchmark::State& state) {
  const int channels = static_cast<int>(state.range(0));
  Rig rig(channels, kFrames);
  for (auto _ : state) {
    rig.korvel->ProcessAudioBlock(rig.ip.data(), rig.op.data(), kFrames);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * channels * kFrames * static_cast<int64_t>(sizeof(double)));
}
BENCHMARK(BM_ProcessAudioBlock)->Arg(2)->Arg(4);

// The same through the processor base, as a binding runs it: binding, then the block.
void BM_RunBlock(benchmark::State& state) {
  const int channels = static_cast<int>(state.range(0));
  Rig rig(channels, kFrames);
  for (auto _ : state) {
    rig.Block(kFrames);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * channels * kFrames * static_cast<int64_t>(sizeof(double)));
}
BENCHMARK(BM_RunBlock)->Arg(2)->Arg(4);

// Four enabled channels in Freq, 800 new frames per display tick.
void BM_DrainSamples(benchmark::State& state) {
  Rig rig(4, 800);
  Korvel& k = *rig.korvel;
  for (int p : {ParamIdx(KorvelParam::Input3), ParamIdx(KorvelParam::Input4)}) {
    k.GetParam(p)->Store(1.0);
    k.OnParamChange(p);
  }
  k.GetParam(ParamIdx(KorvelParam::Domain))->Store(1.0);
  k.OnParamChange(ParamIdx(KorvelParam::Domain));
  k.GetParam(ParamIdx(KorvelParam::FftSize))->Store(std::log2(static_cast<double>(state.range(0))) - 8);
  k.OnParamChange(ParamIdx(KorvelParam::FftSize));
  k.DrainSamples();
  for (auto _ : state) {
    state.PauseTiming();
    rig.Block(800);
    state.ResumeTiming();
    benchmark::DoNotOptimize(k.DrainSamples());
  }
}
BENCHMARK(BM_DrainSamples)->Arg(4096)->Arg(16384)->Unit(benchmark::kMicrosecond);

}  // namespace
