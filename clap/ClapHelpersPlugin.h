#pragma once
// The generic adapter between a CLAP host and a plug-in class: owns the clap_plugin record
// the host talks to, the host proxy, the lifecycle flags and the queue of work for the
// host's main thread. Each function of the record and of the extensions it knows calls a
// virtual operation; a predicate per extension says whether it is offered. Defaults:
// predicates false, boolean operations false, counts 0, the rest nothing; process sleeps,
// init and the start hook succeed. It checks neither the order nor the thread of calls.
#include <atomic>
#include <deque>
#include <functional>
#include <mutex>

#include "clap/ClapDefs.h"
#include "clap/ClapHostProxy.h"
#include "framework/ShortText.h"

namespace clap::helpers {

class Plugin {
public:
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  // [thread-safe] The record the factory hands to the host.
  const clap_plugin_t* ClapPlugin() const noexcept { return &plugin; }
  // [thread-safe] The adapter behind a record; null for a null record or record data.
  static Plugin* From(const clap_plugin_t* record) noexcept;

protected:
  // [main-thread]
  Plugin(const clap_plugin_descriptor_t* descriptor, const clap_host_t* host) noexcept;
  virtual ~Plugin();

  // Lifecycle. [main-thread] unless marked.
  virtual bool PluginInit() noexcept;
  virtual bool PluginActivate(double rate, uint32_t minFrames, uint32_t maxFrames) noexcept;
  virtual void PluginDeactivate() noexcept;
  virtual bool PluginStartProcessing() noexcept;  // [audio-thread]
  virtual void PluginStopProcessing() noexcept;   // [audio-thread]
  virtual void PluginReset() noexcept;            // [audio-thread]
  virtual clap_process_status PluginProcess(const clap_process_t* process) noexcept;  // [audio-thread]
  virtual void PluginOnMainThread() noexcept;
  virtual const void* ExtraExtension(const char* id) noexcept;

  // "clap.state" [main-thread]
  virtual bool ImplementsState() const noexcept;
  virtual bool StateSave(const clap_ostream_t* stream) noexcept;
  virtual bool StateLoad(const clap_istream_t* stream) noexcept;

  // "clap.render" [main-thread]
  virtual bool ImplementsRender() const noexcept;
  virtual bool RenderHasHardRealtimeRequirement() noexcept;
  virtual bool RenderSet(clap_plugin_render_mode mode) noexcept;

  // "clap.latency" [main-thread]
  virtual bool ImplementsLatency() const noexcept;
  virtual uint32_t LatencyGet() noexcept;

  // "clap.audio-ports" [main-thread]
  virtual bool ImplementsAudioPorts() const noexcept;
  virtual uint32_t AudioPortsCount(bool isInput) noexcept;
  virtual bool AudioPortsInfo(uint32_t index, bool isInput, clap_audio_port_info_t* info) noexcept;

  // "clap.audio-ports-config" [main-thread]
  virtual bool ImplementsAudioPortsConfig() const noexcept;
  virtual uint32_t AudioPortsConfigCount() noexcept;
  virtual bool AudioPortsGetConfig(uint32_t index, clap_audio_ports_config_t* config) noexcept;
  virtual bool AudioPortsSetConfig(clap_id configId) noexcept;

  // "clap.params" [main-thread]; flush also on the audio thread while active.
  virtual bool ImplementsParams() const noexcept;
  virtual uint32_t ParamsCount() noexcept;
  virtual bool ParamsInfo(uint32_t index, clap_param_info_t* info) noexcept;
  virtual bool ParamsValue(clap_id id, double* value) noexcept;
  virtual bool ParamsValueToText(clap_id id, double value, char* text, uint32_t capacity) noexcept;
  virtual bool ParamsTextToValue(clap_id id, const char* text, double* value) noexcept;
  virtual void ParamsFlush(const clap_input_events_t* in, const clap_output_events_t* out) noexcept;

  // "clap.note-ports" [main-thread]
  virtual bool ImplementsNotePorts() const noexcept;
  virtual uint32_t NotePortsCount(bool isInput) noexcept;
  virtual bool NotePortsInfo(uint32_t index, bool isInput, clap_note_port_info_t* info) noexcept;

  // "clap.timer-support" [main-thread]
  virtual bool ImplementsTimerSupport() const noexcept;
  virtual void TimerSupportOnTimer(clap_id timerId) noexcept;

  // "clap.posix-fd-support" [main-thread]
  virtual bool ImplementsPosixFdSupport() const noexcept;
  virtual void PosixFdSupportOnFd(int fd, clap_posix_fd_flags_t flags) noexcept;

  // "clap.gui" [main-thread]
  virtual bool ImplementsGui() const noexcept;
  virtual bool GuiIsApiSupported(const char* api, bool isFloating) noexcept;
  virtual bool GuiGetPreferredApi(const char** api, bool* isFloating) noexcept;
  virtual bool GuiCreate(const char* api, bool isFloating) noexcept;
  virtual void GuiDestroy() noexcept;
  virtual bool GuiSetScale(double scale) noexcept;
  virtual bool GuiGetSize(uint32_t* width, uint32_t* height) noexcept;
  virtual bool GuiCanResize() noexcept;
  virtual bool GuiGetResizeHints(clap_gui_resize_hints_t* hints) noexcept;
  virtual bool GuiAdjustSize(uint32_t* width, uint32_t* height) noexcept;
  virtual bool GuiSetSize(uint32_t width, uint32_t height) noexcept;
  virtual bool GuiSetParent(const clap_window_t* window) noexcept;
  virtual bool GuiSetTransient(const clap_window_t* window) noexcept;
  virtual void GuiSuggestTitle(const char* title) noexcept;
  virtual bool GuiShow() noexcept;
  virtual bool GuiHide() noexcept;

  // "clap.tail" [main-thread]
  virtual bool ImplementsTail() const noexcept;
  virtual uint32_t TailGet() noexcept;

  // [thread-safe] Runs the work at once when the host says the caller is its main thread;
  // otherwise queues it and then asks the host for on_main_thread.
  void PostToMainThread(std::function<void()> work) noexcept;

  HostProxy host;

  // [thread-safe] Lifecycle flags.
  bool WasInitialised() const noexcept { return wasInitialised; }
  bool IsActive() const noexcept { return isActive.load(std::memory_order_relaxed); }
  bool IsProcessing() const noexcept { return isProcessing.load(std::memory_order_relaxed); }
  bool IsBeingActivated() const noexcept { return isBeingActivated; }
  bool IsBeingDestroyed() const noexcept { return isBeingDestroyed.load(std::memory_order_relaxed); }
  double ActiveSampleRate() const noexcept { return activeSampleRate; }

private:
  static bool Init(const clap_plugin_t* record) noexcept;
  static void Destroy(const clap_plugin_t* record) noexcept;
  static bool Activate(const clap_plugin_t* record, double sampleRate, uint32_t minFrames, uint32_t maxFrames) noexcept;
  static void Deactivate(const clap_plugin_t* record) noexcept;
  static bool StartProcessing(const clap_plugin_t* record) noexcept;
  static void StopProcessing(const clap_plugin_t* record) noexcept;
  static void Reset(const clap_plugin_t* record) noexcept;
  static clap_process_status Process(const clap_plugin_t* record, const clap_process_t* process) noexcept;
  static const void* GetExtension(const clap_plugin_t* record, const char* id) noexcept;
  static void OnMainThread(const clap_plugin_t* record) noexcept;

  const void* FindExtension(const char* id) noexcept;
  // [main-thread] Runs the queued work oldest first, never holding the lock while it runs.
  void DrainMainThreadQueue() noexcept;

  friend struct ExtensionTables;

  clap_plugin_t plugin;
  bool wasInitialised = false;
  std::atomic<bool> isActive{false};
  std::atomic<bool> isProcessing{false};
  bool isBeingActivated = false;
  std::atomic<bool> isBeingDestroyed{false};
  double activeSampleRate = 0.0;

protected:
  // Editor state, kept here for the editor extension. guiApi: the API of the last create.
  framework::ShortText guiApi;
  bool isGuiCreated = false;
  bool isGuiFloating = false;
  bool isGuiEmbedded = false;

private:
  std::mutex mainThreadLock;
  std::deque<std::function<void()>> mainThreadQueue;
};

}  // namespace clap::helpers
