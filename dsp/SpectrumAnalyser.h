#pragma once
// One channel's spectrum for the Freq view: Blackman window, forward FFT, and a running
// blend of successive frames' magnitudes (linear amplitude, a bin-centred full-scale sine
// settles at 0.42). The editor's drain owns the calls; nothing here runs on the audio thread.
#include <complex>
#include <vector>

class SpectrumAnalyser {
public:
  // Size 4096, blend 0.5, spectrum cleared; also makes sure the shared FFT tables exist. [main-thread]
  SpectrumAnalyser() noexcept;

  // Resizes to n points (a power of two, 256 … 16384), clears the spectrum and rebuilds the
  // window. Returns false and changes nothing when n is no FFT size or memory runs out. [editor-thread]
  bool SetFftSize(int n) noexcept;
  // Sets every spectrum value to 0. [editor-thread]; [main-thread] while the editor is not processing.
  void ClearSpectrum() noexcept;
  // Weight of the newest frame, clamped to 0 … 1; NaN is ignored. [editor-thread]
  void SetBlend(double b) noexcept;
  // Blends the magnitudes of the Size() samples at x into the spectrum and returns it
  // (Size() / 2 values). A bin whose result is not finite reads 0. Allocates nothing. [editor-thread]
  const float* Process(const float* x) noexcept;

  int Size() const noexcept { return size; }
  float Blend() const noexcept { return blend; }
  const float* Spectrum() const noexcept { return spectrum.data(); }
  const float* Window() const noexcept { return window.data(); }

private:
  int size = 0;
  float blend = 0.5f;
  std::vector<float> spectrum;
  std::vector<float> window;
  std::vector<std::complex<float>> work;
};
