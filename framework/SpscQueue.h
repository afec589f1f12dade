#pragma once
// A fixed-size ring that carries entries from exactly one producer thread to exactly one
// consumer thread without locks or allocation. One entry always stays free, so a queue of
// N entries holds N - 1; a push to a full queue is dropped.
#include <array>
#include <atomic>
#include <cstddef>
#include <type_traits>

namespace framework {

template <class T, int N>
class SpscQueue {
  static_assert(std::is_trivially_copyable_v<T>, "entries are copied as plain bytes");
  static_assert(N >= 2, "one entry always stays free");

public:
  SpscQueue() noexcept = default;
  SpscQueue(const SpscQueue&) = delete;
  SpscQueue& operator=(const SpscQueue&) = delete;

  // [thread-safe]
  static constexpr int Capacity() noexcept { return N; }
  // [thread-safe]
  static constexpr int Usable() noexcept { return N - 1; }

  // Copies the entry in; false (and the entry dropped) when the queue is full.
  // [producer-thread]
  bool Push(const T& entry) noexcept {
    const int write = write_.load(std::memory_order_relaxed);
    const int next = Next(write);
    if (next == read_.load(std::memory_order_acquire)) return false;
    entries_[write] = entry;
    write_.store(next, std::memory_order_release);
    return true;
  }

  // Copies the oldest entry out; false (and `entry` untouched) when the queue is empty.
  // [consumer-thread]
  bool Pop(T& entry) noexcept {
    const int read = read_.load(std::memory_order_relaxed);
    if (read == write_.load(std::memory_order_acquire)) return false;
    entry = entries_[read];
    read_.store(Next(read), std::memory_order_release);
    return true;
  }

private:
  // Each index sits on its own cache line so that the two sides do not contend.
  static constexpr std::size_t kCacheLine = 64;

  static constexpr int Next(int index) noexcept { return index + 1 == N ? 0 : index + 1; }

  alignas(kCacheLine) std::atomic<int> write_{0};  // moved by the producer only
  alignas(kCacheLine) std::atomic<int> read_{0};   // moved by the consumer only
  alignas(kCacheLine) std::array<T, N> entries_{};
};

}  // namespace framework
