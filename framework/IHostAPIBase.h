#pragma once
// The host-interface-independent part of a plug-in: identity and editor limits from the
// configuration, the host's identity, and five fixed queues that carry parameter changes,
// MIDI and system-exclusive messages between the audio thread, the host's main thread and
// the editor. A 20 ms idle timer empties the queues towards the editor. Bindings derive
// from it and supply the operations that talk to the host.
#include <memory>

#include "framework/IStateBase.h"
#include "framework/MidiMessage.h"
#include "framework/MpscQueue.h"
#include "framework/PluginConfig.h"
#include "framework/ShortText.h"
#include "framework/SpscQueue.h"
#include "framework/Timer.h"

namespace framework {

struct ParamChange {
  int32_t paramIdx = 0;
  double value = 0.0;  // not normalised
};

class IHostAPIBase : public IStateBase {
public:
  static constexpr int kNameChars = 128;
  static constexpr int kIdleIntervalMs = 20;

  IHostAPIBase(const PluginConfig& config, int apiKind);
  ~IHostAPIBase() override;

  // [main-thread] Records the host; its code comes from the host lookup table.
  void SetHost(const char* hostName, int hostVersion);
  virtual void ApplyHostQuirks();
  virtual void HostKnown();
  int HostCode() const noexcept { return hostCode; }
  const char* HostName() const noexcept { return hostName.Get(); }
  int HostVersion() const noexcept { return hostVersion; }

  // [main-thread] (Re)creates the idle timer on the calling thread.
  void StartIdleTimer();
  // [editor-thread] One idle tick: empties the editor-bound queues, then IdleTick.
  void OnIdleTimer();
  virtual void IdleTick();
  // [editor-thread] Shows the editor every current value (at its opening and after
  // a state load) and discards the host changes queued before: they are older.
  void OnEditorOpened() override;

  // Editor → plug-in and host. [editor-thread]
  void EditorGestureBegin(int paramIdx) override;
  void EditorSetsParam(int paramIdx, double normalisedValue) override;
  void EditorGestureEnd(int paramIdx) override;
  void ResendAllParamsToHost() override;
  bool EditorRequestsSize(int width, int height, bool needsPlatformResize) override;
  void EditorSendsMidi(const MidiMessage& message) override;
  void EditorSendsSysEx(const SysExRecord& message) override;
  void EditorSendsMessage(int messageTag, int controlTag, int dataSize, const void* data) override;
  void PushMidiFromEditor(const MidiMessage& message) override;
  void PushSysExFromEditor(const SysExRecord& message) override;

  // [thread-safe] Queues the change for the editor's next idle tick.
  void QueueParamForEditor(int paramIdx, double value, bool normalised);
  // [audio-thread] Messages from processing towards the editor.
  void QueueMidiForEditor(const MidiMessage& message) { midiToEditor.Push(message); }
  void QueueSysExForEditor(const SysExRecord& message) { sysexToEditor.Push(message); }
  // [audio-thread] Messages the editor sent, for the binding's processing.
  bool PopMidiFromEditor(MidiMessage& message) { return midiFromEditor.Pop(message); }
  bool PopSysExFromEditor(SysExRecord& message) { return sysexFromEditor.Pop(message); }

  // Identity from the configuration.
  const char* PluginName() const noexcept { return pluginName.Get(); }
  const char* ProductName() const noexcept { return productName.Get(); }
  const char* MakerName() const noexcept { return makerName.Get(); }
  int32_t Version() const noexcept { return version; }
  int32_t UniqueId() const noexcept { return uniqueId; }
  int32_t MakerId() const noexcept { return makerId; }
  bool HasEditor() const noexcept { return hasEditor; }
  bool StateChunks() const noexcept { return stateChunks; }
  bool HostResizesEditor() const noexcept { return hostResizesEditor; }
  int ApiKind() const noexcept { return apiKind; }
  int MinWidth() const noexcept { return minWidth; }
  int MaxWidth() const noexcept { return maxWidth; }
  int MinHeight() const noexcept { return minHeight; }
  int MaxHeight() const noexcept { return maxHeight; }

protected:
  // Supplied by the binding. [editor-thread]
  virtual bool HostResizeEditor(int width, int height) = 0;
  virtual void HostGestureBegin(int paramIdx) = 0;
  virtual void HostGestureEnd(int paramIdx) = 0;
  virtual void HostParamChanged(int paramIdx, double normalisedValue) = 0;

private:
  ShortText pluginName, productName, makerName, bundleId, appGroup;
  int32_t uniqueId, makerId;
  bool hasEditor, stateChunks, hostResizesEditor;
  int apiKind;
  ShortText hostName;
  int hostCode = -1;
  int hostVersion = 0;

  // A host may change parameters from its audio thread and its main thread at once.
  MpscQueue<ParamChange, 512> paramsToEditor;
  SpscQueue<MidiMessage, 33> midiFromEditor;
  SpscQueue<MidiMessage, 33> midiToEditor;
  SpscQueue<SysExRecord, 5> sysexFromEditor;
  SpscQueue<SysExRecord, 5> sysexToEditor;
  std::unique_ptr<Timer> idleTimer;
};

}  // namespace framework
