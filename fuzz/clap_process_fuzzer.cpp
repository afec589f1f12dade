// Feeds random clap_process records, event lists, state streams and parameter calls to
// one live Korvel instance made through clap_entry, kept for the run and reset before each
// input. A crash, a sanitizer report, a parameter outside its range or a NaN anywhere the
// plug-in produces values is a failure.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz/ClapFuzz.h"

namespace {

// Raw bits: NaNs and infinities included.
double RawDouble(FuzzedDataProvider& in) {
  const uint64_t bits = in.ConsumeIntegral<uint64_t>();
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

// Fills all of out: from the input while it lasts, then zeros.
void Fill(FuzzedDataProvider& in, void* out, size_t size) {
  if (size == 0) return;
  std::memset(out, 0, size);
  in.ConsumeData(out, size);
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

  void Build(FuzzedDataProvider& in) {
    sysexData.resize(in.ConsumeIntegral<uint16_t>() % 2048);
    Fill(in, sysexData.data(), sysexData.size());
    const int count = in.ConsumeIntegral<uint8_t>() % 64;
    for (int i = 0; i < count && in.remaining_bytes() > 0; ++i) {
      clap_event_header_t header;
      header.type = static_cast<uint16_t>(in.ConsumeIntegral<uint8_t>() % 14);
      header.space_id = in.ConsumeIntegral<uint8_t>() < 240 ? CLAP_CORE_EVENT_SPACE_ID : in.ConsumeIntegral<uint16_t>();
      header.time = in.ConsumeIntegral<uint8_t>() < 200 ? in.ConsumeIntegral<uint16_t>() % 1024 : in.ConsumeIntegral<uint32_t>();
      header.flags = in.ConsumeIntegral<uint8_t>();
      const uint8_t sizeChoice = in.ConsumeIntegral<uint8_t>();
      static const uint32_t kSizes[] = {16, 20, 24, 40, 56, 104};
      header.size = sizeChoice < 230 ? kSizes[sizeChoice % 6] : in.ConsumeIntegral<uint8_t>();
      std::vector<uint64_t> bytes((std::max<uint32_t>(header.size, 128) + 7) / 8);
      Fill(in, bytes.data(), bytes.size() * 8);
      std::memcpy(bytes.data(), &header, sizeof header);
      if (header.type == CLAP_EVENT_PARAM_VALUE && in.ConsumeIntegral<uint8_t>() < 200) {
        // Mostly real parameter ids, so the value paths are reached.
        clap_id id = in.ConsumeIntegral<uint8_t>() % 20;
        std::memcpy(reinterpret_cast<uint8_t*>(bytes.data()) + 16, &id, sizeof id);
      }
      if (header.type == CLAP_EVENT_MIDI_SYSEX) {
        // The buffer is null or points into real bytes of at least the given size.
        clap_event_midi_sysex_t sysex;
        std::memcpy(&sysex, bytes.data(), sizeof sysex);
        const bool none = in.ConsumeIntegral<uint8_t>() < 30;
        sysex.buffer = none ? nullptr : sysexData.data();
        sysex.size = none ? in.ConsumeIntegral<uint8_t>() : static_cast<uint32_t>(sysexData.empty() ? 0 : in.ConsumeIntegral<uint16_t>() % (sysexData.size() + 1));
        std::memcpy(bytes.data(), &sysex, sizeof sysex);
      }
      storage.push_back(std::move(bytes));
    }
  }
};

struct Output {
  clap_output_events_t list{this, [](const clap_output_events_t* l, const clap_event_header_t* e) {
                              auto* self = static_cast<Output*>(l->ctx);
                              if (e->size < sizeof(clap_event_header_t) || e->space_id != 0) FuzzFail("bad output event");
                              if (e->type == CLAP_EVENT_PARAM_VALUE) {
                                clap_event_param_value_t v;
                                std::memcpy(&v, e, sizeof v);
                                if (!std::isfinite(v.value)) FuzzFail("NaN sent to the host");
                              }
                              return ++self->count % 97 != 0;  // now and then the host refuses
                            }};
  size_t count = 0;
};

void Process(ClapFuzzInstance& live, FuzzedDataProvider& in) {
  const bool doublePrecision = in.ConsumeIntegral<uint8_t>() & 1;
  const uint32_t frames = in.ConsumeIntegral<uint16_t>() % 2100;
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
    const int count = in.ConsumeIntegral<uint8_t>() % 4;
    for (int b = 0; b < count; ++b) {
      const uint32_t channels = in.ConsumeIntegral<uint8_t>() % 7;
      clap_audio_buffer_t buffer{};
      buffer.channel_count = channels;
      pointers32.emplace_back();
      pointers64.emplace_back();
      for (uint32_t c = 0; c < channels; ++c) {
        const double level = static_cast<int8_t>(in.ConsumeIntegral<uint8_t>()) / 128.0;
        samples32.emplace_back(frames, static_cast<float>(level));
        samples64.emplace_back(frames, level);
        pointers32.back().push_back(in.ConsumeIntegral<uint8_t>() < 10 ? nullptr : samples32.back().data());
        pointers64.back().push_back(in.ConsumeIntegral<uint8_t>() < 10 ? nullptr : samples64.back().data());
      }
      const uint8_t which = in.ConsumeIntegral<uint8_t>();
      if (doublePrecision || which < 20) buffer.data64 = which < 5 ? nullptr : pointers64.back().data();
      if (!doublePrecision || which < 20) buffer.data32 = which < 10 ? nullptr : pointers32.back().data();
      direction.push_back(buffer);
    }
  }
  clap_event_transport_t transport;
  Fill(in, &transport, sizeof transport);
  Events events;
  events.Build(in);
  Output output;

  clap_process_t process{};
  process.frames_count = frames;
  process.transport = in.ConsumeIntegral<uint8_t>() < 128 ? &transport : nullptr;
  process.audio_inputs = buffers[0].empty() ? nullptr : buffers[0].data();
  process.audio_outputs = buffers[1].empty() ? nullptr : buffers[1].data();
  process.audio_inputs_count = static_cast<uint32_t>(buffers[0].size());
  process.audio_outputs_count = static_cast<uint32_t>(buffers[1].size());
  process.in_events = in.ConsumeIntegral<uint8_t>() < 240 ? &events.list : nullptr;
  process.out_events = in.ConsumeIntegral<uint8_t>() < 240 ? &output.list : nullptr;
  const clap_process_status status = live.plugin->process(live.plugin, &process);
  if (status < CLAP_PROCESS_ERROR || status > CLAP_PROCESS_SLEEP) FuzzFail("status");
  for (const auto& channel : samples32)
    for (float s : channel)
      if (!std::isfinite(s)) FuzzFail("NaN in single-precision audio");
  for (const auto& channel : samples64)
    for (double s : channel)
      if (!std::isfinite(s)) FuzzFail("NaN in double-precision audio");
}

void LoadState(ClapFuzzInstance& live, FuzzedDataProvider& in) {
  struct Stream {
    std::vector<uint8_t> bytes;
    size_t at = 0, step = 1;
    bool failAtEnd = false;
  } stream;
  stream.bytes.resize(in.ConsumeIntegral<uint8_t>() < 128 ? 128 : in.ConsumeIntegral<uint16_t>() % 400);
  Fill(in, stream.bytes.data(), stream.bytes.size());
  stream.step = 1 + in.ConsumeIntegral<uint8_t>() % 300;
  stream.failAtEnd = in.ConsumeIntegral<uint8_t>() < 20;
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

void ParamCalls(ClapFuzzInstance& live, FuzzedDataProvider& in) {
  const clap_id id = in.ConsumeIntegral<uint8_t>() % 20;
  char text[64];
  const uint32_t capacity = in.ConsumeIntegral<uint8_t>() % sizeof text;
  live.params->value_to_text(live.plugin, id, RawDouble(in), text, capacity);
  char typed[24];
  Fill(in, typed, sizeof typed);
  typed[sizeof typed - 1] = 0;
  double value;
  if (live.params->text_to_value(live.plugin, id, typed, &value) && !std::isfinite(value)) FuzzFail("text gave NaN");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ClapFuzzInstance& live = *new ClapFuzzInstance;  // never destroyed: exit order is no test
  live.Reset();
  FuzzedDataProvider in(data, size);
  while (in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegral<uint8_t>() % 8) {
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
        live.configs->select(live.plugin, in.ConsumeIntegral<uint8_t>() % 11);
        live.reconfigured = true;
        break;
      case 6:
        live.render->set(live.plugin, static_cast<int8_t>(in.ConsumeIntegral<uint8_t>()) % 3);
        break;
      case 7: {
        // A reactivation with another block size, sometimes with the host's tail offered.
        live.host.offerTail = in.ConsumeIntegral<uint8_t>() & 1;
        live.reactivated = true;
        live.plugin->stop_processing(live.plugin);
        live.plugin->deactivate(live.plugin);
        live.plugin->init(live.plugin);
        const uint32_t maxFrames = 1 + in.ConsumeIntegral<uint16_t>() % 1024;
        if (!live.plugin->activate(live.plugin, 22050.0 + in.ConsumeIntegral<uint16_t>(), 1, maxFrames))
          FuzzFail("reactivate");
        live.plugin->start_processing(live.plugin);
        break;
      }
    }
    live.CheckParams();
  }
  return 0;
}
