#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "framework/IAudioProcessor.h"

using namespace framework;

namespace {

constexpr const char* kKorvelIO = "1-1 1.1-1 1.2-1 2-2 2.1-2 2.2-2 3-3 3.1-3 4-4";

PluginConfig ConfigWith(const char* channelIO) {
  PluginConfig config;
  config.channelIO = channelIO;
  return config;
}

std::vector<int> BusCounts(const ChannelLayout& layout, int direction) {
  std::vector<int> counts;
  for (int b = 0; b < layout.BusCount(direction); ++b) counts.push_back(layout.Bus(direction, b)->channelCount);
  return counts;
}

// Keeps the default pass-through and remembers what the block saw before it ran.
class Recorder : public IAudioProcessor {
public:
  explicit Recorder(const char* channelIO = kKorvelIO) : IAudioProcessor(ConfigWith(channelIO)) {}

  void ProcessAudioBlock(double** inputs, double** outputs, int frames) override {
    ++calls;
    lastFrames = frames;
    seenInputs.assign(MaxInputChannels(), {});
    seenOutputs.assign(MaxOutputChannels(), {});
    for (int c = 0; c < MaxInputChannels(); ++c) seenInputs[c].assign(inputs[c], inputs[c] + frames);
    for (int c = 0; c < MaxOutputChannels(); ++c) seenOutputs[c].assign(outputs[c], outputs[c] + frames);
    IAudioProcessor::ProcessAudioBlock(inputs, outputs, frames);
  }

  bool EmitMidi(const MidiMessage& message) override {
    emitted.push_back(message.data1);
    return message.data1 != failingNote;
  }

  int calls = 0;
  int lastFrames = -1;
  std::vector<std::vector<double>> seenInputs, seenOutputs;
  std::vector<int> emitted;
  int failingNote = -1;
};

bool SameBits(const double* a, const double* b, int n) { return std::memcmp(a, b, n * sizeof(double)) == 0; }
bool SameBits(const float* a, const float* b, int n) { return std::memcmp(a, b, n * sizeof(float)) == 0; }

std::vector<double> AwkwardDoubles(int n, double scale) {
  std::vector<double> v(n);
  for (int i = 0; i < n; ++i) v[i] = scale * std::sin(0.37 * i) / 3.0;
  v[0] = -0.0;
  v[1] = std::numeric_limits<double>::denorm_min();
  v[2] = std::numeric_limits<double>::quiet_NaN();
  return v;
}

}  // namespace

TEST(IAudioProcessorLayouts, PluginStringParsesIntoNineLayoutsInStringOrder) {
  struct Case { std::vector<int> inputs, outputs; };
  const Case expected[] = {
      {{1}, {1}},    {{1, 1}, {1}}, {{1, 2}, {1}}, {{2}, {2}},    {{2, 1}, {2}},
      {{2, 2}, {2}}, {{3}, {3}},    {{3, 1}, {3}}, {{4}, {4}},
  };
  IAudioProcessor processor(ConfigWith(kKorvelIO));
  ASSERT_EQ(processor.LayoutCount(), 9);
  for (int i = 0; i < 9; ++i) {
    const ChannelLayout* layout = processor.Layout(i);
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(BusCounts(*layout, Input), expected[i].inputs) << "layout " << i;
    EXPECT_EQ(BusCounts(*layout, Output), expected[i].outputs) << "layout " << i;
    for (int b = 0; b < layout->BusCount(Output); ++b) EXPECT_EQ(layout->Bus(Output, b)->direction, Output);
  }
  EXPECT_EQ(processor.Layout(9), nullptr);
  EXPECT_EQ(processor.MaxInputChannels(), 4);
  EXPECT_EQ(processor.MaxOutputChannels(), 4);
}

TEST(IAudioProcessorLayouts, OddStringsGiveDefinedLayoutsAndNeverNegativeChannelCounts) {
  struct Case {
    const char* io;
    int layoutCount;
    std::vector<int> firstInputs, firstOutputs;
    int maxIn, maxOut;
  };
  const Case cases[] = {
      {"*-2", 1, {-64}, {2}, 0, 2},  // a wildcard total of −64 sizes no input records
      {"*.2-*", 1, {-64, 2}, {-64}, 0, 0},
      {"2.0.2-2", 1, {2, 2}, {2}, 4, 2},  // zero-channel buses are not listed
      {"x-1 3y-2", 2, {}, {1}, 3, 2},     // unreadable counts read 0, leading digits count
      {"-2", 1, {}, {2}, 0, 2},
      {"2", 1, {2}, {}, 2, 0},
      {"1-1  2-2 ", 2, {1}, {1}, 2, 2},  // repeated and trailing spaces make no layouts
      {"2--3", 1, {2}, {}, 2, 0},        // "-3" is not a count
      {"", 0, {}, {}, 0, 0},
      {"5000-99999999999", 1, {5000}, {2147483647}, IAudioProcessor::kMaxChannels, IAudioProcessor::kMaxChannels},
  };
  for (const auto& c : cases) {
    IAudioProcessor processor(ConfigWith(c.io));
    ASSERT_EQ(processor.LayoutCount(), c.layoutCount) << c.io;
    if (c.layoutCount > 0) {
      EXPECT_EQ(BusCounts(*processor.Layout(0), Input), c.firstInputs) << c.io;
      EXPECT_EQ(BusCounts(*processor.Layout(0), Output), c.firstOutputs) << c.io;
    }
    EXPECT_EQ(processor.MaxInputChannels(), c.maxIn) << c.io;
    EXPECT_EQ(processor.MaxOutputChannels(), c.maxOut) << c.io;
  }
  IAudioProcessor none(PluginConfig{});
  EXPECT_EQ(none.LayoutCount(), 0);
  PluginConfig nullIO;
  nullIO.channelIO = nullptr;
  EXPECT_EQ(IAudioProcessor(nullIO).LayoutCount(), 0);
}

TEST(IAudioProcessorLayouts, LegalIOMatchesLayoutTotals) {
  struct Case { int inputs, outputs; bool legal; };
  const Case cases[] = {{4, 2, true}, {3, 2, true}, {1, -1, true}, {-1, 3, true}, {-1, -1, true},
                        {4, 1, false}, {5, -1, false}, {0, 0, false}, {-1, 5, false}};
  IAudioProcessor processor(ConfigWith(kKorvelIO));
  for (const auto& c : cases)
    EXPECT_EQ(processor.LegalIO(c.inputs, c.outputs), c.legal) << c.inputs << ", " << c.outputs;

  IAudioProcessor wildcard(ConfigWith("*-2"));
  EXPECT_TRUE(wildcard.LegalIO(-64, 2));
  EXPECT_FALSE(IAudioProcessor(PluginConfig{}).LegalIO(-1, -1));
}

TEST(IAudioProcessorLayouts, MostBusesReportsTheLastLayoutWithTheMost) {
  IAudioProcessor processor(ConfigWith(kKorvelIO));
  int index = 99;
  EXPECT_EQ(processor.MostBuses(Input, &index), 2);
  EXPECT_EQ(index, 7);  // "3.1-3" ties with "1.1-1", "1.2-1", "2.1-2" and "2.2-2"
  EXPECT_EQ(processor.MostBuses(Output, &index), 1);
  EXPECT_EQ(index, 8);
  EXPECT_EQ(processor.MostBuses(Output), 1);
  EXPECT_EQ(processor.MostBuses(2, &index), 0);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(IAudioProcessor(PluginConfig{}).MostBuses(Input, &index), 0);
  EXPECT_EQ(index, -1);
}

TEST(IAudioProcessorState, StartsWithConfigValuesAndDefaultTransport) {
  PluginConfig config = ConfigWith(kKorvelIO);
  config.latency = 17;
  config.pluginKind = 1;
  config.midiIn = true;
  IAudioProcessor processor(config);
  EXPECT_EQ(processor.LatencyOf(), 17);
  EXPECT_EQ(processor.PluginKind(), 1);
  EXPECT_TRUE(processor.MidiIn());
  EXPECT_FALSE(processor.MidiOut());
  EXPECT_FALSE(processor.Mpe());
  EXPECT_EQ(processor.SampleRate(), 48000.0);
  EXPECT_EQ(processor.BlockSize(), 0);
  EXPECT_EQ(processor.TailOf(), 0);
  EXPECT_FALSE(processor.RenderingOffline());
  EXPECT_EQ(processor.ConnectedChannelCount(Input), 0);

  const TransportInfo& t = processor.Transport();
  EXPECT_EQ(t.tempo, 120.0);
  for (double position : {t.samplePosition, t.musicalPosition, t.barStart, t.loopStart, t.loopEnd})
    EXPECT_EQ(position, -1.0);
  EXPECT_EQ(t.timeSigNumerator, 4);
  EXPECT_EQ(t.timeSigDenominator, 4);
  EXPECT_FALSE(t.playing);
  EXPECT_FALSE(t.loopActive);

  processor.ChangeLatency(64);
  processor.ChangeTail(1000);
  processor.StoreSampleRate(96000.0);
  EXPECT_EQ(processor.LatencyOf(), 64);
  EXPECT_EQ(processor.TailOf(), 1000);
  EXPECT_EQ(processor.SampleRate(), 96000.0);
}

TEST(IAudioProcessorMidi, InputIsPassedOnAndListsReportWhetherAllWereSent) {
  Recorder processor;
  processor.HandleMidiInput(MidiMessage{3, 0x90, 60, 100});
  EXPECT_EQ(processor.emitted, std::vector<int>{60});

  const MidiMessage list[] = {{0, 0x90, 61, 1}, {0, 0x90, 62, 1}, {0, 0x90, 63, 1}};
  EXPECT_TRUE(processor.EmitMidiList(list, 3));
  processor.failingNote = 62;
  processor.emitted.clear();
  EXPECT_FALSE(processor.EmitMidiList(list, 3));
  EXPECT_EQ(processor.emitted, (std::vector<int>{61, 62, 63}));  // a failure does not stop the rest
  EXPECT_TRUE(processor.EmitMidiList(nullptr, 0));
  EXPECT_FALSE(processor.EmitMidiList(nullptr, 2));

  IAudioProcessor plain(ConfigWith(kKorvelIO));
  EXPECT_FALSE(plain.EmitMidi(MidiMessage{}));
  EXPECT_FALSE(plain.EmitSysEx(SysExRecord{}));
}

TEST(IAudioProcessorChannels, ConnectionsCountOnlyExistingChannels) {
  IAudioProcessor processor(ConfigWith(kKorvelIO));
  processor.MarkChannelsConnected(Input, 0, 2, true);
  EXPECT_EQ(processor.ConnectedChannelCount(Input), 2);
  EXPECT_EQ(processor.ConnectedChannelCount(Output), 0);

  processor.MarkChannelsConnected(Input, 3, 10, true);   // only channel 3 exists
  processor.MarkChannelsConnected(Input, -5, 6, false);  // only channel 0 exists
  EXPECT_EQ(processor.ConnectedChannelCount(Input), 2);
  processor.MarkChannelsConnected(Input, 0, -3, true);
  processor.MarkChannelsConnected(Input, 2147483647, 2147483647, true);
  processor.MarkChannelsConnected(7, 0, 4, true);
  EXPECT_EQ(processor.ConnectedChannelCount(Input), 2);
  EXPECT_EQ(processor.ConnectedChannelCount(7), 0);
}

// A 2-in, 2-out block on the plug-in's four-channel records.
class StereoBlock : public ::testing::Test {
protected:
  static constexpr int kFrames = 64;

  void SetUp() override {
    ASSERT_TRUE(processor.ResizeBlock(kFrames));
    processor.MarkChannelsConnected(Input, 0, 2, true);
    processor.MarkChannelsConnected(Output, 0, 2, true);
  }

  Recorder processor;
};

TEST_F(StereoBlock, DoublePrecisionPassesThroughBitForBitAndUnconnectedInputsReadZeros) {
  std::vector<double> in0 = AwkwardDoubles(kFrames, 1.0), in1 = AwkwardDoubles(kFrames, -2.5);
  std::vector<double> out0(kFrames, 9.0), out1(kFrames, 9.0);
  double* inputs[] = {in0.data(), in1.data()};
  double* outputs[] = {out0.data(), out1.data()};
  processor.BindHostBuffers(Input, 0, 4, inputs, kFrames);
  processor.BindHostBuffers(Output, 0, 4, outputs, kFrames);
  processor.RunBlock(kFrames);

  ASSERT_EQ(processor.calls, 1);
  EXPECT_EQ(processor.lastFrames, kFrames);
  EXPECT_TRUE(SameBits(out0.data(), in0.data(), kFrames));
  EXPECT_TRUE(SameBits(out1.data(), in1.data(), kFrames));
  EXPECT_EQ(processor.seenInputs[2], std::vector<double>(kFrames, 0.0));
  EXPECT_EQ(processor.seenInputs[3], std::vector<double>(kFrames, 0.0));
}

TEST_F(StereoBlock, InPlaceDoubleBuffersStayIntact) {
  std::vector<double> ch0 = AwkwardDoubles(kFrames, 1.0), ch1 = AwkwardDoubles(kFrames, 0.5);
  const std::vector<double> original0 = ch0, original1 = ch1;
  double* buffers[] = {ch0.data(), ch1.data()};
  processor.BindHostBuffers(Input, 0, 2, buffers, kFrames);
  processor.BindHostBuffers(Output, 0, 2, buffers, kFrames);
  processor.RunBlock(kFrames);
  EXPECT_TRUE(SameBits(ch0.data(), original0.data(), kFrames));
  EXPECT_TRUE(SameBits(ch1.data(), original1.data(), kFrames));
}

TEST_F(StereoBlock, SinglePrecisionConvertsInAndBackBitForBit) {
  std::vector<float> in0(kFrames), in1(kFrames), out0(kFrames, 9.0f), out1(kFrames, 9.0f);
  for (int i = 0; i < kFrames; ++i) {
    in0[i] = static_cast<float>(std::sin(0.1 * i)) / 7.0f;
    in1[i] = -static_cast<float>(i) * 1e-3f;
  }
  in0[1] = std::numeric_limits<float>::denorm_min();
  float* inputs[] = {in0.data(), in1.data()};
  float* outputs[] = {out0.data(), out1.data()};
  processor.BindHostBuffers(Input, 0, 2, inputs, kFrames);
  processor.BindHostBuffers(Output, 0, 2, outputs, kFrames);
  processor.RunBlock(kFrames);

  EXPECT_EQ(processor.seenInputs[0][5], static_cast<double>(in0[5]));
  EXPECT_TRUE(SameBits(out0.data(), in0.data(), kFrames));
  EXPECT_TRUE(SameBits(out1.data(), in1.data(), kFrames));
}

TEST_F(StereoBlock, AccumulatingRunAddsToTheHostOutputs) {
  std::vector<float> in(kFrames, 0.5f), out0(kFrames, 0.25f), out1(kFrames, 0.25f);
  float* inputs[] = {in.data(), in.data()};
  float* outputs[] = {out0.data(), out1.data()};
  processor.BindHostBuffers(Input, 0, 2, inputs, kFrames);
  processor.BindHostBuffers(Output, 0, 2, outputs, kFrames);
  processor.RunBlockAccumulating(kFrames);
  EXPECT_EQ(out0, std::vector<float>(kFrames, 0.75f));
  EXPECT_EQ(out1, std::vector<float>(kFrames, 0.75f));
}

TEST_F(StereoBlock, UnconnectedChannelsTakeNoHostPointer) {
  processor.MarkChannelsConnected(Input, 0, 4, false);
  processor.MarkChannelsConnected(Input, 1, 1, true);
  processor.MarkChannelsConnected(Input, 3, 1, true);
  std::vector<double> a(kFrames, 1.0), b(kFrames, 2.0);
  double* inputs[] = {a.data(), b.data()};
  processor.BindHostBuffers(Input, 0, 4, inputs, kFrames);
  processor.RunBlock(kFrames);
  EXPECT_EQ(processor.seenInputs[0], std::vector<double>(kFrames, 0.0));
  EXPECT_EQ(processor.seenInputs[1], a);
  EXPECT_EQ(processor.seenInputs[2], std::vector<double>(kFrames, 0.0));
  EXPECT_EQ(processor.seenInputs[3], b);
}

TEST_F(StereoBlock, InputsNotBoundForTheBlockReadSilenceAgain) {
  std::vector<float> loud(kFrames, 0.8f), out0(kFrames), out1(kFrames);
  float* inputs[] = {loud.data(), loud.data()};
  float* outputs[] = {out0.data(), out1.data()};
  processor.BindHostBuffers(Input, 0, 2, inputs, kFrames);
  processor.BindHostBuffers(Output, 0, 2, outputs, kFrames);
  processor.RunBlock(kFrames);

  // Next block: input 1 is disconnected and input 0 stays connected but gets no buffer.
  processor.MarkChannelsConnected(Input, 1, 1, false);
  std::fill(out0.begin(), out0.end(), 9.0f);
  processor.BindHostBuffers(Output, 0, 2, outputs, kFrames);
  processor.RunBlock(kFrames);
  EXPECT_EQ(processor.seenInputs[0], std::vector<double>(kFrames, 0.0));
  EXPECT_EQ(processor.seenInputs[1], std::vector<double>(kFrames, 0.0));
  EXPECT_EQ(out0, std::vector<float>(kFrames, 0.0f));
}

TEST_F(StereoBlock, OutputsAreNotWrittenAfterTheirBlock) {
  std::vector<float> in(kFrames, 0.5f), out0(kFrames), out1(kFrames);
  float* inputs[] = {in.data(), in.data()};
  float* outputs[] = {out0.data(), out1.data()};
  processor.BindHostBuffers(Input, 0, 2, inputs, kFrames);
  processor.BindHostBuffers(Output, 0, 2, outputs, kFrames);
  processor.RunBlock(kFrames);
  std::fill(out0.begin(), out0.end(), 3.0f);
  processor.RunBlock(kFrames);  // nothing bound: the last block's host buffers stay untouched
  EXPECT_EQ(out0, std::vector<float>(kFrames, 3.0f));
  EXPECT_EQ(processor.calls, 2);
}

TEST_F(StereoBlock, NullHostPointersBindSilenceOrDiscardedOutput) {
  std::vector<float> in(kFrames, 0.5f), out1(kFrames, 9.0f);
  float* inputs[] = {nullptr, in.data()};
  float* outputs[] = {nullptr, out1.data()};
  processor.BindHostBuffers(Input, 0, 2, inputs, kFrames);
  processor.BindHostBuffers(Output, 0, 2, outputs, kFrames);
  processor.RunBlock(kFrames);
  EXPECT_EQ(processor.seenInputs[0], std::vector<double>(kFrames, 0.0));
  EXPECT_EQ(out1, std::vector<float>(kFrames, 0.5f));

  std::vector<double> out(kFrames, 9.0);
  double* doubleOutputs[] = {out.data(), nullptr};
  processor.BindHostBuffers(Input, 0, 2, static_cast<double* const*>(nullptr), kFrames);
  processor.BindHostBuffers(Output, 0, 2, doubleOutputs, kFrames);
  processor.RunBlock(kFrames);
  EXPECT_EQ(out, std::vector<double>(kFrames, 0.0));
  EXPECT_EQ(processor.calls, 2);
}

TEST_F(StereoBlock, LongerBlocksAreProcessedOnlyUpToTheBlockSize) {
  constexpr int kLong = kFrames + 36;
  std::vector<float> in(kLong, 0.5f), out0(kLong, 9.0f), out1(kLong, 9.0f);
  float* inputs[] = {in.data(), in.data()};
  float* outputs[] = {out0.data(), out1.data()};
  processor.BindHostBuffers(Input, 0, 2, inputs, kLong);
  processor.BindHostBuffers(Output, 0, 2, outputs, kLong);
  processor.RunBlock(kLong);
  EXPECT_EQ(processor.lastFrames, kFrames);
  EXPECT_EQ(std::vector<float>(out0.begin(), out0.begin() + kFrames), std::vector<float>(kFrames, 0.5f));
  EXPECT_EQ(std::vector<float>(out0.begin() + kFrames, out0.end()), std::vector<float>(kLong - kFrames, 9.0f));

  processor.RunBlock(0);
  processor.RunBlock(-4);
  EXPECT_EQ(processor.calls, 1);
}

TEST_F(StereoBlock, ResizeBlockZeroesScratchAndRefusesBadSizes) {
  std::vector<float> in(kFrames, 0.5f), out0(kFrames), out1(kFrames);
  float* inputs[] = {in.data(), in.data()};
  float* outputs[] = {out0.data(), out1.data()};
  processor.BindHostBuffers(Input, 0, 2, inputs, kFrames);
  processor.BindHostBuffers(Output, 0, 2, outputs, kFrames);
  processor.RunBlock(kFrames);  // the pass-through leaves 0.5 in the output scratch

  EXPECT_FALSE(processor.ResizeBlock(-1));
  EXPECT_FALSE(processor.ResizeBlock(std::numeric_limits<int>::max()));
  EXPECT_EQ(processor.BlockSize(), kFrames);

  ASSERT_TRUE(processor.ResizeBlock(2 * kFrames));
  EXPECT_EQ(processor.BlockSize(), 2 * kFrames);
  processor.RunBlock(2 * kFrames);
  for (const auto& output : processor.seenOutputs) EXPECT_EQ(output, std::vector<double>(2 * kFrames, 0.0));

  ASSERT_TRUE(processor.ResizeBlock(0));
  processor.RunBlock(kFrames);
  EXPECT_EQ(processor.calls, 2);
}

TEST(IAudioProcessorChannels, NothingRunsBeforeTheFirstResize) {
  Recorder processor;
  processor.MarkChannelsConnected(Input, 0, 4, true);
  std::vector<float> in(32, 0.5f);
  float* inputs[] = {in.data(), in.data(), in.data(), in.data()};
  processor.BindHostBuffers(Input, 0, 4, inputs, 32);
  processor.RunBlock(32);
  EXPECT_EQ(processor.calls, 0);
}

TEST(IAudioProcessorLabels, LabelsAreFormattedSafelyAndCut) {
  struct Case { const char* format; bool zeroBased; const char* label; };
  const Case cases[] = {
      {"Input %d", false, "Input 3"},
      {"Input %d", true, "Input 2"},
      {"Main L", false, "Main L"},
      {"Ch %02d of 100%%", false, "Ch 03 of 100%"},
      {"%s", false, "%s"},              // would read a string that is not there
      {"%d and %d", false, "%d and %d"},
      {"%999999d", false, "%999999d"},  // would print a huge text
      {"%", false, "%"},
      {"A label that is much longer than thirty-two characters", false, "A label that is much longer than"},
      {nullptr, false, ""},
  };
  IAudioProcessor processor(ConfigWith(kKorvelIO));
  for (const auto& c : cases) {
    processor.LabelChannel(Input, 2, c.format, c.zeroBased);
    EXPECT_STREQ(processor.ChannelLabelOf(Input, 2), c.label) << (c.format ? c.format : "null");
  }
  EXPECT_STREQ(processor.ChannelLabelOf(Output, 0), "");
  processor.LabelChannel(Output, 4, "Out", false);
  processor.LabelChannel(3, 0, "Out", false);
  EXPECT_STREQ(processor.ChannelLabelOf(Output, 4), "");
  EXPECT_STREQ(processor.ChannelLabelOf(3, 0), "");
  EXPECT_STREQ(processor.ChannelLabelOf(Output, 3), "");
}

TEST(IAudioProcessorLabels, DefaultBusNames) {
  struct Case { int direction, bus, busCount; const char* name; };
  const Case cases[] = {
      {Output, 0, 1, "Output"}, {Output, 1, 2, "Output 1"}, {Input, 0, 1, "Input"},
      {Input, 0, 2, "Main"},    {Input, 1, 2, "Aux"},       {Input, 0, 3, "Input 0"},
      {Input, 1, 3, "Input 1"}, {Input, 2, 3, "Input 2"},   {5, 0, 1, ""},
  };
  IAudioProcessor processor(ConfigWith(kKorvelIO));
  for (const auto& c : cases) {
    ShortText name("previous");
    processor.DescribeBus(c.direction, c.bus, c.busCount, name);
    EXPECT_STREQ(name.Get(), c.name) << c.direction << "/" << c.bus << "/" << c.busCount;
  }
}
