#pragma once
// A fixed-capacity byte ring that hands captured samples from the audio thread (the one
// producer) to the display (the one consumer). When it is full the producer drops the
// oldest bytes, so the ring always holds the newest ones.
//
// Thread safety: the read position, the fill and a "reading" mark share one atomic word.
// The consumer marks the ring while it copies; the producer never drops bytes while the
// mark is set (what does not fit is then dropped from the new data instead), and writes
// only into free space. So a read never sees bytes being written, and the fill stays
// within 0 … capacity. Clear waits for a copy in progress to finish.
#include <atomic>
#include <cstdint>

class KorvelSampleRing {
public:
  KorvelSampleRing() = default;
  ~KorvelSampleRing();
  KorvelSampleRing(const KorvelSampleRing&) = delete;
  KorvelSampleRing& operator=(const KorvelSampleRing&) = delete;

  // [main-thread] (nothing else running) Empties the ring; reallocates when the capacity changes.
  // Returns false when the storage could not be had (the ring then has none).
  bool SetCapacity(int bytes);
  // [main-thread] Frees the storage.
  void Free();

  // [thread-safe] Bytes stored and not yet read.
  int Available() const noexcept { return FillOf(state.load(std::memory_order_acquire)); }
  int Capacity() const noexcept { return capacity; }
  // [thread-safe] Where the next write starts.
  int WritePos() const noexcept;

  // [audio-thread] Appends up to the free space; a null source writes zeros. The rest is dropped.
  void Write(const void* source, int bytes) noexcept;
  // [audio-thread] As Write, but the bytes are produced in place: fill(destination, bytes,
  // offset) is called once or twice (around the wrap) with offset counting from the start of
  // what is written. Returns the bytes written.
  template <class Fill>
  int WriteWith(int bytes, Fill&& fill) noexcept;
  // [audio-thread] Forgets the oldest bytes (clamped to the fill); false while the consumer
  // is copying, when nothing is dropped.
  bool DropOldest(int bytes) noexcept;

  // [editor-thread] Read = BeginRead + FinishRead. BeginRead marks the ring and returns the
  // bytes that FinishRead can then copy for certain; FinishRead copies up to that many,
  // releases them and returns the count copied.
  int Read(void* destination, int bytes) noexcept;
  int BeginRead() noexcept;
  int FinishRead(void* destination, int bytes) noexcept;

  // [thread-safe] while the audio thread writes nothing: empties the ring.
  void Clear() noexcept;

private:
  static constexpr uint64_t kReading = uint64_t{1} << 63;
  static int FillOf(uint64_t s) noexcept { return static_cast<int>(s & 0xFFFFFFFFu); }
  static int ReadPosOf(uint64_t s) noexcept { return static_cast<int>((s >> 32) & 0x7FFFFFFFu); }
  static uint64_t Pack(int readPos, int fill, bool reading) noexcept {
    return (reading ? kReading : 0) | (static_cast<uint64_t>(readPos) << 32) | static_cast<uint32_t>(fill);
  }

  // Free space for up to `bytes`: where it starts and how many fit; 0 when nothing fits.
  int Reserve(int bytes, int& writePos) const noexcept;
  void Commit(int bytes) noexcept { state.fetch_add(static_cast<uint64_t>(bytes), std::memory_order_release); }

  uint8_t* storage = nullptr;
  std::atomic<uint64_t> state{0};  // reading mark | read position | fill
  int capacity = 0;
  int claimedReadPos = 0;          // consumer-only: the read position BeginRead saw
  int claimedBytes = 0;            // consumer-only: bytes BeginRead made safe to copy
};

template <class Fill>
int KorvelSampleRing::WriteWith(int bytes, Fill&& fill) noexcept {
  int writePos = 0;
  const int n = Reserve(bytes, writePos);
  if (n <= 0) return 0;
  const int first = capacity - writePos < n ? capacity - writePos : n;
  fill(storage + writePos, first, 0);
  if (n > first) fill(storage, n - first, first);
  Commit(n);
  return n;
}
