// Drives Korvel's VST2 effect record, made as VSTPluginMain makes it, the way a careless host
// would: random opcodes, indices, values and buffers (of the sizes a host gives), random
// chunks to effSetChunk, automation and blocks of any length. Nothing may crash, and no
// parameter may leave 0 … 1. One record serves the whole run, reset before each input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz/Vst2Fuzz.h"

namespace {

class Reader {
public:
  Reader(const uint8_t* data, size_t size) : at(data), end(data + size) {}
  bool More() const { return at < end; }
  template <class T>
  T Get() {
    T value{};
    const size_t n = std::min(sizeof(T), static_cast<size_t>(end - at));
    std::memcpy(&value, at, n);
    at += n;
    return value;
  }
  // Up to max bytes into out; returns how many.
  size_t Bytes(uint8_t* out, size_t max) {
    const size_t n = std::min<size_t>(std::min<size_t>(Get<uint16_t>(), max), static_cast<size_t>(end - at));
    std::memcpy(out, at, n);
    at += n;
    return n;
  }

private:
  const uint8_t* at;
  const uint8_t* end;
};

void Dispatch(Vst2FuzzInstance& vst2, Reader& in) {
  AEffect* e = vst2.e;
  const VstInt32 opcode = in.Get<uint8_t>() % 80;
  const VstInt32 index = in.Get<int16_t>();
  VstIntPtr value = in.Get<int32_t>();
  const float opt = in.Get<float>();
  alignas(16) uint8_t buffer[2048] = {};
  alignas(16) uint8_t second[2048] = {};
  const size_t filled = in.Bytes(buffer, sizeof buffer - 1);
  void* ptr = buffer;
  void* slots[2] = {};
  VstMidiEvent midi{};
  VstMidiSysexEvent sysex{};
  VstEvents events{};
  switch (opcode) {
    case effClose:
      // Making a new record costs as much as hundreds of inputs: only now and then.
      if ((index & 0xff) != 0x5A) return;
      e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
      vst2.Create();
      return;
    case effEditGetRect:
    case effGetChunk:
      ptr = &slots[0];
      break;
    case effGetSpeakerArrangement:
      value = reinterpret_cast<VstIntPtr>(&slots[0]);
      ptr = &slots[1];
      break;
    case effSetSpeakerArrangement:
      in.Bytes(second, sizeof(VstSpeakerArrangement));
      value = reinterpret_cast<VstIntPtr>(second);
      break;
    case effSetChunk:
      value = static_cast<VstIntPtr>(filled);
      break;
    case effSetBlockSize:
      value %= 8193;
      break;
    case effProcessEvents:
      midi.type = kVstMidiType;
      std::memcpy(midi.midiData, buffer, 4);
      midi.deltaFrames = index;
      sysex.type = kVstSysExType;
      sysex.dumpBytes = static_cast<VstInt32>(filled);
      sysex.sysexDump = reinterpret_cast<char*>(buffer);
      events.numEvents = 2;
      events.events[0] = reinterpret_cast<VstEvent*>(index & 1 ? &midi : reinterpret_cast<VstMidiEvent*>(&sysex));
      events.events[1] = index & 2 ? reinterpret_cast<VstEvent*>(&midi) : nullptr;
      ptr = &events;
      break;
    case effEditOpen:
      // An editor takes as long to build as hundreds of inputs: only now and then.
      if ((index & 0xff) != 0x5A) return;
      ptr = nullptr;
      break;
    default:
      if (index & 0x4000) ptr = nullptr;
      break;
  }
  e->dispatcher(e, opcode, index, value, ptr, opt);
}

// A block of 0.25s on every channel, at its exact size so that a read past it is caught.
template <class Sample>
struct Buffers {
  std::vector<std::vector<Sample>> channels;
  std::vector<Sample*> pointers;
};

template <class Sample>
FUZZ_UNTRACED void Fill(Buffers<Sample>& buffers, int channels, int frames) {
  buffers.channels.assign(static_cast<size_t>(channels), std::vector<Sample>(static_cast<size_t>(frames), Sample(0.25)));
  for (auto& channel : buffers.channels) buffers.pointers.push_back(channel.data());
}

void Process(AEffect* e, Reader& in) {
  const int kind = in.Get<uint8_t>() % 3;
  const int frames = in.Get<uint16_t>() % 2049;
  const int channels = std::max(e->numInputs, e->numOutputs);
  if (kind == 1) {
    Buffers<double> d;
    Fill(d, channels, frames);
    e->processDoubleReplacing(e, d.pointers.data(), d.pointers.data(), frames);
    return;
  }
  Buffers<float> f;
  Fill(f, channels, frames);
  if (kind == 0) e->processReplacing(e, f.pointers.data(), f.pointers.data(), frames);
  if (kind == 2) e->process(e, f.pointers.data(), f.pointers.data(), frames);
}

// A second record with its editor open for the whole run, as in a host where another instance
// shows its editor: the process-wide caches (pictures, fonts, Skia's glyphs) stay filled, so an
// input that opens and closes an editor leaves the heap as it found it, and libFuzzer need not
// scan the heap for leaks after it.
void KeepAnEditorOpen() {
  static Vst2FuzzInstance& other = *new Vst2FuzzInstance;
  other.Call(effEditOpen);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Vst2FuzzInstance& vst2 = *new Vst2FuzzInstance;  // never destroyed: exit order is no test
  static const bool warm = (KeepAnEditorOpen(), true);
  (void)warm;
  vst2.Reset();
  Reader in(data, size);
  for (int step = 0; step < 64 && in.More(); ++step) {
    switch (in.Get<uint8_t>() % 4) {
      case 0:
      case 1:
        Dispatch(vst2, in);
        break;
      case 2:
        vst2.e->setParameter(vst2.e, in.Get<int8_t>(), in.Get<float>());
        break;
      default:
        Process(vst2.e, in);
        break;
    }
    vst2.CheckParameters();
  }
  return 0;
}
