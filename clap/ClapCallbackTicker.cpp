#include "clap/ClapCallbackTicker.h"

#include <chrono>
#include <system_error>

namespace clap::helpers {

CallbackTicker::CallbackTicker(const HostProxy& hostProxy, uint32_t period) noexcept
    : host(hostProxy), periodMs(period) {}

CallbackTicker::~CallbackTicker() { Stop(); }

bool CallbackTicker::Start() noexcept {
  if (Running()) return true;
  {
    const std::lock_guard guard(lock);
    stopping = false;
  }
  try {
    thread = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void CallbackTicker::Stop() noexcept {
  if (!Running()) return;
  {
    const std::lock_guard guard(lock);
    stopping = true;
  }
  wake.notify_one();
  thread.join();
}

void CallbackTicker::Run() noexcept {
  const auto period = std::chrono::milliseconds(periodMs);
  for (;;) {
    {
      std::unique_lock guard(lock);
      if (wake.wait_for(guard, period, [this] { return stopping; })) return;
    }
    // Asked without the lock held, so that Stop never waits on the host's answer.
    host.RequestCallback();
  }
}

}  // namespace clap::helpers
