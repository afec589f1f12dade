// process through the built Korvel.clap: malformed records, audio in both precisions,
// input events, the MIDI that comes back out, the status, and the real-time rules.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "ClapModuleSuite.h"
#include "ClapTestHost.h"
#include "RealtimeCounter.h"

namespace {

using claptest::AudioBlock;
using claptest::FakeHost;
using claptest::HostOptions;
using claptest::InputEvents;
using claptest::Instance;
using claptest::OutputEvents;

class ClapProcess : public claptest::ModuleSuite {
protected:

  void Start(HostOptions options = {}, uint32_t maxFrames = 512) {
    plugin.reset();
    host = std::make_unique<FakeHost>(options);
    plugin = std::make_unique<Instance>(module->Entry(), *host);
    plugin->Start(48000.0, maxFrames);
    p = plugin->Get();
  }
  double Value(clap_id id) {
    double v = -99;
    EXPECT_TRUE(plugin->Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS)->get_value(p, id, &v));
    return v;
  }
  clap_process_status Run(AudioBlock& block, const InputEvents* in = nullptr, OutputEvents* out = nullptr) {
    clap_process_t process = block.Process(in ? in->List() : nullptr, out ? out->List() : nullptr);
    return p->process(p, &process);
  }

  std::unique_ptr<FakeHost> host;
  std::unique_ptr<Instance> plugin;
  const clap_plugin_t* p = nullptr;
};


TEST_F(ClapProcess, MalformedRecordsAreRefusedBeforeAnythingIsTouched) {
  Start();
  AudioBlock block({2}, {2}, 64, false);
  block.FillInputs();
  block.FillOutputs(7.0);
  InputEvents in;
  in.Add(claptest::ParamValue(0, 10, 6));
  in.Add(claptest::Midi(0, 0x90, 60, 100));
  OutputEvents out;

  EXPECT_EQ(p->process(p, nullptr), CLAP_PROCESS_ERROR);
  clap_process_t noInputs = block.Process(in.List(), out.List());
  noInputs.audio_inputs = nullptr;
  EXPECT_EQ(p->process(p, &noInputs), CLAP_PROCESS_ERROR);
  clap_process_t noOutputs = block.Process(in.List(), out.List());
  noOutputs.audio_outputs = nullptr;
  EXPECT_EQ(p->process(p, &noOutputs), CLAP_PROCESS_ERROR);

  EXPECT_EQ(Value(10), 4.0) << "the event was not applied";
  EXPECT_EQ(out.Count(), 0u);
  EXPECT_EQ(block.Out(0, 0, 0), 7.0);
  // The MIDI from the refused blocks never comes out later either.
  AudioBlock next({2}, {2}, 64, false);
  EXPECT_EQ(Run(next, nullptr, &out), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  EXPECT_EQ(out.Count(), 0u);
}

TEST_F(ClapProcess, BlocksBeforeActivationAreRefused) {
  plugin.reset();
  host = std::make_unique<FakeHost>();
  plugin = std::make_unique<Instance>(module->Entry(), *host);
  p = plugin->Get();
  AudioBlock block({2}, {2}, 64, true);
  block.FillOutputs(7.0);
  EXPECT_EQ(Run(block), CLAP_PROCESS_ERROR);
  ASSERT_TRUE(p->init(p));
  EXPECT_EQ(Run(block), CLAP_PROCESS_ERROR);
  ASSERT_TRUE(p->activate(p, 48000.0, 1, 64));
  p->deactivate(p);
  EXPECT_EQ(Run(block), CLAP_PROCESS_ERROR) << "after deactivate";
  EXPECT_EQ(block.Out(0, 0, 0), 7.0);
}

TEST_F(ClapProcess, AudioPassesThroughBitForBitInBothPrecisionsAndAnyBlockLength) {
  struct Case {
    bool doublePrecision;
    uint32_t frames;  // the activation's maximum is 512
  };
  const Case cases[] = {{false, 512}, {true, 512}, {false, 1}, {true, 0}, {false, 2000}, {true, 1537}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.doublePrecision ? "double" : "single") << ", " << c.frames << " frames");
    Start();
    AudioBlock block({2}, {2}, c.frames, c.doublePrecision);
    block.FillInputs(c.frames + 3);
    block.FillOutputs(9.0);
    EXPECT_EQ(Run(block), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
    EXPECT_TRUE(block.OutputEqualsInput(0, 0));
    EXPECT_TRUE(block.OutputEqualsInput(0, 1));
  }
}

TEST_F(ClapProcess, AuxInputsAndSurplusHostChannels) {
  Start();
  ASSERT_TRUE(plugin->Ext<clap_plugin_audio_ports_config_t>(CLAP_EXT_AUDIO_PORTS_CONFIG)->select(p, 5));  // 2.2-2
  {
    AudioBlock block({2, 2}, {2}, 256, true);
    block.FillInputs();
    EXPECT_EQ(Run(block), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
    EXPECT_TRUE(block.OutputEqualsInput(0, 0));
    EXPECT_TRUE(block.OutputEqualsInput(0, 1));
  }
  // Eight channels each way: the plug-in has four channel records per direction and
  // never reaches past them.
  AudioBlock wide({8}, {8}, 256, false);
  wide.FillInputs();
  wide.FillOutputs(5.0);
  EXPECT_EQ(Run(wide), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  for (size_t c = 0; c < 4; ++c) EXPECT_TRUE(wide.OutputEqualsInput(0, c)) << c;
  for (size_t c = 4; c < 8; ++c) EXPECT_EQ(wide.Out(0, c, 17), 5.0) << c;
}

TEST_F(ClapProcess, NullChannelPointersReadAsSilence) {
  Start();
  AudioBlock block({2}, {2}, 128, false);
  block.FillInputs();
  float* missing[2] = {nullptr, nullptr};
  block.inputs[0].data32 = missing;
  block.FillOutputs(3.0);
  EXPECT_EQ(Run(block), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  EXPECT_EQ(block.Out(0, 0, 5), 0.0);
  block.inputs[0].data32 = nullptr;
  block.outputs[0].data32 = nullptr;
  EXPECT_EQ(Run(block), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
}

TEST_F(ClapProcess, ParameterEventsAreCheckedAndApplied) {
  Start();
  InputEvents in;
  in.Add(claptest::ParamValue(3, 10, 6));    // FFT Size, enumerated: plain value
  in.Add(claptest::ParamValue(4, 12, 0.5));  // Opacity, continuous 0 … 1
  in.Add(claptest::ParamValue(5, 5, 0.5));   // Delay 1, continuous 0 … 500: normalised
  in.Add(claptest::ParamValue(6, 16, 0.9));  // no such parameter
  in.Add(claptest::ParamValue(7, UINT32_MAX, 0.9));
  clap_event_param_value_t shortEvent = claptest::ParamValue(8, 0, 2);
  shortEvent.header.size = 55;
  in.Add(shortEvent);
  clap_event_param_value_t foreign = claptest::ParamValue(9, 0, 2);
  foreign.header.space_id = 7;
  in.Add(foreign);
  clap_event_param_value_t tiny = claptest::ParamValue(9, 0, 2);
  tiny.header.size = 8;
  in.Add(tiny);
  in.Add(claptest::ParamValue(10, 1, std::nan("")));
  in.Add(claptest::ParamValue(11, 11, -5.0));
  AudioBlock block({2}, {2}, 64, false);
  EXPECT_EQ(Run(block, &in), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  EXPECT_EQ(Value(10), 6.0);
  EXPECT_EQ(Value(12), 0.5);
  EXPECT_EQ(Value(5), 0.5);
  char text[32];
  ASSERT_TRUE(plugin->Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS)->value_to_text(p, 5, Value(5), text, sizeof text));
  EXPECT_STREQ(text, "250.0 ms");
  EXPECT_EQ(Value(0), 0.0) << "short and foreign events are skipped";
  EXPECT_EQ(Value(1), 0.0) << "NaN is confined to the minimum";
  EXPECT_EQ(Value(11), 0.0) << "out of range is clamped";
}

TEST_F(ClapProcess, NoteAndMidiEventsComeBackInTimeOrder) {
  Start();
  InputEvents in;
  in.Add(claptest::Note(CLAP_EVENT_NOTE_ON, 30, 2, 60, 0.5));
  in.Add(claptest::Midi(10, 0xB1, 7, 100));
  in.Add(claptest::Note(CLAP_EVENT_NOTE_OFF, 40, 2, 60, 0.3));
  in.Add(claptest::Note(CLAP_EVENT_NOTE_ON, 50, -1, -1, 7.0));  // wildcards and a wild velocity
  clap_event_note_t shortNote = claptest::Note(CLAP_EVENT_NOTE_ON, 5, 0, 1, 1.0);
  shortNote.header.size = 39;
  in.Add(shortNote);
  in.Add(claptest::Midi(20, 0xF8, 0, 0));
  OutputEvents out;
  AudioBlock block({2}, {2}, 64, true);
  Run(block, &in, &out);
  ASSERT_EQ(out.Count(), 5u);
  EXPECT_EQ(out.At(0).type, CLAP_EVENT_MIDI);
  EXPECT_EQ(out.At(0).time, 10u);
  auto cc = out.As<clap_event_midi_t>(0);
  EXPECT_EQ(cc.header.size, sizeof(clap_event_midi_t));
  EXPECT_EQ(cc.data[0], 0xB1);
  EXPECT_EQ(cc.data[2], 100);
  EXPECT_EQ(out.At(1).type, CLAP_EVENT_MIDI) << "a system message stays MIDI";
  EXPECT_EQ(out.At(1).time, 20u);
  auto on = out.As<clap_event_note_t>(2);
  EXPECT_EQ(on.header.type, CLAP_EVENT_NOTE_ON);
  EXPECT_EQ(on.header.size, sizeof(clap_event_note_t));
  EXPECT_EQ(on.header.time, 30u);
  EXPECT_EQ(on.channel, 2);
  EXPECT_EQ(on.key, 60);
  EXPECT_EQ(on.note_id, -1);
  EXPECT_DOUBLE_EQ(on.velocity, 64.0 / 127.0) << "0.5 × 127 rounds half away from zero";
  auto off = out.As<clap_event_note_t>(3);
  EXPECT_EQ(off.header.type, CLAP_EVENT_NOTE_OFF);
  EXPECT_EQ(off.velocity, 0.0);
  auto wild = out.As<clap_event_note_t>(4);
  EXPECT_EQ(wild.header.type, CLAP_EVENT_NOTE_ON);
  EXPECT_EQ(wild.channel, 15);
  EXPECT_EQ(wild.key, 127);
  EXPECT_EQ(wild.velocity, 1.0);
}

TEST_F(ClapProcess, MessagesTimedBeyondTheBlockComeOutInALaterOne) {
  Start();
  InputEvents in;
  in.Add(claptest::Midi(700, 0xB0, 1, 2));
  in.Add(claptest::Midi(100, 0xB0, 3, 4));
  OutputEvents out;
  AudioBlock block({2}, {2}, 512, false);
  Run(block, &in, &out);
  ASSERT_EQ(out.Count(), 1u);
  EXPECT_EQ(out.At(0).time, 100u);
  out.Clear();
  Run(block, nullptr, &out);
  ASSERT_EQ(out.Count(), 1u);
  EXPECT_EQ(out.At(0).time, 188u);
  EXPECT_EQ(out.As<clap_event_midi_t>(0).data[1], 1);
}

TEST_F(ClapProcess, SysExOfAnySizeIsTakenSafely) {
  Start();
  std::vector<uint8_t> big(100000, 0x42);
  big.front() = 0xF0;
  big.back() = 0xF7;
  InputEvents in;
  in.Add(claptest::SysEx(0, big.data(), static_cast<uint32_t>(big.size())));
  in.Add(claptest::SysEx(1, nullptr, 12));
  in.Add(claptest::SysEx(2, nullptr, 0));
  AudioBlock block({2}, {2}, 64, false);
  EXPECT_EQ(Run(block, &in), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
}

TEST_F(ClapProcess, EventListsWithoutFunctionsOrEventsAreSkipped) {
  Start();
  AudioBlock block({2}, {2}, 64, false);
  clap_input_events_t broken = {nullptr, nullptr, nullptr};
  clap_output_events_t refusing = {nullptr, nullptr};
  clap_process_t process = block.Process(&broken, &refusing);
  EXPECT_EQ(p->process(p, &process), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
  // A list that says it holds events but hands out none.
  clap_input_events_t hollow = {nullptr, [](const clap_input_events_t*) { return 3u; },
                                [](const clap_input_events_t*, uint32_t) -> const clap_event_header_t* { return nullptr; }};
  process = block.Process(&hollow, nullptr);
  EXPECT_EQ(p->process(p, &process), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
}

TEST_F(ClapProcess, AHostTailExtensionMakesEveryBlockATail) {
  HostOptions options;
  options.tail = true;
  Start(options);
  AudioBlock block({2}, {2}, 64, false);
  EXPECT_EQ(Run(block), CLAP_PROCESS_TAIL);
  HostOptions partial;
  partial.tail = true;
  partial.tailChanged = false;
  Start(partial);
  EXPECT_EQ(host->Logs(), std::vector<std::string>{"clap_host_tail is partially implemented"});
  EXPECT_EQ(Run(block), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
}

TEST_F(ClapProcess, TransportRecordsOfAnyContentAreTaken) {
  Start();
  clap_event_transport_t transport = {};
  transport.header = {sizeof transport, 0, 0, CLAP_EVENT_TRANSPORT, 0};
  transport.flags = 0xff;
  transport.tempo = std::nan("");
  transport.song_pos_seconds = INT64_MIN;
  transport.tsig_denom = 0;
  AudioBlock block({2}, {2}, 64, false);
  clap_process_t process = block.Process(nullptr, nullptr, &transport);
  EXPECT_EQ(p->process(p, &process), CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
}

TEST_F(ClapProcess, ABlockAllocatesNothingAndTakesNoLock) {
  if (!testsupport::RealtimeCounterAvailable()) GTEST_SKIP() << "allocation counting is off under sanitizers";
  Start();
  InputEvents in;
  for (uint32_t i = 0; i < 512; ++i) in.Add(claptest::Midi(i, 0x90, static_cast<uint8_t>(i & 0x7f), 64));
  for (clap_id id = 0; id < 16; ++id) in.Add(claptest::ParamValue(id, id, 0.25));
  std::vector<uint8_t> sysex(600, 0x11);
  in.Add(claptest::SysEx(3, sysex.data(), static_cast<uint32_t>(sysex.size())));
  OutputEvents out(2048);
  for (bool doublePrecision : {false, true}) {
    AudioBlock block({2}, {2}, 512, doublePrecision);
    block.FillInputs();
    AudioBlock longBlock({2}, {2}, 1500, doublePrecision);
    clap_process_t process = block.Process(in.List(), out.List());
    clap_process_t longProcess = longBlock.Process(in.List(), out.List());
    p->process(p, &process);  // warm-up
    out.Clear();
    int64_t allocations, locks;
    clap_process_status status;
    {
      testsupport::RealtimeScope scope;
      status = p->process(p, &process);
      p->process(p, &longProcess);
      allocations = scope.Allocations();
      locks = scope.Locks();
    }
    EXPECT_EQ(status, CLAP_PROCESS_CONTINUE_IF_NOT_QUIET);
    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(locks, 0);
    EXPECT_GE(out.Count(), 512u) << "the 512 messages all came back";
  }
}

}  // namespace
