#pragma once
// Binds the framework to CLAP: one IClapPlugin lives inside every plug-in object of the
// CLAP build. It answers the host through the adapter base (lifecycle, processing, params,
// state, audio ports and configurations, latency, tail, render, editor, timers) and carries
// the editor's gestures, values, size requests, MIDI and system-exclusive messages to the host.
#include <atomic>
#include <cstdint>
#include <memory>

#include "clap/ClapCallbackTicker.h"
#include "clap/ClapDefs.h"
#include "clap/ClapHelpersPlugin.h"
#include "clap/ClapTimedMessages.h"
#include "clap/ClapOffscreenWindow.h"
#include "framework/IAudioProcessor.h"
#include "framework/IHostAPIBase.h"
#include "framework/SpscQueue.h"

// What create_plugin hands to the plug-in constructor: the module's descriptor and the
// host record as the host passed it.
struct ClapCreationInfo {
  const clap_plugin_descriptor_t* descriptor = nullptr;
  const clap_host_t* host = nullptr;
  // The name of the product's private offscreen window API, or null when it offers none.
  const char* offscreenWindowApi = nullptr;
};

// An editor gesture or value waiting for the host.
struct ParamToHost {
  enum Kind : int32_t { GestureBegin = 0, Value = 1, GestureEnd = 2 };
  int32_t kind = Value;
  int32_t paramIdx = 0;
  double value = 0.0;  // Value only: normalised for continuous parameters, plain otherwise
};

class IClapPlugin : public framework::IHostAPIBase,
                    public virtual framework::IAudioProcessor,
                    public clap::helpers::Plugin {
public:
  static constexpr int kApiKind = 8;
  static constexpr int kQueuedMessages = 512;
  // CLAP's infinite tail, and the framework's.
  static constexpr uint32_t kClapInfiniteTail = UINT32_MAX;
  static constexpr int32_t kInfiniteTail = INT32_MAX;
  // A state stream longer than this is refused rather than read on.
  static constexpr int kMaxStateBytes = 1 << 20;
  // The editor's display tick asked of the host's timer support: 60 frames a second.
  static constexpr uint32_t kGuiTimerMs = 16;

  // [main-thread] The config's processor base is built by the most derived class.
  IClapPlugin(const ClapCreationInfo& info, const framework::PluginConfig& config);
  ~IClapPlugin() override;

  // Messages towards the host's next block; true even when dropped. [audio-thread]
  bool EmitMidi(const framework::MidiMessage& message) override;
  bool EmitSysEx(const framework::SysExRecord& message) override;
  // [thread-safe] A change while active asks the host for a restart; the next activation
  // applies it.
  void ChangeLatency(int samples) override;
  // [thread-safe] Announced to the host at the end of the next block.
  void ChangeTail(int samples) override;

  // [thread-safe] To the host's log, or to standard error without one.
  void LogToHost(clap_log_severity severity, const char* message) const noexcept;
  // [thread-safe] "major.minor.revision" packed as major × 65536 + minor × 256 + revision;
  // 0 for a null or empty text. Missing fields count 0, fields are clamped into range.
  static int PackHostVersion(const char* text) noexcept;

protected:
  // Editor → host. [editor-thread]
  bool HostResizeEditor(int width, int height) override;
  void HostGestureBegin(int paramIdx) override;
  void HostGestureEnd(int paramIdx) override;
  void HostParamChanged(int paramIdx, double normalisedValue) override;

  // Lifecycle.
  bool PluginInit() noexcept override;
  bool PluginActivate(double rate, uint32_t minFrames, uint32_t maxFrames) noexcept override;
  void PluginDeactivate() noexcept override;
  void PluginReset() noexcept override;
  clap_process_status PluginProcess(const clap_process_t* process) noexcept override;
  // Also runs the idle ticks that are due: without an editor window, the host's calls on
  // its main thread are the only pump the idle timer gets. While the callback ticker runs,
  // ticks the editor as the host's timer would.
  void PluginOnMainThread() noexcept override;

  bool ImplementsState() const noexcept override { return true; }
  bool StateSave(const clap_ostream_t* stream) noexcept override;
  bool StateLoad(const clap_istream_t* stream) noexcept override;

  bool ImplementsRender() const noexcept override { return true; }
  bool RenderHasHardRealtimeRequirement() noexcept override { return false; }
  bool RenderSet(clap_plugin_render_mode mode) noexcept override;

  bool ImplementsLatency() const noexcept override { return true; }
  uint32_t LatencyGet() noexcept override;

  bool ImplementsAudioPorts() const noexcept override;
  uint32_t AudioPortsCount(bool isInput) noexcept override;
  bool AudioPortsInfo(uint32_t index, bool isInput, clap_audio_port_info_t* info) noexcept override;

  bool ImplementsAudioPortsConfig() const noexcept override { return LayoutCount() > 0; }
  uint32_t AudioPortsConfigCount() noexcept override;
  bool AudioPortsGetConfig(uint32_t index, clap_audio_ports_config_t* config) noexcept override;
  bool AudioPortsSetConfig(clap_id configId) noexcept override;

  bool ImplementsParams() const noexcept override { return true; }
  uint32_t ParamsCount() noexcept override;
  bool ParamsInfo(uint32_t index, clap_param_info_t* info) noexcept override;
  bool ParamsValue(clap_id id, double* value) noexcept override;
  bool ParamsValueToText(clap_id id, double value, char* text, uint32_t capacity) noexcept override;
  bool ParamsTextToValue(clap_id id, const char* text, double* value) noexcept override;
  void ParamsFlush(const clap_input_events_t* in, const clap_output_events_t* out) noexcept override;

  bool ImplementsNotePorts() const noexcept override { return MidiIn() || MidiOut(); }
  uint32_t NotePortsCount(bool isInput) noexcept override;

  // Embedded editors in the platform's window API ("x11" on Linux, "win32" on Windows) and in
  // the private offscreen API, which needs the host's timer support (without it the API counts
  // as unsupported). An X11 window lives on the host's event loop: its display ticks come from
  // the host's timer, its connection's events from the host's posix-fd support; a host without
  // the timer gets the callback ticker instead while the window is open, and without the
  // descriptor watch each tick also reads the window's events.
  bool ImplementsGui() const noexcept override { return HasEditor(); }
  bool GuiIsApiSupported(const char* api, bool isFloating) noexcept override;
  bool GuiGetPreferredApi(const char** api, bool* isFloating) noexcept override;
  bool GuiCreate(const char* api, bool isFloating) noexcept override;
  void GuiDestroy() noexcept override;
  bool GuiSetScale(double scale) noexcept override;
  bool GuiGetSize(uint32_t* width, uint32_t* height) noexcept override;
  bool GuiCanResize() noexcept override;
  bool GuiAdjustSize(uint32_t* width, uint32_t* height) noexcept override;
  bool GuiSetSize(uint32_t width, uint32_t height) noexcept override;
  bool GuiSetParent(const clap_window_t* window) noexcept override;
  bool GuiShow() noexcept override;
  bool GuiHide() noexcept override;

  // Offered with the editor: the idle timer's pump and the editor's display tick.
  bool ImplementsTimerSupport() const noexcept override { return HasEditor(); }
  void TimerSupportOnTimer(clap_id timerId) noexcept override;

  // Offered when the platform's window needs the host's loop: its connection's events.
  bool ImplementsPosixFdSupport() const noexcept override;
  void PosixFdSupportOnFd(int fd, clap_posix_fd_flags_t flags) noexcept override;

  bool ImplementsTail() const noexcept override { return true; }
  uint32_t TailGet() noexcept override;

  // [audio-thread, or main-thread in the params flush]
  void HandleHostEvents(const clap_input_events_t* events) noexcept;
  void FlushParamsToHost(const clap_output_events_t* events) noexcept;

private:
  // Processing steps. [audio-thread]
  void ReadTransport(const clap_event_transport_t& transport) noexcept;
  void MidiFromHost(const framework::MidiMessage& message) noexcept;
  template <class Sample>
  bool RunHostBlock(const clap_process_t& process, Sample** pointers) noexcept;
  void MergeMessagesToHost(const clap_output_events_t* events, int frames) noexcept;
  clap_process_status BlockStatus(bool allSilent, uint32_t frames) noexcept;

  // [main-thread]
  void ChooseLayout() noexcept;
  bool MatchChannels(int channels) noexcept;
  void ApplyPendingLatency() noexcept;
  void PushToHost(const ParamToHost& entry) noexcept;
  // Which window the editor lives in while attached.
  enum class GuiWindow : int32_t { None, Native, Offscreen };

  // [main-thread] Attaches the editor to the host's window (a native handle, or the offscreen
  // record); false when it cannot open.
  bool OpenEditorInParent(void* parent) noexcept;
  // [main-thread] (Re)opens the editor in parentWindow and watches its window's descriptor.
  bool OpenGuiWindow() noexcept;
  void CloseGuiWindow() noexcept;
  // [main-thread] Arranges the editor's ticks for a window of this API; false when it cannot
  // have them.
  bool StartGuiTicks(const char* api) noexcept;
  bool StartGuiTimer() noexcept;
  void StopGuiTimer() noexcept;
  // [main-thread] Whether the open window has to be ticked by the callback ticker.
  bool NeedsCallbackTicks() const noexcept;
  // [main-thread] Runs the idle timer and the open editor's display tick.
  void TickEditor() noexcept;
  // [main-thread] Hands the open editor's frame to the offscreen window's callback.
  void DeliverFrame() noexcept;

  framework::SpscQueue<ParamToHost, kQueuedMessages + 1> paramsToHost;
  clap::helpers::TimedMessages<framework::SysExRecord> sysExToHost{kQueuedMessages};
  clap::helpers::TimedMessages<framework::MidiMessage> midiToHost{kQueuedMessages};
  std::unique_ptr<float*[]> hostPointers32;
  std::unique_ptr<double*[]> hostPointers64;
  int hostPointerCount = 0;
  // The host's window (native handle or offscreen record) while the editor is attached; kept
  // across hide for show.
  void* parentWindow = nullptr;
  GuiWindow guiWindow = GuiWindow::None;
  bool editorOpen = false;
  // The open window's descriptor while the host watches it, else -1.
  int guiFd = -1;
  const char* offscreenWindowApi = nullptr;  // from the creation record
  bool IsOffscreenApi(const char* api) const noexcept;
  plugin_offscreen_window_t offscreenWindow{};
  clap_id guiTimer = CLAP_INVALID_ID;
  // Runs only while a native window is open without the host's timer.
  clap::helpers::CallbackTicker callbackTicks{host, kGuiTimerMs};
  int selectedConfig = 0;
  int32_t silentFrames = 0;
  bool hostTailUsable = false;
  std::atomic<bool> tailChanged{false};
  std::atomic<bool> latencyPending{false};
  std::atomic<bool> restartRequested{false};
  std::atomic<int32_t> pendingLatency{0};
};

namespace framework {

// The binding class a plug-in of the CLAP build derives from; it only forwards construction.
class Plugin : public IClapPlugin {
public:
  // [main-thread]
  Plugin(const ClapCreationInfo& info, const PluginConfig& config)
      : IAudioProcessor(config), IClapPlugin(info, config) {}
};

}  // namespace framework
