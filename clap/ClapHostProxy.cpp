#include "clap/ClapHostProxy.h"

#include <iostream>

namespace clap::helpers {

HostProxy::HostProxy(const clap_host_t* clapHost) noexcept : host(clapHost) {}

template <class T>
const T* HostProxy::Ask(const char* id, const char* fallback) const noexcept {
  if (!host || !host->get_extension) return nullptr;
  const void* extension = host->get_extension(host, id);
  if (!extension && fallback) extension = host->get_extension(host, fallback);
  return static_cast<const T*>(extension);
}

void HostProxy::RequestExtensions() noexcept {
  gui = Ask<clap_host_gui_t>(CLAP_EXT_GUI);
  latency = Ask<clap_host_latency_t>(CLAP_EXT_LATENCY);
  log = Ask<clap_host_log_t>(CLAP_EXT_LOG);
  params = Ask<clap_host_params_t>(CLAP_EXT_PARAMS);
  posixFdSupport = Ask<clap_host_posix_fd_support_t>(CLAP_EXT_POSIX_FD_SUPPORT);
  tail = Ask<clap_host_tail_t>(CLAP_EXT_TAIL);
  threadCheck = Ask<clap_host_thread_check_t>(CLAP_EXT_THREAD_CHECK);
  timerSupport = Ask<clap_host_timer_support_t>(CLAP_EXT_TIMER_SUPPORT);
  trackInfo = Ask<clap_host_track_info_t>(CLAP_EXT_TRACK_INFO, CLAP_EXT_TRACK_INFO_COMPAT);
}

const char* HostProxy::Name() const noexcept { return host ? host->name : nullptr; }
const char* HostProxy::Version() const noexcept { return host ? host->version : nullptr; }

void HostProxy::Log(clap_log_severity severity, const char* message) const noexcept {
  if (!message) message = "";
  if (log && log->log) {
    log->log(host, severity, message);
    return;
  }
  try {
    std::ostream& out = severity == CLAP_LOG_ERROR || severity == CLAP_LOG_HOST_MISBEHAVING ? std::cerr : std::clog;
    out << message << '\n';
    out.flush();
  } catch (...) {
    // A failing standard error stream leaves nothing else to tell.
  }
}

bool HostProxy::IsMainThread() const noexcept {
  return threadCheck && threadCheck->is_main_thread && threadCheck->is_audio_thread &&
         threadCheck->is_main_thread(host);
}

void HostProxy::RequestCallback() const noexcept {
  if (host && host->request_callback) host->request_callback(host);
}

void HostProxy::RequestRestart() const noexcept {
  if (host && host->request_restart) host->request_restart(host);
}

bool HostProxy::Usable(const void* extension, bool complete, const char* message) const noexcept {
  if (!extension) return false;
  if (!complete) Log(CLAP_LOG_HOST_MISBEHAVING, message);
  return complete;
}

bool HostProxy::LatencyUsable() const noexcept {
  return Usable(latency, latency && latency->changed, "clap_host_latency is partially implemented");
}

bool HostProxy::TailUsable() const noexcept {
  return Usable(tail, tail && tail->changed, "clap_host_tail is partially implemented");
}

bool HostProxy::TrackInfoUsable() const noexcept {
  return Usable(trackInfo, trackInfo && trackInfo->get, "clap_host_track_info is partially implemented");
}

bool HostProxy::ParamsUsable() const noexcept {
  return Usable(params, params && params->rescan && params->clear && params->request_flush,
                "clap_host_params is partially implemented");
}

bool HostProxy::TimerSupportUsable() const noexcept {
  return Usable(timerSupport, timerSupport && timerSupport->register_timer && timerSupport->unregister_timer,
                "clap_host_timer_support is partially implemented");
}

void HostProxy::LatencyChanged() const noexcept {
  if (latency && latency->changed) latency->changed(host);
}

void HostProxy::ParamsRescan(clap_param_rescan_flags flags) const noexcept {
  if (params && params->rescan) params->rescan(host, flags);
}

void HostProxy::ParamsRequestFlush() const noexcept {
  if (params && params->request_flush) params->request_flush(host);
}

bool HostProxy::TrackInfo(clap_track_info_t& info) const noexcept {
  return trackInfo && trackInfo->get && trackInfo->get(host, &info);
}

void HostProxy::TailChanged() const noexcept {
  if (tail && tail->changed) tail->changed(host);
}

void HostProxy::GuiRequestResize(uint32_t width, uint32_t height) const noexcept {
  if (gui && gui->request_resize) gui->request_resize(host, width, height);
}

bool HostProxy::RegisterTimer(uint32_t periodMs, clap_id& timerId) const noexcept {
  timerId = CLAP_INVALID_ID;
  if (!timerSupport || !timerSupport->register_timer || !timerSupport->unregister_timer) return false;
  return timerSupport->register_timer(host, periodMs, &timerId) && timerId != CLAP_INVALID_ID;
}

void HostProxy::UnregisterTimer(clap_id timerId) const noexcept {
  if (timerSupport && timerSupport->unregister_timer) timerSupport->unregister_timer(host, timerId);
}

bool HostProxy::RegisterFd(int fd, clap_posix_fd_flags_t flags) const noexcept {
  if (fd < 0 || !posixFdSupport || !posixFdSupport->register_fd || !posixFdSupport->unregister_fd) return false;
  return posixFdSupport->register_fd(host, fd, flags);
}

void HostProxy::UnregisterFd(int fd) const noexcept {
  if (fd >= 0 && posixFdSupport && posixFdSupport->unregister_fd) posixFdSupport->unregister_fd(host, fd);
}

}  // namespace clap::helpers
