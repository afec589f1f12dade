#include "vst2/IVst2Plugin.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

VstInt16 ToRectCoordinate(int value) noexcept {
  return static_cast<VstInt16>(std::clamp(value, static_cast<int>(INT16_MIN), static_cast<int>(INT16_MAX)));
}

}  // namespace

IVst2Plugin::IVst2Plugin(const Vst2CreationInfo& info, const framework::PluginConfig& config)
    : IAudioProcessor(config), IHostAPIBase(config, kApiKind), audioMaster(info.audioMaster) {
  const int inputs = MaxInputChannels();
  const int outputs = MaxOutputChannels();
  effect.magic = kEffectMagic;
  effect.dispatcher = &DispatcherProc;
  effect.process = &ProcessAccumulatingProc;
  effect.setParameter = &SetParameterProc;
  effect.getParameter = &GetParameterProc;
  effect.numPrograms = config.presetCount;
  effect.numParams = config.paramCount;
  effect.numInputs = inputs;
  effect.numOutputs = outputs;
  effect.flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  if (config.stateChunks) effect.flags |= effFlagsProgramChunks;
  if (LegalIO(1, -1)) effect.flags |= effFlagsCanMono;
  if (PluginKind() == 1) effect.flags |= effFlagsIsSynth;
  effect.initialDelay = config.latency;
  effect.ioRatio = 1.0f;
  effect.object = this;
  effect.uniqueID = config.uniqueId;
  effect.version = VersionNumber(true);
  effect.processReplacing = &ProcessReplacingProc;
  effect.processDoubleReplacing = &ProcessDoubleReplacingProc;

  FillArrangement(inputArrangement, inputs);
  FillArrangement(outputArrangement, outputs);
  pieceInputs.Resize(inputs * static_cast<int>(sizeof(void*)));
  pieceOutputs.Resize(outputs * static_cast<int>(sizeof(void*)));
  // A VST2 host starts with every channel connected.
  MarkChannelsConnected(framework::Input, 0, inputs, true);
  MarkChannelsConnected(framework::Output, 0, outputs, true);
  ResizeBlock(kProcessingBlock);
  if (HasEditor()) {
    effect.flags |= effFlagsHasEditor;
    SetEditorRect(EditorWidth(), EditorHeight());
  }
  StartIdleTimer();
}

IVst2Plugin::~IVst2Plugin() = default;

void IVst2Plugin::FillArrangement(VstSpeakerArrangement& arrangement, int channels) noexcept {
  arrangement = VstSpeakerArrangement{};
  arrangement.numChannels = channels;
  switch (channels) {
    case 0: arrangement.type = kSpeakerArrEmpty; break;
    case 1: arrangement.type = kSpeakerArrMono; break;
    case 2: arrangement.type = kSpeakerArrStereo; break;
    default: arrangement.type = kSpeakerArrUserDefined; break;
  }
}

void IVst2Plugin::SetEditorRect(int width, int height) noexcept {
  editorRect = ERect{0, 0, ToRectCoordinate(height), ToRectCoordinate(width)};
}

VstIntPtr IVst2Plugin::CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) const noexcept {
  return audioMaster ? audioMaster(const_cast<AEffect*>(&effect), opcode, index, value, ptr, opt) : 0;
}

void IVst2Plugin::ApplyHostQuirks() {
  const int inputs = MaxInputChannels();
  const int outputs = MaxOutputChannels();
  const int code = HostCode();
  if (code == 15 || code == 17 || code == 18 || code == 20) {
    MarkChannelsConnected(framework::Input, 2, inputs - 2, false);
    MarkChannelsConnected(framework::Output, 2, outputs - 2, true);
  }
  effect.numInputs = inputArrangement.numChannels = inputs;
  effect.numOutputs = outputArrangement.numChannels = outputs;
}

// Host calls made for the editor.

bool IVst2Plugin::HostResizeEditor(int width, int height) {
  if (!HasEditor() || (width == EditorWidth() && height == EditorHeight())) return false;
  SetEditorSize(width, height);
  SetEditorRect(width, height);
  return CallHost(audioMasterSizeWindow, width, height) != 0;
}

void IVst2Plugin::HostGestureBegin(int paramIdx) { CallHost(audioMasterBeginEdit, paramIdx); }
void IVst2Plugin::HostGestureEnd(int paramIdx) { CallHost(audioMasterEndEdit, paramIdx); }

void IVst2Plugin::HostParamChanged(int paramIdx, double normalisedValue) {
  CallHost(audioMasterAutomate, paramIdx, 0, nullptr, static_cast<float>(normalisedValue));
}

// Host calls made for the processor.

bool IVst2Plugin::EmitMidi(const framework::MidiMessage& message) {
  VstMidiEvent event{};
  event.type = kVstMidiType;
  event.byteSize = sizeof(VstMidiEvent);
  event.deltaFrames = message.offset;
  event.midiData[0] = static_cast<char>(message.status);
  event.midiData[1] = static_cast<char>(message.data1);
  event.midiData[2] = static_cast<char>(message.data2);
  VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<VstEvent*>(&event);
  return CallHost(audioMasterProcessEvents, 0, 0, &events) == 1;
}

bool IVst2Plugin::EmitSysEx(const framework::SysExRecord& message) {
  // The record is the host's to read during the call only; it does not write it.
  framework::SysExRecord copy = message;
  VstMidiSysexEvent event{};
  event.type = kVstSysExType;
  event.byteSize = sizeof(VstMidiSysexEvent);
  event.deltaFrames = copy.offset;
  event.dumpBytes = std::clamp(copy.size, 0, framework::SysExRecord::kCapacity);
  event.sysexDump = reinterpret_cast<char*>(copy.data);
  VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<VstEvent*>(&event);
  return CallHost(audioMasterProcessEvents, 0, 0, &events) == 1;
}

void IVst2Plugin::ChangeLatency(int samples) {
  effect.initialDelay = samples;
  IAudioProcessor::ChangeLatency(samples);
  CallHost(audioMasterIOChanged);
}

// Parameters.

framework::IParam* IVst2Plugin::ValidParam(VstIntPtr index) const noexcept {
  if (index < 0 || index >= ParamCount()) return nullptr;
  return GetParam(static_cast<int>(index));
}

void IVst2Plugin::SetParameter(VstInt32 index, float value) noexcept {
  framework::IParam* param = ValidParam(index);
  if (!param) return;
  param->StoreNormalised(value);
  QueueParamForEditor(index, value, true);
  OnParamChange(index, framework::ParamSource::Host, -1);
}

float IVst2Plugin::GetParameter(VstInt32 index) const noexcept {
  const framework::IParam* param = ValidParam(index);
  return param ? static_cast<float>(param->CurrentNormalised()) : 0.0f;
}

void IVst2Plugin::SetParameterProc(AEffect* effect, VstInt32 index, float value) noexcept {
  if (IVst2Plugin* plugin = FromEffect(effect)) plugin->SetParameter(index, value);
}

float IVst2Plugin::GetParameterProc(AEffect* effect, VstInt32 index) noexcept {
  const IVst2Plugin* plugin = FromEffect(effect);
  return plugin ? plugin->GetParameter(index) : 0.0f;
}

// Hooks.

VstIntPtr IVst2Plugin::PluginCanDo(const char*) { return 0; }
VstIntPtr IVst2Plugin::PluginVendorSpecific(VstInt32, VstIntPtr, void*, float) { return 0; }
bool IVst2Plugin::PluginMidiKeyName(int, char*) { return false; }
void IVst2Plugin::OnPresetsModified() {}
