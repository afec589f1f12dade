#pragma once
// Drives an editor whose host gives it no timer: a thread of ours asks the host for
// on_main_thread once a period (request_callback may be called from any thread), and the
// plug-in ticks its editor there, on the host's main thread.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "clap/ClapHostProxy.h"

namespace clap::helpers {

class CallbackTicker {
public:
  // [main-thread] The host must outlive the ticker.
  CallbackTicker(const HostProxy& host, uint32_t periodMs) noexcept;
  ~CallbackTicker();
  CallbackTicker(const CallbackTicker&) = delete;
  CallbackTicker& operator=(const CallbackTicker&) = delete;

  // [main-thread] Starts the thread unless it runs; false when no thread can be started.
  bool Start() noexcept;
  // [main-thread] Stops the thread and waits for it: once this returns, no request of it
  // reaches the host.
  void Stop() noexcept;
  // [main-thread]
  bool Running() const noexcept { return thread.joinable(); }

private:
  void Run() noexcept;

  const HostProxy& host;
  const uint32_t periodMs;
  std::mutex lock;
  std::condition_variable wake;
  bool stopping = false;  // guarded by lock
  std::thread thread;
};

}  // namespace clap::helpers
