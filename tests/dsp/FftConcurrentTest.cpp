#include <gtest/gtest.h>

#include <complex>
#include <thread>
#include <vector>

#include "dsp/Fft.h"

// Two hosts may create instances at once: every thread's first transform must see whole tables.
TEST(FftConcurrent, TablesInitialisedFromSeveralThreadsAtOnceServeEveryThread) {
  std::vector<std::thread> threads;
  std::vector<std::complex<float>> results(4);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&results, t] {
      InitFftTables();
      std::vector<std::complex<float>> x(1024);
      for (int i = 0; i < 1024; ++i) x[i] = {static_cast<float>(i % 4 == 1), 0.0f};
      results[t] = ForwardFft(x.data(), 1024) ? x[256] : std::complex<float>();
    });
  }
  for (auto& t : threads) t.join();
  // Ones at every fourth sample from 1: bin 256 is 256 · e^(−iπ/2) = −256i.
  for (const auto& r : results) {
    EXPECT_NEAR(r.real(), 0.0f, 1e-3f);
    EXPECT_NEAR(r.imag(), -256.0f, 1e-3f);
  }
}
