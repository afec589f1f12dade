// The audio-thread side of Korvel: pass-through and capture into the sample rings.
#include <algorithm>
#include <cstring>

#include "engine/Korvel.h"
#include "framework/DenormalGuard.h"

void Korvel::ProcessAudioBlock(double** inputs, double** outputs, int frames) {
  framework::DenormalGuard denormals;
  if (frames <= 0) return;
  const int inCount = ConnectedChannelCount(framework::Input);
  const int outCount = ConnectedChannelCount(framework::Output);
  const int captured = std::min(inCount, kChannels);
  const int n = std::min(frames, kHistorySamples);
  const int skip = frames - n;  // a long block is captured by its last samples only
  auto* converted = reinterpret_cast<float*>(conversionBuffer.Data());

  for (int c = 0; c < captured; ++c) {
    const double* in = inputs[c];
    if (c < outCount && outputs[c] != in) std::memcpy(outputs[c], in, sizeof(double) * static_cast<size_t>(frames));
    KorvelChannel* channel = channels.Get(c);
    const int fill = channel->ring.Available();
    if (fill / 4 + n > kHistorySamples) channel->ring.DropOldest(fill - 4 * (kHistorySamples - n));
    for (int i = 0; i < n; ++i) converted[i] = static_cast<float>(in[skip + i]);
    channel->ring.Write(converted, 4 * n);
  }
  for (int c = captured; c < outCount; ++c) std::memset(outputs[c], 0, sizeof(double) * static_cast<size_t>(frames));
  AddCapturedFrames(n);
}

void Korvel::AddCapturedFrames(int frames) noexcept {
  int32_t old = pendingFrames.load(std::memory_order_relaxed);
  while (!pendingFrames.compare_exchange_weak(old, std::min(old + frames, kHistorySamples), std::memory_order_release,
                                              std::memory_order_relaxed)) {
  }
}

void Korvel::ResetProcessing() {
  framework::DenormalGuard denormals;
  for (KorvelChannel* channel : channels) {
    std::memset(channel->history.Data(), 0, static_cast<size_t>(channel->history.Size()));
    channel->level = 0.0;
    channel->ring.Clear();
    channel->analyser.ClearSpectrum();
  }
  pendingFrames.store(0, std::memory_order_release);
}
