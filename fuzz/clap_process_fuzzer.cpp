// Feeds random clap_process records, event lists, state streams and parameter calls to
// one live Korvel instance made through clap_entry. A crash, a sanitizer report, a
// parameter outside its range or a NaN anywhere the plug-in produces values is a failure.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "clap/ClapProduct.h"

namespace {

// Reads the fuzzer's bytes; past the end everything reads as zero.
class Bytes {
public:
  Bytes(const uint8_t* bytes, size_t size) : at(bytes), end(bytes + size) {}
  uint8_t U8() { return at < end ? *at++ : 0; }
  uint16_t U16() { return static_cast<uint16_t>(U8() | U8() << 8); }
  uint32_t U32() { return U16() | static_cast<uint32_t>(U16()) << 16; }
  uint64_t U64() { return U32() | static_cast<uint64_t>(U32()) << 32; }
  double F64() {
    const uint64_t bits = U64();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
  }
  void Fill(void* out, size_t size) {
    auto* p = static_cast<uint8_t*>(out);
    for (size_t i = 0; i < size; ++i) p[i] = U8();
  }
  size_t Left() const { return static_cast<size_t>(end - at); }

private:
  const uint8_t* at;
  const uint8_t* end;
};

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "clap fuzz failure: %s\n", what);
  std::abort();
}

// A host with every optional extension, so that every path the binding can take is open.
struct Host {
  clap_host_t host{};
  clap_host_log_t log{[](const clap_host_t*, clap_log_severity, const char*) {}};
  clap_host_params_t params{[](const clap_host_t*, clap_param_rescan_flags) {},
                            [](const clap_host_t*, clap_id, clap_param_clear_flags) {},
                            [](const clap_host_t*) {}};
  clap_host_tail_t tail{[](const clap_host_t*) {}};
  clap_host_latency_t latency{[](const clap_host_t*) {}};
  bool offerTail = false;

  Host() {
    host.clap_version = CLAP_VERSION_INIT;
    host.host_data = this;
    host.name = "fuzz";
    host.version = "1.0.0";
    host.get_extension = [](const clap_host_t* h, const char* id) -> const void* {
      Host& self = *static_cast<Host*>(h->host_data);
      if (!std::strcmp(id, CLAP_EXT_LOG)) return &self.log;
      if (!std::strcmp(id, CLAP_EXT_PARAMS)) return &self.params;
      if (!std::strcmp(id, CLAP_EXT_LATENCY)) return &self.latency;
      if (!std::strcmp(id, CLAP_EXT_TAIL) && self.offerTail) return &self.tail;
      return nullptr;
    };
    host.request_restart = host.request_process = host.request_callback = [](const clap_host_t*) {};
  }
};

struct Live {
  Host host;
  const clap_plugin_t* plugin = nullptr;
  const clap_plugin_params_t* params = nullptr;
  const clap_plugin_state_t* state = nullptr;
  const clap_plugin_audio_ports_config_t* configs = nullptr;
  const clap_plugin_render_t* render = nullptr;

  Live() {
    if (!clap_entry.init("/fuzz/Korvel.clap")) Fail("entry init");
    auto* factory = static_cast<const clap_plugin_factory_t*>(clap_entry.get_factory(CLAP_PLUGIN_FACTORY_ID));
    plugin = factory->create_plugin(factory, &host.host, "com.marrowbyaudio.korvel");
    if (!plugin || !plugin->init(plugin)) Fail("create");
    params = static_cast<const clap_plugin_params_t*>(plugin->get_extension(plugin, CLAP_EXT_PARAMS));
    state = static_cast<const clap_plugin_state_t*>(plugin->get_extension(plugin, CLAP_EXT_STATE));
    configs = static_cast<const clap_plugin_audio_ports_config_t*>(plugin->get_extension(plugin, CLAP_EXT_AUDIO_PORTS_CONFIG));
    render = static_cast<const clap_plugin_render_t*>(plugin->get_extension(plugin, CLAP_EXT_RENDER));
    if (!params || !state || !configs || !render) Fail("extensions");
    if (!plugin->activate(plugin, 48000.0, 1, 512) || !plugin->start_processing(plugin)) Fail("activate");
  }
};

Live& Instance() {
  static Live live;
  return live;
}

// Events whose headers claim what the fuzzer says, each stored in at least as many bytes
// as its header claims (as the CLAP contract promises a plug-in).
struct Events {
  std::vector<std::vector<uint64_t>> storage;
  std::vector<uint8_t> sysexData;
  clap_input_events_t list{this, [](const clap_input_events_t* l) {
                             return static_cast<uint32_t>(static_cast<const Events*>(l->ctx)->storage.size());
                           },
                           [](const clap_input_events_t* l, uint32_t i) -> const clap_event_header_t* {
                             auto* self = static_cast<const Events*>(l->ctx);
                             if (i >= self->storage.size()) return nullptr;
                             return reinterpret_cast<const clap_event_header_t*>(self->storage[i].data());
                           }};

  void Build(Bytes& in) {
    sysexData.resize(in.U16() % 2048);
    in.Fill(sysexData.data(), sysexData.size());
    const int count = in.U8() % 64;
    for (int i = 0; i < count && in.Left() > 0; ++i) {
      clap_event_header_t header;
      header.type = static_cast<uint16_t>(in.U8() % 14);
      header.space_id = in.U8() < 240 ? CLAP_CORE_EVENT_SPACE_ID : in.U16();
      header.time = in.U8() < 200 ? in.U16() % 1024 : in.U32();
      header.flags = in.U8();
      const uint8_t sizeChoice = in.U8();
      static const uint32_t kSizes[] = {16, 20, 24, 40, 56, 104};
      header.size = sizeChoice < 230 ? kSizes[sizeChoice % 6] : in.U8();
      std::vector<uint64_t> bytes((std::max<uint32_t>(header.size, 128) + 7) / 8);
      in.Fill(bytes.data(), bytes.size() * 8);
      std::memcpy(bytes.data(), &header, sizeof header);
      if (header.type == CLAP_EVENT_PARAM_VALUE && in.U8() < 200) {
        // Mostly real parameter ids, so the value paths are reached.
        clap_id id = in.U8() % 20;
        std::memcpy(reinterpret_cast<uint8_t*>(bytes.data()) + 16, &id, sizeof id);
      }
      if (header.type == CLAP_EVENT_MIDI_SYSEX) {
        // The buffer is null or points into real bytes of at least the given size.
        clap_event_midi_sysex_t sysex;
        std::memcpy(&sysex, bytes.data(), sizeof sysex);
        const bool none = in.U8() < 30;
        sysex.buffer = none ? nullptr : sysexData.data();
        sysex.size = none ? in.U8() : static_cast<uint32_t>(sysexData.empty() ? 0 : in.U16() % (sysexData.size() + 1));
        std::memcpy(bytes.data(), &sysex, sizeof sysex);
      }
      storage.push_back(std::move(bytes));
    }
  }
};

struct Output {
  clap_output_events_t list{this, [](const clap_output_events_t* l, const clap_event_header_t* e) {
                              auto* self = static_cast<Output*>(l->ctx);
                              if (e->size < sizeof(clap_event_header_t) || e->space_id != 0) Fail("bad output event");
                              if (e->type == CLAP_EVENT_PARAM_VALUE) {
                                clap_event_param_value_t v;
                                std::memcpy(&v, e, sizeof v);
                                if (!std::isfinite(v.value)) Fail("NaN sent to the host");
                              }
                              return ++self->count % 97 != 0;  // now and then the host refuses
                            }};
  size_t count = 0;
};

void Process(Live& live, Bytes& in) {
  const bool doublePrecision = in.U8() & 1;
  const uint32_t frames = in.U16() % 2100;
  std::vector<clap_audio_buffer_t> buffers[2];
  std::vector<std::vector<float>> samples32;
  std::vector<std::vector<double>> samples64;
  std::vector<std::vector<float*>> pointers32;
  std::vector<std::vector<double*>> pointers64;
  samples32.reserve(64);
  samples64.reserve(64);
  pointers32.reserve(8);
  pointers64.reserve(8);
  for (auto& direction : buffers) {
    const int count = in.U8() % 4;
    for (int b = 0; b < count; ++b) {
      const uint32_t channels = in.U8() % 7;
      clap_audio_buffer_t buffer{};
      buffer.channel_count = channels;
      pointers32.emplace_back();
      pointers64.emplace_back();
      for (uint32_t c = 0; c < channels; ++c) {
        const double level = static_cast<int8_t>(in.U8()) / 128.0;
        samples32.emplace_back(frames, static_cast<float>(level));
        samples64.emplace_back(frames, level);
        pointers32.back().push_back(in.U8() < 10 ? nullptr : samples32.back().data());
        pointers64.back().push_back(in.U8() < 10 ? nullptr : samples64.back().data());
      }
      const uint8_t which = in.U8();
      if (doublePrecision || which < 20) buffer.data64 = which < 5 ? nullptr : pointers64.back().data();
      if (!doublePrecision || which < 20) buffer.data32 = which < 10 ? nullptr : pointers32.back().data();
      direction.push_back(buffer);
    }
  }
  clap_event_transport_t transport;
  in.Fill(&transport, sizeof transport);
  Events events;
  events.Build(in);
  Output output;

  clap_process_t process{};
  process.frames_count = frames;
  process.transport = in.U8() < 128 ? &transport : nullptr;
  process.audio_inputs = buffers[0].empty() ? nullptr : buffers[0].data();
  process.audio_outputs = buffers[1].empty() ? nullptr : buffers[1].data();
  process.audio_inputs_count = static_cast<uint32_t>(buffers[0].size());
  process.audio_outputs_count = static_cast<uint32_t>(buffers[1].size());
  process.in_events = in.U8() < 240 ? &events.list : nullptr;
  process.out_events = in.U8() < 240 ? &output.list : nullptr;
  const clap_process_status status = live.plugin->process(live.plugin, &process);
  if (status < CLAP_PROCESS_ERROR || status > CLAP_PROCESS_SLEEP) Fail("status");
  for (const auto& channel : samples32)
    for (float s : channel)
      if (!std::isfinite(s)) Fail("NaN in single-precision audio");
  for (const auto& channel : samples64)
    for (double s : channel)
      if (!std::isfinite(s)) Fail("NaN in double-precision audio");
}

void LoadState(Live& live, Bytes& in) {
  struct Stream {
    std::vector<uint8_t> bytes;
    size_t at = 0, step = 1;
    bool failAtEnd = false;
  } stream;
  stream.bytes.resize(in.U8() < 128 ? 128 : in.U16() % 400);
  in.Fill(stream.bytes.data(), stream.bytes.size());
  stream.step = 1 + in.U8() % 300;
  stream.failAtEnd = in.U8() < 20;
  clap_istream_t istream{&stream, [](const clap_istream_t* s, void* buffer, uint64_t size) -> int64_t {
                           auto& st = *static_cast<Stream*>(s->ctx);
                           if (st.at == st.bytes.size()) return st.failAtEnd ? -1 : 0;
                           const size_t n = std::min<size_t>({size, st.step, st.bytes.size() - st.at});
                           std::memcpy(buffer, st.bytes.data() + st.at, n);
                           st.at += n;
                           return static_cast<int64_t>(n);
                         }};
  live.state->load(live.plugin, &istream);
}

void ParamCalls(Live& live, Bytes& in) {
  const clap_id id = in.U8() % 20;
  char text[64];
  const uint32_t capacity = in.U8() % sizeof text;
  live.params->value_to_text(live.plugin, id, in.F64(), text, capacity);
  char typed[24];
  in.Fill(typed, sizeof typed);
  typed[sizeof typed - 1] = 0;
  double value;
  if (live.params->text_to_value(live.plugin, id, typed, &value) && !std::isfinite(value)) Fail("text gave NaN");
}

void CheckParams(Live& live) {
  const uint32_t count = live.params->count(live.plugin);
  for (uint32_t i = 0; i < count; ++i) {
    clap_param_info_t info;
    double value = 0.0;
    if (!live.params->get_info(live.plugin, i, &info) || !live.params->get_value(live.plugin, i, &value))
      Fail("params answer");
    if (!(value >= info.min_value && value <= info.max_value)) Fail("parameter out of range or NaN");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Live& live = Instance();
  Bytes in(data, size);
  while (in.Left() > 0) {
    switch (in.U8() % 8) {
      case 0:
      case 1:
      case 2:
        Process(live, in);
        break;
      case 3:
        LoadState(live, in);
        break;
      case 4:
        ParamCalls(live, in);
        break;
      case 5:
        live.configs->select(live.plugin, in.U8() % 11);
        break;
      case 6:
        live.render->set(live.plugin, static_cast<int8_t>(in.U8()) % 3);
        break;
      case 7: {
        // A reactivation with another block size, sometimes with the host's tail offered.
        live.host.offerTail = in.U8() & 1;
        live.plugin->stop_processing(live.plugin);
        live.plugin->deactivate(live.plugin);
        live.plugin->init(live.plugin);
        const uint32_t maxFrames = 1 + in.U16() % 1024;
        if (!live.plugin->activate(live.plugin, 22050.0 + in.U16(), 1, maxFrames)) Fail("reactivate");
        live.plugin->start_processing(live.plugin);
        break;
      }
    }
    CheckParams(live);
  }
  return 0;
}
