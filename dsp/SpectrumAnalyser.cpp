#include "dsp/SpectrumAnalyser.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "dsp/Fft.h"

SpectrumAnalyser::SpectrumAnalyser() noexcept {
  InitFftTables();
  SetFftSize(4096);
}

bool SpectrumAnalyser::SetFftSize(int n) noexcept {
  if (!IsFftSize(n)) return false;
  // Built aside and swapped in, so a failed allocation leaves the old size and buffers intact.
  try {
    std::vector<float> newSpectrum(n / 2, 0.0f);
    std::vector<float> newWindow(n);
    std::vector<std::complex<float>> newWork(n);
    const double twoPi = 6.283185307179586;
    for (int i = 0; i < n; ++i) {
      const double w = 0.42 - 0.5 * std::cos(twoPi * i / (n - 1)) + 0.08 * std::cos(2.0 * twoPi * i / (n - 1));
      newWindow[i] = static_cast<float>(w);
    }
    spectrum.swap(newSpectrum);
    window.swap(newWindow);
    work.swap(newWork);
  } catch (const std::bad_alloc&) {
    return false;
  }
  size = n;
  return true;
}

void SpectrumAnalyser::ClearSpectrum() noexcept { std::fill(spectrum.begin(), spectrum.end(), 0.0f); }

void SpectrumAnalyser::SetBlend(double b) noexcept {
  if (std::isnan(b)) return;
  blend = static_cast<float>(std::clamp(b, 0.0, 1.0));
}

const float* SpectrumAnalyser::Process(const float* x) noexcept {
  const int n = size;
  for (int i = 0; i < n; ++i) work[i] = {window[i] * x[i], 0.0f};
  if (!ForwardFft(work.data(), n)) return spectrum.data();
  const float b = blend;
  const double k = 2.0f * b / static_cast<float>(n);
  const float keep = 1.0f - b;
  for (int i = 0; i < n / 2; ++i) {
    const float re = work[i].real(), im = work[i].imag();
    const double m = std::sqrt(static_cast<double>(re * re + im * im));
    const float v = static_cast<float>(m * k + static_cast<double>(keep * spectrum[i]));
    // A NaN or infinity from the input would otherwise stay in the blend for good.
    spectrum[i] = std::isfinite(v) ? v : 0.0f;
  }
  return spectrum.data();
}
