// The binding with the entry linked in: the host side goes through clap_entry as before,
// and the test reaches the plug-in object for what its editor and its own code would do
// (gestures, latency and tail changes, messages towards the host).
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "ClapTestHost.h"
#include "clap/ClapProduct.h"
#include "display/Korvel.h"

namespace {

using claptest::AudioBlock;
using claptest::FakeHost;
using claptest::HostOptions;
using claptest::InputEvents;
using claptest::Instance;
using claptest::OutputEvents;

class ClapBinding : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(clap_entry.init("/in/process/Korvel.clap")); }
  void TearDown() override {
    plugin.reset();
    clap_entry.deinit();
  }

  Korvel& Make(HostOptions options = {}) {
    plugin.reset();
    host = std::make_unique<FakeHost>(options);
    plugin = std::make_unique<Instance>(&clap_entry, *host);
    p = plugin->Get();
    korvel = dynamic_cast<Korvel*>(clap::helpers::Plugin::From(p));
    EXPECT_NE(korvel, nullptr);
    return *korvel;
  }
  clap_process_status Run(AudioBlock& block, OutputEvents* out = nullptr, const InputEvents* in = nullptr,
                          const clap_event_transport_t* transport = nullptr) {
    clap_process_t process = block.Process(in ? in->List() : nullptr, out ? out->List() : nullptr, transport);
    return p->process(p, &process);
  }
  std::vector<std::string> CallNames() {
    std::vector<std::string> names;
    for (const auto& call : host->Calls())
      if (call.what != "get_extension") names.push_back(call.what);
    return names;
  }

  std::unique_ptr<FakeHost> host;
  std::unique_ptr<Instance> plugin;
  const clap_plugin_t* p = nullptr;
  Korvel* korvel = nullptr;
};

using Names = std::vector<std::string>;

TEST_F(ClapBinding, HostVersionTextsArePacked) {
  struct Case {
    const char* text;
    int packed;
  };
  const Case cases[] = {{"1.2.3", 66051}, {"6.2.1", 393729}, {nullptr, 0}, {"", 0},
                        {"5", 5 * 65536}, {"2.1", 2 * 65536 + 256}, {"9.999.1", 9 * 65536 + 255 * 256 + 1},
                        {"99999999999999999999.1.1", 0x7fff * 65536 + 256 + 1}, {"beta", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text ? c.text : "(null)");
    EXPECT_EQ(IClapPlugin::PackHostVersion(c.text), c.packed);
  }
  HostOptions options;
  options.version = "1.2.3";
  options.name = "REAPER";
  Korvel& k = Make(options);
  EXPECT_EQ(k.HostVersion(), 66051);
  EXPECT_EQ(k.HostCode(), 1);
  EXPECT_STREQ(k.HostName(), "REAPER");
  options.version = nullptr;
  options.name = nullptr;
  EXPECT_EQ(Make(options).HostVersion(), 0);
}

TEST_F(ClapBinding, EditorGesturesReachTheHostInOrderBeforeAnyMidi) {
  Korvel& k = Make();
  plugin->Start();
  k.EmitMidi({0, 0xB0, 1, 2});
  k.EditorGestureBegin(5);
  k.EditorSetsParam(5, 0.25);   // Delay 1, continuous: sent normalised
  k.EditorSetsParam(10, 1.0);   // FFT Size, enumerated: sent as its plain value
  k.EditorGestureEnd(5);
  EXPECT_EQ(host->Count("request_flush"), 0) << "the next block sends them";
  OutputEvents out;
  AudioBlock block({2}, {2}, 64, false);
  Run(block, &out);
  ASSERT_EQ(out.Count(), 5u);
  const uint16_t types[] = {CLAP_EVENT_PARAM_GESTURE_BEGIN, CLAP_EVENT_PARAM_VALUE, CLAP_EVENT_PARAM_VALUE,
                            CLAP_EVENT_PARAM_GESTURE_END, CLAP_EVENT_MIDI};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(out.At(i).type, types[i]) << i;
    EXPECT_EQ(out.At(i).time, 0u) << i;
    EXPECT_EQ(out.At(i).space_id, 0) << i;
    EXPECT_EQ(out.At(i).flags, 0u) << i;
  }
  auto begin = out.As<clap_event_param_gesture_t>(0);
  EXPECT_EQ(begin.header.size, sizeof(clap_event_param_gesture_t));
  EXPECT_EQ(begin.param_id, 5u);
  auto delay = out.As<clap_event_param_value_t>(1);
  EXPECT_EQ(delay.header.size, sizeof(clap_event_param_value_t));
  EXPECT_EQ(delay.param_id, 5u);
  EXPECT_EQ(delay.value, 0.25);
  EXPECT_EQ(delay.cookie, nullptr);
  EXPECT_EQ(delay.note_id, -1);
  EXPECT_EQ(delay.port_index, -1);
  EXPECT_EQ(delay.channel, -1);
  EXPECT_EQ(delay.key, -1);
  EXPECT_EQ(out.As<clap_event_param_value_t>(2).value, 6.0);
  EXPECT_EQ(out.As<clap_event_param_gesture_t>(3).param_id, 5u);
  out.Clear();
  Run(block, &out);
  EXPECT_EQ(out.Count(), 0u) << "each entry goes out once";
}

TEST_F(ClapBinding, DraggingWhileNotProcessingAsksForFlushes) {
  struct Case {
    const char* what;
    bool threadCheck;
    bool fromMainThread;
    Names beforeMainThreadCall;
  };
  const Names flushes = {"request_flush", "request_flush", "request_flush", "request_flush"};
  const Names callbacks = {"request_callback", "request_callback", "request_callback", "request_callback"};
  const Case cases[] = {{"main thread, thread-check", true, true, flushes},
                        {"main thread, no thread-check", false, true, callbacks},
                        {"editor thread, thread-check", true, false, callbacks}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostOptions options;
    options.threadCheck = c.threadCheck;
    Korvel& k = Make(options);
    ASSERT_TRUE(p->init(p));
    host->Clear();
    const auto drag = [&] {
      k.EditorGestureBegin(12);
      k.EditorSetsParam(12, 0.3);
      k.EditorSetsParam(12, 0.4);
      k.EditorGestureEnd(12);
    };
    if (c.fromMainThread)
      drag();
    else
      std::thread(drag).join();
    EXPECT_EQ(CallNames(), c.beforeMainThreadCall);
    host->Clear();
    p->on_main_thread(p);
    EXPECT_EQ(host->Count("request_flush"), c.beforeMainThreadCall == flushes ? 0 : 4) << "queued work runs now";

    OutputEvents out;
    plugin->Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS)->flush(p, nullptr, out.List());
    ASSERT_EQ(out.Count(), 4u);
    EXPECT_EQ(out.At(0).type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
    EXPECT_DOUBLE_EQ(out.As<clap_event_param_value_t>(1).value, 0.3);
    EXPECT_DOUBLE_EQ(out.As<clap_event_param_value_t>(2).value, 0.4);
    EXPECT_EQ(out.At(3).type, CLAP_EVENT_PARAM_GESTURE_END);
  }
}

TEST_F(ClapBinding, AHostMayAnswerACallbackRequestAtOnce) {
  HostOptions options;
  options.threadCheck = false;
  Korvel& k = Make(options);
  ASSERT_TRUE(p->init(p));
  host->AnswerCallbacksAtOnce(p);
  k.EditorGestureBegin(3);
  k.EditorGestureEnd(3);
  EXPECT_EQ(CallNames(), (Names{"request_callback", "request_flush", "request_callback", "request_flush"}));
}

TEST_F(ClapBinding, MoreThan512WaitingEntriesDropTheNewest) {
  Korvel& k = Make();
  plugin->Start();
  for (int i = 0; i < 600; ++i) k.EditorSetsParam(15, i / 1000.0);
  OutputEvents out;
  plugin->Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS)->flush(p, nullptr, out.List());
  ASSERT_EQ(out.Count(), 512u);
  EXPECT_DOUBLE_EQ(out.As<clap_event_param_value_t>(511).value, 0.511);
}

TEST_F(ClapBinding, DestroyRunsQueuedWorkThatThenDoesNothing) {
  HostOptions options;
  options.threadCheck = false;
  Korvel& k = Make(options);
  ASSERT_TRUE(p->init(p));
  ASSERT_TRUE(p->activate(p, 48000.0, 1, 512));
  k.EditorGestureBegin(0);
  k.ChangeLatency(32);
  EXPECT_EQ(host->Count("request_callback"), 2);
  plugin->Destroy();
  EXPECT_EQ(host->Count("request_flush"), 0);
  EXPECT_EQ(host->Count("request_restart"), 0);
}

TEST_F(ClapBinding, LatencyChangesWhileActiveAskForOneRestart) {
  Korvel& k = Make();
  plugin->Start();
  const auto* latency = plugin->Ext<clap_plugin_latency_t>(CLAP_EXT_LATENCY);
  k.ChangeLatency(64);
  k.ChangeLatency(64);
  k.ChangeLatency(128);
  EXPECT_EQ(host->Count("request_restart"), 1) << "asked at once: the test runs on the host's main thread";
  EXPECT_EQ(latency->get(p), 0u) << "in force from the next activation";
  p->stop_processing(p);
  p->deactivate(p);
  ASSERT_TRUE(p->activate(p, 48000.0, 1, 512));
  EXPECT_EQ(latency->get(p), 128u);
  EXPECT_EQ(host->Count("latency_changed"), 1);
  k.ChangeLatency(256);
  EXPECT_EQ(host->Count("request_restart"), 2) << "a new change after the restart asks again";
  k.ChangeLatency(128);
  p->deactivate(p);
  ASSERT_TRUE(p->activate(p, 48000.0, 1, 512));
  EXPECT_EQ(latency->get(p), 128u) << "changed back before the activation";
  EXPECT_EQ(host->Count("latency_changed"), 1);
}

TEST_F(ClapBinding, LatencyChangesWhileInactiveWaitForTheActivation) {
  struct Case {
    bool log;
    bool changed;
  };
  for (const Case c : {Case{true, true}, Case{true, false}, Case{false, false}}) {
    SCOPED_TRACE(testing::Message() << "log " << c.log << ", changed " << c.changed);
    HostOptions options;
    options.log = c.log;
    options.latencyChanged = c.changed;
    Korvel& k = Make(options);
    ASSERT_TRUE(p->init(p));
    k.ChangeLatency(64);
    EXPECT_EQ(host->Count("request_restart"), 0);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(p->activate(p, 48000.0, 1, 512));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(plugin->Ext<clap_plugin_latency_t>(CLAP_EXT_LATENCY)->get(p), 64u);
    EXPECT_EQ(host->Count("latency_changed"), c.changed ? 1 : 0);
    const std::string message = "clap_host_latency is partially implemented";
    if (c.changed) {
      EXPECT_TRUE(host->Logs().empty());
    } else if (c.log) {
      EXPECT_EQ(host->Logs(), std::vector<std::string>{message});
    } else {
      EXPECT_EQ(err, message + "\n");
    }
  }
}

TEST_F(ClapBinding, AFiniteTailSleepsAfterThatManySilentFrames) {
  Korvel& k = Make();
  plugin->Start();
  k.ChangeTail(1000);
  AudioBlock silent({2}, {2}, 512, false);
  EXPECT_EQ(Run(silent), CLAP_PROCESS_CONTINUE);
  EXPECT_EQ(Run(silent), CLAP_PROCESS_SLEEP);
  EXPECT_EQ(Run(silent), CLAP_PROCESS_SLEEP);
  AudioBlock loud({2}, {2}, 512, false);
  loud.FillInputs();
  EXPECT_EQ(Run(loud), CLAP_PROCESS_CONTINUE) << "sound starts the count again";
  EXPECT_EQ(Run(silent), CLAP_PROCESS_CONTINUE);
  EXPECT_EQ(Run(silent), CLAP_PROCESS_SLEEP);
  AudioBlock noInputs({}, {2}, 512, false);
  EXPECT_EQ(Run(noInputs), CLAP_PROCESS_SLEEP) << "no inputs count as silence";

  k.ChangeTail(IClapPlugin::kInfiniteTail);
  EXPECT_EQ(plugin->Ext<clap_plugin_tail_t>(CLAP_EXT_TAIL)->get(p), UINT32_MAX);
  EXPECT_EQ(Run(silent), CLAP_PROCESS_CONTINUE);
  EXPECT_EQ(host->Count("tail_changed"), 0) << "the host has no tail extension";
}

TEST_F(ClapBinding, TailChangesReachAHostTailAtTheEndOfTheNextBlock) {
  HostOptions options;
  options.tail = true;
  Korvel& k = Make(options);
  plugin->Start();
  k.ChangeTail(300);
  EXPECT_EQ(host->Count("tail_changed"), 0);
  AudioBlock block({2}, {2}, 64, false);
  EXPECT_EQ(Run(block), CLAP_PROCESS_TAIL);
  EXPECT_EQ(host->Count("tail_changed"), 1);
  Run(block);
  EXPECT_EQ(host->Count("tail_changed"), 1);
  EXPECT_EQ(plugin->Ext<clap_plugin_tail_t>(CLAP_EXT_TAIL)->get(p), 300u);
}

TEST_F(ClapBinding, TransportComesFromFixedPointBeatsAndSeconds) {
  Korvel& k = Make();
  plugin->Start(44100.0);
  AudioBlock block({2}, {2}, 64, false);
  clap_event_transport_t t = {};
  t.header = {sizeof t, 0, 0, CLAP_EVENT_TRANSPORT, 0};
  t.flags = CLAP_TRANSPORT_HAS_TEMPO | CLAP_TRANSPORT_IS_PLAYING;
  t.tempo = 90.0;
  t.song_pos_beats = 3 * CLAP_BEATTIME_FACTOR;
  Run(block, nullptr, nullptr, &t);
  framework::TransportInfo info = k.Transport();
  EXPECT_EQ(info.tempo, 90.0);
  EXPECT_EQ(info.samplePosition, -1.0);
  EXPECT_EQ(info.musicalPosition, -1.0);
  EXPECT_EQ(info.barStart, -1.0);
  EXPECT_EQ(info.loopStart, -1.0);
  EXPECT_EQ(info.loopEnd, -1.0);
  EXPECT_EQ(info.timeSigNumerator, 4);
  EXPECT_EQ(info.timeSigDenominator, 4);
  EXPECT_TRUE(info.playing);
  EXPECT_FALSE(info.loopActive);

  t.flags = CLAP_TRANSPORT_HAS_BEATS_TIMELINE | CLAP_TRANSPORT_HAS_SECONDS_TIMELINE | CLAP_TRANSPORT_HAS_TIME_SIGNATURE |
            CLAP_TRANSPORT_IS_LOOP_ACTIVE | CLAP_TRANSPORT_IS_RECORDING;
  t.song_pos_seconds = CLAP_SECTIME_FACTOR / 2;  // half a second
  t.song_pos_beats = 5 * CLAP_BEATTIME_FACTOR + CLAP_BEATTIME_FACTOR / 4;
  t.bar_start = 4 * CLAP_BEATTIME_FACTOR;
  t.loop_start_beats = 8 * CLAP_BEATTIME_FACTOR;
  t.loop_end_beats = 16 * CLAP_BEATTIME_FACTOR;
  t.tsig_num = 7;
  t.tsig_denom = 8;
  Run(block, nullptr, nullptr, &t);
  info = k.Transport();
  EXPECT_EQ(info.tempo, 120.0) << "no tempo flag";
  EXPECT_EQ(info.samplePosition, 22050.0);
  EXPECT_EQ(info.musicalPosition, 5.25);
  EXPECT_EQ(info.barStart, 4.0);
  EXPECT_EQ(info.loopStart, 8.0);
  EXPECT_EQ(info.loopEnd, 16.0);
  EXPECT_EQ(info.timeSigNumerator, 7);
  EXPECT_EQ(info.timeSigDenominator, 8);
  EXPECT_FALSE(info.playing);
  EXPECT_TRUE(info.loopActive);
  Run(block);
  EXPECT_EQ(k.Transport().musicalPosition, 5.25) << "a block without transport keeps the last one";
}

TEST_F(ClapBinding, MidiAndSysExMergeByOffsetAcrossBlocks) {
  Korvel& k = Make();
  plugin->Start();
  framework::SysExRecord sysex;
  sysex.offset = 20;
  sysex.size = 3;
  sysex.data[0] = 0xF0;
  sysex.data[1] = 0x01;
  sysex.data[2] = 0xF7;
  EXPECT_TRUE(k.EmitMidi({700, 0x90, 60, 127}));
  EXPECT_TRUE(k.EmitMidi({20, 0x80, 61, 0}));
  EXPECT_TRUE(k.EmitSysEx(sysex));
  EXPECT_TRUE(k.EmitMidi({5, 0xE0, 0, 64}));
  EXPECT_TRUE(k.EmitMidi({20, 0xB0, 2, 3}));
  framework::SysExRecord tooLong = sysex;
  tooLong.size = 100000;
  tooLong.offset = 600;
  EXPECT_TRUE(k.EmitSysEx(tooLong));

  OutputEvents out;
  AudioBlock block({2}, {2}, 512, true);
  Run(block, &out);
  ASSERT_EQ(out.Count(), 4u);
  EXPECT_EQ(out.At(0).type, CLAP_EVENT_MIDI);
  EXPECT_EQ(out.At(0).time, 5u);
  EXPECT_EQ(out.At(1).type, CLAP_EVENT_MIDI_SYSEX) << "SysEx first at equal offsets";
  auto sent = out.As<clap_event_midi_sysex_t>(1);
  EXPECT_EQ(sent.header.size, sizeof(clap_event_midi_sysex_t));
  EXPECT_EQ(sent.size, 3u);
  EXPECT_EQ(out.At(2).type, CLAP_EVENT_NOTE_OFF);
  EXPECT_EQ(out.At(2).time, 20u);
  EXPECT_EQ(out.At(3).type, CLAP_EVENT_MIDI) << "equal offsets keep their order of arrival";
  out.Clear();
  Run(block, &out);
  ASSERT_EQ(out.Count(), 2u);
  EXPECT_EQ(out.At(0).type, CLAP_EVENT_MIDI_SYSEX);
  EXPECT_EQ(out.At(0).time, 88u);
  EXPECT_EQ(out.As<clap_event_midi_sysex_t>(0).size, 512u) << "cut to what a record holds";
  EXPECT_EQ(out.At(1).type, CLAP_EVENT_NOTE_ON);
  EXPECT_EQ(out.At(1).time, 188u);
  EXPECT_EQ(out.As<clap_event_note_t>(1).velocity, 1.0);
}

TEST_F(ClapBinding, EditorMidiAndSysExGoToTheHostWithTheNextBlock) {
  Korvel& k = Make();
  plugin->Start();
  k.EditorSendsMidi({3, 0xC0, 9, 0});
  framework::SysExRecord sysex;
  sysex.offset = 4;
  sysex.size = 2;
  k.EditorSendsSysEx(sysex);
  OutputEvents out;
  AudioBlock block({2}, {2}, 64, false);
  Run(block, &out);
  ASSERT_EQ(out.Count(), 2u);
  EXPECT_EQ(out.At(0).type, CLAP_EVENT_MIDI);
  EXPECT_EQ(out.At(0).time, 3u);
  EXPECT_EQ(out.At(1).type, CLAP_EVENT_MIDI_SYSEX);
}

TEST_F(ClapBinding, AFullOutgoingQueueDropsTheNewestMessage) {
  Korvel& k = Make();
  plugin->Start();
  for (int i = 0; i < 600; ++i) EXPECT_TRUE(k.EmitMidi({i, 0xB0, 1, static_cast<uint8_t>(i & 0x7f)}));
  OutputEvents out;
  AudioBlock block({2}, {2}, 1024, false);
  Run(block, &out);
  ASSERT_EQ(out.Count(), 512u);
  EXPECT_EQ(out.At(511).time, 511u);
}

TEST_F(ClapBinding, HostParamChangesReachThePluginHookAndTheDisplaySettings) {
  Korvel& k = Make();
  plugin->Start();
  InputEvents in;
  in.Add(claptest::ParamValue(9, 10, 6));  // FFT Size 16384
  in.Add(claptest::ParamValue(9, 0, 1));   // Domain Freq
  AudioBlock block({2}, {2}, 64, false);
  Run(block, nullptr, &in);
  EXPECT_EQ(k.requestedFftSize.load(), 16384);
  EXPECT_EQ(k.domain.load(), 1);
}

TEST_F(ClapBinding, ActivationReannouncesTheParameters) {
  Korvel& k = Make();
  ASSERT_TRUE(p->init(p));
  k.GetParam(0)->Store(2.0);  // changed behind the hook's back
  ASSERT_TRUE(p->activate(p, 48000.0, 1, 512));
  EXPECT_EQ(k.domain.load(), 2);
}

TEST_F(ClapBinding, TheEditorAsksTheHostToResizeOnlyForANewSize) {
  HostOptions options;
  options.gui = true;
  Korvel& k = Make(options);
  ASSERT_TRUE(p->init(p));
  EXPECT_TRUE(k.EditorRequestsSize(1448, 1052, true));
  EXPECT_TRUE(k.EditorRequestsSize(1448, 1052, true));
  ASSERT_EQ(host->Count("request_resize"), 1);
  for (const auto& call : host->Calls()) {
    if (call.what == "request_resize") {
      EXPECT_EQ(call.text, "1448x1052");
    }
  }
  uint32_t w = 0, h = 0;
  ASSERT_TRUE(plugin->Ext<clap_plugin_gui_t>(CLAP_EXT_GUI)->get_size(p, &w, &h));
  EXPECT_EQ(w, 1448u);
  EXPECT_EQ(h, 1052u);

  // Without the host's gui extension the size is still kept.
  Korvel& other = Make();
  ASSERT_TRUE(p->init(p));
  EXPECT_TRUE(other.EditorRequestsSize(800, 600, true));
  EXPECT_EQ(other.EditorWidth(), 800);
  EXPECT_EQ(host->Count("request_resize"), 0);
}

}  // namespace
