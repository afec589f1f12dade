#include "framework/IHostAPIBase.h"

#include <algorithm>

#include "framework/HostLookup.h"

namespace framework {

IHostAPIBase::IHostAPIBase(const PluginConfig& config, int kind)
    : IStateBase(config),
      uniqueId(config.uniqueId),
      makerId(config.makerId),
      hasEditor(config.hasEditor),
      stateChunks(config.stateChunks),
      hostResizesEditor(config.hostResizesEditor),
      apiKind(kind) {
  pluginName.Set(config.pluginName, kNameChars);
  productName.Set(config.productName, kNameChars);
  makerName.Set(config.makerName, kNameChars);
  bundleId.Set(config.bundleId);
  appGroup.Set(config.appGroup);
  editorWidth = config.editorWidth;
  editorHeight = config.editorHeight;
  minWidth = std::min(config.minWidth, config.maxWidth);
  maxWidth = std::max(config.minWidth, config.maxWidth);
  minHeight = std::min(config.minHeight, config.maxHeight);
  maxHeight = std::max(config.minHeight, config.maxHeight);
}

IHostAPIBase::~IHostAPIBase() { idleTimer.reset(); }

void IHostAPIBase::SetHost(const char* name, int versionOfHost) {
  hostName.Set(name);
  hostCode = HostLookup(name);
  hostVersion = versionOfHost;
  ApplyHostQuirks();
  HostKnown();
}

void IHostAPIBase::ApplyHostQuirks() {}
void IHostAPIBase::HostKnown() {}

void IHostAPIBase::StartIdleTimer() {
  idleTimer.reset();
  idleTimer = Timer::StartTimer([this](Timer&) { OnIdleTimer(); }, kIdleIntervalMs);
}

void IHostAPIBase::OnIdleTimer() {
  if (hasEditor) {
    ParamChange change;
    while (paramsToEditor.Pop(change)) ShowParamInEditor(change.paramIdx, change.value, false);
    MidiMessage midi;
    while (midiToEditor.Pop(midi)) ShowMidiInEditor(midi);
    SysExRecord sysex;
    while (sysexToEditor.Pop(sysex)) ShowSysExInEditor(sysex);
  }
  IdleTick();
}

void IHostAPIBase::IdleTick() {}

// A host change is stored before it is queued. One that races with this call is either
// discarded here (it was stored before, so the values read below include it) or stays
// queued and is replayed at the next tick with the value it stored.
void IHostAPIBase::OnEditorOpened() {
  ParamChange stale;
  while (paramsToEditor.Pop(stale)) {
  }
  IStateBase::OnEditorOpened();
}

void IHostAPIBase::EditorGestureBegin(int paramIdx) { HostGestureBegin(paramIdx); }
void IHostAPIBase::EditorGestureEnd(int paramIdx) { HostGestureEnd(paramIdx); }

void IHostAPIBase::EditorSetsParam(int paramIdx, double normalisedValue) {
  IParam* param = GetParam(paramIdx);
  if (!param) return;
  const double value = param->Denormalise(normalisedValue);
  param->Store(value);
  HostParamChanged(paramIdx, normalisedValue);
  OnParamChange(paramIdx, ParamSource::UI, -1);
  param->Store(value);
  ParamChangedForEditor(paramIdx, ParamSource::UI);
}

void IHostAPIBase::ResendAllParamsToHost() {
  for (int i = 0; i < ParamCount(); ++i) HostParamChanged(i, GetParam(i)->CurrentNormalised());
}

bool IHostAPIBase::EditorRequestsSize(int width, int height, bool needsPlatformResize) {
  return needsPlatformResize ? HostResizeEditor(width, height) : true;
}

void IHostAPIBase::EditorSendsMidi(const MidiMessage& message) { PushMidiFromEditor(message); }
void IHostAPIBase::EditorSendsSysEx(const SysExRecord& message) { PushSysExFromEditor(message); }

void IHostAPIBase::EditorSendsMessage(int messageTag, int controlTag, int dataSize, const void* data) {
  HandleEditorMessage(messageTag, controlTag, dataSize, data);
}

void IHostAPIBase::PushMidiFromEditor(const MidiMessage& message) { midiFromEditor.Push(message); }

void IHostAPIBase::PushSysExFromEditor(const SysExRecord& message) {
  SysExRecord copy = message;
  copy.size = std::clamp(copy.size, 0, SysExRecord::kCapacity);
  sysexFromEditor.Push(copy);
}

void IHostAPIBase::QueueParamForEditor(int paramIdx, double value, bool normalised) {
  IParam* param = GetParam(paramIdx);
  if (!param) return;
  paramsToEditor.Push({paramIdx, normalised ? param->Denormalise(value) : value});
}

}  // namespace framework
