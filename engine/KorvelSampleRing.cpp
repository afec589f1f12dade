#include "engine/KorvelSampleRing.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <thread>

KorvelSampleRing::~KorvelSampleRing() { Free(); }

bool KorvelSampleRing::SetCapacity(int bytes) {
  state.store(0, std::memory_order_release);
  if (bytes < 0) bytes = 0;
  if (capacity != bytes || !storage) {
    Free();
    storage = bytes > 0 ? static_cast<uint8_t*>(std::malloc(static_cast<size_t>(bytes))) : nullptr;
    capacity = storage ? bytes : 0;
  }
  return storage != nullptr;
}

void KorvelSampleRing::Free() {
  std::free(storage);
  storage = nullptr;
  capacity = 0;
  state.store(0, std::memory_order_release);
}

int KorvelSampleRing::WritePos() const noexcept {
  const uint64_t s = state.load(std::memory_order_acquire);
  return capacity ? (ReadPosOf(s) + FillOf(s)) % capacity : 0;
}

int KorvelSampleRing::Reserve(int bytes, int& writePos) const noexcept {
  const uint64_t s = state.load(std::memory_order_acquire);
  const int fill = FillOf(s);
  const int n = std::min(bytes, capacity - fill);
  if (!storage || n <= 0) return 0;
  writePos = (ReadPosOf(s) + fill) % capacity;
  return n;
}

// The consumer only lowers the fill, so adding to the low word in Commit cannot carry.
void KorvelSampleRing::Write(const void* source, int bytes) noexcept {
  const auto* from = static_cast<const uint8_t*>(source);
  WriteWith(bytes, [from](uint8_t* to, int count, int offset) {
    if (from)
      std::memcpy(to, from + offset, static_cast<size_t>(count));
    else
      std::memset(to, 0, static_cast<size_t>(count));
  });
}

bool KorvelSampleRing::DropOldest(int bytes) noexcept {
  if (!storage) return false;
  uint64_t s = state.load(std::memory_order_acquire);
  for (;;) {
    if (s & kReading) return false;
    const int fill = FillOf(s);
    const int d = std::clamp(bytes, 0, fill);
    const uint64_t next = Pack((ReadPosOf(s) + d) % capacity, fill - d, false);
    if (state.compare_exchange_weak(s, next, std::memory_order_acq_rel, std::memory_order_acquire)) return true;
  }
}

int KorvelSampleRing::BeginRead() noexcept {
  const uint64_t s = state.fetch_or(kReading, std::memory_order_acq_rel);
  claimedReadPos = ReadPosOf(s);
  claimedBytes = storage ? FillOf(s) : 0;
  return claimedBytes;
}

int KorvelSampleRing::FinishRead(void* destination, int bytes) noexcept {
  const int v = std::clamp(bytes, 0, claimedBytes);
  if (v > 0) {
    auto* to = static_cast<uint8_t*>(destination);
    const int first = std::min(capacity - claimedReadPos, v);
    std::memcpy(to, storage + claimedReadPos, static_cast<size_t>(first));
    std::memcpy(to + first, storage, static_cast<size_t>(v - first));
  }
  // While marked only the producer's writes change the word, and they only raise the fill.
  uint64_t s = state.load(std::memory_order_acquire);
  const int readPos = capacity ? (claimedReadPos + v) % capacity : 0;
  while (!state.compare_exchange_weak(s, Pack(readPos, FillOf(s) - v, false), std::memory_order_acq_rel,
                                      std::memory_order_acquire)) {
  }
  claimedBytes = 0;
  return v;
}

int KorvelSampleRing::Read(void* destination, int bytes) noexcept {
  BeginRead();
  return FinishRead(destination, bytes);
}

void KorvelSampleRing::Clear() noexcept {
  uint64_t s = state.load(std::memory_order_acquire);
  for (;;) {
    if (s & kReading) {
      // A copy of at most one ring's bytes is in progress on the editor's thread.
      std::this_thread::yield();
      s = state.load(std::memory_order_acquire);
      continue;
    }
    if (state.compare_exchange_weak(s, 0, std::memory_order_acq_rel, std::memory_order_acquire)) return;
  }
}
