#include "display/TimeTrace.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kHistory = 48000;
constexpr int kMinWindow = 32;

// Zoom edges arrive from the host through the parameters; anything outside 0 … 1 (the 0.001
// gap can push an edge just past either end) is kept to the history.
int HistoryIndex(double edge) noexcept {
  if (!(edge > 0.0)) return 0;
  if (edge >= 1.0) return kHistory;
  return static_cast<int>(edge * kHistory);
}
}  // namespace

int DelaySamples(double delayMs, double referenceRate) noexcept {
  const double d = delayMs * 0.001 * referenceRate;
  if (!(d > 0.0)) return 0;
  return d >= kHistory ? kHistory : static_cast<int>(d);
}

TimeWindow ComputeTimeWindow(double xZoomLow, double xZoomHigh, int delaySamples) noexcept {
  const int lo = HistoryIndex(xZoomLow);
  const int hi = HistoryIndex(xZoomHigh);
  const int span = std::clamp(hi - lo, 0, kHistory);
  int start = 0;
  int end = span;
  if (lo - delaySamples >= 0) {
    start = lo - delaySamples;
    end = start + span;
  }
  int n = end - start;
  if (n < kMinWindow) {
    start = std::max(0, end - kMinWindow);
    n = kMinWindow;
  }
  start = std::clamp(start, 0, kHistory - n);
  return {start, n};
}

int HoldStart(const float* history, int n, double holdLevel) noexcept {
  if (!history || !(holdLevel > 0.0)) return -1;
  const int h = n / 2;
  if (h < 1 || h > kHistory / 2 || h >= kHistory - 1 - h) return -1;
  for (int i = h; i < kHistory - 1 - h; ++i)
    if (std::fabs(static_cast<double>(history[i])) > holdLevel) return i - h;
  return -1;
}
