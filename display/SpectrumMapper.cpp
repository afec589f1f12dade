#include "display/SpectrumMapper.h"

#include <algorithm>
#include <cmath>

void SpectrumMapper::BuildTable(int m) {
  if (m < 1) {
    table.clear();
    return;
  }
  table.resize(static_cast<size_t>(m));
  const double twoM = 2.0 * m;
  const double logTwoM = std::log(twoM);
  for (int i = 0; i < m; ++i) table[i] = static_cast<float>(std::exp((1.0 - i / twoM) * logTwoM) / twoM);
}

const float* SpectrumMapper::Map(const float* spectrum, int first, int count, int width) {
  if (count < 1 || width <= 0 || !spectrum || first < 0 || first + count > static_cast<int>(table.size()))
    return result.data();
  positions.assign(static_cast<size_t>(count), 0.0f);
  pixels.assign(static_cast<size_t>(count), 0);
  result.assign(static_cast<size_t>(width), 0.0f);

  const float a = table[first];
  float span = table[first + count - 1] - a;
  if (span == 0.0f) span = 1.0f;
  const auto w = static_cast<float>(width);

  int sparse = count;
  for (int j = 1; j < count; ++j) {
    positions[j] = (table[first + j] - a) * w / span;
    pixels[j] = static_cast<int>(positions[j]);
    if (pixels[j] == pixels[j - 1]) {
      sparse = j;
      break;
    }
  }
  if (sparse > 1) InterpolateSparse(spectrum + first, sparse, width);
  for (int j = sparse; j < count; ++j) {
    const auto p = static_cast<int>((table[first + j] - a) * w / span);
    if (p >= 0 && p < width) result[p] = std::max(result[p], spectrum[first + j]);
  }
  return result.data();
}

// A curve through the midpoints between neighbouring bins, pulled towards each bin's value
// (quadratic Bézier segments), so isolated low bins read as a line rather than steps.
void SpectrumMapper::InterpolateSparse(const float* v, int c, int width) {
  const std::vector<int>& px = pixels;
  const auto mid = [&](int j) { return (px[j - 1] + px[j]) / 2.0; };
  const auto midValue = [&](int j) { return (static_cast<double>(v[j - 1]) + v[j]) / 2.0; };
  int i = 0;
  const auto put = [&](double y) {
    if (i < width) result[i] = static_cast<float>(y);
    ++i;
  };

  auto end = static_cast<int>(std::floor(mid(1) + 0.5));
  double slope = (static_cast<double>(v[1]) - v[0]) / (px[1] - px[0]);
  double value = v[0];
  while (i < end && i < width) {
    put(value);
    value += slope;
  }

  for (int j = 2; j < c; ++j) {
    end = static_cast<int>(std::floor(mid(j) + 0.5));
    const double m0 = mid(j - 1), m1 = mid(j);
    const double mv0 = midValue(j - 1), mv1 = midValue(j);
    const double P = px[j - 1], Q = v[j - 1];
    if (mv0 == mv1 && Q == mv0) {
      while (i < end && i < width) put(Q);
      continue;
    }
    while (i < end && i < width) {
      const double x = i;
      if (x <= m0) {
        value = mv0;
      } else if (x >= m1) {
        value = mv1;
      } else {
        const double E = m0 - 2.0 * P + m1;
        double t;
        if (E == 0.0) {
          t = m0 == m1 ? 0.0 : (x - m0) / (m1 - m0);
        } else {
          const double D = P - m0;
          t = (std::sqrt(std::max(0.0, D * D - (m0 - x) * E)) - D) / E;
        }
        value = (1 - t) * (1 - t) * mv0 + 2 * (1 - t) * t * Q + t * t * mv1;
      }
      put(value);
    }
  }

  slope = (static_cast<double>(v[c - 1]) - v[c - 2]) / (px[c - 1] - px[c - 2]);
  value = midValue(c - 1);
  while (i < px[c - 1] && i < width) {
    put(value);
    value += slope;
  }
}

FrequencyRange ComputeFrequencyRange(double xZoomLow, double xZoomHigh, int fftSize, double rate) {
  FrequencyRange r;
  r.highHz = ZoomFrequency(xZoomHigh, rate);
  r.lowHz = ZoomFrequency(xZoomLow, rate);
  if (fftSize <= 0 || !(rate > 0.0)) return r;
  // At the Nyquist frequency itself the bin would be N / 2, one past the spectrum's last.
  const int highest = std::max(fftSize / 2 - 1, 0);
  const int hi = std::min(static_cast<int>(r.highHz * fftSize / rate), highest);
  const int lo = std::min(static_cast<int>(r.lowHz * fftSize / rate), highest);
  r.lastBin = hi + 1;
  r.firstBin = lo + 1;
  if (r.lastBin <= r.firstBin) {
    if (r.firstBin < fftSize / 2)
      r.lastBin = r.firstBin + 1;
    else
      r.firstBin = hi;
    r.lowHz = r.firstBin * rate / fftSize;
    r.highHz = r.lastBin * rate / fftSize;
  }
  return r;
}
