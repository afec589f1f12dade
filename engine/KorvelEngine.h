#pragma once
// Korvel's engine: an analyser that passes its audio through unchanged and captures up to
// four inputs for the display. Owns the parameters (through the framework) and the four
// channel records with their rings, histories and analysers. The editor half, Korvel,
// derives from it in display/.
#include <atomic>

#include "engine/KorvelBinding.h"
#include "engine/KorvelChannel.h"
#include "engine/KorvelParam.h"
#include "engine/ScopeMath.h"
#include "framework/IAudioProcessor.h"
#include "framework/PtrList.h"

// Everything the parameter hook, the audio thread and the display share. The hook writes the
// settings ([thread-safe], relaxed) and raises a flag after each value it announces; the
// display reads them and lowers the flags ([editor-thread]). The audio thread writes
// referenceRate on a reset and adds to pendingFrames; the display takes pendingFrames.
struct KorvelShared {
  // Settings, written by the parameter hook, read by the display.
  std::atomic<int32_t> domain{0};
  std::atomic<double> xZoomLow{0.5};
  std::atomic<double> xZoomHigh{1.0};
  std::atomic<double> yZoom{0.5};
  std::atomic<double> holdDb{3.0};
  // The display's time base: the rate of the audio it shows, so that milliseconds and hertz
  // on its axes are the signal's own. The host's rate from the last reset; 44100 before any.
  std::atomic<double> referenceRate{kDefaultReferenceRate};
  std::atomic<int32_t> requestedFftSize{4096};
  std::atomic<double> requestedBlend{0.5};

  // Frames captured since the display last drained (audio thread → display).
  std::atomic<int32_t> pendingFrames{0};
  // Raised by the hook after the values they announce, lowered by the display.
  std::atomic<uint8_t> displayDirty{1};
  std::atomic<uint8_t> fftSizeChanged{0};
  std::atomic<uint8_t> blendChanged{0};
};

// The processor base is virtual: a binding derives from it too, to supply what it tells the host.
class KorvelEngine : public KorvelBinding, public virtual framework::IAudioProcessor, public KorvelShared {
public:
  static constexpr int kEditorWidth = 724;
  static constexpr int kEditorHeight = 526;
  static constexpr int kHistorySamples = KorvelChannel::kHistorySamples;
  static constexpr int kChannels = 4;

  static framework::PluginConfig Config();

  // [main-thread]
  explicit KorvelEngine(const KorvelCreationInfo& info);
  ~KorvelEngine() override;

  // Framework hooks.
  using KorvelBinding::OnParamChange;
  void OnParamChange(int paramIdx) override;  // [thread-safe]
  void ProcessAudioBlock(double** inputs, double** outputs, int frames) override;  // [audio-thread]
  void ResetProcessing() override;  // [main-thread], no block running
  void DescribeBus(int direction, int busIndex, int busCount, framework::ShortText& text) override;  // [main-thread]

  KorvelChannel* Channel(int index) const noexcept { return channels.Get(index); }

protected:
  framework::OwnedPtrList<KorvelChannel> channels;

private:
  void InitParams();
  void AddCapturedFrames(int frames) noexcept;
};
