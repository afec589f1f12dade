#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "framework/Timer.h"

using namespace framework;
using namespace std::chrono_literals;

// Several threads each start, pump, halt and destroy their own timers, and hand some of
// them to another thread that destroys them while their creators keep pumping. Every tick
// must arrive on its creator's thread, and each thread sees exactly its own ticks.
TEST(TimerConcurrent, ThreadsRunOnlyTheirOwnTimers) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 200;
  struct Worker {
    std::thread::id id;
    int ticks = 0;
    std::atomic<int> wrongThread{0};
  };
  std::vector<Worker> workers(kThreads);

  std::mutex handoffMutex;
  std::vector<std::unique_ptr<Timer>> handoff;
  std::atomic<int> workersLeft{kThreads};

  auto work = [&](Worker& self) {
    self.id = std::this_thread::get_id();
    auto check = [&self](Timer&) {
      if (std::this_thread::get_id() != self.id) self.wrongThread.fetch_add(1);
    };
    auto now = PlatformTimer::Clock::now() + 1h;  // every timer is due at each pump
    for (int round = 0; round < kRounds; ++round) {
      std::unique_ptr<Timer> timers[3];
      for (int i = 0; i < 3; ++i)
        timers[i] = Timer::StartTimer([&self, check](Timer& t) {
          check(t);
          ++self.ticks;
        }, 1 + i);
      {
        const std::lock_guard lock(handoffMutex);
        handoff.push_back(Timer::StartTimer(check, 1));
      }
      PlatformTimer::Pump(now += 1h);
      PlatformTimer::Pump(now += 1h);
      timers[1]->Halt();
      PlatformTimer::Pump(now += 1h);
      PlatformTimer::Pump(now += 1h);
    }
    workersLeft.fetch_sub(1);
  };
  std::thread reaper([&] {
    for (;;) {
      const bool last = workersLeft.load() == 0;
      std::vector<std::unique_ptr<Timer>> taken;
      {
        const std::lock_guard lock(handoffMutex);
        taken.swap(handoff);
      }
      taken.clear();  // destroyed here, while their creators may be ticking them
      if (last) break;
      std::this_thread::yield();
    }
  });
  std::vector<std::thread> threads;
  for (auto& worker : workers) threads.emplace_back(work, std::ref(worker));
  for (auto& thread : threads) thread.join();
  reaper.join();

  for (const auto& worker : workers) {
    EXPECT_EQ(worker.wrongThread.load(), 0);
    EXPECT_EQ(worker.ticks, kRounds * (3 * 2 + 2 * 2));
  }
}
