// The audio-thread side of Korvel: pass-through and capture into the sample rings.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/KorvelEngine.h"
#include "framework/DenormalGuard.h"

namespace {

// Converts count samples; with a copy target also passes them through, in the same pass.
void Capture(const double* from, double* copyTo, float* to, int count) noexcept {
  if (copyTo) {
    for (int i = 0; i < count; ++i) {
      const double v = from[i];
      copyTo[i] = v;
      to[i] = static_cast<float>(v);
    }
  } else {
    for (int i = 0; i < count; ++i) to[i] = static_cast<float>(from[i]);
  }
}

}  // namespace

void KorvelEngine::ProcessAudioBlock(double** inputs, double** outputs, int frames) {
  framework::DenormalGuard denormals;
  if (frames <= 0) return;
  const int inCount = ConnectedChannelCount(framework::Input);
  const int outCount = ConnectedChannelCount(framework::Output);
  const int captured = std::min(inCount, kChannels);
  const int n = std::min(frames, kHistorySamples);
  const int skip = frames - n;  // a long block is captured by its last samples only

  for (int c = 0; c < captured; ++c) {
    const double* in = inputs[c];
    double* out = c < outCount && outputs[c] != in ? outputs[c] : nullptr;
    if (out && skip) std::memcpy(out, in, sizeof(double) * static_cast<size_t>(skip));

    KorvelChannel* channel = channels.Get(c);
    const int fill = channel->ring.Available();
    if (fill / 4 + n > kHistorySamples) channel->ring.DropOldest(fill - 4 * (kHistorySamples - n));
    const double* from = in + skip;
    double* copyTo = out ? out + skip : nullptr;
    const int written = channel->ring.WriteWith(4 * n, [&](uint8_t* to, int bytes, int offset) {
      const int first = offset / 4;
      Capture(from + first, copyTo ? copyTo + first : nullptr, reinterpret_cast<float*>(to), bytes / 4);
    });
    // What did not fit in the ring still passes through.
    if (copyTo && written < 4 * n)
      std::memcpy(copyTo + written / 4, from + written / 4, sizeof(double) * static_cast<size_t>(n - written / 4));
  }
  for (int c = captured; c < outCount; ++c) std::memset(outputs[c], 0, sizeof(double) * static_cast<size_t>(frames));
  AddCapturedFrames(n);
}

void KorvelEngine::AddCapturedFrames(int frames) noexcept {
  int32_t old = pendingFrames.load(std::memory_order_relaxed);
  while (!pendingFrames.compare_exchange_weak(old, std::min(old + frames, kHistorySamples), std::memory_order_release,
                                              std::memory_order_relaxed)) {
  }
}

void KorvelEngine::ResetProcessing() {
  framework::DenormalGuard denormals;
  // A rate outside what any host runs at is not believed: the display keeps its time base.
  const double rate = SampleRate();
  if (std::isfinite(rate) && rate >= 8000.0 && rate <= 768000.0 &&
      referenceRate.exchange(rate, std::memory_order_relaxed) != rate)
    displayDirty.store(1, std::memory_order_release);
  for (KorvelChannel* channel : channels) {
    std::memset(channel->history.Data(), 0, static_cast<size_t>(channel->history.Size()));
    channel->level = 0.0;
    channel->ring.Clear();
    channel->analyser.ClearSpectrum();
  }
  pendingFrames.store(0, std::memory_order_release);
}
