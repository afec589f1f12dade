// The binding's three threads at once: the host's audio thread processes blocks with
// parameter events, its main thread saves and loads the state and runs on_main_thread,
// and the editor's thread drags a control. Run under ThreadSanitizer in CI.
#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "ClapTestHost.h"
#include "clap/ClapProduct.h"
#include "display/Korvel.h"

namespace {

using claptest::AudioBlock;
using claptest::FakeHost;
using claptest::InputEvents;
using claptest::InStream;
using claptest::Instance;
using claptest::OutputEvents;
using claptest::OutStream;

struct Seen {
  uint16_t type;
  double value;
};

TEST(ClapConcurrent, ProcessStateAndEditorGesturesRunTogether) {
  ASSERT_TRUE(clap_entry.init("/in/process/Korvel.clap"));
  {
    FakeHost host;
    Instance plugin(&clap_entry, host);
    const clap_plugin_t* p = plugin.Get();
    plugin.Start(48000.0, 256);
    auto* korvel = dynamic_cast<Korvel*>(clap::helpers::Plugin::From(p));
    ASSERT_NE(korvel, nullptr);
    const auto* state = plugin.Ext<clap_plugin_state_t>(CLAP_EXT_STATE);
    const auto* params = plugin.Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);

    constexpr int kDrags = 2000;
    constexpr clap_id kDragged = 13;  // X Zoom Low
    std::atomic<int> received{0};
    std::atomic<bool> editorDone{false};
    std::atomic<bool> audioDone{false};
    std::vector<Seen> seen;

    std::thread audio([&] {
      pthread_setname_np(pthread_self(), "audio");
      AudioBlock block({2}, {2}, 256, false);
      block.FillInputs();
      InputEvents in;
      in.Add(claptest::ParamValue(0, 10, 3));
      in.Add(claptest::ParamValue(10, 12, 0.4));
      in.Add(claptest::ParamValue(20, 0, 1));
      in.Add(claptest::ParamValue(30, 15, 0.7));
      OutputEvents out(1024);
      clap_process_t process = block.Process(in.List(), out.List());
      for (int b = 0; !editorDone.load() || received.load() < 3 * kDrags; ++b) {
        out.Clear();
        p->process(p, &process);
        for (size_t i = 0; i < out.Count(); ++i) {
          const clap_event_header_t& e = out.At(i);
          if (e.type == CLAP_EVENT_PARAM_VALUE) {
            auto v = out.As<clap_event_param_value_t>(i);
            if (v.param_id == kDragged) seen.push_back({e.type, v.value});
          } else if (e.type == CLAP_EVENT_PARAM_GESTURE_BEGIN || e.type == CLAP_EVENT_PARAM_GESTURE_END) {
            if (out.As<clap_event_param_gesture_t>(i).param_id == kDragged) seen.push_back({e.type, 0.0});
          }
        }
        received.store(static_cast<int>(seen.size()));
        if (b > 200000) break;  // never reached unless entries were lost
      }
      audioDone.store(true);
    });

    std::thread editor([&] {
      pthread_setname_np(pthread_self(), "editor");
      for (int g = 0; g < kDrags; ++g) {
        // Keep well inside the 512 entries that may wait for the host.
        while (3 * g - received.load() > 300) std::this_thread::yield();
        korvel->EditorGestureBegin(static_cast<int>(kDragged));
        korvel->EditorSetsParam(static_cast<int>(kDragged), g / 1000.0);
        korvel->EditorGestureEnd(static_cast<int>(kDragged));
      }
      editorDone.store(true);
    });

    // The host's main thread.
    bool stateOk = true;
    while (!audioDone.load()) {
      OutStream out;
      stateOk = stateOk && state->save(p, out.Stream());
      InStream in(out.bytes, 5);
      stateOk = stateOk && state->load(p, in.Stream());
      double value;
      params->get_value(p, 0, &value);
      p->on_main_thread(p);
    }
    editor.join();
    audio.join();
    EXPECT_TRUE(stateOk);

    ASSERT_EQ(seen.size(), static_cast<size_t>(3 * kDrags));
    for (int g = 0; g < kDrags; ++g) {
      SCOPED_TRACE(g);
      EXPECT_EQ(seen[3 * g].type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
      EXPECT_EQ(seen[3 * g + 1].type, CLAP_EVENT_PARAM_VALUE);
      EXPECT_DOUBLE_EQ(seen[3 * g + 1].value, g / 1000.0);
      EXPECT_EQ(seen[3 * g + 2].type, CLAP_EVENT_PARAM_GESTURE_END);
    }
    EXPECT_EQ(host.Count("request_flush"), 0) << "while processing, the blocks carry the gestures";
  }
  clap_entry.deinit();
}

}  // namespace
