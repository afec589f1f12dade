// The audio-thread functions of Korvel.so allocate nothing and take no lock, whichever
// process function the host uses, for blocks of the block size and longer ones.
#include <gtest/gtest.h>

#include <vector>

#include "RealtimeCounter.h"
#include "Vst2TestHost.h"

namespace {

constexpr int kChannels = 4;

template <class Sample>
struct Buffers {
  explicit Buffers(int frames) : in(kChannels, std::vector<Sample>(frames, Sample(0.25))), out(kChannels, std::vector<Sample>(frames)) {
    for (int c = 0; c < kChannels; ++c) {
      inPtr.push_back(in[c].data());
      outPtr.push_back(out[c].data());
    }
  }
  std::vector<std::vector<Sample>> in, out;
  std::vector<Sample*> inPtr, outPtr;
};

TEST(Vst2Realtime, ProcessingAndParametersAllocateNothingAndTakeNoLock) {
  if (!testsupport::RealtimeCounterAvailable()) GTEST_SKIP() << "the sanitizers own the allocator";
  Vst2TestHost host(KORVEL_VST2_MODULE);
  AEffect* e = host.CreateAndOpen();
  ASSERT_NE(e, nullptr);
  host.Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  host.Dispatch(effSetBlockSize, 0, 512);
  host.Dispatch(effMainsChanged, 0, 1);
  host.timeInfo.flags = kVstTempoValid | kVstTransportPlaying;
  host.timeInfo.tempo = 133.0;

  VstMidiEvent note{};
  note.type = kVstMidiType;
  note.midiData[0] = static_cast<char>(0x90);
  VstEvents events{1, 0, {reinterpret_cast<VstEvent*>(&note), nullptr}};

  for (int frames : {512, 5 * 512 + 7}) {
    Buffers<float> f(frames);
    Buffers<double> d(frames);
    const auto run = [&] {
      host.Dispatch(effProcessEvents, 0, 0, &events);
      e->setParameter(e, 5, 0.4f);
      e->processReplacing(e, f.inPtr.data(), f.outPtr.data(), frames);
      e->processDoubleReplacing(e, d.inPtr.data(), d.outPtr.data(), frames);
      e->process(e, f.inPtr.data(), f.outPtr.data(), frames);
      return e->getParameter(e, 5);
    };
    run();  // the first block may touch memory for the first time; it may not allocate either
    testsupport::RealtimeScope scope;
    for (int i = 0; i < 20; ++i) run();
    EXPECT_EQ(scope.Allocations(), 0) << frames;
    EXPECT_EQ(scope.Locks(), 0) << frames;
  }
  host.Dispatch(effMainsChanged, 0, 0);
}

TEST(Vst2Realtime, TheCounterSeesTheModulesAllocations) {
  if (!testsupport::RealtimeCounterAvailable()) GTEST_SKIP() << "the sanitizers own the allocator";
  Vst2TestHost host(KORVEL_VST2_MODULE);
  testsupport::RealtimeScope scope;
  ASSERT_NE(host.Create(), nullptr);
  EXPECT_GT(scope.Allocations(), 0);
  EXPECT_GT(scope.Locks(), 0) << "the creation lock";
}

}  // namespace
