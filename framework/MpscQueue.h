#pragma once
// A fixed-size queue that carries entries from any number of producer threads to one
// consumer thread without locks or allocation: each cell carries a sequence number that
// tells producers and the consumer whose turn it is. Holds N entries (N a power of two);
// a push to a full queue is dropped. For host parameter changes, which a host may send
// from its audio thread and its main thread at once.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace framework {

template <class T, int N>
class MpscQueue {
  static_assert(std::is_trivially_copyable_v<T>, "entries are copied as plain bytes");
  static_assert(N >= 2 && (N & (N - 1)) == 0, "the size is a power of two");

public:
  MpscQueue() noexcept {
    for (int i = 0; i < N; ++i) cells_[i].sequence.store(static_cast<size_t>(i), std::memory_order_relaxed);
  }
  MpscQueue(const MpscQueue&) = delete;
  MpscQueue& operator=(const MpscQueue&) = delete;

  // [thread-safe]
  static constexpr int Usable() noexcept { return N; }

  // Copies the entry in; false (and the entry dropped) when the queue is full.
  // [producer-thread] (any number of them)
  bool Push(const T& entry) noexcept {
    size_t pos = enqueue_.load(std::memory_order_relaxed);
    for (;;) {
      Cell& cell = cells_[pos & (N - 1)];
      const size_t sequence = cell.sequence.load(std::memory_order_acquire);
      const auto lag = static_cast<intptr_t>(sequence) - static_cast<intptr_t>(pos);
      if (lag == 0) {
        if (enqueue_.compare_exchange_weak(pos, pos + 1, std::memory_order_relaxed)) {
          cell.entry = entry;
          cell.sequence.store(pos + 1, std::memory_order_release);
          return true;
        }
      } else if (lag < 0) {
        return false;  // the consumer has not freed this cell yet: full
      } else {
        pos = enqueue_.load(std::memory_order_relaxed);
      }
    }
  }

  // Copies the oldest entry out; false (and `entry` untouched) when the queue is empty.
  // [consumer-thread]
  bool Pop(T& entry) noexcept {
    Cell& cell = cells_[dequeue_ & (N - 1)];
    const size_t sequence = cell.sequence.load(std::memory_order_acquire);
    if (sequence != dequeue_ + 1) return false;
    entry = cell.entry;
    cell.sequence.store(dequeue_ + N, std::memory_order_release);
    ++dequeue_;
    return true;
  }

private:
  static constexpr std::size_t kCacheLine = 64;
  struct Cell {
    std::atomic<size_t> sequence{0};
    T entry{};
  };

  alignas(kCacheLine) std::atomic<size_t> enqueue_{0};  // claimed by producers
  alignas(kCacheLine) size_t dequeue_ = 0;              // the consumer's alone
  alignas(kCacheLine) std::array<Cell, N> cells_{};
};

}  // namespace framework
