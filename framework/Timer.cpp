#include "framework/Timer.h"

#include <algorithm>
#include <climits>
#include <mutex>
#include <new>
#include <utility>

#include "framework/PtrList.h"

namespace framework {

namespace {

// The process-wide list of running timers. The lock is recursive because a tick runs under
// it and may start, halt or destroy timers, or pump again.
struct TimerRegistry {
  std::recursive_mutex mutex;
  PtrList<PlatformTimer> timers;
  uint64_t nextIdentifier = 1;
};

// Never destroyed, so that timers living in other static objects may still halt at exit.
TimerRegistry& Registry() noexcept {
  alignas(TimerRegistry) static unsigned char storage[sizeof(TimerRegistry)];
  static TimerRegistry* const registry = new (storage) TimerRegistry;
  return *registry;
}

}  // namespace

std::unique_ptr<Timer> Timer::StartTimer(Callable callable, int intervalMs) noexcept {
  std::unique_ptr<PlatformTimer> timer(new (std::nothrow) PlatformTimer(std::move(callable), intervalMs));
  if (!timer || !timer->Start()) return nullptr;
  return timer;
}

PlatformTimer::PlatformTimer(Callable callable, int intervalMs) noexcept
    : callable_(std::move(callable)), interval_(std::max(intervalMs, 1)) {}

PlatformTimer::~PlatformTimer() {
  const std::lock_guard lock(Registry().mutex);
  // Dying inside its own tick: tell the tick not to hand the callable back.
  if (tickAlive_) *tickAlive_ = false;
  Halt();
}

bool PlatformTimer::Start() noexcept {
  auto& registry = Registry();
  const std::lock_guard lock(registry.mutex);
  if (!registry.timers.Add(this)) return false;
  identifier_ = registry.nextIdentifier++;
  thread_ = std::this_thread::get_id();
  due_ = Clock::now() + interval_;
  return true;
}

void PlatformTimer::Halt() noexcept {
  auto& registry = Registry();
  const std::lock_guard lock(registry.mutex);
  if (identifier_ == 0) return;
  registry.timers.Remove(registry.timers.Find(this));
  identifier_ = 0;
}

uint64_t PlatformTimer::Identifier() const noexcept {
  const std::lock_guard lock(Registry().mutex);
  return identifier_;
}

void PlatformTimer::Pump(Clock::time_point now) noexcept {
  auto& registry = Registry();
  const std::lock_guard lock(registry.mutex);
  const auto self = std::this_thread::get_id();
  // Timers started by the ticks of this pump wait for the next one.
  const uint64_t newest = registry.nextIdentifier - 1;
  // A tick may change the list in any way, so search it afresh after each. A timer that
  // ran is due after `now` again, so each runs at most once and the loop ends.
  for (;;) {
    PlatformTimer* dueTimer = nullptr;
    for (PlatformTimer* timer : registry.timers) {
      if (timer->thread_ == self && timer->identifier_ <= newest && !timer->tickAlive_ && timer->due_ <= now) {
        dueTimer = timer;
        break;
      }
    }
    if (!dueTimer) return;
    dueTimer->due_ += dueTimer->interval_;
    if (dueTimer->due_ <= now) dueTimer->due_ = now + dueTimer->interval_;
    dueTimer->RunTick();
  }
}

void PlatformTimer::RunTick() noexcept {
  // The callable is moved out for the call so that destroying the timer inside its own
  // tick does not destroy the callable while it runs.
  bool alive = true;
  tickAlive_ = &alive;
  Callable running = std::exchange(callable_, nullptr);
  if (running) running(*this);
  if (!alive) return;
  tickAlive_ = nullptr;
  callable_ = std::move(running);
}

int PlatformTimer::NextDueIn(Clock::time_point now) noexcept {
  auto& registry = Registry();
  const std::lock_guard lock(registry.mutex);
  const auto self = std::this_thread::get_id();
  bool found = false;
  Clock::time_point soonest = Clock::time_point::max();
  for (const PlatformTimer* timer : registry.timers) {
    if (timer->thread_ != self) continue;
    found = true;
    soonest = std::min(soonest, timer->due_);
  }
  if (!found) return -1;
  if (soonest <= now) return 0;
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(soonest - now).count();
  return static_cast<int>(std::min<decltype(wait)>(wait, INT_MAX));
}

}  // namespace framework
