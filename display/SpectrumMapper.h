#pragma once
// Lays a spectrum's bins out on the warped frequency axis, one magnitude per pixel column:
// where bins are sparse (low frequencies) a smooth curve through them, where they are dense
// the largest bin of each column. [editor-thread]; grows its buffers on demand.
#include <vector>

#include "engine/ScopeMath.h"

class SpectrumMapper {
public:
  // The warp for m bins: table[i] = (2m)^(−i / (2m)), falling from 1 towards 1 / √(2m).
  void BuildTable(int m);
  // Magnitudes of spectrum bins first … first + count − 1 over `width` columns. Returns the
  // previous result untouched when count < 1, width ≤ 0 or the bins lie outside the table.
  const float* Map(const float* spectrum, int first, int count, int width);

  const std::vector<float>& Table() const noexcept { return table; }

private:
  void InterpolateSparse(const float* values, int sparse, int width);

  std::vector<float> table;
  std::vector<float> positions;
  std::vector<float> result;
  std::vector<int> pixels;
};

// The bins and edge frequencies a frequency view shows for its zoom edges (0 … 1).
struct FrequencyRange {
  int firstBin = 0;  // shown bins are firstBin … lastBin − 1
  int lastBin = 0;
  double lowHz = 0.0;
  double highHz = 0.0;
};

// Zoom edges map to frequencies by ZoomFrequency; the shown bins stay below N / 2, and a range
// narrower than one bin widens to one.
FrequencyRange ComputeFrequencyRange(double xZoomLow, double xZoomHigh, int fftSize, double rate);
