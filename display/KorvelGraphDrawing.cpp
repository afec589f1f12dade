// What the graph draws: time traces (line view and the incremental min/max envelope), the
// phase clouds and the spectra, each channel as one path.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "display/Korvel.h"
#include "display/KorvelGraph.h"
#include "display/TimeTrace.h"
#include "engine/ScopeMath.h"
#include "graphics/IGui.h"

using graphics::IColour;
using graphics::IGui;

namespace {

constexpr int kHistory = Korvel::kHistorySamples;
constexpr int kPhasePoints = 1024;
constexpr double kPhaseAngle = 0.7853981625;

// NaN goes to the low end, so samples that are not numbers still land inside the graph.
float ClampY(float v, float lo, float hi) noexcept { return v > lo ? (v < hi ? v : hi) : lo; }

// Many one-pixel lines (or dots) of one colour go to the backend as a few paths, each
// stroked (or filled) once: far cheaper than a draw call per line, with the same geometry.
// Paths are kept short, since the rasteriser's cost grows faster than their length.
class Batch {
public:
  static constexpr int kPerPath = 64;

  // A thickness of 0 strokes hairlines: one device pixel wide at any scale.
  Batch(IGui& gui, const IColour& batchColour, bool filled = false, float strokeThickness = 1.0f)
      : g(gui), colour(batchColour), fill(filled), thickness(strokeThickness) {
    g.PathClear();
  }
  ~Batch() { Flush(); }
  Batch(const Batch&) = delete;
  Batch& operator=(const Batch&) = delete;

  void Line(float x1, float y1, float x2, float y2) {
    g.PathMoveTo(x1, y1);
    g.PathLineTo(x2, y2);
    if (++count == kPerPath) Flush();
  }
  void Dot(float x, float y) {
    g.PathRect({x, y, x + 1.0f, y + 1.0f});
    if (++count == kPerPath) Flush();
  }

private:
  void Flush() {
    if (count == 0) return;
    if (fill)
      g.PathFill(graphics::IPaintPattern::Solid(colour));
    else
      g.PathStroke(graphics::IPaintPattern::Solid(colour), thickness);
    g.PathClear();
    count = 0;
  }

  IGui& g;
  IColour colour;
  bool fill;
  float thickness;
  int count = 0;
};

IColour ChannelColour(const KorvelChannel& channel) noexcept {
  return {channel.colour.alpha.load(std::memory_order_relaxed), channel.colour.red, channel.colour.green,
          channel.colour.blue};
}

}  // namespace

void KorvelGraph::DrawTimeTrace(IGui& g, const KorvelChannel& channel, int c, int newFrames) {
  const float* history = channel.History();
  const int w = columns;
  if (!history || w <= 0) return;
  const float l = drawRect.L, t = drawRect.T, b = drawRect.B;
  const IColour colour = ChannelColour(channel);
  const int d = DelaySamples(channel.delayMs.load(std::memory_order_relaxed), referenceRate);
  const float cy = (t + b) * 0.5f;
  const TimeWindow window = ComputeTimeWindow(zoom.xZoomLow, zoom.xZoomHigh, d);
  const int n = window.n;
  const float* p = history + window.start;
  const float pps = static_cast<float>(w) / static_cast<float>(n);

  const int held = HoldStart(history, n, holdLevel);
  if (held >= 0) {
    fullRedraw = true;
    p = history + held;
  }

  if (n < w) {
    // Line view: fewer samples than columns, joined by lines, with crosses when far apart.
    const bool crosses = n < w / 4;
    const auto xOf = [&](int j) { return j == 0 ? l : l + std::min(static_cast<float>(w - 1), static_cast<float>(j + 1) * pps); };
    const auto yOf = [&](int j) { return ClampY(cy - yScale * p[j], t + 1.0f, b - 2.0f); };
    Batch lines(g, colour);
    float px = xOf(0), py = yOf(0);
    for (int j = 1; j < n; ++j) {
      const float x = xOf(j), y = yOf(j);
      lines.Line(px, py, x, y);
      if (crosses) {
        lines.Line(x - 2.0f, y, x + 2.0f, y);
        lines.Line(x, y - 2.0f, x, y + 2.0f);
      }
      px = x;
      py = y;
    }
    return;
  }

  // Envelope view: only the columns of newly arrived samples are reduced; the rest scroll left.
  float* top = envelopeTop[static_cast<size_t>(c & 3)].data();
  float* bottom = envelopeBottom[static_cast<size_t>(c & 3)].data();
  int k = n;
  int cols = w;
  if (!fullRedraw) {
    k = std::clamp(newFrames, 0, n);
    cols = std::min(w, static_cast<int>(static_cast<float>(k) * pps));
    p += n - k;
  }
  if (cols > 0) {
    const auto kept = static_cast<size_t>(w - cols);
    std::memmove(top, top + cols, kept * sizeof(float));
    std::memmove(bottom, bottom + cols, kept * sizeof(float));
    ReduceColumns(p, k, top + kept, bottom + kept, cols);
  }
  // Each column is drawn as vertical lines through the centres of its device pixel columns (one
  // hairline per device pixel of the unit), reaching halfway to its neighbours' edges: the
  // pixels the lines joining the columns' tops and bottoms would cover, without those long
  // slanted lines, which the rasteriser blends two pixels a row, and without wide strokes,
  // which it fills as polygons. Both cost many times more than straight hairlines.
  const float s = g.BackingScale() > 0.0f ? g.BackingScale() : 1.0f;
  const int strands = std::clamp(static_cast<int>(std::ceil(s - 0.01f)), 1, 8);
  Batch lines(g, colour, false, 0.0f);
  for (int i = 0; i < w; ++i) {
    float hi = top[i], lo = bottom[i];
    if (i > 0) {
      hi = std::min(hi, (top[i - 1] + top[i]) * 0.5f);
      lo = std::max(lo, (bottom[i - 1] + bottom[i]) * 0.5f);
    }
    if (i + 1 < w) {
      hi = std::min(hi, (top[i] + top[i + 1]) * 0.5f);
      lo = std::max(lo, (bottom[i] + bottom[i + 1]) * 0.5f);
    }
    lo = std::max(lo, hi + 1.0f);
    for (int strand = 0; strand < strands; ++strand) {
      const float x = static_cast<float>(i) + l + (static_cast<float>(strand) + 0.5f) / s;
      lines.Line(x, hi, x, lo);
    }
  }
}

void KorvelGraph::ReduceColumns(const float* s, int k, float* top, float* bottom, int cols) const noexcept {
  if (!s || k <= 0 || cols <= 0) return;
  const float t = drawRect.T, b = drawRect.B;
  const float cy = (t + b) * 0.5f;
  const float spc = static_cast<float>(k) / static_cast<float>(cols);
  int a = 0;
  for (int j = 0; j < cols; ++j) {
    const int e = std::min(k, static_cast<int>(static_cast<float>(j + 1) * spc));
    const int first = std::min(a, k - 1);
    float hi = s[first], lo = s[first];
    for (int i = first + 1; i < e; ++i) {
      if (s[i] > hi) hi = s[i];
      else lo = std::min(lo, s[i]);
    }
    top[j] = ClampY(cy - yScale * hi, t, b - 1.0f);
    bottom[j] = ClampY(cy - yScale * lo, t, b - 1.0f);
    a = std::max(a, e);
  }
}

bool KorvelGraph::PhasePoint(double a, double b, int& px, int& py) const noexcept {
  if (!std::isfinite(a) || !std::isfinite(b)) return false;
  const double l = drawRect.L, t = drawRect.T, r = drawRect.R, bottom = drawRect.B;
  const double range = LevelRange(zoom.yZoom);
  const double xs = (r - l) / range * 0.5;
  const double ys = (bottom - t) / range;
  const double cx = (r + l) * 0.5;
  const double theta = std::atan2(a, b) - kPhaseAngle;
  const double m = std::sqrt(a * a + b * b);
  double sx = std::sin(theta) * m;
  double sy = std::cos(theta) * m;
  if (sy < 0.0) {
    sx = -sx;
    sy = -sy;
  }
  // Clamped before the conversion, so that huge samples stay defined.
  const double x = std::clamp(sx * xs + cx, l - 1.0, r + 1.0);
  const double y = std::clamp(bottom - sy * ys, t - 1.0, bottom + 1.0);
  px = std::clamp(static_cast<int>(x), static_cast<int>(l), static_cast<int>(r));
  py = std::clamp(static_cast<int>(y), static_cast<int>(t), static_cast<int>(bottom));
  return true;
}

void KorvelGraph::DrawPhase(IGui& g, const KorvelChannel& chA, const KorvelChannel& chB) {
  const float* a = chA.History();
  const float* b = chB.History();
  if (!a || !b) return;
  const IColour colour{255, (chA.colour.red + chB.colour.red) / 2, (chA.colour.green + chB.colour.green) / 2,
                       (chA.colour.blue + chB.colour.blue) / 2};
  Batch dots(g, colour, true);
  for (int i = kHistory - kPhasePoints; i < kHistory; ++i) {
    int px = 0, py = 0;
    if (PhasePoint(a[i], b[i], px, py)) dots.Dot(static_cast<float>(px), static_cast<float>(py));
  }
}

void KorvelGraph::DrawSpectrum(IGui& g, const KorvelChannel& channel) {
  const int half = fftSize / 2;
  const int w = columns;
  if (half < 1 || lastBin - firstBin < 1 || firstBin < 0 || lastBin > half || w <= 0) return;
  // The analyser's own size may lag the graph's for a frame after an FFT size change.
  if (channel.analyser.Size() / 2 < lastBin) return;
  const float* cols = mapper.Map(channel.analyser.Spectrum(), firstBin, lastBin - firstBin, w);
  if (!cols) return;
  const float l = drawRect.L, t = drawRect.T, b = drawRect.B;
  const float gain = 2.0f / static_cast<float>(LevelRange(zoom.yZoom)) * (b - t);
  const IColour fill = ChannelColour(channel);
  const IColour line{255, fill.R, fill.G, fill.B};
  const auto yOf = [&](int i) { return std::max(t, (b - 1.0f) - std::sqrt(std::max(cols[i], 0.0f)) * gain); };
  {
    Batch bars(g, fill);
    for (int i = 0; i < w; ++i) bars.Line(static_cast<float>(i) + l, yOf(i), static_cast<float>(i) + l, b - 1.0f);
  }
  // The outline over the filled columns.
  Batch outline(g, line);
  for (int i = 1; i < w; ++i) outline.Line(static_cast<float>(i - 1) + l, yOf(i - 1), static_cast<float>(i) + l, yOf(i));
}
