#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "KorvelHarness.h"

namespace {

const std::vector<double> kDefaults = {0, 1, 1, 0, 0, 0, 0, 0, 0, 3, 4, 0.5, 0.75, 0.5, 1, 0.5};

framework::StateChunk Chunk(const std::vector<double>& values, int bytes = -1) {
  framework::StateChunk c;
  for (double v : values) c.PutDouble(v);
  if (bytes >= 0) c.Resize(bytes);
  return c;
}

std::vector<double> Values(const Korvel& k) {
  std::vector<double> v;
  for (int i = 0; i < k.ParamCount(); ++i) v.push_back(k.GetParam(i)->Current());
  return v;
}

}  // namespace

TEST(KorvelState, AFreshInstanceSaves128BytesOfDefaults) {
  KorvelHarness h;
  framework::StateChunk chunk;
  ASSERT_TRUE(h.korvel->SaveState(chunk));
  ASSERT_EQ(chunk.Size(), 128);
  for (int i = 0; i < 16; ++i) {
    double v;
    std::memcpy(&v, chunk.Data() + 8 * i, 8);
    EXPECT_EQ(v, kDefaults[i]) << i;
  }
}

TEST(KorvelState, LoadingAppliesConstrainsAndReportsShortInput) {
  struct Case {
    const char* what;
    std::vector<double> stored;
    int bytes;
    int result;
    std::vector<double> expected;
  };
  auto with = [](int idx, double v) {
    auto s = kDefaults;
    s[idx] = v;
    return s;
  };
  std::vector<double> changed = {2, 0, 0, 1, 1, 10, 20, 30, 40, -12, 6, 1, 0.25, 0.1, 0.9, 0.3};
  std::vector<double> firstTwelve = changed;
  for (int i = 12; i < 16; ++i) firstTwelve[i] = kDefaults[i];
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {"defaults", kDefaults, -1, 128, kDefaults},
      {"changed", changed, -1, 128, changed},
      {"100 bytes", changed, 100, -1, firstTwelve},
      {"empty", changed, 0, -1, kDefaults},
      {"longer", [&] { auto v = changed; v.push_back(99); return v; }(), -1, 128, changed},
      {"off step", with(10, 4.4), -1, 128, with(10, 4)},
      {"over range", with(5, 900), -1, 128, with(5, 500)},
      {"infinite", with(9, -inf), -1, 128, with(9, -30)},
      {"NaN keeps the value", with(12, nan), -1, 128, kDefaults},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KorvelHarness h;
    const framework::StateChunk chunk = Chunk(c.stored, c.bytes);
    EXPECT_EQ(h.korvel->LoadState(chunk, 0), c.result);
    const auto values = Values(*h.korvel);
    for (int i = 0; i < 16; ++i) EXPECT_DOUBLE_EQ(values[i], c.expected[i]) << "parameter " << i;
  }
}

TEST(KorvelState, LoadingBringsTheDisplaySettingsInLine) {
  KorvelHarness h;
  std::vector<double> stored = kDefaults;
  stored[ParamIdx(KorvelParam::Domain)] = 1;
  stored[ParamIdx(KorvelParam::Input3)] = 1;
  stored[ParamIdx(KorvelParam::FftSize)] = 6;
  stored[ParamIdx(KorvelParam::Opacity)] = 1.0;
  h.korvel->LoadState(Chunk(stored), 0);
  EXPECT_EQ(h.korvel->domain.load(), 1);
  EXPECT_TRUE(h.korvel->Channel(2)->enabled.load());
  EXPECT_EQ(h.korvel->requestedFftSize.load(), 16384);
  EXPECT_EQ(h.korvel->Channel(3)->colour.alpha.load(), 216);
}

TEST(KorvelState, RandomBytesNeverLeaveAParameterOutOfRangeOrNaN) {
  std::mt19937 random(1234);
  for (int round = 0; round < 300; ++round) {
    KorvelHarness h;
    framework::StateChunk chunk;
    const int size = static_cast<int>(random() % 200);
    for (int i = 0; i < size; ++i) {
      const auto byte = static_cast<uint8_t>(random());
      chunk.PutBytes(&byte, 1);
    }
    const int result = h.korvel->LoadState(chunk, 0);
    EXPECT_EQ(result, size >= 128 ? 128 : -1);
    for (int i = 0; i < 16; ++i) {
      const framework::IParam* p = h.korvel->GetParam(i);
      const double v = p->Current();
      ASSERT_FALSE(std::isnan(v));
      ASSERT_GE(v, p->Min());
      ASSERT_LE(v, p->Max());
    }
  }
}
