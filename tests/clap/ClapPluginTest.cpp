// The plug-in record and its extensions, through the built Korvel.clap: lifecycle, the
// extension lookup, parameters, state, audio ports and configurations, latency, tail and
// render mode.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "ClapModuleSuite.h"
#include "ClapTestHost.h"

namespace {

using claptest::FakeHost;
using claptest::HostOptions;
using claptest::InStream;
using claptest::Instance;
using claptest::OutStream;

class ClapPlugin : public claptest::ModuleSuite {
protected:

  // A fresh host with these options and an initialised instance on it.
  const clap_plugin_t* Make(HostOptions options = {}) {
    plugin.reset();
    host = std::make_unique<FakeHost>(options);
    plugin = std::make_unique<Instance>(module->Entry(), *host);
    EXPECT_TRUE((*plugin)->init(plugin->Get()));
    return plugin->Get();
  }
  template <class Extension>
  const Extension* Ext(const char* id) {
    return plugin->Ext<Extension>(id);
  }

  std::vector<uint8_t> Save() {
    OutStream out;
    EXPECT_TRUE(Ext<clap_plugin_state_t>(CLAP_EXT_STATE)->save(plugin->Get(), out.Stream()));
    return out.bytes;
  }
  double Value(clap_id id) {
    double v = -99;
    EXPECT_TRUE(Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS)->get_value(plugin->Get(), id, &v));
    return v;
  }

  std::unique_ptr<FakeHost> host;
  std::unique_ptr<Instance> plugin;
};


// ---- Lifecycle and lookup -----------------------------------------------------------------------

// The eight extensions of the binding, plus timer support: on Linux the host's timer is
// the only main-thread tick a plug-in gets, and the editor paints on it.
TEST_F(ClapPlugin, GetExtensionAnswersTheEightExtensionsAndTheEditorsEventLoop) {
  const clap_plugin_t* p = Make();
  // Timer and posix-fd support carry the X11 editor's ticks and events on the host's loop.
  for (const char* id : {"clap.state", "clap.render", "clap.latency", "clap.audio-ports", "clap.audio-ports-config",
                         "clap.params", "clap.timer-support", "clap.posix-fd-support", "clap.gui", "clap.tail"})
    EXPECT_NE(p->get_extension(p, id), nullptr) << id;
  for (const char* id : {"clap.note-ports", "clap.state-context/2", "clap.webview/3", "clap.flush-events/1",
                         "clap.thread-pool", "clap.voice-info",
                         "clap.preset-load/2", "clap.track-info/1", "clap.context-menu/1", "clap.remote-controls/2",
                         "clap.mini-curve-display/3", "clap.resource-directory/1", "clap.STATE", "clap.state ", "", "x"})
    EXPECT_EQ(p->get_extension(p, id), nullptr) << id;
  EXPECT_EQ(p->get_extension(p, nullptr), nullptr);
  EXPECT_EQ(p->get_extension(nullptr, "clap.state"), nullptr);
}

TEST_F(ClapPlugin, WithoutHostTimersOnlyTheNativeEditorCanBeCreated) {
  const clap_plugin_t* p = Make();
  const auto* gui = Ext<clap_plugin_gui_t>(CLAP_EXT_GUI);
  ASSERT_NE(gui, nullptr);
  const char* api = nullptr;
  bool floating = true;
  uint32_t w = 1, h = 1;
  EXPECT_FALSE(gui->is_api_supported(p, "korvel.offscreen", false));
  EXPECT_TRUE(gui->is_api_supported(p, CLAP_WINDOW_API_X11, false));
  EXPECT_FALSE(gui->get_preferred_api(p, &api, &floating));
  EXPECT_FALSE(gui->create(p, "korvel.offscreen", false));
  EXPECT_TRUE(gui->create(p, CLAP_WINDOW_API_X11, false));
  EXPECT_FALSE(gui->set_parent(p, nullptr));
  EXPECT_FALSE(gui->show(p));
  EXPECT_TRUE(gui->get_size(p, &w, &h));
  EXPECT_EQ(w, 724u);
  gui->destroy(p);
}

TEST_F(ClapPlugin, InitAsksTheHostForTheExtensionsItUses) {
  Make();
  std::set<std::string> asked;
  for (const auto& call : host->Calls())
    if (call.what == "get_extension") asked.insert(call.text);
  for (const char* id : {"clap.log", "clap.thread-check", "clap.params", "clap.latency", "clap.tail", "clap.track-info/1",
                         "clap.track-info.draft/1"})
    EXPECT_EQ(asked.count(id), 1u) << id;
}

TEST_F(ClapPlugin, LifecycleInEveryOrderEndsInAFreedInstance) {
  // Each sequence is a host calling in its own order, right or wrong; destroy ends each.
  const char* sequences[] = {"", "i", "ia", "iasp", "iaspPd", "ad", "pP", "dd", "iaa", "iarrd", "iasPpPsd", "m"};
  for (const char* sequence : sequences) {
    SCOPED_TRACE(sequence);
    plugin.reset();
    host = std::make_unique<FakeHost>();
    plugin = std::make_unique<Instance>(module->Entry(), *host);
    const clap_plugin_t* p = plugin->Get();
    for (const char* c = sequence; *c; ++c) {
      switch (*c) {
        case 'i': EXPECT_TRUE(p->init(p)); break;
        case 'a': EXPECT_TRUE(p->activate(p, 44100.0, 1, 256)); break;
        case 'd': p->deactivate(p); break;
        case 's': EXPECT_TRUE(p->start_processing(p)); break;
        case 'p': p->stop_processing(p); break;
        case 'P': {
          claptest::AudioBlock block({2}, {2}, 64, false);
          clap_process_t process = block.Process();
          p->process(p, &process);
          break;
        }
        case 'r': p->reset(p); break;
        case 'm': p->on_main_thread(p); break;
      }
    }
    plugin.reset();
  }
}

TEST_F(ClapPlugin, ActivationRefusesRatesAndSizesThatCannotWork) {
  const clap_plugin_t* p = Make();
  EXPECT_FALSE(p->activate(p, 0.0, 1, 512));
  EXPECT_FALSE(p->activate(p, -44100.0, 1, 512));
  EXPECT_FALSE(p->activate(p, std::nan(""), 1, 512));
  EXPECT_FALSE(p->activate(p, 48000.0, 1, 0));
  EXPECT_FALSE(p->activate(p, 48000.0, 1, UINT32_MAX));
  EXPECT_TRUE(p->activate(p, 48000.0, 1, 512));
  p->deactivate(p);
  EXPECT_TRUE(p->activate(p, 96000.0, 32, 4096)) << "activates again";
}

TEST_F(ClapPlugin, NullRecordsAreRefusedByEveryFunction) {
  const clap_plugin_t* p = Make();
  clap_plugin_t blank = *p;
  blank.plugin_data = nullptr;
  EXPECT_FALSE(p->init(&blank));
  EXPECT_FALSE(p->activate(&blank, 48000.0, 1, 512));
  EXPECT_FALSE(p->start_processing(&blank));
  EXPECT_EQ(p->process(&blank, nullptr), CLAP_PROCESS_ERROR);
  EXPECT_EQ(p->get_extension(&blank, "clap.params"), nullptr);
  p->deactivate(nullptr);
  p->stop_processing(nullptr);
  p->reset(nullptr);
  p->on_main_thread(nullptr);
  p->destroy(nullptr);
  p->destroy(&blank);
  const auto* params = Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  EXPECT_EQ(params->count(nullptr), 0u);
  EXPECT_EQ(params->count(&blank), 0u);
  const auto* state = Ext<clap_plugin_state_t>(CLAP_EXT_STATE);
  OutStream out;
  EXPECT_FALSE(state->save(&blank, out.Stream()));
  EXPECT_FALSE(state->save(p, nullptr));
  EXPECT_FALSE(state->load(p, nullptr));
}

// ---- Parameters ----------------------------------------------------------------------------------

TEST_F(ClapPlugin, ParamInfoReportsKindsRangesAndFlags) {
  Make();
  const auto* params = Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  const clap_plugin_t* p = plugin->Get();
  EXPECT_EQ(params->count(p), 16u);
  struct Expected {
    uint32_t index;
    const char* name;
    uint32_t flags;
    double min, max, def;
  };
  const Expected expected[] = {
      {0, "Domain", 0x8021, 0, 2, 0},     {1, "Input 1", 0x8021, 0, 1, 1},    {3, "Input 3", 0x8021, 0, 1, 0},
      {5, "Delay 1", 0x8020, 0, 1, 0},    {9, "Hold", 0x8020, 0, 1, 1},       {10, "FFT Size", 0x8021, 0, 6, 4},
      {11, "Blend Speed", 0x8020, 0, 1, (0.5 - 0.1) / 0.9}, {12, "Opacity", 0x8020, 0, 1, 0.75},
      {15, "Y Zoom", 0x8020, 0, 1, 0.5},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.name);
    clap_param_info_t info;
    std::memset(&info, 0x5a, sizeof info);
    ASSERT_TRUE(params->get_info(p, e.index, &info));
    EXPECT_EQ(info.id, e.index);
    EXPECT_STREQ(info.name, e.name);
    EXPECT_STREQ(info.module, "");
    EXPECT_EQ(info.flags, e.flags);
    EXPECT_EQ(info.cookie, nullptr);
    EXPECT_EQ(info.min_value, e.min);
    EXPECT_EQ(info.max_value, e.max);
    EXPECT_NEAR(info.default_value, e.def, 1e-12);
  }
  clap_param_info_t info;
  EXPECT_FALSE(params->get_info(p, 16, &info));
  EXPECT_FALSE(params->get_info(p, 0, nullptr));
  double v;
  EXPECT_FALSE(params->get_value(p, 16, &v));
  EXPECT_FALSE(params->get_value(p, 0, nullptr));
  EXPECT_EQ(Value(10), 4.0) << "stepped parameters report plain values";
  EXPECT_EQ(Value(12), 0.75) << "continuous ones normalised values";
  EXPECT_EQ(Value(9), 1.0) << "Hold's default 3 dB is the top of -30 … 3";
}

TEST_F(ClapPlugin, ValueTextsCarryLabelsAndRespectTheCapacity) {
  const clap_plugin_t* p = Make();
  const auto* params = Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  struct Case {
    clap_id id;
    double value;
    const char* text;
  };
  const Case cases[] = {{5, 0.5, "250.0 ms"}, {10, 4, "4096"}, {9, 1.0, "3.0 dB"}, {0, 2, "Phase"},
                        {1, 0, "off"},        {10, 9, "16384"}, {12, 0.5, "0.50"}};
  for (const Case& c : cases) {
    char text[64];
    ASSERT_TRUE(params->value_to_text(p, c.id, c.value, text, sizeof text)) << c.text;
    EXPECT_STREQ(text, c.text);
  }
  char small[5] = "keep";
  EXPECT_FALSE(params->value_to_text(p, 10, 4, small, 4)) << "\"4096\" needs 5 bytes";
  EXPECT_STREQ(small, "keep");
  EXPECT_TRUE(params->value_to_text(p, 10, 4, small, 5));
  EXPECT_FALSE(params->value_to_text(p, 10, 4, small, 0));
  EXPECT_FALSE(params->value_to_text(p, 10, 4, nullptr, 5));
  EXPECT_FALSE(params->value_to_text(p, 16, 4, small, 5));
}

TEST_F(ClapPlugin, TextsReadBackAsHostValues) {
  const clap_plugin_t* p = Make();
  const auto* params = Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  struct Case {
    clap_id id;
    const char* text;
    double value;
  };
  const Case cases[] = {{0, "Phase", 2}, {12, "0.5", 0.5}, {5, "250", 0.5}, {0, "nonsense", 0}, {10, "8192", 5}};
  for (const Case& c : cases) {
    double v = -1;
    ASSERT_TRUE(params->text_to_value(p, c.id, c.text, &v)) << c.text;
    EXPECT_DOUBLE_EQ(v, c.value) << c.text;
  }
  double v;
  EXPECT_FALSE(params->text_to_value(p, 0, nullptr, &v));
  EXPECT_FALSE(params->text_to_value(p, 0, "Phase", nullptr));
  EXPECT_FALSE(params->text_to_value(p, 16, "1", &v));
}

TEST_F(ClapPlugin, FlushAppliesEventsWithoutProcessing) {
  const clap_plugin_t* p = Make();
  const auto* params = Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  claptest::InputEvents in;
  in.Add(claptest::ParamValue(0, 10, 6));
  in.Add(claptest::ParamValue(0, 5, 0.5));
  in.Add(claptest::ParamValue(0, 99, 0.5));
  claptest::OutputEvents out;
  params->flush(p, in.List(), out.List());
  EXPECT_EQ(Value(10), 6.0);
  EXPECT_EQ(Value(5), 0.5);
  EXPECT_EQ(out.Count(), 0u);
  params->flush(p, nullptr, nullptr);
}

// ---- State ------------------------------------------------------------------------------------

TEST_F(ClapPlugin, StateIsTheSixteenValuesAndSurvivesPieceByPieceStreams) {
  const clap_plugin_t* p = Make();
  std::vector<uint8_t> saved = Save();
  ASSERT_EQ(saved.size(), 128u);
  double values[16];
  std::memcpy(values, saved.data(), sizeof values);
  const double defaults[16] = {0, 1, 1, 0, 0, 0, 0, 0, 0, 3, 4, 0.5, 0.75, 0.5, 1, 0.5};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(values[i], defaults[i]) << i;

  // Change two values, save three bytes at a time, change them back, load two at a time.
  claptest::InputEvents in;
  in.Add(claptest::ParamValue(0, 0, 2));
  in.Add(claptest::ParamValue(0, 6, 1.0));
  Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS)->flush(p, in.List(), nullptr);
  OutStream slow(3);
  ASSERT_TRUE(Ext<clap_plugin_state_t>(CLAP_EXT_STATE)->save(p, slow.Stream()));
  ASSERT_EQ(slow.bytes.size(), 128u);
  InStream original(saved, 2);
  ASSERT_TRUE(Ext<clap_plugin_state_t>(CLAP_EXT_STATE)->load(p, original.Stream()));
  EXPECT_EQ(Value(0), 0.0);
  host->Clear();
  InStream changed(slow.bytes, 2);
  ASSERT_TRUE(Ext<clap_plugin_state_t>(CLAP_EXT_STATE)->load(p, changed.Stream()));
  EXPECT_EQ(Value(0), 2.0);
  EXPECT_EQ(Value(6), 1.0);
  ASSERT_EQ(host->Count("rescan"), 1);
  for (const auto& call : host->Calls())
    if (call.what == "rescan") {
      EXPECT_EQ(call.value, CLAP_PARAM_RESCAN_VALUES);
    }
}

TEST_F(ClapPlugin, RefusedStatesLeaveTheValuesAsTheyWere) {
  const clap_plugin_t* p = Make();
  const auto* state = Ext<clap_plugin_state_t>(CLAP_EXT_STATE);
  std::vector<uint8_t> good = Save();
  std::vector<uint8_t> other = good;
  const double phase = 2.0;
  std::memcpy(other.data(), &phase, sizeof phase);

  std::vector<uint8_t> longer = other;
  longer.push_back(0);
  std::vector<uint8_t> shorter(other.begin(), other.begin() + 100);
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    bool failAtEnd;
  };
  const Case cases[] = {{"one byte too many", longer, false},
                        {"100 bytes", shorter, false},
                        {"an empty stream", {}, false},
                        {"a read error after the state", other, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    host->Clear();
    InStream in(c.bytes, 7, c.failAtEnd);
    EXPECT_FALSE(state->load(p, in.Stream()));
    EXPECT_EQ(Value(0), 0.0) << "Domain keeps its value";
    EXPECT_EQ(Value(10), 4.0);
    EXPECT_EQ(host->Count("rescan"), 0);
  }
  InStream endless({});
  endless.endless = true;
  EXPECT_FALSE(state->load(p, endless.Stream())) << "a stream that never ends is refused";
}

TEST_F(ClapPlugin, SaveStopsAtAFailingOrLyingStream) {
  const clap_plugin_t* p = Make();
  const auto* state = Ext<clap_plugin_state_t>(CLAP_EXT_STATE);
  OutStream failing(16, 3);
  EXPECT_FALSE(state->save(p, failing.Stream()));
  EXPECT_EQ(failing.bytes.size(), 48u);
  OutStream lying(16);
  lying.overReport = 200;  // claims more than it was offered
  EXPECT_FALSE(state->save(p, lying.Stream()));
  OutStream zero(16);
  zero.overReport = -16;  // writes nothing
  EXPECT_FALSE(state->save(p, zero.Stream()));
}

TEST_F(ClapPlugin, LoadWithAPartialParamsExtensionLogsAndSkipsTheRescan) {
  HostOptions options;
  options.paramsComplete = false;
  const clap_plugin_t* p = Make(options);
  std::vector<uint8_t> saved = Save();
  host->Clear();
  InStream in(saved);
  EXPECT_TRUE(Ext<clap_plugin_state_t>(CLAP_EXT_STATE)->load(p, in.Stream()));
  EXPECT_EQ(host->Count("rescan"), 0);
  EXPECT_EQ(host->Logs(), std::vector<std::string>{"clap_host_params is partially implemented"});
}

// ---- Audio ports, configurations, layout choice ---------------------------------------------------

struct PortView {
  std::string name;
  uint32_t flags, channels;
  std::string type;
};

PortView Port(const clap_plugin_audio_ports_t* ports, const clap_plugin_t* p, uint32_t index, bool input) {
  clap_audio_port_info_t info;
  std::memset(&info, 0x5a, sizeof info);
  EXPECT_TRUE(ports->get(p, index, input, &info));
  EXPECT_EQ(info.id, index);
  EXPECT_EQ(info.in_place_pair, CLAP_INVALID_ID);
  return {info.name, info.flags, info.channel_count, info.port_type ? info.port_type : "(none)"};
}

TEST_F(ClapPlugin, AudioPortsDescribeTheSelectedLayout) {
  const clap_plugin_t* p = Make();
  const auto* ports = Ext<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
  const auto* configs = Ext<clap_plugin_audio_ports_config_t>(CLAP_EXT_AUDIO_PORTS_CONFIG);
  EXPECT_EQ(ports->count(p, true), 1u) << "a host without track info gets 2-2";
  EXPECT_EQ(ports->count(p, false), 1u);
  PortView in = Port(ports, p, 0, true);
  EXPECT_EQ(in.name, "Main Input");
  EXPECT_EQ(in.flags, 15u);
  EXPECT_EQ(in.channels, 2u);
  EXPECT_EQ(in.type, "stereo");
  PortView out = Port(ports, p, 0, false);
  EXPECT_EQ(out.name, "Output");
  EXPECT_EQ(out.channels, 2u);
  clap_audio_port_info_t info;
  EXPECT_FALSE(ports->get(p, 1, true, &info));
  EXPECT_FALSE(ports->get(p, 0, true, nullptr));

  ASSERT_TRUE(configs->select(p, 4));
  EXPECT_EQ(ports->count(p, true), 2u);
  PortView aux = Port(ports, p, 1, true);
  EXPECT_EQ(aux.name, "Aux Input");
  EXPECT_EQ(aux.flags, 14u);
  EXPECT_EQ(aux.channels, 1u);
  EXPECT_EQ(aux.type, "mono");
  EXPECT_FALSE(configs->select(p, 9));
  EXPECT_EQ(ports->count(p, true), 2u) << "a refused select keeps the selection";
  ASSERT_TRUE(configs->select(p, 7));
  EXPECT_EQ(Port(ports, p, 0, true).type, "(none)") << "three channels have no port type";
}

TEST_F(ClapPlugin, PortConfigurationsAreTheNineLayouts) {
  const clap_plugin_t* p = Make();
  const auto* configs = Ext<clap_plugin_audio_ports_config_t>(CLAP_EXT_AUDIO_PORTS_CONFIG);
  ASSERT_EQ(configs->count(p), 9u);
  const char* names[] = {"1-1", "1.1-1", "1.2-1", "2-2", "2.1-2", "2.2-2", "3-3", "3.1-3", "4-4"};
  for (uint32_t i = 0; i < 9; ++i) {
    clap_audio_ports_config_t c;
    ASSERT_TRUE(configs->get(p, i, &c));
    EXPECT_EQ(c.id, i);
    EXPECT_STREQ(c.name, names[i]);
  }
  clap_audio_ports_config_t c;
  ASSERT_TRUE(configs->get(p, 7, &c));
  EXPECT_EQ(c.input_port_count, 2u);
  EXPECT_EQ(c.output_port_count, 1u);
  EXPECT_TRUE(c.has_main_input);
  EXPECT_EQ(c.main_input_channel_count, 3u);
  EXPECT_EQ(c.main_input_port_type, nullptr);
  EXPECT_TRUE(c.has_main_output);
  EXPECT_EQ(c.main_output_channel_count, 3u);
  ASSERT_TRUE(configs->get(p, 3, &c));
  EXPECT_STREQ(c.main_input_port_type, "stereo");
  EXPECT_STREQ(c.main_output_port_type, "stereo");
  EXPECT_FALSE(configs->get(p, 9, &c));
  EXPECT_FALSE(configs->get(p, 0, nullptr));
}

TEST_F(ClapPlugin, InitChoosesTheLayoutFromTheTrack) {
  struct Case {
    int32_t channels;
    uint32_t mainChannels;
  };
  const Case cases[] = {{2, 2}, {1, 1}, {4, 4}, {3, 3}, {6, 2}, {0, 2}, {-5, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.channels);
    HostOptions options;
    options.trackInfo = true;
    options.trackChannels = c.channels;
    const clap_plugin_t* p = Make(options);
    const auto* ports = Ext<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
    EXPECT_EQ(Port(ports, p, 0, true).channels, c.mainChannels);
    EXPECT_EQ(ports->count(p, true), 1u);
    EXPECT_EQ(host->Count("track_info_get"), 1);
  }
}

TEST_F(ClapPlugin, APartialTrackInfoExtensionIsLoggedAndIgnored) {
  HostOptions options;
  options.trackInfo = true;
  options.trackInfoGet = false;
  options.log = false;  // the message goes to standard error
  testing::internal::CaptureStderr();
  const clap_plugin_t* p = Make(options);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("clap_host_track_info is partially implemented\n"), std::string::npos) << err;
  EXPECT_EQ(Port(Ext<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS), p, 0, true).channels, 2u);
}

// ---- Latency, tail, render ----------------------------------------------------------------------

TEST_F(ClapPlugin, LatencyAndTailAreZero) {
  const clap_plugin_t* p = Make();
  EXPECT_EQ(Ext<clap_plugin_latency_t>(CLAP_EXT_LATENCY)->get(p), 0u);
  EXPECT_EQ(Ext<clap_plugin_tail_t>(CLAP_EXT_TAIL)->get(p), 0u);
}

TEST_F(ClapPlugin, RenderModesAndTheUnknownModeLog) {
  const clap_plugin_t* p = Make();
  const auto* render = Ext<clap_plugin_render_t>(CLAP_EXT_RENDER);
  EXPECT_FALSE(render->has_hard_realtime_requirement(p));
  EXPECT_TRUE(render->set(p, CLAP_RENDER_OFFLINE));
  EXPECT_TRUE(render->set(p, CLAP_RENDER_REALTIME));
  EXPECT_EQ(host->Count("log"), 0);
  EXPECT_FALSE(render->set(p, 7));
  EXPECT_FALSE(render->set(p, -1));
  const std::vector<std::string> logs = host->Logs();
  ASSERT_EQ(logs.size(), 2u);
  EXPECT_EQ(logs[0], "host called clap_plugin_render.set_mode with an unknown mode : 7");
  EXPECT_EQ(logs[1], "host called clap_plugin_render.set_mode with an unknown mode : -1");
  for (const auto& call : host->Calls())
    if (call.what == "log") {
      EXPECT_EQ(call.value, CLAP_LOG_HOST_MISBEHAVING);
    }
}

}  // namespace
