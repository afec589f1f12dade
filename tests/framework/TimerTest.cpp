#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "framework/Timer.h"

using namespace framework;
using namespace std::chrono_literals;

namespace {

using Clock = PlatformTimer::Clock;

// Far enough ahead that every running timer is due.
Clock::time_point Later() { return Clock::now() + 1h; }

uint64_t IdentifierOf(const Timer& timer) { return static_cast<const PlatformTimer&>(timer).Identifier(); }

}  // namespace

TEST(Timer, TicksRunOnlyOnTheThreadThatStartedTheTimer) {
  int ticks = 0;
  std::thread::id tickThread;
  auto timer = Timer::StartTimer([&](Timer&) { ++ticks; tickThread = std::this_thread::get_id(); }, 20);
  ASSERT_NE(timer, nullptr);

  int dueInElsewhere = 0;
  std::thread other([&] {
    PlatformTimer::Pump(Later());
    dueInElsewhere = PlatformTimer::NextDueIn();
  });
  other.join();
  EXPECT_EQ(ticks, 0);
  EXPECT_EQ(dueInElsewhere, -1);

  PlatformTimer::Pump(Later());
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(tickThread, std::this_thread::get_id());
}

TEST(Timer, TicksFollowTheIntervalWithoutCatchingUpMissedOnes) {
  int ticks = 0;
  Timer* ticked = nullptr;
  const auto t0 = Clock::now();
  auto timer = Timer::StartTimer([&](Timer& t) { ++ticks; ticked = &t; }, 1000);
  const auto t1 = Clock::now();  // the timer started between t0 and t1

  PlatformTimer::Pump(t0 + 999ms);
  EXPECT_EQ(ticks, 0);
  PlatformTimer::Pump(t1 + 1000ms);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(ticked, timer.get());
  PlatformTimer::Pump(t1 + 1000ms);
  EXPECT_EQ(ticks, 1) << "one tick per interval, however often the thread pumps";
  PlatformTimer::Pump(t0 + 1999ms);
  EXPECT_EQ(ticks, 1);
  PlatformTimer::Pump(t1 + 2000ms);
  EXPECT_EQ(ticks, 2);

  // Eight intervals late: one tick, and the next one interval after this pump.
  const auto late = t1 + 10000ms;
  PlatformTimer::Pump(late);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(PlatformTimer::NextDueIn(late), 1000);
  EXPECT_EQ(PlatformTimer::NextDueIn(late + 999500us), 1);  // rounded up, never early
  PlatformTimer::Pump(late + 999ms);
  EXPECT_EQ(ticks, 3);
  PlatformTimer::Pump(late + 1000ms);
  EXPECT_EQ(ticks, 4);
  EXPECT_EQ(PlatformTimer::NextDueIn(late + 5000ms), 0);  // overdue
}

TEST(Timer, ZeroIntervalTicksOncePerPump) {
  int ticks = 0;
  auto timer = Timer::StartTimer([&](Timer&) { ++ticks; }, 0);
  const auto now = Later();
  PlatformTimer::Pump(now);
  EXPECT_EQ(ticks, 1);
  PlatformTimer::Pump(now);
  EXPECT_EQ(ticks, 1);
  PlatformTimer::Pump(now + 1ms);
  EXPECT_EQ(ticks, 2);
}

TEST(Timer, SeveralTimersKeepTheirOwnIntervals) {
  int fast = 0;
  int slow = 0;
  auto a = Timer::StartTimer([&](Timer&) { ++fast; }, 1000);
  auto b = Timer::StartTimer([&](Timer&) { ++slow; }, 3000);
  const auto started = Clock::now();
  for (int k = 1; k <= 9; ++k) PlatformTimer::Pump(started + k * 1000ms);
  EXPECT_EQ(fast, 9);
  EXPECT_EQ(slow, 3);
  EXPECT_NE(IdentifierOf(*a), IdentifierOf(*b));
}

TEST(Timer, HaltStopsTicksAndHaltingAgainDoesNothing) {
  int ticks = 0;
  auto token = std::make_shared<int>(0);
  auto timer = Timer::StartTimer([&, token](Timer&) { ++ticks; }, 20);
  EXPECT_NE(IdentifierOf(*timer), 0u);

  timer->Halt();
  EXPECT_EQ(IdentifierOf(*timer), 0u);
  EXPECT_EQ(PlatformTimer::NextDueIn(), -1);
  PlatformTimer::Pump(Later());
  EXPECT_EQ(ticks, 0);
  timer->Halt();
  EXPECT_EQ(IdentifierOf(*timer), 0u);

  EXPECT_EQ(token.use_count(), 2) << "halting keeps the callable";
  timer.reset();
  EXPECT_EQ(token.use_count(), 1) << "destruction releases it";
}

TEST(Timer, DestructionStopsTicks) {
  int ticks = 0;
  auto timer = Timer::StartTimer([&](Timer&) { ++ticks; }, 20);
  timer.reset();
  PlatformTimer::Pump(Later());
  EXPECT_EQ(ticks, 0);
  EXPECT_EQ(PlatformTimer::NextDueIn(), -1);
}

TEST(Timer, TickMayHaltItsOwnTimer) {
  int ticks = 0;
  auto token = std::make_shared<int>(0);
  auto timer = Timer::StartTimer([&, token](Timer& t) { ++ticks; t.Halt(); }, 20);
  PlatformTimer::Pump(Later());
  PlatformTimer::Pump(Later() + 1h);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(IdentifierOf(*timer), 0u);
  EXPECT_EQ(token.use_count(), 2) << "the callable goes back to the halted timer";
}

TEST(Timer, TickMayDestroyItsOwnTimer) {
  auto token = std::make_shared<int>(0);
  std::unique_ptr<Timer> timer;
  timer = Timer::StartTimer(
      [&, token](Timer&) {
        timer.reset();
        ++*token;  // its own captures outlive the timer until the tick returns
      },
      20);
  PlatformTimer::Pump(Later());
  EXPECT_EQ(*token, 1);
  EXPECT_EQ(timer, nullptr);
  EXPECT_EQ(token.use_count(), 1) << "released once its last tick returned";
}

TEST(Timer, TickMayDestroyAnotherDueTimer) {
  int ticks = 0;
  std::unique_ptr<Timer> first;
  std::unique_ptr<Timer> second;
  first = Timer::StartTimer([&](Timer&) { ++ticks; second.reset(); }, 20);
  second = Timer::StartTimer([&](Timer&) { ++ticks; first.reset(); }, 20);
  PlatformTimer::Pump(Later());
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(first == nullptr, second != nullptr) << "exactly one survives";
}

TEST(Timer, TimerStartedByATickWaitsForTheNextPump) {
  int outerTicks = 0;
  int innerTicks = 0;
  std::unique_ptr<Timer> inner;
  auto outer = Timer::StartTimer(
      [&](Timer&) {
        ++outerTicks;
        if (!inner) inner = Timer::StartTimer([&](Timer&) { ++innerTicks; }, 1);
      },
      20);
  const auto now = Later();
  PlatformTimer::Pump(now);
  EXPECT_EQ(outerTicks, 1);
  EXPECT_EQ(innerTicks, 0);
  PlatformTimer::Pump(now + 1h);
  EXPECT_EQ(outerTicks, 2);
  EXPECT_EQ(innerTicks, 1);
}

TEST(Timer, PumpInsideATickDoesNotRerunThatTick) {
  int ticks = 0;
  auto timer = Timer::StartTimer(
      [&](Timer&) {
        ++ticks;
        PlatformTimer::Pump(Later() + 24h);
      },
      20);
  PlatformTimer::Pump(Later());
  EXPECT_EQ(ticks, 1);
}
