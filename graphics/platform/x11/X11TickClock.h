#pragma once
// When the X11 window's display tick is due: once per frame period at the configured frame
// rate; ticks missed while the thread was busy are dropped, never caught up, so a slow frame
// never queues repaints. A host timer that fires a little early (within a quarter period)
// still gets its tick, so whole-millisecond timers keep the full rate. [main-thread]
#include <algorithm>
#include <chrono>

namespace graphics {

class X11TickClock {
public:
  using Clock = std::chrono::steady_clock;

  explicit X11TickClock(int fps) noexcept : period(std::chrono::nanoseconds(1000000000LL / std::max(fps, 1))) {}

  // The first tick is due at once.
  void Start(Clock::time_point now) noexcept { due = now; }

  // True when a tick is due; the next one is then a period later, or a period after now when
  // the thread fell behind by more than a period.
  bool TakeDue(Clock::time_point now) noexcept {
    if (now + period / 4 < due) return false;
    due += period;
    if (due <= now) due = now + period;
    return true;
  }

  // Whole milliseconds until the next tick (rounded up), 0 when one is due.
  int MillisecondsUntilDue(Clock::time_point now) const noexcept {
    if (now >= due) return 0;
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(due - now).count();
    return static_cast<int>((ns + 999999) / 1000000);
  }

  Clock::duration Period() const noexcept { return period; }

private:
  Clock::duration period;
  Clock::time_point due{};
};

}  // namespace graphics
