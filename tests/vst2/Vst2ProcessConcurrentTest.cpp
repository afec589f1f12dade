// Korvel.so with a host's two threads at once: the audio thread processes and automates
// while the user-interface thread reads parameter texts, saves and restores chunks, and
// idles the open editor (which drains the captured audio and shows the automation).
#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "Vst2TestHost.h"
#include "X11TestServer.h"

namespace {

constexpr int kChannels = 4;
constexpr int kFrames = 256;

TEST(Vst2ProcessConcurrent, AudioThreadAutomatesWhileTheUiThreadReadsTextsAndChunks) {
  Vst2TestHost host(KORVEL_VST2_MODULE);
  AEffect* e = host.CreateAndOpen();
  ASSERT_NE(e, nullptr);
  host.Dispatch(effSetBlockSize, 0, kFrames);
  host.Dispatch(effMainsChanged, 0, 1);
  // The editor is open in a window of the test's own, under a private X server.
  x11test::HostWindowScene scene;
  std::string failure;
  if (!scene.Start(724, 526, failure)) GTEST_SKIP() << failure;
  ASSERT_EQ(host.Dispatch(effEditOpen, 0, 0, x11test::AsParent(scene.Parent())), 1);

  std::atomic<bool> stop{false};
  std::thread audio([&] {
    pthread_setname_np(pthread_self(), "vst2-audio");
    std::vector<std::vector<float>> in(kChannels, std::vector<float>(kFrames, 0.5f)),
        out(kChannels, std::vector<float>(kFrames));
    std::vector<float*> inPtr, outPtr;
    for (int c = 0; c < kChannels; ++c) {
      inPtr.push_back(in[c].data());
      outPtr.push_back(out[c].data());
    }
    for (int block = 0; !stop.load() || block < 200; ++block) {
      for (int p = 0; p < 16; ++p) e->setParameter(e, p, static_cast<float>((block + p) % 11) / 10.0f);
      e->processReplacing(e, inPtr.data(), outPtr.data(), kFrames);
      ASSERT_EQ(out[0][kFrames - 1], 0.5f);
    }
  });

  pthread_setname_np(pthread_self(), "vst2-ui");
  char text[256];
  // Long enough for several of the editor's 20 ms timer ticks.
  const auto start = std::chrono::steady_clock::now();
  for (int round = 0; round < 300 || std::chrono::steady_clock::now() - start < std::chrono::milliseconds(120); ++round) {
    for (int p = 0; p < 16; ++p) {
      host.Dispatch(effGetParamDisplay, p, 0, text);
      host.Dispatch(effGetParamName, p, 0, text);
      EXPECT_GE(e->getParameter(e, p), 0.0f);
    }
    uint8_t* data = nullptr;
    const VstIntPtr size = host.Dispatch(effGetChunk, 1, 0, &data);
    ASSERT_EQ(size, 136);
    std::vector<uint8_t> copy(data, data + size);
    EXPECT_EQ(host.Dispatch(effSetChunk, 1, size, copy.data()), 1);
    host.Dispatch(effEditIdle);
  }
  stop.store(true);
  audio.join();
  host.Dispatch(effEditClose);
  host.Dispatch(effMainsChanged, 0, 0);
}

}  // namespace
