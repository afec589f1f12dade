#pragma once
// One captured input channel: its settings from the parameters, its trace colour, the
// display's 48000-sample history and spectrum, and the ring that brings its samples over
// from the audio thread.
#include <atomic>

#include "dsp/SpectrumAnalyser.h"
#include "engine/KorvelSampleRing.h"
#include "framework/HeapBuffer.h"

struct KorvelColour {
  std::atomic<int32_t> alpha{255};  // follows the Opacity parameter
  int32_t red = 255;
  int32_t green = 255;
  int32_t blue = 255;
};

struct KorvelChannel {
  static constexpr int kHistorySamples = 48000;
  static constexpr int kRingBytes = kHistorySamples * 4;

  // Written by the parameter hook on any thread, read by the display.
  std::atomic<bool> enabled{false};
  std::atomic<double> delayMs{0.0};
  // [editor-thread] only.
  double level = 0.0;
  KorvelColour colour;
  framework::HeapBuffer history;  // kHistorySamples floats, oldest first
  SpectrumAnalyser analyser;
  KorvelSampleRing ring;

  float* History() noexcept { return reinterpret_cast<float*>(history.Data()); }
  const float* History() const noexcept { return reinterpret_cast<const float*>(history.Data()); }
};
