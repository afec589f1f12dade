#pragma once
// The plug-in: an analyser that passes its audio through unchanged and captures up to four
// inputs for the display. Owns the parameters (through the framework), the four channel
// records with their rings, histories and analysers, and the settings the display reads.
//
// Threads: the parameter hook runs on whichever thread applied a change and only stores
// relaxed atomics and raises the three flags; ProcessAudioBlock runs on the audio thread;
// DrainSamples, ApplyPendingSettings and SetFrozen run on the editor's thread.
#include <atomic>

#include "engine/KorvelBinding.h"
#include "engine/KorvelChannel.h"
#include "engine/KorvelParam.h"
#include "framework/IAudioProcessor.h"
#include "framework/PtrList.h"

namespace graphics {
class IControl;
}

// The processor base is virtual: a binding derives from it too, to supply what it tells the host.
class Korvel final : public KorvelBinding, public virtual framework::IAudioProcessor {
public:
  static constexpr int kEditorWidth = 724;
  static constexpr int kEditorHeight = 526;
  static constexpr int kHistorySamples = KorvelChannel::kHistorySamples;
  static constexpr int kChannels = 4;

  static framework::PluginConfig Config();
  // [main-thread] The editor's opening scale: the stored one within 0.5 … 4, else 1.
  static float StoredEditorScale();

  // [main-thread]
  explicit Korvel(const KorvelCreationInfo& info);
  ~Korvel() override;

  // Framework hooks.
  using KorvelBinding::OnParamChange;
  void OnParamChange(int paramIdx) override;  // [thread of the change]
  void OnHostResizeEditor(int width, int height) override;  // [main-thread]
  void OnEditorClose() override;  // [main-thread]
  void ProcessAudioBlock(double** inputs, double** outputs, int frames) override;  // [audio-thread]
  void ResetProcessing() override;  // [main-thread, no block running]
  void DescribeBus(int direction, int busIndex, int busCount, framework::ShortText& text) override;

  // Display side. [ui-thread]
  // Moves the rings into the histories and refreshes levels and, in Freq, spectra; returns
  // the frames that arrived since the previous call (0 … 48000).
  int DrainSamples();
  // Applies a requested FFT size, and refreshes the domain-dependent display when asked to.
  void ApplyPendingSettings();
  // The level read-out's text: dB with one decimal, or "-oo" at or below 0.0001. [thread-safe]
  static void FormatLevel(double level, framework::ShortText& text);
  // Freezes or runs the graph (unfreezing removes its marker); updateButton also shows the
  // state on the FREEZE button.
  void SetFrozen(bool frozen, bool updateButton);
  // Recomputes the axis labels of both grids for the domain and zoom.
  void RebuildAxes();
  // The editor's control in a role, or null while the editor is closed.
  graphics::IControl* EditorControl(KorvelControl role) const noexcept {
    return editorControls[static_cast<int>(role)];
  }

  // [main-thread] Builds the editor's controls on a fresh graphics object.
  void BuildEditorLayout(graphics::IGui& gui) override;

  KorvelChannel* Channel(int index) const noexcept { return channels.Get(index); }
  int ActiveFftSize() const noexcept { return activeFftSize; }
  double ActiveBlend() const noexcept { return activeBlend; }

  // Display settings, written by the parameter hook, read by the display.
  static constexpr double kDefaultReferenceRate = 44100.0;
  std::atomic<int32_t> domain{0};
  std::atomic<double> xZoomLow{0.5};
  std::atomic<double> xZoomHigh{1.0};
  std::atomic<double> yZoom{0.5};
  std::atomic<double> holdDb{3.0};
  // The display's time base: the rate of the audio it shows, so that milliseconds and hertz on
  // its axes are the signal's own. The host's rate from the last reset; 44100 before any.
  std::atomic<double> referenceRate{kDefaultReferenceRate};

  // Non-owning; set by the editor layout, cleared when the editor closes.
  graphics::IControl* editorControls[kNumEditorControls] = {};

  // Hand-off to the display: the counter and three flags, each raised after the value it announces.
  std::atomic<int32_t> pendingFrames{0};
  std::atomic<uint8_t> displayDirty{1};
  std::atomic<uint8_t> fftSizeChanged{0};
  std::atomic<uint8_t> blendChanged{0};
  std::atomic<int32_t> requestedFftSize{4096};
  std::atomic<double> requestedBlend{0.5};

private:
  void InitParams();
  void AddCapturedFrames(int frames) noexcept;

  framework::OwnedPtrList<KorvelChannel> channels;
  int32_t activeFftSize = 4096;  // display thread only
  framework::ShortText levelText;  // display thread only; kept so the drain allocates once
  double activeBlend = 0.5;      // display thread only
};
