#pragma once
// One live Korvel made through clap_entry, as a host with every optional extension holds it,
// kept for the whole run and brought back to a known state before each input. Shared by the
// CLAP fuzz targets. [main-thread]
#include <cstring>
#include <vector>

#include "clap/ClapProduct.h"
#include "fuzz/FuzzFail.h"

// A host with every optional extension, so that every path the binding can take is open.
struct ClapFuzzHost {
  clap_host_t host{};
  clap_host_log_t log{[](const clap_host_t*, clap_log_severity, const char*) {}};
  clap_host_params_t params{[](const clap_host_t*, clap_param_rescan_flags) {},
                            [](const clap_host_t*, clap_id, clap_param_clear_flags) {},
                            [](const clap_host_t*) {}};
  clap_host_tail_t tail{[](const clap_host_t*) {}};
  clap_host_latency_t latency{[](const clap_host_t*) {}};
  bool offerTail = false;

  ClapFuzzHost() {
    host.clap_version = CLAP_VERSION_INIT;
    host.host_data = this;
    host.name = "fuzz";
    host.version = "1.0.0";
    host.get_extension = [](const clap_host_t* h, const char* id) -> const void* {
      ClapFuzzHost& self = *static_cast<ClapFuzzHost*>(h->host_data);
      if (!std::strcmp(id, CLAP_EXT_LOG)) return &self.log;
      if (!std::strcmp(id, CLAP_EXT_PARAMS)) return &self.params;
      if (!std::strcmp(id, CLAP_EXT_LATENCY)) return &self.latency;
      if (!std::strcmp(id, CLAP_EXT_TAIL) && self.offerTail) return &self.tail;
      return nullptr;
    };
    host.request_restart = host.request_process = host.request_callback = [](const clap_host_t*) {};
  }
};

// Parameter value events in storage a list can hand out.
struct ClapParamEvents {
  std::vector<clap_event_param_value_t> events;
  clap_input_events_t list{this,
                           [](const clap_input_events_t* l) {
                             return static_cast<uint32_t>(static_cast<const ClapParamEvents*>(l->ctx)->events.size());
                           },
                           [](const clap_input_events_t* l, uint32_t i) -> const clap_event_header_t* {
                             auto* self = static_cast<const ClapParamEvents*>(l->ctx);
                             return i < self->events.size() ? &self->events[i].header : nullptr;
                           }};

  void Add(clap_id id, double value) {
    clap_event_param_value_t e{};
    e.header.size = sizeof e;
    e.header.space_id = CLAP_CORE_EVENT_SPACE_ID;
    e.header.type = CLAP_EVENT_PARAM_VALUE;
    e.param_id = id;
    e.note_id = e.port_index = e.channel = e.key = -1;
    e.value = value;
    events.push_back(e);
  }
};

struct ClapFuzzInstance {
  static constexpr double kRate = 48000.0;
  static constexpr uint32_t kMaxFrames = 512;

  ClapFuzzHost host;
  const clap_plugin_t* plugin = nullptr;
  const clap_plugin_params_t* params = nullptr;
  const clap_plugin_state_t* state = nullptr;
  const clap_plugin_audio_ports_config_t* configs = nullptr;
  const clap_plugin_render_t* render = nullptr;
  std::vector<clap_param_info_t> infos;
  // Set by whoever changes what Reset has to undo.
  bool reactivated = false;
  bool reconfigured = false;

  ClapFuzzInstance() {
    if (!clap_entry.init("/fuzz/Korvel.clap")) FuzzFail("entry init");
    auto* factory = static_cast<const clap_plugin_factory_t*>(clap_entry.get_factory(CLAP_PLUGIN_FACTORY_ID));
    plugin = factory->create_plugin(factory, &host.host, "com.marrowbyaudio.korvel");
    if (!plugin || !plugin->init(plugin)) FuzzFail("create");
    params = static_cast<const clap_plugin_params_t*>(plugin->get_extension(plugin, CLAP_EXT_PARAMS));
    state = static_cast<const clap_plugin_state_t*>(plugin->get_extension(plugin, CLAP_EXT_STATE));
    configs = static_cast<const clap_plugin_audio_ports_config_t*>(plugin->get_extension(plugin, CLAP_EXT_AUDIO_PORTS_CONFIG));
    render = static_cast<const clap_plugin_render_t*>(plugin->get_extension(plugin, CLAP_EXT_RENDER));
    if (!params || !state || !configs || !render) FuzzFail("extensions");
    infos.resize(params->count(plugin));
    for (uint32_t i = 0; i < infos.size(); ++i)
      if (!params->get_info(plugin, i, &infos[i])) FuzzFail("param info");
    Activate(kRate, kMaxFrames);
  }

  void Activate(double rate, uint32_t maxFrames) {
    if (!plugin->activate(plugin, rate, 1, maxFrames) || !plugin->start_processing(plugin)) FuzzFail("activate");
  }

  // Every parameter back to its default through the host's flush, the default layout and
  // realtime rendering, activated as at the start.
  void Reset() {
    if (reconfigured || reactivated) {
      plugin->stop_processing(plugin);
      plugin->deactivate(plugin);
      if (reconfigured) configs->select(plugin, 0);
      host.offerTail = false;
      Activate(kRate, kMaxFrames);
    }
    reactivated = reconfigured = false;
    render->set(plugin, CLAP_RENDER_REALTIME);
    ClapParamEvents defaults;
    for (const clap_param_info_t& info : infos) {
      double value = 0.0;
      if (params->get_value(plugin, info.id, &value) && value != info.default_value)
        defaults.Add(info.id, info.default_value);
    }
    if (!defaults.events.empty()) params->flush(plugin, &defaults.list, nullptr);
  }

  // Every parameter inside its range: a NaN or a value outside is a failure.
  void CheckParams() const {
    for (const clap_param_info_t& info : infos) {
      double value = 0.0;
      if (!params->get_value(plugin, info.id, &value)) FuzzFail("params answer");
      if (!(value >= info.min_value && value <= info.max_value)) FuzzFail("parameter out of range or NaN");
    }
  }
};
