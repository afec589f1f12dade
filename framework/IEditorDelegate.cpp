#include "framework/IEditorDelegate.h"

#include <algorithm>

namespace framework {

const char* ParamSourceName(ParamSource source) noexcept {
  static const char* const names[] = {"Reset", "Host", "Preset", "UI", "Editor Delegate", "Recompile", "Unknown"};
  const int i = static_cast<int>(source);
  return i >= 0 && i < 7 ? names[i] : "Unknown";
}

IEditorDelegate::IEditorDelegate(int paramCount) {
  for (int i = 0; i < paramCount; ++i) params.Add(new IParam());
}

IEditorDelegate::~IEditorDelegate() = default;

void* IEditorDelegate::OpenEditor(void*) {
  OnEditorOpened();
  return nullptr;
}

void IEditorDelegate::CloseEditor() { OnEditorClose(); }
void IEditorDelegate::OnHostResizeEditor(int, int) {}

void IEditorDelegate::OnEditorOpened() {
  for (int i = 0; i < ParamCount(); ++i) ShowParamInEditor(i, params.Get(i)->CurrentNormalised(), true);
}

void IEditorDelegate::OnEditorClose() {}
void IEditorDelegate::OnParamChange(int) {}

void IEditorDelegate::OnParamChange(int paramIdx, ParamSource, int) { OnParamChange(paramIdx); }

void IEditorDelegate::ParamChangedForEditor(int, ParamSource) {}

void IEditorDelegate::AnnounceAllParams(ParamSource source) {
  for (int i = 0; i < ParamCount(); ++i) {
    OnParamChange(i, source, -1);
    ParamChangedForEditor(i, source);
  }
}

void IEditorDelegate::OnMidiShown(const MidiMessage&) {}
void IEditorDelegate::OnSysExShown(const SysExRecord&) {}
bool IEditorDelegate::HandleEditorMessage(int, int, int, const void*) { return false; }
void IEditorDelegate::OnStateLoaded() { OnEditorOpened(); }
bool IEditorDelegate::KeyDownFromHost(const graphics::IKeyEvent&) { return false; }
bool IEditorDelegate::KeyUpFromHost(const graphics::IKeyEvent&) { return false; }
void IEditorDelegate::ShowControlValue(int, double) {}

void IEditorDelegate::ShowControlMessage(int controlTag, int messageTag, int dataSize, const void* data) {
  HandleEditorMessage(messageTag, controlTag, dataSize, data);
}

void IEditorDelegate::ShowMessage(int messageTag, int dataSize, const void* data) {
  HandleEditorMessage(messageTag, -1, dataSize, data);
}

void IEditorDelegate::ShowMidiInEditor(const MidiMessage& message) { OnMidiShown(message); }
void IEditorDelegate::ShowSysExInEditor(const SysExRecord& message) { OnSysExShown(message); }

void IEditorDelegate::ShowParamInEditor(int paramIdx, double, bool) {
  if (!GetParam(paramIdx)) return;
  ParamChangedForEditor(paramIdx, ParamSource::EditorDelegate);
}

void IEditorDelegate::ResendAllParamsToHost() {}

void IEditorDelegate::EditorSetsParam(int paramIdx, double normalisedValue) {
  IParam* param = GetParam(paramIdx);
  if (!param) return;
  param->Store(param->Denormalise(normalisedValue));
  ParamChangedForEditor(paramIdx, ParamSource::UI);
}

bool IEditorDelegate::EditorRequestsSize(int, int, bool) { return false; }
void IEditorDelegate::EditorSendsMidi(const MidiMessage&) {}
void IEditorDelegate::EditorSendsSysEx(const SysExRecord&) {}
void IEditorDelegate::EditorSendsMessage(int, int, int, const void*) {}
void IEditorDelegate::PushMidiFromEditor(const MidiMessage&) {}
void IEditorDelegate::PushSysExFromEditor(const SysExRecord&) {}

bool IEditorDelegate::ClampEditorSize(int& width, int& height) const {
  const bool inside = width >= minWidth && width <= maxWidth && height >= minHeight && height <= maxHeight;
  width = std::clamp(width, minWidth, maxWidth);
  height = std::clamp(height, minHeight, maxHeight);
  return inside;
}

bool IEditorDelegate::SaveEditorState(StateChunk&) const { return true; }
int IEditorDelegate::LoadEditorState(const StateChunk&, int pos) { return pos; }
void IEditorDelegate::ApplyScreenScale(float) {}

}  // namespace framework
