#include "framework/HeapBuffer.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace framework {

HeapBuffer::HeapBuffer(int granularity) noexcept : granularity_(granularity > 0 ? granularity : 1) {}

HeapBuffer::~HeapBuffer() { std::free(data_); }

HeapBuffer::HeapBuffer(HeapBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)),
      granularity_(other.granularity_) {}

HeapBuffer& HeapBuffer::operator=(HeapBuffer&& other) noexcept {
  if (this != &other) {
    std::free(data_);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
    granularity_ = other.granularity_;
  }
  return *this;
}

int64_t HeapBuffer::CapacityFor(int64_t newSize, int granularity) noexcept {
  int64_t extra = std::max<int64_t>(newSize / 2, granularity);
  if (granularity < 4096) return newSize + extra;
  // Large buffers grow in whole pages, leaving room for the allocator's own header.
  extra = std::clamp<int64_t>(extra / 4096 * 4096, 4096, 4194304);
  return (newSize + extra + 96) / 4096 * 4096 - 96;
}

uint8_t* HeapBuffer::Resize(int newSize, bool allowShrink) noexcept {
  if (newSize < 0) return nullptr;
  if (newSize == 0) {
    std::free(data_);
    data_ = nullptr;
    size_ = capacity_ = 0;
    return nullptr;
  }
  int64_t wanted = -1;
  if (newSize > capacity_) {
    wanted = CapacityFor(newSize, granularity_);
  } else if (allowShrink && newSize < std::min(capacity_ / 2, capacity_ - 4 * granularity_)) {
    wanted = newSize;
  }
  if (wanted > INT32_MAX) return nullptr;
  if (wanted >= 0) {
    void* grown = std::realloc(data_, static_cast<size_t>(wanted));
    if (!grown) return nullptr;
    data_ = static_cast<uint8_t*>(grown);
    capacity_ = static_cast<int>(wanted);
  }
  size_ = newSize;
  return data_;
}

uint8_t* HeapBuffer::Grow(int bytes) noexcept {
  if (bytes < 0 || size_ > INT32_MAX - bytes) return nullptr;
  const int old = size_;
  if (bytes == 0) return data_ ? data_ + old : nullptr;
  if (!Resize(old + bytes, false)) return nullptr;
  return data_ + old;
}

}  // namespace framework
