#pragma once
// A VST2 host of our own for the tests. It loads a module with dlopen, creates effects
// through VSTPluginMain with a recording audioMaster, and then talks to each effect only
// through its AEffect record, as a real host does. Recording takes no lock and allocates
// nothing, so it may run on the audio thread of a real-time test.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "vst2/Vst2Interface.h"
// The tests' module path macros call it.
#include "tests/support/ModuleUnderTest.h"

class Vst2TestHost {
public:
  // One call the plug-in made to audioMaster. For audioMasterProcessEvents, the first event.
  struct Call {
    VstInt32 opcode = -1;
    VstInt32 index = 0;
    VstIntPtr value = 0;
    float opt = 0.0f;
    VstInt32 eventType = 0;
    VstInt32 deltaFrames = 0;
    VstInt32 dumpBytes = 0;
    uint8_t bytes[4] = {};  // MIDI data, or the first SysEx bytes
  };
  static constexpr int kCapacity = 4096;

  // Loads the module once per process (it stays loaded) and makes this the current host:
  // the one audioMaster answers for, whichever effect calls.
  explicit Vst2TestHost(const char* modulePath);
  // Closes the effect if the test left it open; the host before this one is current again.
  ~Vst2TestHost();
  Vst2TestHost(const Vst2TestHost&) = delete;
  Vst2TestHost& operator=(const Vst2TestHost&) = delete;

  void* Module() const noexcept { return module; }
  // VSTPluginMain, or null when the module has none.
  AEffect* (*EntryPoint() const noexcept)(audioMasterCallback) { return entry; }
  static VstIntPtr AudioMaster(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt);

  // The effect of this host: created, opened (effOpen) and closed (effClose).
  AEffect* Create();
  AEffect* CreateAndOpen();
  void Close();
  AEffect* Effect() const noexcept { return effect; }
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) const;

  // What the host answers. Set them before the calls that ask.
  std::string productString;        // empty: the host does not answer
  VstIntPtr vendorVersion = 0;
  bool giveTime = true;             // false: no VstTimeInfo
  VstTimeInfo timeInfo{};
  VstIntPtr processLevel = kVstProcessLevelRealtime;
  VstIntPtr sizeWindowAnswer = 1;
  VstIntPtr processEventsAnswer = 1;

  // What the plug-in asked, oldest first.
  int CallCount() const noexcept;
  const Call& CallAt(int i) const noexcept { return calls[i]; }
  std::vector<Call> CallsOf(VstInt32 opcode) const;
  // The opcodes of every call except the per-block ones (time, process level, want MIDI).
  std::vector<VstInt32> NonBlockOpcodes() const;
  void ClearCalls() noexcept { callCount.store(0); }

private:
  Vst2TestHost* previousHost = nullptr;
  void* module = nullptr;
  AEffect* (*entry)(audioMasterCallback) = nullptr;
  AEffect* effect = nullptr;
  Call calls[kCapacity];
  std::atomic<int> callCount{0};
};
