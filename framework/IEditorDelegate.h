#pragma once
// The innermost base of a plug-in: owns the parameters and is the one place through which
// parameter changes, editor messages and editor lifetime events pass between the plug-in,
// its host binding and its editor. Hooks do nothing by default; subclasses fill them in.
#include "framework/IParam.h"
#include "framework/MidiMessage.h"
#include "framework/ParamSource.h"
#include "framework/PtrList.h"
#include "framework/StateChunk.h"

namespace graphics {
struct IKeyEvent;
}

namespace framework {

class IEditorDelegate {
public:
  explicit IEditorDelegate(int paramCount);
  virtual ~IEditorDelegate();
  IEditorDelegate(const IEditorDelegate&) = delete;
  IEditorDelegate& operator=(const IEditorDelegate&) = delete;

  // [main-thread] Editor lifetime, driven by the binding.
  virtual void* OpenEditor(void* parent);
  virtual void CloseEditor();
  virtual void OnHostResizeEditor(int width, int height);
  virtual void OnEditorOpened();
  virtual void OnEditorClose();

  // [thread-safe] The plug-in's parameter hook, on the thread that applied the change. An override
  // may only store plain values and set atomic flags.
  virtual void OnParamChange(int paramIdx);
  virtual void OnParamChange(int paramIdx, ParamSource source, int sampleOffset);
  // [thread-safe] Hook after the editor side learnt of a change.
  virtual void ParamChangedForEditor(int paramIdx, ParamSource source);
  // [main-thread] Every parameter in id order: OnParamChange, then ParamChangedForEditor.
  virtual void AnnounceAllParams(ParamSource source);

  virtual void OnMidiShown(const MidiMessage& message);
  virtual void OnSysExShown(const SysExRecord& message);
  virtual bool HandleEditorMessage(int messageTag, int controlTag, int dataSize, const void* data);
  // [main-thread] After a state load: pushes every value into the editor.
  virtual void OnStateLoaded();

  // [main-thread] Keys the host passes on; true when the editor took the key.
  virtual bool KeyDownFromHost(const graphics::IKeyEvent& key);
  virtual bool KeyUpFromHost(const graphics::IKeyEvent& key);

  // [editor-thread] Values and messages towards the editor.
  virtual void ShowControlValue(int controlTag, double normalisedValue);
  virtual void ShowControlMessage(int controlTag, int messageTag, int dataSize, const void* data);
  virtual void ShowMessage(int messageTag, int dataSize, const void* data);
  virtual void ShowMidiInEditor(const MidiMessage& message);
  virtual void ShowSysExInEditor(const SysExRecord& message);
  virtual void ShowParamInEditor(int paramIdx, double value, bool normalised);

  // [editor-thread] Changes made in the editor, towards the plug-in and the host.
  virtual void ResendAllParamsToHost();
  virtual void EditorGestureBegin(int paramIdx) = 0;
  virtual void EditorSetsParam(int paramIdx, double normalisedValue);
  virtual void EditorGestureEnd(int paramIdx) = 0;
  virtual bool EditorRequestsSize(int width, int height, bool needsPlatformResize);
  virtual void EditorSendsMidi(const MidiMessage& message);
  virtual void EditorSendsSysEx(const SysExRecord& message);
  virtual void EditorSendsMessage(int messageTag, int controlTag, int dataSize, const void* data);
  virtual void PushMidiFromEditor(const MidiMessage& message);
  virtual void PushSysExFromEditor(const SysExRecord& message);

  // True when both lie within the limits; otherwise clamps each into them and returns false.
  virtual bool ClampEditorSize(int& width, int& height) const;
  virtual bool SaveEditorState(StateChunk& chunk) const;
  virtual int LoadEditorState(const StateChunk& chunk, int pos);
  virtual void ApplyScreenScale(float scale);

  // [thread-safe] Parameters are created in the constructor and never added or removed.
  int ParamCount() const noexcept { return params.Count(); }
  IParam* GetParam(int paramIdx) const noexcept { return params.Get(paramIdx); }

  int EditorWidth() const noexcept { return editorWidth; }
  int EditorHeight() const noexcept { return editorHeight; }
  void SetEditorSize(int width, int height) noexcept {
    editorWidth = width;
    editorHeight = height;
  }

protected:
  OwnedPtrList<IParam> params;
  int editorWidth = 0;
  int editorHeight = 0;
  int minWidth = 10;
  int maxWidth = 100000;
  int minHeight = 10;
  int maxHeight = 100000;
};

}  // namespace framework
