#pragma once
// The plug-in's view of its CLAP host: the host record and the host extensions the binding
// uses, asked for once at init. Every call checks that the host gave the extension and the
// function; an extension given without a function the binding needs is reported once per
// use on the host's log as partially implemented and treated as missing.
#include "clap/ClapDefs.h"

namespace clap::helpers {

class HostProxy {
public:
  // [main-thread] Keeps the host record; asks for nothing yet.
  explicit HostProxy(const clap_host_t* host) noexcept;

  // [main-thread] Asks the host for its extensions; a slot the host leaves null stays empty.
  void RequestExtensions() noexcept;

  // [thread-safe] The host's texts, or null.
  const char* Name() const noexcept;
  const char* Version() const noexcept;

  // [thread-safe] To the host's log, or to standard error without one.
  void Log(clap_log_severity severity, const char* message) const noexcept;
  // [thread-safe] True only when the host can tell and says the caller is its main thread.
  bool IsMainThread() const noexcept;
  // [thread-safe]
  void RequestCallback() const noexcept;
  // [thread-safe]
  void RequestRestart() const noexcept;

  // [main-thread] Whether the host gave these extensions with the functions the binding
  // needs; logs "… is partially implemented" when it gave one without them.
  bool LatencyUsable() const noexcept;
  bool TailUsable() const noexcept;
  bool TrackInfoUsable() const noexcept;
  bool ParamsUsable() const noexcept;
  // Both register_timer and unregister_timer set; logs like the others otherwise.
  bool TimerSupportUsable() const noexcept;
  bool HasLatency() const noexcept { return latency != nullptr; }

  // [main-thread] Each does nothing when its function is missing.
  void LatencyChanged() const noexcept;
  void ParamsRescan(clap_param_rescan_flags flags) const noexcept;
  void ParamsRequestFlush() const noexcept;
  // [main-thread] False without a usable track-info extension or when the host says so.
  bool TrackInfo(clap_track_info_t& info) const noexcept;
  // [audio-thread]
  void TailChanged() const noexcept;
  // [main-thread] Does nothing without the host's gui extension or its request_resize.
  void GuiRequestResize(uint32_t width, uint32_t height) const noexcept;
  // [main-thread] False without usable timer support or when the host refuses.
  bool RegisterTimer(uint32_t periodMs, clap_id& timerId) const noexcept;
  void UnregisterTimer(clap_id timerId) const noexcept;
  // [main-thread] False without usable posix-fd support or when the host refuses.
  bool RegisterFd(int fd, clap_posix_fd_flags_t flags) const noexcept;
  void UnregisterFd(int fd) const noexcept;

private:
  template <class T>
  const T* Ask(const char* id, const char* fallback = nullptr) const noexcept;
  bool Usable(const void* extension, bool complete, const char* message) const noexcept;

  const clap_host_t* host;
  const clap_host_gui_t* gui = nullptr;
  const clap_host_latency_t* latency = nullptr;
  const clap_host_log_t* log = nullptr;
  const clap_host_params_t* params = nullptr;
  const clap_host_posix_fd_support_t* posixFdSupport = nullptr;
  const clap_host_tail_t* tail = nullptr;
  const clap_host_thread_check_t* threadCheck = nullptr;
  const clap_host_timer_support_t* timerSupport = nullptr;
  const clap_host_track_info_t* trackInfo = nullptr;
};

}  // namespace clap::helpers
