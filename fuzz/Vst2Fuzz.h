#pragma once
// One Korvel effect record made as VSTPluginMain makes it, kept for the whole run and brought
// back to a known state before each input, with the host callback the VST2 fuzz targets
// share. [main-thread]
#include <cmath>
#include <cstring>
#include <vector>

#include "fuzz/FuzzFail.h"
#include "fuzz/PrivateSettings.h"
#include "vst2/Vst2Entry.h"

// For the harness's own per-sample work (filling blocks, checking the pass-through): it finds
// nothing, and traced it would cost more than the plug-in's processing.
#define FUZZ_UNTRACED __attribute__((no_sanitize("coverage")))

inline VstTimeInfo& FuzzHostTime() {
  static VstTimeInfo time{};
  return time;
}

inline VstIntPtr FuzzHostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
  switch (opcode) {
    case audioMasterGetTime: return reinterpret_cast<VstIntPtr>(&FuzzHostTime());
    case audioMasterGetProductString: std::strcpy(static_cast<char*>(ptr), "Fuzz Host"); return 1;
    case audioMasterGetVendorVersion: return 1234;
    case audioMasterGetCurrentProcessLevel: return kVstProcessLevelRealtime;
    default: return 0;
  }
}

struct Vst2FuzzInstance {
  static constexpr float kRate = 44100.0f;
  static constexpr VstIntPtr kBlock = 512;

  AEffect* e = nullptr;
  std::vector<float> defaults;  // each parameter's value as the effect opened

  Vst2FuzzInstance() {
    UsePrivateSettings();  // an editor opened by the input stores its scale there
    Create();
  }

  VstIntPtr Call(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f) {
    return e->dispatcher(e, opcode, index, value, ptr, opt);
  }

  // A new record, opened and started (also after a closing effClose).
  void Create() {
    e = Vst2CreateEffect(&FuzzHostCallback);
    if (!e) FuzzFail("create");
    Call(effOpen);
    defaults.resize(static_cast<size_t>(e->numParams));
    for (VstInt32 i = 0; i < e->numParams; ++i) defaults[i] = e->getParameter(e, i);
    Start();
  }

  // Every parameter back to its opening value through setParameter, the first program, the
  // host's rate and block size, every channel connected, no editor, processing on.
  void Reset() {
    FuzzHostTime() = VstTimeInfo{};
    Call(effEditClose);
    Call(effMainsChanged, 0, 0);
    Call(effSetProgram, 0, 0);
    for (VstInt32 i = 0; i < e->numParams; ++i)
      if (e->getParameter(e, i) != defaults[i]) e->setParameter(e, i, defaults[i]);
    Start();
  }

  // No parameter may leave 0 … 1.
  void CheckParameters() const {
    for (VstInt32 i = 0; i < e->numParams; ++i) {
      const float v = e->getParameter(e, i);
      if (!(v >= 0.0f && v <= 1.0f)) FuzzFail("parameter outside 0 … 1");
    }
  }

private:
  void Start() {
    Call(effSetSampleRate, 0, 0, nullptr, kRate);
    Call(effSetBlockSize, 0, kBlock);
    VstSpeakerArrangement in{}, out{};
    in.numChannels = e->numInputs;
    out.numChannels = e->numOutputs;
    Call(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out);
    Call(effMainsChanged, 0, 1);
  }
};
