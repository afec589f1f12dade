// Drives Korvel's VST2 effect record, made as VSTPluginMain makes it, the way a careless host
// would: random opcodes, indices, values and buffers (of the sizes a host gives), random
// chunks to effSetChunk, automation and blocks of any length. Nothing may crash, and no
// parameter may leave 0 … 1.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "vst2/Vst2Entry.h"

namespace {

VstTimeInfo hostTime{};

VstIntPtr HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
  switch (opcode) {
    case audioMasterGetTime: return reinterpret_cast<VstIntPtr>(&hostTime);
    case audioMasterGetProductString: std::strcpy(static_cast<char*>(ptr), "Fuzz Host"); return 1;
    case audioMasterGetVendorVersion: return 1234;
    case audioMasterGetCurrentProcessLevel: return kVstProcessLevelRealtime;
    default: return 0;
  }
}

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

void CheckParameters(AEffect* e) {
  for (VstInt32 i = 0; i < e->numParams; ++i) {
    const float v = e->getParameter(e, i);
    if (!(v >= 0.0f && v <= 1.0f)) std::abort();
  }
}

void Dispatch(AEffect*& e, Reader& in) {
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
      e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
      e = Vst2CreateEffect(&HostCallback);
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
      ptr = nullptr;
      break;
    default:
      if (index & 0x4000) ptr = nullptr;
      break;
  }
  e->dispatcher(e, opcode, index, value, ptr, opt);
}

void Process(AEffect* e, Reader& in) {
  const int kind = in.Get<uint8_t>() % 3;
  const int frames = in.Get<uint16_t>() % 2049;
  const int channels = std::max(e->numInputs, e->numOutputs);
  std::vector<std::vector<double>> d(channels, std::vector<double>(static_cast<size_t>(frames), 0.25));
  std::vector<std::vector<float>> f(channels, std::vector<float>(static_cast<size_t>(frames), 0.25f));
  std::vector<double*> dp;
  std::vector<float*> fp;
  for (int c = 0; c < channels; ++c) {
    dp.push_back(d[c].data());
    fp.push_back(f[c].data());
  }
  if (kind == 0) e->processReplacing(e, fp.data(), fp.data(), frames);
  if (kind == 1) e->processDoubleReplacing(e, dp.data(), dp.data(), frames);
  if (kind == 2) e->process(e, fp.data(), fp.data(), frames);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in(data, size);
  AEffect* e = Vst2CreateEffect(&HostCallback);
  if (!e) return 0;
  e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
  for (int step = 0; step < 64 && in.More(); ++step) {
    switch (in.Get<uint8_t>() % 4) {
      case 0:
      case 1:
        Dispatch(e, in);
        break;
      case 2:
        e->setParameter(e, in.Get<int8_t>(), in.Get<float>());
        break;
      default:
        Process(e, in);
        break;
    }
    CheckParameters(e);
  }
  e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
  return 0;
}
