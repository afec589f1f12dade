// The graph's frame cycle, domain switching and mouse handling.
#include "display/KorvelGraph.h"

#include <algorithm>
#include <cmath>

#include "display/Korvel.h"
#include "display/TipControl.h"
#include "engine/ScopeMath.h"
#include "framework/IParam.h"
#include "graphics/IGui.h"

using graphics::IColour;
using graphics::IGui;
using graphics::IMouseModifiers;
using graphics::IRect;

namespace {

constexpr IColour kMarkerColour{255, 32, 128, 216};
constexpr IColour kWhite{255, 255, 255, 255};

constexpr KorvelGraph::Zoom kFreqDefaultZoom{0.0, 0.75, 0.5};
constexpr KorvelGraph::Zoom kDefaultZoom{0.5, 1.0, 0.5};

// Pointer positions only become int pixels within a sane range, whatever the platform sends.
int PixelOf(float v) noexcept { return std::isfinite(v) ? static_cast<int>(std::clamp(v, -1.0e6f, 1.0e6f)) : -1; }

}  // namespace

KorvelGraph::KorvelGraph(const IRect& rect, Korvel* korvel) : IControl(rect), plugin(korvel) {
  const float w = rect.R - rect.L;
  columns = w >= 1.0f && w < 1.0e6f ? static_cast<int>(w) : 0;
  for (auto& top : envelopeTop) top.assign(static_cast<size_t>(columns), 0.0f);
  for (auto& bottom : envelopeBottom) bottom.assign(static_cast<size_t>(columns), 0.0f);
  mapper.BuildTable(8192);
  UpdateYScale();
  UpdateFrequencyRange();
}

void KorvelGraph::UpdateYScale() noexcept {
  yScale = static_cast<float>(static_cast<int>(drawRect.B - drawRect.T)) * 0.5f / static_cast<float>(LevelRange(zoom.yZoom));
}

void KorvelGraph::UpdateFrequencyRange() {
  const FrequencyRange r = ComputeFrequencyRange(zoom.xZoomLow, zoom.xZoomHigh, fftSize, referenceRate);
  firstBin = r.firstBin;
  lastBin = r.lastBin;
  lowHz = r.lowHz;
  highHz = r.highHz;
  mapper.BuildTable(fftSize / 2);
}

void KorvelGraph::SwitchDomain(int d) {
  d = ClampDomain(d);
  if (d == domain) return;
  savedZoom[static_cast<size_t>(domain)] = zoom;
  domain = d;
  zoom = savedZoom[static_cast<size_t>(d)];
  if (d != static_cast<int>(DisplayDomain::Time)) marker = -1.0;
  UpdateYScale();
  UpdateFrequencyRange();
  const float y0 = d == static_cast<int>(DisplayDomain::Freq) ? drawRect.B : (drawRect.T + drawRect.B) * 0.5f;
  for (auto& top : envelopeTop) std::fill(top.begin(), top.end(), y0);
  for (auto& bottom : envelopeBottom) std::fill(bottom.begin(), bottom.end(), y0);
  MarkDirty(false);
}

void KorvelGraph::TakeSettings() {
  const int d = plugin->domain.load(std::memory_order_relaxed);
  if (d != domain) SwitchDomain(d);
  const Zoom wanted{plugin->xZoomLow.load(std::memory_order_relaxed), plugin->xZoomHigh.load(std::memory_order_relaxed),
                    plugin->yZoom.load(std::memory_order_relaxed)};
  if (wanted.xZoomLow != zoom.xZoomLow || wanted.xZoomHigh != zoom.xZoomHigh || wanted.yZoom != zoom.yZoom) {
    zoom = wanted;
    UpdateYScale();
    UpdateFrequencyRange();
    fullRedraw = true;
    MarkDirty(false);
  }
  const double rate = plugin->referenceRate.load(std::memory_order_relaxed);
  if (plugin->ActiveFftSize() != fftSize || rate != referenceRate) {
    fftSize = plugin->ActiveFftSize();
    referenceRate = rate;
    UpdateFrequencyRange();
  }
  const double holdDb = plugin->holdDb.load(std::memory_order_relaxed);
  holdLevel = ::HoldLevel(holdDb);
}

void KorvelGraph::Draw(IGui& g) {
  if (plugin) {
    TakeSettings();
    DrawChannels(g, frozen ? 0 : plugin->DrainSamples());
  }
  DrawMarker(g);
  HandTip();
  fullRedraw = false;
  if (!frozen) MarkDirty(false);
}

void KorvelGraph::DrawChannels(IGui& g, int newFrames) {
  const auto drawn = [this](int c) -> const KorvelChannel* {
    const KorvelChannel* channel = plugin->Channel(c);
    return channel && channel->enabled.load(std::memory_order_relaxed) ? channel : nullptr;
  };
  for (int c = Korvel::kChannels - 1; c >= 0; --c) {
    const KorvelChannel* channel = drawn(c);
    if (!channel) continue;
    switch (static_cast<DisplayDomain>(domain)) {
      case DisplayDomain::Time: DrawTimeTrace(g, *channel, c, newFrames); break;
      case DisplayDomain::Freq: DrawSpectrum(g, *channel); break;
      case DisplayDomain::Phase:
        // Pairs (3, 2) and (1, 0); the lower channel of a pair draws nothing of its own.
        if (c % 2 == 1)
          if (const KorvelChannel* below = drawn(c - 1)) DrawPhase(g, *channel, *below);
        break;
    }
  }
}

void KorvelGraph::DrawMarker(IGui& g) {
  if (!frozen || marker < 0.0 || domain != static_cast<int>(DisplayDomain::Time)) return;
  const auto x = static_cast<float>(MarkerColumn());
  const float t = drawRect.T, b = drawRect.B;
  g.DrawLine(kMarkerColour, x, t, x, b);
  if (!draggingMarker && !NearMarker()) return;
  if (x > drawRect.L + 2.0f) g.DrawLine(kWhite, x - 1.0f, t, x - 1.0f, b);
  if (x < drawRect.R - 2.0f) g.DrawLine(kWhite, x + 1.0f, t, x + 1.0f, b);
}

void KorvelGraph::HandTip() {
  if (!tip) return;
  const float x = static_cast<float>(tipX), y = static_cast<float>(tipY);
  const IRect& r = drawRect;
  if (domain == static_cast<int>(DisplayDomain::Freq) && r.L + 2.0f < x && x < r.R - 2.0f && r.T + 15.0f < y &&
      y < r.B - 5.0f) {
    tip->Show(tipX, tipY, FrequencyAt(x));
  } else {
    tip->Show(-1, -1, 0.0);
  }
}

// The spectrum is drawn on a warped axis: column x shows the bin whose warp value
// N^(−bin / N) lies that far between those of the first and last shown bins. Inverting that
// gives the frequency the axis labels show at x (a straight line from lowHz to highHz would not).
double KorvelGraph::FrequencyAt(float x) const noexcept {
  const double where = (x - drawRect.L) / (drawRect.R - drawRect.L);
  const double n = fftSize;
  const int last = lastBin - 1;
  if (n < 2.0 || last <= firstBin) return where * (highHz - lowHz) + lowHz;
  const double logN = std::log(n);
  const double a = std::exp(-firstBin / n * logN);
  const double b = std::exp(-last / n * logN);
  const double t = a + std::clamp(where, 0.0, 1.0) * (b - a);
  return -std::log(t) / logN * referenceRate;
}

int KorvelGraph::MarkerColumn() const noexcept {
  const double span = zoom.xZoomHigh - zoom.xZoomLow;
  const double m = std::clamp(marker, std::min(zoom.xZoomLow, zoom.xZoomHigh), std::max(zoom.xZoomLow, zoom.xZoomHigh));
  const double x = span > 0.0 ? (m - zoom.xZoomLow) / span * (drawRect.R - drawRect.L) + drawRect.L : drawRect.L;
  const int lo = static_cast<int>(drawRect.L) + 1;
  const int hi = std::max(lo, static_cast<int>(drawRect.R) - 2);
  return static_cast<int>(std::clamp(x, static_cast<double>(lo), static_cast<double>(hi)));
}

bool KorvelGraph::NearMarker() const noexcept {
  return hoverX >= 0 && marker >= 0.0 && std::abs(MarkerColumn() - hoverX) < 4;
}

void KorvelGraph::SetFrozenState(bool isFrozen) {
  frozen = isFrozen;
  if (!isFrozen) marker = -1.0;
  MarkDirty(false);
}

// ---- Mouse ----------------------------------------------------------------------------------

double KorvelGraph::MarkerAt(float x) const noexcept {
  const float w = drawRect.R - drawRect.L;
  // A pointer at no number (clamp would pass it through) counts as the left end.
  const double where =
      w > 0.0f && !std::isnan(x) ? std::clamp(static_cast<double>(x - drawRect.L) / w, 0.0, 1.0) : 0.0;
  return where * (zoom.xZoomHigh - zoom.xZoomLow) + zoom.xZoomLow;
}

void KorvelGraph::OnMouseDown(float x, float, const IMouseModifiers&) {
  tipX = tipY = -1;
  frozenAtPress = frozen;
  movedSincePress = false;
  if (domain == static_cast<int>(DisplayDomain::Time)) {
    if (!frozen || marker < 0.0) {
      marker = MarkerAt(x);
    } else if (NearMarker()) {
      draggingMarker = true;
      hoverX = -1;
    }
  }
  if (plugin && !frozen) plugin->SetFrozen(true, true);
  MarkDirty(false);
}

void KorvelGraph::OnMouseUp(float, float, const IMouseModifiers&) {
  if (plugin && frozenAtPress && !movedSincePress) plugin->SetFrozen(false, true);
  frozenAtPress = movedSincePress = draggingMarker = false;
  hoverX = -1;
  MarkDirty(false);
}

void KorvelGraph::OnMouseDrag(float x, float, float dX, float dY, const IMouseModifiers& mods) {
  tipX = tipY = -1;
  if (dX != 0.0f || dY != 0.0f) movedSincePress = true;
  if (draggingMarker) {
    marker = MarkerAt(x);
  } else if (std::isfinite(dX) && std::isfinite(dY)) {
    const float w = drawRect.R - drawRect.L;
    double pan = w > 0.0f ? -(zoom.xZoomHigh - zoom.xZoomLow) * dX / w : 0.0;
    double dz = dY * -0.001;
    if (mods.S || mods.C) {
      pan *= 0.1;
      dz *= 0.1;
    }
    pan = std::min(std::max(pan, -zoom.xZoomLow), 1.0 - zoom.xZoomHigh);
    zoom.xZoomLow += pan;
    zoom.xZoomHigh += pan;
    zoom.yZoom = std::clamp(zoom.yZoom + dz, 0.0, 1.0);
    UpdateYScale();
    ZoomChanged(true);
  }
  MarkDirty(false);
}

void KorvelGraph::OnMouseWheel(float, float, const IMouseModifiers& mods, float delta) {
  if (!std::isfinite(delta)) return;
  double z = delta * 0.005;
  if (mods.S || mods.C) z *= 0.1;
  // Both edges move by z, so the span shrinks by 2z: it must stay at least 0.001.
  if (zoom.xZoomHigh - 0.001 <= zoom.xZoomLow + z || zoom.xZoomHigh - z <= zoom.xZoomLow + 0.001 ||
      (zoom.xZoomHigh - z) - (zoom.xZoomLow + z) < 0.001)
    z = std::max(0.0, (zoom.xZoomHigh - zoom.xZoomLow) * 0.5 - 0.0005);
  zoom.xZoomLow = std::clamp(zoom.xZoomLow + z, 0.0, 1.0);
  zoom.xZoomHigh = std::clamp(zoom.xZoomHigh - z, 0.0, 1.0);
  ZoomChanged(false);
  MarkDirty(false);
}

void KorvelGraph::OnMouseDoubleClick(float, float, const IMouseModifiers&) {
  zoom = domain == static_cast<int>(DisplayDomain::Freq) ? kFreqDefaultZoom : kDefaultZoom;
  UpdateYScale();
  ZoomChanged(true);
  MarkDirty(false);
}

void KorvelGraph::OnMouseOver(float x, float y, const IMouseModifiers&) {
  hoverX = tipX = PixelOf(x);
  tipY = PixelOf(y);
  MarkDirty(false);
}

void KorvelGraph::OnMouseOut() {
  tipX = tipY = hoverX = -1;
  draggingMarker = false;
  if (tip) tip->Show(-1, -1, 0.0);
  MarkDirty(false);
}

void KorvelGraph::ZoomChanged(bool withY) {
  UpdateFrequencyRange();
  fullRedraw = true;
  WriteBack(ParamIdx(KorvelParam::XZoomLow), zoom.xZoomLow);
  WriteBack(ParamIdx(KorvelParam::XZoomHigh), zoom.xZoomHigh);
  if (withY) WriteBack(ParamIdx(KorvelParam::YZoom), zoom.yZoom);
}

// These parameters range over 0 … 1, so the normalised value is the value.
void KorvelGraph::WriteBack(int paramIdx, double value) {
  if (!plugin) return;
  framework::IParam* param = plugin->GetParam(paramIdx);
  if (!param) return;
  const double confined = param->Confine(value);
  param->Store(confined);
  plugin->EditorSetsParam(paramIdx, confined);
}
