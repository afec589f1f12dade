// The editor extension through the built Korvel.clap: a host with timer support opens the
// editor in the offscreen window record, drives it with timer ticks and receives its frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "ClapGuiCalls.h"
#include "ClapModuleSuite.h"
#include "ClapTestHost.h"
#include "modules/KorvelOffscreenWindow.h"

namespace {

using claptest::FakeHost;
using claptest::HostOptions;
using claptest::Instance;

constexpr const char* kOffscreen = KORVEL_WINDOW_API_OFFSCREEN;

// What the host's window record receives.
struct FrameSink {
  int frames = 0;
  uint32_t width = 0, height = 0, rowBytes = 0;
  std::vector<uint8_t> pixels;

  static void Frame(void* context, const uint8_t* p, uint32_t w, uint32_t h, uint32_t rowBytes) {
    auto& self = *static_cast<FrameSink*>(context);
    ++self.frames;
    self.width = w;
    self.height = h;
    self.rowBytes = rowBytes;
    self.pixels.assign(p, p + static_cast<size_t>(rowBytes) * h);
  }
  // 0xAARRGGBB of a pixel of the last frame.
  uint32_t At(uint32_t x, uint32_t y) const {
    const uint8_t* b = pixels.data() + static_cast<size_t>(y) * rowBytes + x * 4;
    return static_cast<uint32_t>(b[3]) << 24 | static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[1]) << 8 | b[0];
  }
};

class ClapGui : public claptest::ModuleSuite {
protected:

  static HostOptions WithTimers() {
    HostOptions options;
    options.gui = true;
    options.timerSupport = true;
    return options;
  }
  void Make(HostOptions options = WithTimers()) {
    plugin.reset();
    host = std::make_unique<FakeHost>(options);
    plugin = std::make_unique<Instance>(module->Entry(), *host);
    p = plugin->Get();
    ASSERT_TRUE(p->init(p));
    gui = plugin->Ext<clap_plugin_gui_t>(CLAP_EXT_GUI);
    ASSERT_NE(gui, nullptr);
    record = {sizeof record, &sink, &FrameSink::Frame};
    window.api = kOffscreen;
    window.ptr = &record;
  }
  // create and set_parent as a host does.
  void Open() {
    ASSERT_TRUE(gui->create(p, kOffscreen, false));
    ASSERT_TRUE(gui->set_parent(p, &window));
  }
  void Tick(int times = 1) {
    for (int i = 0; i < times; ++i) host->FireTimers(p);
  }
  void SetParam(clap_id id, double value) {
    claptest::InputEvents in;
    in.Add(claptest::ParamValue(0, id, value));
    claptest::OutputEvents out;
    plugin->Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS)->flush(p, in.List(), out.List());
  }

  std::unique_ptr<FakeHost> host;
  std::unique_ptr<Instance> plugin;
  const clap_plugin_t* p = nullptr;
  const clap_plugin_gui_t* gui = nullptr;
  FrameSink sink;
  korvel_offscreen_window_t record{};
  clap_window_t window{};
};


TEST_F(ClapGui, TheEmbeddedOffscreenApiIsSupportedOnlyWithHostTimers) {
  Make();
  EXPECT_TRUE(gui->is_api_supported(p, kOffscreen, false));
  EXPECT_FALSE(gui->is_api_supported(p, kOffscreen, true));
  for (const char* api : {CLAP_WINDOW_API_WIN32, CLAP_WINDOW_API_COCOA, "korvel.offscreen ", ""})
    EXPECT_FALSE(gui->is_api_supported(p, api, false)) << api;
  EXPECT_FALSE(gui->is_api_supported(p, nullptr, false));
  const char* api = nullptr;
  bool floating = true;
  EXPECT_FALSE(gui->get_preferred_api(p, &api, &floating));
  EXPECT_EQ(api, nullptr);

  HostOptions without = WithTimers();
  without.timerSupport = false;
  Make(without);
  EXPECT_FALSE(gui->is_api_supported(p, kOffscreen, false));
  EXPECT_FALSE(gui->create(p, kOffscreen, false));

  HostOptions partial = WithTimers();
  partial.timerSupportComplete = false;
  Make(partial);
  EXPECT_FALSE(gui->is_api_supported(p, kOffscreen, false));
  const auto logs = host->Logs();
  EXPECT_NE(std::find(logs.begin(), logs.end(), "clap_host_timer_support is partially implemented"), logs.end());
}

TEST_F(ClapGui, TheTimerIsRegisteredWhileTheEditorIsCreated) {
  Make();
  EXPECT_FALSE(gui->create(p, CLAP_WINDOW_API_WIN32, false));
  EXPECT_TRUE(host->Timers().empty());
  ASSERT_TRUE(gui->create(p, kOffscreen, false));
  ASSERT_TRUE(gui->create(p, kOffscreen, false));  // a second create keeps the one timer
  ASSERT_EQ(host->Timers().size(), 1u);
  for (const auto& call : host->Calls()) {
    if (call.what == "register_timer") {
      EXPECT_EQ(call.value, 16);
    }
  }
  gui->destroy(p);
  EXPECT_TRUE(host->Timers().empty());
  gui->destroy(p);
  EXPECT_EQ(host->Count("unregister_timer"), 1);

  // Destroying the plug-in with the editor open gives the timer back too.
  Open();
  plugin->Destroy();
  EXPECT_TRUE(host->Timers().empty());

  HostOptions refusing = WithTimers();
  refusing.timerRefused = true;
  Make(refusing);
  EXPECT_FALSE(gui->create(p, kOffscreen, false));
}

TEST_F(ClapGui, SizesAreNegotiatedWithinTheLimits) {
  Make();
  uint32_t w = 0, h = 0;
  ASSERT_TRUE(gui->get_size(p, &w, &h));
  EXPECT_EQ(w, 724u);
  EXPECT_EQ(h, 526u);
  w = 100;
  h = 2000;
  ASSERT_TRUE(gui->adjust_size(p, &w, &h));
  EXPECT_EQ(w, 241u);
  EXPECT_EQ(h, 1578u);
  w = UINT32_MAX;
  h = 0;
  ASSERT_TRUE(gui->adjust_size(p, &w, &h));
  EXPECT_EQ(w, 2172u);
  EXPECT_EQ(h, 175u);
  EXPECT_FALSE(gui->can_resize(p));
  EXPECT_FALSE(gui->get_size(p, nullptr, &h));
  EXPECT_FALSE(gui->adjust_size(p, &w, nullptr));
  clap_gui_resize_hints_t hints{};
  EXPECT_FALSE(gui->get_resize_hints(p, &hints));
  EXPECT_FALSE(gui->set_transient(p, &window));
  gui->suggest_title(p, "title");
  gui->suggest_title(p, nullptr);
}

TEST_F(ClapGui, TicksPaintFramesOfTheEditorsSizeAtEachScale) {
  Make();
  Tick();  // nothing open yet: no frame
  Open();
  EXPECT_EQ(sink.frames, 0);  // opening paints nothing until the first tick
  Tick();
  ASSERT_EQ(sink.frames, 1);
  EXPECT_EQ(sink.width, 724u);
  EXPECT_EQ(sink.height, 526u);
  EXPECT_GE(sink.rowBytes, 724u * 4);
  EXPECT_EQ(sink.At(362, 10) >> 24, 0xffu);  // the background is opaque

  ASSERT_TRUE(gui->set_size(p, 1448, 1052));
  Tick();
  EXPECT_EQ(sink.frames, 2);
  EXPECT_EQ(sink.width, 1448u);
  EXPECT_EQ(sink.height, 1052u);
  EXPECT_EQ(sink.At(724, 20) >> 24, 0xffu);

  // A host without a frame callback gets nothing, and nothing breaks.
  record.frame = nullptr;
  ASSERT_TRUE(gui->set_parent(p, &window));
  Tick(2);
  EXPECT_EQ(sink.frames, 2);
}

TEST_F(ClapGui, AParameterSetByTheHostChangesTheNextFrames) {
  Make();
  Open();
  Tick(3);
  const std::vector<uint8_t> time = sink.pixels;
  SetParam(0, 1.0);  // Domain: Freq
  Tick(3);
  ASSERT_EQ(sink.pixels.size(), time.size());
  EXPECT_NE(sink.pixels, time);
  const std::vector<uint8_t> freq = sink.pixels;
  SetParam(0, 2.0);  // Phase
  Tick(3);
  EXPECT_NE(sink.pixels, freq);
}

TEST_F(ClapGui, HideShowAndDestroyInAnyOrder) {
  // p: set_parent, h: hide, s: show, d: destroy, c: create; each followed by two ticks.
  // An editor attached without create still paints: set_parent starts the timer it needs.
  // The expected letters: 1 for true, 0 for false, '-' for destroy (no result).
  struct Case {
    const char* calls;
    const char* results;
    bool paintsAtTheEnd;
  };
  const Case cases[] = {
      {"cphs", "1111", true},       {"cphhss", "111111", true}, {"cpd", "11-", false},
      {"cpdsh", "11-01", false},    {"s", "0", false},          {"h", "1", false},
      {"chs", "110", false},        {"cpdcps", "11-111", true}, {"cphdsp", "111-01", true},
      {"dd", "--", false},          {"p", "1", true},           {"cpp", "111", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.calls);
    Make();
    std::string results;
    for (const char* call = c.calls; *call; ++call) {
      switch (*call) {
        case 'c': results += gui->create(p, kOffscreen, false) ? '1' : '0'; break;
        case 'p': results += gui->set_parent(p, &window) ? '1' : '0'; break;
        case 'h': results += gui->hide(p) ? '1' : '0'; break;
        case 's': results += gui->show(p) ? '1' : '0'; break;
        default: gui->destroy(p); results += '-'; break;
      }
      Tick(2);
    }
    EXPECT_EQ(results, c.results);
    const int before = sink.frames;
    SetParam(0, 2.0);  // the open editor repaints for the change
    Tick(2);
    EXPECT_EQ(sink.frames > before, c.paintsAtTheEnd);
  }
}

TEST_F(ClapGui, AnyOrderOfGuiCallsLeavesNoTimerBehindTheDestroyedPlugin) {
  // The host's loop turns after each call; the fake host fails the test for a timer it
  // still holds once the plug-in is destroyed.
  const std::vector<std::string> sequences =
      claptest::GuiCallSequences({"p", "pd", "ph", "phs", "Sp", "zp", "cp", "cpd", "dp", "ps", "pp", "cphdp"}, 12, 80, 8);
  for (const std::string& calls : sequences) {
    SCOPED_TRACE(calls);
    Make();
    for (char call : calls) {
      claptest::GuiCall(p, gui, window, call);
      host->Turn(p, 0);
    }
    plugin->Destroy();
    host->FireTimers(p);  // a timer still registered would reach the freed instance here
    if (HasFailure()) break;
  }
}

TEST_F(ClapGui, SetParentRefusesUnusableWindows) {
  Make();
  ASSERT_TRUE(gui->create(p, kOffscreen, false));
  EXPECT_FALSE(gui->set_parent(p, nullptr));
  clap_window_t cocoa = window;
  cocoa.api = CLAP_WINDOW_API_COCOA;
  EXPECT_FALSE(gui->set_parent(p, &cocoa));
  clap_window_t noRecord = window;
  noRecord.ptr = nullptr;
  EXPECT_FALSE(gui->set_parent(p, &noRecord));
  record.size = sizeof record - 1;  // an older, smaller record than ours
  EXPECT_FALSE(gui->set_parent(p, &window));
  clap_window_t noApi = window;
  noApi.api = nullptr;
  EXPECT_FALSE(gui->set_parent(p, &noApi));
  Tick(2);
  EXPECT_EQ(sink.frames, 0);
  EXPECT_FALSE(gui->show(p));  // no window was kept to reopen in
}

TEST_F(ClapGui, ScaleFromTheHostIsAcceptedAndBadScalesChangeNothing) {
  Make();
  Open();
  Tick();
  for (double scale : {2.0, 0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
    EXPECT_TRUE(gui->set_scale(p, scale)) << scale;
  Tick(2);
  EXPECT_GT(sink.width, 0u);
  EXPECT_GT(sink.height, 0u);
}

TEST_F(ClapGui, TimerCallsForTimersThePluginDidNotRegisterDoNothing) {
  Make();
  Open();
  const auto* timers = plugin->Ext<clap_plugin_timer_support_t>(CLAP_EXT_TIMER_SUPPORT);
  ASSERT_NE(timers, nullptr);
  timers->on_timer(p, 12345);
  timers->on_timer(p, CLAP_INVALID_ID);
  timers->on_timer(nullptr, host->Timers().front());
  EXPECT_EQ(sink.frames, 0);
  timers->on_timer(p, host->Timers().front());
  EXPECT_EQ(sink.frames, 1);
}

}  // namespace
