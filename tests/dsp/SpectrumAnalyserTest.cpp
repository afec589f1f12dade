#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <vector>

#include "RealtimeCounter.h"
#include "dsp/SpectrumAnalyser.h"

namespace {

// When ≥ 0, the number of operator new calls that still succeed before one fails.
int failingAllocation = -1;

}  // namespace

void* operator new(std::size_t bytes) {
  if (failingAllocation >= 0 && failingAllocation-- == 0) throw std::bad_alloc();
  if (void* p = std::malloc(bytes ? bytes : 1)) return p;
  throw std::bad_alloc();
}
// Not inlined, so that the compiler does not pair std::free with operator new in callers.
__attribute__((noinline)) void operator delete(void* p) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// A full-scale sine that completes `cycles` periods in n samples: its energy falls on bin `cycles`.
std::vector<float> BinCentredSine(int n, int cycles) {
  std::vector<float> x(n);
  for (int i = 0; i < n; ++i) x[i] = static_cast<float>(std::sin(6.283185307179586 * cycles * i / n));
  return x;
}

// The window's sum is 0.42 × (N − 1), so the gain a bin-centred sine reads is a little under 0.42.
float CoherentGain(int n) { return static_cast<float>(0.42 * (n - 1) / n); }

bool AllZero(const SpectrumAnalyser& a) {
  for (int i = 0; i < a.Size() / 2; ++i)
    if (a.Spectrum()[i] != 0.0f) return false;
  return true;
}

}  // namespace

TEST(SpectrumAnalyser, StartsAt4096WithHalfBlendAndClearedSpectrum) {
  SpectrumAnalyser a;
  EXPECT_EQ(a.Size(), 4096);
  EXPECT_FLOAT_EQ(a.Blend(), 0.5f);
  EXPECT_TRUE(AllZero(a));
}

TEST(SpectrumAnalyser, BlackmanWindowIsZeroAtTheEdgesAndOneInTheMiddle) {
  SpectrumAnalyser a;
  const float* w = a.Window();
  EXPECT_NEAR(w[0], 0.0f, 1e-7f);
  EXPECT_NEAR(w[4095], 0.0f, 1e-7f);
  EXPECT_FLOAT_EQ(w[2047], 0.9999998f);
  EXPECT_FLOAT_EQ(w[2048], 0.9999998f);
  EXPECT_FLOAT_EQ(w[1024], static_cast<float>(0.42 - 0.5 * std::cos(6.283185307179586 * 1024 / 4095) +
                                               0.08 * std::cos(2 * 6.283185307179586 * 1024 / 4095)));
}

// The bin-centred sine reads the window's coherent gain at every size; the Blackman main lobe
// gives its neighbours 0.25 and is three bins wide each side.
TEST(SpectrumAnalyser, BinCentredSineReadsCoherentGainAtEverySize) {
  SpectrumAnalyser a;
  a.SetBlend(1.0);
  for (int n : {256, 512, 1024, 2048, 4096, 8192, 16384}) {
    ASSERT_TRUE(a.SetFftSize(n));
    const int bin = n / 4 + 3;
    const auto x = BinCentredSine(n, bin);
    const float* s = a.Process(x.data());
    EXPECT_NEAR(s[bin], CoherentGain(n), 1e-5f) << "n " << n;
    EXPECT_NEAR(s[bin - 1], 0.25f, 1e-3f) << "n " << n;
    EXPECT_LT(s[bin + 3], 1e-4f) << "n " << n;
    EXPECT_LT(s[10], 1e-4f) << "n " << n;
  }
}

TEST(SpectrumAnalyser, BlendMovesEachFrameAFractionTowardsTheNewMagnitude) {
  SpectrumAnalyser a;
  const auto x = BinCentredSine(4096, 100);  // 44100 × 100 / 4096 Hz at 44.1 kHz
  const float gain = CoherentGain(4096);
  EXPECT_NEAR(a.Process(x.data())[100], 0.5f * gain, 1e-5f);
  EXPECT_NEAR(a.Process(x.data())[100], 0.75f * gain, 1e-5f);
  for (int frame = 0; frame < 30; ++frame) a.Process(x.data());
  EXPECT_NEAR(a.Spectrum()[100], gain, 1e-5f);

  // A silent input decays by the same fraction per frame.
  a.SetBlend(0.1);
  const std::vector<float> silence(4096, 0.0f);
  const float before = a.Spectrum()[100];
  EXPECT_NEAR(a.Process(silence.data())[100], 0.9f * before, 1e-6f);
}

TEST(SpectrumAnalyser, ConstantInputPutsTwiceTheCoherentGainIntoTheDcBin) {
  const std::vector<float> ones(4096, 1.0f);
  for (double blend : {1.0, 0.5}) {
    SpectrumAnalyser a;
    a.SetBlend(blend);
    const float* s = a.Process(ones.data());
    EXPECT_NEAR(s[0], 2 * CoherentGain(4096) * blend, 1e-5f) << "blend " << blend;
    EXPECT_LT(s[3], 1e-6f) << "blend " << blend;
    EXPECT_LT(s[2047], 1e-6f) << "blend " << blend;
  }
}

TEST(SpectrumAnalyser, BlendIsClampedToTheUnitRangeAndIgnoresNaN) {
  SpectrumAnalyser a;
  a.SetBlend(0.25);
  EXPECT_FLOAT_EQ(a.Blend(), 0.25f);
  a.SetBlend(std::numeric_limits<double>::quiet_NaN());
  EXPECT_FLOAT_EQ(a.Blend(), 0.25f);
  a.SetBlend(7.0);
  EXPECT_FLOAT_EQ(a.Blend(), 1.0f);
  a.SetBlend(-1.0);
  EXPECT_FLOAT_EQ(a.Blend(), 0.0f);
}

class FilledAnalyser : public testing::Test {
protected:
  void SetUp() override {
    a.SetBlend(1.0);
    a.Process(BinCentredSine(4096, 100).data());
    ASSERT_GT(a.Spectrum()[100], 0.4f);
  }
  SpectrumAnalyser a;
};

TEST_F(FilledAnalyser, ClearSpectrumZeroesEveryBinAndKeepsTheSize) {
  a.ClearSpectrum();
  EXPECT_EQ(a.Size(), 4096);
  EXPECT_TRUE(AllZero(a));
}

TEST_F(FilledAnalyser, SetFftSizeClearsAndRebuildsEvenAtTheSameSize) {
  ASSERT_TRUE(a.SetFftSize(4096));
  EXPECT_TRUE(AllZero(a));
  ASSERT_TRUE(a.SetFftSize(256));
  EXPECT_EQ(a.Size(), 256);
  EXPECT_TRUE(AllZero(a));
  EXPECT_FLOAT_EQ(a.Window()[127], static_cast<float>(0.42 - 0.5 * std::cos(6.283185307179586 * 127 / 255) +
                                                        0.08 * std::cos(2 * 6.283185307179586 * 127 / 255)));
  EXPECT_NEAR(a.Window()[255], 0.0f, 1e-7f);
}

TEST_F(FilledAnalyser, SetFftSizeRejectsOtherSizesAndKeepsEverything) {
  for (int n : {0, -4096, 128, 1000, 4097, 32768}) {
    EXPECT_FALSE(a.SetFftSize(n)) << n;
    EXPECT_EQ(a.Size(), 4096);
    EXPECT_GT(a.Spectrum()[100], 0.4f);
  }
}

// A non-finite sample would otherwise stay in the blended spectrum for good.
TEST_F(FilledAnalyser, NonFiniteInputReadsZeroAndTheSpectrumRecovers) {
  auto x = BinCentredSine(4096, 100);
  x[2000] = std::numeric_limits<float>::quiet_NaN();
  x[2001] = std::numeric_limits<float>::infinity();
  const float* s = a.Process(x.data());
  for (int i = 0; i < 2048; ++i) ASSERT_TRUE(std::isfinite(s[i])) << i;
  a.SetBlend(0.5);
  EXPECT_NEAR(a.Process(BinCentredSine(4096, 100).data())[100], 0.5f * CoherentGain(4096), 1e-5f);
}

TEST_F(FilledAnalyser, ProcessAllocatesNothingAndTakesNoLock) {
  if (!testsupport::RealtimeCounterAvailable()) GTEST_SKIP() << "no allocation counter under sanitizers";
  const auto x = BinCentredSine(4096, 100);
  testsupport::RealtimeScope scope;
  a.Process(x.data());
  EXPECT_EQ(scope.Allocations(), 0);
  EXPECT_EQ(scope.Locks(), 0);
}

TEST_F(FilledAnalyser, FailedAllocationInSetFftSizeKeepsTheOldSizeAndBuffers) {
  const auto x = BinCentredSine(4096, 100);
  for (int failing = 0; failing < 3; ++failing) {
    failingAllocation = failing;
    EXPECT_FALSE(a.SetFftSize(16384)) << failing;
    failingAllocation = -1;
    EXPECT_EQ(a.Size(), 4096);
    EXPECT_GT(a.Spectrum()[100], 0.4f);
    EXPECT_NEAR(a.Process(x.data())[100], CoherentGain(4096), 1e-5f);
  }
}
