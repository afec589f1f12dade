// Korvel's axis rebuild: the label lists of both grids for the current domain and zoom.
#include "display/CaptionGridControl.h"
#include "display/Korvel.h"
#include "display/SpectrumMapper.h"
#include "display/TriggerControl.h"
#include "engine/ScopeMath.h"

namespace {

graphics::IRect WithTop(graphics::IRect r, float dy) {
  r.T += dy;
  return r;
}

graphics::IRect WithRight(graphics::IRect r, float dx) {
  r.R += dx;
  return r;
}
}  // namespace

// A margin is set after its grid's labels were built, so each build uses the margin the
// previous rebuild left.
void Korvel::RebuildAxes() {
  auto* timeAxis = static_cast<CaptionGridControl*>(EditorControl(KorvelControl::TimeAxis));
  auto* levelAxis = static_cast<CaptionGridControl*>(EditorControl(KorvelControl::LevelAxis));
  if (!timeAxis || !levelAxis) return;
  const double rate = referenceRate.load(std::memory_order_relaxed);
  const double z = yZoom.load(std::memory_order_relaxed);
  const double low = xZoomLow.load(std::memory_order_relaxed);
  const double high = xZoomHigh.load(std::memory_order_relaxed);
  levelAxis->keepClear.clear();
  switch (static_cast<DisplayDomain>(domain.load(std::memory_order_relaxed))) {
    case DisplayDomain::Time:
      timeAxis->BuildTimeLabels(low * kHistorySamples / rate, high * kHistorySamples / rate, kHistorySamples / rate);
      timeAxis->axisKind = AxisKind::Time;
      timeAxis->area = WithTop(timeAxis->Bounds(), 15.0f);
      levelAxis->SetHidden(false);
      levelAxis->BuildLevelLabels(0.0, LevelRange(z));
      levelAxis->axisKind = AxisKind::TimeLevel;
      levelAxis->area = WithRight(levelAxis->Bounds(), -32.0f);
      levelAxis->margin = 0.1;
      if (const auto* hold = static_cast<const TriggerControl*>(EditorControl(KorvelControl::HoldHandle)))
        levelAxis->keepClear = {hold->CaptionBox(), hold->ValueBox()};
      break;
    case DisplayDomain::Freq:
      timeAxis->BuildFrequencyLabels(static_cast<int>(ZoomFrequency(low, rate)),
                                     static_cast<int>(ZoomFrequency(high, rate)), static_cast<int>(rate),
                                     activeFftSize, 0.06, 0.92, true);
      timeAxis->axisKind = AxisKind::Frequency;
      timeAxis->area = WithTop(timeAxis->Bounds(), 15.0f);
      levelAxis->SetHidden(false);
      levelAxis->BuildLevelLabels(0.0, SpectrumLevelRange(z));
      levelAxis->axisKind = AxisKind::FrequencyLevel;
      levelAxis->area = WithRight(levelAxis->Bounds(), -32.0f);
      levelAxis->margin = 0.05;
      break;
    case DisplayDomain::Phase:
      timeAxis->BuildLevelLabels(0.0, LevelRange(z));
      timeAxis->axisKind = AxisKind::Phase;
      timeAxis->area = WithTop(timeAxis->Bounds(), 15.0f);
      timeAxis->margin = 0.1;
      levelAxis->SetHidden(true);
      break;
  }
  timeAxis->MarkDirty(false);
  levelAxis->MarkDirty(false);
}
