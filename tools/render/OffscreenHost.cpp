#include "tools/render/OffscreenHost.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool SameIgnoringCase(const char* a, const std::string& b) {
  if (std::strlen(a) != b.size()) return false;
  for (size_t i = 0; i < b.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// The whole text as a finite number.
bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end && *end == '\0' && std::isfinite(value);
}

// The number a text starts with ("-10.5 dB" → -10.5).
bool LeadingNumber(const std::string& text, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end && end != text.c_str() && std::isfinite(value);
}

// An input event list over parameter events.
struct ParamEvents {
  std::vector<clap_event_param_value_t> events;
  clap_input_events_t list{this, &Size, &Get};

  static uint32_t Size(const clap_input_events_t* l) {
    return static_cast<uint32_t>(static_cast<const ParamEvents*>(l->ctx)->events.size());
  }
  static const clap_event_header_t* Get(const clap_input_events_t* l, uint32_t index) {
    const auto& events = static_cast<const ParamEvents*>(l->ctx)->events;
    return index < events.size() ? &events[index].header : nullptr;
  }
};

// The plug-in's own events towards the host are not needed here.
bool DropEvent(const clap_output_events_t*, const clap_event_header_t*) { return true; }
const clap_output_events_t kNoOutput{nullptr, &DropEvent};

}  // namespace

OffscreenHost::OffscreenHost() {
  host.clap_version = CLAP_VERSION_INIT;
  host.host_data = this;
  host.name = "korvel-render";
  host.vendor = "Marrowby Audio";
  host.url = "";
  host.version = "1.0.0";
  host.get_extension = [](const clap_host_t* h, const char* id) -> const void* {
    OffscreenHost& self = Of(h);
    if (!id) return nullptr;
    if (std::strcmp(id, CLAP_EXT_LOG) == 0) return &self.log;
    if (std::strcmp(id, CLAP_EXT_THREAD_CHECK) == 0) return &self.threadCheck;
    if (std::strcmp(id, CLAP_EXT_PARAMS) == 0) return &self.params;
    if (std::strcmp(id, CLAP_EXT_GUI) == 0) return &self.gui;
    if (std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0) return &self.timerSupport;
    return nullptr;
  };
  host.request_restart = [](const clap_host_t*) {};
  host.request_process = [](const clap_host_t*) {};
  // Everything runs on one thread, which is the main thread: nothing is ever queued.
  host.request_callback = [](const clap_host_t*) {};
  log.log = [](const clap_host_t*, clap_log_severity severity, const char* message) {
    if (severity >= CLAP_LOG_WARNING) std::fprintf(stderr, "korvel-render: plug-in: %s\n", message ? message : "");
  };
  threadCheck.is_main_thread = [](const clap_host_t*) { return true; };
  threadCheck.is_audio_thread = [](const clap_host_t*) { return true; };
  params.rescan = [](const clap_host_t*, clap_param_rescan_flags) {};
  params.clear = [](const clap_host_t*, clap_id, clap_param_clear_flags) {};
  params.request_flush = [](const clap_host_t*) {};
  gui.resize_hints_changed = [](const clap_host_t*) {};
  gui.request_resize = [](const clap_host_t*, uint32_t, uint32_t) { return false; };
  gui.request_show = [](const clap_host_t*) { return false; };
  gui.request_hide = [](const clap_host_t*) { return false; };
  gui.closed = [](const clap_host_t*, bool) {};
  timerSupport.register_timer = [](const clap_host_t* h, uint32_t periodMs, clap_id* id) {
    OffscreenHost& self = Of(h);
    if (!id) return false;
    *id = self.nextTimer++;
    self.timers.push_back({*id, std::max(periodMs, 1u)});
    return true;
  };
  timerSupport.unregister_timer = [](const clap_host_t* h, clap_id id) {
    auto& registered = Of(h).timers;
    const auto at = std::find_if(registered.begin(), registered.end(), [&](const Timer& t) { return t.id == id; });
    if (at == registered.end()) return false;
    registered.erase(at);
    return true;
  };
  window = {sizeof window, this, &OffscreenHost::OnFrame};
  clapWindow.api = KORVEL_WINDOW_API_OFFSCREEN;
  clapWindow.ptr = &window;
}

OffscreenHost::~OffscreenHost() { Shutdown(); }

void OffscreenHost::Shutdown() noexcept {
  if (!plugin) return;
  if (processing) plugin->stop_processing(plugin);
  if (active) plugin->deactivate(plugin);
  if (editorCreated) Ext<clap_plugin_gui_t>(CLAP_EXT_GUI)->destroy(plugin);
  plugin->destroy(plugin);
  plugin = nullptr;
}

bool OffscreenHost::Create(const clap_plugin_factory_t* factory, std::string& error) {
  const clap_plugin_descriptor_t* descriptor =
      factory && factory->get_plugin_count(factory) > 0 ? factory->get_plugin_descriptor(factory, 0) : nullptr;
  if (!descriptor || !descriptor->id) {
    error = "the module offers no plug-in";
    return false;
  }
  plugin = factory->create_plugin(factory, &host, descriptor->id);
  if (!plugin) {
    error = std::string("the module could not create ") + descriptor->id;
    return false;
  }
  if (!plugin->init(plugin)) {
    error = "the plug-in refused to initialise";
    return false;
  }
  return true;
}

bool OffscreenHost::ResolveParam(const std::string& key, const std::string& text, ParamSetting& setting,
                                 std::string& error) {
  const auto* ext = Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  if (!ext) {
    error = "the plug-in has no parameters";
    return false;
  }
  const uint32_t count = ext->count(plugin);
  clap_param_info_t info{};
  bool found = false;
  double number = 0.0;
  const bool byId = !key.empty() && std::all_of(key.begin(), key.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
  // Exact names first, then names ignoring case, then ids.
  for (int pass = 0; pass < 3 && !found; ++pass) {
    for (uint32_t i = 0; i < count && !found; ++i) {
      if (!ext->get_info(plugin, i, &info)) continue;
      if (pass == 0) found = key == info.name;
      else if (pass == 1) found = SameIgnoringCase(info.name, key);
      else found = byId && ParseNumber(key, number) && number == static_cast<double>(info.id);
    }
  }
  if (!found) {
    error = "unknown parameter \"" + key + "\"";
    return false;
  }
  // Stepped parameters take one of their texts or a plain value; continuous ones take
  // their text or a number in their own units, which their end texts bound.
  double value = 0.0;
  const bool read = ext->text_to_value(plugin, info.id, text.c_str(), &value);
  char low[64] = "", high[64] = "";
  const bool bounded = ext->value_to_text(plugin, info.id, info.min_value, low, sizeof low) &&
                       ext->value_to_text(plugin, info.id, info.max_value, high, sizeof high);
  auto outOfRange = [&](const std::string& range) {
    error = "value \"" + text + "\" out of range for " + info.name + " (" + range + ")";
    return false;
  };
  char formatted[96];
  std::snprintf(formatted, sizeof formatted, "%g … %g", info.min_value, info.max_value);
  if (info.flags & CLAP_PARAM_IS_STEPPED) {
    char back[256] = "";
    const bool isText = read && ext->value_to_text(plugin, info.id, value, back, sizeof back) && SameIgnoringCase(back, text);
    if (!isText) {
      if (!ParseNumber(text, number)) {
        error = "\"" + text + "\" is not a value of " + info.name;
        return false;
      }
      if (!(number >= info.min_value && number <= info.max_value))
        return outOfRange(bounded ? std::string(formatted) + ", or " + low + " … " + high : std::string(formatted));
      value = number;
    }
  } else {
    double given = 0.0, lowNumber = 0.0, highNumber = 0.0;
    if (LeadingNumber(text, given) && bounded && LeadingNumber(low, lowNumber) && LeadingNumber(high, highNumber) &&
        !(given >= std::min(lowNumber, highNumber) && given <= std::max(lowNumber, highNumber)))
      return outOfRange(std::string(low) + " … " + high);
    if (!read) {
      error = "\"" + text + "\" is not a value of " + info.name;
      return false;
    }
    if (!(value >= info.min_value && value <= info.max_value))
      return outOfRange(bounded ? std::string(low) + " … " + high : std::string(formatted));
  }
  setting = {info.id, value};
  return true;
}

bool OffscreenHost::Activate(double sampleRate, std::string& error) {
  // The configuration with the most input ports (main and aux), then the widest main input.
  if (const auto* configs = Ext<clap_plugin_audio_ports_config_t>(CLAP_EXT_AUDIO_PORTS_CONFIG)) {
    clap_audio_ports_config_t best{}, config{};
    bool found = false;
    for (uint32_t i = 0; i < configs->count(plugin); ++i) {
      if (!configs->get(plugin, i, &config)) continue;
      if (!found || config.input_port_count > best.input_port_count ||
          (config.input_port_count == best.input_port_count &&
           config.main_input_channel_count > best.main_input_channel_count)) {
        best = config;
        found = true;
      }
    }
    if (found) configs->select(plugin, best.id);
  }
  const auto* ports = Ext<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
  const uint32_t inputCount = ports ? ports->count(plugin, true) : 0;
  const uint32_t outputCount = ports ? ports->count(plugin, false) : 0;
  int sourceChannel = 0;
  for (int direction = 0; direction < 2; ++direction) {
    const bool isInput = direction == 0;
    for (uint32_t p = 0; p < (isInput ? inputCount : outputCount); ++p) {
      clap_audio_port_info_t info{};
      if (!ports->get(plugin, p, isInput, &info)) info.channel_count = 0;
      auto& data = isInput ? inputData : outputData;
      auto& pointers = isInput ? inputPointers : outputPointers;
      std::vector<float*> channelPointers;
      for (uint32_t c = 0; c < info.channel_count; ++c) {
        data.emplace_back(kMaxFrames, 0.0f);
        channelPointers.push_back(data.back().data());
        if (isInput) inputSource.push_back(sourceChannel < kChannels ? sourceChannel++ : -1);
      }
      pointers.push_back(std::move(channelPointers));
    }
  }
  // The pointer arrays settle only once every vector has been filled.
  size_t channel = 0;
  for (auto& port : inputPointers) {
    for (float*& pointer : port) pointer = inputData[channel++].data();
    inputs.push_back({port.data(), nullptr, static_cast<uint32_t>(port.size()), 0, 0});
  }
  channel = 0;
  for (auto& port : outputPointers) {
    for (float*& pointer : port) pointer = outputData[channel++].data();
    outputs.push_back({port.data(), nullptr, static_cast<uint32_t>(port.size()), 0, 0});
  }
  if (!plugin->activate(plugin, sampleRate, 1, kMaxFrames)) {
    error = "the plug-in refused to activate";
    return false;
  }
  active = true;
  processing = plugin->start_processing(plugin);
  if (!processing) {
    error = "the plug-in refused to start processing";
    return false;
  }
  return true;
}

bool OffscreenHost::OpenEditor(float drawScale, std::string& error) {
  const auto* ext = Ext<clap_plugin_gui_t>(CLAP_EXT_GUI);
  if (!ext || !ext->is_api_supported(plugin, KORVEL_WINDOW_API_OFFSCREEN, false)) {
    error = "the plug-in has no offscreen editor";
    return false;
  }
  editorCreated = ext->create(plugin, KORVEL_WINDOW_API_OFFSCREEN, false);
  if (!editorCreated || !ext->set_parent(plugin, &clapWindow)) {
    error = "the plug-in's editor could not be opened";
    return false;
  }
  // The editor's size picks its draw scale; its own limits decide what is possible.
  uint32_t width = 0, height = 0;
  if (!ext->get_size(plugin, &width, &height)) {
    error = "the plug-in's editor has no size";
    return false;
  }
  uint32_t wanted = static_cast<uint32_t>(std::lround(static_cast<float>(width) * drawScale));
  uint32_t wantedHeight = static_cast<uint32_t>(std::lround(static_cast<float>(height) * drawScale));
  const uint32_t askedWidth = wanted, askedHeight = wantedHeight;
  ext->adjust_size(plugin, &wanted, &wantedHeight);
  if (wanted != askedWidth || wantedHeight != askedHeight) {
    error = "the editor cannot be drawn at that scale (" + std::to_string(askedWidth) + " × " +
            std::to_string(askedHeight) + " is outside its size limits)";
    return false;
  }
  ext->set_size(plugin, wanted, wantedHeight);
  return true;
}

void OffscreenHost::Process(const float* const channels[kChannels], uint32_t frames,
                            const std::vector<ParamSetting>& events) {
  frames = std::min(frames, kMaxFrames);
  for (size_t c = 0; c < inputData.size(); ++c) {
    const int source = inputSource[c];
    if (source >= 0) std::copy(channels[source], channels[source] + frames, inputData[c].begin());
    else std::fill(inputData[c].begin(), inputData[c].end(), 0.0f);
  }
  ParamEvents in;
  for (const ParamSetting& s : events) {
    clap_event_param_value_t e{};
    e.header = {sizeof e, 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
    e.param_id = s.id;
    e.note_id = e.port_index = e.channel = e.key = -1;
    e.value = s.value;
    in.events.push_back(e);
  }
  clap_process_t process{};
  process.steady_time = steadyTime;
  process.frames_count = frames;
  process.audio_inputs = inputs.data();
  process.audio_outputs = outputs.data();
  process.audio_inputs_count = static_cast<uint32_t>(inputs.size());
  process.audio_outputs_count = static_cast<uint32_t>(outputs.size());
  process.in_events = &in.list;
  process.out_events = &kNoOutput;
  plugin->process(plugin, &process);
  steadyTime += frames;
}

void OffscreenHost::FireTimers() {
  const auto* ext = Ext<clap_plugin_timer_support_t>(CLAP_EXT_TIMER_SUPPORT);
  if (!ext) return;
  // A timer callback may register or unregister timers: walk a copy.
  const std::vector<Timer> now = timers;
  for (const Timer& t : now) ext->on_timer(plugin, t.id);
}

void OffscreenHost::OnFrame(void* context, const uint8_t* frame, uint32_t width, uint32_t height, uint32_t rowBytes) {
  auto& self = *static_cast<OffscreenHost*>(context);
  ++self.framesPainted;
  self.frameWidth = static_cast<int>(width);
  self.frameHeight = static_cast<int>(height);
  self.frameRowBytes = static_cast<int>(rowBytes);
  self.pixels.assign(frame, frame + static_cast<size_t>(rowBytes) * height);
}
