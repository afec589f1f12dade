#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

#include "dsp/Fft.h"

namespace {

std::vector<std::complex<float>> Signal(int n) {
  std::vector<std::complex<float>> x(n);
  for (int i = 0; i < n; ++i)
    x[i] = {static_cast<float>(std::sin(0.37 * i) + 0.3 * std::cos(1.9 * i * i / n)),
            static_cast<float>(0.5 * std::cos(0.11 * i) - 0.2)};
  return x;
}

// Bin k of the DFT of x, summed in double.
std::complex<double> NaiveBin(const std::vector<std::complex<float>>& x, int k) {
  const int n = static_cast<int>(x.size());
  std::complex<double> sum;
  for (int j = 0; j < n; ++j) {
    const double a = -2.0 * 3.141592653589793 * static_cast<double>(static_cast<long>(j) * k % n) / n;
    sum += std::complex<double>(x[j]) * std::complex<double>(std::cos(a), std::sin(a));
  }
  return sum;
}

}  // namespace

// Odd and even powers of two take different first passes. 256 bins per size, odd and even ones.
TEST(Fft, MatchesNaiveDftInNaturalOrderAtEverySize) {
  InitFftTables();
  for (int n = kFftMinSize; n <= kFftMaxSize; n *= 2) {
    const auto input = Signal(n);
    auto x = input;
    ASSERT_TRUE(ForwardFft(x.data(), n));
    double worst = 0;
    for (int s = 0; s < 256; ++s) {
      const int k = (s * (n / 256) + s) % n;
      worst = std::max(worst, std::abs(std::complex<double>(x[k]) - NaiveBin(input, k)));
    }
    // Rounding error grows with n and log2(n); a wrong twiddle or order costs far more.
    EXPECT_LT(worst, 1e-7 * n) << "n " << n;
  }
}

TEST(Fft, RejectsSizesOutsideThePowersOfTwoItServes) {
  InitFftTables();
  std::vector<std::complex<float>> x(32768, {1.0f, 0.0f});
  for (int n : {0, -256, 128, 300, 4095, 32768}) {
    EXPECT_FALSE(ForwardFft(x.data(), n)) << n;
    EXPECT_EQ(x[0], std::complex<float>(1.0f, 0.0f));
  }
  EXPECT_FALSE(ForwardFft(nullptr, 256));
}
