#pragma once
// A growable byte buffer: the storage under lists, texts, sample buffers and state chunks.
// Growth keeps spare room so that repeated appends reallocate rarely; a failed
// reallocation keeps the old bytes and size. Not thread-safe: one owner at a time.
#include <cstddef>
#include <cstdint>

namespace framework {

class HeapBuffer {
public:
  static constexpr int kDefaultGranularity = 4096;

  explicit HeapBuffer(int granularity = kDefaultGranularity) noexcept;
  ~HeapBuffer();
  HeapBuffer(HeapBuffer&& other) noexcept;
  HeapBuffer& operator=(HeapBuffer&& other) noexcept;
  HeapBuffer(const HeapBuffer&) = delete;
  HeapBuffer& operator=(const HeapBuffer&) = delete;

  // Sets the size; new bytes are undefined. Returns the data, or null when the
  // memory could not be had (then size and contents stay as they were). Size 0 frees.
  uint8_t* Resize(int newSize, bool allowShrink = true) noexcept;
  // Grows by `bytes` and returns the address of the first new byte, or null on failure.
  uint8_t* Grow(int bytes) noexcept;

  uint8_t* Data() noexcept { return data_; }
  const uint8_t* Data() const noexcept { return data_; }
  int Size() const noexcept { return size_; }
  int Capacity() const noexcept { return capacity_; }
  int Granularity() const noexcept { return granularity_; }

  // The capacity a buffer of this granularity takes on when it must grow to newSize.
  static int64_t CapacityFor(int64_t newSize, int granularity) noexcept;

private:
  uint8_t* data_ = nullptr;
  int size_ = 0;
  int capacity_ = 0;
  int granularity_;
};

}  // namespace framework
