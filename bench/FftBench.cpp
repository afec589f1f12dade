// Side-by-side speed of the forward complex FFT choices for the spectrum view, 256 … 16384 points:
// ours (dsp/Fft.h), Debian's KissFFT, and FFTW as a reference only (GPL, never in the product).
// Every transform starts from a fresh copy of the same input, as the analyser's work buffer does;
// CopyOnly is that copy alone. AnalyserProcess is a whole frame of the analyser.
#include <benchmark/benchmark.h>
#include <fftw3.h>
#include <kiss_fft.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

#include "dsp/Fft.h"
#include "dsp/SpectrumAnalyser.h"

namespace {

std::vector<std::complex<float>> TestSignal(int n) {
  std::vector<std::complex<float>> x(n);
  for (int i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / n;
    x[i] = {static_cast<float>(0.5 * std::sin(2 * 3.141592653589793 * 37.0 * t) + 0.25 * std::cos(811.3 * t)),
            0.0f};
  }
  return x;
}

void CopyOnly(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto input = TestSignal(n);
  std::vector<std::complex<float>> work(n);
  for (auto _ : state) {
    std::copy(input.begin(), input.end(), work.begin());
    benchmark::DoNotOptimize(work.data());
    benchmark::ClobberMemory();
  }
  state.SetComplexityN(n);
}

void OwnFft(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  InitFftTables();
  const auto input = TestSignal(n);
  std::vector<std::complex<float>> work(n);
  for (auto _ : state) {
    std::copy(input.begin(), input.end(), work.begin());
    ForwardFft(work.data(), n);
    benchmark::DoNotOptimize(work.data());
    benchmark::ClobberMemory();
  }
  state.SetComplexityN(n);
}

// KissFFT allocates a scratch buffer on every in-place call, so it is timed out of place.
void KissFft(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  kiss_fft_cfg cfg = kiss_fft_alloc(n, 0, nullptr, nullptr);
  if (!cfg) {
    state.SkipWithError("kiss_fft_alloc failed");
    return;
  }
  const auto input = TestSignal(n);
  std::vector<kiss_fft_cpx> work(n), out(n);
  for (auto _ : state) {
    for (int i = 0; i < n; ++i) work[i] = {input[i].real(), input[i].imag()};
    kiss_fft(cfg, work.data(), out.data());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  kiss_fft_free(cfg);
  state.SetComplexityN(n);
}

void Fftw(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  auto* work = static_cast<fftwf_complex*>(fftwf_malloc(sizeof(fftwf_complex) * n));
  fftwf_plan plan = fftwf_plan_dft_1d(n, work, work, FFTW_FORWARD, FFTW_MEASURE);
  const auto input = TestSignal(n);
  for (auto _ : state) {
    for (int i = 0; i < n; ++i) {
      work[i][0] = input[i].real();
      work[i][1] = input[i].imag();
    }
    fftwf_execute(plan);
    benchmark::DoNotOptimize(work);
    benchmark::ClobberMemory();
  }
  fftwf_destroy_plan(plan);
  fftwf_free(work);
  state.SetComplexityN(n);
}

void AnalyserProcess(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  SpectrumAnalyser analyser;
  analyser.SetFftSize(n);
  std::vector<float> samples(n);
  const auto input = TestSignal(n);
  for (int i = 0; i < n; ++i) samples[i] = input[i].real();
  for (auto _ : state) benchmark::DoNotOptimize(analyser.Process(samples.data()));
  state.SetComplexityN(n);
}

}  // namespace

BENCHMARK(CopyOnly)->RangeMultiplier(2)->Range(kFftMinSize, kFftMaxSize);
BENCHMARK(OwnFft)->RangeMultiplier(2)->Range(kFftMinSize, kFftMaxSize)->Complexity(benchmark::oNLogN);
BENCHMARK(KissFft)->RangeMultiplier(2)->Range(kFftMinSize, kFftMaxSize)->Complexity(benchmark::oNLogN);
BENCHMARK(Fftw)->RangeMultiplier(2)->Range(kFftMinSize, kFftMaxSize)->Complexity(benchmark::oNLogN);
BENCHMARK(AnalyserProcess)->RangeMultiplier(2)->Range(kFftMinSize, kFftMaxSize);
