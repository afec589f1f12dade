#include "engine/ScopeMath.h"

#include <algorithm>
#include <cmath>

double LevelRange(double yZoom) noexcept { return (1.0 - yZoom) * 1.999 + 0.001; }

double SpectrumLevelRange(double yZoom) noexcept { return (1.0 - yZoom) * 1.999 * 0.5 + 0.001; }

double TopFrequency(double rate) noexcept {
  return rate > 0.0 ? std::min(kHighestFrequency, rate * 0.5) : kHighestFrequency;
}

double ZoomFrequency(double x, double rate) noexcept {
  return x * x * (TopFrequency(rate) - kLowestFrequency) + kLowestFrequency;
}

double HoldDb(double normalised) noexcept { return normalised * (kHoldMaxDb - kHoldMinDb) + kHoldMinDb; }

double HoldNormalised(double db) noexcept { return std::clamp((db - kHoldMinDb) / (kHoldMaxDb - kHoldMinDb), 0.0, 1.0); }

double HoldLevel(double db) noexcept { return db >= kHoldMaxDb ? -1.0 : Amplitude(db); }

double Amplitude(double db) noexcept { return std::pow(10.0, db / 20.0); }

int32_t OpacityAlpha(double opacity) noexcept {
  return static_cast<int32_t>(static_cast<float>(opacity) * 216.75f);  // 0.85 × 255
}
