// The display-thread side of Korvel: draining the rings into the histories, levels and
// spectra, and applying the settings the parameter hook left pending.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "display/Korvel.h"
#include "display/KorvelGraph.h"
#include "framework/DenormalGuard.h"
#include "graphics/ITextControls.h"

namespace {

graphics::ITextControl* LevelReadout(const Korvel& korvel, int channel) {
  const auto role = static_cast<KorvelControl>(static_cast<int>(KorvelControl::LevelReadout1) + channel);
  return static_cast<graphics::ITextControl*>(korvel.EditorControl(role));
}

}  // namespace

int Korvel::DrainSamples() {
  const double rate = referenceRate.load(std::memory_order_relaxed);
  framework::DenormalGuard denormals;
  if (blendChanged.exchange(0, std::memory_order_acq_rel)) {
    activeBlend = requestedBlend.load(std::memory_order_relaxed);
    for (KorvelChannel* channel : channels) channel->analyser.SetBlend(activeBlend);
  }
  ApplyPendingSettings();

  const bool freq = domain.load(std::memory_order_relaxed) == static_cast<int>(DisplayDomain::Freq);
  const int n = activeFftSize;
  for (int c = 0; c < channels.Count(); ++c) {
    KorvelChannel* channel = channels.Get(c);
    graphics::ITextControl* readout = c < kChannels ? LevelReadout(*this, c) : nullptr;
    if (!channel->enabled.load(std::memory_order_relaxed)) {
      if (readout) readout->SetString("");
      continue;
    }
    float* history = channel->History();

    // The claim keeps what it counted stable until the copy below is done.
    const int m = std::min(channel->ring.BeginRead() / 4, kHistorySamples);
    if (m < kHistorySamples) std::memmove(history, history + m, sizeof(float) * static_cast<size_t>(kHistorySamples - m));
    channel->ring.FinishRead(history + (kHistorySamples - m), 4 * m);

    const int start = std::max(0, kHistorySamples - n);
    double sum = 0.0;
    for (int i = start; i < start + n; ++i) sum += static_cast<double>(history[i] * history[i]);
    channel->level = std::sqrt(sum / n);
    if (readout) {
      FormatLevel(channel->level, levelText);
      readout->SetString(levelText.Get());
    }

    if (freq) {
      const auto delay = std::max(0, static_cast<int>(channel->delayMs.load(std::memory_order_relaxed) * 0.001 * rate));
      // The analyser reads its own size, which a failed resize may have left unchanged.
      channel->analyser.Process(history + std::max(0, kHistorySamples - delay - channel->analyser.Size()));
    }
  }
  return pendingFrames.exchange(0, std::memory_order_acq_rel);
}

void Korvel::FormatLevel(double level, framework::ShortText& text) {
  if (level > 0.0001)
    text.SetFormatted(-1, "%.1f", 20.0 * std::log10(level));
  else
    text.Set("-oo");
}

void Korvel::ApplyPendingSettings() {
  if (fftSizeChanged.exchange(0, std::memory_order_acq_rel)) {
    activeFftSize = requestedFftSize.load(std::memory_order_relaxed);
    for (KorvelChannel* channel : channels) {
      channel->analyser.SetFftSize(activeFftSize);
      channel->analyser.ClearSpectrum();
    }
    displayDirty.exchange(1, std::memory_order_acq_rel);
  }
  if (!displayDirty.exchange(0, std::memory_order_acq_rel)) return;
  const int shown = domain.load(std::memory_order_relaxed);
  const bool time = shown == static_cast<int>(DisplayDomain::Time);
  auto* span = static_cast<graphics::ITextControl*>(EditorControl(KorvelControl::SpanReadout));
  if (span) span->SetHidden(!time);
  if (graphics::IControl* hold = EditorControl(KorvelControl::HoldHandle)) hold->SetHidden(!time);
  if (time && span) {
    const double seconds = (xZoomHigh.load(std::memory_order_relaxed) - xZoomLow.load(std::memory_order_relaxed)) *
                           kHistorySamples / referenceRate.load(std::memory_order_relaxed);
    char text[32] = "";
    if (seconds > 0.0) std::snprintf(text, sizeof text, "%.1f ms", seconds * 1000.0);
    span->SetString(text);
    span->MarkDirty(false);
  }
  RebuildAxes();
  if (graphics::IControl* graph = EditorControl(KorvelControl::Graph)) graph->MarkDirty(false);
}

void Korvel::SetFrozen(bool frozen, bool updateButton) {
  framework::DenormalGuard denormals;
  if (auto* graph = static_cast<KorvelGraph*>(EditorControl(KorvelControl::Graph))) graph->SetFrozenState(frozen);
  if (!updateButton) return;
  if (graphics::IControl* button = EditorControl(KorvelControl::FreezeButton)) {
    button->SetValue(frozen ? 1.0 : 0.0);
    button->MarkDirty(true);
  }
}
