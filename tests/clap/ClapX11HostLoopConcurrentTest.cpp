// The X11 editor of the built Korvel.clap on hosts that offer the timer and posix-fd support,
// one of them or neither: whatever drives it (the host's timer, its descriptor watch, or the
// plug-in's own callback requests), it opens, draws new frames while audio streams on a
// thread of its own, takes the user's input and closes leaving nothing behind.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "ClapX11Editor.h"

namespace {

using claptest::X11Editor;
using claptest::X11Host;
using claptest::kX11Height;
using claptest::kX11Width;

constexpr clap_id kDelay1 = 5;

// The host's audio thread: noise in blocks of 256 frames at about the real rate until stopped.
class AudioStream {
public:
  explicit AudioStream(const clap_plugin_t* plugin) : p(plugin) {
    thread = std::thread([this] { Run(); });
  }
  ~AudioStream() { Stop(); }
  void Stop() {
    stop.store(true);
    if (thread.joinable()) thread.join();
  }
  int Blocks() const { return blocks.load(); }

private:
  void Run() {
    if (!p->start_processing(p)) return;
    claptest::AudioBlock block({2}, {2}, 256, false);
    claptest::OutputEvents out;
    for (uint64_t seed = 1; !stop.load(); ++seed) {
      block.FillInputs(seed);
      out.Clear();
      const clap_process_t process = block.Process(nullptr, out.List());
      p->process(p, &process);
      blocks.fetch_add(1);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    p->stop_processing(p);
  }

  const clap_plugin_t* p;
  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::thread thread;
};

class ClapX11HostLoop : public claptest::X11EditorSuite, public testing::WithParamInterface<int> {};

TEST_P(ClapX11HostLoop, TheEditorOpensAnimatesTakesInputAndClosesCleanly) {
  const bool refused = GetParam() & 4;
  const bool timers = (GetParam() & 1) && !refused, fds = GetParam() & 2;
  claptest::HostOptions options = X11Host(timers || refused, fds);
  options.timerRefused = refused;
  X11Editor& e = Make(options);
  ASSERT_TRUE(e.gui->is_api_supported(e.p, CLAP_WINDOW_API_X11, false));
  ASSERT_TRUE(e.Open(Parent()));
  ASSERT_NE(Child(), 0u);
  EXPECT_EQ(e.host->Timers().size(), timers ? 1u : 0u);
  EXPECT_EQ(e.host->Fds().size(), fds ? 1u : 0u);
  ASSERT_TRUE(e.p->activate(e.p, 48000.0, 1, 256));
  {
    AudioStream audio(e.p);
    LoopFor(e, 10);
    const std::vector<uint32_t> before = user->Pixels(Child(), kX11Width, kX11Height);
    ASSERT_FALSE(before.empty());
    EXPECT_TRUE(LoopUntil(e, [&] { return user->Pixels(Child(), kX11Width, kX11Height) != before; }))
        << "the scope shows the streaming audio";
    EXPECT_GT(audio.Blocks(), 0);

    const double delay = e.Value(kDelay1);
    Drag(117.5f, 467.5f, 0, -60);
    EXPECT_GT(e.Value(kDelay1), delay) << "a knob dragged up";
  }
  e.p->deactivate(e.p);

  e.gui->destroy(e.p);
  user->Sync();
  EXPECT_TRUE(user->Children(Parent()).empty());
  EXPECT_TRUE(e.host->Timers().empty());
  EXPECT_TRUE(e.host->Fds().empty());
  const int requests = e.host->Count("request_callback");
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_EQ(e.host->Count("request_callback"), requests) << "the closed editor asks for no more ticks";
}

// 0: neither, 1: timer support only, 2: posix-fd support only, 3: both; 7: both, but the
// host refuses every timer.
INSTANTIATE_TEST_SUITE_P(HostExtensions, ClapX11HostLoop, testing::Values(0, 1, 2, 3, 7));

}  // namespace
