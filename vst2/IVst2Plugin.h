#pragma once
// The VST 2.4 binding: the effect record a host holds, its dispatcher, the process and
// parameter functions, and every call the plug-in makes to the host's audioMaster.
//
// The processor base is virtual, so the plug-in class, which derives from it too, builds it
// first. The binding owns none of the plug-in's data and takes no lock of its own.
#include <cstdint>

#include "framework/HeapBuffer.h"
#include "framework/IAudioProcessor.h"
#include "framework/IHostAPIBase.h"
#include "framework/ShortText.h"
#include "framework/StateChunk.h"
#include "vst2/Vst2Interface.h"

// What the plug-in is created with: the host's callback.
struct Vst2CreationInfo {
  audioMasterCallback audioMaster = nullptr;
};

class IVst2Plugin : public framework::IHostAPIBase, public virtual framework::IAudioProcessor {
public:
  static constexpr int kApiKind = 0;
  static constexpr int32_t kChunkMarker = 0x70666674;  // the bytes 74 66 66 70
  static constexpr int32_t kChunkVersion = 0x00010000;
  static constexpr VstIntPtr kVendorHandled = 0xBEEF;
  static constexpr VstIntPtr kCockosAnswer = 0xBEEF0000;
  static constexpr int kProcessingBlock = 512;  // until the host sets a block size

  // [main-thread] Fills the record, connects every channel, sets the block size to 512 and
  // starts the idle timer.
  IVst2Plugin(const Vst2CreationInfo& info, const framework::PluginConfig& config);
  ~IVst2Plugin() override;

  // [thread-safe] The host's handle on the plug-in.
  AEffect* Effect() noexcept { return &effect; }

  // [main-thread] Called by SetHost: a few hosts get only two connected inputs.
  void ApplyHostQuirks() override;

  // The host side of the processor. [audio-thread] True when the host took the message.
  bool EmitMidi(const framework::MidiMessage& message) override;
  bool EmitSysEx(const framework::SysExRecord& message) override;
  // [main-thread] Also reported in the record, and the host is told.
  void ChangeLatency(int samples) override;

  // Plug-in hooks for host requests the binding does not answer itself. Defaults: nothing.
  // [main-thread]
  virtual VstIntPtr PluginCanDo(const char* question);
  virtual VstIntPtr PluginVendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt);
  virtual bool PluginMidiKeyName(int key, char* name);
  virtual void OnPresetsModified();

protected:
  // Editor → host, directly and in order. [editor-thread]
  bool HostResizeEditor(int width, int height) override;
  void HostGestureBegin(int paramIdx) override;
  void HostGestureEnd(int paramIdx) override;
  void HostParamChanged(int paramIdx, double normalisedValue) override;

private:
  // The plug-in behind a record, or null. [thread-safe]
  static IVst2Plugin* FromEffect(AEffect* effect) noexcept {
    return effect ? static_cast<IVst2Plugin*>(effect->object) : nullptr;
  }

  // The effect record's functions.
  static VstIntPtr DispatcherProc(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) noexcept;
  static void ProcessAccumulatingProc(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) noexcept;
  static void ProcessReplacingProc(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) noexcept;
  static void ProcessDoubleReplacingProc(AEffect* effect, double** inputs, double** outputs,
                                         VstInt32 frames) noexcept;
  static void SetParameterProc(AEffect* effect, VstInt32 index, float value) noexcept;
  static float GetParameterProc(AEffect* effect, VstInt32 index) noexcept;

  // [thread-safe] audioMaster with this effect first.
  VstIntPtr CallHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) const noexcept;

  // Dispatcher parts (Vst2Dispatcher.cpp). [main-thread] unless marked.
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
  void IdentifyHost();
  VstIntPtr GetChunk(VstInt32 index, void* ptr);
  VstIntPtr SetChunk(VstInt32 index, VstIntPtr size, const void* ptr);
  VstIntPtr GetPinProperties(int direction, VstInt32 index, void* ptr) const;
  VstIntPtr SetSpeakerArrangement(const VstSpeakerArrangement* input, const VstSpeakerArrangement* output);
  VstIntPtr GetParameterProperties(VstInt32 index, void* ptr) const;
  VstIntPtr CanDo(const char* question);
  VstIntPtr VendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt);
  VstIntPtr EditorKey(bool down, VstInt32 character, VstIntPtr virtualKey, float modifiers);
  VstIntPtr StringToParameter(VstInt32 index, const char* text);
  VstIntPtr ProcessEvents(const VstEvents* events) noexcept;  // [audio-thread]
  framework::IParam* ValidParam(VstIntPtr index) const noexcept;

  // Processing parts (Vst2Process.cpp). [audio-thread]
  template <class Sample>
  void ProcessHostBlock(Sample** inputs, Sample** outputs, VstInt32 frames, bool accumulate) noexcept;
  void PrepareBlock() noexcept;
  void SendSysExFromEditor() noexcept;
  template <class Sample>
  Sample** PiecePointers(int direction, Sample** host, int offset) noexcept;

  // [audio-thread, or the host's user-interface thread]
  void SetParameter(VstInt32 index, float value) noexcept;
  float GetParameter(VstInt32 index) const noexcept;

  void FillArrangement(VstSpeakerArrangement& arrangement, int channels) noexcept;
  void SetEditorRect(int width, int height) noexcept;

  audioMasterCallback audioMaster;
  ERect editorRect{};
  VstSpeakerArrangement inputArrangement{};
  VstSpeakerArrangement outputArrangement{};
  int32_t hostExtensionFlags = 0;  // bit 0 "hasCockosExtensions", bit 1 "hasCockosViewAsConfig"
  framework::StateChunk programChunk;
  framework::StateChunk bankChunk;
  framework::ShortText displayText;  // parameter texts handed to the host
  // Channel pointers offset into the host's arrays, for blocks longer than the block size.
  framework::HeapBuffer pieceInputs;
  framework::HeapBuffer pieceOutputs;
  AEffect effect{};
};
