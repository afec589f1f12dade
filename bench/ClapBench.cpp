// The CLAP binding's overhead: process for a stereo 512-frame block, without events and
// with 64 parameter events, beside ProcessAudioBlock alone on the same audio.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "clap/ClapProduct.h"
#include "display/Korvel.h"

namespace {

constexpr uint32_t kFrames = 512;

struct Events {
  std::vector<clap_event_param_value_t> events;
  clap_input_events_t list{this, [](const clap_input_events_t* l) {
                             return static_cast<uint32_t>(static_cast<const Events*>(l->ctx)->events.size());
                           },
                           [](const clap_input_events_t* l, uint32_t i) -> const clap_event_header_t* {
                             return &static_cast<const Events*>(l->ctx)->events[i].header;
                           }};
};

struct Bench {
  clap_host_t host{};
  const clap_plugin_t* plugin = nullptr;
  Korvel* korvel = nullptr;
  std::vector<float> in32[2], out32[2];
  std::vector<double> in64[2], out64[2];
  float* inPointers32[2];
  float* outPointers32[2];
  double* inPointers64[2];
  double* outPointers64[2];
  clap_audio_buffer_t input{}, output{};
  clap_output_events_t out{nullptr, [](const clap_output_events_t*, const clap_event_header_t*) { return true; }};

  explicit Bench(bool doublePrecision) {
    host.clap_version = CLAP_VERSION_INIT;
    host.name = "bench";
    host.version = "1.0.0";
    clap_entry.init("/bench/Korvel.clap");
    auto* factory = static_cast<const clap_plugin_factory_t*>(clap_entry.get_factory(CLAP_PLUGIN_FACTORY_ID));
    plugin = factory->create_plugin(factory, &host, "com.marrowbyaudio.korvel");
    plugin->init(plugin);
    plugin->activate(plugin, 48000.0, 1, kFrames);
    plugin->start_processing(plugin);
    korvel = dynamic_cast<Korvel*>(clap::helpers::Plugin::From(plugin));
    for (int c = 0; c < 2; ++c) {
      in32[c].resize(kFrames);
      out32[c].resize(kFrames);
      in64[c].resize(kFrames);
      out64[c].resize(kFrames);
      for (uint32_t i = 0; i < kFrames; ++i) in64[c][i] = in32[c][i] = static_cast<float>(std::sin(0.01 * i + c));
      inPointers32[c] = in32[c].data();
      outPointers32[c] = out32[c].data();
      inPointers64[c] = in64[c].data();
      outPointers64[c] = out64[c].data();
    }
    input.channel_count = output.channel_count = 2;
    if (doublePrecision) {
      input.data64 = inPointers64;
      output.data64 = outPointers64;
    } else {
      input.data32 = inPointers32;
      output.data32 = outPointers32;
    }
  }
  ~Bench() {
    plugin->destroy(plugin);
    clap_entry.deinit();
  }
  clap_process_status Run(const clap_input_events_t* events) {
    clap_process_t process{};
    process.frames_count = kFrames;
    process.audio_inputs = &input;
    process.audio_outputs = &output;
    process.audio_inputs_count = process.audio_outputs_count = 1;
    process.in_events = events;
    process.out_events = &out;
    return plugin->process(plugin, &process);
  }
};

void ProcessAudioBlockAlone(benchmark::State& state) {
  Bench b(true);
  b.korvel->MarkChannelsConnected(framework::Input, 0, 2, true);
  b.korvel->MarkChannelsConnected(framework::Output, 0, 2, true);
  for (auto _ : state) {
    b.korvel->ProcessAudioBlock(b.inPointers64, b.outPointers64, static_cast<int>(kFrames));
    benchmark::DoNotOptimize(b.out64[1][kFrames - 1]);
  }
}
BENCHMARK(ProcessAudioBlockAlone);

void ClapProcess(benchmark::State& state) {
  Bench b(state.range(0) == 64);
  Events events;
  for (int i = 0; i < state.range(1); ++i) {
    clap_event_param_value_t e{};
    e.header = {sizeof e, static_cast<uint32_t>(i * 8), 0, CLAP_EVENT_PARAM_VALUE, 0};
    e.param_id = static_cast<clap_id>(i % 16);
    e.note_id = -1;
    e.port_index = e.channel = e.key = -1;
    e.value = (i % 5) * 0.25;
    events.events.push_back(e);
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(b.Run(&events.list));
    benchmark::DoNotOptimize(b.out64[1][kFrames - 1]);
    benchmark::DoNotOptimize(b.out32[1][kFrames - 1]);
  }
}
// Arguments: sample bits, parameter events per block.
BENCHMARK(ClapProcess)->Args({64, 0})->Args({64, 64})->Args({32, 0})->Args({32, 64});

}  // namespace
