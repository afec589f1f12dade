// Blocks of any length through processReplacing and processDoubleReplacing, with random
// effProcessEvents lists before them and parameter calls from a second caller (a host's
// user-interface thread) between them. The calls interleave in the order the input gives,
// on one thread, so that every finding replays exactly. Audio passes through unchanged.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "fuzz/Vst2Fuzz.h"

namespace {

// A list of MIDI, SysEx and unknown events, with offsets inside and outside the block.
struct EventList {
  std::vector<VstMidiEvent> midi;
  std::vector<VstMidiSysexEvent> sysex;
  std::vector<std::vector<char>> dumps;
  std::vector<VstEvent*> pointers;
  std::vector<uint8_t> record;  // a VstEvents with room for every pointer

  VstEvents* Build(FuzzedDataProvider& in) {
    const int count = in.ConsumeIntegralInRange<int>(0, 32);
    midi.reserve(count);
    sysex.reserve(count);
    for (int i = 0; i < count; ++i) {
      const int offset = in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(0, 4096) : in.ConsumeIntegral<int32_t>();
      switch (in.ConsumeIntegralInRange<int>(0, 3)) {
        case 0: {
          VstMidiSysexEvent& e = sysex.emplace_back();
          e.type = kVstSysExType;
          e.byteSize = sizeof e;
          e.deltaFrames = offset;
          dumps.push_back(in.ConsumeBytes<char>(in.ConsumeIntegralInRange<size_t>(0, 600)));
          // At most what the dump holds (a host promises that much), or a negative count.
          const int held = static_cast<int>(dumps.back().size());
          e.dumpBytes = in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(0, held) : in.ConsumeIntegralInRange<int>(-9, -1);
          e.sysexDump = dumps.back().empty() ? nullptr : dumps.back().data();
          pointers.push_back(reinterpret_cast<VstEvent*>(&e));
          break;
        }
        case 1: pointers.push_back(nullptr); break;
        default: {
          VstMidiEvent& e = midi.emplace_back();
          e.type = in.ConsumeIntegralInRange<int>(0, 9) == 0 ? in.ConsumeIntegral<int32_t>() : kVstMidiType;
          e.byteSize = sizeof e;
          e.deltaFrames = offset;
          for (char& b : e.midiData) b = in.ConsumeIntegral<char>();
          pointers.push_back(reinterpret_cast<VstEvent*>(&e));
          break;
        }
      }
    }
    record.assign(sizeof(VstEvents) + pointers.size() * sizeof(VstEvent*), 0);
    auto* events = reinterpret_cast<VstEvents*>(record.data());
    events->numEvents = static_cast<VstInt32>(pointers.size());
    VstEvent** slots = events->events;  // the record's array is declared with two
    for (size_t i = 0; i < pointers.size(); ++i) slots[i] = pointers[i];
    return events;
  }
};

// Each block's buffers are allocated at its exact size, so that a read past it is caught.
template <class Sample>
struct Block {
  std::vector<std::vector<Sample>> inputs, outputs;
  std::vector<Sample*> ip, op;
};

template <class Sample>
FUZZ_UNTRACED void Fill(Block<Sample>& block, const AEffect* e, int frames, Sample level, int special) {
  auto& inputs = block.inputs;
  auto& outputs = block.outputs;
  inputs.resize(static_cast<size_t>(e->numInputs));
  outputs.resize(static_cast<size_t>(e->numOutputs));
  for (auto& channel : inputs) {
    channel.assign(static_cast<size_t>(frames), level);
    // Now and then a sample that is not a number, or huge, or a denormal.
    if (frames > 0 && special == 0) channel[frames / 2] = std::numeric_limits<Sample>::quiet_NaN();
    if (frames > 0 && special == 1) channel[0] = std::numeric_limits<Sample>::max();
    if (frames > 0 && special == 2) channel[frames - 1] = std::numeric_limits<Sample>::denorm_min();
    block.ip.push_back(channel.data());
  }
  for (auto& channel : outputs) {
    channel.assign(static_cast<size_t>(frames), Sample(7));
    block.op.push_back(channel.data());
  }
}

template <class Sample>
FUZZ_UNTRACED void CheckPassThrough(const Block<Sample>& block, int frames) {
  const auto& inputs = block.inputs;
  const auto& outputs = block.outputs;
  const size_t passed = std::min(inputs.size(), outputs.size());
  for (size_t c = 0; c < passed; ++c)
    for (int i = 0; i < frames; ++i)
      if (!(outputs[c][i] == inputs[c][i]) && !(inputs[c][i] != inputs[c][i] && outputs[c][i] != outputs[c][i]))
        FuzzFail("audio did not pass through unchanged");
}

template <class Sample>
void Process(AEffect* e, FuzzedDataProvider& in, void (*process)(AEffect*, Sample**, Sample**, VstInt32)) {
  const int frames = in.ConsumeIntegralInRange<int>(0, 4096);
  const Sample level = static_cast<Sample>(in.ConsumeFloatingPointInRange<double>(-2.0, 2.0));
  const int special = in.ConsumeIntegralInRange<int>(0, 7);
  Block<Sample> block;
  Fill(block, e, frames, level, special);
  process(e, block.ip.data(), block.op.data(), frames);
  CheckPassThrough(block, frames);
}

// The second caller: automation and parameter reads and texts as a host's other thread makes them.
void SecondCaller(Vst2FuzzInstance& vst2, FuzzedDataProvider& in) {
  AEffect* e = vst2.e;
  const VstInt32 index = in.ConsumeIntegralInRange<int>(-2, e->numParams + 1);
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: {
      const float value = in.ConsumeBool() ? in.ConsumeFloatingPointInRange<float>(-0.5f, 1.5f)
                                           : std::numeric_limits<float>::quiet_NaN();
      e->setParameter(e, index, value);
      break;
    }
    case 1: e->getParameter(e, index); break;
    case 2: {
      std::string text = in.ConsumeRandomLengthString(32);
      vst2.Call(effString2Parameter, index, 0, text.data());
      break;
    }
    default: {
      char display[kVstMaxParamStrLen * 4] = {};
      vst2.Call(effGetParamDisplay, index, 0, display);
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Vst2FuzzInstance& vst2 = *new Vst2FuzzInstance;  // never destroyed: exit order is no test
  vst2.Reset();
  FuzzedDataProvider in(data, size);
  for (int step = 0; step < 48 && in.remaining_bytes() > 0; ++step) {
    AEffect* e = vst2.e;
    switch (in.ConsumeIntegralInRange<int>(0, 5)) {
      case 0: Process<float>(e, in, e->processReplacing); break;
      case 1: Process<double>(e, in, e->processDoubleReplacing); break;
      case 2: {
        EventList list;
        vst2.Call(effProcessEvents, 0, 0, list.Build(in));
        break;
      }
      case 3:
      case 4: SecondCaller(vst2, in); break;
      default:
        // The host changes its block size or rate between blocks.
        vst2.Call(effMainsChanged, 0, 0);
        vst2.Call(effSetBlockSize, 0, in.ConsumeIntegralInRange<int>(-1, 8192));
        vst2.Call(effSetSampleRate, 0, 0, nullptr, in.ConsumeFloatingPointInRange<float>(-1.0f, 400000.0f));
        vst2.Call(effMainsChanged, 0, 1);
        break;
    }
    vst2.CheckParameters();
  }
  return 0;
}
