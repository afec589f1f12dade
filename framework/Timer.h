#pragma once
// Periodic callbacks that run on the thread that started them. Timer is the interface the
// plug-in holds; PlatformTimer is this platform's implementation: the thread that creates
// a timer runs its ticks by pumping (its run loop, a host's timer, or a test by hand).
// All running timers share one process-wide list and one process-wide lock, which is held
// while a tick runs, so creating, halting and ticking are serialised across the process.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

namespace framework {

class Timer {
public:
  using Callable = std::function<void(Timer&)>;

  virtual ~Timer() = default;
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  // A new, running timer whose callable runs about every intervalMs milliseconds (at
  // least 1) on the calling thread; null when it could not be had.
  // [thread-safe]
  static std::unique_ptr<Timer> StartTimer(Callable callable, int intervalMs) noexcept;

  // Stops the ticks; halting a stopped timer does nothing. Safe from inside a tick.
  // [thread-safe]
  virtual void Halt() noexcept = 0;

protected:
  Timer() = default;
};

class PlatformTimer final : public Timer {
public:
  using Clock = std::chrono::steady_clock;

  // Halts the timer and releases the callable. Waits for a tick running on another thread;
  // safe from inside a tick, even its own (the tick must not touch the timer afterwards).
  // [thread-safe]
  ~PlatformTimer() override;

  // [thread-safe]
  void Halt() noexcept override;
  // Nonzero while running; unique in the process.
  // [thread-safe]
  uint64_t Identifier() const noexcept;

  // Runs, once each, the ticks of the calling thread's timers that are due at `now`, and
  // schedules their next ticks. A late pump runs a timer once, not once per missed interval.
  // [thread-safe] Runs the calling thread's timers only.
  static void Pump(Clock::time_point now = Clock::now()) noexcept;
  // Milliseconds (rounded up) until the next tick of the calling thread's timers is due:
  // 0 when one is overdue, -1 when the thread has no running timer.
  // [thread-safe]
  static int NextDueIn(Clock::time_point now = Clock::now()) noexcept;

private:
  friend class Timer;

  PlatformTimer(Callable callable, int intervalMs) noexcept;
  bool Start() noexcept;
  void RunTick() noexcept;

  // Everything below is guarded by the process-wide timer lock.
  Callable callable_;
  std::chrono::milliseconds interval_;
  uint64_t identifier_ = 0;  // 0 while stopped
  std::thread::id thread_;   // the thread that runs its ticks
  Clock::time_point due_;
  bool* tickAlive_ = nullptr;  // set during a tick; cleared through it when the timer dies
};

}  // namespace framework
