// Korvel.so's processReplacing as a VST2 host calls it, for a stereo 512-frame block, beside
// Korvel.clap's process on the same block and the same block run straight through the
// framework's single-precision path (no binding). Both modules are loaded from beside this
// executable, each with its own copy of the engine.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "clap/ClapDefs.h"
#include "display/Korvel.h"
#include "tests/vst2/Vst2TestHost.h"

namespace {

constexpr int kFrames = 512;
constexpr int kChannels = 2;

std::string ModuleBesideMe(const char* name) {
  char path[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  std::string dir = n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
  dir = dir.substr(0, dir.find_last_of('/') + 1);
  return dir + name;
}

struct StereoBlock {
  std::vector<std::vector<float>> in, out;
  std::vector<float*> ip, op;
  StereoBlock() : in(kChannels, std::vector<float>(kFrames)), out(kChannels, std::vector<float>(kFrames)) {
    for (int c = 0; c < kChannels; ++c) {
      for (int i = 0; i < kFrames; ++i) in[c][i] = std::sin(0.01f * static_cast<float>(i) + static_cast<float>(c));
      ip.push_back(in[c].data());
      op.push_back(out[c].data());
    }
  }
};

void BM_Vst2ProcessReplacing(benchmark::State& state) {
  const std::string path = ModuleBesideMe("Korvel.so");
  auto host = std::make_unique<Vst2TestHost>(path.c_str());
  AEffect* e = host->CreateAndOpen();
  if (!e) {
    state.SkipWithError(("could not load " + path).c_str());
    return;
  }
  VstSpeakerArrangement stereo{};
  stereo.type = kSpeakerArrStereo;
  stereo.numChannels = kChannels;
  host->Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&stereo), &stereo);
  host->Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  host->Dispatch(effSetBlockSize, 0, kFrames);
  host->Dispatch(effMainsChanged, 0, 1);
  StereoBlock block;
  for (auto _ : state) {
    host->ClearCalls();
    e->processReplacing(e, block.ip.data(), block.op.data(), kFrames);
    benchmark::ClobberMemory();
  }
  host->Dispatch(effMainsChanged, 0, 0);
  state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_Vst2ProcessReplacing);

// The smallest CLAP host that processes: no extensions, empty event lists.
void BM_ClapModuleProcess(benchmark::State& state) {
  const std::string path = ModuleBesideMe("Korvel.clap");
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  const auto* entry = module ? static_cast<const clap_plugin_entry_t*>(dlsym(module, "clap_entry")) : nullptr;
  if (!entry || !entry->init(path.c_str())) {
    state.SkipWithError(("could not load " + path).c_str());
    return;
  }
  clap_host_t host{};
  host.clap_version = CLAP_VERSION_INIT;
  host.name = "bench";
  host.vendor = host.url = "";
  host.version = "1.0.0";
  host.get_extension = [](const clap_host_t*, const char*) -> const void* { return nullptr; };
  host.request_restart = host.request_process = host.request_callback = [](const clap_host_t*) {};
  const auto* factory = static_cast<const clap_plugin_factory_t*>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
  const clap_plugin_t* plugin = factory->create_plugin(factory, &host, factory->get_plugin_descriptor(factory, 0)->id);
  plugin->init(plugin);
  plugin->activate(plugin, 48000.0, 1, kFrames);
  plugin->start_processing(plugin);
  StereoBlock block;
  clap_audio_buffer_t input{}, output{};
  input.data32 = block.ip.data();
  output.data32 = block.op.data();
  input.channel_count = output.channel_count = kChannels;
  const clap_input_events_t noEvents{nullptr, [](const clap_input_events_t*) -> uint32_t { return 0; },
                                     [](const clap_input_events_t*, uint32_t) -> const clap_event_header_t* {
                                       return nullptr;
                                     }};
  const clap_output_events_t sink{nullptr, [](const clap_output_events_t*, const clap_event_header_t*) { return true; }};
  clap_process_t process{};
  process.steady_time = -1;
  process.frames_count = kFrames;
  process.audio_inputs = &input;
  process.audio_outputs = &output;
  process.audio_inputs_count = process.audio_outputs_count = 1;
  process.in_events = &noEvents;
  process.out_events = &sink;
  for (auto _ : state) {
    benchmark::DoNotOptimize(plugin->process(plugin, &process));
    benchmark::ClobberMemory();
  }
  plugin->stop_processing(plugin);
  plugin->deactivate(plugin);
  plugin->destroy(plugin);
  entry->deinit();
  state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_ClapModuleProcess);

void BM_FrameworkFloatBlock(benchmark::State& state) {
  auto korvel = std::make_unique<Korvel>(KorvelCreationInfo{});
  korvel->ResizeBlock(kFrames);
  korvel->MarkChannelsConnected(framework::Input, 0, kChannels, true);
  korvel->MarkChannelsConnected(framework::Output, 0, kChannels, true);
  StereoBlock block;
  for (auto _ : state) {
    korvel->BindHostBuffers(framework::Input, 0, 4, block.ip.data(), kFrames);
    korvel->BindHostBuffers(framework::Output, 0, 4, block.op.data(), kFrames);
    korvel->RunBlock(kFrames);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kFrames);
}
BENCHMARK(BM_FrameworkFloatBlock);

}  // namespace
