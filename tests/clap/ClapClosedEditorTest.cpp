// Host automation while the editor of the built Korvel.clap is closed: parameter events in
// process and flush with no gui, sometimes a state load after them, then create, set_parent
// and show. The editor's frames must show the current values from the first frame on, and
// still after its idle ticks have run.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "ClapModuleSuite.h"
#include "ClapTestHost.h"
#include "ClosedEditorCases.h"
#include "modules/KorvelOffscreenWindow.h"

namespace {

using claptest::FakeHost;
using claptest::InputEvents;
using claptest::Instance;
using claptest::OutputEvents;

constexpr const char* kOffscreen = KORVEL_WINDOW_API_OFFSCREEN;
// Longer than the framework's idle interval, so that every tick runs its idle work too.
constexpr auto kPastIdleInterval = std::chrono::milliseconds(25);

// A plug-in instance on a host with an offscreen editor; keeps the last frame it was sent.
class EditorHost {
public:
  explicit EditorHost(const claptest::Module& module) {
    claptest::HostOptions options;
    options.gui = true;
    options.timerSupport = true;
    host = std::make_unique<FakeHost>(options);
    plugin = std::make_unique<Instance>(module.Entry(), *host);
    plugin->Start();
    p = plugin->Get();
    params = plugin->Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    state = plugin->Ext<clap_plugin_state_t>(CLAP_EXT_STATE);
    gui = plugin->Ext<clap_plugin_gui_t>(CLAP_EXT_GUI);
    record = {sizeof record, this, &EditorHost::Frame};
    window.api = kOffscreen;
    window.ptr = &record;
  }

  // Random values for every parameter in the ranges it announces, one event each.
  std::vector<clap_event_param_value_t> RandomChanges(int count, std::mt19937& random) const {
    std::vector<clap_event_param_value_t> changes;
    const uint32_t n = params->count(p);
    for (int i = 0; i < count; ++i) {
      const auto id = static_cast<clap_id>(random() % n);
      clap_param_info_t info{};
      params->get_info(p, id, &info);
      std::uniform_real_distribution<double> within(info.min_value, info.max_value);
      double value = within(random);
      if (info.flags & CLAP_PARAM_IS_STEPPED) value = static_cast<double>(static_cast<int64_t>(value + 0.5));
      changes.push_back(claptest::ParamValue(0, id, value));
    }
    return changes;
  }
  // Seven events per call, alternately in a processing block and a flush.
  void Send(const std::vector<clap_event_param_value_t>& changes) {
    claptest::AudioBlock block({2}, {2}, 64, false);
    for (size_t first = 0, call = 0; first < changes.size(); first += 7, ++call) {
      InputEvents in;
      for (size_t i = first; i < changes.size() && i < first + 7; ++i) in.Add(changes[i]);
      OutputEvents out;
      if (call % 2 == 0) {
        clap_process_t process = block.Process(in.List(), out.List());
        ASSERT_NE(p->process(p, &process), CLAP_PROCESS_ERROR);
      } else {
        params->flush(p, in.List(), out.List());
      }
    }
  }
  std::vector<uint8_t> Save() const {
    claptest::OutStream out;
    EXPECT_TRUE(state->save(p, out.Stream()));
    return out.bytes;
  }
  void Load(const std::vector<uint8_t>& bytes) const {
    claptest::InStream in(bytes);
    ASSERT_TRUE(state->load(p, in.Stream()));
  }
  // Opens the editor as a host does, takes its first four frames and closes it again. Each
  // tick of the host's timer comes after the framework's idle interval, so that its idle work
  // runs in the same tick.
  std::vector<std::vector<uint8_t>> FirstFrames() {
    std::vector<std::vector<uint8_t>> frames;
    // The display rebuilds its axes at the first tick after a change of its settings, and its
    // labels depend on whether it did: a change to the value the Domain has evens that out.
    double domain = 0.0;
    EXPECT_TRUE(params->get_value(p, 0, &domain));
    Send({claptest::ParamValue(0, 0, domain)});
    EXPECT_TRUE(gui->create(p, kOffscreen, false));
    EXPECT_TRUE(gui->set_parent(p, &window));
    EXPECT_TRUE(gui->show(p));
    for (int frame = 0; frame < 4; ++frame) {
      std::this_thread::sleep_for(kPastIdleInterval);
      host->FireTimers(p);
      frames.push_back(pixels);
    }
    gui->destroy(p);
    return frames;
  }

private:
  static void Frame(void* context, const uint8_t* bytes, uint32_t, uint32_t height, uint32_t rowBytes) {
    auto& self = *static_cast<EditorHost*>(context);
    self.pixels.assign(bytes, bytes + static_cast<size_t>(rowBytes) * height);
  }

  std::unique_ptr<FakeHost> host;
  std::unique_ptr<Instance> plugin;
  const clap_plugin_t* p = nullptr;
  const clap_plugin_params_t* params = nullptr;
  const clap_plugin_state_t* state = nullptr;
  const clap_plugin_gui_t* gui = nullptr;
  korvel_offscreen_window_t record{};
  clap_window_t window{};
  std::vector<uint8_t> pixels;
};

// How many 4-byte pixels two frames of one size differ in.
size_t DifferingPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  size_t count = 0;
  for (size_t i = 0; i + 4 <= a.size() && i + 4 <= b.size(); i += 4)
    count += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2] || a[i + 3] != b[i + 3];
  return count;
}

class ClapClosedEditor : public claptest::ModuleSuite {};

TEST_F(ClapClosedEditor, TheEditorOpenedAfterHostChangesShowsTheCurrentValuesFromItsFirstFrame) {
  for (const testsupport::ClosedEditorCase& c : testsupport::kClosedEditorCases) {
    SCOPED_TRACE(c.Describe());
    std::mt19937 random(static_cast<uint32_t>(c.changes));
    EditorHost automated(*module);
    automated.Send(automated.RandomChanges(c.changes, random));
    if (c.stateLoadAfter) {
      EditorHost other(*module);
      other.Send(other.RandomChanges(64, random));
      automated.Load(other.Save());
    }
    const std::vector<std::vector<uint8_t>> shown = automated.FirstFrames();
    // What the editor must show: the frames of the same editor opened again, once nothing is queued.
    const std::vector<std::vector<uint8_t>> expected = automated.FirstFrames();
    ASSERT_EQ(shown.size(), expected.size());
    for (size_t frame = 0; frame < expected.size(); ++frame) {
      ASSERT_FALSE(expected[frame].empty());
      ASSERT_EQ(shown[frame].size(), expected[frame].size());
      EXPECT_EQ(DifferingPixels(shown[frame], expected[frame]), 0u) << "frame " << frame;
    }
  }
}

}  // namespace
