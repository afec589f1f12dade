#include "clap/ClapHelpersPlugin.h"

#include <cstring>
#include <utility>

namespace clap::helpers {

namespace {

bool Same(const char* a, const char* b) noexcept { return std::strcmp(a, b) == 0; }

}  // namespace

// The constant function tables of the extensions. Each function finds its adapter through
// the record and answers like the adapter's default when the record is unusable.
struct ExtensionTables {
  template <class R, class F>
  static R Call(const clap_plugin_t* record, R fallback, F&& f) noexcept {
    Plugin* self = Plugin::From(record);
    return self ? f(*self) : fallback;
  }
  template <class F>
  static void Run(const clap_plugin_t* record, F&& f) noexcept {
    if (Plugin* self = Plugin::From(record)) f(*self);
  }

  static constexpr clap_plugin_state_t state = {
      [](const clap_plugin_t* p, const clap_ostream_t* s) { return Call(p, false, [&](Plugin& a) { return a.StateSave(s); }); },
      [](const clap_plugin_t* p, const clap_istream_t* s) { return Call(p, false, [&](Plugin& a) { return a.StateLoad(s); }); },
  };

  static constexpr clap_plugin_render_t render = {
      [](const clap_plugin_t* p) { return Call(p, false, [](Plugin& a) { return a.RenderHasHardRealtimeRequirement(); }); },
      [](const clap_plugin_t* p, clap_plugin_render_mode m) { return Call(p, false, [&](Plugin& a) { return a.RenderSet(m); }); },
  };

  static constexpr clap_plugin_latency_t latency = {
      [](const clap_plugin_t* p) { return Call(p, 0u, [](Plugin& a) { return a.LatencyGet(); }); },
  };

  static constexpr clap_plugin_audio_ports_t audioPorts = {
      [](const clap_plugin_t* p, bool in) { return Call(p, 0u, [&](Plugin& a) { return a.AudioPortsCount(in); }); },
      [](const clap_plugin_t* p, uint32_t i, bool in, clap_audio_port_info_t* info) {
        return Call(p, false, [&](Plugin& a) { return a.AudioPortsInfo(i, in, info); });
      },
  };

  static constexpr clap_plugin_audio_ports_config_t audioPortsConfig = {
      [](const clap_plugin_t* p) { return Call(p, 0u, [](Plugin& a) { return a.AudioPortsConfigCount(); }); },
      [](const clap_plugin_t* p, uint32_t i, clap_audio_ports_config_t* c) {
        return Call(p, false, [&](Plugin& a) { return a.AudioPortsGetConfig(i, c); });
      },
      [](const clap_plugin_t* p, clap_id id) { return Call(p, false, [&](Plugin& a) { return a.AudioPortsSetConfig(id); }); },
  };

  static constexpr clap_plugin_params_t params = {
      [](const clap_plugin_t* p) { return Call(p, 0u, [](Plugin& a) { return a.ParamsCount(); }); },
      [](const clap_plugin_t* p, uint32_t i, clap_param_info_t* info) {
        return Call(p, false, [&](Plugin& a) { return a.ParamsInfo(i, info); });
      },
      [](const clap_plugin_t* p, clap_id id, double* v) { return Call(p, false, [&](Plugin& a) { return a.ParamsValue(id, v); }); },
      [](const clap_plugin_t* p, clap_id id, double v, char* text, uint32_t capacity) {
        return Call(p, false, [&](Plugin& a) { return a.ParamsValueToText(id, v, text, capacity); });
      },
      [](const clap_plugin_t* p, clap_id id, const char* text, double* v) {
        return Call(p, false, [&](Plugin& a) { return a.ParamsTextToValue(id, text, v); });
      },
      [](const clap_plugin_t* p, const clap_input_events_t* in, const clap_output_events_t* out) {
        Run(p, [&](Plugin& a) { a.ParamsFlush(in, out); });
      },
  };

  static constexpr clap_plugin_note_ports_t notePorts = {
      [](const clap_plugin_t* p, bool in) { return Call(p, 0u, [&](Plugin& a) { return a.NotePortsCount(in); }); },
      [](const clap_plugin_t* p, uint32_t i, bool in, clap_note_port_info_t* info) {
        return Call(p, false, [&](Plugin& a) { return a.NotePortsInfo(i, in, info); });
      },
  };

  static constexpr clap_plugin_timer_support_t timerSupport = {
      [](const clap_plugin_t* p, clap_id id) { Run(p, [&](Plugin& a) { a.TimerSupportOnTimer(id); }); },
  };

  static constexpr clap_plugin_posix_fd_support_t posixFdSupport = {
      [](const clap_plugin_t* p, int fd, clap_posix_fd_flags_t flags) {
        Run(p, [&](Plugin& a) { a.PosixFdSupportOnFd(fd, flags); });
      },
  };

  static constexpr clap_plugin_gui_t gui = {
      [](const clap_plugin_t* p, const char* api, bool f) { return Call(p, false, [&](Plugin& a) { return a.GuiIsApiSupported(api, f); }); },
      [](const clap_plugin_t* p, const char** api, bool* f) { return Call(p, false, [&](Plugin& a) { return a.GuiGetPreferredApi(api, f); }); },
      [](const clap_plugin_t* p, const char* api, bool f) { return Call(p, false, [&](Plugin& a) { return a.GuiCreate(api, f); }); },
      [](const clap_plugin_t* p) { Run(p, [](Plugin& a) { a.GuiDestroy(); }); },
      [](const clap_plugin_t* p, double s) { return Call(p, false, [&](Plugin& a) { return a.GuiSetScale(s); }); },
      [](const clap_plugin_t* p, uint32_t* w, uint32_t* h) { return Call(p, false, [&](Plugin& a) { return a.GuiGetSize(w, h); }); },
      [](const clap_plugin_t* p) { return Call(p, false, [](Plugin& a) { return a.GuiCanResize(); }); },
      [](const clap_plugin_t* p, clap_gui_resize_hints_t* h) { return Call(p, false, [&](Plugin& a) { return a.GuiGetResizeHints(h); }); },
      [](const clap_plugin_t* p, uint32_t* w, uint32_t* h) { return Call(p, false, [&](Plugin& a) { return a.GuiAdjustSize(w, h); }); },
      [](const clap_plugin_t* p, uint32_t w, uint32_t h) { return Call(p, false, [&](Plugin& a) { return a.GuiSetSize(w, h); }); },
      [](const clap_plugin_t* p, const clap_window_t* w) { return Call(p, false, [&](Plugin& a) { return a.GuiSetParent(w); }); },
      [](const clap_plugin_t* p, const clap_window_t* w) { return Call(p, false, [&](Plugin& a) { return a.GuiSetTransient(w); }); },
      [](const clap_plugin_t* p, const char* t) { Run(p, [&](Plugin& a) { a.GuiSuggestTitle(t); }); },
      [](const clap_plugin_t* p) { return Call(p, false, [](Plugin& a) { return a.GuiShow(); }); },
      [](const clap_plugin_t* p) { return Call(p, false, [](Plugin& a) { return a.GuiHide(); }); },
  };

  static constexpr clap_plugin_tail_t tail = {
      [](const clap_plugin_t* p) { return Call(p, 0u, [](Plugin& a) { return a.TailGet(); }); },
  };
};

Plugin::Plugin(const clap_plugin_descriptor_t* descriptor, const clap_host_t* clapHost) noexcept
    : host(clapHost),
      plugin{descriptor,   this,  &Plugin::Init, &Plugin::Destroy, &Plugin::Activate, &Plugin::Deactivate,
             &Plugin::StartProcessing, &Plugin::StopProcessing, &Plugin::Reset, &Plugin::Process,
             &Plugin::GetExtension, &Plugin::OnMainThread} {}

Plugin::~Plugin() = default;

Plugin* Plugin::From(const clap_plugin_t* record) noexcept {
  return record ? static_cast<Plugin*>(record->plugin_data) : nullptr;
}

bool Plugin::Init(const clap_plugin_t* record) noexcept {
  Plugin* self = From(record);
  if (!self) return false;
  self->wasInitialised = true;
  self->host.RequestExtensions();
  return self->PluginInit();
}

void Plugin::Destroy(const clap_plugin_t* record) noexcept {
  Plugin* self = From(record);
  if (!self) return;
  self->isBeingDestroyed.store(true, std::memory_order_relaxed);
  // Whatever calls the host made, created or not: set_parent alone may have opened a window
  // and registered a timer or a descriptor, which must not outlive the instance.
  if (self->ImplementsGui()) self->GuiDestroy();
  self->isGuiCreated = self->isGuiFloating = self->isGuiEmbedded = false;
  if (self->IsActive()) {
    self->PluginDeactivate();
    self->isActive.store(false, std::memory_order_relaxed);
    self->activeSampleRate = 0.0;
  }
  self->DrainMainThreadQueue();
  delete self;
}

bool Plugin::Activate(const clap_plugin_t* record, double sampleRate, uint32_t minFrames, uint32_t maxFrames) noexcept {
  Plugin* self = From(record);
  if (!self) return false;
  self->isBeingActivated = true;
  const bool ok = self->PluginActivate(sampleRate, minFrames, maxFrames);
  self->isBeingActivated = false;
  if (ok) {
    self->isActive.store(true, std::memory_order_relaxed);
    self->activeSampleRate = sampleRate;
  }
  return ok;
}

void Plugin::Deactivate(const clap_plugin_t* record) noexcept {
  Plugin* self = From(record);
  if (!self) return;
  self->PluginDeactivate();
  self->isActive.store(false, std::memory_order_relaxed);
  self->activeSampleRate = 0.0;
}

bool Plugin::StartProcessing(const clap_plugin_t* record) noexcept {
  Plugin* self = From(record);
  if (!self) return false;
  const bool started = self->PluginStartProcessing();
  self->isProcessing.store(started, std::memory_order_relaxed);
  return started;
}

void Plugin::StopProcessing(const clap_plugin_t* record) noexcept {
  Plugin* self = From(record);
  if (!self) return;
  self->PluginStopProcessing();
  self->isProcessing.store(false, std::memory_order_relaxed);
}

void Plugin::Reset(const clap_plugin_t* record) noexcept {
  if (Plugin* self = From(record)) self->PluginReset();
}

clap_process_status Plugin::Process(const clap_plugin_t* record, const clap_process_t* process) noexcept {
  Plugin* self = From(record);
  return self ? self->PluginProcess(process) : CLAP_PROCESS_ERROR;
}

const void* Plugin::GetExtension(const clap_plugin_t* record, const char* id) noexcept {
  Plugin* self = From(record);
  return self ? self->FindExtension(id) : nullptr;
}

void Plugin::OnMainThread(const clap_plugin_t* record) noexcept {
  Plugin* self = From(record);
  if (!self) return;
  self->DrainMainThreadQueue();
  self->PluginOnMainThread();
}

const void* Plugin::FindExtension(const char* id) noexcept {
  if (const void* extra = ExtraExtension(id)) return extra;
  if (!id) return nullptr;
  if (Same(id, CLAP_EXT_STATE) && ImplementsState()) return &ExtensionTables::state;
  if (Same(id, CLAP_EXT_RENDER) && ImplementsRender()) return &ExtensionTables::render;
  if (Same(id, CLAP_EXT_LATENCY) && ImplementsLatency()) return &ExtensionTables::latency;
  if (Same(id, CLAP_EXT_AUDIO_PORTS) && ImplementsAudioPorts()) return &ExtensionTables::audioPorts;
  if (Same(id, CLAP_EXT_AUDIO_PORTS_CONFIG) && ImplementsAudioPortsConfig()) return &ExtensionTables::audioPortsConfig;
  if (Same(id, CLAP_EXT_PARAMS) && ImplementsParams()) return &ExtensionTables::params;
  if (Same(id, CLAP_EXT_NOTE_PORTS) && ImplementsNotePorts()) return &ExtensionTables::notePorts;
  if (Same(id, CLAP_EXT_TIMER_SUPPORT) && ImplementsTimerSupport()) return &ExtensionTables::timerSupport;
  if (Same(id, CLAP_EXT_POSIX_FD_SUPPORT) && ImplementsPosixFdSupport()) return &ExtensionTables::posixFdSupport;
  if (Same(id, CLAP_EXT_GUI) && ImplementsGui()) return &ExtensionTables::gui;
  if (Same(id, CLAP_EXT_TAIL) && ImplementsTail()) return &ExtensionTables::tail;
  return nullptr;
}

void Plugin::PostToMainThread(std::function<void()> work) noexcept {
  if (!work) return;
  if (host.IsMainThread()) {
    work();
    return;
  }
  try {
    const std::lock_guard lock(mainThreadLock);
    mainThreadQueue.push_back(std::move(work));
  } catch (...) {
    return;  // no memory for the entry: the work is dropped, like a full queue's
  }
  // Asked without the lock held: a host may call on_main_thread from inside its answer.
  host.RequestCallback();
}

void Plugin::DrainMainThreadQueue() noexcept {
  for (;;) {
    std::function<void()> work;
    {
      const std::lock_guard lock(mainThreadLock);
      if (mainThreadQueue.empty()) return;
      work = std::move(mainThreadQueue.front());
      mainThreadQueue.pop_front();
    }
    work();
  }
}

bool Plugin::PluginInit() noexcept { return true; }
bool Plugin::PluginActivate(double, uint32_t, uint32_t) noexcept { return false; }
void Plugin::PluginDeactivate() noexcept {}
bool Plugin::PluginStartProcessing() noexcept { return true; }
void Plugin::PluginStopProcessing() noexcept {}
void Plugin::PluginReset() noexcept {}
clap_process_status Plugin::PluginProcess(const clap_process_t*) noexcept { return CLAP_PROCESS_SLEEP; }
void Plugin::PluginOnMainThread() noexcept {}
const void* Plugin::ExtraExtension(const char*) noexcept { return nullptr; }

bool Plugin::ImplementsState() const noexcept { return false; }
bool Plugin::StateSave(const clap_ostream_t*) noexcept { return false; }
bool Plugin::StateLoad(const clap_istream_t*) noexcept { return false; }

bool Plugin::ImplementsRender() const noexcept { return false; }
bool Plugin::RenderHasHardRealtimeRequirement() noexcept { return false; }
bool Plugin::RenderSet(clap_plugin_render_mode) noexcept { return false; }

bool Plugin::ImplementsLatency() const noexcept { return false; }
uint32_t Plugin::LatencyGet() noexcept { return 0; }

bool Plugin::ImplementsAudioPorts() const noexcept { return false; }
uint32_t Plugin::AudioPortsCount(bool) noexcept { return 0; }
bool Plugin::AudioPortsInfo(uint32_t, bool, clap_audio_port_info_t*) noexcept { return false; }

bool Plugin::ImplementsAudioPortsConfig() const noexcept { return false; }
uint32_t Plugin::AudioPortsConfigCount() noexcept { return 0; }
bool Plugin::AudioPortsGetConfig(uint32_t, clap_audio_ports_config_t*) noexcept { return false; }
bool Plugin::AudioPortsSetConfig(clap_id) noexcept { return false; }

bool Plugin::ImplementsParams() const noexcept { return false; }
uint32_t Plugin::ParamsCount() noexcept { return 0; }
bool Plugin::ParamsInfo(uint32_t, clap_param_info_t*) noexcept { return false; }
bool Plugin::ParamsValue(clap_id, double*) noexcept { return false; }
bool Plugin::ParamsValueToText(clap_id, double, char*, uint32_t) noexcept { return false; }
bool Plugin::ParamsTextToValue(clap_id, const char*, double*) noexcept { return false; }
void Plugin::ParamsFlush(const clap_input_events_t*, const clap_output_events_t*) noexcept {}

bool Plugin::ImplementsNotePorts() const noexcept { return false; }
uint32_t Plugin::NotePortsCount(bool) noexcept { return 0; }
bool Plugin::NotePortsInfo(uint32_t, bool, clap_note_port_info_t*) noexcept { return false; }

bool Plugin::ImplementsTimerSupport() const noexcept { return false; }
void Plugin::TimerSupportOnTimer(clap_id) noexcept {}
bool Plugin::ImplementsPosixFdSupport() const noexcept { return false; }
void Plugin::PosixFdSupportOnFd(int, clap_posix_fd_flags_t) noexcept {}

bool Plugin::ImplementsGui() const noexcept { return false; }
bool Plugin::GuiIsApiSupported(const char*, bool) noexcept { return false; }
bool Plugin::GuiGetPreferredApi(const char**, bool*) noexcept { return false; }
bool Plugin::GuiCreate(const char*, bool) noexcept { return false; }
void Plugin::GuiDestroy() noexcept {}
bool Plugin::GuiSetScale(double) noexcept { return false; }
bool Plugin::GuiGetSize(uint32_t*, uint32_t*) noexcept { return false; }
bool Plugin::GuiCanResize() noexcept { return false; }
bool Plugin::GuiGetResizeHints(clap_gui_resize_hints_t*) noexcept { return false; }
bool Plugin::GuiAdjustSize(uint32_t*, uint32_t*) noexcept { return false; }
bool Plugin::GuiSetSize(uint32_t, uint32_t) noexcept { return false; }
bool Plugin::GuiSetParent(const clap_window_t*) noexcept { return false; }
bool Plugin::GuiSetTransient(const clap_window_t*) noexcept { return false; }
void Plugin::GuiSuggestTitle(const char*) noexcept {}
bool Plugin::GuiShow() noexcept { return false; }
bool Plugin::GuiHide() noexcept { return false; }

bool Plugin::ImplementsTail() const noexcept { return false; }
uint32_t Plugin::TailGet() noexcept { return 0; }

}  // namespace clap::helpers
