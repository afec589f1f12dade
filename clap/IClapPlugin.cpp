#include "clap/IClapPlugin.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

// A decimal field of a version text; advances past it and one following '.'.
int VersionField(const char*& text, int max) noexcept {
  long value = 0;
  bool digits = false;
  for (; *text >= '0' && *text <= '9'; ++text) {
    digits = true;
    value = std::min<long>(value * 10 + (*text - '0'), max);
  }
  if (digits && *text == '.') ++text;
  return static_cast<int>(value);
}

}  // namespace

int IClapPlugin::PackHostVersion(const char* text) noexcept {
  if (!text || !*text) return 0;
  const int major = VersionField(text, 0x7fff);
  const int minor = VersionField(text, 0xff);
  const int revision = VersionField(text, 0xff);
  return major * 65536 + minor * 256 + revision;
}

IClapPlugin::IClapPlugin(const ClapCreationInfo& info, const framework::PluginConfig& config)
    : IAudioProcessor(config), IHostAPIBase(config, kApiKind), clap::helpers::Plugin(info.descriptor, info.host),
      offscreenWindowApi(info.offscreenWindowApi) {
  hostPointerCount = std::max(MaxInputChannels(), MaxOutputChannels());
  hostPointers32.reset(new (std::nothrow) float*[static_cast<size_t>(hostPointerCount)]());
  hostPointers64.reset(new (std::nothrow) double*[static_cast<size_t>(hostPointerCount)]());
  if (!hostPointers32 || !hostPointers64) hostPointerCount = 0;
  SetHost(host.Name(), PackHostVersion(host.Version()));
  StartIdleTimer();
}

IClapPlugin::~IClapPlugin() = default;

void IClapPlugin::LogToHost(clap_log_severity severity, const char* message) const noexcept {
  host.Log(severity, message);
}

// ---- Lifecycle ------------------------------------------------------------------------

bool IClapPlugin::PluginInit() noexcept {
  ChooseLayout();
  return true;
}

bool IClapPlugin::PluginActivate(double rate, uint32_t, uint32_t maxFrames) noexcept {
  // Without a usable rate and frame count no block could be processed: refuse, rather than
  // report an activation that cannot work.
  if (!(rate > 0.0) || !std::isfinite(rate) || maxFrames == 0 || maxFrames > INT_MAX) return false;
  if (!ResizeBlock(static_cast<int>(maxFrames))) return false;
  StoreSampleRate(rate);
  ActivationChanged(true);
  AnnounceAllParams(framework::ParamSource::Reset);
  ResetProcessing();
  hostTailUsable = host.TailUsable();
  silentFrames = 0;
  ApplyPendingLatency();
  return true;
}

void IClapPlugin::PluginDeactivate() noexcept { ActivationChanged(false); }

void IClapPlugin::PluginReset() noexcept { ResetProcessing(); }

// ---- Editor → host ----------------------------------------------------------------------

void IClapPlugin::PushToHost(const ParamToHost& entry) noexcept {
  paramsToHost.Push(entry);
  if (IsProcessing()) return;  // the next block sends it
  PostToMainThread([this] {
    if (!IsBeingDestroyed()) host.ParamsRequestFlush();
  });
}

void IClapPlugin::HostGestureBegin(int paramIdx) { PushToHost({ParamToHost::GestureBegin, paramIdx, 0.0}); }

void IClapPlugin::HostGestureEnd(int paramIdx) { PushToHost({ParamToHost::GestureEnd, paramIdx, 0.0}); }

void IClapPlugin::HostParamChanged(int paramIdx, double normalisedValue) {
  const framework::IParam* param = GetParam(paramIdx);
  if (!param) return;
  const bool continuous = param->Kind() == framework::IParam::Kind::Continuous;
  PushToHost({ParamToHost::Value, paramIdx, continuous ? normalisedValue : param->Denormalise(normalisedValue)});
}

// ---- Latency, tail, render ----------------------------------------------------------------

void IClapPlugin::ChangeLatency(int samples) {
  const int inForce = latencyPending.load() ? pendingLatency.load() : LatencyOf();
  if (samples == inForce) return;
  pendingLatency.store(samples);
  latencyPending.store(true);
  if (!IsActive() || restartRequested.exchange(true)) return;
  PostToMainThread([this] {
    if (!IsBeingDestroyed()) host.RequestRestart();
  });
}

void IClapPlugin::ApplyPendingLatency() noexcept {
  if (!latencyPending.load()) return;
  const int samples = pendingLatency.load();
  latencyPending.store(false);
  restartRequested.store(false);
  if (samples == LatencyOf()) return;
  IAudioProcessor::ChangeLatency(samples);
  if (host.HasLatency() && host.LatencyUsable()) host.LatencyChanged();
}

uint32_t IClapPlugin::LatencyGet() noexcept { return static_cast<uint32_t>(std::max(LatencyOf(), 0)); }

void IClapPlugin::ChangeTail(int samples) {
  IAudioProcessor::ChangeTail(samples);
  if (hostTailUsable) tailChanged.store(true);
}

uint32_t IClapPlugin::TailGet() noexcept {
  const int32_t tail = TailOf();
  return tail == kInfiniteTail ? kClapInfiniteTail : static_cast<uint32_t>(std::max(tail, 0));
}

bool IClapPlugin::RenderSet(clap_plugin_render_mode mode) noexcept {
  switch (mode) {
    case CLAP_RENDER_REALTIME:
      SetRenderingOffline(false);
      return true;
    case CLAP_RENDER_OFFLINE:
      if (RenderHasHardRealtimeRequirement()) return false;
      SetRenderingOffline(true);
      return true;
    default: {
      char message[96];
      std::snprintf(message, sizeof message, "host called clap_plugin_render.set_mode with an unknown mode : %d", mode);
      LogToHost(CLAP_LOG_HOST_MISBEHAVING, message);
      return false;
    }
  }
}

// ---- Audio ports and configurations -------------------------------------------------------

namespace {

const char* PortType(int channels) noexcept {
  return channels == 2 ? CLAP_PORT_STEREO : channels == 1 ? CLAP_PORT_MONO : nullptr;
}

uint32_t ChannelsOf(const framework::BusSpec* bus) noexcept {
  return bus ? static_cast<uint32_t>(std::max(bus->channelCount, 0)) : 0u;
}

// "1.2-1": the input buses' channel counts joined by ".", "-", then the outputs'; a
// direction without buses gives "0".
void LayoutName(const framework::ChannelLayout& layout, char* name, int capacity) noexcept {
  char text[CLAP_NAME_SIZE] = {};
  size_t at = 0;
  const auto append = [&](const char* piece) {
    const size_t n = std::min(std::strlen(piece), sizeof text - 1 - at);
    std::memcpy(text + at, piece, n);
    at += n;
  };
  for (int direction : {framework::Input, framework::Output}) {
    if (direction == framework::Output) append("-");
    const int buses = layout.BusCount(direction);
    if (buses == 0) append("0");
    for (int b = 0; b < buses; ++b) {
      char number[16];
      std::snprintf(number, sizeof number, b == 0 ? "%d" : ".%d", layout.Bus(direction, b)->channelCount);
      append(number);
    }
  }
  framework::CopyText(name, capacity, text);
}

}  // namespace

bool IClapPlugin::ImplementsAudioPorts() const noexcept {
  return MostBuses(framework::Input) > 0 || MostBuses(framework::Output) > 0;
}

uint32_t IClapPlugin::AudioPortsCount(bool isInput) noexcept {
  const framework::ChannelLayout* layout = Layout(selectedConfig);
  return layout ? static_cast<uint32_t>(layout->BusCount(isInput ? framework::Input : framework::Output)) : 0u;
}

bool IClapPlugin::AudioPortsInfo(uint32_t index, bool isInput, clap_audio_port_info_t* info) noexcept {
  if (!info || index >= AudioPortsCount(isInput)) return false;
  const int direction = isInput ? framework::Input : framework::Output;
  const int bus = static_cast<int>(index);
  const framework::ChannelLayout* layout = Layout(selectedConfig);
  framework::ShortText name;
  DescribeBus(direction, bus, layout->BusCount(direction), name);
  *info = {};
  info->id = index;
  framework::CopyText(info->name, CLAP_NAME_SIZE, name.Get());
  info->flags = CLAP_AUDIO_PORT_SUPPORTS_64BITS | CLAP_AUDIO_PORT_PREFERS_64BITS | CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE;
  if (index == 0) info->flags |= CLAP_AUDIO_PORT_IS_MAIN;
  info->channel_count = ChannelsOf(layout->Bus(direction, bus));
  info->port_type = PortType(static_cast<int>(info->channel_count));
  info->in_place_pair = CLAP_INVALID_ID;
  return true;
}

uint32_t IClapPlugin::AudioPortsConfigCount() noexcept { return static_cast<uint32_t>(LayoutCount()); }

bool IClapPlugin::AudioPortsGetConfig(uint32_t index, clap_audio_ports_config_t* config) noexcept {
  if (!config || index >= AudioPortsConfigCount()) return false;
  const framework::ChannelLayout& layout = *Layout(static_cast<int>(index));
  *config = {};
  config->id = index;
  LayoutName(layout, config->name, CLAP_NAME_SIZE);
  config->input_port_count = static_cast<uint32_t>(layout.BusCount(framework::Input));
  config->output_port_count = static_cast<uint32_t>(layout.BusCount(framework::Output));
  config->has_main_input = config->input_port_count > 0;
  config->main_input_channel_count = ChannelsOf(layout.Bus(framework::Input, 0));
  config->main_input_port_type = PortType(static_cast<int>(config->main_input_channel_count));
  config->has_main_output = config->output_port_count > 0;
  config->main_output_channel_count = ChannelsOf(layout.Bus(framework::Output, 0));
  config->main_output_port_type = PortType(static_cast<int>(config->main_output_channel_count));
  return true;
}

bool IClapPlugin::AudioPortsSetConfig(clap_id configId) noexcept {
  if (configId >= AudioPortsConfigCount()) return false;
  selectedConfig = static_cast<int>(configId);
  return true;
}

uint32_t IClapPlugin::NotePortsCount(bool) noexcept { return 0; }

// ---- Layout choice at init ------------------------------------------------------------------

void IClapPlugin::ChooseLayout() noexcept {
  selectedConfig = 0;
  if (host.TrackInfoUsable()) {
    clap_track_info_t track = {};
    if (host.TrackInfo(track) && (MatchChannels(track.audio_channel_count) || track.audio_channel_count == 2)) return;
  }
  MatchChannels(2);
}

bool IClapPlugin::MatchChannels(int channels) noexcept {
  bool taken = false;
  int bestIn = 0, bestOut = 0;
  for (int i = 0; i < LayoutCount(); ++i) {
    const framework::ChannelLayout& layout = *Layout(i);
    const framework::BusSpec* out0 = layout.Bus(framework::Output, 0);
    if (!out0 || out0->channelCount != channels) continue;
    const framework::BusSpec* in0 = layout.Bus(framework::Input, 0);
    const bool effect = in0 && in0->channelCount == channels;
    const bool accepted = PluginKind() == 1 ? (!in0 || in0->channelCount == 0 || effect) : effect;
    if (!accepted) continue;
    const int nIn = layout.BusCount(framework::Input);
    const int nOut = layout.BusCount(framework::Output);
    // The comparison crosses input and output counts, as the layout rule was first written.
    if (!taken || nIn < bestOut || (nOut == bestOut && nOut < bestIn)) {
      taken = true;
      selectedConfig = i;
      bestIn = nIn;
      bestOut = nOut;
    }
  }
  return taken;
}
