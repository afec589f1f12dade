// The effect's dispatcher: every request a VST2 host sends besides processing and parameters.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "framework/Timer.h"
#include "vst2/IVst2Plugin.h"
#include "vst2/Vst2Keys.h"

using framework::IParam;

namespace {

constexpr VstInt32 kLastOpcode = effGetSpeakerArrangement;
constexpr VstIntPtr kIdentity = 0x4E764566;  // 'NvEf'
constexpr int kHostNameBytes = 256;
constexpr int kChunkHeaderBytes = 8;

// Texts the host reads back are cut to the sizes of the published interface, so that a
// long program or plug-in name never runs past the host's buffer.
void CopyToHost(void* ptr, const char* text, int capacity) noexcept {
  framework::CopyText(static_cast<char*>(ptr), capacity, text);
}

// Parameter texts are short (IParam keeps them within 33 bytes) and copied whole.
void CopyWhole(void* ptr, const char* text) noexcept {
  std::memcpy(ptr, text, std::strlen(text) + 1);
}

int32_t ReadInt32(const uint8_t* bytes) noexcept {
  int32_t value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

}  // namespace

VstIntPtr IVst2Plugin::DispatcherProc(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                      float opt) noexcept {
  IVst2Plugin* plugin = FromEffect(effect);
  if (!plugin || opcode < 0 || opcode > kLastOpcode) return 0;
  try {
    return plugin->Dispatch(opcode, index, value, ptr, opt);
  } catch (...) {
    return 0;  // nothing may unwind into the host
  }
}

VstIntPtr IVst2Plugin::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  switch (opcode) {
    case effOpen:
      if (HostCode() == -1) IdentifyHost();
      AnnounceAllParams(framework::ParamSource::Reset);
      return 0;
    case effClose:
      // The editor's controls reach into the plug-in: close it while the plug-in still exists.
      if (Graphics()) CloseEditor();
      delete this;
      return 0;
    case effSetProgram:
      if (!StateChunks()) ModifyCurrentPreset();
      if (value >= 0 && value <= INT_MAX) LoadPreset(static_cast<int>(value));
      return 0;
    case effGetProgram:
      return CurrentPresetIdx();
    case effSetProgramName:
      if (ptr) {
        ModifyCurrentPreset(static_cast<const char*>(ptr));
        OnPresetsModified();
      }
      return 0;
    case effGetProgramName:
      if (ptr) CopyToHost(ptr, PresetName(CurrentPresetIdx()), kVstMaxProgNameLen);
      return 0;
    case effGetParamLabel:
      if (const IParam* param = ValidParam(index); param && ptr) CopyWhole(ptr, param->ShownLabel());
      return 0;
    case effGetParamDisplay:
      if (const IParam* param = ValidParam(index); param && ptr) {
        param->FormatValue(param->Current(), false, displayText, true);
        CopyWhole(ptr, displayText.Get());
      }
      return 0;
    case effGetParamName:
      if (const IParam* param = ValidParam(index); param && ptr) CopyWhole(ptr, param->Name());
      return 0;
    case effSetSampleRate:
      if (std::isfinite(opt) && opt > 0.0f) StoreSampleRate(opt);
      ResetProcessing();
      return 0;
    case effSetBlockSize:
      // A block of no frames would leave every later block unprocessed: keep the last size.
      if (value >= 1 && value <= INT_MAX) ResizeBlock(static_cast<int>(value));
      ResetProcessing();
      return 0;
    case effMainsChanged:
      ActivationChanged(value != 0);
      if (value == 0) ResetProcessing();
      return 0;
    case effEditGetRect:
      if (!ptr || !HasEditor()) return 0;
      SetEditorRect(EditorWidth(), EditorHeight());
      *static_cast<ERect**>(ptr) = &editorRect;
      return 1;
    case effEditOpen:
      return OpenEditor(ptr) ? 1 : 0;
    case effEditClose:
      if (!HasEditor()) return 0;
      CloseEditor();
      return 1;
    case effEditIdle:
      // Linux hosts call this on their user-interface thread while the editor is open: it
      // runs the idle timer created on that thread and the editor window's events and ticks.
      framework::PlatformTimer::Pump();
      if (framework::IEditorView* view = Graphics()) view->HostTick();
      return 0;
    case effIdentify:
      return kIdentity;
    case effGetChunk:
      return GetChunk(index, ptr);
    case effSetChunk:
      return SetChunk(index, value, ptr);
    case effProcessEvents:
      return ProcessEvents(static_cast<const VstEvents*>(ptr));
    case effCanBeAutomated: {
      const IParam* param = ValidParam(index);
      return param && !(param->Flags() & IParam::CannotAutomate) ? 1 : 0;
    }
    case effString2Parameter:
      return StringToParameter(index, static_cast<const char*>(ptr));
    case effGetProgramNameIndexed: {
      if (!ptr) return 0;
      const char* name = PresetName(index);
      CopyToHost(ptr, name, kVstMaxProgNameLen);
      return name[0] ? 1 : 0;
    }
    case effGetInputProperties:
      return GetPinProperties(framework::Input, index, ptr);
    case effGetOutputProperties:
      return GetPinProperties(framework::Output, index, ptr);
    case effGetPlugCategory:
      return PluginKind() == 1 ? kPlugCategSynth : kPlugCategEffect;
    case effSetSpeakerArrangement:
      return SetSpeakerArrangement(reinterpret_cast<const VstSpeakerArrangement*>(value),
                                   static_cast<const VstSpeakerArrangement*>(ptr));
    case effGetEffectName:
      if (!ptr) return 0;
      CopyToHost(ptr, PluginName(), kVstMaxEffectNameLen);
      return 1;
    case effGetVendorString:
      if (!ptr) return 0;
      CopyToHost(ptr, MakerName(), kVstMaxVendorStrLen);
      return 1;
    case effGetProductString:
      if (!ptr) return 0;
      CopyToHost(ptr, ProductName(), kVstMaxProductStrLen);
      return 1;
    case effGetVendorVersion:
      return VersionNumber(true);
    case effVendorSpecific:
      return VendorSpecific(index, value, ptr, opt);
    case effCanDo:
      return CanDo(static_cast<const char*>(ptr));
    case effGetTailSize: {
      const int tail = TailOf();
      return tail == 0 ? 1 : tail;
    }
    case effGetParameterProperties:
      return GetParameterProperties(index, ptr);
    case effGetVstVersion:
      return kVstVersion;
    case effEditKeyDown:
    case effEditKeyUp:
      return EditorKey(opcode == effEditKeyDown, index, value, opt);
    case effGetMidiKeyName: {
      if (!ptr) return 0;
      auto* key = static_cast<MidiKeyName*>(ptr);
      key->keyName[0] = 0;
      return PluginMidiKeyName(key->thisKeyNumber, key->keyName) ? 1 : 0;
    }
    case effGetSpeakerArrangement:
      if (value) *reinterpret_cast<VstSpeakerArrangement**>(value) = &inputArrangement;
      if (ptr) *static_cast<VstSpeakerArrangement**>(ptr) = &outputArrangement;
      return 1;
    default:
      return 0;
  }
}

void IVst2Plugin::IdentifyHost() {
  char name[kHostNameBytes] = {};
  CallHost(audioMasterGetProductString, 0, 0, name);
  name[kHostNameBytes - 1] = 0;
  if (!name[0]) {
    SetHost("", 0);
    return;
  }
  // The host reports its version in decimal digits: 60212 is 6.2.12.
  const VstIntPtr v = CallHost(audioMasterGetVendorVersion);
  const int64_t packed = (v / 10000) * 65536 + ((v % 10000) / 100) * 256 + v % 100;
  SetHost(name, static_cast<int>(packed));
}

// Chunks: an 8-byte header (marker, format version) before the framework's state.

VstIntPtr IVst2Plugin::GetChunk(VstInt32 index, void* ptr) {
  if (!ptr) return 0;
  const bool bank = index == 0;
  framework::StateChunk& chunk = bank ? bankChunk : programChunk;
  chunk.Clear();
  bool ok = chunk.PutInt32(kChunkMarker) && chunk.PutInt32(kChunkVersion);
  if (ok && bank) {
    ModifyCurrentPreset();
    ok = SerializePresets(chunk);
  } else if (ok) {
    ok = SaveState(chunk);
  }
  if (!ok || chunk.Size() == 0) return 0;
  *static_cast<void**>(ptr) = chunk.Data();
  return chunk.Size();
}

VstIntPtr IVst2Plugin::SetChunk(VstInt32 index, VstIntPtr size, const void* ptr) {
  if (!ptr || size < 0 || size > INT_MAX) return 0;
  const bool bank = index == 0;
  framework::StateChunk& chunk = bank ? bankChunk : programChunk;
  const int bytes = static_cast<int>(size);
  if (!chunk.Resize(bytes)) return 0;
  if (bytes > 0) std::memcpy(chunk.Data(), ptr, static_cast<size_t>(bytes));

  int32_t formatVersion = 0;
  int start = 0;
  if (bytes >= 4 && ReadInt32(chunk.Data()) == kChunkMarker) {
    if (bytes >= kChunkHeaderBytes) {
      formatVersion = ReadInt32(chunk.Data() + 4);
      start = kChunkHeaderBytes;
    } else {
      start = -1;
    }
  }
  int pos;
  if (bank && formatVersion >= kChunkVersion) {
    pos = UnserializePresets(chunk, start);
  } else {
    pos = LoadState(chunk, start);
    ModifyCurrentPreset();
  }
  if (pos < 0) return 0;
  OnStateLoaded();
  return 1;
}

VstIntPtr IVst2Plugin::GetPinProperties(int direction, VstInt32 index, void* ptr) const {
  const int channels = direction == framework::Input ? MaxInputChannels() : MaxOutputChannels();
  if (!ptr || index < 0 || index >= channels) return 0;
  auto* pin = static_cast<VstPinProperties*>(ptr);
  pin->flags = kVstPinIsActive;
  if (index % 2 == 0 && index < channels - 1) pin->flags |= kVstPinIsStereo;
  const char* label = ChannelLabelOf(direction, index);
  if (label[0])
    framework::CopyText(pin->label, kVstMaxLabelLen, label);
  else
    std::snprintf(pin->label, kVstMaxLabelLen, direction == framework::Input ? "Input %d" : "Output %d", index + 1);
  return 1;
}

VstIntPtr IVst2Plugin::SetSpeakerArrangement(const VstSpeakerArrangement* input, const VstSpeakerArrangement* output) {
  if (input) {
    const int n = input->numChannels;
    if (n < 0 || n > effect.numInputs) return 0;
    MarkChannelsConnected(framework::Input, 0, n, true);
    MarkChannelsConnected(framework::Input, n, MaxInputChannels() - n, false);
  }
  if (!output) return 1;
  const int n = output->numChannels;
  if (n < 0 || n > effect.numOutputs) return 0;
  MarkChannelsConnected(framework::Output, 0, n, true);
  MarkChannelsConnected(framework::Output, n, MaxOutputChannels() - n, false);
  return 1;
}

// Values travel normalised, so a host's generic control spans 0 … 1: an integer range would
// make it send step numbers as values. Steps are given in that travel, and the label, which
// hosts show as the parameter's name, carries the name (the unit is effGetParamLabel's).
VstIntPtr IVst2Plugin::GetParameterProperties(VstInt32 index, void* ptr) const {
  const IParam* param = ValidParam(index);
  if (!param || !ptr) return 0;
  auto* properties = static_cast<VstParameterProperties*>(ptr);
  *properties = VstParameterProperties{};
  if (param->Kind() == IParam::Kind::OnOff) {
    properties->flags = kVstParameterIsSwitch;
  } else {
    properties->flags = kVstParameterUsesFloatStep;
    properties->stepFloat = properties->smallStepFloat = properties->largeStepFloat =
        static_cast<float>(param->Normalise(param->Min() + param->Step()));
  }
  framework::CopyText(properties->label, kVstMaxLabelLen, param->Name());
  return 1;
}

VstIntPtr IVst2Plugin::CanDo(const char* question) {
  if (!question) return 0;
  const auto is = [question](const char* text) { return std::strcmp(question, text) == 0; };
  if (is("receiveVstTimeInfo")) return 1;
  if ((is("receiveVstEvents") || is("receiveVstMidiEvent")) && MidiIn()) return 1;
  if ((is("sendVstEvents") || is("sendVstMidiEvent")) && MidiOut()) return 1;
  if (is("hasCockosExtensions")) {
    hostExtensionFlags |= 1;
    return kCockosAnswer;
  }
  if (is("hasCockosViewAsConfig")) {
    hostExtensionFlags |= 2;
    return kCockosAnswer;
  }
  if (is("wantsChannelCountNotifications")) return 1;
  if (is("MPE")) return Mpe() ? 1 : 0;
  return PluginCanDo(question);
}

VstIntPtr IVst2Plugin::VendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  const IParam* param = ValidParam(value);
  switch (index) {
    case 7:  // display text of an arbitrary normalised value
      if (!ptr) break;
      if (param) {
        param->FormatValue(opt, true, displayText, true);
        CopyWhole(ptr, displayText.Get());
      }
      return kVendorHandled;
    case 8: {  // does the parameter step in whole numbers
      if (!param) break;
      const enum IParam::Kind kind = param->Kind();
      if (kind == IParam::Kind::OnOff) return kVendorHandled;
      const bool whole = kind == IParam::Kind::Integer || kind == IParam::Kind::Enumerated;
      if (whole && std::fabs(param->Max() - param->Min()) < 1.5) return kVendorHandled;
      break;
    }
    case 27: {  // text to normalised value, written back into the text
      if (!ptr || !param) break;
      auto* text = static_cast<char*>(ptr);
      if (text[0]) {
        // "0." and 17 digits, or "1." and 17 zeros: 20 bytes with the terminator.
        char printed[32];
        std::snprintf(printed, sizeof printed, "%.17f", param->Normalise(param->ParseValue(text)));
        CopyWhole(text, printed);
      }
      return kVendorHandled;
    }
    default:
      break;
  }
  return PluginVendorSpecific(index, value, ptr, opt);
}

VstIntPtr IVst2Plugin::EditorKey(bool down, VstInt32 character, VstIntPtr virtualKey, float modifiers) {
  // That host sends every key it does not use itself; only the space bar is meant for us.
  if (HostCode() == 1 && virtualKey != VKEY_SPACE) return 0;
  const graphics::IKeyEvent key = Vst2KeyEvent(character, virtualKey, modifiers);
  return (down ? KeyDownFromHost(key) : KeyUpFromHost(key)) ? 1 : 0;
}

VstIntPtr IVst2Plugin::StringToParameter(VstInt32 index, const char* text) {
  IParam* param = ValidParam(index);
  if (!param) return 0;
  if (!text) return 1;
  const double v = param->ParseValue(text);
  param->Store(param->Confine(v));
  QueueParamForEditor(index, v, false);
  OnParamChange(index, framework::ParamSource::Host, -1);
  return 1;
}

VstIntPtr IVst2Plugin::ProcessEvents(const VstEvents* events) noexcept {
  if (!events) return 0;
  // The host's list holds numEvents entries, however many the record declares.
  const VstEvent* const* list = events->events;
  for (VstInt32 i = 0; i < events->numEvents; ++i) {
    const VstEvent* event = list[i];
    if (!event) continue;
    if (event->type == kVstMidiType) {
      const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
      framework::MidiMessage message;
      message.offset = midi->deltaFrames;
      message.status = static_cast<uint8_t>(midi->midiData[0]);
      message.data1 = static_cast<uint8_t>(midi->midiData[1]);
      message.data2 = static_cast<uint8_t>(midi->midiData[2]);
      HandleMidiInput(message);
      QueueMidiForEditor(message);
    } else if (event->type == kVstSysExType) {
      const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
      framework::SysExRecord message;
      message.offset = sysex->deltaFrames;
      // A dump longer than the record is cut to it.
      const int size = sysex->sysexDump ? std::clamp(sysex->dumpBytes, 0, framework::SysExRecord::kCapacity) : 0;
      message.size = size;
      if (size > 0) std::memcpy(message.data, sysex->sysexDump, static_cast<size_t>(size));
      HandleSysExInput(message);
    }
  }
  return 1;
}
