// The display-thread side of Korvel: draining the rings into the histories, levels and
// spectra, and applying the settings the parameter hook left pending.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/Korvel.h"
#include "framework/DenormalGuard.h"

int Korvel::DrainSamples() {
  framework::DenormalGuard denormals;
  if (blendChanged.exchange(0, std::memory_order_acq_rel)) {
    activeBlend = requestedBlend.load(std::memory_order_relaxed);
    for (KorvelChannel* channel : channels) channel->analyser.SetBlend(activeBlend);
  }
  ApplyPendingSettings();

  const bool freq = domain.load(std::memory_order_relaxed) == static_cast<int>(DisplayDomain::Freq);
  const int n = activeFftSize;
  for (KorvelChannel* channel : channels) {
    if (!channel->enabled.load(std::memory_order_relaxed)) continue;
    float* history = channel->History();

    // The claim keeps what it counted stable until the copy below is done.
    const int m = std::min(channel->ring.BeginRead() / 4, kHistorySamples);
    if (m < kHistorySamples) std::memmove(history, history + m, sizeof(float) * static_cast<size_t>(kHistorySamples - m));
    channel->ring.FinishRead(history + (kHistorySamples - m), 4 * m);

    const int start = std::max(0, kHistorySamples - n);
    double sum = 0.0;
    for (int i = start; i < start + n; ++i) sum += static_cast<double>(history[i] * history[i]);
    channel->level = std::sqrt(sum / n);

    if (freq) {
      const auto delay = std::max(0, static_cast<int>(channel->delayMs.load(std::memory_order_relaxed) * 0.001 * referenceRate));
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
  displayDirty.exchange(0, std::memory_order_acq_rel);
}
