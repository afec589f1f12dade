#pragma once
// The forward complex FFT behind the spectrum view: in place, single precision, unscaled,
// power-of-two sizes kFftMinSize … kFftMaxSize, output in natural bin order.
// Its twiddle and bit-reversal tables are built once per process and shared read-only.
#include <complex>

constexpr int kFftMinSize = 256;
constexpr int kFftMaxSize = 16384;

// True for the powers of two kFftMinSize … kFftMaxSize.
constexpr bool IsFftSize(int n) noexcept {
  return n >= kFftMinSize && n <= kFftMaxSize && (n & (n - 1)) == 0;
}

// Builds the shared tables on the first call; later calls only wait for that one to finish.
// Call before the first transform (the analyser's constructor does). [thread-safe]
void InitFftTables() noexcept;

// X[k] = Σ x[j]·e^(−2πijk/n), written over data. Allocates nothing. Returns false, leaving
// data untouched, when n is not an FFT size or the tables were never initialised. [thread-safe]
bool ForwardFft(std::complex<float>* data, int n) noexcept;
