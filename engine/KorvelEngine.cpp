#include "engine/KorvelEngine.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "dsp/Fft.h"

using framework::IParam;

namespace {

struct ChannelStyle {
  bool enabled;
  int32_t red, green, blue;
};

// White, red, green, blue: main left and right, aux left and right.
constexpr ChannelStyle kChannelStyles[KorvelEngine::kChannels] = {
    {true, 255, 255, 255}, {true, 221, 32, 32}, {false, 32, 185, 93}, {false, 32, 128, 216}};

constexpr const char* kInputLabels[KorvelEngine::kChannels] = {"Main L", "Main R", "Aux L", "Aux R"};

}  // namespace

framework::PluginConfig KorvelEngine::Config() {
  framework::PluginConfig c;
  c.paramCount = kNumKorvelParams;
  c.presetCount = 0;
  c.channelIO = "1-1 1.1-1 1.2-1 2-2 2.1-2 2.2-2 3-3 3.1-3 4-4";
  c.pluginName = "Korvel";
  c.productName = "Korvel";
  c.makerName = "Marrowby Audio";
  c.version = 0x00040100;
  c.uniqueId = framework::FourCharCode("Krvl");
  c.makerId = framework::FourCharCode("Mrby");
  c.latency = 0;
  c.pluginKind = 0;
  c.hasEditor = true;
  c.editorWidth = kEditorWidth;
  c.editorHeight = kEditorHeight;
  c.minWidth = 241;
  c.maxWidth = 2172;
  c.minHeight = 175;
  c.maxHeight = 1578;
  c.hostResizesEditor = false;
  return c;
}

KorvelEngine::KorvelEngine(const KorvelCreationInfo& info) : framework::IAudioProcessor(Config()), KorvelBinding(info, Config()) {
  InitFftTables();
  for (int c = 0; c < kChannels; ++c) LabelChannel(framework::Input, c, kInputLabels[c], true);
  for (int c = 0; c < kChannels; ++c) {
    auto* channel = new KorvelChannel();
    const ChannelStyle& style = kChannelStyles[c];
    channel->enabled.store(style.enabled, std::memory_order_relaxed);
    channel->history.Resize(kHistorySamples * 4);
    if (channel->history.Data()) std::memset(channel->history.Data(), 0, kHistorySamples * 4);
    channel->ring.SetCapacity(KorvelChannel::kRingBytes);
    channel->analyser.SetFftSize(4096);
    channel->analyser.SetBlend(0.5);
    channel->analyser.ClearSpectrum();
    channel->colour.alpha.store(255, std::memory_order_relaxed);
    channel->colour.red = style.red;
    channel->colour.green = style.green;
    channel->colour.blue = style.blue;
    channels.Add(channel);
  }
  InitParams();
}

void KorvelEngine::InitParams() {
  GetParam(ParamIdx(KorvelParam::Domain))->SetupEnumerated("Domain", 0, 3, "", 0, "", {"Time", "Freq", "Phase"});
  const char* inputNames[kChannels] = {"Input 1", "Input 2", "Input 3", "Input 4"};
  const char* delayNames[kChannels] = {"Delay 1", "Delay 2", "Delay 3", "Delay 4"};
  for (int c = 0; c < kChannels; ++c)
    GetParam(ParamIdx(KorvelParam::Input1) + c)->SetupOnOff(inputNames[c], c < 2, "", 0, "", "off", "on");
  for (int c = 0; c < kChannels; ++c)
    GetParam(ParamIdx(KorvelParam::Delay1) + c)->SetupContinuous(delayNames[c], 0.0, 0.0, 500.0, 0.1, "ms");
  GetParam(ParamIdx(KorvelParam::Hold))->SetupContinuous("Hold", kHoldMaxDb, kHoldMinDb, kHoldMaxDb, 0.1, "dB");
  GetParam(ParamIdx(KorvelParam::FftSize))
      ->SetupEnumerated("FFT Size", 4, 7, "", 0, "", {"256", "512", "1024", "2048", "4096", "8192", "16384"});
  GetParam(ParamIdx(KorvelParam::BlendSpeed))->SetupContinuous("Blend Speed", 0.5, 0.1, 1.0, 0.1, "");
  GetParam(ParamIdx(KorvelParam::Opacity))->SetupContinuous("Opacity", 0.75, 0.0, 1.0, 0.01, "");
  GetParam(ParamIdx(KorvelParam::XZoomLow))->SetupContinuous("X Zoom Low", 0.5, 0.0, 1.0, 0.01, "");
  GetParam(ParamIdx(KorvelParam::XZoomHigh))->SetupContinuous("X Zoom High", 1.0, 0.0, 1.0, 0.01, "");
  GetParam(ParamIdx(KorvelParam::YZoom))->SetupContinuous("Y Zoom", 0.5, 0.0, 1.0, 0.01, "");
}

KorvelEngine::~KorvelEngine() {
  for (int c = channels.Count() - 1; c >= 0; --c) channels.Delete(c);
}

void KorvelEngine::OnParamChange(int paramIdx) {
  const IParam* param = GetParam(paramIdx);
  if (!param || paramIdx >= kNumKorvelParams) return;
  const double value = param->Current();
  constexpr auto relaxed = std::memory_order_relaxed;
  switch (static_cast<KorvelParam>(paramIdx)) {
    case KorvelParam::Domain:
      domain.store(static_cast<int32_t>(value), relaxed);
      displayDirty.exchange(1, std::memory_order_acq_rel);
      break;
    case KorvelParam::Input1:
    case KorvelParam::Input2:
    case KorvelParam::Input3:
    case KorvelParam::Input4:
      channels.Get(paramIdx - ParamIdx(KorvelParam::Input1))->enabled.store(value >= 0.5, relaxed);
      break;
    case KorvelParam::Delay1:
    case KorvelParam::Delay2:
    case KorvelParam::Delay3:
    case KorvelParam::Delay4:
      channels.Get(paramIdx - ParamIdx(KorvelParam::Delay1))->delayMs.store(value, relaxed);
      break;
    case KorvelParam::Hold:
      holdDb.store(value, relaxed);
      break;
    case KorvelParam::FftSize:
      requestedFftSize.store(1 << (static_cast<int>(value) + 8), relaxed);
      fftSizeChanged.exchange(1, std::memory_order_acq_rel);
      break;
    case KorvelParam::BlendSpeed:
      requestedBlend.store(value, relaxed);
      blendChanged.exchange(1, std::memory_order_acq_rel);
      break;
    case KorvelParam::Opacity: {
      const int32_t alpha = OpacityAlpha(value);
      for (KorvelChannel* channel : channels) channel->colour.alpha.store(alpha, relaxed);
      break;
    }
    case KorvelParam::XZoomLow:
    case KorvelParam::XZoomHigh: {
      // The gap holds only here; the parameters themselves keep what was set.
      double low = GetParam(ParamIdx(KorvelParam::XZoomLow))->Current();
      double high = GetParam(ParamIdx(KorvelParam::XZoomHigh))->Current();
      if (paramIdx == ParamIdx(KorvelParam::XZoomLow)) {
        if (low > high - 0.001) low = high - 0.001;
      } else if (high < low + 0.001) {
        high = low + 0.001;
      }
      xZoomLow.store(low, relaxed);
      xZoomHigh.store(high, relaxed);
      displayDirty.exchange(1, std::memory_order_acq_rel);
      break;
    }
    case KorvelParam::YZoom:
      yZoom.store(value, relaxed);
      displayDirty.exchange(1, std::memory_order_acq_rel);
      break;
  }
}

void KorvelEngine::DescribeBus(int direction, int busIndex, int, framework::ShortText& text) {
  if (direction == framework::Output)
    text.Set("Output");
  else
    text.Set(busIndex == 0 ? "Main Input" : "Aux Input");
}
